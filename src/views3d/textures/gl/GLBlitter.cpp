#include "views3d/textures/gl/GLBlitter.h"

#include <algorithm>

namespace nupo {

std::unique_ptr<GLSprite> GLBlitter::CreateSprite(const SpritePicture& picture, const SpriteImageInfo& info)
{
    auto buffer = std::make_shared<GLBuffer>();
    if (!buffer->CreateTexture(picture, info.textureMode)) {
        Util::log("image not loaded: %s", qUtf8Printable(picture.path()));
        return nullptr;
    }
    {
        const std::lock_guard lock(mutex_);
        // Buffers of sprites that are gone leave the list.
        std::erase_if(buffers_.items, [](const std::weak_ptr<GLBuffer>& b) { return b.expired(); });
        buffers_.count = static_cast<int>(buffers_.items.size());
        buffers_.Append(buffer);
    }
    auto sprite = std::make_unique<GLSprite>();
    sprite->Set(std::move(buffer), info);
    return sprite;
}

int GLBlitter::liveBuffers() const
{
    const std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(buffers_.items.begin(), buffers_.items.end(),
                                          [](const std::weak_ptr<GLBuffer>& b) { return !b.expired(); }));
}

}  // namespace nupo
