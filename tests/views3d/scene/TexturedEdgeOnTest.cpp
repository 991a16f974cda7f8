// Triangles of the textured spectrum surface seen edge-on: the renderer finds every one GL is handed
// (checked against GL's own window positions and texture coordinates, read back through feedback) as the
// surface tilts through edge-on, and the rest of the surface comes out exactly as when drawn whole.
#include "SceneTestSupport.h"
#include "platform/gl/TexelFootprint.h"
#include "views3d/scene/gl/MeshRenderers.h"
#include "views3d/textures/gl/EdgeOnGuard.h"

#include <GL/glext.h>

#include <limits>

using namespace nupo;
using namespace nupo::scenetest;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kTexels = 512;
constexpr int kGrid = 2;  // the height grid drawn

class TexturedEdgeOn : public SceneFixture {
protected:
    TexturedEdgeOn() : SceneFixture(QSize(kWidth, kHeight)) {}

    void SetUp() override
    {
        SceneFixture::SetUp();
        // An opaque mipmapped image filtered anisotropically, as the window's images are.
        std::vector<GLubyte> pixels(kTexels * kTexels * 4);
        for (std::size_t k = 0; k < pixels.size(); ++k)
            pixels[k] = k % 4 == 3 ? 255 : static_cast<GLubyte>((k * 2654435761u) >> 24);
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTexels, kTexels, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAnisotropy_);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, maxAnisotropy_);
        // A surface with relief on the full grid, under the view's perspective, whole in the window.
        grid = 64;
        QX3DSpectrumMesh& mesh = QX3DSpectrumMesh::sharedQX3DSpectrumMesh();
        mesh.getTexCoords();
        auto& g = mesh.heights(kGrid);
        for (int i = 0; i < 64; ++i)
            for (int j = 0; j < 64; ++j)
                g[i][j] = float(3.0 + 3.0 * std::sin(i * 0.3) * std::cos(j * 0.2));
        mesh.getFaceNorms(kGrid);
        mesh.getVertNorms();
        setDisplayn(4);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(64.0, double(kWidth) / kHeight, 1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override
    {
        edgeOnTexelsPerPixel = guard_.first;
        edgeOnPixelsToHorizon = guard_.second;
        glDeleteTextures(1, &texture_);
        setDisplayn(3);
    }

    static void guardOff()
    {
        edgeOnTexelsPerPixel = std::numeric_limits<double>::infinity();
        edgeOnPixelsToHorizon = 0.0;
    }

    static void place(float tilt)
    {
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -110.0f);
        glRotatef(-tilt, 1.0f, 0.0f, 0.0f);
        glRotatef(30.0f, 0.0f, 0.0f, 1.0f);
        glTranslatef(-32.0f, -32.0f, 0.0f);
    }

    // The triangles GL is handed for the surface, as its feedback gives them: window position, clip w
    // (from the depth, under the perspective) and texture coordinates in texels; cut ones marked by a
    // first corner at x = -1.
    static std::vector<std::array<TexturedCorner, 3>> fedTriangles()
    {
        static std::vector<GLfloat> buffer(1 << 22);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        drawTextured(kGrid);
        const int count = glRenderMode(GL_RENDER);
        EXPECT_GT(count, 0);
        GLdouble projection[16];
        GLint viewport[4];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        std::vector<std::array<TexturedCorner, 3>> triangles;
        for (int at = 0; at < count;) {
            const auto token = static_cast<GLint>(buffer[std::size_t(at++)]);
            if (token != GL_POLYGON_TOKEN) {
                ADD_FAILURE() << "a token other than a polygon: " << token;
                break;
            }
            const int n = static_cast<int>(buffer[std::size_t(at++)]);
            std::array<TexturedCorner, 3> triangle;
            for (int k = 0; k < n && k < 3; ++k) {
                const GLfloat* v = &buffer[std::size_t(at + 11 * k)];  // x y z, colour, s t r q
                GLdouble eye[3];
                gluUnProject(v[0], v[1], v[2], identity, projection, viewport, &eye[0], &eye[1], &eye[2]);
                triangle[std::size_t(k)].window = {v[0], v[1], static_cast<float>(-eye[2])};
                triangle[std::size_t(k)].u = v[7] / v[10] * kTexels;
                triangle[std::size_t(k)].v = v[8] / v[10] * kTexels;
            }
            at += 11 * n;
            if (n != 3 || clipped(triangle))
                triangle[0].window.x = -1.0f;
            triangles.push_back(triangle);
        }
        return triangles;
    }

    static bool clipped(const std::array<TexturedCorner, 3>& t)
    {
        for (const TexturedCorner& c : t)
            if (c.window.x < 0.01f || c.window.y < 0.01f || c.window.x > kWidth - 0.01f ||
                c.window.y > kHeight - 0.01f)
                return true;
        return false;
    }

    QImage render()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawTextured(kGrid);
        return pixels();
    }

    GLuint texture_ = 0;
    GLfloat maxAnisotropy_ = 0.0f;
    std::pair<double, double> guard_{edgeOnTexelsPerPixel, edgeOnPixelsToHorizon};
};

}  // namespace

