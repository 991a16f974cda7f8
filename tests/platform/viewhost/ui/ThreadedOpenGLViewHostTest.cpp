#include "platform/appkit/FrameTimer.h"
#include "platform/appkit/MainThread.h"
#include "platform/gl/Glut.h"
#include "platform/viewhost/gl/DrawingClass.h"
#include "platform/viewhost/gl/OpenGLView.h"
#include "platform/viewhost/gl/ViewRetirement.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/FrameGate.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace nupo {
namespace {

using Gate = test::FrameGate;

// Draws a red quad over the lower left quarter, a green one at the upper right and an "H" in bitmap text
// over a clear colour set in prepareOpenGL; notes the thread and whether it is drawing, and can be held
// at a gate in the middle of a frame.
class ProbeView : public OpenGLView {
public:
    void prepareOpenGL() override
    {
        ++prepares;
        glClearColor(0, 0, 0.5f, 1);
    }
    void reshape() override { reshapedTo = bounds(); }
    void drawRect(const QRectF& rect) override
    {
        overlapped = overlapped || ++classDrawing() > 1;
        drawing = true;
        drawThread = QThread::currentThread();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, rect.width(), 0, rect.height(), -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(1, 0, 0);
        glRectd(0, 0, rect.width() / 2, rect.height() / 2);
        glColor3f(0, 1, 0);
        glRectd(rect.width() * 0.6, rect.height() * 0.6, rect.width() * 0.9, rect.height() * 0.7);
        glColor3f(1, 1, 1);
        glRasterPos2d(rect.width() * 0.75, rect.height() * 0.75);
        glutBitmapString(GLUT_BITMAP_HELVETICA_18, "Hg");
        if (held)
            gate->passThrough();
        ++frames;
        drawing = false;
        --classDrawing();
    }
    void mouseDown(const MouseEvent&) override
    {
        ++clicks;
        clickedWhileDrawing = clickedWhileDrawing || drawing;
    }

    const std::shared_ptr<Gate> gate = std::make_shared<Gate>();  // may outlive the view
    std::atomic<bool> held{false};
    std::atomic<bool> drawing{false};
    std::atomic<int> frames{0};
    std::atomic<QThread*> drawThread{nullptr};
    int prepares = 0;
    QRectF reshapedTo;
    int clicks = 0;
    bool clickedWhileDrawing = false;
    std::atomic<bool> overlapped{false};  // another view of its class drew at the same time
    // Frames of the class being drawn now.
    virtual std::atomic<int>& classDrawing()
    {
        static std::atomic<int> drawing{0};
        return drawing;
    }
};

class OtherProbeView : public ProbeView {
    std::atomic<int>& classDrawing() override
    {
        static std::atomic<int> drawing{0};
        return drawing;
    }
};

// Opens the gate once the main thread has waited for a frame (or when cancelled), from a helper thread:
// whoever waits for the held frame is then proved to be waiting, with no timing involved.
class OpenWhenWaitedFor {
public:
    explicit OpenWhenWaitedFor(std::shared_ptr<Gate> gate) : before_(GLRenderThread::waitsForFrames())
    {
        helper_ = std::thread([this, gate] {
            std::unique_lock lock(mutex_);
            while (!cancelled_ && GLRenderThread::waitsForFrames() == before_) {
                lock.unlock();
                std::this_thread::yield();
                lock.lock();
            }
            gate->open();
        });
    }
    ~OpenWhenWaitedFor()
    {
        {
            std::lock_guard lock(mutex_);
            cancelled_ = true;
        }
        helper_.join();
    }
    bool waited() const { return GLRenderThread::waitsForFrames() > before_; }

private:
    const int before_;
    std::mutex mutex_;
    bool cancelled_ = false;
    std::thread helper_;
};

// Where and when views that retired together went, and whether a frame of one of them was drawing then.
struct Departure {
    std::atomic<bool> gone{false};
    std::atomic<QThread*> thread{nullptr};
    std::atomic<bool> whileDrawing{false};
};

// Handed over first as views retire, so it goes first of what they hand over, while the views still are.
class DepartureWitness {
public:
    DepartureWitness(std::vector<const ProbeView*> views, std::shared_ptr<Departure> departure)
        : views_(std::move(views)), departure_(std::move(departure))
    {
    }
    ~DepartureWitness()
    {
        for (const ProbeView* view : views_)
            departure_->whileDrawing = departure_->whileDrawing || view->drawing;
        departure_->thread = QThread::currentThread();
        departure_->gone = true;
    }

private:
    const std::vector<const ProbeView*> views_;
    const std::shared_ptr<Departure> departure_;
};

class ThreadedOpenGLViewHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!OpenGLViewHost::isSupported())
            GTEST_SKIP() << "no OpenGL on the '" << QApplication::platformName().toStdString()
                         << "' platform; scripts/test.sh runs this test under Xvfb";
    }
    void TearDown() override
    {
        GLRenderThread::setStallTime(std::chrono::seconds(2));
        ThreadedGLViewHost::setFrameHookForTests({});
    }
    // Frames never count as stalled, however long they are held.
    static void waitForFramesAsLongAsTheyTake() { GLRenderThread::setStallTime(std::chrono::hours(1)); }

    // Shows the host and waits for its first finished frame to be on screen.
    static void showAndWaitForFrame(ThreadedGLViewHost& host, QSize size)
    {
        host.resize(size);
        host.show();
        ASSERT_TRUE(test::processEventsUntil([&] { return host.framesShown() >= 1; }));
        settle(host);
    }
    // Waits until no frame is in flight and the last one is on screen: the next due frame can start.
    static void settle(ThreadedGLViewHost& host)
    {
        ASSERT_TRUE(test::processEventsUntil(
            [&] { return !host.frameInFlight() && host.framesShown() == host.framesFinished(); }));
    }
};

