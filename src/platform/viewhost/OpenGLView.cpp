#include "platform/viewhost/OpenGLView.h"

#include "platform/viewhost/ViewHost.h"

namespace nupo {

bool OpenGLView::makeCurrentContext()
{
    ViewHost* viewHost = host();
    return viewHost && viewHost->makeViewContextCurrent();
}

}  // namespace nupo
