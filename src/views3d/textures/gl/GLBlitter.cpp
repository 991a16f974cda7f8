#include "views3d/textures/gl/GLBlitter.h"

#include <algorithm>

namespace nupo {

std::unique_ptr<GLSprite> GLBlitter::CreateSprite(const char* name, const SpriteImageInfo& info)
{
    // Buffers of sprites that are gone leave the list.
    std::erase_if(buffers_.items, [](const std::weak_ptr<GLBuffer>& b) { return b.expired(); });
    buffers_.count = static_cast<int>(buffers_.items.size());

    auto buffer = std::make_shared<GLBuffer>();
    if (!buffer->SetImage(name) || !buffer->LoadImage() || !buffer->CreateTexture(info.textureMode)) {
        Util::log("image not loaded: %s", name ? name : "(null)");
        return nullptr;
    }
    // The texture holds the image now; the file's bytes and the pixels are not needed again.
    buffer->ResetImage(true);
    buffers_.Append(buffer);
    auto sprite = std::make_unique<GLSprite>();
    sprite->Set(std::move(buffer), info);
    return sprite;
}

int GLBlitter::liveBuffers() const
{
    return static_cast<int>(std::count_if(buffers_.items.begin(), buffers_.items.end(),
                                          [](const std::weak_ptr<GLBuffer>& b) { return !b.expired(); }));
}

}  // namespace nupo
