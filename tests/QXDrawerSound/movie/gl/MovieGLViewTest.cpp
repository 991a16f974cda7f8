// The movie picture drawn by libmpv's GL renderer into an offscreen framebuffer: the counter movie's
// grey level read back names the frame shown, also when the render context comes after the opening.
#include "QXDrawerSound/movie/gl/MovieGLView.h"
#include "platform/gl/OffscreenGLContext.h"
#include "platform/media/MediaPlayer.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QImage>

namespace nupo {
namespace {

MediaPlayer::Options videoOptions()
{
    MediaPlayer::Options options;
    options.audioOutput = false;
    options.videoOutput = true;
    return options;
}

// The frame the picture shows, read in the middle of the framebuffer (away from the number).
int shownFrame(OffscreenGLContext& context, MovieGLView& view)
{
    context.makeCurrent();
    view.drawRect(view.bounds());
    const QImage image = context.readPixels();
    return test::frameOfLevel(qGray(image.pixel(image.width() * 3 / 4, image.height() / 2)));
}

TEST(MovieGLView, DrawsTheFrameThePlayerShowsWhenTheContextComesAfterTheOpening)
{
    QString why;
    const QString path = test::makeCounterMovie("view.mp4", 24, 20, &why);
    if (path.isEmpty())
        GTEST_SKIP() << why.toStdString();
    OffscreenGLContext context(QSize(128, 96));
    if (!context.isValid())
        GTEST_SKIP() << context.errorString().toStdString();

    MediaPlayer player(videoOptions());
    QString error;
    ASSERT_TRUE(player.open(path, &error)) << error.toStdString();
    MovieGLView view(&player);
    view.setFrameSize(QSizeF(128, 96));
    EXPECT_FALSE(view.hasRenderContext());
    ASSERT_TRUE(context.makeCurrent());
    view.prepareOpenGL();
    ASSERT_TRUE(view.hasRenderContext());

    player.showFrame(12);
    int frame = -1;
    EXPECT_TRUE(test::processEventsUntil([&] { return (frame = shownFrame(context, view)) == 12; }))
        << "shown " << frame;
    player.showFrame(18);
    EXPECT_TRUE(test::processEventsUntil([&] { return (frame = shownFrame(context, view)) == 18; }))
        << "shown " << frame;
    EXPECT_GT(view.framesDrawn(), 0);

    context.makeCurrent();
    view.releaseRenderContext();
    EXPECT_FALSE(view.hasRenderContext());
    // Without a render context the view clears to black.
    view.drawRect(view.bounds());
    const QImage black = context.readPixels();
    EXPECT_EQ(qGray(black.pixel(64, 48)), 0);
}

}  // namespace
}  // namespace nupo
