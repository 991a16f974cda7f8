#pragma once

// What the media browser hands the sprite tables: the image paths of an image set, the load request and
// the number of images it has opened as textures. Main thread.

#include <QObject>
#include <QPointer>

namespace nupo {

// Zero-terminated paths of the images of a set, by image number 0..255. (The single chosen image's path
// is `outCHAR`, shared/CoreState.h.)
inline constexpr int outCHARMCount = 256;
inline constexpr int outCHARMSize = 1000;
inline char outCHARM[outCHARMCount][outCHARMSize] = {};

// Texture-load request: 0 loads into a new wave-surface window, loadIntoAskingWave into the wave-surface
// window `waveLoadTarget` (a new one where it has closed), any other value into the 3D spectrum's window.
inline int LoadTextuerF = 0;
inline constexpr int loadIntoSpectrum = 1;
inline constexpr int loadIntoAskingWave = 2;
// The wave-surface window whose Load Images… opened the browser.
inline QPointer<QObject> waveLoadTarget;
// Number of textures to load.
inline int MaxTextureDN = 1;
// Number of images the media browser has opened as textures (what its getMaxOpen returns).
inline int maxImageN = 1;

}  // namespace nupo
