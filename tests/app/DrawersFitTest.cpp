// The drawers of the 3D, wave-surface and sound-slot windows show their controls whole: nothing cut,
// no sideways scrolling, the right drawers one above the other and the bottom drawer under its window.
#include <gtest/gtest.h>

#include "platform/appkit/ui/Drawer.h"
#include "platform/appkit/ui/NibController.h"
#include "platform/appkit/ui/NibLoader.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

using namespace nupo;

namespace {

QString nameOf(const QWidget* widget)
{
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    const auto* label = qobject_cast<const QLabel*>(widget);
    return widget->objectName() + " \"" + (button ? button->text() : label ? label->text() : QString()) + "\"";
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

// Opens every drawer as the window's buttons do.
void openAll(NibController* controller, const QList<Drawer*>& drawers)
{
    for (const char* name : {"toggleLeftDrawer", "toggleBottomDrawer", "toggleUpperRightDrawer",
                             "toggleLowerRightDrawer"})
        if (const NibController::Action toggle = controller->actionNamed(QString::fromLatin1(name)))
            toggle(nullptr);
    QElapsedTimer waited;
    waited.start();
    while (std::any_of(drawers.begin(), drawers.end(), [](Drawer* d) { return d->state() != Drawer::State::Open; }))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}

class DrawersFit : public testing::TestWithParam<const char*> {};

TEST_P(DrawersFit, ControlsShowWholeAndTheDrawersKeepTheirPlaces)
{
    NibController* controller = NibLoader::loadNibNamed(QString::fromLatin1(GetParam()));
    ASSERT_NE(controller, nullptr);
    QWidget* window = controller->nibWindow();
    ASSERT_NE(window, nullptr);
    // In the middle of the screen: a drawer with no room on its own side would open on the other.
    const QRect area = window->screen()->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    window->show();
    QCoreApplication::processEvents();
    const QList<Drawer*> drawers = window->findChildren<Drawer*>();
    ASSERT_GE(drawers.size(), 3);
    openAll(controller, drawers);

    const QRect frame = window->frameGeometry();
    QList<QRect> rightDrawers;
    for (Drawer* drawer : drawers) {
        SCOPED_TRACE(drawer->objectName().toStdString());
        const QRect placed = drawer->placement();
        if (drawer->edge() == Drawer::Edge::Right)
            rightDrawers << placed;
        if (drawer->edge() == Drawer::Edge::Bottom) {
            EXPECT_GE(placed.left(), frame.left());
            EXPECT_LE(placed.right(), frame.right()) << "the bottom drawer overhangs its window";
        }
        for (const QScrollArea* area : drawer->findChildren<QScrollArea*>()) {
            EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << "scrolls sideways";
            if (drawer->edge() == Drawer::Edge::Bottom) {
                EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << "scrolls up and down";
            }
        }
        const QStringList cut = cutControls(drawer);
        EXPECT_TRUE(cut.isEmpty()) << cut.join("; ").toStdString();
    }
    ASSERT_EQ(rightDrawers.size(), 2);
    // One above the other, meeting in the middle (a window of odd height gives both its middle row).
    EXPECT_LE(rightDrawers[0].intersected(rightDrawers[1]).height(), 1) << "the right drawers overlap";
    window->close();
}

INSTANTIATE_TEST_SUITE_P(Windows, DrawersFit, testing::Values("QX3DSpectrum", "QXnewave", "QXDrawerSound"));

}  // namespace
