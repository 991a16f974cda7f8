#pragma once

#include "plots/frame/gl/PlotWindowState.h"

#include <QString>

namespace nupo {

// Process-wide state of the raw-wave windows ("Rawwave Window"). Commands from the raw-wave view repeat
// on five ticks.
inline PlotWindowState rawwaveWindowState = [] {
    PlotWindowState state;
    state.commandRepeats = 5;
    return state;
}();

// The names other parts (documents, menus, patches) use for that state.
inline QRectF& QXRawwaveGraphX = rawwaveWindowState.pendingFrame;
inline int& setWframeCotrol = rawwaveWindowState.pendingFrameSet;
inline float& WRawAlphaValue = rawwaveWindowState.alphaValue;
inline float& delta = rawwaveWindowState.alphaDelta;
inline int& ShowWindowRawwave = rawwaveWindowState.shown;
inline int& OpenRawwave = rawwaveWindowState.openCount;
inline QRectF& boundsRawwave = rawwaveWindowState.bounds;
inline int& windowColorRawNOX = rawwaveWindowState.suppressQueued;
inline int& windowColorRawChangedX = rawwaveWindowState.colourChanged;
inline int& setDemoNumberRawCCount = rawwaveWindowState.colourCount;
inline int& windowColorRawDidChanged = rawwaveWindowState.colourDidChange;
inline RGBAColor& bkColorA = rawwaveWindowState.handedColour;
inline int& needUpdateColorA = rawwaveWindowState.handedColourPending;
inline int& setDemoNumberRawCA = rawwaveWindowState.viewMode.value;
inline int& setDemoNumberRawACount = rawwaveWindowState.viewMode.count;
inline int& setDemoNumberRawADidChanged = rawwaveWindowState.viewMode.didChange;
inline int& setDemoNumberRawCB = rawwaveWindowState.viewEntry.value;
inline int& setDemoNumberRawBCount = rawwaveWindowState.viewEntry.count;
inline int& setDemoNumberRawCBDidChanged = rawwaveWindowState.viewEntry.didChange;
inline int& selectCHXX = rawwaveWindowState.lastViewMode;
inline int& selectBCHXX = rawwaveWindowState.lastViewEntry;
inline int& viewAX = rawwaveWindowState.fullView;
inline float& setWRawGain = rawwaveWindowState.heightGain;
inline int& firstTimwRawwave = rawwaveWindowState.firstLoadDone;

// Frame names by open count, written when a raw-wave window closes.
inline QString FrameUsingName[12];

// Inputs of the raw-data patch; stored, read by nothing.
inline int BrainCHrawX = 0;
inline int XpositionrawX = 0;
inline int YpositionrawX = 0;
inline int WsizerawX = 0;
inline int HsizerawX = 0;

}  // namespace nupo
