#include "QXDrawerSound/browser/FSNodeInfo.h"

#include "QXDrawerSound/browser/MediaBrowser.h"

#include <QDir>
#include <QFileInfo>

namespace nupo {

FSNodeInfo::FSNodeInfo(const FSNodeInfo* parent, const QString& relativePath)
    : parentNode(parent), relative(relativePath)
{
}

std::vector<DirectoryEntry> directoryEntries(const QString& path, bool withHidden)
{
    const QDir dir(path);
    if (path.isEmpty() || !dir.exists())
        return {};
    const QFileInfoList infos = dir.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    std::vector<DirectoryEntry> entries;
    entries.reserve(std::size_t(infos.size()));
    for (const QFileInfo& info : infos)
        if (withHidden || isVisibleName(info.fileName()))
            entries.push_back({info.fileName(), info.isDir()});
    return entries;
}

std::vector<QString> directoryEntryNames(const QString& path, bool withHidden)
{
    std::vector<QString> names;
    for (DirectoryEntry& entry : directoryEntries(path, withHidden))
        names.push_back(std::move(entry.name));
    return names;
}

bool isVisibleName(const QString& name)
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.'));
}

std::vector<FSNodeInfo> FSNodeInfo::subNodes() const
{
    std::vector<FSNodeInfo> nodes;
    for (const QString& name : directoryEntryNames(absolutePath(), true))
        nodes.emplace_back(this, name);
    return nodes;
}

std::vector<FSNodeInfo> FSNodeInfo::visibleSubNodes() const
{
    std::vector<FSNodeInfo> nodes;
    for (const QString& name : directoryEntryNames(absolutePath(), false))
        nodes.emplace_back(this, name);
    return nodes;
}

bool FSNodeInfo::isLink() const
{
    return QFileInfo(absolutePath()).isSymLink();
}

bool FSNodeInfo::isDirectory() const
{
    return QFileInfo(absolutePath()).isDir();
}

bool FSNodeInfo::isReadable() const
{
    return QFileInfo(absolutePath()).isReadable();
}

bool FSNodeInfo::isVisible() const
{
    return isVisibleName(lastPathComponent());
}

QString FSNodeInfo::fsType() const
{
    const bool directory = isDirectory();
    selectDirectory = directory ? 1 : 0;
    return directory ? QStringLiteral("Directory") : QStringLiteral("Non-Directory");
}

QString FSNodeInfo::lastPathComponent() const
{
    const qsizetype slash = relative.lastIndexOf(QLatin1Char('/'));
    // "/" names the root; a trailing slash leaves an empty name.
    return relative == QLatin1String("/") ? relative : relative.mid(slash + 1);
}

QString FSNodeInfo::absolutePath() const
{
    if (parentNode == nullptr)
        return relative;
    QString base = parentNode->absolutePath();
    if (base == QLatin1String("/"))
        base.clear();
    return base + QLatin1Char('/') + relative;
}

}  // namespace nupo
