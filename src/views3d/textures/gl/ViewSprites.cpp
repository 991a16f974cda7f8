#include "views3d/textures/gl/ViewSprites.h"

#include "views3d/textures/gl/CurrentGLContext.h"
#include "views3d/textures/gl/ShadowApp.h"

#include <GL/gl.h>

#include <utility>

namespace nupo {

namespace {

thread_local ViewSprites* drawingWave = nullptr;
thread_local ViewSprites* drawingSpectrum = nullptr;

ViewSprites*& drawingSlot(SpriteScene scene)
{
    return scene == SpriteScene::Wave ? drawingWave : drawingSpectrum;
}

}  // namespace

ViewSprites::ViewSprites(SpriteScene scene) : scene_(scene) {}

ViewSprites::~ViewSprites()
{
    // Textures of a context not current here go with that context (GLBuffer deletes only its own).
    sprites_.clear();
}

GLBlitter& ViewSprites::blitter() const
{
    return scene_ == SpriteScene::Wave ? nupo::blitter : blitterAX;
}

void ViewSprites::forget()
{
    sprites_.clear();
    shown_.reset();
    next_ = 0;
}

void ViewSprites::clear()
{
    forget();
    context_ = currentGLContext();
}

bool ViewSprites::show(const SharedPictureSet& set)
{
    const void* context = currentGLContext();
    if (context != context_) {
        forget();  // the names of the old context went with it, or are not reachable from here
        context_ = context;
    }
    if (set != shown_) {
        forget();  // deleted here, in the context they were made in
        shown_ = set;
    }
    if (!shown_ || !context)
        return true;
    const std::size_t count = shown_->pictures.size();
    if (sprites_.size() != count)
        sprites_.resize(count);
    int made = 0;
    for (; next_ < count && made < uploadsPerFrame; ++next_) {
        const SharedPicture& picture = shown_->pictures[next_];
        if (!picture)
            continue;
        std::unique_ptr<GLSprite> sprite = blitter().CreateSprite(*picture, SpriteImageInfo(3, 0, 0));
        if (sprite) {
            sprite->info.centred = 1;
            sprite->info.filterQuality = 8.0f;
        }
        sprites_[next_] = std::move(sprite);
        ++made;
    }
    // A set just made complete gets image 0's drawing filter at once, as loading a set has always left it;
    // the others get theirs when they are first drawn.
    if (made > 0 && next_ >= count && !sprites_.empty() && sprites_.front())
        sprites_.front()->applyFilter();
    return next_ >= count;
}

GLSprite* ViewSprites::sprite(int n) const
{
    return n >= 0 && n < static_cast<int>(sprites_.size()) ? sprites_[static_cast<std::size_t>(n)].get()
                                                           : nullptr;
}

void ViewSprites::RenderScene(int n)
{
    if (GLSprite* s = sprite(n < 0 ? 0 : n))
        s->Render();
    glEnable(GL_LIGHTING);
    glDisable(GL_LIGHTING);
}

void ViewSprites::use(int n)
{
    if (GLSprite* s = sprite(n < 0 ? 0 : n))
        s->bindForDrawing();
    glEnable(GL_LIGHTING);
    glDisable(GL_LIGHTING);
}

void ViewSprites::bind(int n) const
{
    const GLSprite* s = sprite(n);
    if (s && s->buffer && s->buffer->textureReady())
        glBindTexture(GL_TEXTURE_2D, s->buffer->textureName());
}

ViewSprites* ViewSprites::drawing(SpriteScene scene)
{
    return drawingSlot(scene);
}

ViewSprites::Drawing::Drawing(ViewSprites& sprites)
    : sprites_(sprites), previous_(std::exchange(drawingSlot(sprites.scene_), &sprites))
{
}

ViewSprites::Drawing::~Drawing()
{
    drawingSlot(sprites_.scene_) = previous_;
}

}  // namespace nupo
