// A random walk through the program's windows under a window manager (see with_window_manager.sh):
// plot windows, the wave surface and Preferences open and close, drawers open and close, windows are
// maximised, restored, moved and resized at random from fixed seeds. After every step the layout holds:
// every window and drawer on the screen; no drawer over the Control Panel's controls and no palette over
// a control of another window, where the program put them; a restored window back at its frame with its
// drawers; a window whose last drawer closed back at the frame it had before they opened; and a window
// whose new drawer had room on a side of it still where it stood. A failing walk prints its seed and
// steps.
#include <gtest/gtest.h>

#include "core/ui/QXAppController.h"
#include "core/ui/WindowController.h"
#include "platform/appkit/DrawerArrangement.h"
#include "platform/appkit/ThreadSanitizerBuild.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "support/TestSupport.h"
#include "support/WindowTestSupport.h"

#include "PlacementTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMap>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace nupo;
using nupo::test::described;

namespace {

#ifdef NUPO_THREAD_SANITIZER
constexpr int stepsPerWalk = 40;
#else
constexpr int stepsPerWalk = 150;
#endif

std::string text(const QRect& r)
{
    std::ostringstream out;
    out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    return out.str();
}

bool isPlotWindow(const QWidget* window)
{
    return window->windowTitle().endsWith(QLatin1String("Window")) && window->windowType() == Qt::Window;
}

QWidget* shownTitled(const QString& title)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle() == title)
            return window;
    return nullptr;
}

QList<QWidget*> plotWindows()
{
    QList<QWidget*> windows;
    for (QWidget* window : test::shownWindows())
        if (isPlotWindow(window))
            windows.append(window);
    return windows;
}

QList<QAbstractButton*> drawerButtons(const QWidget* window)
{
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const QString action = button->property("action").toString().remove(QLatin1Char(':'));
        if (action.startsWith(QLatin1String("toggle")) && action.endsWith(QLatin1String("Drawer")) &&
            button->isVisibleTo(window))
            buttons.append(button);
    }
    return buttons;
}

QList<Drawer*> openDrawers(const QWidget* window)
{
    QList<Drawer*> open;
    for (Drawer* drawer : window->findChildren<Drawer*>(Qt::FindDirectChildrenOnly))
        if (drawer->isOpenOrOpening())
            open.append(drawer);
    return open;
}

// What the walk knows of a window: the frame it had before its first open drawer (where it goes back as
// the last closes), and the frame and drawers it had as it was maximised.
struct Known {
    QRect closedFrame;
    bool maximised = false;
    QRect normalFrame;
    QMap<const Drawer*, QRect> normalDrawers;
    bool putByUser = false;
};

class Walk {
public:
    explicit Walk(unsigned seed) : seed_(seed), random_(seed) {}

    // Runs the walk; false (with a failure reported) at the first step that breaks the layout.
    bool run(int steps)
    {
        for (int step = 0; step < steps; ++step)
            if (!takeAStep())
                return false;
        return true;
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    void log(const std::string& step) { steps_.push_back(step); }

    bool fail(const std::string& what)
    {
        std::ostringstream out;
        out << "seed " << seed_ << ", step " << steps_.size() << ": " << what << "\nsteps:\n";
        for (std::size_t i = 0; i < steps_.size(); ++i)
            out << "  " << i + 1 << ". " << steps_[i] << "\n";
        ADD_FAILURE() << out.str();
        return false;
    }

    // Waits until every window stands settled, no drawer is opening or closing, and the frames of the
    // windows and drawers stay as they are over several turns of the event loop.
    static void settle()
    {
        QList<QRect> last;
        int same = 0;
        test::processEventsUntil([&] {
            QList<QRect> now;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (!window->isVisible())
                    continue;
                if (WindowPlacement::windowManagerRuns() && WindowPlacement::isSettling(window))
                    return false;
                if (const auto* drawer = qobject_cast<const Drawer*>(window);
                    drawer &&
                    (drawer->state() == Drawer::State::Opening || drawer->state() == Drawer::State::Closing))
                    return false;
                now.append(WindowPlacement::frameOf(window));
            }
            same = now == last ? same + 1 : 0;
            last = now;
            return same >= 15;
        });
    }

