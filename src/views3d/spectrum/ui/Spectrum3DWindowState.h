#pragma once

// Process-wide state of the 3D band-spectrum window ("WaterfallBS Window"): the plot-window state that
// every window family keeps (pending frame, transparency animation, open count, queued commands and the
// colour handed to the next nib load), with the window's own names for its parts, and the texture
// reload cycle. Main thread.

#include "plots/frame/gl/PlotWindowState.h"

namespace nupo {

// Remote display-mode and view/alpha commands repeat on five ticks, the colour on three.
inline PlotWindowState spectrum3DWindowState = [] {
    PlotWindowState state;
    state.viewMode.count = 5;
    state.viewEntry.count = 5;
    state.colourCount = 3;
    state.commandRepeats = 5;
    return state;
}();

inline QRectF& QX3DSpectrumX = spectrum3DWindowState.pendingFrame;
inline int& setWframeCotrol3D = spectrum3DWindowState.pendingFrameSet;
inline float& W3DAlphaValue = spectrum3DWindowState.alphaValue;
inline float& delta3D = spectrum3DWindowState.alphaDelta;
inline int& Open3DWaterFallBS = spectrum3DWindowState.openCount;
inline int& ShowWindow3DWaterFallBS = spectrum3DWindowState.shown;
inline QRectF& boundsWaterFallBS = spectrum3DWindowState.bounds;
inline int& viewA3DXX = spectrum3DWindowState.fullView;
inline int& selectBXCHNX = spectrum3DWindowState.lastViewEntry;
inline int& windowColor3DNOX = spectrum3DWindowState.suppressQueued;
inline int& windowColor3DChangedX = spectrum3DWindowState.colourChanged;
inline int& setDemoNumber3DCCount = spectrum3DWindowState.colourCount;
inline int& windowColor3DDidChanged = spectrum3DWindowState.colourDidChange;
inline int& needUpdateColorD = spectrum3DWindowState.handedColourPending;
inline RGBAColor& bkColorD = spectrum3DWindowState.handedColour;

inline int selectX3CHNX = 0;  // last view/alpha index
inline int viewA3DX = 0;      // the full-view choice kept across a texture reload
// Texture reload: 10 after a reload request, 2 once the reloaded window is set up, 0 when done.
inline int reloadTexture = 0;

// Directions of the colour animations' triangle modes.
inline int ColorGainBSMixSliderXUp = 1;
inline int ColorOffsetBSMixSliderXUp = 1;

// Inputs a patch stores for the window; nothing reads them.
inline int BrainCHBSX = 0, XpositionBSX = 430, YpositionBSX = 0, WsizeBSX = 592, HsizeBSX = 470;
inline double inputRBSX = 0.0, inputRBSY = 0.0, inputRBSZ = 0.0;

// One tick of the 3D colour animations (modes 1..4 of the display settings; others do nothing).
void stepColorGainBSMixAnimation();
void stepColorOffsetBSMixAnimation();

}  // namespace nupo
