#include "views3d/textures/gl/SpritePicture.h"

#include <algorithm>
#include <iterator>

namespace nupo {

std::shared_ptr<const SpritePicture> SpritePicture::load(const QString& name, QString* reason)
{
    std::shared_ptr<SpritePicture> picture(new SpritePicture);
    GBuffer& base = picture->base_;
    const QByteArray path = name.toUtf8();
    if (!base.SetImage(path.constData()) || !base.LoadImage()) {
        if (reason)
            *reason = base.failure().isEmpty() ? QStringLiteral("it cannot be read") : base.failure();
        return nullptr;
    }
    // The pixels are all a texture needs: the file's bytes go.
    base.ResetImage(false);
    picture->path_ = base.file().path;
    picture->smaller_ = mipmapLevels(base);
    return picture;
}

int SpritePictureSet::loaded() const
{
    return static_cast<int>(
        std::count_if(pictures.begin(), pictures.end(), [](const SharedPicture& p) { return p != nullptr; }));
}

SharedPictureSet loadedPictures(const SharedPictureSet& set)
{
    auto pictures = std::make_shared<SpritePictureSet>();
    if (set)
        std::copy_if(set->pictures.begin(), set->pictures.end(), std::back_inserter(pictures->pictures),
                     [](const SharedPicture& p) { return p != nullptr; });
    return pictures;
}

SharedPictureSet loadPictureSet(const QStringList& paths, std::vector<RefusedPicture>* refused,
                                const std::atomic<bool>* stop)
{
    auto set = std::make_shared<SpritePictureSet>();
    set->pictures.resize(static_cast<std::size_t>(paths.size()));
    for (int n = 0; n < paths.size(); ++n) {
        QString why = QStringLiteral("the program is ending");
        if (!stop || !stop->load(std::memory_order_relaxed))
            set->pictures[static_cast<std::size_t>(n)] = SpritePicture::load(paths[n], &why);
        if (!set->pictures[static_cast<std::size_t>(n)] && refused)
            refused->push_back({paths[n], why});
    }
    return set;
}

}  // namespace nupo
