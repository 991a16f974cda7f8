// Runs once per screen size and case (see CMakeLists.txt): the waterfall, 3D, wave-surface and
// sound-slot windows with every drawer open, where a run opens them and moved to each edge of the screen.
// Every drawer lies on the screen, clear of the floating windows and of the window's other drawers and
// controls, shows its controls whole and scrolls only where the screen has no room; the picture keeps at
// least half its area. Maximised and restored, window, drawers and palette come back as they were.
#include <gtest/gtest.h>

#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/ui/QXSoundWindowController.h"
#include "app/NUPO4DrawAppDelegate.h"
#include "core/ui/QXAppController.h"
#include "core/ui/WindowController.h"
#include "platform/appkit/ui/AlertPanel.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include "PlacementTestSupport.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <functional>
#include <vector>

using namespace nupo;
using nupo::test::described;
using nupo::test::shownWindows;

namespace {

QString nameOf(const QWidget* widget)
{
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    const auto* label = qobject_cast<const QLabel*>(widget);
    return widget->objectName() + " \"" +
           (button  ? button->text()
            : label ? label->text()
                    : QString()) +
           "\"";
}

// Controls of a window or drawer narrower than their text needs (a button's text beyond its edge, a
// check box's title cut), and its panels of controls that scroll sideways.
QStringList cutControls(const QWidget* window)
{
    QStringList cut;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || !widget->isVisibleTo(window))
            continue;
        if (const auto* panel = qobject_cast<const QScrollArea*>(widget);
            panel && panel->horizontalScrollBar()->isVisible())
            cut << QStringLiteral("%1 scrolls sideways").arg(nameOf(widget));
        int needed = 0;
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            needed = qobject_cast<const QPushButton*>(widget)
                         ? button->fontMetrics().horizontalAdvance(button->text()) + 4
                         : widget->minimumSizeHint().width();
        else if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->wordWrap())
            needed = label->minimumSizeHint().width();
        else if (qobject_cast<const QComboBox*>(widget))
            needed = widget->minimumSizeHint().width();
        if (needed > widget->width())
            cut << QStringLiteral("%1: %2 of %3 px").arg(nameOf(widget)).arg(widget->width()).arg(needed);
    }
    return cut;
}

QString describedDrawer(const Drawer* drawer)
{
    const QRect r = drawer->frameGeometry();
    return QStringLiteral("%1 at %2,%3 %4x%5")
        .arg(drawer->objectName())
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

// The buttons of the window that open its drawers.
QList<QAbstractButton*> drawerButtons(const QWidget* window)
{
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const QString action = button->property("action").toString().remove(QLatin1Char(':'));
        if (action.startsWith(QLatin1String("toggle")) && action.endsWith(QLatin1String("Drawer")))
            buttons.append(button);
    }
    return buttons;
}

QRect onScreen(const QWidget* widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

// The windows that float above the others, which nothing the program places may lie under: the Control
// Panel and the Tools palette.
QList<const QWidget*> floatingWindows()
{
    QList<const QWidget*> floating;
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && (window->windowTitle() == QLatin1String("Control Panel") ||
                                    window->windowTitle() == QLatin1String("Tools")))
            floating.append(window);
    return floating;
}

// The window's open drawers lie under neither floating window, nor, where the program put the window,
// its menu bar and drawer buttons (a user may move a window under them, and its drawers with it: under a
// floating window the window itself lies under); the drawer buttons show their whole height (no scroll
// bar over them).
enum class PutBy { Program, User };
void expectInReach(const QWidget* window, PutBy putBy = PutBy::Program)
{
    SCOPED_TRACE(described(window).toStdString());
    QList<std::pair<QString, QRect>> parts;
    if (const auto* bar = window->findChild<QMenuBar*>(); bar && bar->isVisible() && putBy == PutBy::Program)
        parts.append({QStringLiteral("menu bar"), onScreen(bar)});
    for (const QAbstractButton* button : drawerButtons(window)) {
        if (putBy == PutBy::Program)
            parts.append({nameOf(button), onScreen(button)});
        EXPECT_EQ(button->visibleRegion().boundingRect().height(), button->height())
            << nameOf(button).toStdString() << " is cut";
    }
    for (const Drawer* drawer : window->findChildren<Drawer*>())
        if (drawer->isVisible())
            parts.append({describedDrawer(drawer), drawer->frameGeometry()});
    const QList<const QWidget*> floating = floatingWindows();
    ASSERT_EQ(floating.size(), 2) << "the Control Panel and the Tools palette are shown";
    for (const QWidget* above : floating) {
        if (putBy == PutBy::User &&
            WindowPlacement::frameOf(window).intersects(WindowPlacement::frameOf(above)))
            continue;
        for (const auto& [part, where] : parts)
            EXPECT_FALSE(where.intersects(WindowPlacement::frameOf(above)))
                << part.toStdString() << " lies under " << described(above).toStdString();
    }
}

