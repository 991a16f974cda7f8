#include "platform/viewhost/ui/GLRenderThread.h"

#include "platform/appkit/MainThread.h"

#include <QCoreApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <algorithm>
#include <vector>

namespace nupo {

namespace {

std::atomic<int> framesInFlight{0};
std::atomic<int> mainThreadWaits{0};

std::vector<GLRenderThread*>& renderThreads()  // main thread only
{
    static std::vector<GLRenderThread*> threads;
    return threads;
}

// Joins every frame in flight before the main thread delivers an event that may touch a view.
class EventJoin : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (framesInFlight.load(std::memory_order_acquire) == 0)
            return false;
        switch (event->type()) {
            case QEvent::Paint:
            case QEvent::UpdateRequest:
            case QEvent::UpdateLater:
            case QEvent::Expose:
                return false;
            default:
                if (event->type() != GLRenderThread::frameReadyEvent())
                    GLRenderThread::waitForAll();
                return false;
        }
    }
};

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

bool GLRenderThread::create(QOpenGLContext* share)
{
    destroy();
    if (!share)
        return false;
    auto surface = std::make_unique<QOffscreenSurface>();  // made on the main thread, as it must be
    surface->setFormat(share->format());
    surface->create();
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(share->format());
    context->setShareContext(share);
    if (!surface->isValid() || !context->create())
        return false;
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
    back_ = 0;
    std::lock_guard lock(mutex_);
    newest_ = Frame{};
}

void GLRenderThread::freeOnThread()
{
    context_->makeCurrent(surface_);
    for (auto& buffer : buffers_)
        buffer.reset();
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

// Render threads draw one frame at a time among themselves: the views share engines and state between
// instances of a class, and Mesa's llvmpipe crashes now and then when contexts of one share group draw
// at the same time. They still draw in parallel with the main thread.
static std::mutex& drawingLock()
{
    static std::mutex lock;
    return lock;
}

void GLRenderThread::drawFrame(QSize size, const std::function<void()>& draw)
{
    std::unique_lock drawing(drawingLock());
    auto& buffer = buffers_[back_];
    const bool current = context_->makeCurrent(surface_);
    if (current) {
        if (!buffer || buffer->size() != size) {
            QOpenGLFramebufferObjectFormat format;
            format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
            format.setSamples(0);
            buffer.reset();
            buffer = std::make_unique<QOpenGLFramebufferObject>(size, format);
        }
        buffer->bind();
        QOpenGLFunctions* gl = context_->functions();
        gl->glViewport(0, 0, size.width(), size.height());
        draw();
        gl->glFinish();
        buffer->release();
    }
    drawing.unlock();
    std::lock_guard lock(mutex_);
    if (current && buffer->isValid()) {
        newest_ = Frame{buffer->texture(), size, newest_.serial + 1};
        back_ = 1 - back_;
        // Posted before the frame counts as finished: the receiver outlives every frame it started.
        postToMainThread(receiver_, new QEvent(frameReadyEvent()));
    }
    busy_.store(false, std::memory_order_release);
    framesInFlight.fetch_sub(1, std::memory_order_acq_rel);
    finished_.notify_all();
}

void GLRenderThread::join()
{
    std::unique_lock lock(mutex_);
    if (!busy_.load(std::memory_order_relaxed))
        return;
    mainThreadWaits.fetch_add(1, std::memory_order_relaxed);
    finished_.wait(lock, [this] { return !busy_.load(std::memory_order_relaxed); });
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
}

}  // namespace nupo
