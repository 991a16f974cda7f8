#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "platform/quartz/gl/GraphicsContext.h"
#include "platform/quartz/gl/PainterGraphicsContext.h"
#include "platform/viewhost/gl/QuartzView.h"
#include "platform/viewhost/ui/QuartzViewHost.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
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

// A plot-like picture: a ground, a zigzag of thin lines each in its own colour, bars and a level line.
// `variant` shifts everything, so that two variants differ almost everywhere.
class TraceView : public QuartzView {
public:
    void drawRect(GraphicsContext& context, const QRectF& rect) override
    {
        context.setRGBFillColor(0.82, 0.88, 0.78, 1);
        context.fillRect(rect);
        context.setLineWidth(1);
        for (int i = 0; i < 60; ++i) {
            context.beginPath();
            context.moveToPoint(i * 3.3 + variant, 60 + 50 * std::sin(i * 0.9 + variant));
            context.addLineToPoint((i + 1) * 3.3 + variant, 60 + 50 * std::sin((i + 1) * 0.9 + variant));
            context.setRGBStrokeColor(i / 60.0, 0.2, 1 - i / 60.0, 1);
            context.strokePath();
        }
        context.setLineWidth(3.5);
        for (int i = 0; i < 12; ++i) {
            context.setRGBStrokeColor(0.1, i / 12.0, 0.3, 0.8);
            context.beginPath();
            context.moveToPoint(10.3 + i * 15.7 + variant, 4);
            context.addLineToPoint(10.3 + i * 15.7 + variant, 20 + 7 * i);
            context.strokePath();
        }
        context.setLineWidth(1);
        context.setRGBStrokeColor(1, 0, 0, 1);
        context.beginPath();
        context.moveToPoint(2, 71.4 + variant);
        context.addLineToPoint(rect.width() - 2, 71.4 + variant);
        context.strokePath();
    }
    double variant = 0.0;
};

// The picture the plain way draws (every stroke through the painter), on an image.
QImage plainPicture(TraceView& view, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    PainterGraphicsContext context(painter, size.height(), PainterGraphicsContext::Drawing::Direct);
    view.drawRect(context, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// The window's pixels as the widgets painted them.
QImage backingStorePixels(QWidget& window)
{
    QPaintDevice* device = window.backingStore() ? window.backingStore()->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return {};
    return static_cast<QImage*>(device)->convertToFormat(QImage::Format_RGB32);
}

// The largest channel difference between a picture and the part of another at offset.
int largestDifference(const QImage& picture, const QImage& window, QPoint offset, const QRect& only = {})
{
    int largest = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            if (!only.isNull() && !only.contains(x, y))
                continue;
            const QRgb p = picture.pixel(x, y), q = window.pixel(x + offset.x(), y + offset.y());
            for (int shift : {0, 8, 16})
                largest = std::max(largest, std::abs(int((p >> shift) & 0xff) - int((q >> shift) & 0xff)));
        }
    return largest;
}

TEST(QuartzViewHost, LinesWrittenIntoTheWindowLandWhereThePainterPutsThem)
{
    TraceView view;
    QWidget window;
    window.resize(300, 200);
    QuartzViewHost host(&view, &window);
    host.setGeometry(37, 23, 200, 120);
    window.show();
    processEvents();
    const QImage first = backingStorePixels(window);
    if (first.isNull())
        GTEST_SKIP() << "the window system keeps no image of the window";
    ASSERT_GE(first.width(), 237);
    const QPoint offset(37, 23);
    // Antialiased edges may differ a little; a misplaced or missing stroke differs by far more.
    EXPECT_LE(largestDifference(plainPicture(view, host.size()), first, offset), 64);
    const QRgb outside = first.pixel(10, 180);

    // A repaint of part of the view changes that part alone.
    view.variant = 1.7;
    const QRect part(50, 30, 60, 50);
    host.update(part);
    processEvents();
    const QImage second = backingStorePixels(window);
    EXPECT_LE(largestDifference(plainPicture(view, host.size()), second, offset, part), 64);
    view.variant = 0.0;
    const QImage before = plainPicture(view, host.size());
    long changedOutside = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (!part.contains(x, y) &&
                second.pixel(x + offset.x(), y + offset.y()) != first.pixel(x + offset.x(), y + offset.y()))
                ++changedOutside;
    EXPECT_EQ(changedOutside, 0);
    EXPECT_EQ(second.pixel(10, 180), outside);
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
