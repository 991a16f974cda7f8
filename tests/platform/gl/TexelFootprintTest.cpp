// Where a triangle's texture lands in the window: the CPU placement against GL's own (read back through
// feedback), and the footprint of triangles seen face-on, obliquely, edge-on and from behind.
#include "platform/gl/OffscreenGLContext.h"
#include "platform/gl/TexelFootprint.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace nupo;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;

// The modelview and projection of a camera 10 in front of the origin with a 60-degree field of view,
// turned by `turn` degrees about y.
WindowTransform camera(float turn)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, static_cast<double>(kWidth) / kHeight, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    glRotatef(turn, 0.0f, 1.0f, 0.0f);
    glViewport(0, 0, kWidth, kHeight);
    return WindowTransform::current();
}

// A corner of a square of side 2 in the plane z = 0 (texture 0..1 across it, 256 texels), placed by t.
TexturedCorner corner(const WindowTransform& t, float x, float y)
{
    const float object[3] = {x, y, 0.0f};
    TexturedCorner c;
    c.window = t.toWindow(object);
    c.u = (x + 1.0f) / 2.0f * 256.0f;
    c.v = (y + 1.0f) / 2.0f * 256.0f;
    return c;
}

TexelFootprint squareHalf(const WindowTransform& t)
{
    return texelFootprint(corner(t, -1.0f, -1.0f), corner(t, 1.0f, -1.0f), corner(t, -1.0f, 1.0f));
}

}  // namespace

TEST(TexelFootprint, WindowPlacesAndSphereMapCoordinatesAreGLs)
{
    OffscreenGLContext context(QSize(kWidth, kHeight));
    ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();
    const WindowTransform t = camera(35.0f);
    // GL generates texture coordinates only for a texture unit that has a whole texture to sample.
    const GLubyte texel[4] = {255, 255, 255, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glEnable(GL_TEXTURE_2D);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    const float vertices[3][3] = {{-2.0f, -1.0f, 0.5f}, {2.5f, -0.5f, -1.0f}, {0.0f, 2.0f, 1.5f}};
    const float angle = 0.4f;
    const float normals[3][3] = {
        {0.0f, 0.0f, 1.0f}, {std::sin(angle), 0.0f, std::cos(angle)}, {0.0f, -0.6f, 0.8f}};

    std::vector<GLfloat> buffer(1000);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < 3; ++k) {
        glNormal3fv(normals[k]);
        glVertex3fv(vertices[k]);
    }
    glEnd();
    const int count = glRenderMode(GL_RENDER);
    ASSERT_GE(count, 2 + 3 * 11);
    ASSERT_EQ(static_cast<GLint>(buffer[0]), GL_POLYGON_TOKEN);
    ASSERT_EQ(static_cast<int>(buffer[1]), 3);
    for (int k = 0; k < 3; ++k) {
        const GLfloat* fed = &buffer[2 + 11 * k];  // x, y, z, colour r g b a, texture s t r q
        const WindowTransform::Point placed = t.toWindow(vertices[k]);
        EXPECT_GT(placed.w, 0.0f);
        EXPECT_NEAR(placed.x, fed[0], 1e-3) << k;
        EXPECT_NEAR(placed.y, fed[1], 1e-3) << k;
        float eye[3];
        float normal[3];
        float st[2];
        t.toEye(vertices[k], eye);
        t.normalToEye(normals[k], normal);
        sphereMapCoords(eye, normal, st);
        EXPECT_NEAR(st[0], fed[7] / fed[10], 1e-5) << k;
        EXPECT_NEAR(st[1], fed[8] / fed[10], 1e-5) << k;
    }
}

TEST(TexelFootprint, GrowsWithoutBoundAsATriangleTurnsEdgeOn)
{
    OffscreenGLContext context(QSize(kWidth, kHeight));
    ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();

    // Face-on the square's 256 texels span what its 2 units span on the screen: 100 / (2 tan 30) / 10
    // pixels per unit. The plane is parallel to the screen: no vanishing line.
    const TexelFootprint faceOn = squareHalf(camera(0.0f));
    const double pixelsPerUnit = kHeight / (2.0 * std::tan(std::numbers::pi / 6.0)) / 10.0;
    EXPECT_NEAR(faceOn.texelsPerPixel, 128.0 / pixelsPerUnit, 1e-3);
    EXPECT_TRUE(std::isinf(faceOn.pixelsToHorizon));

    // Turned 60 degrees the texture is squeezed about twice along x; the vanishing line is far off.
    const TexelFootprint oblique = squareHalf(camera(60.0f));
    EXPECT_GT(oblique.texelsPerPixel, 1.5 * faceOn.texelsPerPixel);
    EXPECT_LT(oblique.texelsPerPixel, 3.0 * faceOn.texelsPerPixel);
    EXPECT_GT(oblique.pixelsToHorizon, 20.0);

    // A hair's breadth from edge-on, the step runs into the thousands and the vanishing line lies
    // within the pixel.
    const TexelFootprint edgeOn = squareHalf(camera(89.999f));
    EXPECT_GT(edgeOn.texelsPerPixel, 1.0e3);
    EXPECT_LT(edgeOn.pixelsToHorizon, 1.0);

    // Exactly edge-on it has no area: nothing to measure, so no bound.
    const WindowTransform t = camera(0.0f);
    TexturedCorner a = corner(t, -1.0f, 0.0f);
    TexturedCorner b = corner(t, 0.0f, 0.0f);
    TexturedCorner c = corner(t, 1.0f, 0.0f);
    EXPECT_TRUE(std::isinf(texelFootprint(a, b, c).texelsPerPixel));
    c.window.x = NAN;
    EXPECT_TRUE(std::isinf(texelFootprint(a, b, c).texelsPerPixel));

    // A corner behind the eye: GL clips the triangle, and it is not judged.
    const float behind[3] = {0.0f, 0.0f, 20.0f};
    c.window = t.toWindow(behind);
    EXPECT_LT(c.window.w, 0.0f);
    const TexelFootprint clipped = texelFootprint(a, b, c);
    EXPECT_EQ(clipped.texelsPerPixel, 0.0);
    EXPECT_EQ(clipped.pixelsToHorizon, 0.0);
}