    bool takeAStep()
    {
        const QList<QWidget*> plots = plotWindows();
        QList<QWidget*> withDrawers;
        for (QWidget* window : plots)
            if (!drawerButtons(window).isEmpty())
                withDrawers.append(window);
        switch (pick(10)) {
            case 0:
            case 1:
                return openAWindow();
            case 2:
                if (plots.size() > 1)
                    return closeAWindow(plots[pick(int(plots.size()))]);
                return openAWindow();
            case 3:
            case 4:
            case 5:
                if (!withDrawers.isEmpty())
                    return toggleADrawer(withDrawers[pick(int(withDrawers.size()))]);
                return openAWindow();
            case 6:
                if (!plots.isEmpty())
                    return maximiseOrRestore(plots[pick(int(plots.size()))]);
                return true;
            case 7:
                if (!plots.isEmpty())
                    return moveAsUser(plots[pick(int(plots.size()))]);
                return true;
            case 8:
                if (!plots.isEmpty())
                    return resizeAsUser(plots[pick(int(plots.size()))]);
                return true;
            default:
                return openOrClosePreferences();
        }
    }

    bool openAWindow()
    {
        QXAppController& menu = QXAppController::sharedQXAppController();
        const std::pair<const char*, std::function<void()>> openers[] = {
            {"Rawwave Window", [&menu] { menu.showQXRawwaveGraph(nullptr); }},
            {"Bargraph Window", [&menu] { menu.showQX2DBarGarph(nullptr); }},
            {"Waterfall Window", [&menu] { menu.showQX2DSpectrum(nullptr); }},
            {"WaterfallBS Window", [&menu] { menu.showFFTPanel(nullptr); }},
            {"Wave Surface Window", [&menu] { menu.showSelectQXnewave(nullptr); }}};
        const auto& [title, open] = openers[pick(int(std::size(openers)))];
        const QList<QWidget*> before = test::shownWindows();
        log(std::string("open the ") + title);
        open();
        settle();
        for (QWidget* window : test::shownWindows())
            if (!before.contains(window)) {
                log("  opened " + described(window).toStdString());
                if (!placedByTheProgramHolds(window))
                    return false;
            }
        return everywhereHolds();
    }

    bool closeAWindow(QWidget* window)
    {
        log("close " + described(window).toStdString());
        known_.remove(window);
        window->close();
        settle();
        return everywhereHolds();
    }

    bool toggleADrawer(QWidget* window)
    {
        const QList<QAbstractButton*> buttons = drawerButtons(window);
        QAbstractButton* button = buttons[pick(int(buttons.size()))];
        const QList<Drawer*> openBefore = openDrawers(window);
        const QRect frameBefore = WindowPlacement::frameOf(window);
        const bool maximised = WindowPlacement::standsMaximised(window);
        Known& known = known_[window];
        if (openBefore.isEmpty() && !maximised)
            known.closedFrame = frameBefore;
        log("press " + button->text().toStdString() + " of " + described(window).toStdString());
        button->click();
        settle();
        const QList<Drawer*> openAfter = openDrawers(window);
        const QRect frame = WindowPlacement::frameOf(window);
        log("  now " + text(frame) + ", " + std::to_string(openAfter.size()) + " drawers open");
        if (maximised || known.maximised)
            return everywhereHolds();
        if (openAfter.isEmpty() && !openBefore.isEmpty() && !known.closedFrame.isNull() &&
            frame != known.closedFrame)
            return fail(described(window).toStdString() + " did not take back " + text(known.closedFrame) +
                        " as its last drawer closed");
        for (Drawer* drawer : openAfter) {
            if (openBefore.contains(drawer))
                continue;
            if (hadRoom(window, drawer, frameBefore, openBefore) && frame != frameBefore)
                return fail(described(window).toStdString() + " moved from " + text(frameBefore) + " as " +
                            drawer->objectName().toStdString() + " opened with room beside it");
            if (!known.putByUser && !drawerClearOfTheControlPanel(drawer))
                return false;
        }
        if (!known.putByUser && !paletteClearOf(window))
            return false;
        return everywhereHolds();
    }