TEST_F(ThreadedOpenGLViewHostTest, AThreadedFrameIsPixelIdenticalToTheSameViewDrawnOnTheMainThread)
{
    ProbeView mainView;
    ProbeView threadView;
    OpenGLViewHost mainHost(&mainView);
    ThreadedGLViewHost threadHost(&threadView);
    mainHost.resize(161, 117);
    mainHost.show();
    showAndWaitForFrame(threadHost, QSize(161, 117));

    const QImage drawnOnMain = mainHost.grabFramebuffer();
    EXPECT_EQ(mainView.drawThread.load(), QThread::currentThread());
    const QImage drawnOnThread = threadHost.grabFramebuffer();
    EXPECT_NE(threadView.drawThread.load(), QThread::currentThread());
    EXPECT_NE(threadView.drawThread.load(), nullptr);
    ASSERT_EQ(drawnOnThread.size(), QSize(161, 117));
    EXPECT_EQ(drawnOnThread.pixel(10, 110), qRgb(255, 0, 0));  // not a blank frame
    // The GL widget's picture keeps the framebuffer's alpha (all opaque here); the thread's is opaque.
    EXPECT_EQ(drawnOnThread, drawnOnMain.convertToFormat(drawnOnThread.format()));

    // The thread's context was prepared once, and sized before the frames.
    EXPECT_EQ(threadView.prepares, 1);
    EXPECT_EQ(threadView.reshapedTo, QRectF(0, 0, 161, 117));
}

