#pragma once

// The images the tunnel's walls show until the user loads a set of their own: patterns of ours in
// resources/Images, one to a slot, decoded once on the picture worker. Main thread.

#include "views3d/textures/gl/SpritePicture.h"

#include <functional>
#include <iterator>

namespace nupo {

// The wall images in slot order, named as they are found in the resources' Images folder.
inline constexpr const char* waveWallImageNames[] = {"wave-surface-1.png", "wave-surface-2.png",
                                                     "wave-surface-3.png", "wave-surface-4.png"};
inline constexpr int waveWallImageCount = static_cast<int>(std::size(waveWallImageNames));

// The wall pictures: null until they are decoded (the first call asks the picture worker for them, and
// whenReady, if given, runs on the main thread once they are there, at once where they are). The set
// holds the images from image 0 up to the first that could not be read (none when none could).
SharedPictureSet waveWallPictures(std::function<void()> whenReady = {});

// Binds the texture of image n of the wave-surface view drawing on this thread, without drawing its
// sprite; nothing for a slot without a texture.
void bindWallImage(int n);

}  // namespace nupo
