// Files a user can pick as a document or preference file: anything but a regular file is refused at
// once by what it is (a FIFO would hang the program, a device feed it without end), a save that cannot
// make its folder says so, and a file that is no document says that, readably, with where it stopped.
#include "DocumentTestSupport.h"

#include "platform/files/CheckedFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace nupo;

TEST(DocumentFiles, FifosDevicesAndFoldersAreRefusedByWhatTheyAreAndChangeNothing)
{
    test::CoreDocument doc;
    test::fillRecording(300);
    const QByteArray before = doc.document.snapshot({});
    const QString folder = test::tempFolder();
    const QString fifo = folder + "/pipe.nupo4";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = folder + "/zero.nupo4";
    ASSERT_TRUE(QFile::link("/dev/zero", device));
    const QString folderNamedLikeADocument = folder + "/folder.nupo4";
    ASSERT_TRUE(QDir().mkpath(folderNamedLikeADocument));

    const std::pair<QString, QString> cases[] = {
        {fifo, "it is a FIFO (named pipe), not a file"},
        {device, "it is a device, not a file"},
        {folderNamedLikeADocument, "it is a folder, not a file"},
    };
    for (const auto& [path, why] : cases) {
        QString error;
        EXPECT_FALSE(doc.document.readFromFile(path, &error));
        EXPECT_EQ(error, "Cannot open " + path + ": " + why);
        EXPECT_FALSE(doc.document.openDataForAllPreference(path, &error));
        EXPECT_EQ(error, "Cannot open " + path + ": " + why);
    }
    EXPECT_EQ(doc.document.snapshot({}), before);
}

TEST(DocumentFiles, AFileLargerThanAnyDocumentIsRefusedBeforeItIsRead)
{
    test::CoreDocument doc;
    const QString path = test::tempFolder() + "/huge.nupo4";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(NUPO4DrawDocument::maxFileBytes + 1));  // sparse: takes no disk space
    file.close();
    QString error;
    EXPECT_FALSE(doc.document.readFromFile(path, &error));
    EXPECT_EQ(error, "Cannot open " + path + ": it holds 64.0 MB, more than the 64.0 MB this program reads");
}

TEST(DocumentFiles, ASaveWhoseFolderCannotBeMadeSaysSo)
{
    test::CoreDocument doc;
    test::fillRecording(100);
    // A folder cannot be made inside a file (root may write anywhere, so a read-only folder would not do).
    const QString blocker = test::tempFolder() + "/config";
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString path = blocker + "/NUPO4/com.quellbarok.NUPO4.prefs.plist";
    QString error;
    EXPECT_FALSE(doc.document.writeToFile(path, true, &error));
    EXPECT_EQ(error, "Cannot save " + path + ": cannot create the folder " + blocker + "/NUPO4");
}

TEST(DocumentFiles, ANameThatIsNotUtf8IsSavedAndOpenedByItsBytesAndOpeningClearsKilledSaves)
{
    test::CoreDocument doc;
    test::fillRecording(200);
    const QByteArray before = doc.document.snapshot({});
    // A folder and a file named in Latin-1, as older systems wrote them.
    const QByteArray folder = QFile::encodeName(test::tempFolder()) + "/caf\xe9";
    const QByteArray path = folder +
                            "/s\xe9"
                            "ance.nupo4";
    QString error;
    ASSERT_TRUE(doc.document.writeToFile(path, false, &error)) << error.toStdString();
    struct stat info {};
    ASSERT_EQ(::stat(path.constData(), &info), 0) << "saved under other bytes";
    EXPECT_EQ(test::filesIn(folder), QList<QByteArray>{"s\xe9"
                                                       "ance.nupo4"});

    // A save of it that was killed on the way left its temporary file; opening the document clears it.
    const QByteArray killed = saveFileName(path, 999999999, 0);
    ASSERT_EQ(::close(::open(killed.constData(), O_WRONLY | O_CREAT, 0644)), 0);
    test::fillRecording(50);
    ASSERT_TRUE(doc.document.readFromFile(path, &error)) << error.toStdString();
    EXPECT_EQ(doc.document.snapshot({}), before);
    EXPECT_NE(::stat(killed.constData(), &info), 0);

    // Refusals name it readably, its bytes shown as escapes.
    EXPECT_FALSE(doc.document.readFromFile(QByteArray(folder + "/missing\xff.nupo4"), &error));
    EXPECT_TRUE(error.endsWith("missing\\xff.nupo4: no such file or folder")) << error.toStdString();
    test::filesIn(folder, true);
}

TEST(DocumentFiles, ADocumentWithANameOf246BytesSavesAndOpensAgain)
{
    test::CoreDocument doc;
    test::fillRecording(200);
    const QByteArray before = doc.document.snapshot({});
    const QByteArray folder = QFile::encodeName(test::tempFolder()) + "/long-name";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QByteArray path = folder + '/' + QByteArray(240, 'x') + ".nupo4";
    QString error;
    ASSERT_TRUE(doc.document.writeToFile(path, false, &error)) << error.toStdString();
    ASSERT_TRUE(doc.document.writeToFile(path, false, &error)) << error.toStdString();
    test::fillRecording(50);
    ASSERT_TRUE(doc.document.readFromFile(path, &error)) << error.toStdString();
    EXPECT_EQ(doc.document.snapshot({}), before);
    EXPECT_EQ(test::filesIn(folder, true), QList<QByteArray>{QByteArray(240, 'x') + ".nupo4"});
}

