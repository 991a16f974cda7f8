// The wave-surface window as a person uses it while the demo recording plays: opened from the menu, it
// shows the tunnel standing still, lit and textured; run by the brain once the check box is clicked, it
// moves with the recording;
// its draw modes chosen in the drawer after another image. Needs an X display (scripts/test.sh gives one).
#include "core/ui/QXAppController.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "support/WindowTestSupport.h"
#include "views3d/wave/gl/QXnewaveGLView.h"
#include "views3d/wave/gl/WaveWallImages.h"
#include "views3d/wave/ui/QXnewaveAppController.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <algorithm>
#include <map>

using namespace nupo;
using namespace nupo::test;

namespace {

QWidget* waveWindow()
{
    const QList<QWidget*> windows = shownWindowsTitled(QLatin1String("Wave Surface Window"));
    return windows.isEmpty() ? nullptr : windows.first();
}

// A control of the window or of one of its drawers.
template <class T>
T* control(const char* name)
{
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* found = qobject_cast<T*>(widget); found && found->objectName() == QLatin1String(name))
            return found;
    return nullptr;
}

struct ColourCounts {
    int distinct = 0;
    double largestShare = 0.0;  // of the most common colour, background included
    double whiteShare = 0.0;    // of near-white pixels among those that are not background
};

ColourCounts colours(const QImage& image)
{
    std::map<QRgb, int> counts;
    int drawn = 0;
    int white = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xff000000u;
            ++counts[pixel];
            if (pixel == qRgb(0, 0, 0))
                continue;
            ++drawn;
            white += qRed(pixel) > 235 && qGreen(pixel) > 235 && qBlue(pixel) > 235;
        }
    }
    int largest = 0;
    for (const auto& [pixel, count] : counts)
        largest = std::max(largest, count);
    const double all = static_cast<double>(image.width()) * image.height();
    return {static_cast<int>(counts.size()), largest / all, drawn ? static_cast<double>(white) / drawn : 0.0};
}

int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

// A frame of the view is a drawn picture: many colours, no colour filling the view, the walls not white.
void expectDrawnPicture(const QImage& frame, const char* what)
{
    const ColourCounts counts = colours(frame);
    EXPECT_GT(counts.distinct, 50) << what;
    EXPECT_LT(counts.largestShare, 0.7) << what << ": one colour fills the view";
    EXPECT_LT(counts.whiteShare, 0.3) << what << ": the walls are plain white";
}

// Two frames of the view, seconds apart, must differ (or, for a still sheet, be the same), and each must
// be a drawn picture.
void expectPicture(OpenGLViewHost& host, const char* what, bool moving)
{
    letItRun(1500);
    const QImage first = host.grabFramebuffer();
    letItRun(2000);
    const QImage second = host.grabFramebuffer();
    first.save(QStringLiteral("%1/wave-%2.png").arg(test::tempFolder(), QLatin1String(what)));
    const int area = first.width() * first.height();
    if (moving)
        EXPECT_GT(differingPixels(first, second), area / 50) << what << ": the recording moves the tunnel";
    else
        EXPECT_EQ(differingPixels(first, second), 0) << what << ": the sheet stands still";
    expectDrawnPicture(first, what);
    expectDrawnPicture(second, what);
}

void expectMovingPicture(OpenGLViewHost& host, const char* what)
{
    expectPicture(host, what, true);
}

}  // namespace

TEST(QXnewaveWindow, OpensStillAndMovesWithTheRecordingWhenRunByTheBrain)
{
    QXnewaveAppController::sharedQXnewaveAppController();  // links the window's controller in
    startWithDemo();
    QXAppController::sharedQXAppController().showSelectQXnewave(nullptr);
    QWidget* window = waveWindow();
    ASSERT_NE(window, nullptr);
    auto* brain = control<QCheckBox>("setRunbyBrainswX");
    ASSERT_NE(brain, nullptr);
    EXPECT_FALSE(brain->isChecked()) << "the window opens with brain control off";

    if (!onScreen())
        GTEST_SKIP() << "no X display: the view draws no frames";
    auto* host = window->findChild<OpenGLViewHost*>();
    ASSERT_NE(host, nullptr);
    // As it opens: the first wall image on the walls, the sheet standing still.
    expectPicture(*host, "still", false);
    auto* view = dynamic_cast<QXnewaveGLView*>(host->view());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->shown().maxImageNXopen, waveWallImageCount);
    EXPECT_FALSE(control<QSlider>("setColorMapXX")->isHidden()) << "the image sliders cover the wall images";

    // Run by brain clicked on: the recording moves the sheet.
    QTest::mouseClick(brain, Qt::LeftButton, {}, QPoint(6, brain->height() / 2));
    ASSERT_TRUE(brain->isChecked());
    expectMovingPicture(*host, "brain");

    // Another image, then smooth shading with height colours: chosen outside a frame, the shading and
    // lighting reach the view's own context.
    auto* image = control<QSlider>("setColorMapXX");
    image->triggerAction(QAbstractSlider::SliderToMaximum);  // as a user moves it
    letItRun(300);
    control<QRadioButton>("DrawModeXCell3")->click();
    EXPECT_EQ(view->displayUnnMode, 3);
    expectMovingPicture(*host, "smooth");
    WindowHandle(window).close();
    letItRun(100);
}
