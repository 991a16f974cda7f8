#include "platform/viewhost/gl/OpenGLView.h"

#include "platform/appkit/MainThread.h"
#include "platform/viewhost/gl/ViewHost.h"

#include <utility>

namespace nupo {

namespace {

thread_local OpenGLView* drawnOnThisThread = nullptr;  // the view whose frame this thread draws

}  // namespace

OpenGLView::DrawingOnThisThread::DrawingOnThisThread(OpenGLView& view)
    : previous_(std::exchange(drawnOnThisThread, &view))
{
}

OpenGLView::DrawingOnThisThread::~DrawingOnThisThread()
{
    drawnOnThisThread = previous_;
}

bool OpenGLView::makeCurrentContext()
{
    if (drawnOnThisThread == this)
        return true;
    ViewHost* viewHost = isMainThread() ? host() : nullptr;
    return viewHost && viewHost->makeViewContextCurrent();
}

bool OpenGLView::performInContext(std::function<void()> fn)
{
    if (drawnOnThisThread == this) {
        fn();
        return true;
    }
    ViewHost* viewHost = isMainThread() ? host() : nullptr;
    return viewHost && viewHost->performInViewContext(std::move(fn));
}

}  // namespace nupo
