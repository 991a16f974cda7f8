#include "platform/viewhost/ui/GLRenderThread.h"

#include "platform/appkit/MainThread.h"
#include "platform/appkit/ThreadSanitizerBuild.h"
#include "platform/gl/OffscreenGLContext.h"

#include <GL/gl.h>
#include <QCoreApplication>
#include <QSurfaceFormat>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

namespace nupo {

namespace {

std::atomic<int> framesInFlight{0};
std::atomic<int> mainThreadWaits{0};
std::atomic<std::int64_t> mainThreadWaitNanoseconds{0};

std::vector<GLRenderThread*>& renderThreads()  // main thread only
{
    static std::vector<GLRenderThread*> threads;
    return threads;
}

// Joins every frame in flight before the main thread delivers an event that may touch a view. Painting
// and the timers marked independent of drawing (the windows' beat) go on beside the frames.
class EventJoin : public QObject {
protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (framesInFlight.load(std::memory_order_acquire) == 0)
            return false;
        const QEvent::Type type = handedOverEventType(event);  // some are posted by other threads
        switch (type) {
            case QEvent::Paint:
            case QEvent::UpdateRequest:
            case QEvent::UpdateLater:
            case QEvent::Expose:
            case QEvent::LayoutRequest:  // widgets' layouts; a view hears of its size through Resize
            case QEvent::ChildAdded:     // Qt's own bookkeeping of children (style animations come and go)
            case QEvent::ChildPolished:
            case QEvent::ChildRemoved:
                return false;
            case QEvent::Timer:
                if (isIndependentOfDrawing(receiver))
                    return false;
                [[fallthrough]];
            default:
                if (type != GLRenderThread::frameReadyEvent())
                    GLRenderThread::waitForAll();
                return false;
        }
    }
};

// The framebuffer's colour as it lies there, bottom row first (see finishFrame).
QImage readFrame(QSize size, bool opaque)
{
    QImage image(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, size.width(), size.height(), GL_BGRA, GL_UNSIGNED_BYTE, image.bits());
    return image;
}

// The frame read as a picture, top row first. Without alpha in the format the frame is opaque, whatever
// the drawing left in the alpha channel, as the widget would show it. Needs no GL.
void finishFrame(QImage& image, bool opaque)
{
    if (image.isNull())
        return;
    image.mirror();
    if (opaque) {
        auto* pixel = reinterpret_cast<quint32*>(image.bits());
        for (qsizetype i = 0, count = qsizetype(image.width()) * image.height(); i < count; ++i)
            pixel[i] |= 0xff000000u;
    }
}

// Mesa's software drivers (llvmpipe, whose contexts of one driver instance share one rasteriser, softpipe,
// swrast) crash now and then with several threads drawing in contexts of one instance at once, llvmpipe
// inside glBitmap or while a frame is read back. Drawing threads whose context shares its instance with
// others therefore take turns, each still off the main thread, and in the order they asked, so that no
// window waits behind the others' frames twice.
std::atomic<bool> anyTakesTurns{false};

class Turns {
public:
    static Turns& queue()
    {
        static Turns turns;
        return turns;
    }
    unsigned take()
    {
        std::unique_lock lock(mutex_);
        const unsigned ticket = next_++;
        changed_.wait(lock, [&] { return serving_ == ticket; });
        return ticket;
    }
    void pass()
    {
        {
            std::lock_guard lock(mutex_);
            ++serving_;
        }
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    unsigned next_ = 0;
    unsigned serving_ = 0;
};

// A drawing thread's turn, where it needs one, while it holds it.
class Turn {
public:
    explicit Turn(bool needed)
    {
        if (needed) {
            Turns::queue().take();
            held_ = true;
        }
    }
    ~Turn() { release(); }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    void release()
    {
        if (std::exchange(held_, false))
            Turns::queue().pass();
    }

private:
    bool held_ = false;
};

// Built for ThreadSanitizer, a drawing thread makes its context and draws a first, hidden picture in
// turns with the others. LLVM, with which llvmpipe compiles its shaders, makes its process-wide objects
// the first time they are asked for and publishes them through atomics of its own that ThreadSanitizer
// does not see; in turns, every thread's first compiling comes after the one before. The views' own
// frames then draw at once, so that our drawing code stays checked for what views of several kinds share.
#if defined(NUPO_THREAD_SANITIZER)
constexpr bool warmUpInTurns = true;
#else
constexpr bool warmUpInTurns = false;
#endif

// With a context current: lit, depth-tested geometry and a bitmap, read back, leaving the state as it was.
void drawHiddenPicture()
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glBegin(GL_TRIANGLES);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(0.0f, 1.0f);
    glEnd();
    glDisable(GL_LIGHTING);
    const GLubyte bit = 0x80;
    glRasterPos2f(0.0f, 0.0f);
    glBitmap(1, 1, 0.0f, 0.0f, 0.0f, 0.0f, &bit);
    GLubyte pixel[4] = {};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glPopAttrib();
}

// With a context current: whether it is one of Mesa's software drivers (or says nothing of itself).
bool isSoftwareDriver()
{
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const QByteArray name = QByteArray(renderer ? renderer : "").toLower();
    return name.isEmpty() || name.contains("llvmpipe") || name.contains("softpipe") ||
           name.contains("swrast");
}

}  // namespace

