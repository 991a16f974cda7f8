#include "views3d/wave/gl/WaveWallImages.h"

#include "views3d/textures/gl/PictureLoader.h"
#include "views3d/textures/gl/ViewSprites.h"

#include <vector>

namespace nupo {

namespace {

struct WallPictures {
    bool asked = false;
    SharedPictureSet set;
    std::vector<std::function<void()>> waiting;
};

WallPictures& wallPictures()  // main thread
{
    static auto* pictures = new WallPictures;  // lives to process end
    return *pictures;
}

}  // namespace

SharedPictureSet waveWallPictures(std::function<void()> whenReady)
{
    WallPictures& wall = wallPictures();
    if (wall.set) {
        if (whenReady)
            whenReady();
        return wall.set;
    }
    if (whenReady)
        wall.waiting.push_back(std::move(whenReady));
    if (!wall.asked) {
        wall.asked = true;
        QStringList names;
        for (const char* name : waveWallImageNames)
            names << QString::fromUtf8(name);  // a name without a leading '/' is a resource
        PictureLoader::load(names, [](PictureLoader::Result result) {
            WallPictures& loaded = wallPictures();
            // Image 0 up to the first that could not be read.
            auto set = std::make_shared<SpritePictureSet>();
            for (const SharedPicture& picture : result.set->pictures) {
                if (!picture)
                    break;
                set->pictures.push_back(picture);
            }
            loaded.set = std::move(set);
            for (const std::function<void()>& fn : std::exchange(loaded.waiting, {}))
                fn();
        });
    }
    return nullptr;
}

void bindWallImage(int n)
{
    if (const ViewSprites* sprites = ViewSprites::drawing(SpriteScene::Wave))
        sprites->bind(n);
}

}  // namespace nupo
