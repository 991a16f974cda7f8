// Runs once per screen size (see CMakeLists.txt): the waterfall, 3D, wave-surface and sound-slot windows
// with every drawer open, where a run opens them and moved to each edge of the screen. Every drawer lies
// on the screen, off its window and clear of the window's other drawers, and shows its controls whole.
#include <gtest/gtest.h>

#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/ui/QXSoundWindowController.h"
#include "app/NUPO4DrawAppDelegate.h"
#include "core/ui/QXAppController.h"
#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include "PlacementTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <functional>

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

// Controls narrower than their text needs (a button's text beyond its edge, a check box's title cut).
QStringList cutControls(const QWidget* drawer)
{
    QStringList cut;
    for (const QWidget* widget : drawer->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(drawer))
            continue;
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

// The window's drawers, once every one is open: its drawer buttons pressed as a user does.
QList<Drawer*> openEveryDrawer(QWidget* window)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const QString action = button->property("action").toString().remove(QLatin1Char(':'));
        if (action.startsWith(QLatin1String("toggle")) && action.endsWith(QLatin1String("Drawer")))
            button->click();
    }
    const QList<Drawer*> drawers = window->findChildren<Drawer*>();
    test::processEventsUntil([&] {
        return std::all_of(drawers.begin(), drawers.end(),
                           [](Drawer* d) { return d->state() == Drawer::State::Open; });
    });
    return drawers;
}

// Every drawer whole on the screen, beside its window and clear of the others; its controls whole and
// its content scrolling only where the screen leaves no room.
void expectDrawersFit(const QWidget* window, const QList<Drawer*>& drawers)
{
    const QRect area = WindowPlacement::availableArea(window);
    const QRect frame = WindowPlacement::frameOf(window);
    SCOPED_TRACE(described(window).toStdString());
    EXPECT_TRUE(area.contains(frame));
    for (int i = 0; i < drawers.size(); ++i) {
        const Drawer* drawer = drawers[i];
        const QRect placed = drawer->frameGeometry();
        ASSERT_EQ(drawer->state(), Drawer::State::Open) << describedDrawer(drawer).toStdString();
        EXPECT_TRUE(drawer->isVisible()) << describedDrawer(drawer).toStdString();
        EXPECT_TRUE(area.contains(placed)) << describedDrawer(drawer).toStdString() << " leaves the screen";
        EXPECT_FALSE(placed.intersects(frame))
            << describedDrawer(drawer).toStdString() << " covers its window";
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
        if (drawer->isSqueezed())
            continue;
        for (const QScrollArea* scroller : drawer->findChildren<QScrollArea*>()) {
            EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible())
                << describedDrawer(drawer).toStdString() << " scrolls sideways";
        }
    }
}

// The window where a run opens it, then moved to the left, right, top and bottom edges of the screen.
void expectDrawersFitAnywhere(QWidget* window)
{
    ASSERT_NE(window, nullptr);
    const QList<Drawer*> drawers = openEveryDrawer(window);
    ASSERT_GE(drawers.size(), 3) << described(window).toStdString();
    {
        SCOPED_TRACE("where it opened");
        expectDrawersFit(window, drawers);
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
        window->move(spot(WindowPlacement::frameOf(window)));
        QCoreApplication::processEvents();
        expectDrawersFit(window, drawers);
    }
}

// The shown window that was not shown before.
QWidget* newWindow(const QList<QWidget*>& before)
{
    for (QWidget* window : shownWindows())
        if (!before.contains(window))
            return window;
    return nullptr;
}

TEST(DrawersFit, EveryDrawerLiesOnTheScreenClearOfTheOthersWhereverItsWindowStands)
{
    SCOPED_TRACE(test::screenSize());
    MediaPlayer::Options quiet;
    quiet.audioOutput = false;
    QXSoundController::setMediaOptions(quiet);
    QMainWindow* controlPanel = test::launchedControlPanel();
    ASSERT_NE(controlPanel, nullptr);
    QXAppController& menu = QXAppController::sharedQXAppController();

    const std::pair<const char*, std::function<void()>> openers[] = {
        {"waterfall", [&] { menu.showQX2DSpectrum(nullptr); }},
        {"3D", [&] { menu.showFFTPanel(nullptr); }},
        {"wave surface", [&] { menu.showSelectQXnewave(nullptr); }},
        {"sound slot", [] { openSoundBank({test::writeTone(QStringLiteral("slot.wav"), 1.0)}); }}};
    for (const auto& [name, open] : openers) {
        SCOPED_TRACE(name);
        const QList<QWidget*> before = shownWindows();
        open();
        QCoreApplication::processEvents();
        expectDrawersFitAnywhere(newWindow(before));
    }
    NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate().applicationWillTerminate(nullptr);
}

}  // namespace
