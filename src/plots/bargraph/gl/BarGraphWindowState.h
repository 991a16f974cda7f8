#pragma once

#include "plots/frame/gl/PlotWindowState.h"

namespace nupo {

// Process-wide state of the spectrum bar-graph windows ("Bargraph Window"). Commands from the bar-graph
// view repeat on three ticks.
inline PlotWindowState barGraphWindowState;

// The names other parts (documents, menus, patches) use for that state.
inline QRectF& QX2DBarGraphX = barGraphWindowState.pendingFrame;
inline int& setWframeCotrol2DBar = barGraphWindowState.pendingFrameSet;
inline float& WBarAlphaValue = barGraphWindowState.alphaValue;
inline float& deltaBar = barGraphWindowState.alphaDelta;
inline int& ShowWindowBargraph = barGraphWindowState.shown;
inline int& Open2DBarGraph = barGraphWindowState.openCount;
inline QRectF& boundsBargraph = barGraphWindowState.bounds;
inline int& windowColorBarOX = barGraphWindowState.suppressQueued;
inline int& windowColorBraChangedX = barGraphWindowState.colourChanged;
inline int& setDemoNumberBraCCount = barGraphWindowState.colourCount;
inline int& windowColorBarDidChanged = barGraphWindowState.colourDidChange;
inline RGBAColor& bkColorB = barGraphWindowState.handedColour;
inline int& needUpdateColorB = barGraphWindowState.handedColourPending;
inline int& setDemoNumberBarCA = barGraphWindowState.viewMode.value;
inline int& setDemoNumberBarACount = barGraphWindowState.viewMode.count;
inline int& setDemoNumberBarCADidChanged = barGraphWindowState.viewMode.didChange;
inline int& setDemoNumberBarCB = barGraphWindowState.viewEntry.value;
inline int& setDemoNumberBarBCount = barGraphWindowState.viewEntry.count;
inline int& setDemoNumberBarCBDidChanged = barGraphWindowState.viewEntry.didChange;
inline int& selectCHX = barGraphWindowState.lastViewMode;
inline int& selectBCHX = barGraphWindowState.lastViewEntry;
inline int& viewABarX = barGraphWindowState.fullView;
inline float& setWBarGain = barGraphWindowState.heightGain;
inline int& firstTimw2DBarGraph = barGraphWindowState.firstLoadDone;

// Inputs of the bar-graph patch; stored, read by nothing.
inline int BrainCHbarX = 0;
inline int XpositionbarX = 0;
inline int YpositionbarX = 0;
inline int WsizebarX = 0;
inline int HsizebarX = 0;

}  // namespace nupo
