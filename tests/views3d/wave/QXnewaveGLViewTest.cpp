// The wave-surface view: its one-time set-up, resizes, drags, rotation speeds, keys and setters.
#include "platform/gl/OffscreenGLContext.h"
#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "support/TestSupport.h"
#include "views3d/textures/gl/ShadowApp.h"
#include "views3d/wave/gl/QXnewave.h"
#include "views3d/wave/gl/QXnewaveGLView.h"
#include "views3d/wave/gl/WaveWallImages.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QImage>

#include <cstdlib>

using namespace nupo;

namespace {

class WaveView : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString(); }
    // A frame as a host draws it: the synchronisation step, then the drawing.
    void frame()
    {
        view.synchronizeFrame();
        view.drawRect(view.bounds());
    }
    void drag(float x, float y)
    {
        MouseEvent event;
        event.location = QPointF(x, y);
        view.mouseDragged(event);
    }

    OffscreenGLContext context_{QSize(64, 48)};
    QXnewaveGLView view{QRectF(0, 0, 64, 48)};
    QXnewave& wave = QXnewave::sharedQXnewave();
    QXnewaveGLView::FrameOwned& camera = view.frameOwned();  // no host: no frame runs meanwhile
};

}  // namespace

TEST_F(WaveView, FirstFrameSetsUpOnceAndFollowsSizeChanges)
{
    frame();
    EXPECT_FALSE(camera.processFunc);
    EXPECT_FLOAT_EQ(camera.sdepth, 19.75f);
    EXPECT_FLOAT_EQ(camera.sphi, 90.0f);
    EXPECT_EQ(view.displayUnnMode, 4);
    EXPECT_EQ(view.textureMode, 2);
    EXPECT_EQ(gridd, 15);
    EXPECT_EQ(wave.wavingd, 1);
    EXPECT_EQ(wwdn, 64);
    EXPECT_EQ(hhdn, 48);
    EXPECT_FLOAT_EQ(aspectd, 64.0f / 48.0f);

    camera.sdepth = 5.0f;
    xsized = 1;  // a reshape would overwrite it
    frame();
    EXPECT_FLOAT_EQ(camera.sdepth, 5.0f);
    EXPECT_EQ(xsized, 1);
    view.setFrameSize(QSizeF(32, 48));
    frame();
    EXPECT_EQ(xsized, 32);
}

TEST_F(WaveView, DragsRotatePanAndDolly)
{
    frame();
    const float theta = camera.stheta;
    const float depth = camera.sdepth;
    view.setMoveModeX(2);
    view.setMoveModeX(5);  // ignored
    EXPECT_EQ(view.MoveModeX, 2);
    MouseEvent press;
    press.location = QPointF(20, 30);
    view.mouseDown(press);
    frame();  // the drag starts without a jump
    EXPECT_FLOAT_EQ(camera.stheta, theta);
    drag(20, 20);  // 10 pixels down the screen (y grows upwards in the view)
    frame();
    EXPECT_FLOAT_EQ(camera.sdepth, depth - 1.0f);
    EXPECT_FLOAT_EQ(camera.stheta, theta - 2.5f);

    view.setMoveModeX(0);  // rotate: 0.5 degree per pixel
    const float phi = camera.sphi;
    drag(30, 20);
    frame();
    EXPECT_FLOAT_EQ(camera.sphi, phi + 5.0f);
    view.mouseUp(press);
    EXPECT_EQ(view.sys_infoQXnewave.mouse_down, 0);
    drag(60, 20);
    frame();
    EXPECT_FLOAT_EQ(camera.sphi, phi + 5.0f);
}

