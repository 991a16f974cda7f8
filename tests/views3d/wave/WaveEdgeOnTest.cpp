// Triangles of the textured tunnel seen edge-on: the tunnel finds every one GL is handed (checked against
// GL's own window positions and texture coordinates, read back through feedback) for the running spike and
// waves, and the rest of the sheet comes out exactly as when drawn in strips.
#include "platform/gl/OffscreenGLContext.h"
#include "platform/gl/TexelFootprint.h"
#include "views3d/wave/gl/QXnewave.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <QImage>

#include <cmath>
#include <limits>
#include <vector>

using namespace nupo;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kTexels = 512;

class WaveEdgeOn : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString();
        wave.mainNewaved();
        wave.myReshapeXdn(kWidth, kHeight);
        // An opaque mipmapped wall image filtered anisotropically, as the window's images are (opaque, so
        // that the order of drawing shows only where triangles meet).
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
        // The window's camera, textured.
        frame.displayUndn = 90.0f;
        frame.sthet = 45.0f;
        frame.sdept = 19.75f;
        frame.displayUnn = 4;
    }
    void TearDown() override
    {
        edgeOnTexelsPerPixel = guard_.first;
        edgeOnPixelsToHorizon = guard_.second;
    }

    static void guardOff()
    {
        edgeOnTexelsPerPixel = std::numeric_limits<double>::infinity();
        edgeOnPixelsToHorizon = 0.0;
    }

    // The triangles GL is handed for the frame, as its feedback gives them: window position, clip w (from
    // the depth, under the tunnel's perspective) and texture coordinates in texels.
    std::vector<std::array<TexturedCorner, 3>> fedTriangles()
    {
        std::vector<GLfloat> buffer(600000);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        wave.displayUndn(frame);
        const int count = glRenderMode(GL_RENDER);
        EXPECT_GT(count, 0);
        GLdouble projection[16];
        GLint viewport[4];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        std::vector<std::array<TexturedCorner, 3>> triangles;
        for (int at = 0; at < count;) {
            const auto token = static_cast<GLint>(buffer[at++]);
            if (token != GL_POLYGON_TOKEN) {
                ADD_FAILURE() << "a token other than a polygon: " << token;
                break;
            }
            const int n = static_cast<int>(buffer[at++]);
            EXPECT_GE(n, 3);
            std::array<TexturedCorner, 3> triangle;
            const bool cut = n != 3;  // a polygon GL cut at the window's edge
            for (int k = 0; k < n && k < 3; ++k) {
                const GLfloat* v = &buffer[at + 11 * k];  // x y z, colour, s t r q
                GLdouble eye[3];
                gluUnProject(v[0], v[1], v[2], identity, projection, viewport, &eye[0], &eye[1], &eye[2]);
                triangle[k].window = {v[0], v[1], static_cast<float>(-eye[2])};
                triangle[k].u = v[7] / v[10] * kTexels;
                triangle[k].v = v[8] / v[10] * kTexels;
            }
            at += 11 * n;
            if (cut)
                triangle[0].window.x = -1.0f;
            triangles.push_back(triangle);
        }
        return triangles;
    }

    static bool clipped(const std::array<TexturedCorner, 3>& t)
    {
        for (const TexturedCorner& c : t) {
            const float x = c.window.x;
            const float y = c.window.y;
            if (x < 0.01f || y < 0.01f || x > kWidth - 0.01f || y > kHeight - 0.01f)
                return true;
        }
        return false;
    }

    QImage render()
    {
        wave.displayUndn(frame);
        return context_.readPixels();
    }

    OffscreenGLContext context_{QSize(kWidth, kHeight)};
    QXnewave& wave = QXnewave::sharedQXnewave();
    QXnewaveFrame frame;
    GLuint texture_ = 0;
    GLfloat maxAnisotropy_ = 0.0f;
    std::pair<double, double> guard_{edgeOnTexelsPerPixel, edgeOnPixelsToHorizon};
};

}  // namespace

TEST_F(WaveEdgeOn, EveryEdgeOnTriangleOfTheRunningSpikeAndWavesIsFound)
{
    if (maxAnisotropy_ <= 1.0f)
        GTEST_SKIP() << "no anisotropic filtering";
    // Rendered as feedback, nothing is rasterised: a missed triangle fails the count, it does not stall.
    const double texels = edgeOnTexelsPerPixel;
    const double pixels = edgeOnPixelsToHorizon;
    for (const int size : {0, 1}) {
        for (const int shape : {2, 9}) {
            wave.setdSized(size);
            wave.setSpeeddn(2);
            wave.resetdn(shape);
            wave.godn();
            int found = 0;
            for (int step = 0; step < 60; ++step) {
                wave.wavedn();
                guardOff();
                int surely = 0;
                int maybe = 0;
                for (const auto& t : fedTriangles()) {
                    const TexelFootprint f = texelFootprint(t[0], t[1], t[2]);
                    // A triangle GL clipped at the window's edge has other corners than the tunnel's.
                    surely += !clipped(t) &&
                              (f.texelsPerPixel > 1.01 * texels || f.pixelsToHorizon < 0.99 * pixels);
                    maybe += f.texelsPerPixel > 0.99 * texels || f.pixelsToHorizon < 1.01 * pixels;
                }
                edgeOnTexelsPerPixel = texels;
                edgeOnPixelsToHorizon = pixels;
                std::vector<GLfloat> buffer(600000);
                glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
                glRenderMode(GL_FEEDBACK);
                wave.displayUndn(frame);
                glRenderMode(GL_RENDER);
                EXPECT_GE(wave.edgeOnTriangles, surely)
                    << "size " << size << " shape " << shape << " step " << step;
                EXPECT_LE(wave.edgeOnTriangles, maybe)
                    << "size " << size << " shape " << shape << " step " << step;
                found += wave.edgeOnTriangles;
            }
            EXPECT_GT(found, 0) << "size " << size << " shape " << shape;  // the run does turn some edge-on
        }
    }
}

TEST_F(WaveEdgeOn, TheRestOfTheSheetIsDrawnExactlyAsInStrips)
{
    // With an anisotropy that filters as plainly as 1 but still wakes the guard, a frame whose triangles
    // are partly set apart (a low limit marks the steeper ones) equals the frame drawn in strips: the
    // separate triangles are rasterised exactly as the strips' were.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, 1.0001f);
    wave.setdSized(0);
    wave.resetdn(2);
    wave.godn();
    for (int step = 0; step < 20; ++step)
        wave.wavedn();
    edgeOnTexelsPerPixel = 6.0;
    const QImage split = render();
    const int setApart = wave.edgeOnTriangles;
    EXPECT_GT(setApart, 0);
    EXPECT_LT(setApart, 4 * 2 * 14 * 14);
    guardOff();
    const QImage strips = render();
    EXPECT_EQ(wave.edgeOnTriangles, 0);
    EXPECT_TRUE(split == strips);
}
