#include "platform/viewhost/ui/OpenGLViewHost.h"

#include "platform/gl/LegacyGLFormat.h"
#include "platform/viewhost/ui/FrameRateLog.h"

#include <QOpenGLContext>

namespace nupo {

OpenGLViewHost::OpenGLViewHost(OpenGLView* view, QWidget* parent) : ViewHostWidget(view, parent)
{
    setFormat(legacyGLSurfaceFormat());
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

namespace {

OpenGLViewHost::Drawing plotDrawingMode = OpenGLViewHost::Drawing::OnMainThread;

}  // namespace

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
}

bool OpenGLViewHost::makeViewContextCurrent()
{
    if (!isValid())
        return false;
    makeCurrent();
    return true;
}

void OpenGLViewHost::initializeGL()
{
    // A new context (first show, or a move to another top-level window) needs the one-time state again.
    prepared_ = false;
}

void OpenGLViewHost::resizeGL(int, int)
{
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
    if (!view_)
        return;
    view_->synchronizeFrame();
    if (!prepared_) {
        view_->prepareOpenGL();
        prepared_ = true;
    }
    view_->drawRect(view_->bounds());
    view_->didDisplay();
    FrameRateLog::frameDrawn(this);
}

}  // namespace nupo
