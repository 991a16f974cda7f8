#pragma once

#include "plots/frame/gl/PlotWindowState.h"

namespace nupo {

// Process-wide state of the 2D spectrum windows ("Waterfall Window"). Commands from the 2D view repeat on
// three ticks.
inline PlotWindowState waterfallWindowState;

// The names other parts (documents, menus, patches) use for that state.
inline QRectF& QX2DSpectrumX = waterfallWindowState.pendingFrame;
inline int& setWframeCotrol2D = waterfallWindowState.pendingFrameSet;
inline float& W2DAlphaValue = waterfallWindowState.alphaValue;
inline float& delta2D = waterfallWindowState.alphaDelta;
inline int& ShowWindow3DWaterFall = waterfallWindowState.shown;
inline int& Open3DWaterFall = waterfallWindowState.openCount;
inline QRectF& boundsWaterFall = waterfallWindowState.bounds;
inline int& windowColor2DNOX = waterfallWindowState.suppressQueued;
inline int& windowColor2DChangedX = waterfallWindowState.colourChanged;
inline int& setDemoNumber2DCCount = waterfallWindowState.colourCount;
inline int& windowColor2DDidChanged = waterfallWindowState.colourDidChange;
inline RGBAColor& bkColorC = waterfallWindowState.handedColour;
inline int& needUpdateColorC = waterfallWindowState.handedColourPending;
inline int& setDemoNumber3DCA = waterfallWindowState.viewMode.value;
inline int& setDemoNumber3DACount = waterfallWindowState.viewMode.count;
inline int& setDemoNumber3DCADidChanged = waterfallWindowState.viewMode.didChange;
inline int& setDemoNumber3DCB = waterfallWindowState.viewEntry.value;
inline int& setDemoNumber3DBCount = waterfallWindowState.viewEntry.count;
inline int& setDemoNumber3DCBDidChanged = waterfallWindowState.viewEntry.didChange;
// Current source of the window (the source popup's index 0..11), saved with documents.
inline int& selectXCHNXY = waterfallWindowState.lastViewMode;
inline int& selectBXCHNXY = waterfallWindowState.lastViewEntry;
inline int& viewA2DX = waterfallWindowState.fullView;

// Directions of the bouncing colour animations: 1 rising, 0 falling.
inline int ColorGainSliderXUp = 1;
inline int ColorOffsetSliderXUp = 1;

// Inputs of the waterfall patch; stored, read by nothing.
inline int BrainCHX = 0;
inline int XpositionX = 0;
inline int YpositionX = 0;
inline int WsizeX = 0;
inline int HsizeX = 0;
inline double inputRX = 0.0;
inline double inputRY = 0.0;
inline double inputRZ = 0.0;

// One tick of the colour gain animation (mode 1, 2 wrap to 0.2 above 2.0 or 5.0; 3, 4 bounce between 0.2
// and 2.0 or 5.0; other modes do nothing) on `value` with the direction `up`.
void stepColourGainAnimation(int mode, float& value, int& up);
// The same for the colour offset: step 2.0, ranges 0..50 (modes 1, 3) and 0..100 (modes 2, 4).
void stepColourOffsetAnimation(int mode, float& value, int& up);
// The 3D window's colour offset: as above, but the wrapping modes 1 and 2 climb by 1.0 a tick.
void stepSceneColourOffsetAnimation(int mode, float& value, int& up);

// The start frequency typed into the window: the value limited to 0..1000 Hz turned into a start bin
// b = value × (fftp / 128) / (SampleSpeed × 0.5 / 64), kept at most fftp / 2 − 64 (and at least 0), and
// the frequency that bin shows.
struct StartFrequency {
    int bin = 0;
    float value = 0.0f;
};
StartFrequency startFrequencyFromField(float value, int points, int sampleSpeed);

}  // namespace nupo
