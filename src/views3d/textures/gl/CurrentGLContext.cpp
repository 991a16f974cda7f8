#include "views3d/textures/gl/CurrentGLContext.h"

#include <EGL/egl.h>
#include <GL/glx.h>

namespace nupo {

const void* currentGLContext()
{
    if (EGLContext egl = eglGetCurrentContext(); egl != EGL_NO_CONTEXT)
        return egl;
    return glXGetCurrentContext();
}

}  // namespace nupo