TEST(DocumentFiles, TextThatIsNoDocumentIsNamedSoWithWhereReadingStoppedAndNoRawControlCharacters)
{
    test::CoreDocument doc;
    QString error;
    EXPECT_FALSE(doc.document.readFromData("{ a = 1; } more", "x.nupo4", &error));
    EXPECT_EQ(
        error,
        "x.nupo4 is not a NUPO4 brain-note document (line 1, column 12: unexpected text after the value)");

    const QByteArray binary("\0\0\x01\x02\xff\n", 6);
    EXPECT_FALSE(doc.document.readFromData(binary, "x.nupo4", &error));
    EXPECT_FALSE(error.contains(QChar(0))) << error.toStdString();
    EXPECT_EQ(error,
              "x.nupo4 is not a NUPO4 brain-note document (line 1, column 1: unexpected character "
              "'\\x00')");

    EXPECT_FALSE(doc.document.readFromData("{ Format = \"a\\000b\\nc\"; }", "x.nupo4", &error));
    EXPECT_EQ(error, "x.nupo4 is not a NUPO4 brain-note document (its Format is \"a\\x00b\\x0ac\")");
    EXPECT_FALSE(doc.document.readFromData("{ Version = 1; }", "x.nupo4", &error));
    EXPECT_EQ(error, "x.nupo4 is not a NUPO4 brain-note document (it names no Format)");
    EXPECT_FALSE(doc.document.openDataForAllPreference(test::tempFolder() + "/missing.plist", &error));
    EXPECT_TRUE(error.endsWith("missing.plist: no such file or folder")) << error.toStdString();
}

TEST(DocumentFiles, ADocumentOrPreferenceFileSavedThroughALinkChangesItsTargetAndAFifoIsRefused)
{
    test::CoreDocument doc;
    test::fillRecording(200);
    const QByteArray before = doc.document.snapshot({});
    const QString folder = test::tempFolder();
    ASSERT_TRUE(QDir().mkpath(folder + "/real"));
    for (const bool preferenceFile : {false, true}) {
        const QString target = folder + (preferenceFile ? "/real/prefs.plist" : "/real/target.nupo4");
        const QString link = folder + (preferenceFile ? "/prefs-link.plist" : "/link.nupo4");
        ASSERT_TRUE(QFile::link(target, link));
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QString error;
        ASSERT_TRUE(doc.document.writeToFile(link, preferenceFile, &error)) << error.toStdString();
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
        test::fillRecording(50);
        ASSERT_TRUE(preferenceFile ? doc.document.openDataForAllPreference(target, &error)
                                   : doc.document.readFromFile(target, &error))
            << error.toStdString();
        if (!preferenceFile) {
            EXPECT_EQ(doc.document.snapshot({}), before);
        }
    }

    const QString fifo = folder + "/pipe.nupo4";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QString error;
    EXPECT_FALSE(doc.document.writeToFile(fifo, false, &error));
    EXPECT_EQ(error, "Cannot save " + fifo + ": it is a FIFO (named pipe), not a file");
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(DocumentFiles, AHostileDocumentIsRefusedWhereItPassesADocumentsBoundsAndChangesNothing)
{
    test::CoreDocument doc;
    test::fillRecording(300);
    const QByteArray before = doc.document.snapshot({});
    const QByteArray head = "{ Format = \"NUPO4 brain-note document\"; Version = 1;\n";
    QByteArray longArray = head + "Analysis = { fftp = (";
    for (int i = 0; i < 5000000; ++i)
        longArray += "1,";
    longArray += "); }; }";
    QByteArray manyKeys = head + "Unknown = {";
    for (int i = 0; i < 100000; ++i)
        manyKeys += " k" + QByteArray::number(i) + " = 1;";
    manyKeys += " }; }";
    const QByteArray longString = head + "Movie = { MoviePath = \"" + QByteArray(1 << 20, 'x') + "\"; }; }";
    // Arrays of 4,096 entries each, as many as fit the bound on one dictionary's keys.
    QByteArray manyValues = head + "Unknown = {";
    QByteArray block = "(";
    for (int i = 0; i < 4096; ++i)
        block += "1,";
    block += ")";
    for (int i = 0; i < 100; ++i)
        manyValues += " k" + QByteArray::number(i) + " = " + block + ";";
    manyValues += " }; }";
    const std::pair<QByteArray, QString> cases[] = {
        {longArray, "an array of more than 4096 entries"},
        {manyKeys, "a dictionary of more than 4096 keys"},
        {longString, "a string of more than 65536 characters"},
        {manyValues, "more than 262144 values"},
    };
    for (const auto& [text, where] : cases) {
        const QString path = test::tempFolder() + "/hostile.nupo4";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        QString error;
        EXPECT_FALSE(doc.document.readFromFile(path, &error));
        EXPECT_TRUE(error.startsWith(path + " is not a NUPO4 brain-note document (line 2, column "))
            << error.toStdString();
        EXPECT_TRUE(error.endsWith(": " + where + ")")) << error.toStdString();
    }
    EXPECT_EQ(doc.document.snapshot({}), before);
}
