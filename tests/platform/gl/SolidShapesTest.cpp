#include "platform/gl/Glut.h"
#include "platform/gl/OffscreenGLContext.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace nupo {
namespace {

constexpr int kSize = 160;
const QRgb kBackground = qRgb(0, 0, 255);

// Draws a solid seen from `eye` towards the origin, lit by a directional light from the eye, with back
// faces culled (front faces counter-clockwise) and no ambient light. A face that is wound or lit the
// wrong way round is culled or turns black, so what shows tells whether winding and normals are right.
class SolidShapes : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString(); }

    QImage render(const std::function<void()>& solid, const double eye[3])
    {
        context_.makeCurrent();
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(GL_CCW);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -2, 2, 0.1, 20);  // 40 pixels per unit
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const GLfloat noAmbient[] = {0, 0, 0, 1};
        const GLfloat towardsViewer[] = {0, 0, 1, 0};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, noAmbient);
        glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);  // in eye space: from the viewer
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        // Screen up is world z, except when looking along z.
        const bool alongZ = std::abs(eye[2]) > 0.9 * std::hypot(eye[0], eye[1], eye[2]);
        const double up[3] = {0.0, alongZ ? 1.0 : 0.0, alongZ ? 0.0 : 1.0};
        gluLookAt(eye[0], eye[1], eye[2], 0, 0, 0, up[0], up[1], up[2]);
        solid();
        return context_.readPixels();
    }

    // Grey level at a point of the framebuffer given in units from its centre (x right, y up).
    static int levelAt(const QImage& image, double x, double y)
    {
        const QRgb pixel = image.pixel(kSize / 2 + static_cast<int>(std::floor(x * 40)),
                                       kSize / 2 - 1 - static_cast<int>(std::floor(y * 40)));
        return pixel == kBackground ? -1 : qRed(pixel);
    }

    OffscreenGLContext context_{QSize(kSize, kSize)};
};

TEST_F(SolidShapes, EveryCubeFaceFacesOutwardsWithItsEdgeSize)
{
    const double eyes[6][3] = {{5, 0, 0}, {-5, 0, 0}, {0, 5, 0}, {0, -5, 0}, {0, 0, 5}, {0, 0, -5}};
    for (const auto& eye : eyes) {
        SCOPED_TRACE(testing::Message() << eye[0] << "," << eye[1] << "," << eye[2]);
        const QImage image = render([] { glutSolidCube(2.0); }, eye);
        // The face seen head on is fully lit (diffuse 0.8) across its whole extent, and ends at +-1.
        EXPECT_NEAR(levelAt(image, 0, 0), 204, 2);
        EXPECT_NEAR(levelAt(image, 0.95, 0.95), 204, 2);
        EXPECT_NEAR(levelAt(image, -0.95, -0.95), 204, 2);
        EXPECT_EQ(levelAt(image, 1.05, 0), -1);
        EXPECT_EQ(levelAt(image, 0, -1.05), -1);
    }
}

TEST_F(SolidShapes, CubesAtCentresAreTranslatedCubes)
{
    const double eye[3] = {3, -4, 5};
    const float centres[3][3] = {{0, 0, 0}, {1.25f, -0.5f, 0.25f}, {-1, 1, -0.75f}};
    const QImage translated = render(
        [&] {
            for (const auto& c : centres) {
                glTranslatef(c[0], c[1], c[2]);
                glutSolidCube(0.5);
                glTranslatef(-c[0], -c[1], -c[2]);
            }
        },
        eye);
    const QImage batched = render([&] { drawSolidCubesAt(0.5, centres, 3); }, eye);
    // The same cubes, lit the same; only the rounding of the transform differs, which can move an edge
    // pixel.
    int inked = 0, differing = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            inked += translated.pixel(x, y) != kBackground;
            differing += translated.pixel(x, y) != batched.pixel(x, y);
        }
    ASSERT_GT(inked, 3 * 20 * 20);
    EXPECT_LE(differing, inked / 100);
    EXPECT_EQ(render([] { drawSolidCubesAt(0.5, nullptr, 0); }, eye),
              render([] {}, eye));
}

TEST_F(SolidShapes, TorusLiesRoundTheZAxisWithOutwardNormals)
{
    const double front[3] = {0, 0, 5};
    const QImage image = render([] { glutSolidTorus(0.25, 1.0, 24, 48); }, front);
    // Hole, tube and outside along the x axis: the tube spans 0.75..1.25 from the centre.
    EXPECT_EQ(levelAt(image, 0, 0), -1);
    EXPECT_EQ(levelAt(image, 0.6, 0), -1);
    EXPECT_EQ(levelAt(image, 1.4, 0), -1);
    EXPECT_EQ(levelAt(image, 0, 1.4), -1);
    // The top of the tube faces the light: brightest on its centre line, darker towards its edges.
    const int top = levelAt(image, 1.0, 0);
    const int edge = levelAt(image, 1.22, 0);
    const int innerEdge = levelAt(image, -0.78, 0);
    EXPECT_NEAR(top, 204, 4);
    EXPECT_NEAR(levelAt(image, 0, -1.0), 204, 4);
    EXPECT_GT(edge, 0);
    EXPECT_LT(edge, top - 60);
    EXPECT_LT(innerEdge, top - 60);

    // Seen edge on, the torus is a flat band as thick as the tube.
    const double side[3] = {0, -5, 0};
    const QImage sideways = render([] { glutSolidTorus(0.25, 1.0, 24, 48); }, side);
    EXPECT_NE(levelAt(sideways, 0, 0.2), -1);
    EXPECT_EQ(levelAt(sideways, 0, 0.3), -1);
    EXPECT_NE(levelAt(sideways, 1.2, 0), -1);
}

TEST_F(SolidShapes, TorusWithTooFewFacetsDrawsNothing)
{
    const double front[3] = {0, 0, 5};
    for (int facets : {0, 2, -4}) {
        const QImage image = render([facets] { glutSolidTorus(0.25, 1.0, facets, 12); }, front);
        EXPECT_EQ(levelAt(image, 1.0, 0), -1);
        const QImage rings = render([facets] { glutSolidTorus(0.25, 1.0, 12, facets); }, front);
        EXPECT_EQ(levelAt(rings, 1.0, 0), -1);
    }
}

TEST_F(SolidShapes, EveryTetrahedronFaceFacesOutwards)
{
    // Looking along each face's outward normal (away from the opposite corner) shows that face lit.
    const double corners[4][3] = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
    for (const auto& corner : corners) {
        const double eye[3] = {-5 * corner[0], -5 * corner[1], -5 * corner[2]};
        const QImage image = render([] { glutSolidTetrahedron(); }, eye);
        EXPECT_NEAR(levelAt(image, 0, 0), 204, 2);
    }
    // Its corners lie at distance sqrt(3): seen along x, it spans +-1 both ways.
    const double alongX[3] = {5, 0, 0};
    const QImage image = render([] { glutSolidTetrahedron(); }, alongX);
    EXPECT_NE(levelAt(image, 0.9, 0.9), -1);
    EXPECT_EQ(levelAt(image, 1.1, 0), -1);
}

}  // namespace
}  // namespace nupo
