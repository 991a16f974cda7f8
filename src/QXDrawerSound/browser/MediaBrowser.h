#pragma once

// The media browser's process-wide state and the rules it applies: what kind of file a name is, the
// listing of a chosen folder into the hand-over lists the sound slots read, and the image counts.
// (The texture hand-over variables are in views3d/textures/ImageSources.h, the sound ones in
// QXDrawerSound/player/SoundSlotTables.h, the path buffer `outCHAR` in shared/CoreState.h.) Main thread.

#include <QString>
#include <QStringList>

namespace nupo {

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

// Lists the visible entries of a folder into `soundNameArrayX` (paths) and `soundNameArrayS` (names)
// from index 0 and sets `RowsCount` and `LastRowsCount` to their number, which it returns. Entries
// behind that number are left from older listings.
int listFolderForOpening(const QString& folder);

// The kind a selection opens: a folder by its first visible entry (after listing it), a file by its
// name. A folder with no visible entries opens nothing.
MediaKind kindOfSelection(bool isFolder, const QString& pathOrName);

// An image count from a field: held to 1 .. `maxImageCount` and to the images a set can hold.
int clampedImageCount(int count, int tableSize);

}  // namespace nupo
