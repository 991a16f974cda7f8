#pragma once

// A window's frame as documents and the preference file keep it. Under `<bounds>` goes the frame as the
// window stood at the save (a maximised window's maximised frame), beside it under `<bounds>Normal` the
// frame it is restored to, and under `<bounds>Maximised` whether it was maximised. Frames are measured
// from the bottom of the primary screen, whose size at the save goes under `boundsScreen`: read on a
// screen of another height, a frame keeps its place measured from the screen's top-left. A file without
// these keys reads as before: the window not maximised, its frame stored on a screen of this size.

#include "document/DocumentSection.h"

#include <QRectF>
#include <QSizeF>
#include <QStringList>

#include <optional>

namespace nupo {

struct PlotWindowState;

struct StagedWindowFrame {
    std::optional<QRectF> bounds, normal;
    std::optional<int> maximised;
};

// The keys a frame stored under `boundsKey` takes (the frame, its normal frame, its maximised flag).
QStringList storedFrameKeys(const QString& boundsKey);
inline const QString storedScreenKey = QStringLiteral("boundsScreen");

void writeStoredFrame(PlistDictionary& section, const QString& boundsKey, const PlotWindowState& state);
// Fails the input on a frame that is not four numbers.
StagedWindowFrame stageStoredFrame(SectionInput& input, const QString& boundsKey);
// Gives the window state the frame (a frame of no size changes nothing): its bounds, and the frame and
// maximised state the family's next window opens with.
void applyStoredFrame(const StagedWindowFrame& staged, const std::optional<QSizeF>& savedScreen,
                      PlotWindowState& state);
// The window state's frame forgotten: its next window opens as a new one does.
void dropStoredFrame(PlotWindowState& state);

void writeStoredScreen(PlistDictionary& section);
std::optional<QSizeF> stageStoredScreen(SectionInput& input);
// The size of the primary screen, whose bottom edge stored frames are measured from (none without one).
std::optional<QSizeF> screenOfStoredFrames();
// A frame stored on a screen of `savedScreen` at the same place measured from this screen's top-left.
QRectF storedFrameOnThisScreen(const QRectF& stored, const std::optional<QSizeF>& savedScreen);

}  // namespace nupo
