#pragma once

#include "document/gl/StoredWindowFrame.h"
#include "document/sections/FieldTable.h"

#include <QRectF>

#include <array>
#include <optional>
#include <vector>

namespace nupo {

// The 3D band-spectrum window ("WaterfallBS Window"): open count, frame, display mode and view/alpha
// entry, full view, transparency and front flag, the display-element table `displayModeX`, the
// brain-switch windows `brainSWX` (with their display flags) and the background colour of the shared 3D
// view. After reading, `windowColor3DNOX` makes the window's next tick drop the commands queued before.
class Spectrum3DSection : public DocumentSection {
public:
    Spectrum3DSection();

    QString key() const override { return QStringLiteral("Spectrum3DWindow"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    // A document without the section opens no 3D window and keeps no frame or front flag for one.
    bool stageDefaults() override;
    void apply(const DocumentReadContext& context) override;

    // Windows the last document read had open (0 after a preference file).
    int windowsToOpen() const { return toOpen; }

private:
    ScalarFields scalars;
    std::optional<int> open;
    StagedWindowFrame frame;
    std::optional<QSizeF> screen;  // the screen the frame was stored on
    std::optional<std::vector<std::vector<double>>> elements;
    std::optional<std::vector<std::vector<double>>> brainSwitches;
    std::optional<std::vector<double>> background;
    bool noWindow = false;  // staged by stageDefaults()
    int toOpen = 0;
};

}  // namespace nupo