TEST_F(WaveView, RotationSpeedsAndCameraReset)
{
    frame();
    view.setRotateSpeedUpXX(1.0f);
    view.setRotateSpeedDownXX(1.0f);
    view.setRotateSpeedLeftXX(-3.0f);
    const float theta = camera.stheta;
    const float phi = camera.sphi;
    frame();
    frame();
    EXPECT_FLOAT_EQ(camera.stheta, theta);
    EXPECT_FLOAT_EQ(camera.sphi, phi);
    view.setRotateSpeedRightXX(2.0f);
    frame();
    EXPECT_FLOAT_EQ(camera.sphi, phi - 2.0f);
    view.setAutoStopX(1);
    frame();
    EXPECT_FLOAT_EQ(camera.sphi, phi - 2.0f);

    // The reset takes effect in the next frame, by the sheet's side when it was asked for.
    camera.sdepth = 3.0f;
    view.setDrawLargeGridX(2);  // 42: the camera stays
    view.setResetPositionX(1);
    view.setDrawLargeGridX(0);
    frame();
    EXPECT_FLOAT_EQ(camera.sdepth, 3.0f);
    EXPECT_EQ(wave.wavingd, 1);
    view.setResetPositionX(1);
    EXPECT_FLOAT_EQ(camera.sdepth, 3.0f);
    view.setDrawLargeGridX(2);
    frame();
    EXPECT_FLOAT_EQ(camera.sdepth, 20.0f);
    EXPECT_FLOAT_EQ(camera.stheta, 45.0f);
    view.setDrawLargeGridX(0);
}

TEST_F(WaveView, KeysRestartTheSheetWithTheirShape)
{
    frame();
    wave.stopdn();
    KeyEvent key;
    key.keyCode = VirtualKey::I;  // shape 2
    view.keyDown(key);
    EXPECT_EQ(wave.resetdnModed, 2);
    EXPECT_EQ(wave.wavingd, 1);
    EXPECT_FLOAT_EQ(wave.positd[7][7], 22.5f);
    key.keyCode = VirtualKey::M;
    view.keyUp(key);
    EXPECT_EQ(wave.resetdnModed, 9);
    // Y is shape 0: the stored shape again. Other keys only log.
    const int requests = wave.redisplayRequests;
    key.keyCode = VirtualKey::Y;
    view.keyDown(key);
    EXPECT_EQ(wave.resetdnModed, 9);
    EXPECT_EQ(wave.redisplayRequests, requests + 1);
    key.keyCode = VirtualKey::A;
    EXPECT_EQ(view.getKey(key.keyCode), 0x4E554C4Cu);  // 'NULL'
    EXPECT_EQ(wave.redisplayRequests, requests + 1);
}

TEST_F(WaveView, SettersAndTheClearColour)
{
    view.setTextureModeX(1);
    EXPECT_EQ(view.textureMode, 1);
    EXPECT_EQ(view.displayUnnMode, 3);
    view.setTextureModeX(7);
    EXPECT_EQ(view.textureMode, 1);
    view.setDrawModeX(4);
    EXPECT_EQ(view.textureMode, 2);
    view.setDrawModeX(0);
    EXPECT_EQ(view.displayUnnMode, 0);
    EXPECT_EQ(view.textureMode, 2);
    view.setTextureEnvX(1);
    EXPECT_EQ(view.EnvModeChanged, 1);

    // Colour buttons beyond the four table colours are ignored.
    view.setColor(2);
    EXPECT_FLOAT_EQ(clear_rgbaNewave[1], 1.0f);
    view.setColor(7);
    view.setColor(-1);
    EXPECT_FLOAT_EQ(clear_rgbaNewave[1], 1.0f);
    EXPECT_FLOAT_EQ(clear_rgbaNewave[0], 0.0f);

    // The frame clears with the background colour.
    view.setBackgroundColor(RGBAColor::fromRGBA(0.0, 0.0, 1.0, 1.0));
    view.setDrawModeX(9);  // no sheet
    frame();
    EXPECT_EQ(view.EnvModeChanged, 0);
    const QImage pixels = context_.readPixels();
    EXPECT_EQ(pixels.pixel(2, 2), qRgb(0, 0, 255));
}

