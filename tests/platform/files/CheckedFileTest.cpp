// Files a user can name: only regular files are read, whatever else the name points at (folder, FIFO,
// socket, device) is refused at once by what it is, reads are bounded, and a write that fails (full
// disk, file-size limit) says why and leaves the old file whole.
#include "platform/files/CheckedFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nupo {
namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Runs body in a child process and returns its exit code (-signal when a signal ended it), so that
// a signal or a changed process limit cannot touch the test run itself.
int inChild(const std::function<int()>& body)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

TEST(CheckedFile, OnlyRegularFilesAreReadAndEverythingElseIsRefusedByWhatItIs)
{
    const QString folder = test::tempFolder();
    const QString fifo = folder + "/pipe.nupo4";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = folder + "/zero.nupo4";
    ASSERT_TRUE(QFile::link("/dev/zero", device));
    const QString socketPath = folder + "/socket.nupo4";
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", QFile::encodeName(socketPath).constData());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const QString regular = folder + "/plain.nupo4";
    writeFile(regular, "{ Format = x; }");

    const struct {
        QString path;
        const char* reason;
    } refused[] = {
        {folder, "it is a folder, not a file"},
        {fifo, "it is a FIFO (named pipe), not a file"},
        {device, "it is a device, not a file"},
        {socketPath, "it is a socket, not a file"},
        {folder + "/missing.nupo4", "no such file or folder"},
        {QString(), "no file name"},
    };
    for (const auto& c : refused) {
        QByteArray contents("untouched");
        QString reason;
        EXPECT_FALSE(readRegularFile(c.path, 1 << 20, &contents, &reason)) << c.path.toStdString();
        EXPECT_EQ(reason, c.reason) << c.path.toStdString();
        EXPECT_EQ(contents, "untouched");
        EXPECT_FALSE(isReadableRegularFile(c.path, &reason));
    }
    QString reason;
    EXPECT_EQ(openRegularFileForReading(QByteArray("a\0b", 3), &reason), -1);
    EXPECT_EQ(reason, "a file name cannot hold a zero byte");

    QByteArray contents;
    ASSERT_TRUE(readRegularFile(regular, 1 << 20, &contents, &reason)) << reason.toStdString();
    EXPECT_EQ(contents, "{ Format = x; }");
    EXPECT_TRUE(isReadableRegularFile(regular, &reason));
    ::close(listener);
}

TEST(CheckedFile, ReadsAreBoundedAndAnEmptyFileReadsEmpty)
{
    const QString folder = test::tempFolder();
    writeFile(folder + "/big", QByteArray(5000, 'x'));
    writeFile(folder + "/empty", QByteArray());
    QByteArray contents("untouched");
    QString reason;
    EXPECT_FALSE(readRegularFile(folder + "/big", 4999, &contents, &reason));
    EXPECT_EQ(reason, "it holds 5000 bytes, more than the 4999 bytes this program reads");
    EXPECT_EQ(contents, "untouched");
    ASSERT_TRUE(readRegularFile(folder + "/big", 5000, &contents, &reason));
    EXPECT_EQ(contents, QByteArray(5000, 'x'));
    ASSERT_TRUE(readRegularFile(folder + "/empty", 10, &contents, &reason));
    EXPECT_TRUE(contents.isEmpty());
}

TEST(CheckedFile, AnAtomicWriteReplacesTheFileWholeAndKeepsItsPermissions)
{
    const QString path = test::tempFolder() + "/saved.nupo4";
    QString reason;
    ASSERT_TRUE(writeFileAtomically(path, "first", &reason)) << reason.toStdString();
    ::chmod(QFile::encodeName(path).constData(), 0640);
    ASSERT_TRUE(writeFileAtomically(path, "second, longer", &reason)) << reason.toStdString();
    EXPECT_EQ(contentsOf(path), "second, longer");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"saved.nupo4"});
    EXPECT_FALSE(writeFileAtomically(test::tempFolder() + "/no/such/folder/x", "x", &reason));
    EXPECT_EQ(reason, "no such file or folder");
}

