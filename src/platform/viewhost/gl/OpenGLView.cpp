#include "platform/viewhost/gl/OpenGLView.h"

#include "platform/viewhost/gl/ViewHost.h"

#include <utility>

namespace nupo {

bool OpenGLView::makeCurrentContext()
{
    ViewHost* viewHost = host();
    return viewHost && viewHost->makeViewContextCurrent();
}

bool OpenGLView::performInContext(std::function<void()> fn)
{
    ViewHost* viewHost = host();
    return viewHost && viewHost->performInViewContext(std::move(fn));
}

}  // namespace nupo
