#pragma once

#include <atomic>

// Process-wide state of the 3D band-spectrum scene that carries over between frames: the 3D views'
// frames' own, drawn one at a time (their class's drawing lock), with the frame's GL context current.

namespace nupo {

// Projection of the scene: the aspect ratio stays 1.5 whatever the view's shape.
inline float aspect = 1.5f;
inline float zNear = 1.0f;
inline float zFar = 1000.0f;

// Camera turn kept while the camera turns about y (see the composer).
inline int ChangeTorotateX = 0;
inline float sphiZ = 0.0f;

// Image made current last in the image texture modes, and the palettes handed to the tiles in the palette
// modes (0..5).
inline int ImageNZ = 0;
inline float PColor_valueYM = 0.0f;
inline float FColor_valueYM = 0.0f;

// Spacing of the frequency ruler: the row of the last marker cube (`izzzz`) and label (`izzz`) drawn, and
// the least row distance between two of them.
inline float izzzz = 64.0f;
inline float izzz = 64.0f;
inline float fDisplayDA = 4.0f;

inline int flushC2 = 0;        // flash counter of the brain-switch box, 0..64
inline int RawWaveColorN = 0;  // colour counter of the flat elements and the raw-wave trace

// Flashing brain-switch window: window 0..7 (-1 none) of source 0..9 (10 none), and a pending request to
// stop the highlight. Set by the drawing canvas while it paints on the main thread; the 3D views apply them
// to the brain-switch records in their frames' synchronisation step (main thread), or a tile drawn
// without a frame copy (an engine test) as it is drawn.
inline std::atomic<int> BSCHXX{-1};
inline std::atomic<int> BrainCHXX{10};
inline std::atomic<int> OffFlashBS{0};

}  // namespace nupo
