#pragma once

// Process-wide state of the 3D band-spectrum view: pending remote commands, the stored clear colour,
// the preset move's frame counter and the measured frame rate, and the links through which the view
// reaches the window controller, the mesh engine and the media browser (installed by those layers).
// Main thread, except where an atomic says otherwise.

#include "platform/colour/RGBAColor.h"

#include <QString>

#include <array>
#include <atomic>
#include <functional>

namespace nupo {

// The brain-note drawing's source selections, in source order 0..9 (channels 1..4, then the pairs 1&2, 3&4,
// 1&3, 2&4, 1&4, 2&3): posted on the main thread when a drawing window's source selection changes; the 3D
// window observes them.
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

// Pending remote commands, applied by the on-screen view's next frame.
inline int setDemoNumberA = 0;
inline int setDemoNumberDidChanged = 0;
inline int setDemoNumber3B = 0;
inline int setDemoNumber3BDidChanged = 0;
// 1 once a view selection has been made (the first one leaves the window's check boxes alone).
inline int setdisplayStateFirstTimeBS = 0;

// The stored clear colour, red, green, blue, alpha, and the counter of its component calls: every
// fourth call builds the colour.
inline float clear_rgbaB[4] = {0.0f, 0.0f, 0.0f, 0.0f};
inline int WinBSColor = 0;

// Frame of a running camera-preset move (0..10) and the smoothed frame rate of the on-screen views.
inline int smozeloopBS = 0;
inline std::atomic<double> FPSXXnewwave{0.0};  // written by the frames, read by the window
inline int tploopsave = 0;
inline double tsaveE = 0.0;

// Row of the display-element table for display mode n: rows 0..11 are their own; the multi-source modes
// 12 and 13 use row 0, the row that holds the flat power views; other modes have none (-1).
inline int displayRowOf(int n)
{
    if (n >= 0 && n <= 11)
        return n;
    return n == 12 || n == 13 ? 0 : -1;
}

// Where the view's operations reach the layers above it. Each is empty until that layer installs it;
// an empty link does nothing.
struct SpectrumViewLinks {
    // The twelve display-element setters of the shared window controller (element 0..11, state).
    std::function<void(int element, int v)> setDisplayElement;
    // The shared window controller's setDemoNumberAto3DBSC: and setDemoNumberBto3DBSC:.
    std::function<void(int n)> demoNumberAtoController;
    std::function<void(int n)> demoNumberBtoController;
    // The shared window controller's colour well (setBackgroundColorWellA:).
    std::function<void(const RGBAColor&)> backgroundColorWell;
    // The mesh engine's setDisplayn and setOther (they need the view's GL context current).
    std::function<void(int mode)> meshDisplayn;
    std::function<void(int n)> meshOther;
    // Opens the media browser ("MainMenuB"; a failure is logged and beeps).
    std::function<void()> openMediaBrowser;
};
SpectrumViewLinks& spectrumViewLinks();

}  // namespace nupo
