#pragma once

#include "views3d/textures/gl/GBuffer.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

namespace nupo {

// A picture decoded for the sprite tables: the 32-bit pixel buffer exactly as GBuffer::LoadImage lays it
// out (the image unscaled at the top left), with the mipmap chain below it made once. Immutable once
// made, so that every view shares it, on any thread, and uploads its own texture of it.
class SpritePicture {
public:
    // Reads the file at name (absolute, or a name in the program's "Images" resources) with the checks
    // every file the user names gets, and decodes it, on the calling thread: never a drawing thread nor
    // the main thread for a file the user named. Null, with the reason in words, when it cannot be.
    static std::shared_ptr<const SpritePicture> load(const QString& name, QString* reason);

    const QString& path() const { return path_; }
    QSize imageSize() const { return base_.imageSize(); }
    // Level 0 is the buffer; levels 1.. the mipmap chain.
    int levelCount() const { return 1 + static_cast<int>(smaller_.size()); }
    const GBuffer& level(int n) const { return n == 0 ? base_ : *smaller_[static_cast<std::size_t>(n - 1)]; }

private:
    SpritePicture() = default;

    QString path_;
    GBuffer base_;
    std::vector<std::unique_ptr<GBuffer>> smaller_;
};

using SharedPicture = std::shared_ptr<const SpritePicture>;

// A set of pictures as a scene shows it: picture n in slot n, slots empty where nothing loaded. Immutable;
// whoever shows it holds it, so replacing a set never frees what another holder still reads.
struct SpritePictureSet {
    std::vector<SharedPicture> pictures;

    const SpritePicture* picture(int n) const
    {
        return n >= 0 && n < static_cast<int>(pictures.size()) ? pictures[static_cast<std::size_t>(n)].get()
                                                               : nullptr;
    }
    int loaded() const;
};

using SharedPictureSet = std::shared_ptr<const SpritePictureSet>;

// The pictures of set that loaded, in their order, with no empty slots: image n is the n-th picture that
// could be read (a file that is no picture, such as a movie in a folder of images, takes no number).
SharedPictureSet loadedPictures(const SharedPictureSet& set);

// A file of a set that was refused, and why.
struct RefusedPicture {
    QString path;
    QString reason;
};

// Reads and decodes the pictures at paths (picture n into slot n) on the calling thread; what cannot be
// read or decoded leaves its slot empty and is listed in refused. Once stop (if given) is set, the
// pictures not begun yet are left out, with that reason.
SharedPictureSet loadPictureSet(const QStringList& paths, std::vector<RefusedPicture>* refused,
                                const std::atomic<bool>* stop = nullptr);

}  // namespace nupo
