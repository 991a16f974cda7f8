#include "platform/resources/ResourceLocator.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace nupo;

namespace {

void writeFile(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

}  // namespace

TEST(ResourceLocator, FoldersGoFromTheExecutableToTheSourceTreesEachListedOnce)
{
    const QString other = test::tempFolder();
    qputenv("NUPO_SOURCE_DIR", other.toUtf8());
    const QStringList folders = ResourceLocator::resourceFolders(QStringLiteral("sounds"));
    ASSERT_EQ(folders.size(), 3);
    EXPECT_EQ(folders[0], QDir(QCoreApplication::applicationDirPath()).filePath("resources/sounds"));
    EXPECT_EQ(folders[1], QDir(other).filePath("resources/sounds"));
    EXPECT_EQ(folders[2], test::sourcePath("resources/sounds"));

    // The environment naming the built tree adds no second copy of it.
    qputenv("NUPO_SOURCE_DIR", NUPO_SOURCE_DIR);
    EXPECT_EQ(ResourceLocator::resourceFolders(QStringLiteral("nibs")),
              QStringList({QDir(QCoreApplication::applicationDirPath()).filePath("resources/nibs"),
                           test::sourcePath("resources/nibs")}));
}

TEST(ResourceLocator, TakesTheFirstFolderThatHasTheFileAsAFile)
{
    const QString first = test::tempFolder() + QStringLiteral("/first");
    const QString second = test::tempFolder() + QStringLiteral("/second");
    ASSERT_TRUE(QDir().mkpath(first + QStringLiteral("/Tink.wav")));  // a folder of that name is skipped
    ASSERT_TRUE(QDir().mkpath(second));
    writeFile(second + QStringLiteral("/Tink.wav"));

    EXPECT_EQ(ResourceLocator::firstFileIn({first, second}, QStringLiteral("Tink.wav")),
              QDir(second).absoluteFilePath(QStringLiteral("Tink.wav")));
    EXPECT_TRUE(ResourceLocator::firstFileIn({first, second}, QStringLiteral("Basso.wav")).isEmpty());
    EXPECT_TRUE(ResourceLocator::firstFileIn({}, QStringLiteral("Tink.wav")).isEmpty());
}
