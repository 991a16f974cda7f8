#include "platform/viewhost/OpenGLViewHost.h"

#include "platform/gl/LegacyGLFormat.h"
#include "platform/viewhost/OpenGLView.h"

namespace nupo {

OpenGLViewHost::OpenGLViewHost(OpenGLView* view, QWidget* parent) : ViewEventHost(parent), view_(view)
{
    setFormat(legacyGLSurfaceFormat());
    setFocusPolicy(Qt::StrongFocus);
    if (view_)
        view_->attachHost(this);
}

OpenGLViewHost::~OpenGLViewHost()
{
    if (view_)
        view_->detachHost(this);
}

QSize OpenGLViewHost::sizeHint() const
{
    if (view_ && !view_->frame().isEmpty())
        return view_->frame().size().toSize();
    return QOpenGLWidget::sizeHint();
}

ViewObject* OpenGLViewHost::hostedView() const
{
    return view_;
}

void OpenGLViewHost::viewNeedsDisplay()
{
    update();
}

void OpenGLViewHost::viewDetached(ViewObject* view)
{
    if (view == view_)
        view_ = nullptr;
    update();
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
    if (!prepared_) {
        view_->prepareOpenGL();
        prepared_ = true;
    }
    view_->drawRect(view_->bounds());
    view_->didDisplay();
}

}  // namespace nupo
