#include "platform/viewhost/gl/OpenGLView.h"

#include "platform/viewhost/gl/ViewHost.h"

namespace nupo {

bool OpenGLView::makeCurrentContext()
{
    ViewHost* viewHost = host();
    return viewHost && viewHost->makeViewContextCurrent();
}

}  // namespace nupo
