#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace nupo {
namespace {

std::unique_ptr<QWidget> windowTitled(const QString& title, const QRect& geometry)
{
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(title);
    window->setGeometry(geometry);
    return window;
}

bool inside(const QRect& area, const QWidget& window)
{
    return area.contains(QRect(window.pos(), window.size()));
}

TEST(WindowPlacement, WindowsOffScreenComeBackAndLargeOnesShrinkToTheScreen)
{
    const QRect area = WindowPlacement::availableArea(nullptr);
    ASSERT_FALSE(area.isEmpty());
    // Below and right of the screen, partly above and left of it, and larger than it.
    auto below = windowTitled("below", QRect(area.right() - 50, area.bottom() - 20, 300, 200));
    WindowPlacement::keepOnScreen(below.get());
    EXPECT_TRUE(inside(area, *below));
    EXPECT_EQ(below->size(), QSize(300, 200));
    EXPECT_EQ(below->pos(), QPoint(area.right() + 1 - 300, area.bottom() + 1 - 200));

    auto above = windowTitled("above", QRect(area.left() - 40, area.top() - 500, 300, 200));
    WindowPlacement::keepOnScreen(above.get());
    EXPECT_EQ(above->pos(), area.topLeft());

    auto large = windowTitled(
        "large", QRect(area.left() + 10, area.top() + 10, area.width() * 2, area.height() + 300));
    WindowPlacement::keepOnScreen(large.get());
    EXPECT_TRUE(inside(area, *large));
    EXPECT_EQ(large->size(), area.size());

    // A frame laid out for a larger screen is kept on this one too.
    auto framed = windowTitled("framed", QRect(0, 0, 100, 100));
    WindowHandle(framed.get())
        .setFrame(WindowHandle::fromQt(QRectF(area.right() - 10, area.top() + 20, 400, 300)));
    EXPECT_TRUE(inside(area, *framed));
    EXPECT_EQ(framed->size(), QSize(400, 300));
}

TEST(WindowPlacement, ASecondWindowOfATitlePutOnTheFirstIsCascadedAtItsFirstShow)
{
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    const QRect spot(area.left() + 40, area.top() + 40, 200, 150);
    // Frames their callers chose, so that only the cascading moves them.
    const auto chosenAt = [&spot](const QString& title) {
        auto window = windowTitled(title, spot);
        WindowPlacement::keepChosenFrame(window.get());
        window->show();
        return window;
    };
    auto first = chosenAt("Bargraph Window");
    auto second = chosenAt("Bargraph Window");
    auto third = chosenAt("Bargraph Window");
    const QPoint step(WindowPlacement::cascadeStep, WindowPlacement::cascadeStep);
    EXPECT_EQ(second->pos(), first->pos() + step);
    EXPECT_EQ(third->pos(), first->pos() + 2 * step);
    // Another title at the same spot stays where it was put.
    auto other = chosenAt("Rawwave Window");
    EXPECT_EQ(other->pos(), first->pos());
    // The spot a window was put at counts, also while the window manager still frames it elsewhere.
    first->move(first->pos() - QPoint(1, 20));
    auto fourth = chosenAt("Bargraph Window");
    EXPECT_EQ(fourth->pos(), second->pos() + 2 * step);
}

TEST(WindowPlacement, EveryWindowIsPlacedOnScreenAndHookedAtItsFirstShowOnly)
{
    WindowPlacement::watchTopLevelWindows();
    int hooked = 0;
    WindowPlacement::addFirstShowHook([&hooked](QWidget* window) {
        if (window->windowTitle() == "hooked")
            ++hooked;
    });
    const QRect area = WindowPlacement::availableArea(nullptr);
    auto window = windowTitled("hooked", QRect(area.right() + 100, area.top() + 10, 200, 100));
    window->show();
    EXPECT_TRUE(inside(area, *window));
    EXPECT_EQ(hooked, 1);
    window->hide();
    window->show();
    EXPECT_EQ(hooked, 1);
    // Dialogs are kept on screen but get no hooks; widgets inside windows are left alone.
    QWidget dialog(nullptr, Qt::Dialog);
    dialog.setWindowTitle("hooked");
    dialog.setGeometry(area.right() + 100, area.top(), 100, 100);
    dialog.show();
    EXPECT_TRUE(inside(area, dialog));
    EXPECT_EQ(hooked, 1);
}

TEST(WindowPlacement, AWindowFramedAfterItsFirstShowIsPutBackOnItsSpotOnceAndKeptOnScreen)
{
    // A window shown before the window manager framed it is put back on its spot when the frame becomes
    // known. Its spot may lie partly off the screen once the frame is known; the window then comes on
    // screen instead of moving between its spot and the screen, each move answering the one before.
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    auto window = windowTitled("framed late", QRect(area.left() + 20, area.top() + 20, 300, 200));
    window->show();
    ASSERT_FALSE(WindowPlacement::decorationOf(window.get()).isNull()) << "the platform draws no frame";
    const QPoint spot(area.left() + 20, area.bottom() - 100);
    window->setProperty("nupoAwaitingFrame", true);
    window->setProperty("nupoPlacedAt", spot);
    window->move(area.left() + 30, area.top() + 30);
    EXPECT_TRUE(area.contains(WindowPlacement::frameOf(window.get())));
    EXPECT_EQ(window->pos().x(), spot.x());
}

TEST(WindowPlacement, WindowsOpenClearOfAFloatingPaletteAndNoneGrowsPastTheScreen)
{
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    auto palette = windowTitled("Tools", QRect(area.left(), area.top(), 200, 120));
    palette->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    WindowPlacement::keepClear(palette.get());
    palette->show();
    const QRect paletteFrame = WindowPlacement::frameOf(palette.get());

    // Opening under the palette, a window moves beside it, keeping its size.
    auto under = windowTitled("under", QRect(area.left() + 20, area.top() + 20, 300, 200));
    under->show();
    EXPECT_FALSE(WindowPlacement::frameOf(under.get()).intersects(paletteFrame));
    EXPECT_EQ(under->size(), QSize(300, 200));
    EXPECT_EQ(WindowPlacement::frameOf(under.get()).top(), area.top());
    // A window clear of it stays where it was put.
    const QPoint elsewhere(area.left() + 400, area.top() + 300);
    auto clear = windowTitled("clear", QRect(elsewhere, QSize(200, 100)));
    clear->show();
    EXPECT_EQ(clear->geometry().topLeft(), elsewhere);

    // Where no spot holds the whole window, it takes the largest free spot, shrunk to fit.
    const QList<QRect> band{QRect(area.left(), area.top(), area.width(), area.height() / 2)};
    auto tall = windowTitled("tall", QRect(area.left(), area.top(), 200, area.height() - 40));
    ASSERT_TRUE(WindowPlacement::moveClearOf(tall.get(), band));
    const QRect placed = WindowPlacement::frameOf(tall.get());
    EXPECT_FALSE(placed.intersects(band.front()));
    EXPECT_TRUE(area.contains(placed));
    EXPECT_LT(tall->height(), area.height() - 40);
    // A window whose least size fits nowhere stays as it was.
    auto wide = windowTitled("wide", QRect(area.left(), area.top(), 300, 100));
    wide->setMinimumSize(300, area.height());
    const QList<QRect> everything{area};
    EXPECT_FALSE(WindowPlacement::moveClearOf(wide.get(), everything));
    EXPECT_EQ(wide->pos(), area.topLeft());

    // Shown windows can be made no larger than the screen.
    EXPECT_LE(under->maximumWidth(), area.width());
    EXPECT_LE(under->maximumHeight(), area.height());
    under->resize(area.width() * 2, area.height() * 2);
    EXPECT_LE(under->width(), area.width());
    EXPECT_LE(under->height(), area.height());
}

TEST(WindowPlacement, AWindowSmallerThanItsLayoutWouldLikeStillMovesClear)
{
    // A nib may make its window a little narrower than its layout's least size: clear of a palette it
    // keeps that size rather than staying under the palette for want of room for the larger one.
    const QRect area(0, 0, 1920, 1200);
    const QList<QRect> palette{QRect(0, 0, 282, 179)};
    const QRect window(260, 110, 442, 545);
    const std::optional<QRect> spot = WindowPlacement::clearSpot(window, QSize(448, 445), area, palette);
    ASSERT_TRUE(spot.has_value());
    EXPECT_EQ(spot->size(), window.size());
    EXPECT_FALSE(spot->intersects(palette.front()));
    // Clear of everything already, a frame stays as it is; with no room even for the least size, there
    // is no spot.
    EXPECT_EQ(WindowPlacement::clearSpot(QRect(400, 300, 200, 100), QSize(50, 50), area, palette),
              QRect(400, 300, 200, 100));
    EXPECT_FALSE(WindowPlacement::clearSpot(window, QSize(448, 445), area, {area}).has_value());
}

TEST(WindowPlacement, AWindowPartlyOffScreenMovesInOnlyAlongThatAxisByTheLeastAmount)
{
    // Partly below the screen: it moves up, and only as far as it must.
    const QRect area = WindowPlacement::availableArea(nullptr);
    ASSERT_FALSE(area.isEmpty());
    auto window = windowTitled("Movie Window", QRect(0, 0, 300, 200));
    const QRect frame = WindowHandle::toQt(WindowHandle(window.get()).frame()).toRect();
    const QSize extra = frame.size() - window->size();
    const int x = area.left() + area.width() / 4;
    WindowHandle(window.get())
        .setFrame(WindowHandle::fromQt(QRectF(x, area.bottom() - 100, frame.width(), frame.height())));
    const QRect placed = WindowHandle::toQt(WindowHandle(window.get()).frame()).toRect();
    EXPECT_EQ(placed.left(), x);
    EXPECT_EQ(placed.bottom(), area.bottom());
    EXPECT_EQ(placed.size(), window->size() + extra);

    // On a 1024 x 768 screen under the Control Panel and beside the tool palette: moved up until it meets
    // the panel, it keeps its x and gives up the few rows it lacks, rather than jumping to the left edge.
    const QRect screen(0, 0, 1024, 768);
    const QList<QRect> keptClear{QRect(0, 0, 283, 180), QRect(431, 0, 593, 194)};
    const QRect movedUp(299, 768 - 577, 655, 577);
    const std::optional<QRect> spot = WindowPlacement::clearSpot(movedUp, QSize(400, 300), screen, keptClear);
    ASSERT_TRUE(spot.has_value());
    EXPECT_EQ(*spot, QRect(299, 194, 655, 574));
}

TEST(WindowPlacement, AStoredFrameOpensClearOfTheWindowsKeptClear)
{
    // A frame stored on a larger screen, or over the Control Panel, opens on the screen and beside the
    // windows kept clear, not over their controls.
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    auto panel = windowTitled("Control Panel", QRect(area.right() + 1 - 400, area.top(), 400, 150));
    WindowPlacement::keepClear(panel.get());
    panel->show();
    const QRect panelFrame = WindowPlacement::frameOf(panel.get());

    auto movie = windowTitled("Movie Window", QRect(area.left(), area.top() + 300, 300, 200));
    movie->show();
    WindowHandle handle(movie.get());
    const QRectF stored = WindowHandle::fromQt(QRectF(area.right() - 350, area.top() + 20, 320, 220));
    handle.setFrame(stored);
    const QRect placed = WindowPlacement::frameOf(movie.get());
    EXPECT_FALSE(placed.intersects(panelFrame));
    EXPECT_TRUE(area.contains(placed));
    EXPECT_EQ(placed.size(), QSize(320, 220));
    // Off the screen altogether, it comes back on it, keeping its size where it fits.
    handle.setFrame(WindowHandle::fromQt(QRectF(area.right() + 500, area.bottom() + 500, 320, 220)));
    EXPECT_TRUE(area.contains(WindowPlacement::frameOf(movie.get())));
    EXPECT_FALSE(WindowPlacement::frameOf(movie.get()).intersects(panelFrame));
}

TEST(WindowPlacement, ANewWindowOpensClearOfTheShownOnesWhereTheScreenHasRoom)
{
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    ASSERT_GE(area.width(), 800);
    const QRect nibSpot(area.left() + 100, area.top() + 100, 300, 200);
    auto first = windowTitled("Rawwave Window", nibSpot);
    first->show();
    const QRect firstFrame = WindowPlacement::frameOf(first.get());

    // Opening over it, the next window opens beside it at its own size.
    auto second = windowTitled("Waterfall Window", nibSpot.translated(50, 50));
    second->show();
    const QRect secondFrame = WindowPlacement::frameOf(second.get());
    EXPECT_FALSE(secondFrame.intersects(firstFrame));
    EXPECT_EQ(second->size(), QSize(300, 200));
    EXPECT_TRUE(area.contains(secondFrame));

    // A window clear of the others stays where its nib put it.
    const QRect free(area.right() - 320, area.bottom() - 240, 200, 100);
    auto third = windowTitled("Bargraph Window", free);
    third->show();
    EXPECT_EQ(third->geometry(), free);

    // A frame chosen by its caller (a stored frame) is kept, even over another window.
    auto stored = windowTitled("3D Window", QRect(firstFrame.topLeft() + QPoint(30, 60), QSize(250, 150)));
    WindowPlacement::keepChosenFrame(stored.get());
    const QPoint storedAt = stored->geometry().topLeft();
    stored->show();
    EXPECT_TRUE(WindowPlacement::frameOf(stored.get()).intersects(firstFrame));
    EXPECT_EQ(stored->geometry().topLeft(), storedAt);
}

TEST(WindowPlacement, AWindowOpeningOverAnotherLeavesItsControlsUncovered)
{
    // A window filling the screen, its controls in rows above and below its plot: a window opened
    // over its top row moves onto the plot, where it hides no control.
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    ASSERT_GE(area.height(), 600);

    auto plot = windowTitled("Waterfall Window", QRect());
    auto* layout = new QVBoxLayout(plot.get());
    auto* top = new QHBoxLayout;
    for (const char* title : {"Source", "Speed", "Window"})
        top->addWidget(new QPushButton(title));
    layout->addLayout(top);
    auto* view = new QWidget;
    layout->addWidget(view, 1);
    auto* slider = new QSlider(Qt::Horizontal);
    layout->addWidget(slider);
    layout->addWidget(new QLabel("Time 00:00:00"));
    const QMargins decoration = WindowPlacement::decorationOf(plot.get());
    plot->setGeometry(QRect(area.topLeft() + QPoint(decoration.left(), decoration.top()),
                            area.size().shrunkBy(decoration)));
    plot->show();
    const QList<QRect> controls = WindowPlacement::controlsOf(plot.get());
    ASSERT_GE(controls.size(), 6);  // title bar, three buttons, slider, label
    const QRect viewOnScreen(view->mapToGlobal(QPoint(0, 0)), view->size());
    for (const QRect& control : controls)
        ASSERT_FALSE(control.intersects(viewOnScreen));

    auto mixer = windowTitled("Brain-Switch Mixer", QRect(plot->geometry().topLeft(), QSize(300, 200)));
    mixer->show();
    const QRect mixerFrame = WindowPlacement::frameOf(mixer.get());
    for (const QRect& control : controls)
        EXPECT_FALSE(mixerFrame.intersects(control)) << control.x() << "," << control.y();
    EXPECT_TRUE(area.contains(mixerFrame));
    EXPECT_EQ(mixer->size(), QSize(300, 200));
}

TEST(WindowPlacement, AFrameTheUserChoseOnTheScreenComesBackAsItWasOverAWindowKeptClear)
{
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    auto panel = windowTitled("Control Panel", QRect(area.left(), area.top(), 400, 150));
    WindowPlacement::keepClear(panel.get());
    panel->show();
    // A drawing window stored from a document, over the Control Panel's corner: it reopens where it was.
    auto drawing = windowTitled("Drawing", QRect(area.left() + 300, area.top() + 300, 300, 200));
    WindowPlacement::keepChosenFrame(drawing.get());
    WindowHandle handle(drawing.get());
    const QRect stored(area.left() + 299, area.top() + 100, 400, 300);
    handle.setFrame(WindowHandle::fromQt(QRectF(stored)));
    drawing->show();
    EXPECT_EQ(WindowPlacement::frameOf(drawing.get()), stored);
    EXPECT_EQ(WindowHandle::toQt(handle.frame()).toRect(), stored) << "and is saved back so";
    // Partly off the screen, it comes onto it and clear of the Control Panel.
    auto movie = windowTitled("Movie Window", QRect(area.left() + 300, area.top() + 300, 300, 200));
    WindowPlacement::keepChosenFrame(movie.get());
    WindowHandle(movie.get())
        .setFrame(WindowHandle::fromQt(QRectF(area.left() + 100, area.top() - 100, 300, 200)));
    movie->show();
    EXPECT_TRUE(area.contains(WindowPlacement::frameOf(movie.get())));
    EXPECT_FALSE(WindowPlacement::frameOf(movie.get()).intersects(WindowPlacement::frameOf(panel.get())));
}

TEST(WindowPlacement, ANewWindowTakesTheLargestFreeAreaBeforeItCoversAnother)
{
    WindowPlacement::watchTopLevelWindows();
    const QRect area = WindowPlacement::availableArea(nullptr);
    ASSERT_GE(area.width(), 600);
    ASSERT_GE(area.height(), 500);
    // A plot window over the left two thirds of the screen; the right third free.
    auto plot = windowTitled("Waterfall Window", QRect());
    plot->setGeometry(QRect(area.topLeft(), QSize(area.width() * 2 / 3, area.height())));
    plot->show();
    const QRect plotFrame = WindowPlacement::frameOf(plot.get());
    // A window a little wider than the free third opens there, narrowed, rather than over the plot.
    const int free = area.right() - plotFrame.right();
    auto next = windowTitled("WaterfallBS Window", QRect(area.left() + 50, area.top() + 50, free + 40, 400));
    next->setMinimumSize(100, 100);
    next->show();
    const QRect placed = WindowPlacement::frameOf(next.get());
    EXPECT_FALSE(placed.intersects(plotFrame));
    EXPECT_TRUE(area.contains(placed));
    EXPECT_EQ(next->height(), 400);
    // One that the free area would hold less than half of covers the plot instead, at its size.
    auto large = windowTitled("3D Window", QRect(area.left() + 50, area.top() + 50, free * 2 + 40, 400));
    large->show();
    EXPECT_EQ(large->size(), QSize(free * 2 + 40, 400));
}

TEST(WindowPlacement, AWindowGrowingUnderAPaletteMovesAsLittleAsItCan)
{
    // Preferences between the palette and the Control Panel grows wider than the gap: it moves straight
    // down below them, not to the far corner.
    const QRect area(0, 0, 1920, 1200);
    const QList<QRect> floating{QRect(0, 0, 307, 158), QRect(1316, 0, 604, 200)};
    const QRect grown(306 + 1, 20, 1100, 700);
    const auto spot =
        WindowPlacement::clearSpot(grown, QSize(400, 300), area, floating, WindowPlacement::Prefer::Nearest);
    ASSERT_TRUE(spot.has_value());
    EXPECT_EQ(*spot, QRect(307, 200, 1100, 700));
}

}  // namespace
}  // namespace nupo
