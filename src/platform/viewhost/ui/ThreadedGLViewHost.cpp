#include "platform/viewhost/ui/ThreadedGLViewHost.h"

#include "platform/appkit/FrameTimer.h"
#include "platform/appkit/MainThread.h"
#include "platform/viewhost/gl/DrawingClass.h"
#include "platform/viewhost/ui/FrameRateLog.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/PausedWindowInput.h"

#include <GL/gl.h>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <typeindex>
#include <utility>

namespace nupo {

namespace {

std::vector<ThreadedGLViewHost*>& threadedHosts()  // main thread only
{
    static auto* hosts = new std::vector<ThreadedGLViewHost*>;  // never destroyed, for members ending late
    return *hosts;
}

void startDueFrames()
{
    DrawingClass::runQueuedWhereIdle();
    const std::vector<ThreadedGLViewHost*> hosts = threadedHosts();
    for (ThreadedGLViewHost* host : hosts)
        host->startFrameIfDue();
}

ThreadedGLViewHost::FrameHook& frameHook()  // main thread only
{
    static ThreadedGLViewHost::FrameHook hook;
    return hook;
}

std::atomic<std::int64_t> slowFrameMilliseconds{0};

}  // namespace

// What the frames drawn in one context share with the host.
struct ThreadedGLViewHost::FrameState {
    std::atomic<bool> prepared{false};  // the view's one-time GL state is made in this context
};

namespace {

// For each view class, whether the frame that holds the class's drawing lock now has stalled (none: no
// frame of the class draws).
class ClassTurns {
public:
    static ClassTurns& instance()
    {
        static auto* turns = new ClassTurns;  // lives to process end: a stuck frame may still hold a turn
        return *turns;
    }
    void setHolder(const std::type_info& type, std::function<bool()> holderStalled)
    {
        std::function<bool()> previous;  // destroyed outside the lock
        std::lock_guard lock(mutex_);
        previous.swap(holders_[std::type_index(type)]);
        holders_[std::type_index(type)] = std::move(holderStalled);
    }
    bool holderStalled(const std::type_info& type)
    {
        std::function<bool()> stalled;
        {
            std::lock_guard lock(mutex_);
            const auto it = holders_.find(std::type_index(type));
            if (it == holders_.end() || !it->second)
                return false;
            stalled = it->second;
        }
        return stalled();
    }

private:
    std::mutex mutex_;
    std::map<std::type_index, std::function<bool()>> holders_;
};

// The frame holding its class's turn, from taking the class's lock to giving it back.
class HoldingClassTurn {
public:
    explicit HoldingClassTurn(const std::type_info& type) : type_(type)
    {
        ClassTurns::instance().setHolder(type_, GLRenderThread::stallProbeOfThisFrame());
    }
    ~HoldingClassTurn() { ClassTurns::instance().setHolder(type_, {}); }
    HoldingClassTurn(const HoldingClassTurn&) = delete;
    HoldingClassTurn& operator=(const HoldingClassTurn&) = delete;

private:
    const std::type_info& type_;
};

// On the drawing thread, with its context current, the framebuffer bound and the viewport over it: one
// frame of the view, which is alive for the frame (see ViewObject::retire).
void drawViewFrame(OpenGLView& view, std::atomic<bool>& prepared, bool resized,
                   const std::vector<std::function<void()>>& work, const std::function<void()>& hook)
{
    const OpenGLView::DrawingOnThisThread drawingHere(view);
    const std::type_info& viewClass = typeid(view);
    // Waiting for the class's turn is not drawing: the frame's stall clock stands meanwhile. Behind a
    // frame of the class that stalled, though, it is as stuck as that one, and its window says so.
    std::unique_lock classLock(DrawingClass::lockOf(viewClass), std::defer_lock);
    GLRenderThread::waitBehind([&viewClass] { return ClassTurns::instance().holderStalled(viewClass); },
                               [&classLock] { classLock.lock(); });
    const HoldingClassTurn holding(viewClass);  // given back before the lock
    DrawingClass::runQueuedLocked(viewClass);  // requests made while another frame of the class drew
    if (hook)
        hook();  // as the view's drawing would, with its class's turn
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (!prepared.load(std::memory_order_relaxed)) {
        view.prepareOpenGL();
        prepared.store(true, std::memory_order_relaxed);
    }
    // setFrameSize ran on the main thread as the frame started. Reshaping to a new size (buffers of that
    // size made anew) is not what stalls: like the framebuffer's, it runs with the stall clock stopped, so
    // that the frame of a maximise does not pause its window.
    if (resized)
        GLRenderThread::waitOffTheClock([&view] { view.reshape(); });
    for (const std::function<void()>& fn : work)
        fn();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    view.drawRect(view.bounds());
    view.didDisplay();
}

}  // namespace

ThreadedGLViewHost::ThreadedGLViewHost(OpenGLView* view, QWidget* parent)
    : ViewHostWidget(view, parent),
      renderer_(std::make_unique<GLRenderThread>(this, QStringLiteral("GL view")))
{
    // The picture covers the whole widget: nothing need be erased under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    stallWatch_ = new QTimer(this);
    stallWatch_->setSingleShot(true);
    connect(stallWatch_, &QTimer::timeout, this, [this] {
        if (!renderer_->isBusy())
            return;
        const bool stalled = renderer_->isStalled();
        if (stalled != messageShown_)
            update();  // the message, or no more
        // A frame waiting behind another's stall may get its turn (and stall itself) later: watched on.
        if (!stalled || renderer_->isWaitingBehindAStall())
            stallWatch_->start(stalled ? 50 : 10);
    });
    PausedWindowInput::install();
    if (threadedHosts().empty())
        FrameTimer::setBeatHook(startDueFrames);
    threadedHosts().push_back(this);
}

ThreadedGLViewHost::~ThreadedGLViewHost()
{
    // A view still shown (not retired) may go right after its host: its frame is waited for.
    if (view_)
        waitForFrame();
    auto& hosts = threadedHosts();
    hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
    renderer_->destroy();  // without waiting: the thread ends the frame in flight on its own
}

bool ThreadedGLViewHost::ensureContext()
{
    if (renderer_->isReady())
        return true;
    if (!renderer_->create())
        return false;
    frameState_ = std::make_shared<FrameState>();
    resized_ = true;
    return true;
}

bool ThreadedGLViewHost::makeViewContextCurrent()
{
    // The context is the drawing thread's; while the view draws there the view knows it is current
    // (OpenGLView::DrawingOnThisThread), and the main thread cannot make it current.
    return false;
}

bool ThreadedGLViewHost::performInViewContext(std::function<void()> fn)
{
    if (!renderer_->isReady())
        return false;
    contextWork_.push_back(std::move(fn));
    viewNeedsDisplay();
    return true;
}

bool ThreadedGLViewHost::runInViewContextNow(const std::function<void()>& fn)
{
    if (!ensureContext())
        return false;
    if (!contextWork_.empty() || !frameState_->prepared.load(std::memory_order_relaxed)) {
        // Work queued before (and the one-time set-up) comes first: one frame runs it.
        if (startFrame())
            renderer_->joinUnlessStalled();
    }
    return renderer_->runInContextNow(fn);
}

void ThreadedGLViewHost::viewNeedsDisplay()
{
    redrawRequested_ = true;
    scheduleStart();
}

void ThreadedGLViewHost::scheduleStart()
{
    // Frames start on the beat; without one running, on the next turn of the event loop.
    if (!FrameTimer::beatIsActive() && !kickQueued_) {
        kickQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            kickQueued_ = false;
            startFrameIfDue();
        });
    }
}

