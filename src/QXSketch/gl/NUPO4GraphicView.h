#pragma once

#include "QXSketch/gl/NUPO4Drawing.h"
#include "platform/viewhost/gl/QuartzView.h"

#include <optional>

namespace nupo {

// The brain-note drawing canvas: the brain graph of its source (the bar-graph view's canvas graph) under
// the drawing's graphics, edited with the mouse through the palette's current tool. Drawing coordinates
// have their origin at the top left and y downward.
class NUPO4GraphicView : public QuartzView {
public:
    // The size of a drawing: the brain graph and its frames fit in it.
    static constexpr double drawingWidth = 1000.0;
    static constexpr double drawingHeight = 600.0;

    // Builds the colour tables of the plot and bar-graph views (style 2) the brain graph uses.
    explicit NUPO4GraphicView(NUPO4Drawing* drawing = nullptr);

    static NUPO4GraphicView& sharedNUPO4GraphicView();

    NUPO4Drawing* drawing() const { return drawing_; }
    void setDrawing(NUPO4Drawing* drawing);

    // Source of the brain graph, 1..10 (0: none); out of range changes nothing, logged once.
    int source() const { return source_; }
    bool setSource(int source);
    bool showsHistory() const { return showHistory; }
    void setShowsHistory(bool show);

    // Draws the brain graph and the graphics. The selected rectangle k (1..8) stands for brain-switch
    // window 8 − k (0-based) of the source: the 3D scene highlights it, and no window once none is.
    void drawRect(GraphicsContext& context, const QRectF& rect) override;
    void mouseDown(const MouseEvent& event) override;
    void mouseDragged(const MouseEvent& event) override;
    void mouseUp(const MouseEvent& event) override;
    void keyDown(const KeyEvent& event) override;

    // The drawing point of a view point (unflipped), and the grip that resizes a selected graphic.
    QPointF drawingPoint(const QPointF& viewPoint) const;
    static QRectF resizeGrip(const QRectF& bounds);

private:
    enum class Drag { None, Create, Move, Resize };

    NUPO4Drawing* drawing_ = nullptr;
    int source_ = 1;
    bool showHistory = true;
    Drag drag = Drag::None;
    QPointF dragStart;
    QRectF startBounds;
    std::optional<QRectF> rubberBand;
    // The brain-switch window the 3D scene was last asked to highlight, as (window 0..7, source 0..9),
    // or (−1, 10) for none.
    std::pair<int, int> flashed{-1, 10};
    void updateFlash();
};

}  // namespace nupo