    // Whether the drawer had room at its depth on a side of the window where it stood: on the screen, off
    // the Control Panel and the window's other open drawers (a palette moves aside).
    static bool hadRoom(const QWidget* window, const Drawer* drawer, const QRect& frame,
                        const QList<Drawer*>& others)
    {
        const QRect area = WindowPlacement::availableArea(window);
        const QList<QRect> fixed = WindowPlacement::fixedFrames(window);
        QList<DrawerEdge> edges{drawer->preferredEdge()};
        if (drawer->preferredEdge() != DrawerEdge::Bottom)
            edges.append(drawer->preferredEdge() == DrawerEdge::Left ? DrawerEdge::Right : DrawerEdge::Left);
        for (const DrawerEdge edge : edges) {
            const QRect place = drawerRect(frame, edge, drawer->naturalDepth(), int(drawer->leadingOffset()),
                                           int(drawer->trailingOffset()));
            const bool free = area.contains(place) &&
                              std::none_of(fixed.begin(), fixed.end(),
                                           [&](const QRect& f) { return f.intersects(place); }) &&
                              std::none_of(others.begin(), others.end(), [&](const Drawer* d) {
                                  return d->frameGeometry().intersects(place);
                              });
            if (free)
                return true;
        }
        return false;
    }

    bool drawerClearOfTheControlPanel(const Drawer* drawer)
    {
        const QWidget* panel = shownTitled(QStringLiteral("Control Panel"));
        if (!panel)
            return true;
        for (const QRect& control : WindowPlacement::controlsOf(panel))
            if (control.intersects(drawer->frameGeometry()))
                return fail(drawer->objectName().toStdString() + " at " + text(drawer->frameGeometry()) +
                            " lies over a control of the Control Panel at " + text(control));
        return true;
    }

    // The palette covers no control of the window nor of its drawers.
    bool paletteClearOf(const QWidget* window)
    {
        const QWidget* palette = shownTitled(QStringLiteral("Tools"));
        if (!palette)
            return true;
        const QRect at = WindowPlacement::frameOf(palette);
        QList<QRect> controls = WindowPlacement::controlsOf(window);
        for (const Drawer* drawer : openDrawers(window))
            controls += WindowPlacement::controlsOf(drawer);
        for (const QRect& control : controls)
            if (control.intersects(at))
                return fail("the palette at " + text(at) + " lies over a control of " +
                            described(window).toStdString() + " at " + text(control));
        return true;
    }

    bool placedByTheProgramHolds(const QWidget* window)
    {
        if (const QWidget* panel = shownTitled(QStringLiteral("Control Panel")); panel && panel != window) {
            for (const QRect& control : WindowPlacement::controlsOf(panel))
                if (control.intersects(WindowPlacement::frameOf(window)))
                    return fail(described(window).toStdString() +
                                " opened over a control of the Control Panel");
        }
        return paletteClearOf(window);
    }

    bool maximiseOrRestore(QWidget* window)
    {
        Known& known = known_[window];
        if (!WindowPlacement::standsMaximised(window)) {
            known.maximised = true;
            known.normalFrame = WindowPlacement::frameOf(window);
            known.normalDrawers.clear();
            for (const Drawer* drawer : openDrawers(window))
                known.normalDrawers.insert(drawer, drawer->frameGeometry());
            log("maximise " + described(window).toStdString());
            window->showMaximized();
            settle();
            return everywhereHolds();
        }
        log("restore " + described(window).toStdString());
        window->showNormal();
        settle();
        const bool drawersAsBefore =
            known.maximised && openDrawers(window).size() == known.normalDrawers.size();
        if (known.maximised && WindowPlacement::frameOf(window) != known.normalFrame &&
            openDrawers(window).isEmpty() == known.normalDrawers.isEmpty())
            return fail(described(window).toStdString() + " restored, not at " + text(known.normalFrame));
        if (drawersAsBefore)
            for (const Drawer* drawer : openDrawers(window))
                if (drawer->frameGeometry() != known.normalDrawers.value(drawer))
                    return fail(drawer->objectName().toStdString() + " restored at " +
                                text(drawer->frameGeometry()) + ", not at " +
                                text(known.normalDrawers.value(drawer)));
        known.maximised = false;
        return everywhereHolds();
    }

