#include "views3d/scene/gl/QX3DSpectrumScene.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"

namespace nupo {

// The frame's scene: the data step, then the drawing, with the view's settings and this frame's camera.
int QX3DSpectrumGLDrawing::drawScene(const SceneCamera& camera)
{
    const QX3DSpectrumGLView& v = view_;
    SceneFrame frame;
    frame.displayUnn = v.Viwe_Angle_value;
    frame.Viwe_Angle1 = v.Viwe_Angle1_value;
    frame.Viwe_Angle2 = v.Viwe_Angle2_value;
    frame.Viwe_Mode = v.Viwe_Mode_value;
    frame.oneBrain = v.oneBrainwave.load(std::memory_order_relaxed);
    frame.towBrain = v.towBrainwave.load(std::memory_order_relaxed);
    frame.shapeC = v.shapeChange.load(std::memory_order_relaxed);
    frame.sph = camera.sphi;
    frame.sthet = camera.stheta;
    frame.Xposi = camera.Xposition;
    frame.Yposi = camera.Yposition;
    frame.sdept = camera.sdepth;
    frame.DX = v.downX;
    frame.DY = v.downY;
    frame.drawS = v.drawSW;
    frame.displayUnnMode = v.displayUnnMode;
    frame.texture = v.textureMode;
    frame.RunTexture = v.RunTextureX;
    frame.RunbyBrainsw = v.RunbyBrainswX;
    frame.Env = v.EnvMode;
    frame.EnvModeC = v.EnvModeChanged;
    frame.ImageNX = v.ImageNXopen;
    frame.maxImageNX = v.maxImageNXopen;
    frame.PColor = v.PColor_value;
    frame.FColor = v.FColor_value;
    frame.Color_Map = v.Color_Map_value;
    frame.Dynamic_Texture = v.Dynamic_Texture_value;
    frame.drawM = v.drawSWMain;
    frame.TopNON = v.TopNO;
    frame.startFrequency = v.StartFrequencyXX.load(std::memory_order_relaxed);
    QX3DSpectrumScene& scene = QX3DSpectrumScene::sharedQX3DSpectrumScene();
    scene.runDataStep(frame);
    return scene.drawFrame(frame);
}

}  // namespace nupo
