#include "platform/files/CheckedFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <signal.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nupo {

namespace {

QString systemReason(int error)
{
    return fileErrorReason(error);
}

// What a path that is no regular file names, for the refusal.
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a FIFO (named pipe), not a file");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a file");
    return QStringLiteral("it is a device, not a file");
}

// Past a file-size limit the system sends SIGXFSZ, whose default ends the program; ignored, the write
// fails with EFBIG instead, which the writer reports.
void ignoreFileSizeSignal()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

bool writeAll(int fd, const QByteArray& contents, int* error)
{
    const char* next = contents.constData();
    qint64 left = contents.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, std::size_t(std::min<qint64>(left, qint64(1) << 30)));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        if (written == 0) {
            *error = ENOSPC;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

// What a save's temporary file has before "<pid>-<n>".
constexpr char saveFileMark[] = ".saving-";

// The folder of a path ("." for a bare name, "/" for a name in the root).
QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// The start of the names of a save's temporary files, before "<pid>-<n>": a hidden name made of a hash
// of the target's name, so that it stays short however long that name is (a file name ends at 255
// bytes). Empty for a path that names a folder.
QByteArray saveFilePrefix(const QByteArray& fileName)
{
    if (fileName.isEmpty())
        return {};
    const QByteArray hash = QCryptographicHash::hash(fileName, QCryptographicHash::Sha256).toHex().left(16);
    return '.' + hash + saveFileMark;
}

// The process id in a temporary file's name after its mark ("<pid>-<n>"), or 0 when the rest of the
// name is not of that shape.
pid_t saverOf(const QByteArray& rest)
{
    const qsizetype dash = rest.indexOf('-');
    if (dash <= 0 || dash + 1 == rest.size())
        return 0;
    const auto allDigits = [](const QByteArray& digits) {
        return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!allDigits(rest.left(dash)) || !allDigits(rest.mid(dash + 1)))
        return 0;
    bool ok = false;
    const qint64 pid = rest.left(dash).toLongLong(&ok);
    return ok && pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? pid_t(pid) : 0;
}

QString sizeText(qint64 bytes)
{
    if (bytes >= qint64(1) << 20)
        return QStringLiteral("%1 MB").arg(double(bytes) / double(1 << 20), 0, 'f', 1);
    return QStringLiteral("%1 bytes").arg(bytes);
}

// Where a save of path writes: through symbolic links to the file they name (a link relative to its own
// folder), so that a save replaces the user's file and keeps the link. False with the reason when the
// links go round or too deep.
bool resolveWriteTarget(const QByteArray& path, QByteArray* target, QString* reason)
{
    QByteArray current = path;
    // The system's own bound on the links one name may pass through.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            *target = current;
            return true;
        }
        QByteArray link(qsizetype(info.st_size > 0 ? info.st_size : 4095) + 1, '\0');
        const ssize_t length = ::readlink(current.constData(), link.data(), std::size_t(link.size()));
        if (length < 0 || length >= link.size()) {
            *reason = fileErrorReason(length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        link.truncate(length);
        current = link.startsWith('/') ? link : current.left(current.lastIndexOf('/') + 1) + link;
    }
    *reason = QStringLiteral("its symbolic links go round in a loop");
    return false;
}

}  // namespace

int openRegularFileForReading(const QByteArray& path, QString* reason, qint64* size)
{
    auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return -1;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("no file name"));
    if (path.contains('\0'))
        return fail(QStringLiteral("a file name cannot hold a zero byte"));
    struct stat info {};
    // What is no regular file is refused before it is opened: opening a device may act on it (a terminal
    // becomes the controlling one, a watchdog arms). The descriptor's own check below covers a path that
    // changes in between.
    if (::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return fail(kindOf(info.st_mode));
    // Non-blocking, so that opening a FIFO does not wait for a writer; the file is only read at once.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // A socket (or a device without its driver) cannot be opened at all: say what it is all the same.
        const int openError = errno;
        if (::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
            return fail(kindOf(info.st_mode));
        return fail(systemReason(openError));
    }
    const int statError = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (statError == 0 && S_ISREG(info.st_mode)) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        if (size)
            *size = qint64(info.st_size);
        return fd;
    }
    ::close(fd);
    if (statError != 0)
        return fail(systemReason(statError));
    return fail(kindOf(info.st_mode));
}

