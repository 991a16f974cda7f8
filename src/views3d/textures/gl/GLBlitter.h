#pragma once

#include "views3d/textures/gl/GLSprite.h"
#include "views3d/textures/gl/SpritePicture.h"

#include <memory>
#include <mutex>
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

// Makes sprites of decoded pictures and keeps track of the buffers it made while they live. Any thread
// (each view makes its sprites on its own drawing thread).
class GLBlitter {
public:
    // A sprite of the picture with its texture made in the current GL context; null, after a message,
    // when no texture can be made.
    std::unique_ptr<GLSprite> CreateSprite(const SpritePicture& picture, const SpriteImageInfo& info);
    // Buffers made by this blitter that still exist.
    int liveBuffers() const;

private:
    mutable std::mutex mutex_;
    List<std::weak_ptr<GLBuffer>> buffers_;
};

}  // namespace nupo
