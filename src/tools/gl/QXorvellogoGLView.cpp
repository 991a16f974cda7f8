#include "tools/gl/QXorvellogoGLView.h"

#include "platform/gl/Glut.h"

#include <GL/gl.h>

#include <algorithm>
#include <random>

namespace nupo {

namespace {

constexpr char logoText[LogoAnimation::letterCount + 1] = "NUPO4";
constexpr float letterSpacing = 1.0f;  // logo units between letters
constexpr double stepPerFrame = 1.0 / 60.0;

}  // namespace

LogoAnimation& logoAnimation()
{
    static LogoAnimation animation;
    return animation;
}

void restretOpen()
{
    static std::mt19937 random{std::random_device{}()};
    std::uniform_real_distribution<float> offset(-3.0f, 3.0f);
    LogoAnimation& animation = logoAnimation();
    animation.progress = 1.0;
    for (auto& path : animation.paths) {
        path.startX = offset(random);
        path.startY = offset(random);
        path.bend = offset(random) * 0.5f;
    }
    ++animation.restarts;
}

void logoLetterPosition(const LogoAnimation& animation, int index, float& x, float& y)
{
    const float t = static_cast<float>(std::clamp(animation.progress, 0.0, 1.0));
    const LogoAnimation::Path& path = animation.paths[static_cast<std::size_t>(index)];
    // A quadratic curve from the start to the letter's place, bulging sideways by `bend` half-way.
    const float bulge = 4.0f * t * (1.0f - t) * path.bend;
    x = (static_cast<float>(index) - 2.0f) * letterSpacing + t * path.startX - bulge * path.startY * 0.3f;
    y = t * path.startY + bulge;
}

void QXorvellogoGLView::drawRect(const QRectF& rect)
{
    LogoAnimation& animation = logoAnimation();
    glClearColor(0.05f, 0.07f, 0.15f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Logo units: the word spans -2.5..2.5; the view keeps its aspect.
    const double aspect = rect.height() > 0.0 ? rect.width() / rect.height() : 1.0;
    glOrtho(-3.5 * aspect, 3.5 * aspect, -3.5, 3.5, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const float settled = 1.0f - static_cast<float>(animation.progress);
    for (int i = 0; i < LogoAnimation::letterCount; ++i) {
        float x = 0.0f;
        float y = 0.0f;
        logoLetterPosition(animation, i, x, y);
        glColor3f(0.4f + 0.6f * settled, 0.6f + 0.2f * settled, 1.0f);
        glRasterPos2f(x - 0.3f, y - 0.3f);
        glutBitmapCharacter(GLUT_BITMAP_TIMES_ROMAN_24, logoText[i]);
    }
    animation.progress = std::max(0.0, animation.progress - stepPerFrame);
}

}  // namespace nupo
