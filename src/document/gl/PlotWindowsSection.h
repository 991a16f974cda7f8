#pragma once

#include "document/DocumentSection.h"
#include "document/gl/StoredWindowFrame.h"

#include <QRectF>
#include <QStringList>

#include <array>
#include <atomic>
#include <optional>

namespace nupo {

struct PlotWindowState;

// The raw-wave, bar-graph and waterfall windows: how many are open, the last frame (with the normal
// frame of a maximised window and the screen it was stored on), view mode and
// view/transparency entry, full view, height gain, transparency and front flag. Reading hands the frame
// to the next nib load (`setWframe:`), stores the rest in the window state and notes how many windows the
// document's window set-up opens. A document that starts the application, and the preference file, also
// raise the one-tick suppress flags, so that no window applies a command queued before them.
class PlotWindowsSection : public DocumentSection {
public:
    PlotWindowsSection();

    QString key() const override { return QStringLiteral("PlotWindows"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    // A document without the section opens no plot window, and the windows opened later start as new
    // ones do: no stored frame, the first view, normal view, full opacity, not in front.
    bool stageDefaults() override;
    void apply(const DocumentReadContext& context) override;

    enum Family { Rawwave, Bargraph, Waterfall };
    static constexpr int familyCount = 3;
    // Windows of each family the last document read had open (0 after a preference file).
    int windowsToOpen(Family family) const { return toOpen[family]; }
    // The keys that say which windows are open, where, how transparent and whether in front: saved, but
    // what the windows show is the rest.
    static QStringList placementKeys();

private:
    struct Names {
        PlotWindowState* state;
        std::atomic<int>* front;
        QString open, bounds, viewMode, viewEntry, fullView, gain, alpha, front_;
    };
    struct Staged {
        std::optional<int> open, viewMode, viewEntry, fullView, front;
        std::optional<double> gain, alpha;
        StagedWindowFrame frame;
        bool noFrame = false;  // the stored frame is dropped
    };
    std::array<Names, familyCount> families;
    std::array<Staged, familyCount> staged;
    std::optional<QSizeF> screen;  // the screen the frames were stored on
    std::array<int, familyCount> toOpen{};
};

}  // namespace nupo