    bool moveAsUser(QWidget* window)
    {
        if (WindowPlacement::standsMaximised(window))
            return true;
        const QRect area = WindowPlacement::availableArea(window);
        const QRect frame = WindowPlacement::frameOf(window);
        const QPoint to(area.left() + pick(std::max(1, area.width() - frame.width())),
                        area.top() + pick(std::max(1, area.height() - frame.height())));
        log("move " + described(window).toStdString() + " to " + std::to_string(to.x()) + "," +
            std::to_string(to.y()));
        test::moveAsUser(window, to);
        settle();
        userPut(window);
        return everywhereHolds();
    }

    bool resizeAsUser(QWidget* window)
    {
        if (WindowPlacement::standsMaximised(window))
            return true;
        const QRect area = WindowPlacement::availableArea(window);
        const QSize least = window->minimumSize().expandedTo(QSize(100, 100));
        const QMargins decoration = WindowPlacement::decorationOf(window);
        const QRect frame = WindowPlacement::frameOf(window);
        const QSize room =
            QSize(area.right() + 1 - frame.left(), area.bottom() + 1 - frame.top()).shrunkBy(decoration);
        const QSize size(least.width() + pick(std::max(1, room.width() - least.width())),
                         least.height() + pick(std::max(1, room.height() - least.height())));
        log("resize " + described(window).toStdString() + " to " + std::to_string(size.width()) + "x" +
            std::to_string(size.height()));
        window->resize(size);
        settle();
        userPut(window);
        return everywhereHolds();
    }

    // A window the user moved or resized: its drawers close back to where it stands now.
    void userPut(QWidget* window)
    {
        Known& known = known_[window];
        known.putByUser = true;
        known.closedFrame = WindowPlacement::frameOf(window);
    }

    bool openOrClosePreferences()
    {
        WindowController& preferences = WindowController::sharedWindowController();
        if (preferences.window() && preferences.window()->isVisible()) {
            log("close Preferences");
            preferences.window()->close();
            settle();
            return everywhereHolds();
        }
        log("open Preferences");
        preferences.showPanelX(0);
        settle();
        if (preferences.window() && !placedByTheProgramHolds(preferences.window()))
            return false;
        return everywhereHolds();
    }

    // Every window and drawer on the screen.
    bool everywhereHolds()
    {
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            const QRect area = WindowPlacement::availableArea(window);
            const QRect frame = qobject_cast<const Drawer*>(window) ? window->frameGeometry()
                                                                    : WindowPlacement::frameOf(window);
            if (!area.contains(frame))
                return fail(described(window).toStdString() + " (" + text(frame) + ") leaves the screen " +
                            text(area));
        }
        return true;
    }

    unsigned seed_;
    std::mt19937 random_;
    std::vector<std::string> steps_;
    QMap<const QWidget*, Known> known_;
};

TEST(LayoutWalk, EveryStepKeepsTheLayout)
{
    if (!test::onScreen() || !WindowPlacement::windowManagerRuns())
        GTEST_SKIP() << "walks windows under a window manager";
    QMainWindow* panel = test::launchedControlPanel();
    ASSERT_NE(panel, nullptr);
    test::processEventsUntil([] { return !test::shownWindows().isEmpty(); });
    SCOPED_TRACE(test::screenSize());
    for (const unsigned seed : {11u, 2026u}) {
        // Each walk starts from the Control Panel and the palette alone.
        for (QWidget* window : test::shownWindows())
            if (isPlotWindow(window) || window == WindowController::sharedWindowController().window())
                window->close();
        Walk walk(seed);
        if (!walk.run(stepsPerWalk))
            break;
    }
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

}  // namespace
