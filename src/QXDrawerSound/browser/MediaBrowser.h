#pragma once

// The media browser's process-wide state and the rules it applies: what kind of file a name is, the
// listing of a chosen folder into the hand-over lists the sound slots read, and the image counts.
// (The texture hand-over variables are in views3d/textures/ImageSources.h, the sound ones in
// QXDrawerSound/player/SoundSlotTables.h, the path buffer `outCHAR` in shared/CoreState.h.) Main thread.

#include <QString>
#include <QStringList>

#include <vector>

namespace nupo {

struct DirectoryEntry;

inline int fsPath = 0;            // root of the browser's first column: 0 is "/"
inline int selectDirectory = 0;   // 1 when the last single-clicked item is a directory
inline int RowsCount = 0;         // visible entries of the column loaded last
inline int selectedColumnXZ = 0;  // the browser's selected column when a column was loaded
inline int maxImageNX = 1;        // the second image count; texture loads set it with `maxImageN`

// The most images a count field accepts.
inline constexpr int maxImageCount = 999;

enum class MediaKind { None, Image, Sound, Movie, Data };

// The text after the last "." of a name (the whole name when it has none).
QString extensionOfName(const QString& name);
// The kind of an extension, compared exactly (case matters): images, sounds, movies, old data files.
MediaKind mediaKindOfExtension(const QString& extension);

// Puts a folder's listed entries (FolderLister, visible ones) into `soundNameArrayX` (paths) and
// `soundNameArrayS` (names) from index 0 and sets `RowsCount` and `LastRowsCount` to their number, which
// it returns. Entries behind that number are left from older listings. An entry whose name cannot be
// opened (not valid UTF-8) is left out and its escaped name added to `unopenable` where given.
int takeFolderListing(const QString& folder, const std::vector<DirectoryEntry>& entries,
                      QStringList* unopenable = nullptr);

// The kind a selection opens: a file by its name; a folder, once taken (takeFolderListing), by its
// first entry, and none where it had no entries.
MediaKind kindOfSelection(bool isFolder, const QString& pathOrName, int listedEntries);

// An image count from a field: held to 1 .. `maxImageCount` and to the images a set can hold.
int clampedImageCount(int count, int tableSize);

}  // namespace nupo
