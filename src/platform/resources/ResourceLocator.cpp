#include "platform/resources/ResourceLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace nupo::ResourceLocator {

namespace {

QString builtSourceTree()
{
#ifdef NUPO_SOURCE_DIR
    return QStringLiteral(NUPO_SOURCE_DIR);
#else
    return {};
#endif
}

void appendFolder(QStringList& folders, const QString& root, const QString& kind)
{
    if (root.isEmpty())
        return;
    const QString folder = QDir(root).filePath(QStringLiteral("resources/") + kind);
    if (!folders.contains(folder))
        folders.append(folder);
}

}  // namespace

QStringList resourceFolders(const QString& kind)
{
    QStringList folders;
    if (QCoreApplication::instance())
        appendFolder(folders, QCoreApplication::applicationDirPath(), kind);
    appendFolder(folders, qEnvironmentVariable("NUPO_SOURCE_DIR"), kind);
    appendFolder(folders, builtSourceTree(), kind);
    return folders;
}

QString firstFileIn(const QStringList& folders, const QString& fileName)
{
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder).filePath(fileName));
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

}  // namespace nupo::ResourceLocator