TEST_F(WaveView, WallsShowTheFirstWallImageEvenWhenTheHostBindsItsOwnTextures)
{
    // The first wall image is a checkerboard of teal (0, 110, 150) and amber (240, 170, 40) squares.
    const auto share = [this](QRgb colour) {
        const QImage pixels = context_.readPixels();
        int near = 0;
        for (int y = 0; y < pixels.height(); ++y) {
            for (int x = 0; x < pixels.width(); ++x) {
                const QRgb p = pixels.pixel(x, y);
                near += std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
                            std::abs(qBlue(p) - qBlue(colour)) <
                        40;
            }
        }
        return static_cast<double>(near) / (pixels.width() * pixels.height());
    };
    // The wall images are decoded on the picture worker; the view takes them in the synchronisation
    // step after they arrived, and its frame makes its own textures of them.
    frame();
    ASSERT_TRUE(test::processEventsUntil([] { return waveWallPictures() != nullptr; }));
    frame();
    EXPECT_EQ(camera.maxImageNXopen, waveWallImageCount);
    ASSERT_NE(view.images(), nullptr);
    EXPECT_EQ(view.images()->loaded(), waveWallImageCount);
    for (int n = 0; n < waveWallImageCount; ++n) {
        ASSERT_NE(view.sprites().sprite(n), nullptr) << n;
        EXPECT_TRUE(view.sprites().sprite(n)->buffer->textureReady()) << n;
    }
    EXPECT_GT(share(qRgb(0, 110, 150)), 0.03);
    EXPECT_GT(share(qRgb(240, 170, 40)), 0.03);
    EXPECT_LT(share(qRgb(255, 255, 255)), 0.02);

    // A host that made a new framebuffer between frames leaves another texture bound.
    glBindTexture(GL_TEXTURE_2D, 0);
    frame();
    EXPECT_GT(share(qRgb(0, 110, 150)), 0.03);
    EXPECT_GT(share(qRgb(240, 170, 40)), 0.03);
    EXPECT_LT(share(qRgb(255, 255, 255)), 0.02);
}

namespace {

// Pixels near a colour, as a share of the picture.
double shareNear(const QImage& pixels, QRgb colour)
{
    int near = 0;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x) {
            const QRgb p = pixels.pixel(x, y);
            near += std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
                        std::abs(qBlue(p) - qBlue(colour)) <
                    40;
        }
    return static_cast<double>(near) / (pixels.width() * pixels.height());
}

}  // namespace

TEST_F(WaveView, ImagePerWallDrawsEachPictureOnItsWallOverTheBackground)
{
    // The view at the window's camera over a dark blue background, each wall taking the next image.
    const QRgb background = qRgb(0, 0, 128);
    view.setBackgroundColor(RGBAColor::fromRGBA(0.0, 0.0, 128.0 / 255.0, 1.0));
    frame();
    ASSERT_TRUE(test::processEventsUntil([] { return waveWallPictures() != nullptr; }));
    view.setimagePositionX(1);
    frame();
    frame();
    QImage pixels = context_.readPixels().convertToFormat(QImage::Format_RGB32);
    // With no pictures loaded the walls show the wall images (teal and amber squares, among others);
    // the background stays where the tunnel leaves it.
    EXPECT_GT(shareNear(pixels, background), 0.05);
    EXPECT_LT(shareNear(pixels, qRgb(255, 255, 255)), 0.02);
    EXPECT_GT(shareNear(pixels, qRgb(0, 110, 150)) + shareNear(pixels, qRgb(240, 170, 40)), 0.03);

    // Four one-colour pictures: each visible wall shows one of them, none the same.
    const QRgb colours[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0), qRgb(255, 0, 255)};
    QStringList paths;
    for (int n = 0; n < 4; ++n) {
        QImage image(512, 512, QImage::Format_RGB32);  // fills its texture: no padding
        image.fill(colours[n]);
        paths << QDir(test::tempFolder()).filePath(QString("own-wall%1.png").arg(n));
        ASSERT_TRUE(image.save(paths.back()));
    }
    std::vector<RefusedPicture> refused;
    view.showImages(loadPictureSet(paths, &refused), 4);
    frame();
    frame();
    pixels = context_.readPixels().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(shareNear(pixels, background), 0.05);
    EXPECT_LT(shareNear(pixels, qRgb(255, 255, 255)), 0.02);
    int walls = 0;
    for (const QRgb colour : colours)
        walls += shareNear(pixels, colour) > 0.03;
    EXPECT_GE(walls, 3);
    view.setimagePositionX(0);
}