TEST(CheckedFile, ASaveThroughSymbolicLinksReplacesTheFileTheyNameAndKeepsTheLinks)
{
    const QString folder = test::tempFolder();
    ASSERT_TRUE(QDir().mkpath(folder + "/real"));
    ASSERT_TRUE(QDir().mkpath(folder + "/links"));
    const QString target = folder + "/real/target.nupo4";
    writeFile(target, "old");
    ::chmod(QFile::encodeName(target).constData(), 0640);
    // A relative link, and a link to that link: both lead to the target.
    const QString link = folder + "/links/link.nupo4";
    ASSERT_EQ(::symlink("../real/target.nupo4", QFile::encodeName(link).constData()), 0);
    const QString chained = folder + "/chained.nupo4";
    ASSERT_TRUE(QFile::link(link, chained));

    QString reason;
    ASSERT_TRUE(writeFileAtomically(link, "through the link", &reason)) << reason.toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_EQ(contentsOf(target), "through the link");
    ASSERT_TRUE(writeFileAtomically(chained, "through two links", &reason)) << reason.toStdString();
    EXPECT_TRUE(QFileInfo(chained).isSymLink());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contentsOf(target), "through two links");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // The temporary files were made beside the target and are gone; none was left beside the links.
    EXPECT_EQ(QDir(folder + "/real").entryList(QDir::Files | QDir::Hidden), QStringList{"target.nupo4"});
    EXPECT_EQ(QDir(folder + "/links").entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{"link.nupo4"});

    // A link to a file not made yet makes it; links that go round are refused.
    const QString dangling = folder + "/links/new.nupo4";
    ASSERT_EQ(::symlink("../real/new.nupo4", QFile::encodeName(dangling).constData()), 0);
    ASSERT_TRUE(writeFileAtomically(dangling, "new", &reason)) << reason.toStdString();
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(contentsOf(folder + "/real/new.nupo4"), "new");
    const QString loop = folder + "/loop.nupo4";
    ASSERT_EQ(::symlink("loop.nupo4", QFile::encodeName(loop).constData()), 0);
    EXPECT_FALSE(writeFileAtomically(loop, "x", &reason));
    EXPECT_EQ(reason, "its symbolic links go round in a loop");
}

TEST(CheckedFile, ASaveOverAFifoADeviceOrAFolderIsRefusedByWhatItIsAndLeavesItAlone)
{
    const QString folder = test::tempFolder();
    const QString fifo = folder + "/pipe.nupo4";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = folder + "/null.nupo4";
    ASSERT_TRUE(QFile::link("/dev/null", device));
    const QString linkToFifo = folder + "/to-pipe.nupo4";
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    const QString subfolder = folder + "/folder.nupo4";
    ASSERT_TRUE(QDir().mkpath(subfolder));
    const std::pair<QString, QString> cases[] = {
        {fifo, "it is a FIFO (named pipe), not a file"},
        {linkToFifo, "it is a FIFO (named pipe), not a file"},
        {device, "it is a device, not a file"},
        {subfolder, "it is a folder, not a file"},
    };
    for (const auto& [path, why] : cases) {
        QString reason;
        EXPECT_FALSE(writeFileAtomically(path, "x", &reason)) << path.toStdString();
        EXPECT_EQ(reason, why) << path.toStdString();
    }
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(::stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_TRUE(QFileInfo(device).isSymLink());
    EXPECT_TRUE(QFileInfo(subfolder).isDir());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"null.nupo4", "pipe.nupo4", "to-pipe.nupo4"}));
}

TEST(CheckedFile, AFileSizeLimitFailsTheWriteWithItsReasonInsteadOfEndingTheProgram)
{
    const QString path = test::tempFolder() + "/limited.nupo4";
    writeFile(path, "old");
    const int result = inChild([&path] {
        const rlimit limit{1000, 1000};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 3;
        QString reason;
        if (writeFileAtomically(path, QByteArray(5000, 'x'), &reason))
            return 1;
        return reason == "the file would be larger than this system allows" ? 0 : 2;
    });
    EXPECT_EQ(result, 0) << "-25 is SIGXFSZ";
    EXPECT_EQ(contentsOf(path), "old");
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"limited.nupo4"});
}

// A process id that no process has any more: a child that has ended and been waited for.
pid_t endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(CheckedFile, TemporaryFilesOfKilledSavesGoWithTheNextSaveAndThoseOfALiveProcessStay)
{
    const QString folder = test::tempFolder() + "/stale";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString dead = QString::number(endedProcess());
    const QString live = QString::number(::getppid());
    const auto saveFile = [&folder](const QString& target, const QString& pid, unsigned n) {
        return QFile::decodeName(saveFileName(QFile::encodeName(folder + "/" + target), pid.toLongLong(), n))
            .section('/', -1);
    };
    // Names as this version makes them, and as earlier versions did ("<name>.saving-<pid>-<n>").
    const QStringList left = {saveFile("big.nupo4", dead, 0),     "big.nupo4.saving-" + dead + "-6",
                              saveFile("big.nupo4", live, 0),     saveFile("other.nupo4", dead, 0),
                              "big.nupo4.saving-" + dead + "-x",  "big.nupo4.saving-" + dead,
                              "other.nupo4.saving-" + dead + "-1"};
    for (const QString& name : left)
        writeFile(folder + "/" + name, "half a save");
    const QString path = folder + "/big.nupo4";
    QString reason;
    ASSERT_TRUE(writeFileAtomically(path, "whole", &reason)) << reason.toStdString();
    // Those of this document's dead saver go; a live saver's, another document's and names of another
    // shape stay.
    QStringList expected = {"big.nupo4", left[2], left[3], left[4], left[5], left[6]};
    expected.sort();
    QStringList found = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    found.sort();
    EXPECT_EQ(found, expected);
    EXPECT_EQ(contentsOf(path), "whole");

    writeFile(folder + "/" + left[0], "half a save");
    EXPECT_EQ(removeStaleSaveFiles(QFile::encodeName(path)), 1);
    EXPECT_EQ(removeStaleSaveFiles(QFile::encodeName(path)), 0);
    EXPECT_TRUE(QFile::exists(folder + "/" + left[2]));
}

