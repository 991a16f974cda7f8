#include "QXDrawerSound/browser/MediaBrowser.h"

#include "QXDrawerSound/browser/FSNodeInfo.h"
#include "QXDrawerSound/player/SoundSlotTables.h"

#include <QDir>

#include <algorithm>

namespace nupo {

QString extensionOfName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.mid(dot + 1);
}

MediaKind mediaKindOfExtension(const QString& extension)
{
    static const QStringList images{"jpg", "tiff", "tga", "rgb", "bw",  "pct",
                                    "pdf", "jpeg", "png", "psd", "gif", "bmp"};
    static const QStringList sounds{"WAV", "wav", "aif", "aiff", "mid"};
    static const QStringList movies{"mov", "MOV", "QT",  "qt",   "MPG",  "mpg", "dv",
                                    "DV",  "mp4", "MP4", "QTVR", "qtvr", "QTZ", "qtz"};
    static const QStringList data{"dat", "data", "nupo", "NUPO", "DAT"};
    if (images.contains(extension))
        return MediaKind::Image;
    if (sounds.contains(extension))
        return MediaKind::Sound;
    if (movies.contains(extension))
        return MediaKind::Movie;
    if (data.contains(extension))
        return MediaKind::Data;
    return MediaKind::None;
}

int takeFolderListing(const QString& folder, const std::vector<DirectoryEntry>& entries,
                      QStringList* unopenable)
{
    const QDir dir(folder);
    int row = 0;
    for (const DirectoryEntry& entry : entries) {
        if (!isVisibleName(entry.name))
            continue;
        if (!entry.openable) {
            if (unopenable)
                *unopenable << entry.name;
            continue;
        }
        const QString path = dir.filePath(entry.name);
        if (row < soundNameArrayX.size())
            soundNameArrayX[row] = path;
        else
            soundNameArrayX << path;
        if (row < soundNameArrayS.size())
            soundNameArrayS[row] = entry.name;
        else
            soundNameArrayS << entry.name;
        ++row;
    }
    RowsCount = row;
    LastRowsCount = row;
    return row;
}

MediaKind kindOfSelection(bool isFolder, const QString& pathOrName, int listedEntries)
{
    if (!isFolder)
        return mediaKindOfExtension(extensionOfName(pathOrName));
    if (listedEntries == 0)
        return MediaKind::None;
    return mediaKindOfExtension(extensionOfName(soundNameArrayS.first()));
}

int clampedImageCount(int count, int tableSize)
{
    return std::clamp(count, 1, std::max(1, std::min(maxImageCount, tableSize)));
}

}  // namespace nupo
