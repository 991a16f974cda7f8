#pragma once

// What the scene tests share: an offscreen GL context set up as the 3D view sets it up, the data mapper
// fed with flat spectra, feedback-mode capture of what a drawing emits, and pixel classification.

#include "analysis/QX3DSpectrum.h"
#include "analysis/QXFFT.h"
#include "platform/gl/OffscreenGLContext.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/scene/gl/MeshControl.h"
#include "views3d/scene/gl/QX3DSpectrumMesh.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace nupo::scenetest {

// A GL context of the given size with the engine's one-time set-up and smooth shading, as the 3D view's
// first frame leaves it.
class SceneFixture : public ::testing::Test {
protected:
    explicit SceneFixture(QSize size = QSize(640, 480)) : context_(size) {}

    void SetUp() override
    {
        ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString();
        QX3DSpectrumMesh::sharedQX3DSpectrumMesh().mainNewave();
        setDisplayn(3);
        glViewport(0, 0, context_.size().width(), context_.size().height());
        xsize = context_.size().width();
        ysize = context_.size().height();
    }

    // Switches every display element of every row off.
    static void elementsOff()
    {
        for (auto& row : displayModeX)
            for (int& e : row)
                e = 0;
    }

    QImage pixels() { return context_.readPixels().convertToFormat(QImage::Format_RGB32); }

    OffscreenGLContext context_;
};

// Feeds CH 1..CH 4 with flat spectra (every bin of a 128-point spectrum at 128 Hz at the given level)
// and runs the data mapper's step for a layout once per history row, so every grid of the layout is flat
// at its source's level.
inline void fillLayout(const std::array<double, 4>& levels, int oneBrain, int towBrain, int shapeC)
{
    SampleSpeed = 128;
    fftp = 128;
    QXFFT& fft = QXFFT::sharedQXFFT();
    fft.timerUpdate();
    static constexpr int bufferOfChannel[4] = {0, 1, 3, 4};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 64; ++k)
            fft.putcomplexDoubleToBuffer(bufferOfChannel[c], k, {levels[std::size_t(c)], 0.0});
    for (int row = 0; row < 64; ++row) {
        ploop = ploop + 1;
        QX3DSpectrum::sharedQX3DSpectrum().waven(oneBrain, towBrain, shapeC, 0);
    }
}

// Primitives a drawing emits, captured in feedback mode: each is its window-space vertices.
struct Primitive {
    GLenum kind;  // GL_POLYGON_TOKEN, GL_LINE_TOKEN (also for line resets), GL_POINT_TOKEN, GL_BITMAP_TOKEN
    std::vector<std::array<float, 3>> vertices;

    std::array<float, 3> centre() const
    {
        std::array<float, 3> c{};
        for (const auto& v : vertices)
            for (int k = 0; k < 3; ++k)
                c[std::size_t(k)] += v[std::size_t(k)] / float(vertices.size());
        return c;
    }
};

inline std::vector<Primitive> feedback(const std::function<void()>& draw)
{
    static std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint count = glRenderMode(GL_RENDER);
    EXPECT_GE(count, 0) << "feedback buffer overflow";
    std::vector<Primitive> out;
    auto take = [&](GLint& i, int n, GLenum kind) {
        Primitive p{kind, {}};
        for (int k = 0; k < n; ++k, i += 3)
            p.vertices.push_back(
                {buffer[std::size_t(i)], buffer[std::size_t(i + 1)], buffer[std::size_t(i + 2)]});
        out.push_back(std::move(p));
    };
    for (GLint i = 0; i < count;) {
        const GLenum token = GLenum(buffer[std::size_t(i++)]);
        switch (token) {
            case GL_POLYGON_TOKEN: {
                const int n = int(buffer[std::size_t(i++)]);
                take(i, n, GL_POLYGON_TOKEN);
                break;
            }
            case GL_LINE_TOKEN:
            case GL_LINE_RESET_TOKEN:
                take(i, 2, GL_LINE_TOKEN);
                break;
            case GL_POINT_TOKEN:
                take(i, 1, GL_POINT_TOKEN);
                break;
            case GL_BITMAP_TOKEN:
                take(i, 1, GL_BITMAP_TOKEN);
                break;
            case GL_DRAW_PIXEL_TOKEN:
            case GL_COPY_PIXEL_TOKEN:
                take(i, 1, token);
                break;
            case GL_PASS_THROUGH_TOKEN:
                ++i;
                break;
            default:
                ADD_FAILURE() << "unknown feedback token " << token;
                return out;
        }
    }
    return out;
}

inline int countOf(const std::vector<Primitive>& ps, GLenum kind)
{
    int n = 0;
    for (const Primitive& p : ps)
        n += p.kind == kind;
    return n;
}

// Window position of a point of the current modelview frame.
inline std::array<double, 3> project(double x, double y, double z)
{
    GLdouble model[16], proj[16];
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    std::array<double, 3> w{};
    gluProject(x, y, z, model, proj, view, &w[0], &w[1], &w[2]);
    return w;
}

// The pixel at window position (x, y) (origin lower left) of an image read back top row first.
inline QRgb pixelAt(const QImage& image, double x, double y)
{
    return image.pixel(int(x), image.height() - 1 - int(y));
}

inline bool isBackground(QRgb p)
{
    return qRed(p) < 8 && qGreen(p) < 8 && qBlue(p) < 8;
}

inline int differingPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// Index of the colour among `colours` whose direction in RGB is nearest the pixel's (lit surfaces keep
// the hue of their material colour); -1 for a dark pixel.
inline int nearestHue(QRgb p, const std::vector<std::array<float, 3>>& colours)
{
    const float r = float(qRed(p)), g = float(qGreen(p)), b = float(qBlue(p));
    const float length = std::sqrt(r * r + g * g + b * b);
    if (length < 24.0f)
        return -1;
    int best = -1;
    float bestCos = -2.0f;
    for (std::size_t k = 0; k < colours.size(); ++k) {
        const auto& c = colours[k];
        const float cl = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
        const float cosine = (r * c[0] + g * c[1] + b * c[2]) / (length * cl);
        if (cosine > bestCos) {
            bestCos = cosine;
            best = int(k);
        }
    }
    return best;
}

}  // namespace nupo::scenetest
