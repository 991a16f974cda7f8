// The 3D view's camera: presets and their ten-frame move, drags, hot spots, the overlay camera's
// projection, the wheel and the idle look-at moves.
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/spectrum/SpectrumCamera.h"
#include "views3d/spectrum/SpectrumViewSettings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace nupo;

TEST(SpectrumCamera, PresetTableByLayoutWithItsSceneModesAndTopView)
{
    struct Case {
        int n, layout;
        SceneCamera target;
        std::optional<float> mode;
        std::optional<int> top;
    };
    const Case cases[] = {
        {0, 0, {90, 43.75f, 0, 6, 144.1f}, 16.0f, {}},
        {0, 1, {90, 43.75f, 0, 6, 144.1f}, 16.0f, {}},
        {0, 2, {90, 45.25f, 0, -40, 232.1f}, 16.0f, {}},
        {0, 3, {90, 45.25f, 0, -40, 232.0f}, 16.0f, {}},
        {0, 13, {90, 56, 1, -4, 80}, 0.0f, {}},
        {1, 0, {90, 0, 0, -38, 155.1f}, {}, {}},
        {1, 1, {90, 0, 0, -36, 155.1f}, {}, {}},
        {1, 2, {90, 0, 0, -36, 432.1f}, 40.0f, 1},
        {1, 3, {90, 0, 0, -38, 442}, 40.0f, 1},
        {1, 7, {90, 0, 0, -36, 128.3f}, {}, {}},
        {2, 3, {0, 82.25f, -46, -26, 222}, {}, {}},
        {3, 2, {49.5f, 58.75f, -26, -28, 222.1f}, {}, {}},
        {3, 4, {42, 60, -14, 0, 90}, {}, {}},
        {4, 1, {270, 59.75f, 0, 20, 155.1f}, {}, {}},
        {4, 11, {270, 60, 0, 6, 40}, {}, {}},
    };
    for (const Case& c : cases) {
        const auto preset = cameraPreset(c.n, c.layout);
        ASSERT_TRUE(preset) << c.n << "/" << c.layout;
        EXPECT_EQ(preset->target, c.target) << c.n << "/" << c.layout;
        EXPECT_EQ(preset->Viwe_Mode_value, c.mode) << c.n << "/" << c.layout;
        EXPECT_EQ(preset->TopNO, c.top) << c.n << "/" << c.layout;
    }
    // Single precision: 144.1 is 144.10000610...
    EXPECT_EQ(cameraPreset(0, 0)->target.sdepth, 144.10000610351562f);
    EXPECT_FALSE(cameraPreset(5, 0));
    EXPECT_FALSE(cameraPreset(-1, 0));
    EXPECT_FALSE(cameraPreset(0, 14));
}

TEST(SpectrumCamera, PresetMovesInTenFramesAndRestsOnTheTarget)
{
    QX3DSpectrumGLView view;
    smozeloopBS = 0;
    view.viewModeX = 4;
    view.camera = SceneCamera{};
    view.setResetPositionX(2);  // (0, 86.25, -32, -4, 110)
    EXPECT_EQ(view.setResetPositionXActive, 1);
    EXPECT_EQ(view.TopNO, 0);
    for (int frame = 0; frame < 10; ++frame) {
        const SceneCamera drawn = view.frameCamera();
        EXPECT_FLOAT_EQ(drawn.sdepth, 11.0f * frame) << frame;
        EXPECT_FLOAT_EQ(drawn.Xposition, -3.2f * frame) << frame;
        EXPECT_EQ(view.camera, SceneCamera{}) << "the move leaves the current camera alone";
        view.advancePresetMove();
    }
    EXPECT_EQ(view.setResetPositionXActive, 0);
    EXPECT_EQ(smozeloopBS, 0);
    EXPECT_EQ(view.frameCamera(), (SceneCamera{0, 86.25f, -32, -4, 110}));

    // A preset outside the table keeps the target and still runs the ten frames.
    view.setResetPositionX(9);
    EXPECT_EQ(view.cameraTarget, (SceneCamera{0, 86.25f, -32, -4, 110}));
    EXPECT_EQ(view.setResetPositionXActive, 1);
}

TEST(SpectrumCamera, DragsTurnPanAndDollyFromTheAnchorOfThePress)
{
    QX3DSpectrumGLView view;
    view.mouseDown(100, 50);
    EXPECT_TRUE(view.applyPointerDrag());
    EXPECT_EQ(view.camera, SceneCamera{}) << "a press without movement moves nothing";
    EXPECT_EQ(view.downX, 100);
    EXPECT_EQ(view.downY, -50);

    view.mouseDragged(120, 90);  // right 20, up 40
    view.applyPointerDrag();
    EXPECT_FLOAT_EQ(view.camera.sphi, 5.0f);
    EXPECT_FLOAT_EQ(view.camera.stheta, 10.0f);

    view.setMoveModeX(1);
    view.mouseDragged(100, 50);
    view.applyPointerDrag();
    EXPECT_FLOAT_EQ(view.camera.Xposition, -5.0f);
    EXPECT_FLOAT_EQ(view.camera.Yposition, -10.0f);

    view.setMoveModeX(7);  // ignored
    EXPECT_EQ(view.MoveModeX, 1);
    view.setMoveModeX(2);
    view.mouseDragged(100, 150);
    view.applyPointerDrag();
    EXPECT_FLOAT_EQ(view.camera.sdepth, 10.0f);

    view.mouseUp();
    EXPECT_FALSE(view.applyPointerDrag());
    EXPECT_EQ(view.mouse_down_count, 0u);

    // A press and a move before the next frame still measure from the press.
    view.setMoveModeX(0);
    const float sphi = view.camera.sphi;
    view.mouseDown(10, 10);
    view.mouseDragged(50, 10);
    view.applyPointerDrag();
    EXPECT_FLOAT_EQ(view.camera.sphi, sphi + 10.0f);
}

