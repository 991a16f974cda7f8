#pragma once

// The images the tunnel's walls show until the user loads a set of their own: patterns of ours in
// resources/Images, one to a sprite slot. Main thread, with the wave-surface view's GL context current.

#include <iterator>

namespace nupo {

// The wall images in slot order, named as they are found in the resources' Images folder.
inline constexpr const char* waveWallImageNames[] = {"wave-surface-1.png", "wave-surface-2.png",
                                                     "wave-surface-3.png", "wave-surface-4.png"};
inline constexpr int waveWallImageCount = static_cast<int>(std::size(waveWallImageNames));

// Loads the wall images into the wave surface's sprite table, image n into slot n, and renders image 0 so
// that its texture is bound for the walls, as a freshly loaded image set is. Returns how many images
// loaded, counting from image 0 up to the first that could not be read (0 when none could).
int loadWaveWallImages();

// Binds the texture of the wave surface's image n, without drawing its sprite; nothing for a slot
// without a ready texture.
void bindWallImage(int n);

}  // namespace nupo