// The window's drawers, once every one is open: its drawer buttons pressed one after another as a user
// does, everything the user needs staying in reach after each.
QList<Drawer*> openEveryDrawer(QWidget* window)
{
    const QList<Drawer*> drawers = window->findChildren<Drawer*>();
    for (QAbstractButton* button : drawerButtons(window)) {
        SCOPED_TRACE("after " + nameOf(button).toStdString());
        button->click();
        test::processEventsUntil([&] {
            return std::none_of(drawers.begin(), drawers.end(),
                                [](Drawer* d) { return d->state() == Drawer::State::Opening; });
        });
        expectInReach(window);
    }
    test::processEventsUntil([&] {
        return std::all_of(drawers.begin(), drawers.end(),
                           [](Drawer* d) { return d->state() == Drawer::State::Open; });
    });
    return drawers;
}

// The free screen right below a side drawer whose content scrolls along its length, as long as the
// drawer lacks: empty where the screen ends, or the window, another of its drawers or a floating window
// lies there.
// The drawer's content scrolls in the drawer or in a panel of its own (as the 3D Controls drawer's does).
QRect freeBelow(const QWidget* window, const Drawer* drawer)
{
    int lacking = 0;
    for (const QScrollArea* scroller : drawer->findChildren<QScrollArea*>())
        if (scroller->widget() && scroller->verticalScrollBar()->isVisible())
            lacking = std::max(
                lacking, scroller->widget()->minimumSizeHint().height() - scroller->viewport()->height());
    if (lacking <= 0)
        return {};
    const QRect placed = drawer->frameGeometry();
    const QRect below(placed.left(), placed.bottom() + 1, placed.width(), lacking);
    QList<QRect> taken{WindowPlacement::frameOf(window)};
    for (const Drawer* other : window->findChildren<Drawer*>())
        if (other != drawer && other->isVisible())
            taken.append(other->frameGeometry());
    for (const QWidget* above : floatingWindows())
        taken.append(WindowPlacement::frameOf(above));
    if (!WindowPlacement::availableArea(window).contains(below) ||
        std::any_of(taken.begin(), taken.end(), [&below](const QRect& r) { return r.intersects(below); }))
        return {};
    return below;
}

// Every drawer whole on the screen and clear of the others, beside its window or (where nothing else
// fits) over its picture, never over its controls; the picture keeps at least half of the area it had
// with the drawers closed; no control of the window or its drawers is cut; a drawer's content scrolls
// only where the screen has no room for it.
void expectDrawersFit(const QWidget* window, const QList<Drawer*>& drawers, qint64 pictureClosed)
{
    // Layouts settle through posted requests, which a busy machine may not have run yet.
    for (int pass = 0; pass < 3; ++pass) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
    const QRect area = WindowPlacement::availableArea(window);
    const QRect frame = WindowPlacement::frameOf(window);
    SCOPED_TRACE(described(window).toStdString());
    EXPECT_TRUE(area.contains(frame));
    if (const QWidget* picture = WindowPlacement::pictureOf(window)) {
        EXPECT_GE(2 * qint64(picture->width()) * picture->height(), pictureClosed)
            << "the picture, " << picture->width() << "x" << picture->height() << ", lost more than half";
    }
    const QStringList windowCut = cutControls(window);
    EXPECT_TRUE(windowCut.isEmpty()) << windowCut.join("; ").toStdString();
    const QList<QRect> controls = WindowPlacement::controlsOf(window);
    for (int i = 0; i < drawers.size(); ++i) {
        const Drawer* drawer = drawers[i];
        const QRect placed = drawer->frameGeometry();
        ASSERT_EQ(drawer->state(), Drawer::State::Open) << describedDrawer(drawer).toStdString();
        EXPECT_TRUE(drawer->isVisible()) << describedDrawer(drawer).toStdString();
        EXPECT_TRUE(area.contains(placed)) << describedDrawer(drawer).toStdString() << " leaves the screen";
        for (const QRect& control : controls)
            EXPECT_FALSE(placed.intersects(control))
                << describedDrawer(drawer).toStdString() << " covers a control of its window at "
                << control.x() << "," << control.y();
        for (int j = i + 1; j < drawers.size(); ++j) {
            // Two drawers on one side meet on the window's middle row, which both take.
            const QRect shared = placed.intersected(drawers[j]->frameGeometry());
            const bool meet = drawer->edge() == drawers[j]->edge() && shared.height() <= 1;
            EXPECT_TRUE(shared.isEmpty() || meet) << describedDrawer(drawer).toStdString() << " overlaps "
                                                  << describedDrawer(drawers[j]).toStdString();
        }
        const QStringList cut = cutControls(drawer);
        EXPECT_TRUE(cut.isEmpty()) << describedDrawer(drawer).toStdString() << ": "
                                   << cut.join("; ").toStdString();
        const QRect free = freeBelow(window, drawer);
        EXPECT_TRUE(free.isEmpty()) << describedDrawer(drawer).toStdString()
                                    << " scrolls while the screen below it is free down to " << free.bottom();
    }
}