TEST(CheckedFile, ASaveIntoAFolderTheUserCannotWriteNamesTheFolder)
{
    // Root writes anywhere: the save runs in a child that has become an ordinary user, in a folder
    // every user can reach but none but root can write.
    QByteArray folder = "/tmp/nupo-readonly-XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    const QString path = QFile::decodeName(folder) + "/saved.nupo4";
    const QString expected = "the folder " + QFile::decodeName(folder) + " is not writable";
    constexpr int cannotLeaveRoot = 77;
    const int result = inChild([&] {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return cannotLeaveRoot;
        QString reason;
        if (writeFileAtomically(path, "x", &reason))
            return 1;
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return reason == expected ? 0 : 2;
    });
    ::rmdir(folder.constData());
    if (result == cannotLeaveRoot)
        GTEST_SKIP() << "cannot become an ordinary user here";
    EXPECT_EQ(result, 0);
}

// Without the right to mount, a user namespace of its own (mapping this user to its root) gives it.
bool ownMountNamespace()
{
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    const auto put = [](const char* file, const QByteArray& text) {
        QFile f(QString::fromLatin1(file));
        return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
    };
    put("/proc/self/setgroups", "deny");
    return put("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1") &&
           put("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1");
}

TEST(CheckedFile, AFullDiskSaysThereIsNoSpaceLeftAndKeepsTheOldFile)
{
    // A 16 kB tmpfs of its own, mounted in a child's private namespace.
    const QString folder = test::tempFolder();
    constexpr int noMount = 77;
    const int result = inChild([&folder] {
        if (::unshare(CLONE_NEWNS) != 0 && !ownMountNamespace())
            return noMount;
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("none", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=16k") != 0)
            return noMount;
        const QString path = folder + "/full.nupo4";
        QString reason;
        if (!writeFileAtomically(path, "old", &reason))
            return 4;
        if (writeFileAtomically(path, QByteArray(64 * 1024, 'x'), &reason))
            return 1;
        if (reason != "no space left on the device")
            return 2;
        return contentsOf(path) == "old" && QDir(folder).entryList(QDir::Files | QDir::Hidden).size() == 1
                   ? 0
                   : 3;
    });
    if (result == noMount)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_EQ(result, 0);
}

TEST(CheckedFile, TheLongestFileNameSavesAndItsTemporaryNameIsShortAndHidden)
{
    const QString folder = test::tempFolder() + "/long";
    ASSERT_TRUE(QDir().mkpath(folder));
    // 255 bytes is as long as a name may be.
    const QString name = QString(246, QLatin1Char('n')) + ".nupo4";
    const QString longest = QString(249, QLatin1Char('l')) + ".nupo4";
    for (const QString& file : {name, longest}) {
        QString reason;
        ASSERT_TRUE(writeFileAtomically(folder + "/" + file, "saved", &reason)) << reason.toStdString();
        EXPECT_EQ(contentsOf(folder + "/" + file), "saved");
        const QByteArray temporary =
            saveFileName(QFile::encodeName(folder + "/" + file), 4194304, 4294967295u);
        EXPECT_TRUE(temporary.startsWith(QFile::encodeName(folder) + "/.")) << temporary.toStdString();
        EXPECT_LT(temporary.mid(temporary.lastIndexOf('/') + 1).size(), 64);
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
    // The same name, also a relative one, gives the same temporary name; another name another.
    EXPECT_EQ("/x/" + saveFileName("a.nupo4", 1, 2), saveFileName("/x/a.nupo4", 1, 2));
    EXPECT_NE(saveFileName("/x/a.nupo4", 1, 2), saveFileName("/x/b.nupo4", 1, 2));
}

TEST(CheckedFile, ARelativePathIsMadeAbsoluteWithTheWorkingFoldersOwnBytes)
{
    const QByteArray folder = QFile::encodeName(test::tempFolder()) + "/dir\xff\xfe";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QString before = QDir::currentPath();
    ASSERT_EQ(::chdir(folder.constData()), 0);
    const QByteArray relative = absoluteNativePath("in.nupo4");
    const QByteArray dotted = absoluteNativePath("./in.nupo4");
    QString reason;
    const bool written = writeFileAtomically(QByteArray("in.nupo4"), "here", &reason);
    ASSERT_TRUE(QDir::setCurrent(before));
    EXPECT_EQ(relative, folder + "/in.nupo4");
    EXPECT_EQ(dotted, folder + "/./in.nupo4");
    EXPECT_TRUE(written) << reason.toStdString();
    QByteArray contents;
    EXPECT_TRUE(readRegularFile(folder + "/in.nupo4", 100, &contents, &reason)) << reason.toStdString();
    EXPECT_EQ(contents, "here");
    EXPECT_EQ(absoluteNativePath("/already/absolute"), "/already/absolute");
}

}  // namespace
}  // namespace nupo
