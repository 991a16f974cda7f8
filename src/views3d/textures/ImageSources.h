#pragma once

// What the media browser hands the sprite tables: the image paths of an image set, the load request and
// the number of images it has opened as textures. Main thread.

#include <functional>

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

// What a scene does with the images once the media browser has loaded its window, the wave surface's or
// the 3D spectrum's: each switches its view to smooth shading with lighting (mode 4); a set load empties the
// scene's image table, loads images 0 .. count - 1 from `outCHARM` and draws image 0 (textureInitX,
// ImageInitMX, setRender); a single load takes the image at `outCHAR` as image 0 and draws it
// (textureInitReadS). The scenes' windows set these; while one is empty, the browser's load ends with the
// window open and says so on standard output.
inline std::function<void(int count)> loadImageSetIntoWaveSurface;
inline std::function<void(int count)> loadImageSetInto3DSpectrum;
inline std::function<void()> loadSingleImageIntoWaveSurface;
inline std::function<void()> loadSingleImageInto3DSpectrum;

}  // namespace nupo
