#pragma once

#include "document/DocumentSection.h"

#include "platform/colour/RGBAColor.h"

#include <QRectF>

#include <optional>
#include <vector>

namespace nupo {

class NUPO4Drawing;
enum class GraphicKind;

// The brain-note drawing of the document: whether a drawing window was open, the graphics of the front
// drawing in order (kind, bounds, fill colour, brain channel, view) and the selection. Only documents
// carry it. Reading restores the graphics as they were saved, without handing their colours and
// selections on (the other sections restore the window colour and the views), and the drawing's undo
// stack starts clean. An open drawing takes the graphics at once; otherwise the document's window
// set-up opens a drawing window when the document had one and hands them over with restorePending().
class DrawingSection : public DocumentSection {
public:
    static constexpr int maxGraphics = 1000;
    static constexpr double maxCoordinate = 100000.0;

    // The drawing window's frame (DrawingWindowFrameR) and whether it is open: where a window stands and
    // whether it is shown are no change of the document.
    static inline const QString frameKey = QStringLiteral("WindowFrame");
    static inline const QString openKey = QStringLiteral("OpenDrawing");
    // Whether the brain-switch mixer window was open: the document's window set-up opens it again.
    static inline const QString mixerKey = QStringLiteral("OpenMixer");

    QString key() const override { return QStringLiteral("Drawing"); }
    bool inPreferenceFile() const override { return false; }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    // A document without the section has no drawing: an open drawing is emptied, and none opens.
    bool stageDefaults() override;
    void apply(const DocumentReadContext& context) override;

    // Whether the last document read had a drawing window open and none is open to take its graphics.
    bool drawingToOpen() const;
    // Hands graphics still waiting to the front drawing; false when none wait or there is no drawing.
    bool restorePending();
    // Whether the last document read had the mixer window open and none is open (asked once).
    bool takeMixerToOpen();

private:
    struct GraphicRecord {
        GraphicKind kind{};
        QRectF bounds;
        RGBAColor fill;
        int channel = 1;
        int view = 0;
    };
    struct Contents {
        bool open = false;
        bool mixer = false;
        std::vector<GraphicRecord> graphics;
        int selected = -1;
        std::optional<QRectF> frame;
    };
    static std::optional<GraphicRecord> stageGraphic(SectionInput& item);
    void restoreInto(NUPO4Drawing& drawing, const Contents& contents);

    Contents staged;
    std::optional<Contents> pending;
    bool mixerToOpen = false;
};

}  // namespace nupo
