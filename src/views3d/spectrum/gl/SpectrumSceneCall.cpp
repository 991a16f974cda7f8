#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"

namespace nupo {

// Until the scene composer is in, the frame shows the cleared background only.
int QX3DSpectrumGLDrawing::drawScene(const SceneCamera&)
{
    return view_.ImageNXopen;
}

}  // namespace nupo