TEST_F(TexturedEdgeOn, EveryEdgeOnTriangleIsSetApartAsTheSurfaceTiltsThroughEdgeOn)
{
    if (maxAnisotropy_ <= 1.0f)
        GTEST_SKIP() << "no anisotropic filtering";
    // Both windings are handed to GL without culling, as the underside is; in feedback nothing is
    // rasterised, so a triangle missed fails the count rather than stalling the test.
    glDisable(GL_CULL_FACE);
    const double texels = edgeOnTexelsPerPixel;
    const double pixels = edgeOnPixelsToHorizon;
    int found = 0;
    for (float tilt = 84.0f; tilt <= 96.0f; tilt += 0.37f) {
        place(tilt);
        guardOff();
        int surely = 0;
        int maybe = 0;
        for (const auto& t : fedTriangles()) {
            const TexelFootprint f = texelFootprint(t[0], t[1], t[2]);
            surely += t[0].window.x >= 0.0f &&
                      (f.texelsPerPixel > 1.01 * texels || f.pixelsToHorizon < 0.99 * pixels);
            maybe += f.texelsPerPixel > 0.99 * texels || f.pixelsToHorizon < 1.01 * pixels;
        }
        EXPECT_EQ(texturedEdgeOnTriangles(), 0);
        edgeOnTexelsPerPixel = texels;
        edgeOnPixelsToHorizon = pixels;
        feedback([] { drawTextured(kGrid); });
        EXPECT_GE(texturedEdgeOnTriangles(), surely) << "tilt " << tilt;
        EXPECT_LE(texturedEdgeOnTriangles(), maybe) << "tilt " << tilt;
        found += texturedEdgeOnTriangles();
    }
    EXPECT_GT(found, 0);  // the sweep does pass edge-on
    // Seen from above, none is.
    place(20.0f);
    feedback([] { drawTextured(kGrid); });
    EXPECT_EQ(texturedEdgeOnTriangles(), 0);
    glEnable(GL_CULL_FACE);
}

TEST_F(TexturedEdgeOn, TheRestOfTheSurfaceIsDrawnExactlyAsWhole)
{
    if (maxAnisotropy_ <= 1.0f)
        GTEST_SKIP() << "no anisotropic filtering";
    // With an anisotropy that filters as plainly as 1 but still wakes the guard, a picture whose
    // triangles are partly set apart (a low limit marks the steeper ones) equals the surface drawn whole.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, 1.0001f);
    for (const float tilt : {70.0f, 250.0f}) {  // the top and the underside
        place(tilt);
        edgeOnTexelsPerPixel = 3.0;
        const QImage split = render();
        const int setApart = texturedEdgeOnTriangles();
        EXPECT_GT(setApart, 0) << "tilt " << tilt;
        EXPECT_LT(setApart, 2 * 2 * 63 * 63) << "tilt " << tilt;
        guardOff();
        const QImage whole = render();
        EXPECT_EQ(texturedEdgeOnTriangles(), 0);
        EXPECT_EQ(differingPixels(split, whole), 0) << "tilt " << tilt;
        int drawn = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                drawn += !isBackground(whole.pixel(x, y));
        EXPECT_GT(drawn, whole.width() * whole.height() / 20) << "tilt " << tilt;
    }
}
