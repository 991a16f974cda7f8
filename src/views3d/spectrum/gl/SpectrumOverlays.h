#pragma once

// The text overlays of the 3D band-spectrum view: one string texture per slot, filled by the building
// operations and laid over the scene by the overlay pass in pixel coordinates. They belong to the view's
// frames: built and drawn on the frame's thread, with the view's GL context current.

#include "views3d/spectrum/SpectrumCamera.h"
#include "views3d/spectrum/SpectrumOverlayTexts.h"
#include "views3d/textures/gl/StringTexture.h"

#include <QPointF>
#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace nupo {

// What the overlay pass reads of the view (a frame's copy): its selection, the brain-switch table switch
// and the scene camera.
struct OverlaySelection {
    int oneBrainwave = 0;
    int towBrainwave = 0;
    int shapeChange = 0;
    int setshowBSinfoX = 0;
    SceneCamera camera;
};

class SpectrumOverlays {
public:
    using Slot = std::unique_ptr<StringTexture>;

    SpectrumOverlays();

    // Building operations (each fills its slots by the fill rule: replace the text of a slot's texture,
    // or make one with white text on a grey box with a light grey border).
    void updateBrainString();
    void updateBSString(int source);
    void updateBSCString(int source);
    // From the frame's copy of the source's brain-switch record (null: empty lines).
    void updateBSNString(const float* record, int shapeChange);
    void updatePeak0String(int channel);
    void updatePeak1String(int channel);
    void updatePeak3String();
    void updatePeak4String();
    void updateInfoString(double width, double height);
    void updateCameraString(const CameraRecord& camera);
    void createHelpString();
    void createMessageString();

    // The overlay pass over a W x H view for the view's selection and camera.
    void drawInfo(const OverlaySelection& view, float W, float H);

    // Forgets every texture (a new GL context); the texts are rebuilt on their next fill.
    void reset();

    // Slots, for tests and the drawing object.
    Slot& label(LabelSlot slot) { return labels[static_cast<std::size_t>(slot)]; }
    std::array<Slot, labelSlotCount> labels;
    std::array<Slot, 4> peak;
    std::array<Slot, 10> BS;
    std::array<Slot, 10> BSN;
    Slot infoStringTex, camStringTex, helpStringTex, msgStringTex;

    // Where each drawn text went in the last pass (top-left corner in pixels, y down), for tests.
    struct Placement {
        const StringTexture* texture;
        QPointF at;
    };
    std::vector<Placement> lastPass;

private:
    void fill(Slot& slot, const QString& text);
    void draw(Slot& slot, float x, float y);
    void drawBandColumn(float W, float firstY);
    void drawBrainSwitchTable(float W, float H);

    TextAttributes stanStringAttrib;
};

// The last GL error, if any, reported as "Error: <text> (at time: <s> secs)." on the log; returns the code.
unsigned glReportError();
void reportError(const char* message);

}  // namespace nupo