// Leaves a colour with less than full alpha in the framebuffer, as blending does.
class TranslucentView : public OpenGLView {
public:
    void drawRect(const QRectF&) override
    {
        glClearColor(0.4f, 0.2f, 0.6f, 0.25f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

TEST_F(ThreadedOpenGLViewHostTest, AFrameIsShownOpaqueWhateverAlphaTheDrawingLeft)
{
    // Painted with its alpha, the frame would be blended over whatever the widget's backing store (or
    // the pixmap of a grab) held before it.
    TranslucentView view;
    ThreadedGLViewHost host(&view);
    showAndWaitForFrame(host, QSize(60, 40));
    const QImage frame = host.grabFramebuffer();
    ASSERT_EQ(frame.size(), QSize(60, 40));
    EXPECT_FALSE(frame.hasAlphaChannel());
    EXPECT_EQ(frame.pixel(30, 20), qRgb(102, 51, 153));
    settle(host);
    for (int n = 0; n < 3; ++n) {
        const QImage shown = host.grab().toImage();
        EXPECT_EQ(shown.pixel(5, 5), qRgb(102, 51, 153)) << "grab " << n;
        EXPECT_EQ(shown.pixel(55, 35), qRgb(102, 51, 153)) << "grab " << n;
    }
}

TEST_F(ThreadedOpenGLViewHostTest, FollowsResizesAndDrawsWhenAsked)
{
    ProbeView view;
    ThreadedGLViewHost host(&view);
    showAndWaitForFrame(host, QSize(100, 80));
    host.resize(140, 90);
    const QImage image = host.grabFramebuffer();
    ASSERT_EQ(image.size(), QSize(140, 90));
    EXPECT_EQ(view.reshapedTo, QRectF(0, 0, 140, 90));
    EXPECT_EQ(image.pixel(60, 80), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(80, 80), qRgb(0, 0, 128));

    // A request for display with no beat running still gets a frame, which is then shown.
    const quint64 finished = host.framesFinished();
    view.setNeedsDisplay(true);
    EXPECT_TRUE(test::processEventsUntil([&] { return host.framesFinished() > finished; }));
    EXPECT_EQ(view.prepares, 1);

    // A finished frame not yet shown is not drawn over: the host drops frames until it is on screen,
    // and then draws the one asked for meanwhile.
    settle(host);
    view.setNeedsDisplay(true);
    ASSERT_TRUE(host.startFrameIfDue());
    host.waitForFrame();
    view.setNeedsDisplay(true);
    EXPECT_FALSE(host.startFrameIfDue());
    const quint64 before = host.framesFinished();
    EXPECT_TRUE(test::processEventsUntil([&] { return host.framesShown() > before; }));
    settle(host);
}

TEST_F(ThreadedOpenGLViewHostTest, ContextWorkReachesTheDrawingContextBeforeTheNextFrame)
{
    // The clear colour is per-context state: set from the main thread, it must reach the drawing thread.
    class RecolouredView : public ProbeView {
    public:
        void prepareOpenGL() override {}
    };
    RecolouredView view;
    ThreadedGLViewHost host(&view);
    showAndWaitForFrame(host, QSize(80, 60));
    QThread* ranOn = nullptr;
    ASSERT_TRUE(view.performInContext([&] {
        ranOn = QThread::currentThread();
        glClearColor(0, 1, 1, 1);
    }));
    const quint64 finished = host.framesFinished();
    ASSERT_TRUE(test::processEventsUntil([&] { return host.framesFinished() > finished; }));
    EXPECT_EQ(ranOn, view.drawThread.load());
    EXPECT_EQ(host.grabFramebuffer().pixel(78, 30), qRgb(0, 255, 255));

    // A view that no host shows has no context for such work.
    EXPECT_FALSE(ProbeView().performInContext([] {}));
}

TEST_F(ThreadedOpenGLViewHostTest, InputAndQueuedCallsGoOnBesideAFrameInFlightWithoutWaitingForIt)
{
    waitForFramesAsLongAsTheyTake();
    ProbeView view;
    ThreadedGLViewHost host(&view);
    showAndWaitForFrame(host, QSize(120, 90));

    view.gate->close();
    view.held = true;
    view.setNeedsDisplay(true);
    ASSERT_TRUE(host.startFrameIfDue());
    view.gate->waitForArrival();
    const int waits = GLRenderThread::waitsForFrames();
    QTest::mouseClick(&host, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(view.clicks, 1);
    EXPECT_TRUE(view.clickedWhileDrawing);
    bool called = false;
    QMetaObject::invokeMethod(
        &host, [&] { called = true; }, Qt::QueuedConnection);
    EXPECT_TRUE(test::processEventsUntil([&] { return called; }));
    EXPECT_EQ(GLRenderThread::waitsForFrames(), waits);
    EXPECT_TRUE(view.drawing);
    view.held = false;
    view.gate->open();
    settle(host);
}

TEST_F(ThreadedOpenGLViewHostTest, ABusyHostSkipsItsBeatsWhileOtherViewsDrawAsTheDriverAllows)
{
    ProbeView slowView;
    ProbeView sameClassView;
    OtherProbeView otherView;
    ThreadedGLViewHost slow(&slowView);
    ThreadedGLViewHost sameClass(&sameClassView);
    ThreadedGLViewHost other(&otherView);
    showAndWaitForFrame(slow, QSize(90, 70));
    showAndWaitForFrame(sameClass, QSize(90, 70));
    showAndWaitForFrame(other, QSize(90, 70));

    // Each beat asks every view for a frame, as the windows' ticks do, and counts on the main thread.
    int beats = 0;
    FrameTimer timer;
    QObject::connect(&timer, &FrameTimer::timeout, [&] {
        ++beats;
        slowView.setNeedsDisplay(true);
        sameClassView.setNeedsDisplay(true);
        otherView.setNeedsDisplay(true);
    });
    slowView.gate->close();
    slowView.held = true;
    slowView.setNeedsDisplay(true);
    ASSERT_TRUE(slow.startFrameIfDue());
    slowView.gate->waitForArrival();
    timer.start();
    // The main thread keeps its beat while the slow frame is held; the slow host drops its beats, and a
    // view of another class goes on drawing on its own thread meanwhile, or, with a software driver,
    // whose drawing threads take turns, waits for its turn.
    const int slowFrames = slowView.frames;
    const int otherFrames = otherView.frames;
    if (GLRenderThread::drawingTakesTurns()) {
        EXPECT_TRUE(test::processEventsUntil([&] { return beats >= 5; }));
        EXPECT_EQ(otherView.frames, otherFrames);
    } else {
        EXPECT_TRUE(
            test::processEventsUntil([&] { return beats >= 5 && otherView.frames >= otherFrames + 3; }));
    }
    EXPECT_EQ(slowView.frames, slowFrames);
    EXPECT_FALSE(slow.startFrameIfDue());

    slowView.held = false;
    slowView.gate->open();
    const int sameClassFrames = sameClassView.frames;
    EXPECT_TRUE(test::processEventsUntil([&] {
        return slowView.frames >= slowFrames + 3 && sameClassView.frames >= sameClassFrames + 3 &&
               otherView.frames >= otherFrames + 3;
    }));
    timer.stop();
    slow.waitForFrame();
    sameClass.waitForFrame();
    other.waitForFrame();
    // Views of one class share their engines: their frames are drawn one at a time.
    EXPECT_FALSE(slowView.overlapped);
    EXPECT_FALSE(sameClassView.overlapped);
}

TEST_F(ThreadedOpenGLViewHostTest, TheBeatAndTheMainThreadsTimersGoOnBesideAHeldFrame)
{
    waitForFramesAsLongAsTheyTake();
    // The held view's window, a window showing a view of the same class, one of another class, and
    // the plain windows (raw wave, bar graph) of the rest of the program.
    QWidget heldWindow;
    QWidget sameClassWindow;
    QWidget otherClassWindow;
    ProbeView heldView;
    ProbeView sameClassView;
    OtherProbeView otherClassView;
    ThreadedGLViewHost held(&heldView, &heldWindow);
    ThreadedGLViewHost sameClass(&sameClassView, &sameClassWindow);
    ThreadedGLViewHost otherClass(&otherClassView, &otherClassWindow);
    for (QWidget* window : {&heldWindow, &sameClassWindow, &otherClassWindow}) {
        window->resize(80, 60);
        window->show();
    }
    for (ThreadedGLViewHost* host : {&held, &sameClass, &otherClass})
        showAndWaitForFrame(*host, QSize(80, 60));

    // Ticks on the beat: a plain window's, and those of GL windows that skip while their views (or views
    // of their class) draw; and a plain timer.
    int plainTicksWhileHeld = 0;
    int independentTicksWhileHeld = 0;
    std::map<QWidget*, int> glTicks;
    std::vector<std::unique_ptr<FrameTimer>> timers;
    FrameTimer plain;
    QObject::connect(&plain, &FrameTimer::timeout, [&] { plainTicksWhileHeld += heldView.drawing ? 1 : 0; });
    for (QWidget* window : {&heldWindow, &sameClassWindow, &otherClassWindow}) {
        auto& timer = timers.emplace_back(std::make_unique<FrameTimer>());
        timer->skipWhile([window] { return ThreadedGLViewHost::drawingViewsOf(window); });
        QObject::connect(timer.get(), &FrameTimer::timeout, [&glTicks, window] { ++glTicks[window]; });
    }
    QTimer independent;
    independent.setInterval(5);
    QObject::connect(&independent, &QTimer::timeout,
                     [&] { independentTicksWhileHeld += heldView.drawing ? 1 : 0; });

    plain.start();
    for (auto& timer : timers)
        timer->start();
    independent.start();
    // The beat starts the held frame. Had anything waited for it, the gate would open and the counts
    // taken while it is held would stop short.
    bool ranBesideTheFrame = false;
    for (int attempt = 0; attempt < 5 && !ranBesideTheFrame; ++attempt) {
        for (ThreadedGLViewHost* host : {&held, &sameClass, &otherClass})
            settle(*host);
        plainTicksWhileHeld = 0;
        independentTicksWhileHeld = 0;
        glTicks.clear();
        OpenWhenWaitedFor opener(heldView.gate);
        heldView.gate->close();
        heldView.held = true;
        heldView.setNeedsDisplay(true);
        ASSERT_TRUE(test::processEventsUntil([&] { return heldView.drawing || opener.waited(); }));
        if (!opener.waited()) {
            EXPECT_TRUE(ThreadedGLViewHost::drawingViewsOf(&heldWindow));
            EXPECT_TRUE(ThreadedGLViewHost::drawingViewsOf(&sameClassWindow));
            EXPECT_TRUE(ThreadedGLViewHost::drawingViewsOf(nullptr));
        }
        const int heldTicks = glTicks[&heldWindow];
        const int sameClassTicks = glTicks[&sameClassWindow];
        EXPECT_TRUE(test::processEventsUntil([&] {
            return (plainTicksWhileHeld >= 4 && independentTicksWhileHeld >= 4 &&
                    glTicks[&otherClassWindow] >= 4) ||
                   opener.waited();
        }));
        ranBesideTheFrame = !opener.waited();
        if (ranBesideTheFrame) {
            EXPECT_EQ(glTicks[&heldWindow], heldTicks);
            EXPECT_EQ(glTicks[&sameClassWindow], sameClassTicks);
        }
        heldView.held = false;
        heldView.gate->open();
    }
    EXPECT_TRUE(ranBesideTheFrame);
    // Once the frame is done the skipped windows tick again.
    const int heldTicks = glTicks[&heldWindow];
    EXPECT_TRUE(test::processEventsUntil([&] { return glTicks[&heldWindow] >= heldTicks + 2; }));
    independent.stop();
    plain.stop();
    for (auto& timer : timers)
        timer->stop();
}

TEST_F(ThreadedOpenGLViewHostTest, ResizedAndDestroyedWhileAFrameIsInFlight)
{
    waitForFramesAsLongAsTheyTake();
    auto view = std::make_unique<ProbeView>();
    auto host = std::make_unique<ThreadedGLViewHost>(view.get());
    showAndWaitForFrame(*host, QSize(100, 100));

    // Resized mid-frame: the frame in flight ends at its size, the next one takes the new size.
    view->gate->close();
    view->held = true;
    view->setNeedsDisplay(true);
    ASSERT_TRUE(host->startFrameIfDue());
    view->gate->waitForArrival();
    {
        OpenWhenWaitedFor opener(view->gate);
        host->resize(130, 70);
        view->gate->open();
    }
    view->held = false;
    EXPECT_EQ(host->grabFramebuffer().size(), QSize(130, 70));
    EXPECT_EQ(view->reshapedTo, QRectF(0, 0, 130, 70));
    settle(*host);

    // The view retires (from an event handler) while its frame is held: it goes after the frame.
    view->gate->close();
    view->held = true;
    view->setNeedsDisplay(true);
    ASSERT_TRUE(host->startFrameIfDue());
    view->gate->waitForArrival();
    const std::shared_ptr<Gate> gate = view->gate;
    auto departure = std::make_shared<Departure>();
    QTimer::singleShot(0, [&] {
        auto witness =
            std::make_unique<DepartureWitness>(std::vector<const ProbeView*>{view.get()}, departure);
        retireViews({view.get()}, witness, view);
    });
    ASSERT_TRUE(test::processEventsUntil([&] { return !view; }));
    EXPECT_EQ(host->view(), nullptr);
    EXPECT_FALSE(departure->gone);
    gate->open();
    EXPECT_TRUE(test::processEventsUntil([&] { return departure->gone.load(); }));
    EXPECT_FALSE(departure->whileDrawing);
    host->update();
    QApplication::processEvents();

    // The host goes while a frame of another view is held: it waits for the frame and frees its thread.
    ProbeView other;
    auto second = std::make_unique<ThreadedGLViewHost>(&other);
    showAndWaitForFrame(*second, QSize(60, 60));
    other.gate->close();
    other.held = true;
    other.setNeedsDisplay(true);
    ASSERT_TRUE(second->startFrameIfDue());
    other.gate->waitForArrival();
    {
        OpenWhenWaitedFor opener(other.gate);
        second.reset();
        EXPECT_TRUE(opener.waited());
    }
    EXPECT_FALSE(other.drawing);
    EXPECT_EQ(other.host(), nullptr);
    host.reset();
}

TEST_F(ThreadedOpenGLViewHostTest, RetiredViewsGoOnTheMainThreadOnceTheirFramesEndedAndTheirHostsGoAtOnce)
{
    // The threads of hosts gone before (run in one process, the tests before this one) end first.
    ASSERT_TRUE(test::processEventsUntil([] { return GLRenderThread::threadsLeftToEnd() == 0; }));
    const int threadsLeft = 0;
    // With no frame in flight a retired view goes at once, and its host shows nothing more.
    {
        auto view = std::make_unique<ProbeView>();
        ThreadedGLViewHost host(view.get());
        showAndWaitForFrame(host, QSize(60, 40));
        auto departure = std::make_shared<Departure>();
        auto witness =
            std::make_unique<DepartureWitness>(std::vector<const ProbeView*>{view.get()}, departure);
        retireViews({view.get()}, witness, view);
        EXPECT_TRUE(departure->gone);
        EXPECT_FALSE(view);
        EXPECT_EQ(host.view(), nullptr);
        EXPECT_FALSE(host.startFrameIfDue());
    }

    // Two views retire together (as a window's normal and full views) while a frame of the first is
    // held: their hosts go at once without waiting, and the views go after the last of their frames.
    auto first = std::make_unique<ProbeView>();
    auto second = std::make_unique<ProbeView>();
    const std::shared_ptr<Gate> firstGate = first->gate;
    const std::shared_ptr<Gate> secondGate = second->gate;
    auto firstHost = std::make_unique<ThreadedGLViewHost>(first.get());
    auto secondHost = std::make_unique<ThreadedGLViewHost>(second.get());
    showAndWaitForFrame(*firstHost, QSize(90, 60));
    showAndWaitForFrame(*secondHost, QSize(90, 60));
    firstGate->close();
    first->held = true;
    first->setNeedsDisplay(true);
    ASSERT_TRUE(firstHost->startFrameIfDue());
    firstGate->waitForArrival();
    // Views of one class draw one at a time: the second's frame waits for the first's to end.
    second->setNeedsDisplay(true);
    ASSERT_TRUE(secondHost->startFrameIfDue());

    auto departure = std::make_shared<Departure>();
    auto witness = std::make_unique<DepartureWitness>(
        std::vector<const ProbeView*>{first.get(), second.get()}, departure);
    const int waits = GLRenderThread::waitsForFrames();
    retireViews({first.get(), second.get()}, witness, first, second);
    firstHost.reset();
    secondHost.reset();
    EXPECT_EQ(GLRenderThread::waitsForFrames(), waits);
    EXPECT_EQ(GLRenderThread::threadsLeftToEnd(), threadsLeft + 2);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_FALSE(departure->gone);

    firstGate->open();
    EXPECT_TRUE(test::processEventsUntil([&] { return departure->gone.load(); }));
    EXPECT_FALSE(departure->whileDrawing);
    EXPECT_EQ(departure->thread, QThread::currentThread());
    // Each thread finished its frame, freed its context and ended on its own.
    EXPECT_TRUE(test::processEventsUntil([&] { return GLRenderThread::threadsLeftToEnd() == threadsLeft; }));
}

TEST_F(ThreadedOpenGLViewHostTest, ARequestMadeWhileAFrameOfItsClassDrawsRunsBeforeTheClassesNextFrameInOrder)
{
    ProbeView view;
    ProbeView sameClassView;
    ThreadedGLViewHost host(&view);
    ThreadedGLViewHost sameClass(&sameClassView);
    showAndWaitForFrame(host, QSize(80, 60));
    showAndWaitForFrame(sameClass, QSize(80, 60));

    // With no frame of the class drawing, a request runs at once, on the caller.
    bool ranAtOnce = false;
    DrawingClass::runBetweenFrames<ProbeView>([&] { ranAtOnce = true; });
    EXPECT_TRUE(ranAtOnce);

    // Requests made while a frame is held wait; a frame of the same class is due meanwhile.
    view.gate->close();
    view.held = true;
    view.setNeedsDisplay(true);
    ASSERT_TRUE(host.startFrameIfDue());
    view.gate->waitForArrival();
    sameClassView.setNeedsDisplay(true);
    ASSERT_TRUE(sameClass.startFrameIfDue());
    const int sameClassFrames = sameClassView.frames;
    struct Run {
        int request;
        int sameClassFrames;
        bool besideAFrame;
    };
    std::mutex runsGuard;
    std::vector<Run> runs;
    const auto request = [&](int number) {
        return [&, number] {
            const Run run{number, sameClassView.frames, view.classDrawing() > 0};
            std::lock_guard lock(runsGuard);
            runs.push_back(run);
        };
    };
    DrawingClass::runBetweenFrames<ProbeView>(request(1));
    DrawingClass::runBetweenFrames<ProbeView>([&] {
        request(2)();
        DrawingClass::runBetweenFrames<ProbeView>(request(3));  // queued by a request: goes last
    });
    DrawingClass::runBetweenFrames<ProbeView>(request(4));
    {
        std::lock_guard lock(runsGuard);
        EXPECT_TRUE(runs.empty());
    }
    view.held = false;
    view.gate->open();
    const auto allRan = [&] {
        std::lock_guard lock(runsGuard);
        return runs.size() == 4;
    };
    ASSERT_TRUE(test::processEventsUntil(allRan));
    settle(sameClass);
    std::lock_guard lock(runsGuard);
    // In the order they came.
    const int order[] = {1, 2, 4, 3};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(runs[i].request, order[i]);
        EXPECT_FALSE(runs[i].besideAFrame);
        // Before the frame of the class that was due drew.
        EXPECT_EQ(runs[i].sameClassFrames, sameClassFrames);
    }
    EXPECT_GT(sameClassView.frames, sameClassFrames);
}

// Near-white pixels in the band across the middle of a picture, where a paused window's message goes.
int whiteInMiddleBand(const QImage& picture)
{
    int count = 0;
    for (int y = picture.height() / 2 - 8; y < picture.height() / 2 + 8; ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += qGray(picture.pixel(x, y)) > 200;
    return count;
}

TEST_F(ThreadedOpenGLViewHostTest, AStalledFramePausesItsWindowAloneUntilItEnds)
{
    GLRenderThread::setStallTime(std::chrono::hours(1));
    QWidget slowWindow;
    QWidget otherWindow;
    ProbeView slowView;
    OtherProbeView otherView;
    ThreadedGLViewHost slow(&slowView, &slowWindow);
    ThreadedGLViewHost other(&otherView, &otherWindow);
    for (QWidget* window : {&slowWindow, &otherWindow}) {
        window->resize(200, 120);
        window->show();
    }
    showAndWaitForFrame(slow, QSize(200, 120));
    showAndWaitForFrame(other, QSize(200, 120));
    EXPECT_EQ(whiteInMiddleBand(slow.grab().toImage()), 0);

    // A frame that stalls pauses its window: the message over the last picture, its input dropped, the
    // window still closable; the other window draws on and the main thread's timers run.
    GLRenderThread::setStallTime(std::chrono::milliseconds(150));
    slowView.gate->close();
    slowView.held = true;
    slowView.setNeedsDisplay(true);
    ASSERT_TRUE(slow.startFrameIfDue());
    slowView.gate->waitForArrival();
    EXPECT_TRUE(test::processEventsUntil([&] {
        return ThreadedGLViewHost::drawingStateOf(&slowWindow) == ThreadedGLViewHost::DrawingState::Stalled;
    }));
    EXPECT_TRUE(slow.frameStalled());
    EXPECT_TRUE(test::processEventsUntil([&] { return whiteInMiddleBand(slow.grab().toImage()) > 20; }));
    QTest::mouseClick(&slow, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(slowView.clicks, 0);
    QTest::mouseClick(&other, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(otherView.clicks, 1);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    // (Drawing threads that take turns wait behind the stuck one.)
    const int otherFrames = otherView.frames;
    const int framesWanted = GLRenderThread::drawingTakesTurns() ? 0 : 3;
    EXPECT_TRUE(test::processEventsUntil([&] {
        otherView.setNeedsDisplay(true);
        other.startFrameIfDue();
        return ticks >= 5 && otherView.frames >= otherFrames + framesWanted;
    }));
    timer.stop();
    slowWindow.close();
    EXPECT_FALSE(slowWindow.isVisible());
    EXPECT_TRUE(slow.frameStalled());
    // The frame ends at last: the window answers again, the dropped click never arrived.
    slowView.held = false;
    slowView.gate->open();
    EXPECT_TRUE(test::processEventsUntil([&] {
        return ThreadedGLViewHost::drawingStateOf(&slowWindow) == ThreadedGLViewHost::DrawingState::Idle;
    }));
    EXPECT_EQ(slowView.clicks, 0);
    slowWindow.show();
    slowView.setNeedsDisplay(true);
    EXPECT_TRUE(test::processEventsUntil([&] { return whiteInMiddleBand(slow.grab().toImage()) == 0; }));
}

// A frame that waits for its class's turn (another frame of its class draws) is queueing, not drawing:
// however long it waits, it has not stopped responding and its window is not paused.
TEST_F(ThreadedOpenGLViewHostTest, AFrameWaitingForItsClassesTurnHasNotStoppedResponding)
{
    QWidget waitingWindow;
    waitingWindow.resize(120, 80);
    waitingWindow.show();
    ProbeView waitingView;
    OtherProbeView witnessView;
    ThreadedGLViewHost waiting(&waitingView, &waitingWindow);
    ThreadedGLViewHost witness(&witnessView);
    showAndWaitForFrame(waiting, QSize(120, 80));
    showAndWaitForFrame(witness, QSize(80, 60));
    if (GLRenderThread::drawingTakesTurns())
        GTEST_SKIP() << "the drawing threads take turns: the witness's frame would wait behind the other";
    GLRenderThread::setStallTime(std::chrono::milliseconds(150));

    // The class's lock is held elsewhere (as by a long frame of another view of the class).
    Gate release(false);
    Gate holding(false);
    std::thread holder([&] {
        const std::lock_guard lock(DrawingClass::lockOf(typeid(ProbeView)));
        holding.passThrough();  // counts as arrived; waits for the test to open it
        release.passThrough();
    });
    holding.waitForArrival();
    holding.open();
    release.waitForArrival();
    waitingView.setNeedsDisplay(true);
    ASSERT_TRUE(waiting.startFrameIfDue());
    // A frame of another class, started after it and held while drawing, stalls: the waiting frame has
    // been in flight for longer than the stall time by then.
    witnessView.gate->close();
    witnessView.held = true;
    witnessView.setNeedsDisplay(true);
    ASSERT_TRUE(witness.startFrameIfDue());
    EXPECT_TRUE(test::processEventsUntil([&] { return witness.frameStalled(); }));
    EXPECT_TRUE(waiting.frameInFlight());
    EXPECT_FALSE(waiting.frameStalled());
    EXPECT_EQ(ThreadedGLViewHost::drawingStateOf(&waitingWindow), ThreadedGLViewHost::DrawingState::Drawing);
    EXPECT_EQ(whiteInMiddleBand(waiting.grab().toImage()), 0);

    // Its turn comes: it draws, and ends.
    const int frames = waitingView.frames;
    release.open();
    holder.join();
    EXPECT_TRUE(
        test::processEventsUntil([&] { return waitingView.frames > frames && !waiting.frameInFlight(); }));
    EXPECT_FALSE(waiting.frameStalled());
    witnessView.held = false;
    witnessView.gate->open();
    settle(witness);
}

// A probe whose reshape (its buffers made anew at the new size) can be held at a gate.
class SlowReshapeView : public ProbeView {
public:
    void reshape() override
    {
        ProbeView::reshape();
        if (reshapeHeld)
            reshapeGate->passThrough();
    }
    const std::shared_ptr<Gate> reshapeGate = std::make_shared<Gate>();
    std::atomic<bool> reshapeHeld{false};
};

// A maximise: until a frame of the new size is there the last picture covers the whole widget, and the
// frame that resizes (however long its framebuffer and the view's buffers take) does not pause the window.
TEST_F(ThreadedOpenGLViewHostTest, AResizeIsPaintedWholeAndItsFrameDoesNotPauseTheWindow)
{
    QWidget window;
    window.resize(300, 240);
    window.show();
    SlowReshapeView view;
    OtherProbeView witnessView;
    ThreadedGLViewHost host(&view, &window);
    ThreadedGLViewHost witness(&witnessView);
    showAndWaitForFrame(host, QSize(100, 80));
    showAndWaitForFrame(witness, QSize(80, 60));

    // The frame of the new size is held while it draws: the old picture, stretched, is what shows, with
    // no black where it did not reach.
    waitForFramesAsLongAsTheyTake();
    view.gate->close();
    view.held = true;
    host.resize(200, 160);
    ASSERT_TRUE(host.startFrameIfDue());
    view.gate->waitForArrival();
    const QImage stretched = host.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(stretched.size(), QSize(200, 160) * host.devicePixelRatio());
    const qreal ratio = host.devicePixelRatio();
    EXPECT_EQ(stretched.pixel(QPoint(10, 150) * ratio), qRgb(255, 0, 0));   // the red lower left quarter
    EXPECT_EQ(stretched.pixel(QPoint(190, 150) * ratio), qRgb(0, 0, 128));  // the clear colour
    EXPECT_EQ(stretched.pixel(QPoint(190, 5) * ratio), qRgb(0, 0, 128));
    view.held = false;
    view.gate->open();
    settle(host);
    const QImage drawn = host.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(drawn.pixel(QPoint(90, 150) * ratio), qRgb(255, 0, 0));
    EXPECT_EQ(drawn.pixel(QPoint(110, 150) * ratio), qRgb(0, 0, 128));

    if (GLRenderThread::drawingTakesTurns())
        GTEST_SKIP() << "the drawing threads take turns: the witness's frame would wait behind the other";
    // The next resize's reshape takes longer than the stall time: a frame of another class, started
    // after it and held while drawing, stalls meanwhile; the resizing one has not stopped responding.
    GLRenderThread::setStallTime(std::chrono::milliseconds(150));
    view.reshapeGate->close();
    view.reshapeHeld = true;
    host.resize(260, 200);
    ASSERT_TRUE(host.startFrameIfDue());
    view.reshapeGate->waitForArrival();
    witnessView.gate->close();
    witnessView.held = true;
    witnessView.setNeedsDisplay(true);
    ASSERT_TRUE(witness.startFrameIfDue());
    EXPECT_TRUE(test::processEventsUntil([&] { return witness.frameStalled(); }));
    EXPECT_TRUE(host.frameInFlight());
    EXPECT_FALSE(host.frameStalled());
    EXPECT_EQ(ThreadedGLViewHost::drawingStateOf(&window), ThreadedGLViewHost::DrawingState::Drawing);
    EXPECT_EQ(whiteInMiddleBand(host.grab().toImage()), 0);
    view.reshapeHeld = false;
    view.reshapeGate->open();
    settle(host);
    EXPECT_FALSE(host.frameStalled());
    EXPECT_EQ(host.grab().toImage().size(), QSize(260, 200) * host.devicePixelRatio());
    witnessView.held = false;
    witnessView.gate->open();
    settle(witness);
}

TEST_F(ThreadedOpenGLViewHostTest, AHostWhoseFrameNeverEndsGoesWithoutItAndTheOthersDrawOn)
{
    GLRenderThread::setStallTime(std::chrono::milliseconds(150));
    // The stuck frame is held by the hook on a gate never opened, which is never freed (a static pointer
    // keeps it reachable for the leak checker). The view retires: it is kept for the frame, reachable.
    static Gate* keptGate = nullptr;
    Gate* const gate = keptGate = new Gate;
    gate->close();
    auto stuckView = std::make_unique<ProbeView>();
    auto stuck = std::make_unique<ThreadedGLViewHost>(stuckView.get());
    showAndWaitForFrame(*stuck, QSize(80, 60));
    OtherProbeView otherView;
    ThreadedGLViewHost other(&otherView);
    showAndWaitForFrame(other, QSize(80, 60));
    const ThreadedGLViewHost* target = stuck.get();
    ThreadedGLViewHost::setFrameHookForTests([gate, target](const ThreadedGLViewHost& host) {
        return &host == target ? std::function<void()>([gate] { gate->passThrough(); })
                               : std::function<void()>();
    });
    stuckView->setNeedsDisplay(true);
    ASSERT_TRUE(stuck->startFrameIfDue());
    gate->waitForArrival();
    // Asked for its picture, its context or to wait, it answers once the frame counts as stalled.
    EXPECT_FALSE(stuck->waitForFrame());
    EXPECT_TRUE(stuck->frameStalled());
    EXPECT_FALSE(stuck->runInViewContextNow([] {}));
    EXPECT_FALSE(stuck->grabFramebuffer().isNull());  // the last picture
    // It goes without its thread, which is left to the frame, and so is its retired view.
    const int threadsLeft = GLRenderThread::threadsLeftToEnd();
    auto departure = std::make_shared<Departure>();
    auto witness =
        std::make_unique<DepartureWitness>(std::vector<const ProbeView*>{stuckView.get()}, departure);
    retireViews({stuckView.get()}, witness, stuckView);
    stuck.reset();
    EXPECT_TRUE(GLRenderThread::anyFrameInFlight());
    EXPECT_EQ(GLRenderThread::threadsLeftToEnd(), threadsLeft + 1);
    QApplication::processEvents();
    EXPECT_FALSE(departure->gone);
    if (GLRenderThread::drawingTakesTurns())
        return;  // the other drawing threads wait behind the stuck one
    const int otherFrames = otherView.frames;
    EXPECT_TRUE(test::processEventsUntil([&] {
        otherView.setNeedsDisplay(true);
        other.startFrameIfDue();
        return otherView.frames >= otherFrames + 3;
    }));
    EXPECT_FALSE(other.grabFramebuffer().isNull());
}

}  // namespace
}  // namespace nupo