void ThreadedGLViewHost::viewDetached(ViewObject* view)
{
    waitForFrame();
    if (view == view_)
        contextWork_.clear();
    ViewHostWidget::viewDetached(view);
}

void ThreadedGLViewHost::retireView(ViewObject* view, std::shared_ptr<void> kept)
{
    if (view == view_) {
        contextWork_.clear();
        ViewHostWidget::viewDetached(view);
    }
    renderer_->releaseAfterFrame(std::move(kept));
}

bool ThreadedGLViewHost::waitForFrame()
{
    return renderer_->joinUnlessStalled();
}

quint64 ThreadedGLViewHost::framesFinished() const
{
    return renderer_->newestFrame().serial;
}

bool ThreadedGLViewHost::frameInFlight() const
{
    return renderer_->isBusy();
}

bool ThreadedGLViewHost::frameStalled() const
{
    return renderer_->isStalled();
}

bool ThreadedGLViewHost::frameWaitsBehindAStall() const
{
    return renderer_->isWaitingBehindAStall();
}

ThreadedGLViewHost::DrawingState ThreadedGLViewHost::drawingStateOf(const QWidget* window)
{
    if (!drawingViewsOf(window))
        return DrawingState::Idle;
    // Paused by a frame of its own that stalled while drawing. One that only waits behind another
    // window's stalled frame leaves its window's controls working.
    const std::vector<ThreadedGLViewHost*>& hosts = threadedHosts();
    const bool stalled = std::any_of(hosts.begin(), hosts.end(), [&](const ThreadedGLViewHost* host) {
        return (host == window || window->isAncestorOf(host)) && host->frameStalled() &&
               !host->frameWaitsBehindAStall();
    });
    return stalled ? DrawingState::Stalled : DrawingState::Drawing;
}