// The window where a run opens it, then moved to the left, right, top and bottom edges of the screen.
void expectDrawersFitAnywhere(QWidget* window)
{
    ASSERT_NE(window, nullptr);
    const QWidget* picture = WindowPlacement::pictureOf(window);
    const qint64 pictureClosed = picture ? qint64(picture->width()) * picture->height() : 0;
    const QList<Drawer*> drawers = openEveryDrawer(window);
    ASSERT_GE(drawers.size(), 3) << described(window).toStdString();
    {
        SCOPED_TRACE("where it opened");
        expectDrawersFit(window, drawers, pictureClosed);
    }
    const QRect area = WindowPlacement::availableArea(window);
    const std::pair<const char*, std::function<QPoint(const QRect&)>> edges[] = {
        {"at the left edge", [&](const QRect& f) { return QPoint(area.left(), f.top()); }},
        {"at the right edge", [&](const QRect& f) { return QPoint(area.right() + 1 - f.width(), f.top()); }},
        {"at the top edge", [&](const QRect& f) { return QPoint(f.left(), area.top()); }},
        {"at the bottom edge",
         [&](const QRect& f) { return QPoint(f.left(), area.bottom() + 1 - f.height()); }}};
    for (const auto& [where, spot] : edges) {
        SCOPED_TRACE(where);
        const QPoint asked = spot(WindowPlacement::frameOf(window));
        window->move(asked);
        QCoreApplication::processEvents();
        expectDrawersFit(window, drawers, pictureClosed);
        expectInReach(window, PutBy::User);
        // The move is obeyed: the window moves only as far as its drawers need to stay on the screen, which
        // at the top edge is not at all (the Control Panel and the palette do not push it down).
        if (asked.y() == area.top()) {
            const QRect frame = WindowPlacement::frameOf(window);
            EXPECT_EQ(frame.topLeft(), asked)
                << described(window).toStdString() << " did not stay at the top";
        }
    }
    // Closed again, the drawers leave the floating windows where they were.
    for (QAbstractButton* button : drawerButtons(window))
        button->click();
    test::processEventsUntil([&] {
        return std::all_of(drawers.begin(), drawers.end(),
                           [](Drawer* d) { return d->state() == Drawer::State::Closed; });
    });
}

// The shown window that was not shown before.
QWidget* newWindow(const QList<QWidget*>& before)
{
    for (QWidget* window : shownWindows())
        if (!before.contains(window))
            return window;
    return nullptr;
}

// The window that opens: the one shown after open() that was not shown before.
QWidget* opened(const std::function<void()>& open)
{
    const QList<QWidget*> before = shownWindows();
    open();
    QCoreApplication::processEvents();
    return newWindow(before);
}

// The windows that have drawers, each with how a user opens it: from the menu, or a sound slot with a tone.
std::vector<std::pair<const char*, std::function<void()>>> drawerWindowOpeners()
{
    QXAppController& menu = QXAppController::sharedQXAppController();
    return {{"waterfall", [&menu] { menu.showQX2DSpectrum(nullptr); }},
            {"3D", [&menu] { menu.showFFTPanel(nullptr); }},
            {"wave surface", [&menu] { menu.showSelectQXnewave(nullptr); }},
            {"sound slot", [] { openSoundBank({test::writeTone(QStringLiteral("slot.wav"), 1.0)}); }}};
}

// The program as launched, its sound slots playing to no audio device; the Control Panel, or null.
QMainWindow* startWithQuietSoundSlots()
{
    MediaPlayer::Options quiet;
    quiet.audioOutput = false;
    QXSoundController::setMediaOptions(quiet);
    return test::launchedControlPanel();
}

// Sound Properties opens beside the slot and its open drawers, and moves along with the slot.
void expectSoundPropertiesBesideTheSlot()
{
    SCOPED_TRACE("Sound Properties");
    const QList<QWidget*> before = shownWindows();
    QXSoundWindowController* controller = openSoundBank({test::writeTone(QStringLiteral("beside.wav"), 1.0)});
    ASSERT_NE(controller, nullptr);
    QCoreApplication::processEvents();
    QWidget* slot = newWindow(before);
    ASSERT_NE(slot, nullptr);
    // Every drawer of the slot open.
    const QList<Drawer*> drawers = openEveryDrawer(slot);
    controller->movieProperties(nullptr);
    QWidget* panel = nullptr;
    for (QWidget* child : slot->findChildren<QWidget*>())
        if (child->isWindow() && child->isVisible() &&
            child->windowTitle() == QLatin1String("Sound Properties"))
            panel = child;
    ASSERT_NE(panel, nullptr);
    QCoreApplication::processEvents();
    const auto expectBeside = [&] {
        const QRect at = WindowPlacement::frameOf(panel);
        EXPECT_TRUE(WindowPlacement::availableArea(slot).contains(at)) << described(panel).toStdString();
        EXPECT_FALSE(at.intersects(WindowPlacement::frameOf(slot)))
            << described(panel).toStdString() << " covers " << described(slot).toStdString();
        for (const Drawer* drawer : drawers)
            EXPECT_FALSE(at.intersects(drawer->frameGeometry()))
                << described(panel).toStdString() << " covers " << describedDrawer(drawer).toStdString()
                << " of " << described(slot).toStdString();
        for (const QWidget* above : floatingWindows())
            EXPECT_FALSE(at.intersects(WindowPlacement::frameOf(above)))
                << described(panel).toStdString() << " lies under " << described(above).toStdString();
        const QStringList cut = cutControls(panel);
        EXPECT_TRUE(cut.isEmpty()) << described(panel).toStdString() << ": " << cut.join("; ").toStdString();
    };
    expectBeside();
    const QPoint slotAt = slot->pos();
    const QPoint panelAt = panel->pos();
    // Moved away from the screen's edge the panel stands at.
    const bool panelAtLeft =
        WindowPlacement::frameOf(panel).left() == WindowPlacement::availableArea(slot).left();
    slot->move(slotAt + QPoint(panelAtLeft ? 30 : -30, 20));
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->pos() - panelAt, slot->pos() - slotAt) << described(panel).toStdString();
}