namespace {

std::atomic<ReadHookForTests> readHook{nullptr};
std::atomic<WriteHookForTests> writeHook{nullptr};

}  // namespace

void setReadHookForTests(ReadHookForTests hook)
{
    readHook.store(hook, std::memory_order_release);
}

void setWriteHookForTests(WriteHookForTests hook)
{
    writeHook.store(hook, std::memory_order_release);
}

bool readRegularFile(const QByteArray& path, qint64 maxBytes, QByteArray* contents, QString* reason)
{
    auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    qint64 size = 0;
    const int fd = openRegularFileForReading(path, reason, &size);
    if (fd < 0)
        return false;
    const auto tooLarge = [&](qint64 bytes) {
        ::close(fd);
        return fail(QStringLiteral("it holds %1, more than the %2 this program reads")
                        .arg(sizeText(bytes), sizeText(maxBytes)));
    };
    if (size > maxBytes)
        return tooLarge(size);
    if (const ReadHookForTests hook = readHook.load(std::memory_order_acquire))
        hook(path);
    QByteArray data;
    // One byte more than allowed shows a file that grew past the bound while it was read.
    data.resize(qsizetype(std::min(size, maxBytes) + 1));
    qint64 filled = 0;
    while (true) {
        if (filled == data.size()) {
            if (filled > maxBytes)
                return tooLarge(filled);
            data.resize(qsizetype(std::min<qint64>(maxBytes + 1, filled * 2 + 4096)));
        }
        const ssize_t got = ::read(fd, data.data() + filled, std::size_t(data.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return fail(systemReason(error));
        }
        if (got == 0)
            break;
        filled += got;
    }
    ::close(fd);
    if (filled > maxBytes)
        return tooLarge(filled);
    data.truncate(qsizetype(filled));
    if (contents)
        *contents = std::move(data);
    return true;
}

bool readRegularFile(const QString& path, qint64 maxBytes, QByteArray* contents, QString* reason)
{
    return readRegularFile(QFile::encodeName(path), maxBytes, contents, reason);
}

QString fileErrorReason(int error)
{
    switch (error) {
        case ENOSPC:
            return QStringLiteral("no space left on the device");
        case EFBIG:
            return QStringLiteral("the file would be larger than this system allows");
        case EDQUOT:
            return QStringLiteral("the disk quota is used up");
        case EROFS:
            return QStringLiteral("the disk is read-only");
        case EACCES:
        case EPERM:
            return QStringLiteral("permission denied");
        case ENOENT:
            return QStringLiteral("no such file or folder");
        case ENOTDIR:
            return QStringLiteral("a part of the path is not a folder");
        case EISDIR:
            return QStringLiteral("it is a folder, not a file");
        case EIO:
            return QStringLiteral("the device reported an input/output error");
        default:
            return QString::fromLocal8Bit(std::strerror(error));
    }
}

bool writeFileAtomically(const QString& path, const QByteArray& contents, QString* reason)
{
    return writeFileAtomically(QFile::encodeName(path), contents, reason);
}

bool writeFileAtomically(const QByteArray& path, const QByteArray& contents, QString* reason)
{
    ignoreFileSizeSignal();
    auto fail = [reason](int error) {
        if (reason)
            *reason = fileErrorReason(error);
        return false;
    };
    if (path.isEmpty() || path.contains('\0')) {
        if (reason)
            *reason = path.isEmpty() ? QStringLiteral("no file name")
                                     : QStringLiteral("a file name cannot hold a zero byte");
        return false;
    }
    // A link is followed to the file it names, and anything there but a regular file is refused by what
    // it is: a save never replaces a link, a FIFO or a device with a file of its own.
    QByteArray target;
    {
        QString why;
        if (!resolveWriteTarget(path, &target, &why)) {
            if (reason)
                *reason = why;
            return false;
        }
        struct stat existing {};
        if (::stat(target.constData(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
            if (reason)
                *reason = kindOf(existing.st_mode);
            return false;
        }
    }
    removeStaleSaveFiles(target);
    static std::atomic<unsigned> serial{0};
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = saveFileName(target, ::getpid(), serial.fetch_add(1));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno == EACCES || errno == EPERM)) {
            // No file can be made beside the target: say which folder refuses.
            if (reason)
                *reason =
                    QStringLiteral("the folder %1 is not writable").arg(QFile::decodeName(folderOf(target)));
            return false;
        }
        if (fd < 0 && errno != EEXIST)
            return fail(errno);
    }
    if (fd < 0)
        return fail(EEXIST);
    struct stat old {};
    if (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    if (const WriteHookForTests hook = writeHook.load(std::memory_order_acquire))
        hook(target);
    int error = 0;
    bool written = writeAll(fd, contents, &error);
    if (written && ::fsync(fd) != 0) {
        error = errno;
        written = false;
    }
    if (::close(fd) != 0 && written) {
        error = errno;
        written = false;
    }
    if (written && ::rename(temporary.constData(), target.constData()) != 0) {
        error = errno;
        written = false;
    }
    if (!written) {
        ::unlink(temporary.constData());
        return fail(error);
    }
    return true;
}

QByteArray saveFileName(const QByteArray& target, qint64 pid, unsigned serial)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + saveFilePrefix(target.mid(slash + 1)) + QByteArray::number(pid) + '-' +
           QByteArray::number(serial);
}

