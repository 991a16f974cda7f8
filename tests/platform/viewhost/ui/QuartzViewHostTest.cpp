#include "platform/keyboard/VirtualKeyCodes.h"
#include "platform/quartz/GraphicsContext.h"
#include "platform/viewhost/QuartzView.h"
#include "platform/viewhost/ui/QuartzViewHost.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <thread>

namespace nupo {
namespace {

// Draws a blue strip along its bottom edge and a red line along its top edge, and logs its events.
class StripView : public QuartzView {
public:
    void drawRect(GraphicsContext& context, const QRectF& rect) override
    {
        ++draws;
        drawnRect = rect;
        context.setRGBFillColor(0, 0, 1, 1);
        context.fillRect(QRectF(0, 0, rect.width(), 10));
        context.setRGBStrokeColor(1, 0, 0, 1);
        context.setLineWidth(1);
        context.beginPath();
        context.moveToPoint(0, rect.height() - 0.5);
        context.addLineToPoint(rect.width(), rect.height() - 0.5);
        context.strokePath();
    }
    void mouseDown(const MouseEvent& e) override { log("down", e); }
    void mouseDragged(const MouseEvent& e) override { log("dragged", e); }
    void mouseUp(const MouseEvent& e) override { log("up", e); }
    void rightMouseDown(const MouseEvent& e) override { log("rightDown", e); }
    void rightMouseDragged(const MouseEvent& e) override { log("rightDragged", e); }
    void rightMouseUp(const MouseEvent& e) override { log("rightUp", e); }
    void otherMouseDown(const MouseEvent& e) override { log("otherDown", e); }
    void otherMouseUp(const MouseEvent& e) override { log("otherUp", e); }
    void scrollWheel(const ScrollEvent& e) override { scrolls.push_back(e); }
    void keyDown(const KeyEvent& e) override { keys.push_back({true, e}); }
    void keyUp(const KeyEvent& e) override { keys.push_back({false, e}); }

    struct Logged {
        std::string name;
        MouseEvent event;
    };
    void log(const char* name, const MouseEvent& e) { mice.push_back({name, e}); }

