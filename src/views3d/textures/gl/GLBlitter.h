#pragma once

#include "views3d/textures/gl/GLSprite.h"

#include <memory>
#include <vector>

namespace nupo {

// A list that counts its elements.
template <class T>
class List {
public:
    void Append(T element)
    {
        items.push_back(std::move(element));
        ++count;
    }
    std::vector<T> items;
    int count = 0;
};

// Makes sprites from image files and keeps track of the buffers it made while they live.
class GLBlitter {
public:
    // A sprite of the image at name (absolute path, or a name in the "Images" resources) with its texture
    // made in the current GL context; null, after a message, when the file cannot be read or decoded or no
    // texture can be made.
    std::unique_ptr<GLSprite> CreateSprite(const char* name, const SpriteImageInfo& info);
    // Buffers made by this blitter that still exist.
    int liveBuffers() const;

private:
    List<std::weak_ptr<GLBuffer>> buffers_;
};

}  // namespace nupo
