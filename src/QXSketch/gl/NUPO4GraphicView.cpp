#include "QXSketch/gl/NUPO4GraphicView.h"

#include "QXSketch/gl/FlippedGraphicsContext.h"
#include "QXSketch/gl/SketchState.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "plots/bargraph/gl/BarColourTables.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/frame/gl/PlotColourTables.h"
#include "shared/Utilities.h"
#include "views3d/scene/gl/QX3DSpectrumScene.h"

#include <cmath>

namespace nupo {

namespace {

constexpr double gripSize = 8.0;
constexpr double smallestNewGraphic = 3.0;

std::unique_ptr<NUPO4Graphic> newGraphic(DrawingTool tool, const QRectF& bounds)
{
    switch (tool) {
        case DrawingTool::Rectangle:
            return NUPO4Graphic::make(GraphicKind::Rectangle, bounds);
        case DrawingTool::RawwaveView:
            return NUPO4Graphic::make(GraphicKind::RawwaveView, bounds);
        case DrawingTool::BarGraphView:
            return NUPO4Graphic::make(GraphicKind::BarGraphView, bounds);
        case DrawingTool::WaterfallView:
            return NUPO4Graphic::make(GraphicKind::WaterfallView, bounds);
        case DrawingTool::SpectrumView3D:
            return NUPO4Graphic::make(GraphicKind::SpectrumView3D, bounds);
        case DrawingTool::Select:
            break;
    }
    return nullptr;
}

}  // namespace

NUPO4GraphicView::NUPO4GraphicView(NUPO4Drawing* drawing)
    : QuartzView(QRectF(0, 0, drawingWidth, drawingHeight)), drawing_(drawing)
{
    resetColor(2);
    resetColor2DBar(2);
    resetBColor2DBar(2);
}

NUPO4GraphicView& NUPO4GraphicView::sharedNUPO4GraphicView()
{
    static NUPO4GraphicView* instance = new NUPO4GraphicView;  // lives to process end
    return *instance;
}

void NUPO4GraphicView::setDrawing(NUPO4Drawing* drawing)
{
    drawing_ = drawing;
    setNeedsDisplay(true);
}

bool NUPO4GraphicView::setSource(int source)
{
    if (source < 0 || source > 10) {
        reportOnce(QStringLiteral("Drawing: canvas source %1 out of range (1..10); ignored.").arg(source));
        return false;
    }
    source_ = source;
    setNeedsDisplay(true);
    return true;
}

void NUPO4GraphicView::setShowsHistory(bool show)
{
    showHistory = show;
    setNeedsDisplay(true);
}

QPointF NUPO4GraphicView::drawingPoint(const QPointF& viewPoint) const
{
    return {viewPoint.x(), bounds().height() - viewPoint.y()};
}

QRectF NUPO4GraphicView::resizeGrip(const QRectF& b)
{
    return {b.right() - gripSize / 2, b.bottom() - gripSize / 2, gripSize, gripSize};
}

void NUPO4GraphicView::drawRect(GraphicsContext& context, const QRectF&)
{
    FlippedGraphicsContext canvas(context, bounds().height());
    canvas.setRGBFillColor(1, 1, 1, 1);
    canvas.fillRect(bounds());

    // The brain graph of the source: bars and history update, key strip, history.
    if (source_ > 0) {
        QX2DBarGraphView& graph = QX2DBarGraphView::sharedQX2DBarGraphView();
        graph.draw2DBarX(canvas, QRectF(40, 0, 450, 300), 0, 0.7f, 0.5f, source_);
        graph.draw2DBarY(canvas, QRectF(40, 0, 450, 350), 0, 0.7f, 0.5f, source_);
        if (showHistory)
            graph.draw2DBarZ(canvas, QRectF(40, 0, 450, 540), 0, 0.7f, 0.5f, source_);
    }

    if (!drawing_)
        return;
    updateFlash();
    for (int i = 0; i < drawing_->count(); ++i)
        drawing_->graphic(i)->draw(canvas);
    if (const NUPO4Graphic* selected = drawing_->selectedGraphic()) {
        canvas.setRGBStrokeColor(0, 0, 0, 1);
        canvas.setLineWidth(1.0);
        strokeOutline(canvas, selected->bounds().adjusted(-2, -2, 2, 2));
        canvas.setRGBFillColor(0, 0, 0, 1);
        canvas.fillRect(resizeGrip(selected->bounds()));
    }
    if (rubberBand) {
        canvas.setRGBFillColor(0.3, 0.3, 0.9, 0.25);
        canvas.fillRect(*rubberBand);
    }
}

void NUPO4GraphicView::updateFlash()
{
    std::pair<int, int> wanted{-1, 10};
    const NUPO4Graphic* selected = drawing_->selectedGraphic();
    if (selected && selected->kind() == GraphicKind::Rectangle && source_ >= 1 && source_ <= 10) {
        for (int k = 1; k <= 8; ++k)
            if (drawing_->rectangle(k) == selected)
                wanted = {8 - k, source_ - 1};
    }
    if (wanted == flashed)
        return;
    flashed = wanted;
    QX3DSpectrumScene& scene = QX3DSpectrumScene::sharedQX3DSpectrumScene();
    if (wanted.first >= 0)
        scene.setONFlashBSdisplay(wanted.first, wanted.second);
    else
        scene.setOffFlashBSdisplay(8, 10);
}

void NUPO4GraphicView::mouseDown(const MouseEvent& event)
{
    if (!drawing_)
        return;
    dragStart = drawingPoint(event.location);
    drag = Drag::None;
    if (currentDrawingTool != DrawingTool::Select) {
        drag = Drag::Create;
        rubberBand = QRectF(dragStart, dragStart);
        setNeedsDisplay(true);
        return;
    }
    if (const NUPO4Graphic* selected = drawing_->selectedGraphic();
        selected && resizeGrip(selected->bounds()).contains(dragStart)) {
        drag = Drag::Resize;
        startBounds = selected->bounds();
        return;
    }
    const int hit = drawing_->graphicAt(dragStart);
    drawing_->select(hit);
    if (hit >= 0) {
        drag = Drag::Move;
        startBounds = drawing_->graphic(hit)->bounds();
    }
}

void NUPO4GraphicView::mouseDragged(const MouseEvent& event)
{
    if (!drawing_)
        return;
    const QPointF p = drawingPoint(event.location);
    NUPO4Graphic* selected = drawing_->selectedGraphic();
    switch (drag) {
        case Drag::Create:
            rubberBand = QRectF(dragStart, p).normalized();
            break;
        case Drag::Move:
            if (selected)
                selected->setBounds(startBounds.translated(p - dragStart));
            break;
        case Drag::Resize:
            if (selected)
                selected->setBounds(
                    QRectF(startBounds.topLeft(), startBounds.bottomRight() + (p - dragStart)));
            break;
        case Drag::None:
            return;
    }
    setNeedsDisplay(true);
}

void NUPO4GraphicView::mouseUp(const MouseEvent& event)
{
    if (!drawing_)
        return;
    mouseDragged(event);
    const Drag finished = std::exchange(drag, Drag::None);
    if (finished == Drag::Create) {
        const QRectF r = rubberBand.value_or(QRectF());
        rubberBand.reset();
        if (r.width() >= smallestNewGraphic && r.height() >= smallestNewGraphic)
            drawing_->addGraphic(newGraphic(currentDrawingTool, r));
        setNeedsDisplay(true);
        return;
    }
    NUPO4Graphic* selected = drawing_->selectedGraphic();
    if ((finished == Drag::Move || finished == Drag::Resize) && selected) {
        const QRectF moved = selected->bounds();
        selected->setBounds(startBounds);
        if (moved != startBounds)
            drawing_->setGraphicBounds(drawing_->selectedIndex(), moved);
    }
    setNeedsDisplay(true);
}

void NUPO4GraphicView::keyDown(const KeyEvent& event)
{
    if (drawing_ && (event.keyCode == VirtualKey::Delete || event.keyCode == VirtualKey::ForwardDelete))
        drawing_->removeGraphic(drawing_->selectedIndex());
}

}  // namespace nupo
