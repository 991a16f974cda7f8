// The tunnel renderer: where the four walls stand, the frame's image and palette steps, the display
// switches and the reshape guard. Offscreen GL; vertices are read back through GL feedback.
#include "platform/gl/OffscreenGLContext.h"
#include "shared/CoreState.h"
#include "support/TestSupport.h"
#include "views3d/textures/gl/ShadowApp.h"
#include "views3d/wave/gl/QXnewave.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QImage>

#include <array>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

using namespace nupo;

namespace {

constexpr int kSize = 64;

struct Point {
    double x, y, z;
};

class WaveTunnel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString();
        wave.mainNewaved();
        wave.myReshapeXdn(kSize, kSize);
    }

    // The eye-space positions of every vertex the frame emits.
    std::vector<Point> eyeVertices(const QXnewaveFrame& frame)
    {
        std::vector<GLfloat> buffer(400000);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        wave.displayUndn(frame);
        const int count = glRenderMode(GL_RENDER);
        EXPECT_GT(count, 0);

        GLdouble projection[16];
        GLint viewport[4];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        std::vector<Point> points;
        const auto take = [&](int at) {
            Point p{};
            gluUnProject(buffer[at], buffer[at + 1], buffer[at + 2], identity, projection, viewport, &p.x,
                         &p.y, &p.z);
            points.push_back(p);
        };
        for (int at = 0; at < count;) {
            const auto token = static_cast<GLint>(buffer[at++]);
            if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
                take(at);
                take(at + 3);
                at += 6;
            } else if (token == GL_POLYGON_TOKEN) {
                const int n = static_cast<int>(buffer[at++]);
                for (int k = 0; k < n; ++k)
                    take(at + 3 * k);
                at += 3 * n;
            } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
                       token == GL_COPY_PIXEL_TOKEN) {
                take(at);
                at += 3;
            } else {
                at += 1;  // pass-through value
            }
        }
        return points;
    }

    QXnewave& wave = QXnewave::sharedQXnewave();
    OffscreenGLContext context_{QSize(kSize, kSize)};
};

// Counts the vertices on each face of a square tube along x, of half-side `half`, centred at depth
// `depth`: faces y = -half, y = +half, z = depth - half, z = depth + half. Fails for a vertex off the
// tube.
std::array<int, 4> facesOfTube(const std::vector<Point>& points, double half, double depth)
{
    std::array<int, 4> faces{};
    const double tolerance = 0.02;
    for (const Point& p : points) {
        EXPECT_LE(std::fabs(p.x), half + tolerance);
        EXPECT_LE(std::fabs(p.y), half + tolerance);
        EXPECT_LE(std::fabs(p.z - depth), half + tolerance);
        bool onFace = false;
        const double distances[4] = {p.y + half, p.y - half, p.z - (depth - half), p.z - (depth + half)};
        for (int f = 0; f < 4; ++f) {
            if (std::fabs(distances[f]) < tolerance) {
                ++faces[f];
                onFace = true;
            }
        }
        EXPECT_TRUE(onFace) << p.x << " " << p.y << " " << p.z;
    }
    return faces;
}

}  // namespace

TEST_F(WaveTunnel, FourWallsFormASquareTubeCentredOnTheCamerasAxis)
{
    // Unturned, the sheet's four copies close into a tube along x whose square section (side gridd - 1)
    // is centred on the view axis, sdept in front of the eye.
    QXnewaveFrame frame;
    frame.displayUnn = 0;
    frame.sdept = 30.0f;
    wave.setdSized(0);
    wave.resetdn(1);
    const auto faces = facesOfTube(eyeVertices(frame), 7.0, -30.0);
    for (int f = 0; f < 4; ++f)
        EXPECT_GE(faces[f], 15 * 15) << f;

    // The 31-vertex sheet stands 22 further back; the 63-vertex one is moved by h = 31 each way.
    wave.setdSized(1);
    frame.sdept = 20.0f;
    const auto faces31 = facesOfTube(eyeVertices(frame), 15.0, -42.0);
    for (int f = 0; f < 4; ++f)
        EXPECT_GE(faces31[f], 31 * 31) << f;
    wave.setdSized(3);
    frame.sdept = 70.0f;
    const auto faces63 = facesOfTube(eyeVertices(frame), 31.0, -70.0);
    for (int f = 0; f < 4; ++f)
        EXPECT_GE(faces63[f], 63 * 63) << f;
}