TEST(SpectrumCamera, HotSpotsOfAFourHundredByThreeHundredView)
{
    EXPECT_EQ(hotSpotAt(200, 150, 400, 300), 5);
    EXPECT_EQ(hotSpotAt(200, 75, 400, 300), 1);
    EXPECT_EQ(hotSpotAt(100, 150, 400, 300), 3);
    EXPECT_EQ(hotSpotAt(300, 150, 400, 300), 4);
    EXPECT_EQ(hotSpotAt(10, 10, 400, 300), 0);
    EXPECT_EQ(hotSpotAt(200, 260, 400, 300), 2);  // above the centre zone (150 + 90)
    EXPECT_EQ(hotSpotAt(200, 239, 400, 300), 5);
    // Through the view: the last pointer position, y stored negated.
    QX3DSpectrumGLView view;
    view.mouseDown(300, 150);
    view.applyPointerDrag();
    EXPECT_EQ(hotSpotAt(view.downX, -view.downY, 400, 300), 4);
}

TEST(SpectrumCamera, ProjectionWheelAndIdleMoves)
{
    CameraRecord camera;
    resetCamera(camera);
    camera.viewWidth = camera.viewHeight = 300;
    Frustum f = projectionFrustum(camera, 7.0f);
    EXPECT_DOUBLE_EQ(f.zNear, 6.5);
    EXPECT_DOUBLE_EQ(f.zFar, 13.5);
    const double h = 6.5 * std::tan(40.0 * 0.0174532925 * 0.5);
    EXPECT_NEAR(f.right, h, 1e-9) << "a square view takes the first branch";
    EXPECT_NEAR(f.top, h, 1e-9);
    camera.viewWidth = 150;
    f = projectionFrustum(camera, 7.0f);
    EXPECT_NEAR(f.top, h * 2.0, 1e-6);
    camera.viewHeight = 0;  // no division by zero
    f = projectionFrustum(camera, 7.0f);
    EXPECT_TRUE(std::isfinite(f.left) && std::isfinite(f.top));
    camera.viewPos.z = -2.0;  // near raised to 1
    EXPECT_DOUBLE_EQ(projectionFrustum(camera, 7.0f).zNear, 1.0);

    EXPECT_FALSE(scrollAperture(camera, 0.0));
    EXPECT_DOUBLE_EQ(camera.aperture, 40.0);
    EXPECT_TRUE(scrollAperture(camera, 10.0));
    EXPECT_DOUBLE_EQ(camera.aperture, 38.0);
    scrollAperture(camera, 1000.0);
    EXPECT_DOUBLE_EQ(camera.aperture, 0.1);
    scrollAperture(camera, -1.0e6);
    EXPECT_DOUBLE_EQ(camera.aperture, 179.9);

    resetCamera(camera);
    double start[2] = {0.0, 0.0};
    mousePan(camera, start, 90.0, 0.0);  // s = 90
    EXPECT_DOUBLE_EQ(camera.viewPos.x, 1.0);
    camera.viewPos.z = 0.0;
    mousePan(camera, start, 500.0, 500.0);  // no scale at depth 0
    EXPECT_DOUBLE_EQ(camera.viewPos.x, 1.0);
    EXPECT_DOUBLE_EQ(start[0], 500.0);
    double startY[1] = {0.0};
    mouseDolly(camera, startY, 10.0);
    EXPECT_DOUBLE_EQ(camera.viewPos.z, 0.0001) << "a dolly onto 0 stays off it";
}

TEST(SpectrumCamera, ObjectSpinTurnsAtTheSpeedLimitsAndComposes)
{
    float rot[3] = {359.0f, 0.0f, 0.0f}, vel[3] = {1.99f, 0.0f, 0.0f}, acc[3] = {0.1f, 0.0f, 0.0f};
    float object[4] = {0.0f, 1.0f, 0.0f, 0.0f};
    updateObjectRotation(rot, vel, acc, object, 1.0 / 30.0);
    EXPECT_FLOAT_EQ(vel[0], 2.0f);
    EXPECT_FLOAT_EQ(acc[0], -0.1f);
    EXPECT_NEAR(rot[0], 1.0f, 1e-4f) << "wrapped below 360";
    EXPECT_NEAR(object[0], 1.0f, 1e-3f);
    EXPECT_NEAR(object[1], 1.0f, 1e-3f);
}
