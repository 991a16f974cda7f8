#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace nupo::test {

QString tempFolder()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> folders;
    folders.push_back(std::make_unique<QTemporaryDir>());
    return folders.back()->path();
}

QString sourcePath(const QString& relative)
{
    return QDir(QStringLiteral(NUPO_SOURCE_DIR)).filePath(relative);
}

}  // namespace nupo::test