TEST_F(WaveTunnel, TurningAndShiftingMoveTheTube)
{
    // Turned 90 degrees about z, the tube runs along y; shifted by Xposi it moves along x.
    QXnewaveFrame frame;
    frame.displayUnn = 0;
    frame.sdept = 30.0f;
    frame.displayUndn = 90.0f;
    frame.Xposi = 3.0f;
    wave.setdSized(0);
    wave.resetdn(1);
    const auto points = eyeVertices(frame);
    ASSERT_FALSE(points.empty());
    double minY = 1e9, maxY = -1e9, minX = 1e9, maxX = -1e9;
    for (const Point& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    EXPECT_NEAR(minX, 3.0 - 7.0, 0.02);
    EXPECT_NEAR(maxX, 3.0 + 7.0, 0.02);
    EXPECT_NEAR(minY, -7.0, 0.02);
    EXPECT_NEAR(maxY, 7.0, 0.02);
}

TEST_F(WaveTunnel, FrameImageNumberAndSteps)
{
    // Pure numbers: no images are loaded, so rendering a slot draws nothing.
    QXnewaveFrame frame;
    frame.displayUnn = 9;  // no sheet
    frame.texture = 2;
    frame.RunTexture = 1;
    frame.maxImageNX = 8;
    frame.ImageNX = 7;
    EXPECT_EQ(wave.displayUndn(frame), 0);  // wraps past the last image
    frame.ImageNX = 3;
    EXPECT_EQ(wave.displayUndn(frame), 4);

    frame.RunTexture = 0;
    frame.texture = 3;
    frame.maxImageNX = 10;
    frame.Dynamic_Texture = 40.7f;
    EXPECT_EQ(wave.displayUndn(frame), 9);  // lowered to the last image
    EXPECT_EQ(ImageNXZ, 9);
    frame.texture = 2;
    frame.Color_Map = 4.9f;
    EXPECT_EQ(wave.displayUndn(frame), 4);

    // Each wall takes the next image: 5 -> frame 6, walls 7, 0, 1, 2.
    imagePositionN = 1;
    frame.RunTexture = 1;
    frame.maxImageNX = 8;
    frame.ImageNX = 5;
    EXPECT_EQ(wave.displayUndn(frame), 2);
    EXPECT_EQ(ImageNXZ, 6);
    // Palette modes count the image number up without wrapping.
    frame.texture = 0;
    frame.ImageNX = 7;
    EXPECT_EQ(wave.displayUndn(frame), 12);
    imagePositionN = 0;
    EXPECT_EQ(wave.displayUndn(frame), 8);
}

TEST_F(WaveTunnel, EachWallShowsTheNextImage)
{
    // Eight one-colour images; textured walls seen from inside the tube along its axis. With the image
    // stepping per wall, the frame shows image 6 and the walls 7, 0, 1 and 2.
    const QRgb colours[8] = {qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(0, 0, 255),   qRgb(255, 255, 0),
                             qRgb(0, 255, 255), qRgb(255, 0, 255), qRgb(255, 128, 0), qRgb(255, 255, 255)};
    for (int n = 0; n < 8; ++n) {
        QImage image(512, 512, QImage::Format_RGB32);  // fills its texture: no padding
        image.fill(colours[n]);
        const QString path = QDir(test::tempFolder()).filePath(QString("wall%1.png").arg(n));
        ASSERT_TRUE(image.save(path));
        std::strcpy(outCHAR, path.toUtf8().constData());
        ASSERT_TRUE(shadow_app.InitAXS(n));
    }
    // A wave-surface view's textures of them, which the tunnel's setRender draws from.
    ViewSprites sprites(SpriteScene::Wave);
    const ViewSprites::Drawing drawing(sprites);
    ASSERT_TRUE(sprites.show(shadow_app.pictures()));
    glDisable(GL_LIGHTING);
    glClearColor(0, 0, 0, 1);

    QXnewaveFrame frame;
    frame.displayUnn = 4;
    frame.texture = 2;
    frame.RunTexture = 1;
    frame.maxImageNX = 8;
    frame.ImageNX = 5;
    frame.displayUndn = 90.0f;  // the axis along y ...
    frame.sthet = 90.0f;        // ... turned to run away from the eye
    frame.sdept = 10.0f;
    wave.setdSized(0);
    wave.resetdn(1);
    imagePositionN = 1;
    EXPECT_EQ(wave.displayUndn(frame), 2);
    imagePositionN = 0;
    const QImage pixels = context_.readPixels();

    const auto nearest = [&](QRgb pixel) {
        int best = -1;
        int bestDistance = 1 << 30;
        for (int n = 0; n < 8; ++n) {
            const int dr = qRed(pixel) - qRed(colours[n]);
            const int dg = qGreen(pixel) - qGreen(colours[n]);
            const int db = qBlue(pixel) - qBlue(colours[n]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = n;
            }
        }
        return bestDistance < 40 * 40 ? best : -1;
    };
    const int edge = 3;
    const int middle = kSize / 2;
    const std::set<int> seen = {
        nearest(pixels.pixel(middle, edge)), nearest(pixels.pixel(middle, kSize - 1 - edge)),
        nearest(pixels.pixel(edge, middle)), nearest(pixels.pixel(kSize - 1 - edge, middle))};
    EXPECT_EQ(seen, (std::set<int>{7, 0, 1, 2}));
    // Through the far opening: the background.
    EXPECT_EQ(pixels.pixel(middle, middle), qRgb(0, 0, 0));
    textureInitX();
}

TEST_F(WaveTunnel, DisplaySwitchesAndReshapeGuard)
{
    GLint value = 0;
    wave.setDisplayd(2);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_FLAT);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    wave.setDisplayd(7);  // stored, GL left alone
    EXPECT_EQ(wave.displayModed, 7);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_FLAT);

    wave.setOtherd(2);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 1.5f);
    wave.setOtherd(2);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 1.0f);
    wave.setOtherd(3);
    EXPECT_EQ(wave.envMapdd, 1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    wave.setOtherd(4);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    wave.setOtherd(1);
    EXPECT_EQ(wave.drawFaceNormsd, 1);

    // A view of height 0 keeps a finite aspect ratio.
    wave.myReshapeXdn(300, 0);
    EXPECT_EQ(xsized, 300);
    EXPECT_EQ(ysized, 0);
    EXPECT_FLOAT_EQ(aspectd, 300.0f);
    wave.myReshapeXdn(640, 480);
    EXPECT_FLOAT_EQ(aspectd, 640.0f / 480.0f);

    // The set-up leaves a flat, stopped 15-vertex sheet drawn smooth-shaded at the fastest step.
    EXPECT_EQ(gridd, 15);
    EXPECT_FLOAT_EQ(dtd, 0.008f);
    EXPECT_EQ(wave.resetdnModed, 1);
}