TEST(DrawersFit, EveryDrawerLiesOnTheScreenClearOfTheOthersWhereverItsWindowStands)
{
    SCOPED_TRACE(test::screenSize());
    QMainWindow* controlPanel = startWithQuietSoundSlots();
    ASSERT_NE(controlPanel, nullptr);
    const QList<const QWidget*> floating = floatingWindows();
    ASSERT_EQ(floating.size(), 2) << "the Control Panel and the Tools palette are shown";
    QList<QPoint> floatingAt;
    for (const QWidget* above : floating)
        floatingAt.append(WindowPlacement::frameOf(above).topLeft());
    for (const auto& [name, open] : drawerWindowOpeners()) {
        SCOPED_TRACE(name);
        QWidget* window = opened(open);
        ASSERT_NE(window, nullptr);
        // Its frame, title bar included, opens clear of the floating windows' frames.
        for (const QWidget* above : floating)
            EXPECT_FALSE(WindowPlacement::frameOf(window).intersects(WindowPlacement::frameOf(above)))
                << described(window).toStdString() << " opens over " << described(above).toStdString();
        expectInReach(window);
        expectDrawersFitAnywhere(window);
        // (Where the user left the window clear of their places.)
        for (int i = 0; i < floating.size(); ++i) {
            if (!WindowPlacement::frameOf(window).intersects(
                    QRect(floatingAt[i], floating[i]->frameGeometry().size()))) {
                EXPECT_EQ(WindowPlacement::frameOf(floating[i]).topLeft(), floatingAt[i])
                    << described(floating[i]).toStdString() << " is not back where it was";
            }
        }
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    expectSoundPropertiesBesideTheSlot();
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

// The controls of a drawer lying over a maximised window keep the spacing they have at their natural
// size, packed at the top of the drawer (or of its panel that scrolls): none lies lower in its panel than
// the panel's natural height, however long the drawer.
void expectControlsPacked(const Drawer* drawer)
{
    for (const QWidget* control : drawer->findChildren<QWidget*>()) {
        if (!control->isVisible() ||
            !(qobject_cast<const QAbstractButton*>(control) ||
              qobject_cast<const QAbstractSlider*>(control) || qobject_cast<const QComboBox*>(control) ||
              qobject_cast<const QLabel*>(control) || qobject_cast<const QLineEdit*>(control)))
            continue;
        const QScrollArea* panel = nullptr;
        for (const QWidget* up = control->parentWidget(); up && !panel; up = up->parentWidget())
            panel = qobject_cast<const QScrollArea*>(up);
        if (!panel || !panel->widget() || panel->verticalScrollBar()->isVisible())
            continue;
        const QWidget* controls = panel->widget();
        if (!controls->isAncestorOf(control))
            continue;  // the panel's own scroll bars
        const int bottom = control->mapTo(controls, QPoint(0, control->height())).y();
        const int natural = controls->hasHeightForWidth() ? controls->heightForWidth(controls->width())
                                                          : controls->sizeHint().height();
        EXPECT_LE(bottom, natural) << describedDrawer(drawer).toStdString() << ": "
                                   << nameOf(control).toStdString() << " ends " << bottom
                                   << " px down its panel, which needs " << natural;
    }
}

// Where a window and its drawers stand, and the floating windows.
struct Standing {
    QRect frame;
    QList<QRect> drawers;
    QList<QRect> floating;
    bool operator==(const Standing&) const = default;
};

Standing standingOf(const QWidget* window, const QList<Drawer*>& drawers)
{
    Standing standing{WindowPlacement::frameOf(window), {}, {}};
    for (const Drawer* drawer : drawers)
        standing.drawers.append(drawer->frameGeometry());
    for (const QWidget* above : floatingWindows())
        standing.floating.append(WindowPlacement::frameOf(above));
    return standing;
}

std::string describedStanding(const Standing& standing)
{
    QStringList parts;
    for (const QRect& r : QList<QRect>{standing.frame} + standing.drawers + standing.floating)
        parts << QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    return parts.join("; ").toStdString();
}

// Maximised with every drawer open, a window with a picture keeps its drawers over the picture and clear
// of its controls, and the palette hides none of them: it stays where it was, or goes to the screen's
// edge.
// Restored, the window, its drawers and the palette stand exactly where they stood before.
void expectMaximiseAndRestore(QWidget* window, const std::function<void()>& placeWithDrawersOpen = {})
{
    const QList<Drawer*> drawers = openEveryDrawer(window);
    if (placeWithDrawersOpen)
        placeWithDrawersOpen();
    const Standing before = standingOf(window, drawers);
    const QRect area = WindowPlacement::availableArea(window);
    QRect paletteBefore;
    for (const QWidget* above : floatingWindows())
        if (above->windowTitle() == QLatin1String("Tools"))
            paletteBefore = WindowPlacement::frameOf(above);
    window->showMaximized();
    const auto overWindow = [&] {
        const QRect frame = WindowPlacement::frameOf(window);
        return std::all_of(drawers.begin(), drawers.end(),
                           [&frame](const Drawer* d) { return frame.contains(d->frameGeometry()); });
    };
    ASSERT_TRUE(test::processEventsUntil([&] { return window->isMaximized() && overWindow(); }))
        << "maximised: " << describedStanding(standingOf(window, drawers));
    QCoreApplication::processEvents();
    // A window of controls only (the sound slot) has no picture for its drawers to lie over.
    if (WindowPlacement::pictureOf(window)) {
        SCOPED_TRACE("maximised");
        const QList<QRect> controls = WindowPlacement::controlsOf(window);
        for (int pass = 0; pass < 3; ++pass) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QCoreApplication::processEvents();
        }
        for (const Drawer* drawer : drawers) {
            for (const QRect& control : controls)
                EXPECT_FALSE(drawer->frameGeometry().intersects(control))
                    << describedDrawer(drawer).toStdString() << " covers a control of its window";
            expectControlsPacked(drawer);
        }
        // The palette (where it shows) hides no control of the window or its drawers: it stays where it
        // was, or goes to the screen's edge clear of them all.
        QList<QRect> everyControl = controls;
        for (const Drawer* drawer : drawers)
            everyControl += WindowPlacement::controlsOf(drawer);
        // The palette moves aside once the window and its drawers stand maximised.
        test::processEventsUntil([&] {
            const QList<const QWidget*> shown = floatingWindows();
            return std::none_of(shown.begin(), shown.end(), [&](const QWidget* above) {
                const QRect at = WindowPlacement::frameOf(above);
                return above->windowTitle() == QLatin1String("Tools") &&
                       std::any_of(everyControl.begin(), everyControl.end(),
                                   [&at](const QRect& c) { return c.intersects(at); });
            });
        });
        for (const QWidget* above : floatingWindows()) {
            if (above->windowTitle() != QLatin1String("Tools"))
                continue;
            const QRect palette = WindowPlacement::frameOf(above);
            const QRect was = paletteBefore;
            // Off the middle of the picture: at the screen's left or right edge.
            const bool atEdge = palette.left() == area.left() || palette.right() == area.right();
            EXPECT_TRUE(palette == was || atEdge) << described(above).toStdString() << " is in the picture";
            for (const QRect& control : everyControl)
                EXPECT_FALSE(palette.intersects(control))
                    << described(above).toStdString() << " hides a control at " << control.x() << ","
                    << control.y() << " " << control.width() << "x" << control.height();
        }
    }
    window->showNormal();
    EXPECT_TRUE(test::processEventsUntil([&] { return standingOf(window, drawers) == before; }))
        << "before: " << describedStanding(before)
        << "\nrestored: " << describedStanding(standingOf(window, drawers));
    for (QAbstractButton* button : drawerButtons(window))
        button->click();
    test::processEventsUntil([&] {
        return std::all_of(drawers.begin(), drawers.end(),
                           [](Drawer* d) { return d->state() == Drawer::State::Closed; });
    });
}

TEST(DrawersFit, AMaximisedWindowIsRestoredWithItsDrawersAndThePaletteWhereTheyWere)
{
    SCOPED_TRACE(test::screenSize());
    ASSERT_NE(startWithQuietSoundSlots(), nullptr);
    for (const auto& [name, open] : drawerWindowOpeners()) {
        SCOPED_TRACE(name);
        QWidget* window = opened(open);
        ASSERT_NE(window, nullptr);
        expectMaximiseAndRestore(window);
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

// A window with every drawer open that the user moved to the top of the screen stays there (the Control
// Panel and the palette do not push it down), and maximised and restored, it stands there again.
TEST(DrawersFit, AWindowMovedToTheTopStaysThereAndIsRestoredThere)
{
    SCOPED_TRACE(test::screenSize());
    ASSERT_NE(startWithQuietSoundSlots(), nullptr);
    const std::vector<std::pair<const char*, std::function<void()>>> openers = drawerWindowOpeners();
    for (std::size_t i = 0; i < 3; ++i) {  // the windows with a picture
        SCOPED_TRACE(openers[i].first);
        QWidget* window = opened(openers[i].second);
        ASSERT_NE(window, nullptr);
        expectMaximiseAndRestore(window, [window] {
            const QRect area = WindowPlacement::availableArea(window);
            const QPoint top(WindowPlacement::frameOf(window).left(), area.top());
            window->move(top);
            QCoreApplication::processEvents();
            EXPECT_EQ(WindowPlacement::frameOf(window).topLeft(), top) << described(window).toStdString();
        });
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

// A window manager maximising a window tells its new size before its new state, and restoring it its old
// size before its state: the window at the screen's bottom edge with every drawer open (its bottom drawer
// on the screen's last row), maximised and restored so, takes back its frame, drawers and the palette's
// place on the first cycle as on the next.
TEST(DrawersFit, AWindowAtTheScreensEdgeIsRestoredAsItStoodOnEveryCycle)
{
    SCOPED_TRACE(test::screenSize());
    ASSERT_NE(startWithQuietSoundSlots(), nullptr);
    QWidget* window = opened([] { QXAppController::sharedQXAppController().showQX2DSpectrum(nullptr); });
    ASSERT_NE(window, nullptr);
    const QList<Drawer*> drawers = openEveryDrawer(window);
    const QRect area = WindowPlacement::availableArea(window);
    const auto bottomOfAll = [&] {
        int bottom = WindowPlacement::frameOf(window).bottom();
        for (const Drawer* drawer : drawers)
            bottom = std::max(bottom, drawer->frameGeometry().bottom());
        return bottom;
    };
    window->move(window->pos() + QPoint(0, area.bottom() - bottomOfAll()));
    QCoreApplication::processEvents();
    ASSERT_EQ(bottomOfAll(), area.bottom());
    const Standing before = standingOf(window, drawers);
    const QRect normal = window->geometry();
    for (int cycle = 1; cycle <= 2; ++cycle) {
        SCOPED_TRACE(QStringLiteral("cycle %1").arg(cycle).toStdString());
        window->setGeometry(area.marginsRemoved(WindowPlacement::decorationOf(window)));
        QCoreApplication::processEvents();
        window->setWindowState(Qt::WindowMaximized);
        ASSERT_TRUE(test::processEventsUntil([&] {
            const QRect frame = WindowPlacement::frameOf(window);
            return window->isMaximized() && std::all_of(drawers.begin(), drawers.end(), [&](const Drawer* d) {
                       return frame.contains(d->frameGeometry());
                   });
        })) << "maximised: "
            << describedStanding(standingOf(window, drawers));
        // What the new state set going runs before the restore, as it does before a user's next click.
        bool turned = false;
        QTimer::singleShot(0, window, [&turned] { turned = true; });
        ASSERT_TRUE(test::processEventsUntil([&turned] { return turned; }));
        window->setGeometry(normal);
        QCoreApplication::processEvents();
        window->setWindowState(Qt::WindowNoState);
        EXPECT_TRUE(test::processEventsUntil([&] { return standingOf(window, drawers) == before; }))
            << "before: " << describedStanding(before)
            << "\nrestored: " << describedStanding(standingOf(window, drawers));
    }
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

// A resize the user asks for is obeyed at once, also after one to nearly the screen's size (which is no
// maximise: the window is not restored to an earlier frame).
TEST(DrawersFit, AResizeIsObeyedAfterANearScreenResize)
{
    SCOPED_TRACE(test::screenSize());
    ASSERT_NE(startWithQuietSoundSlots(), nullptr);
    QWidget* window = opened([] { QXAppController::sharedQXAppController().showQX2DSpectrum(nullptr); });
    ASSERT_NE(window, nullptr);
    const QList<Drawer*> drawers = openEveryDrawer(window);
    const QRect area = WindowPlacement::availableArea(window);
    const QSize nearScreen = area.size().shrunkBy(WindowPlacement::decorationOf(window)) - QSize(20, 20);
    const QSize asked(700, 400);
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(QStringLiteral("round %1").arg(round).toStdString());
        window->move(area.topLeft() + QPoint(4, 4));
        window->resize(nearScreen);
        QCoreApplication::processEvents();
        EXPECT_FALSE(window->isMaximized());
        EXPECT_EQ(window->size(), nearScreen) << described(window).toStdString();
        window->resize(asked);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->size(), asked) << described(window).toStdString();
        test::processEventsUntil([&] {
            return std::none_of(drawers.begin(), drawers.end(),
                                [](Drawer* d) { return d->state() != Drawer::State::Open; });
        });
        EXPECT_EQ(window->size(), asked) << described(window).toStdString();
        for (const Drawer* drawer : drawers)
            EXPECT_TRUE(area.contains(drawer->frameGeometry())) << describedDrawer(drawer).toStdString();
    }
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

// How a Preferences tab stands: its panel's page, the panel's frame size (window and decoration) that
// shows it whole, and what keeps it from standing whole on the screen (empty where nothing does). A
// panel larger than the screen's available area scrolls along that side only, its window as large as the
// area on it.
struct TabStanding {
    QString tab;
    QSize needed;
    QStringList faults;
};
TabStanding standingOfTab(const QWidget* preferences, const QTabWidget* tabs)
{
    TabStanding standing{tabs->tabText(tabs->currentIndex()), {}, {}};
    const auto* page = qobject_cast<const QScrollArea*>(tabs->currentWidget());
    if (!page || !page->widget()) {
        standing.faults << QStringLiteral("no panel");
        return standing;
    }
    const QRect area = WindowPlacement::availableArea(preferences);
    const QRect frame = WindowPlacement::frameOf(preferences);
    const QSize panel = page->widget()->minimumSizeHint();
    const QSize shown = page->viewport()->size();
    standing.needed = panel + frame.size() - shown;
    // A scroll bar shown takes room the panel would have without it.
    if (page->verticalScrollBar()->isVisible())
        standing.needed.rwidth() -= page->verticalScrollBar()->width();
    if (page->horizontalScrollBar()->isVisible())
        standing.needed.rheight() -= page->horizontalScrollBar()->height();
    if (!area.contains(frame))
        standing.faults << QStringLiteral("off the screen");
    const bool tallerThanTheScreen = standing.needed.height() > area.height();
    const bool widerThanTheScreen = standing.needed.width() > area.width();
    if (page->verticalScrollBar()->isVisible() && !tallerThanTheScreen)
        standing.faults << QStringLiteral("scrolls");
    if (page->horizontalScrollBar()->isVisible() && !widerThanTheScreen)
        standing.faults << QStringLiteral("scrolls sideways");
    if (tallerThanTheScreen && frame.height() != area.height())
        standing.faults << QStringLiteral("scrolls in less than the screen's height");
    if (widerThanTheScreen && frame.width() != area.width())
        standing.faults << QStringLiteral("scrolls in less than the screen's width");
    standing.faults += cutControls(preferences);
    // The tool palette floats above it: it may lie on its panel's empty room only.
    for (const QWidget* above : floatingWindows())
        if (above->windowTitle() == QLatin1String("Tools"))
            for (const QRect& control : WindowPlacement::controlsOf(preferences))
                if (control.intersects(WindowPlacement::frameOf(above)))
                    standing.faults << QStringLiteral("%1 hides a control at %2,%3")
                                           .arg(test::described(above))
                                           .arg(control.x())
                                           .arg(control.y());
    return standing;
}

// The program as launched with seven more windows opened from its menu: its Control Panel, or null.
QMainWindow* startWithEightWindows()
{
    QMainWindow* controlPanel = startWithQuietSoundSlots();
    if (!controlPanel)
        return nullptr;
    for (const char* command : {"showQX2DBarGarph", "showQX2DSpectrum", "showFFTPanel", "showSelectQXnewave",
                                "showDrawWindow", "showBezierView", "showSelectFilePanel"}) {
        auto* item = controlPanel->findChild<QAction*>(QString::fromLatin1(command));
        EXPECT_NE(item, nullptr) << command;
        if (item)
            item->trigger();
        QCoreApplication::processEvents();
    }
    EXPECT_GE(shownWindows().size(), 8);
    return controlPanel;
}

// The shown tab of Preferences stands whole, once its layout has settled.
void expectTabWhole(const QWidget* preferences, const QTabWidget* tabs)
{
    // Layouts settle through posted requests, which a busy machine may not have run yet.
    TabStanding standing;
    test::processEventsUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        standing = standingOfTab(preferences, tabs);
        return standing.faults.isEmpty();
    });
    EXPECT_TRUE(standing.faults.isEmpty())
        << standing.tab.toStdString() << " (needs a frame of " << standing.needed.width() << "x"
        << standing.needed.height() << ") in " << described(preferences).toStdString() << ": "
        << standing.faults.join("; ").toStdString();
}

// The tool palette, shown or hidden.
QWidget* toolPalette()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowTitle() == QLatin1String("Tools"))
            return window;
    return nullptr;
}

// Preferences opened from the menu while eight windows take the screen and switched through every tab,
// then opened from the menu on each tab: every tab's panel stands whole on the screen (no scroll bar, no
// cut text), the window at the size its panel needs, wherever it fits (over the Control Panel if that is
// what it takes). Only a panel larger than the screen's whole available area scrolls. An alert opened over
// it stands whole too; closed, it leaves the tool palette where it stood.
TEST(DrawersFit, PreferencesOpensAtItsPanelsSizeAmongManyWindows)
{
    SCOPED_TRACE(test::screenSize());
    QMainWindow* controlPanel = startWithEightWindows();
    ASSERT_NE(controlPanel, nullptr);
    auto* item = controlPanel->findChild<QAction*>(QStringLiteral("showPanelX"));
    ASSERT_NE(item, nullptr);
    QWidget* palette = toolPalette();
    ASSERT_NE(palette, nullptr);
    ASSERT_TRUE(palette->isVisible());
    // The user put the palette in the screen's bottom left corner.
    const QRect area = WindowPlacement::availableArea(palette);
    const QPoint paletteBefore(area.left(), area.bottom() + 1 - WindowPlacement::frameOf(palette).height());
    WindowPlacement::moveFrame(palette, paletteBefore);
    ASSERT_TRUE(test::processEventsUntil([&] { return WindowPlacement::frameOf(palette).topLeft() == paletteBefore; }));
    const QList<QWidget*> before = shownWindows();
    item->trigger();
    QCoreApplication::processEvents();
    QWidget* preferences = newWindow(before);
    ASSERT_NE(preferences, nullptr);
    auto* tabs = preferences->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_GE(tabs->count(), 5);
    QSize firstTab;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        SCOPED_TRACE(QStringLiteral("switched to tab %1").arg(tabs->tabText(tab)).toStdString());
        tabs->setCurrentIndex(tab);
        expectTabWhole(preferences, tabs);
        if (tab == 0)
            firstTab = WindowPlacement::frameOf(preferences).size();
    }
    {
        // Moved by the user so that its first tab lies over the palette's spot, and switched to that tab,
        // it leaves the palette room: the palette shows, clear of it (also where it had hidden for a
        // larger tab).
        SCOPED_TRACE("moved over the palette's spot");
        WindowPlacement::moveFrame(preferences, QPoint(area.left(), area.bottom() + 1 - firstTab.height()));
        QCoreApplication::processEvents();
        tabs->setCurrentIndex(0);
        expectTabWhole(preferences, tabs);
        EXPECT_TRUE(test::processEventsUntil([&] {
            return palette->isVisible() &&
                   !WindowPlacement::frameOf(palette).intersects(WindowPlacement::frameOf(preferences));
        })) << described(palette).toStdString() << (palette->isVisible() ? "" : ", hidden");
    }
    for (const int number : {PreferencesTab::MIDIBand, PreferencesTab::Device, PreferencesTab::MIDIPeak,
                             PreferencesTab::Analysis, PreferencesTab::Display}) {
        preferences->close();
        ASSERT_TRUE(test::processEventsUntil([&] { return !preferences->isVisible(); }));
        QXAppController::sharedQXAppController().showPanelX(number);
        ASSERT_TRUE(test::processEventsUntil([&] { return preferences->isVisible(); }));
        SCOPED_TRACE(
            QStringLiteral("opened on tab %1").arg(tabs->tabText(tabs->currentIndex())).toStdString());
        expectTabWhole(preferences, tabs);
    }
    QMessageBox* alert = AlertPanel::show(
        QStringLiteral("The MIDI setups could not be saved"),
        QStringLiteral("The folder of the preferences file is not writable; the setups stay as they are "
                       "until the program quits."),
        QStringLiteral("Save Elsewhere…"), QStringLiteral("Cancel"), QStringLiteral("Don't Save"));
    ASSERT_TRUE(test::processEventsUntil([&] { return alert->isVisible(); }));
    test::processEventsUntil([&] {
        return WindowPlacement::availableArea(alert).contains(WindowPlacement::frameOf(alert)) &&
               cutControls(alert).isEmpty();
    });
    EXPECT_TRUE(WindowPlacement::availableArea(alert).contains(WindowPlacement::frameOf(alert)))
        << described(alert).toStdString();
    EXPECT_TRUE(cutControls(alert).isEmpty()) << cutControls(alert).join("; ").toStdString();
    alert->close();
    preferences->close();
    EXPECT_TRUE(test::processEventsUntil([&] {
        return palette->isVisible() && WindowPlacement::frameOf(palette).topLeft() == paletteBefore;
    })) << described(palette).toStdString() << (palette->isVisible() ? "" : ", hidden");
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

// Preferences opened for the first time on its tallest tab (as the first one-click MIDI preset opens it),
// with the menu bar its window gets as it is first shown, stands whole too, and so does the next tab.
TEST(DrawersFit, PreferencesFirstOpenedOnTheMIDITabStandsWhole)
{
    SCOPED_TRACE(test::screenSize());
    ASSERT_NE(startWithEightWindows(), nullptr);
    const QList<QWidget*> before = shownWindows();
    QXAppController::sharedQXAppController().showPanelX(PreferencesTab::MIDIPeak);
    QCoreApplication::processEvents();
    QWidget* preferences = newWindow(before);
    ASSERT_NE(preferences, nullptr);
    auto* tabs = preferences->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    expectTabWhole(preferences, tabs);
    tabs->setCurrentIndex(tabs->currentIndex() + 1);
    expectTabWhole(preferences, tabs);
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

// A waterfall resized small keeps its picture at least half its height, its controls whole or scrolling,
// its captions apart.
TEST(DrawersFit, ASmallWaterfallKeepsHalfItsHeightForItsPicture)
{
    SCOPED_TRACE(test::screenSize());
    ASSERT_NE(startWithQuietSoundSlots(), nullptr);
    QWidget* window = opened([] { QXAppController::sharedQXAppController().showQX2DSpectrum(nullptr); });
    ASSERT_NE(window, nullptr);
    window->resize(300, 200);
    for (int pass = 0; pass < 3; ++pass) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
    const QWidget* picture = WindowPlacement::pictureOf(window);
    ASSERT_NE(picture, nullptr);
    SCOPED_TRACE(described(window).toStdString());
    EXPECT_GE(2 * picture->height(), window->height())
        << "the picture, " << picture->width() << "x" << picture->height()
        << ", is less than half the height";
    QList<const QLabel*> captions;
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->window() == window && label->isVisibleTo(window) && !label->visibleRegion().isEmpty())
            captions.append(label);
    for (int i = 0; i < captions.size(); ++i)
        for (int j = i + 1; j < captions.size(); ++j)
            EXPECT_FALSE(onScreen(captions[i]).intersects(onScreen(captions[j])))
                << nameOf(captions[i]).toStdString() << " overlaps " << nameOf(captions[j]).toStdString();
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

}  // namespace
