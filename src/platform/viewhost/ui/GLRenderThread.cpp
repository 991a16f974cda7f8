#include "platform/viewhost/ui/GLRenderThread.h"

#include "platform/appkit/MainThread.h"

#include <QCoreApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

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
QImage readFrame(QOpenGLFunctions* gl, QSize size, bool opaque)
{
    QImage image(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
    gl->glReadPixels(0, 0, size.width(), size.height(), GL_BGRA, GL_UNSIGNED_BYTE, image.bits());
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

// Mesa's software drivers (llvmpipe, whose contexts share one rasteriser, softpipe, swrast) crash now and
// then with several threads drawing in contexts of their own at once, llvmpipe inside glBitmap or while a
// frame is read back: with such a driver the drawing threads take turns, each still off the main
// thread, and in the order they asked, so that no window waits behind the others' frames twice. Until
// the first context has said which driver it is, they take turns too.
std::atomic<int> turnsNeeded{-1};  // -1 not known yet, 0 no, 1 yes

class Turns {
public:
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

// A drawing thread's turn, while it holds one.
class Turn {
public:
    Turn()
    {
        if (turnsNeeded.load(std::memory_order_acquire) != 0) {
            turns().take();
            held_ = true;
        }
    }
    ~Turn() { release(); }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    void release()
    {
        if (std::exchange(held_, false))
            turns().pass();
    }

private:
    static Turns& turns()
    {
        static Turns queue;
        return queue;
    }
    bool held_ = false;
};

void noteDriver(QOpenGLFunctions* gl)
{
    if (turnsNeeded.load(std::memory_order_acquire) != -1)
        return;
    const auto* renderer = reinterpret_cast<const char*>(gl->glGetString(GL_RENDERER));
    const QByteArray name = QByteArray(renderer ? renderer : "").toLower();
    const bool software =
        name.isEmpty() || name.contains("llvmpipe") || name.contains("softpipe") || name.contains("swrast");
    turnsNeeded.store(software ? 1 : 0, std::memory_order_release);
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
    auto surface = std::make_unique<QOffscreenSurface>();  // made on the main thread, as it must be
    surface->setFormat(format);
    surface->create();
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(format);
    if (!surface->isValid() || !context->create())
        return false;
    opaque_ = context->format().alphaBufferSize() <= 0;
    worker_.start();
    context->moveToThread(worker_.qThread());
    surface_ = surface.release();
    context_ = context.release();
    return true;
}

void GLRenderThread::destroy()
{
    if (!context_)
        return;
    join();
    worker_.runOnThread([this] { freeOnThread(); });
    worker_.stop();  // runs the freeing first
    context_ = nullptr;
    delete surface_;
    surface_ = nullptr;
    std::lock_guard lock(mutex_);
    newest_ = Frame{};
}

void GLRenderThread::freeOnThread()
{
    const Turn turn;
    context_->makeCurrent(surface_);
    buffer_.reset();
    context_->doneCurrent();
    delete context_;
}

bool GLRenderThread::startFrame(QSize devicePixels, std::function<void()> draw)
{
    if (!context_ || devicePixels.isEmpty() || isBusy())
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
    Turn turn;
    if (context_->makeCurrent(surface_)) {
        noteDriver(context_->functions());
        if (!buffer_ || buffer_->size() != size) {
            QOpenGLFramebufferObjectFormat format;
            format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
            format.setSamples(0);
            buffer_.reset();
            buffer_ = std::make_unique<QOpenGLFramebufferObject>(size, format);
        }
        if (buffer_->isValid()) {
            buffer_->bind();
            QOpenGLFunctions* gl = context_->functions();
            gl->glViewport(0, 0, size.width(), size.height());
            draw();
            image = readFrame(gl, size, opaque_);
            buffer_->release();
        }
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

bool GLRenderThread::runInContextNow(const std::function<void()>& fn)
{
    if (!context_)
        return false;
    join();
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    worker_.runOnThread([&] {
        {
            const Turn turn;
            if (context_->makeCurrent(surface_)) {
                if (buffer_)
                    buffer_->bind();
                fn();
            }
        }
        std::lock_guard lock(doneMutex);
        done = true;
        doneSignal.notify_all();
    });
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return done; });
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
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count(),
        std::memory_order_relaxed);
}

bool GLRenderThread::drawingTakesTurns()
{
    return turnsNeeded.load(std::memory_order_acquire) != 0;
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