GLRenderThread::GLRenderThread(QObject* receiver, const QString& name) : receiver_(receiver), worker_(name)
{
    renderThreads().push_back(this);
}

GLRenderThread::~GLRenderThread()
{
    destroy();
    auto& threads = renderThreads();
    threads.erase(std::remove(threads.begin(), threads.end(), this), threads.end());
}

bool GLRenderThread::create(const QSurfaceFormat& format)
{
    destroy();
    opaque_ = format.alphaBufferSize() <= 0;
    worker_.start();
    bool made = false;
    runOnThreadAndWait([&] {
        const Turn turn(warmUpInTurns);
        // Sized at the first frame.
        auto context =
            std::make_unique<OffscreenGLContext>(QSize(1, 1), OffscreenGLContext::Driver::OwnInstance);
        if (!context->isValid())
            return;
        takesTurns_ = context->sharesDriver() && isSoftwareDriver();
        if (warmUpInTurns)
            drawHiddenPicture();
        if (takesTurns_)
            anyTakesTurns.store(true, std::memory_order_release);
        context_ = std::move(context);
        made = true;
    });
    if (!made) {
        worker_.stop();
        return false;
    }
    ready_ = true;
    return true;
}

void GLRenderThread::destroy()
{
    if (!ready_)
        return;
    join();
    worker_.runOnThread([this] {
        const Turn turn(takesTurns_);
        context_.reset();
    });
    worker_.stop();  // runs the freeing first
    ready_ = false;
    std::lock_guard lock(mutex_);
    newest_ = Frame{};
}

bool GLRenderThread::startFrame(QSize devicePixels, std::function<void()> draw)
{
    if (!ready_ || devicePixels.isEmpty() || isBusy())
        return false;
    {
        std::lock_guard lock(mutex_);
        busy_.store(true, std::memory_order_release);
    }
    framesInFlight.fetch_add(1, std::memory_order_acq_rel);
    worker_.runOnThread([this, devicePixels, draw = std::move(draw)] { drawFrame(devicePixels, draw); });
    return true;
}

void GLRenderThread::drawFrame(QSize size, const std::function<void()>& draw)
{
    QImage image;
    Turn turn(takesTurns_);
    // Current, with the framebuffer of that size bound and the viewport over it.
    if (context_->resize(size)) {
        draw();
        image = readFrame(size, opaque_);
    }
    turn.release();
    finishFrame(image, opaque_);
    std::lock_guard lock(mutex_);
    if (!image.isNull()) {
        newest_ = Frame{std::move(image), newest_.serial + 1};
        // Posted before the frame counts as finished: the receiver outlives every frame it started.
        postToMainThread(receiver_, new QEvent(frameReadyEvent()));
    }
    busy_.store(false, std::memory_order_release);
    framesInFlight.fetch_sub(1, std::memory_order_acq_rel);
    finished_.notify_all();
}

void GLRenderThread::runOnThreadAndWait(const std::function<void()>& fn)
{
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    const bool queued = worker_.runOnThread([&] {
        fn();
        std::lock_guard lock(doneMutex);
        done = true;
        doneSignal.notify_all();
    });
    if (!queued)
        return;
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return done; });
}

bool GLRenderThread::runInContextNow(const std::function<void()>& fn)
{
    if (!ready_)
        return false;
    join();
    runOnThreadAndWait([&] {
        const Turn turn(takesTurns_);
        if (context_->makeCurrent())
            fn();
    });
    return true;
}

void GLRenderThread::join()
{
    std::unique_lock lock(mutex_);
    if (!busy_.load(std::memory_order_relaxed))
        return;
    mainThreadWaits.fetch_add(1, std::memory_order_relaxed);
    const auto start = std::chrono::steady_clock::now();
    finished_.wait(lock, [this] { return !busy_.load(std::memory_order_relaxed); });
    mainThreadWaitNanoseconds.fetch_add(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start)
            .count(),
        std::memory_order_relaxed);
}

bool GLRenderThread::drawingTakesTurns()
{
    return anyTakesTurns.load(std::memory_order_acquire);
}

GLRenderThread::Frame GLRenderThread::newestFrame() const
{
    std::lock_guard lock(mutex_);
    return newest_;
}

void GLRenderThread::waitForAll()
{
    if (framesInFlight.load(std::memory_order_acquire) == 0)
        return;
    for (GLRenderThread* thread : renderThreads())
        thread->join();
}

int GLRenderThread::waitsForFrames()
{
    return mainThreadWaits.load(std::memory_order_relaxed);
}

double GLRenderThread::secondsWaitedForFrames()
{
    return double(mainThreadWaitNanoseconds.load(std::memory_order_relaxed)) * 1e-9;
}

QEvent::Type GLRenderThread::frameReadyEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void GLRenderThread::setEventJoin(bool on)
{
    static EventJoin* join = nullptr;  // lives to process end once made
    if (!QCoreApplication::instance())
        return;
    if (!join)
        join = new EventJoin;
    QCoreApplication::instance()->removeEventFilter(join);
    if (on)
        QCoreApplication::instance()->installEventFilter(join);
    // Timers marked independent of drawing wait through this where they touch what the views draw from.
    setDrawingWait(on ? std::function<void()>(&GLRenderThread::waitForAll) : std::function<void()>());
}

}  // namespace nupo