QString ThreadedGLViewHost::stalledMessage()
{
    return QStringLiteral("This picture stopped responding; its window is paused");
}

QString ThreadedGLViewHost::waitingMessage()
{
    return QStringLiteral("This picture waits for another window's picture, which stopped responding");
}

void ThreadedGLViewHost::setFrameHookForTests(FrameHook hook)
{
    frameHook() = std::move(hook);
}

void ThreadedGLViewHost::setSlowFramesForTests(std::chrono::milliseconds delay)
{
    slowFrameMilliseconds.store(delay.count(), std::memory_order_relaxed);
}

void ThreadedGLViewHost::slowFramesFromEnvironment()
{
    bool valid = false;
    const int milliseconds = qEnvironmentVariableIntValue("NUPO_TEST_SLOW_FRAMES", &valid);
    if (valid && milliseconds > 0)
        setSlowFramesForTests(std::chrono::milliseconds(milliseconds));
}

void ThreadedGLViewHost::stallFramesFromEnvironment()
{
    const QString title = qEnvironmentVariable("NUPO_TEST_STALL_WINDOW");
    if (title.isEmpty())
        return;
    setFrameHookForTests([title](const ThreadedGLViewHost& host) -> std::function<void()> {
        if (host.framesFinished() < 3 || !host.window()->windowTitle().contains(title))
            return {};
        return [] {
            for (;;)  // as a frame stuck in the driver: never ends
                std::this_thread::sleep_for(std::chrono::seconds(1));
        };
    });
}

bool ThreadedGLViewHost::drawingViewsOf(const QWidget* window)
{
    const std::vector<ThreadedGLViewHost*>& hosts = threadedHosts();
    if (!window)
        return std::any_of(hosts.begin(), hosts.end(),
                           [](const ThreadedGLViewHost* host) { return host->frameInFlight(); });
    std::vector<std::type_index> classes;
    for (const ThreadedGLViewHost* host : hosts) {
        if (!host->view_ || (host != window && !window->isAncestorOf(host)))
            continue;
        if (host->frameInFlight())
            return true;
        classes.emplace_back(typeid(*host->view_));
    }
    return std::any_of(hosts.begin(), hosts.end(), [&](const ThreadedGLViewHost* host) {
        return host->view_ && host->frameInFlight() &&
               std::find(classes.begin(), classes.end(), std::type_index(typeid(*host->view_))) !=
                   classes.end();
    });
}

void ThreadedGLViewHost::showEvent(QShowEvent* event)
{
    ViewHostWidget::showEvent(event);
    if (ensureContext())
        viewNeedsDisplay();
}

