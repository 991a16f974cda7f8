#pragma once

// One file-system path and the questions the media browser asks about it: its entries, whether it is
// visible, a directory, a link, readable. A node is light: it holds its path relative to its parent
// (a complete path without parent) and reads the file system on every question.

#include <QString>

#include <vector>

namespace nupo {

class FSNodeInfo {
public:
    // The parent is not owned and must outlive the node.
    FSNodeInfo(const FSNodeInfo* parent, const QString& relativePath);
    static FSNodeInfo nodeWithParent(const FSNodeInfo* parent, const QString& relativePath)
    {
        return FSNodeInfo(parent, relativePath);
    }

    // One node per entry of the directory (hidden ones too), in the browser's listing order: by name.
    // A path that is not a listable directory has none.
    std::vector<FSNodeInfo> subNodes() const;
    // The same without the hidden entries (names beginning with ".").
    std::vector<FSNodeInfo> visibleSubNodes() const;

    bool isLink() const;       // the path itself is a symbolic link
    bool isDirectory() const;  // exists and is a directory (through a link too)
    bool isReadable() const;
    bool isVisible() const;  // a name, not beginning with "."
    // "Directory" or "Non-Directory"; records the answer in `selectDirectory` (1 or 0).
    QString fsType() const;
    QString lastPathComponent() const;
    QString absolutePath() const;
    const QString& relativePath() const { return relative; }

private:
    const FSNodeInfo* parentNode;
    QString relative;
};

// The names of a directory's entries in listing order (by name ignoring case, as a file manager shows them),
// hidden ones left out unless asked for.
std::vector<QString> directoryEntryNames(const QString& path, bool withHidden);
// The same with what the browser shows of each entry, read in the same pass. A name that is not valid
// UTF-8 cannot be opened through a QString path: it is listed with its bad bytes escaped ("\xE9") and
// `openable` false. Reads the file system: not on the main thread (FolderLister).
struct DirectoryEntry {
    QString name;
    bool directory = false;  // through a link too
    bool link = false;
    bool readable = false;
    bool openable = true;
};
std::vector<DirectoryEntry> directoryEntries(const QString& path, bool withHidden);
// A file name's bytes as text: valid UTF-8 as it is, every other byte as "\xNN".
QString escapedFileName(const QByteArray& bytes);
bool isVisibleName(const QString& name);

}  // namespace nupo