int removeStaleSaveFiles(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray fileName = path.mid(slash + 1);
    if (fileName.isEmpty())
        return 0;  // a path that names a folder
    // The short hashed names, and "<name>.saving-" as earlier versions named them.
    const QByteArray prefixes[] = {saveFilePrefix(fileName), fileName + saveFileMark};
    const QByteArray folder = folderOf(path);
    DIR* listing = ::opendir(folder.constData());
    if (!listing)
        return 0;
    QList<QByteArray> stale;
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        for (const QByteArray& prefix : prefixes) {
            if (!name.startsWith(prefix))
                continue;
            const pid_t saver = saverOf(name.mid(prefix.size()));
            // kill with signal 0 only asks whether the process exists; EPERM means it does (another
            // user's).
            if (saver > 0 && ::kill(saver, 0) != 0 && errno == ESRCH)
                stale << name;
            break;
        }
    }
    ::closedir(listing);
    int removed = 0;
    for (const QByteArray& name : stale) {
        const QByteArray file = folder + '/' + name;
        struct stat info {};
        if (::lstat(file.constData(), &info) == 0 && S_ISREG(info.st_mode) && ::unlink(file.constData()) == 0)
            ++removed;
    }
    return removed;
}

QByteArray absoluteNativePath(const QByteArray& path)
{
    if (path.startsWith('/') || path.isEmpty())
        return path;
    // The working folder as the system names it: a folder whose name is not UTF-8 would not survive a
    // round trip through text.
    QByteArray folder;
    if (char* cwd = ::getcwd(nullptr, 0)) {
        folder = cwd;
        std::free(cwd);
    } else {
        folder = QFile::encodeName(QDir::currentPath());
    }
    return folder + '/' + path;
}

bool makeFolders(const QByteArray& folder, int* error)
{
    struct stat info {};
    if (folder.isEmpty() || ::stat(folder.constData(), &info) == 0) {
        if (folder.isEmpty() || S_ISDIR(info.st_mode))
            return true;
        if (error)
            *error = ENOTDIR;
        return false;
    }
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0 && !makeFolders(folder.left(slash), error))
        return false;
    if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST) {
        if (error)
            *error = errno;
        return false;
    }
    return true;
}

bool isReadableRegularFile(const QString& path, QString* reason)
{
    const QByteArray file = QFile::encodeName(path);
    const int fd = openRegularFileForReading(file, reason);
    if (fd < 0)
        return false;
    if (const ReadHookForTests hook = readHook.load(std::memory_order_acquire))
        hook(file);
    ::close(fd);
    return true;
}

}  // namespace nupo