void ThreadedGLViewHost::resizeEvent(QResizeEvent* event)
{
    ViewHostWidget::resizeEvent(event);
    resized_ = true;  // the next frame sets the view's size and reshapes it on the thread
    viewNeedsDisplay();
}

void ThreadedGLViewHost::paintEvent(QPaintEvent*)
{
    const GLRenderThread::Frame frame = renderer_->newestFrame();
    QPainter painter(this);
    QImage image = frame.image;
    image.setDevicePixelRatio(devicePixelRatio());
    if (image.isNull()) {
        painter.fillRect(rect(), Qt::black);
    } else if (image.deviceIndependentSize() == QSizeF(size())) {
        painter.drawImage(QPointF(0, 0), image);
    } else {
        // A resize the frames have not caught up with yet (a maximise): the last picture, stretched over
        // the whole widget, until a frame of the new size is there.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect()), image);
    }
    messageShown_ = frameStalled();
    if (messageShown_) {
        // Over the last picture, in a band across the middle.
        const QRectF band(0, height() / 2.0 - 20, width(), 40);
        painter.fillRect(band, QColor(0, 0, 0, 190));
        painter.setPen(Qt::white);
        painter.drawText(band, Qt::AlignCenter | Qt::TextWordWrap,
                         frameWaitsBehindAStall() ? waitingMessage() : stalledMessage());
    }
    if (frame.serial != shownSerial_) {
        shownSerial_ = frame.serial;
        FrameRateLog::frameDrawn(this);
        if (redrawRequested_ || resized_ || !contextWork_.empty())
            scheduleStart();  // a request that came while this frame waited to be shown
    }
}

bool ThreadedGLViewHost::event(QEvent* event)
{
    // Posted by the render thread.
    if (handedOverEventType(event) == GLRenderThread::frameReadyEvent()) {
        stallWatch_->stop();
        update();
        return true;
    }
    return ViewHostWidget::event(event);
}

bool ThreadedGLViewHost::startFrameIfDue()
{
    if (!renderer_->isReady() || renderer_->isBusy() || !view_ || !isVisible())
        return false;
    if (!redrawRequested_ && !resized_ && contextWork_.empty() && !view_->needsDisplay())
        return false;
    // A finished frame still waiting to be shown (the main thread is behind) would be drawn over unseen:
    // this beat's frame is dropped instead.
    if (renderer_->newestFrame().serial != shownSerial_)
        return false;
    return startFrame();
}

bool ThreadedGLViewHost::startFrame()
{
    if (!view_ || !renderer_->isReady() || renderer_->isBusy())
        return false;
    const QSize devicePixels = size() * devicePixelRatio();
    std::vector<std::function<void()>> work = std::move(contextWork_);
    contextWork_.clear();
    const bool resized = resized_;
    // The synchronisation step: no frame of this view is in flight.
    if (resized)
        view_->setFrameSize(QSizeF(size()));
    view_->synchronizeFrame();
    std::function<void()> hook = frameHook() ? frameHook()(*this) : std::function<void()>();
    const std::chrono::milliseconds slow(slowFrameMilliseconds.load(std::memory_order_relaxed));
    // The frame holds the view and the state of its context, never the host.
    const bool started =
        renderer_->startFrame(devicePixels, [view = view_, state = frameState_, resized, work, hook, slow] {
            if (slow.count() > 0)
                std::this_thread::sleep_for(slow);
            drawViewFrame(*view, state->prepared, resized, work, hook);
        });
    if (!started) {
        contextWork_ = std::move(work);
        return false;
    }
    resized_ = false;
    redrawRequested_ = false;
    stallWatch_->start(
        int(std::chrono::ceil<std::chrono::milliseconds>(GLRenderThread::stallTime()).count()) + 1);
    return true;
}

QImage ThreadedGLViewHost::grabFramebuffer()
{
    if (!waitForFrame() || !ensureContext())
        return renderer_->newestFrame().image;
    if (startFrame())
        renderer_->joinUnlessStalled();
    return renderer_->newestFrame().image;
}

}  // namespace nupo
