#pragma once

// What the media browser hands the sprite tables: the image paths of an image set, the load request and
// the number of images it has opened as textures. Main thread.

namespace nupo {

// Zero-terminated paths of the images of a set, by image number 0..255. (The single chosen image's path
// is `outCHAR`, shared/CoreState.h.)
inline constexpr int outCHARMCount = 256;
inline constexpr int outCHARMSize = 1000;
inline char outCHARM[outCHARMCount][outCHARMSize] = {};

// Texture-load request: non-zero loads a single image into the 3D spectrum's table, zero into the wave
// surface's.
inline int LoadTextuerF = 0;
// Number of textures to load.
inline int MaxTextureDN = 1;
// Number of images the media browser has opened as textures (what its getMaxOpen returns).
inline int maxImageN = 1;

}  // namespace nupo
