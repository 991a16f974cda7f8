// The about window's logo: a restart scatters the letters, the frames bring them home.
#include "platform/gl/OffscreenGLContext.h"
#include "tools/gl/QXorvellogoGLView.h"

#include <gtest/gtest.h>

using namespace nupo;

TEST(LogoAnimation, RestartScattersTheLettersAndFramesBringThemHome)
{
    OffscreenGLContext context(QSize(200, 100));
    ASSERT_TRUE(context.isValid()) << context.errorString().toStdString();
    LogoAnimation& animation = logoAnimation();
    restretOpen();
    EXPECT_EQ(animation.progress, 1.0);
    const auto first = animation.paths;
    restretOpen();
    EXPECT_EQ(animation.restarts, 2u);
    bool moved = false;
    for (int i = 0; i < LogoAnimation::letterCount; ++i)
        moved = moved || first[i].startX != animation.paths[i].startX;
    EXPECT_TRUE(moved);  // new random paths

    float x = 0, y = 0;
    logoLetterPosition(animation, 0, x, y);
    EXPECT_FLOAT_EQ(x, -2.0f + animation.paths[0].startX);
    EXPECT_FLOAT_EQ(y, animation.paths[0].startY);

    QXorvellogoGLView view(QRectF(0, 0, 200, 100));
    for (int frame = 0; frame < 60; ++frame)
        view.drawRect(view.bounds());
    EXPECT_EQ(animation.progress, 0.0);
    for (int i = 0; i < LogoAnimation::letterCount; ++i) {
        logoLetterPosition(animation, i, x, y);
        EXPECT_FLOAT_EQ(x, static_cast<float>(i) - 2.0f);
        EXPECT_FLOAT_EQ(y, 0.0f);
    }
    // The settled word is drawn: letter pixels differ from the background along the middle row.
    const QImage pixels = context.readPixels();
    const QRgb background = pixels.pixel(2, 2);
    int letterPixels = 0;
    for (int px = 0; px < 200; ++px)
        for (int py = 35; py < 65; ++py)
            letterPixels += pixels.pixel(px, py) != background;
    EXPECT_GT(letterPixels, 30);
}
