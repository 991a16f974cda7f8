#include "QXDrawerSound/browser/FSNodeInfo.h"

#include "QXDrawerSound/browser/MediaBrowser.h"

#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace nupo {

FSNodeInfo::FSNodeInfo(const FSNodeInfo* parent, const QString& relativePath)
    : parentNode(parent), relative(relativePath)
{
}

QString escapedFileName(const QByteArray& bytes)
{
    const QString decoded = QString::fromUtf8(bytes);
    if (decoded.toUtf8() == bytes)
        return decoded;
    // Valid sequences are kept whole; a byte that starts none is escaped.
    QString escaped;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length > 0 && at + length <= bytes.size()) {
            const QByteArray sequence = bytes.mid(at, length);
            const QString one = QString::fromUtf8(sequence);
            if (!one.contains(QChar::ReplacementCharacter) && one.toUtf8() == sequence) {
                escaped += one;
                at += length;
                continue;
            }
        }
        escaped +=
            QStringLiteral("\\x") + QString::number(lead, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        ++at;
    }
    return escaped;
}

std::vector<DirectoryEntry> directoryEntries(const QString& path, bool withHidden)
{
    if (path.isEmpty())
        return {};
    const QByteArray encoded = QFile::encodeName(path);
    DIR* dir = ::opendir(encoded.constData());
    if (!dir)
        return {};
    std::vector<DirectoryEntry> entries;
    const int folder = ::dirfd(dir);
    while (const dirent* found = ::readdir(dir)) {
        const QByteArray bytes(found->d_name);
        if (bytes == "." || bytes == "..")
            continue;
        DirectoryEntry entry;
        entry.name = escapedFileName(bytes);
        if (!withHidden && !isVisibleName(entry.name))
            continue;
        entry.openable = QFile::encodeName(entry.name) == bytes;
        struct stat own {};
        if (::fstatat(folder, bytes.constData(), &own, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.link = S_ISLNK(own.st_mode);
            struct stat target = own;
            if (entry.link && ::fstatat(folder, bytes.constData(), &target, 0) != 0)
                target = {};
            entry.directory = S_ISDIR(target.st_mode);
        }
        entry.readable = ::faccessat(folder, bytes.constData(), R_OK, 0) == 0;
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        const int order = a.name.compare(b.name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.name < b.name;
    });
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
