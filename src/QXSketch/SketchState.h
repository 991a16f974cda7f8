#pragma once

// Process-wide state of the brain-note drawing editor and the brain-switch mixer, and the names of the
// notifications they post.

#include <QString>

#include <array>
#include <atomic>

namespace nupo {

// 1 until the first drawing window controller of a run has started (it then clears it).
inline std::atomic<int> firstTimeRunAplication{1};

// The drawing tools of the tool palette.
enum class DrawingTool { Select, Rectangle, RawwaveView, BarGraphView, WaterfallView, SpectrumView3D };
// The tool the canvases draw with (main thread).
inline DrawingTool currentDrawingTool = DrawingTool::Select;

// Source selection of a drawing window: channels 1..4, then the pairs 1&2, 3&4, 1&3, 2&4, 1&4, 2&3 (the
// sources 0..9). Posted on the main thread when a drawing window's source selection changes.
inline const std::array<QString, 10> didchangeSelectNotifications = {
    QStringLiteral("didchangeSelectCH1DovozOzuz"),
    QStringLiteral("didchangeSelectCH2DovozOzuz"),
    QStringLiteral("didchangeSelectCH3DovozOzuz"),
    QStringLiteral("didchangeSelectCH4DovozOzuz"),
    QStringLiteral("didchangeSelectCoherenceDovozOzuz"),
    QStringLiteral("didchangeSelectCoherence34DovozOzuz"),
    QStringLiteral("didchangeSelectCoherence13DovozOzuz"),
    QStringLiteral("didchangeSelectCoherence24DovozOzuz"),
    QStringLiteral("didchangeSelectCoherence14DovozOzuz"),
    QStringLiteral("didchangeSelectCoherence23DovozOzuz")};
inline const QString& didchangeSelectCH1DovozOzuz = didchangeSelectNotifications[0];
inline const QString& didchangeSelectCH2DovozOzuz = didchangeSelectNotifications[1];
inline const QString& didchangeSelectCH3DovozOzuz = didchangeSelectNotifications[2];
inline const QString& didchangeSelectCH4DovozOzuz = didchangeSelectNotifications[3];
inline const QString& didchangeSelectCoherenceDovozOzuz = didchangeSelectNotifications[4];
inline const QString& didchangeSelectCoherence34DovozOzuz = didchangeSelectNotifications[5];
inline const QString& didchangeSelectCoherence13DovozOzuz = didchangeSelectNotifications[6];
inline const QString& didchangeSelectCoherence24DovozOzuz = didchangeSelectNotifications[7];
inline const QString& didchangeSelectCoherence14DovozOzuz = didchangeSelectNotifications[8];
inline const QString& didchangeSelectCoherence23DovozOzuz = didchangeSelectNotifications[9];

// Posts the notification of source 0..9 on the calling (main) thread; false, logged once, for another.
bool postSourceSelection(int source);

// Names of the sources 0..9 as menus show them.
QString sourceName(int source);

// The brain-switch level of window 1..8 of source 0..9 as the mixer shows it: the strongest hit record's
// count of that window (0 out of range).
float brainSwitchLevel(int source, int window);

}  // namespace nupo
