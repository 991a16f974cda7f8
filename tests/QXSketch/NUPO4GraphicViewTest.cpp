#include <gtest/gtest.h>

#include "QXSketch/gl/NUPO4GraphicView.h"
#include "QXSketch/gl/SketchState.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "platform/quartz/gl/PainterGraphicsContext.h"
#include "plots/bargraph/gl/BarColourTables.h"
#include "views3d/scene/gl/SceneState.h"

#include <QImage>
#include <QPainter>

using namespace nupo;

namespace {

struct Canvas : ::testing::Test {
    NUPO4Drawing drawing;
    NUPO4GraphicView view{&drawing};

    QImage render()
    {
        QImage image(int(view.bounds().width()), int(view.bounds().height()), QImage::Format_ARGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        {
            PainterGraphicsContext context(painter, image.height());
            view.drawRect(context, view.bounds());
        }
        return image;
    }
    // A mouse event at a drawing point (origin top left, y downward).
    MouseEvent at(double x, double y) const { return MouseEvent{QPointF(x, view.bounds().height() - y)}; }
    void dragWith(DrawingTool tool, QPointF from, QPointF to)
    {
        currentDrawingTool = tool;
        view.mouseDown(at(from.x(), from.y()));
        view.mouseDragged(at((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
        view.mouseUp(at(to.x(), to.y()));
        currentDrawingTool = DrawingTool::Select;
    }
    void TearDown() override { currentDrawingTool = DrawingTool::Select; }
};

}  // namespace

TEST_F(Canvas, DrawsGraphicsInDrawingCoordinatesOverTheBrainGraph)
{
    view.setSource(0);  // no brain graph: white paper
    drawing.addGraphic(std::make_unique<NUPO4Rectangle>(QRectF(600, 50, 100, 40)));
    drawing.graphic(0)->setFillColor(RGBAColor::fromRGBA(1, 0, 0, 1));
    drawing.select(-1);
    QImage image = render();
    EXPECT_EQ(image.pixelColor(650, 70).rgb(), qRgb(255, 0, 0));       // inside, counted from the top
    EXPECT_EQ(image.pixelColor(650, 530).rgb(), qRgb(255, 255, 255));  // its unflipped twin stays paper
    EXPECT_EQ(image.pixelColor(590, 70).rgb(), qRgb(255, 255, 255));

    // The brain graph's red frames of a channel source, also counted from the top: (6, 72) .. (448, 380) and
    // (447, 72) rightwards.
    view.setSource(1);
    image = render();
    EXPECT_EQ(image.pixelColor(6, 200).rgb(), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixelColor(470, 72).rgb(), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixelColor(470, 600 - 72).rgb(), qRgb(255, 255, 255));
}

TEST_F(Canvas, MouseDrawsMovesAndResizesRectanglesAndEachStepUndoes)
{
    dragWith(DrawingTool::Rectangle, {100, 100}, {180, 160});
    ASSERT_EQ(drawing.count(), 1);
    EXPECT_EQ(drawing.graphic(0)->kind(), GraphicKind::Rectangle);
    EXPECT_EQ(drawing.graphic(0)->bounds(), QRectF(100, 100, 80, 60));
    EXPECT_EQ(drawing.selectedIndex(), 0);

    // A click without a drag draws nothing.
    dragWith(DrawingTool::WaterfallView, {300, 300}, {301, 300});
    EXPECT_EQ(drawing.count(), 1);
    dragWith(DrawingTool::WaterfallView, {300, 300}, {250, 260});
    ASSERT_EQ(drawing.count(), 2);
    EXPECT_EQ(drawing.graphic(1)->kind(), GraphicKind::WaterfallView);
    EXPECT_EQ(drawing.graphic(1)->bounds(), QRectF(250, 260, 50, 40));

    dragWith(DrawingTool::Select, {120, 120}, {150, 100});  // move
    EXPECT_EQ(drawing.selectedIndex(), 0);
    EXPECT_EQ(drawing.graphic(0)->bounds(), QRectF(130, 80, 80, 60));
    dragWith(DrawingTool::Select, {210, 140}, {250, 150});  // the grip at the lower right corner resizes
    EXPECT_EQ(drawing.graphic(0)->bounds(), QRectF(130, 80, 120, 70));
    dragWith(DrawingTool::Select, {900, 500}, {910, 510});  // empty paper: nothing selected
    EXPECT_EQ(drawing.selectedIndex(), -1);
    EXPECT_EQ(drawing.undoStack().count(), 4);

    drawing.undoStack().undo();
    EXPECT_EQ(drawing.graphic(0)->bounds(), QRectF(130, 80, 80, 60));
    drawing.undoStack().undo();
    EXPECT_EQ(drawing.graphic(0)->bounds(), QRectF(100, 100, 80, 60));
    drawing.undoStack().redo();
    drawing.undoStack().redo();
    EXPECT_EQ(drawing.graphic(0)->bounds(), QRectF(130, 80, 120, 70));

    // Delete removes the selected graphic.
    drawing.select(1);
    view.keyDown(KeyEvent{VirtualKey::Delete, 0, {}});
    EXPECT_EQ(drawing.count(), 1);
    drawing.undoStack().undo();
    EXPECT_EQ(drawing.count(), 2);
}

TEST_F(Canvas, CreatingACanvasBuildsTheBrainGraphColours)
{
    difmatFA2DBar[0][100][1] = -1.0f;
    NUPO4GraphicView another;
    // Level 100 at colour position 0: green (255 × 0.00390625) × 2.
    EXPECT_FLOAT_EQ(difmatFA2DBar[0][100][1], 255 * 0.00390625f * 2);
    EXPECT_FALSE(view.setSource(11));
    EXPECT_EQ(view.source(), 1);
}

TEST_F(Canvas, TheSelectedRectangleFlashesItsBrainSwitchInTheThreeDScene)
{
    for (int k = 0; k < 9; ++k)
        drawing.addGraphic(std::make_unique<NUPO4Rectangle>(QRectF(10 + 20 * k, 10, 10, 10)));
    view.setSource(3);
    drawing.select(0);  // rectangle 1 is window 8 of the band panel: 0-based 7
    render();
    EXPECT_EQ(BSCHXX, 7);
    EXPECT_EQ(BrainCHXX, 2);
    EXPECT_EQ(OffFlashBS, 0);
    drawing.select(7);  // rectangle 8: window 0
    render();
    EXPECT_EQ(BSCHXX, 0);
    drawing.select(8);  // rectangle 9 stands for no window
    render();
    EXPECT_EQ(BSCHXX, -1);
    EXPECT_EQ(BrainCHXX, 10);
    EXPECT_EQ(OffFlashBS, 1);
    // Unchanged selections ask nothing more of the scene.
    OffFlashBS = 0;
    render();
    EXPECT_EQ(OffFlashBS, 0);
}
