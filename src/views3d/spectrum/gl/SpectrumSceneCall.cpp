#include "views3d/scene/gl/QX3DSpectrumScene.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"

namespace nupo {

// The frame's scene: the data step, then the drawing, with the frame's copy of the view's settings and
// camera, and the image number the last frame left.
int QX3DSpectrumGLDrawing::drawScene()
{
    SceneFrame frame = copy_.scene;
    frame.ImageNX = imageNumber_;
    QX3DSpectrumScene& scene = QX3DSpectrumScene::sharedQX3DSpectrumScene();
    scene.runDataStep(frame);
    return scene.drawFrame(frame);
}

}  // namespace nupo
