#include "platform/viewhost/ui/OpenGLViewHost.h"

#include "platform/appkit/FrameTimer.h"
#include "platform/gl/LegacyGLFormat.h"
#include "platform/viewhost/ui/FrameRateLog.h"
#include "platform/viewhost/ui/GLRenderThread.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QTimer>

#include <algorithm>
#include <mutex>
#include <utility>

namespace nupo {

namespace {

OpenGLViewHost::Drawing plotDrawingMode = OpenGLViewHost::Drawing::OnMainThread;

std::vector<OpenGLViewHost*>& threadedHosts()  // main thread only
{
    static std::vector<OpenGLViewHost*> hosts;
    return hosts;
}

void startDueFrames()
{
    const std::vector<OpenGLViewHost*> hosts = threadedHosts();
    for (OpenGLViewHost* host : hosts)
        host->startFrameIfDue();
}

}  // namespace

OpenGLViewHost::OpenGLViewHost(OpenGLView* view, QWidget* parent, Drawing drawing)
    : ViewHostWidget(view, parent)
{
    setFormat(legacyGLSurfaceFormat());
    if (drawing == Drawing::OnOwnThread) {
        renderer_ = std::make_unique<GLRenderThread>(this, QStringLiteral("GL view"));
        if (threadedHosts().empty())
            FrameTimer::setBeatHook(startDueFrames);
        threadedHosts().push_back(this);
    }
}

OpenGLViewHost::~OpenGLViewHost()
{
    if (!renderer_)
        return;
    auto& hosts = threadedHosts();
    hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
    renderer_->destroy();
    freeReadBuffer();
}

bool OpenGLViewHost::isSupported()
{
    static const bool supported = [] {
        QOpenGLContext context;
        context.setFormat(legacyGLSurfaceFormat());
        return context.create();
    }();
    return supported;
}

OpenGLViewHost::Drawing OpenGLViewHost::plotDrawing()
{
    // NUPO_GL_THREADS=1 starts with threaded drawing, so that the window tests can run either way.
    static const bool fromEnvironment = [] {
        if (qEnvironmentVariableIntValue("NUPO_GL_THREADS") == 1)
            setPlotDrawing(Drawing::OnOwnThread);
        return true;
    }();
    (void)fromEnvironment;
    return plotDrawingMode;
}

void OpenGLViewHost::setPlotDrawing(Drawing drawing)
{
    plotDrawingMode = drawing;
    if (drawing == Drawing::OnOwnThread)
        GLRenderThread::setEventJoin(true);
}

bool OpenGLViewHost::makeViewContextCurrent()
{
    if (renderer_ && renderer_->isCurrentThread())
        return true;  // drawing: the thread's context is current
    if (!isValid())
        return false;
    makeCurrent();
    return true;
}

bool OpenGLViewHost::performInViewContext(std::function<void()> fn)
{
    if (!renderer_)
        return ViewHostWidget::performInViewContext(std::move(fn));
    if (renderer_->isCurrentThread()) {
        fn();
        return true;
    }
    if (!renderer_->isReady())
        return false;
    contextWork_.push_back(std::move(fn));
    viewNeedsDisplay();
    return true;
}

void OpenGLViewHost::viewNeedsDisplay()
{
    if (!renderer_) {
        update();
        return;
    }
    redrawRequested_ = true;
    scheduleStart();
}

void OpenGLViewHost::scheduleStart()
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

void OpenGLViewHost::viewDetached(ViewObject* view)
{
    waitForFrame();
    if (view == view_)
        contextWork_.clear();
    ViewHostWidget::viewDetached(view);
}

void OpenGLViewHost::waitForFrame()
{
    if (renderer_)
        renderer_->join();
}

quint64 OpenGLViewHost::framesFinished() const
{
    return renderer_ ? renderer_->newestFrame().serial : 0;
}

bool OpenGLViewHost::frameInFlight() const
{
    return renderer_ && renderer_->isBusy();
}

void OpenGLViewHost::initializeGL()
{
    // A new context (first show, or a move to another top-level window) needs the one-time state again.
    if (!renderer_) {
        prepared_ = false;
        return;
    }
    readBuffer_ = 0;  // belonged to the old context, gone with it
    shownSerial_ = 0;
    renderer_->create(context());  // waits for the frame in flight and frees the old context's objects
    prepared_ = false;
    makeCurrent();
    resized_ = true;
    viewNeedsDisplay();
}

void OpenGLViewHost::resizeGL(int, int)
{
    if (renderer_) {
        resized_ = true;  // the next frame sets the view's size and reshapes it on the thread
        viewNeedsDisplay();
        return;
    }
    if (!view_)
        return;
    if (!prepared_) {
        view_->prepareOpenGL();
        prepared_ = true;
    }
    // Logical size, as the views measure themselves; the viewport is in device pixels already.
    view_->setFrameSize(QSizeF(size()));
    view_->reshape();
}

void OpenGLViewHost::paintGL()
{
    if (renderer_) {
        showNewestFrame();
        return;
    }
    if (!view_)
        return;
    if (!prepared_) {
        view_->prepareOpenGL();
        prepared_ = true;
    }
    view_->drawRect(view_->bounds());
    view_->didDisplay();
    FrameRateLog::frameDrawn(this);
}

bool OpenGLViewHost::event(QEvent* event)
{
    if (event->type() == GLRenderThread::frameReadyEvent()) {
        update();
        return true;
    }
    return ViewHostWidget::event(event);
}

bool OpenGLViewHost::startFrameIfDue()
{
    if (!renderer_ || !renderer_->isReady() || renderer_->isBusy() || !view_ || !isVisible())
        return false;
    if (!redrawRequested_ && !resized_ && contextWork_.empty() && !view_->needsDisplay())
        return false;
    // A finished frame still waiting to be shown (the main thread is behind) would be drawn over unseen:
    // this beat's frame is dropped instead.
    if (renderer_->newestFrame().serial != shownSerial_)
        return false;
    return startFrame();
}

bool OpenGLViewHost::startFrame()
{
    if (!view_ || !renderer_->isReady() || renderer_->isBusy())
        return false;
    const QSize devicePixels = size() * devicePixelRatio();
    const QSizeF logical(size());
    std::vector<std::function<void()>> work = std::move(contextWork_);
    contextWork_.clear();
    const bool resized = resized_;
    const bool started = renderer_->startFrame(
        devicePixels, [this, logical, resized, work] { drawFrameOnThread(logical, resized, work); });
    if (!started) {
        contextWork_ = std::move(work);
        return false;
    }
    resized_ = false;
    redrawRequested_ = false;
    return true;
}

// On the thread, with its context current, the back framebuffer bound and the viewport over it.
void OpenGLViewHost::drawFrameOnThread(QSizeF size, bool resized,
                                       const std::vector<std::function<void()>>& work)
{
    if (!view_)
        return;
    GLint viewport[4] = {};
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    gl->glGetIntegerv(GL_VIEWPORT, viewport);
    if (!prepared_) {
        view_->prepareOpenGL();
        prepared_ = true;
    }
    if (resized) {
        view_->setFrameSize(size);
        view_->reshape();
    }
    for (const std::function<void()>& fn : work)
        fn();
    gl->glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    view_->drawRect(view_->bounds());
    view_->didDisplay();
}

// Copies the newest finished frame into the widget's framebuffer.
void OpenGLViewHost::showNewestFrame()
{
    QOpenGLExtraFunctions* gl = context()->extraFunctions();
    const GLRenderThread::Frame frame = renderer_->newestFrame();
    const QSize target = size() * devicePixelRatio();
    if (frame.texture == 0 || frame.size != target) {
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
    }
    if (frame.texture == 0)
        return;
    if (readBuffer_ == 0)
        gl->glGenFramebuffers(1, &readBuffer_);
    gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, readBuffer_);
    gl->glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, frame.texture, 0);
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, defaultFramebufferObject());
    const int width = std::min(frame.size.width(), target.width());
    const int height = std::min(frame.size.height(), target.height());
    gl->glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl->glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    // The thread may draw into this texture again once a newer frame is finished: the copy must be
    // done by then, and only the main thread starts frames.
    gl->glFinish();
    if (frame.serial != shownSerial_) {
        shownSerial_ = frame.serial;
        FrameRateLog::frameDrawn(this);
        if (redrawRequested_ || resized_ || !contextWork_.empty())
            scheduleStart();  // a request that came while this frame waited to be shown
    }
}

void OpenGLViewHost::freeReadBuffer()
{
    if (readBuffer_ == 0 || !isValid())
        return;
    makeCurrent();
    context()->extraFunctions()->glDeleteFramebuffers(1, &readBuffer_);
    readBuffer_ = 0;
    doneCurrent();
}

QImage OpenGLViewHost::grabFramebuffer()
{
    if (!renderer_)
        return QOpenGLWidget::grabFramebuffer();
    waitForFrame();
    if (!renderer_->isReady())
        QOpenGLWidget::grabFramebuffer();  // makes the widget's context, and with it the thread's
    if (startFrame())
        renderer_->join();
    return QOpenGLWidget::grabFramebuffer();
}

}  // namespace nupo
