#include "QXDrawerSound/player/ui/MyObject.h"
#include "QXDrawerSound/player/ui/MyQuickDrawView.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QImage>

namespace nupo {
namespace {

int offscreenFrame(const MyQuickDrawView& view)
{
    const QImage& picture = view.offscreenPicture();
    return test::frameOfLevel(qBlue(picture.pixel(40, 30)));
}

// Each step goes to the next video frame, the first one from the beginning landing on the first frame
// itself; the counter counts the steps from 1 and so reaches the frame count (frames + 1) on the last
// frame, and only the step after that returns to the beginning. The picture follows each step by itself.
TEST(MyQuickDrawView, EachStepGoesToTheNextVideoFrameAndOnlyTheStepAfterTheLastReturnsToTheBeginning)
{
    QString why;
    const QString path = test::makeCounterMovie("view.mov", 20, 10, &why);
    if (path.isEmpty())
        GTEST_SKIP() << why.toStdString();
    MyQuickDrawView view;
    view.resize(160, 120);
    ASSERT_TRUE(view.createQTMovieFromMovieFilePath(path));
    EXPECT_EQ(qtMovieX, view.movie());
    EXPECT_EQ(view.frameCount(), 21u);
    EXPECT_EQ(view.normalizedMovieRectWidth(), 64.0f);
    EXPECT_EQ(view.normalizedMovieRectHeight(), 48.0f);
    EXPECT_EQ(view.frameNumber(), 1u);
    view.drawFrame();
    ASSERT_TRUE(test::processEventsUntil([&] { return offscreenFrame(view) == 0; }));

    for (unsigned int step = 1; step <= 3; ++step) {
        view.nextFrame();
        EXPECT_EQ(view.frameNumber(), step + 1);
        int shown = -1;
        EXPECT_TRUE(test::processEventsUntil([&] { return (shown = offscreenFrame(view)) == int(step) - 1; }))
            << "step " << step << " shows frame " << shown;
    }
    while (view.frameNumber() < 20u)
        view.nextFrame();
    ASSERT_TRUE(test::processEventsUntil([&] { return offscreenFrame(view) == 18; }));
    view.nextFrame();
    EXPECT_EQ(view.frameNumber(), 21u);  // the last frame: the counter at the frame count
    ASSERT_TRUE(test::processEventsUntil([&] { return offscreenFrame(view) == 19; }));
    view.nextFrame();
    EXPECT_EQ(view.frameNumber(), 1u);
    ASSERT_TRUE(test::processEventsUntil([&] { return offscreenFrame(view) == 0; }));
    view.nextFrame();  // from the beginning again, onto the first frame
    EXPECT_EQ(view.frameNumber(), 2u);
    view.nextFrame();
    ASSERT_TRUE(test::processEventsUntil([&] { return offscreenFrame(view) == 1; }));

    // The redraw: the frame, its counter in a white box at the top left.
    const QImage shot = view.grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 12), QColor(Qt::white));  // below the text, inside its box
    EXPECT_NEAR(qBlue(shot.pixel(100, 80)), test::counterLevel(1), 4);
}

TEST(MyQuickDrawView, TheWindowOpensTheSampleMovieAndPlayStepsTwentyFrames)
{
    auto* controller = dynamic_cast<MyObject*>(NibLoader::loadNibNamed("MovieFrames"));
    ASSERT_TRUE(controller);
    ASSERT_TRUE(controller->view());
    EXPECT_EQ(controller->view()->frameCount(), 41u);
    controller->play(nullptr);
    EXPECT_EQ(controller->view()->frameNumber(), 21u);
    controller->nextFrame(nullptr);
    EXPECT_EQ(controller->view()->frameNumber(), 22u);

    // A movie that has played to its end starts over at 1 before its twenty steps.
    controller->view()->movie()->goToEnd();
    ASSERT_TRUE(test::processEventsUntil([&] { return controller->view()->movie()->isAtEnd(); }));
    controller->play(nullptr);
    EXPECT_EQ(controller->view()->frameNumber(), 21u);
    WindowHandle(controller->nibWindow()).close();
}

}  // namespace
}  // namespace nupo