    int draws = 0;
    QRectF drawnRect;
    std::vector<Logged> mice;
    std::vector<ScrollEvent> scrolls;
    std::vector<std::pair<bool, KeyEvent>> keys;
};

void processEvents()
{
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

void sendMouse(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

TEST(QuartzViewHost, PaintsTheViewUnflippedOverItsWholeBounds)
{
    StripView view;
    QuartzViewHost host(&view);
    host.resize(200, 100);
    host.show();
    processEvents();
    EXPECT_EQ(view.frame().size(), QSizeF(200, 100));

    const QImage image = host.grab().toImage();
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(view.drawnRect, QRectF(0, 0, 200, 100));
    EXPECT_EQ(image.pixel(100, 99), qRgb(0, 0, 255));  // bottom row: the strip at y = 0..10
    EXPECT_EQ(image.pixel(100, 90), qRgb(0, 0, 255));
    EXPECT_NE(image.pixel(100, 89), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(100, 0), qRgb(255, 0, 0));  // top row: the line at y = height - 0.5

    host.resize(120, 50);
    processEvents();
    EXPECT_EQ(view.bounds(), QRectF(0, 0, 120, 50));
}

TEST(QuartzViewHost, RedrawRequestsFromAnyThreadRepaint)
{
    StripView view;
    QuartzViewHost host(&view);
    host.resize(50, 50);
    host.show();
    processEvents();
    const int before = view.draws;
    ASSERT_GT(before, 0);

    view.setNeedsDisplay(true);
    processEvents();
    EXPECT_EQ(view.draws, before + 1);
    EXPECT_FALSE(view.needsDisplay());

    std::thread([&view] { view.setNeedsDisplay(true); }).join();
    processEvents();
    EXPECT_EQ(view.draws, before + 2);
}

TEST(QuartzViewHost, ForwardsMouseEventsByButtonWithUnflippedLocations)
{
    StripView view;
    QuartzViewHost host(&view);
    host.resize(200, 100);
    host.show();
    processEvents();

    sendMouse(host, QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    sendMouse(host, QEvent::MouseMove, {15, 30}, Qt::NoButton, Qt::LeftButton);
    sendMouse(host, QEvent::MouseButtonRelease, {15, 30}, Qt::LeftButton, Qt::NoButton);
    sendMouse(host, QEvent::MouseButtonPress, {1, 99}, Qt::RightButton, Qt::RightButton);
    sendMouse(host, QEvent::MouseMove, {2, 98}, Qt::NoButton, Qt::RightButton);
    sendMouse(host, QEvent::MouseButtonRelease, {2, 98}, Qt::RightButton, Qt::NoButton);
    sendMouse(host, QEvent::MouseButtonPress, {5, 5}, Qt::MiddleButton, Qt::MiddleButton);
    sendMouse(host, QEvent::MouseButtonRelease, {5, 5}, Qt::MiddleButton, Qt::NoButton);
    sendMouse(host, QEvent::MouseButtonDblClick, {7, 7}, Qt::LeftButton, Qt::LeftButton);
    // Moving with no button held is not a drag.
    sendMouse(host, QEvent::MouseMove, {8, 8}, Qt::NoButton, Qt::NoButton);

    const std::vector<std::string> expected = {"down",    "dragged",   "up",      "rightDown", "rightDragged",
                                               "rightUp", "otherDown", "otherUp", "down"};
    ASSERT_EQ(view.mice.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(view.mice[i].name, expected[i]) << i;
    EXPECT_EQ(view.mice[0].event.location, QPointF(10, 80));
    EXPECT_EQ(view.mice[0].event.modifierFlags, ModifierFlag::Command);
    EXPECT_EQ(view.mice[1].event.location, QPointF(15, 70));
    EXPECT_EQ(view.mice[3].event.location, QPointF(1, 1));
    EXPECT_EQ(view.mice[0].event.clickCount, 1);
    EXPECT_EQ(view.mice[8].event.clickCount, 2);
}

TEST(QuartzViewHost, ForwardsWheelAndKeysWithClassicCodes)
{
    StripView view;
    QuartzViewHost host(&view);
    host.show();
    processEvents();

    QWheelEvent wheel({5, 5}, host.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -240), Qt::NoButton,
                      Qt::AltModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&host, &wheel);
    ASSERT_EQ(view.scrolls.size(), 1u);
    EXPECT_DOUBLE_EQ(view.scrolls[0].deltaY, -2.0);
    EXPECT_EQ(view.scrolls[0].modifierFlags, ModifierFlag::Option);

    QTest::keyClick(&host, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&host, Qt::Key_Tab);    // a key for the view, not a focus move
    QTest::keyPress(&host, Qt::Key_Shift);  // modifiers alone are no key events
    QTest::keyRelease(&host, Qt::Key_Shift);
    QKeyEvent repeatedUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(&host, &repeatedUp);
    QKeyEvent repeatedDown(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(&host, &repeatedDown);

    ASSERT_EQ(view.keys.size(), 5u);
    EXPECT_TRUE(view.keys[0].first);
    EXPECT_EQ(view.keys[0].second.keyCode, VirtualKey::S);
    EXPECT_EQ(view.keys[0].second.modifierFlags, ModifierFlag::Command);
    EXPECT_FALSE(view.keys[1].first);
    EXPECT_EQ(view.keys[2].second.keyCode, VirtualKey::Tab);
    EXPECT_FALSE(view.keys[3].first);
    EXPECT_TRUE(view.keys[4].first);
    EXPECT_EQ(view.keys[4].second.keyCode, VirtualKey::Space);
    EXPECT_TRUE(view.keys[4].second.isRepeat);
}

TEST(QuartzViewHost, HostAndViewMayGoInEitherOrder)
{
    auto view = std::make_unique<StripView>();
    auto host = std::make_unique<QuartzViewHost>(view.get());
    host->resize(40, 40);
    host->show();
    processEvents();
    view.reset();
    EXPECT_EQ(host->view(), nullptr);
    host->update();
    sendMouse(*host, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
    QTest::keyClick(host.get(), Qt::Key_A);
    processEvents();

    StripView other;
    host = std::make_unique<QuartzViewHost>(&other);
    host.reset();
    EXPECT_EQ(other.host(), nullptr);
    other.setNeedsDisplay(true);
}

}  // namespace
}  // namespace nupo
