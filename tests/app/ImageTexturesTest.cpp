// Pictures as textures of the wave-surface and 3D windows, loaded from the media browser while those
// windows draw on threads of their own: the main thread waits for no frame, the files are read with the
// checks every opened file gets (a FIFO or a device refused by name, never blocked on), and each window
// shows its own set in its own context. Run under ThreadSanitizer and AddressSanitizer with frames slowed
// past the stall bound, the last test shows that replacing a set never touches what a frame reads.
#include <gtest/gtest.h>

#include "QXDrawerSound/browser/FolderLister.h"
#include "QXDrawerSound/browser/ui/AppControllerB.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/WindowTestSupport.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"
#include "views3d/textures/gl/GBuffer.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/PictureLoader.h"
#include "views3d/textures/gl/ShadowApp.h"
#include "views3d/wave/gl/QXnewaveGLView.h"
#include "views3d/wave/gl/WaveWallImages.h"
#include "views3d/wave/ui/QXnewaveAppController.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>

#include <chrono>
#include <functional>
#include <optional>

#include <sys/stat.h>

using namespace nupo;
using namespace nupo::test;

namespace {

// A window of that nib, as its menu item opens it.
QWidget* openWindow(const QString& nib)
{
    NibController* controller = NibLoader::loadNibNamed(nib);
    return controller ? controller->nibWindow() : nullptr;
}

QList<ThreadedGLViewHost*> hostsIn(QWidget* window)
{
    QList<ThreadedGLViewHost*> hosts;
    if (window)
        for (ThreadedGLViewHost* host : window->findChildren<ThreadedGLViewHost*>())
            if (host->isVisible())
                hosts << host;
    return hosts;
}

template <class View>
View* viewIn(QWidget* window)
{
    for (ThreadedGLViewHost* host : hostsIn(window))
        if (auto* view = dynamic_cast<View*>(host->view()))
            return view;
    return nullptr;
}

ThreadedGLViewHost* hostOf(QWidget* window, const OpenGLView* view)
{
    for (ThreadedGLViewHost* host : hostsIn(window))
        if (host->view() == view)
            return host;
    return nullptr;
}

// The windows that open after `before`: those shown now that were not shown then.
QWidget* newWindowTitled(QLatin1String title, const QList<QWidget*>& before)
{
    for (QWidget* window : shownWindowsTitled(title))
        if (!before.contains(window))
            return window;
    return nullptr;
}

void closeAlerts()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
            box->close();
}

// One-colour pictures of 512 x 512 pixels (a texture they fill whole) in a folder of their own.
QString folderOfPictures(const QString& name, const QList<QColor>& colours)
{
    const QString folder = QDir(tempFolder()).filePath(name);
    QDir().mkpath(folder);
    for (int n = 0; n < colours.size(); ++n) {
        QImage image(512, 512, QImage::Format_RGB32);
        image.fill(colours[n]);
        image.save(QDir(folder).filePath(QStringLiteral("%1.png").arg(n)));
    }
    return folder;
}

// The share of the picture's pixels that the test holds.
double share(const QImage& image, const std::function<bool(int r, int g, int b)>& test)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            count += test(qRed(p), qGreen(p), qBlue(p));
        }
    return rgb.isNull() ? 0.0 : double(count) / (rgb.width() * rgb.height());
}

bool reddish(int r, int g, int b)
{
    return r > 60 && g < r / 2 && b < r / 2;
}
bool bluish(int r, int g, int b)
{
    return b > 60 && r < b / 2 && g < b / 2;
}
bool greenish(int r, int g, int b)
{
    return g > 60 && r < g / 2 && b < g / 2;
}
bool white(int r, int g, int b)
{
    return r > 230 && g > 230 && b > 230;
}
bool teal(int r, int g, int b)  // the first wall image's dark squares
{
    return r < 50 && g > 60 && b > 90;
}

// Waits until the view's window shows a frame drawn from `set`: the view took it in a synchronisation
// step, and a frame started after that is on screen. The picture as the window shows it then.
template <class View>
QImage shownWith(QWidget* window, View* view, const SharedPictureSet& set)
{
    ThreadedGLViewHost* host = hostOf(window, view);
    if (!host)
        return {};
    quint64 taken = 0;
    const bool shown = processEventsUntil([&] {
        if (!host || !view)
            return false;
        if (taken == 0 && view->images() == set)
            taken = host->framesFinished() + 1;
        if (taken == 0 || host->framesShown() <= taken) {
            view->setNeedsDisplay(true);
            return false;
        }
        return true;
    });
    return shown ? host->grab().toImage() : QImage();
}

class ImageTextures : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!onScreen())
            GTEST_SKIP() << "no X display: GL views draw no frames";
        OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
        static bool started = false;
        if (!started) {
            startWithDemo();
            started = true;
        }
        openBrowser();
        ASSERT_NE(browser, nullptr);
    }
    // A load into the 3D spectrum closes the browser, as its buttons do: the next load opens it again.
    void openBrowser()
    {
        if (!browser)
            browser = dynamic_cast<AppControllerB*>(NibLoader::loadNibNamed(QStringLiteral("MainMenuB")));
    }
    void TearDown() override
    {
        ThreadedGLViewHost::setSlowFramesForTests(std::chrono::milliseconds(0));
        closeAlerts();
    }

    // Clicks the item of path in the browser, once the folders on the way are listed.
    bool click(const QString& path)
    {
        std::optional<bool> found;
        browser->selectPath(path, [&found](bool was) { found = was; });
        return processEventsUntil([&found] { return found.has_value(); }) && *found;
    }
    // Until the browser's folder listings and the pictures asked for are handed over.
    void settle()
    {
        ASSERT_TRUE(processEventsUntil([this] {
            return (!browser || !browser->isBusy()) && FolderLister::pending() == 0 &&
                   PictureLoader::pending() == 0;
        }));
    }
    // What the browser's buttons do with the item clicked: a folder of images or one image, into the wave
    // surface (0), the 3D spectrum (1) or the wave surface that asked (2). Returns the window the load
    // opened, once its pictures are in.
    QWidget* load(const QString& path, bool folder, int scene)
    {
        const QLatin1String title =
            scene == 1 ? QLatin1String("WaterfallBS Window") : QLatin1String("Wave Surface Window");
        const QList<QWidget*> before = shownWindowsTitled(title);
        openBrowser();
        if (!browser)
            return nullptr;
        EXPECT_TRUE(click(path)) << path.toStdString();
        LoadTextuerF = scene;
        folder ? browser->setMXTextureX(1) : browser->setSTextureX(1);
        settle();
        return newWindowTitled(title, before);
    }
    static void waitForPictures()
    {
        ASSERT_TRUE(processEventsUntil([] { return PictureLoader::pending() == 0; }));
    }

    QPointer<AppControllerB> browser;
};

}  // namespace

TEST_F(ImageTextures, AFolderWithFilesThatAreNoPicturesAnswersAtOnceNamesEachAndLoadsThePicture)
{
    QWidget* drawing = openWindow(QStringLiteral("QXnewave"));
    ASSERT_NE(drawing, nullptr);
    ASSERT_TRUE(processEventsUntil(
        [&] { return !hostsIn(drawing).isEmpty() && hostsIn(drawing)[0]->framesShown() > 2; }));

    // A picture, a FIFO, a link to /dev/zero, a folder named as a picture (the tests run as root, who can
    // read any file: a folder stands for the file that cannot be read), a file that holds no picture and
    // one over the size limit.
    const QString folder = folderOfPictures(QStringLiteral("mixed"), {Qt::red});
    ASSERT_EQ(::mkfifo(QDir(folder).filePath("1-pipe.png").toUtf8().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), QDir(folder).filePath("2-zero.png")));
    ASSERT_TRUE(QDir().mkpath(QDir(folder).filePath("3-folder.png")));
    {
        QFile text(QDir(folder).filePath("4-text.png"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("no picture");
        QFile huge(QDir(folder).filePath("5-huge.png"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(GBuffer::maxImageFileBytes + 1));
    }

    // The browser answers at once: it waits neither for the files nor for a frame.
    const int waitsBefore = GLRenderThread::waitsForFrames();
    QWidget* window = load(folder, true, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(maxImageN, 1);  // the pictures loaded, not the files tried
    const quint64 framesBefore = hostsIn(drawing)[0]->framesFinished();
    waitForPictures();
    QMessageBox* told = shownAlert(QStringLiteral("imagesPartlyLoadedAlert"));
    ASSERT_NE(told, nullptr);
    const QString text = told->informativeText();
    for (const char* line :
         {"1-pipe.png: it is a FIFO", "2-zero.png: it is a device", "3-folder.png: it is a folder",
          "4-text.png: it holds no picture", "5-huge.png: it holds 64.0 MB, more than"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line << "\n" << text.toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("5 of the 6 files in %1 cannot be loaded").arg(folder)))
        << text.toStdString();
    EXPECT_EQ(GLRenderThread::waitsForFrames(), waitsBefore);

    // The other window kept drawing; the new one shows the picture on its walls.
    ASSERT_TRUE(processEventsUntil([&] { return hostsIn(drawing)[0]->framesFinished() > framesBefore + 2; }));
    auto* view = viewIn<QXnewaveGLView>(window);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(shadow_app.pictures(), nullptr);
    EXPECT_EQ(shadow_app.pictures()->loaded(), 1);
    ASSERT_NE(shadow_app.picture(0), nullptr);
    const QImage walls = shownWith(window, view, shadow_app.pictures());
    EXPECT_GT(share(walls, reddish), 0.05);
    EXPECT_LT(share(walls, white), 0.02);
    EXPECT_EQ(GLRenderThread::waitsForFrames(), waitsBefore);
    // The walls cycle through the one picture, and the Surface drawer counts it.
    EXPECT_EQ(view->shown().maxImageNXopen, 1);
    auto* count = window->findChild<QLabel*>(QStringLiteral("displayHereTextureNumber"));
    ASSERT_NE(count, nullptr);
    ThreadedGLViewHost* host = hostOf(window, view);
    ASSERT_NE(host, nullptr);
    const quint64 framesNow = host->framesShown();
    ASSERT_TRUE(processEventsUntil([&] { return host->framesShown() > framesNow + 3; }));
    EXPECT_EQ(count->text(), QStringLiteral("1"));
    for (QWidget* w : {window, drawing})
        WindowHandle(w).close();
}

TEST_F(ImageTextures, EachWindowShowsItsOwnSetAndANewSetInOneLeavesTheOthersAsTheyWere)
{
    // A wave surface with our own wall images (no set loaded before it opened), then one with red and
    // one with blue pictures.
    textureInitX();
    QWidget* walls = openWindow(QStringLiteral("QXnewave"));
    ASSERT_NE(walls, nullptr);
    auto* wallsView = viewIn<QXnewaveGLView>(walls);
    ASSERT_NE(wallsView, nullptr);
    ASSERT_TRUE(processEventsUntil([] { return waveWallPictures() != nullptr; }));
    EXPECT_GT(share(shownWith(walls, wallsView, waveWallPictures()), teal), 0.02);

    QWidget* red = load(folderOfPictures(QStringLiteral("red"), {Qt::red, Qt::red}), true, 0);
    ASSERT_NE(red, nullptr);
    waitForPictures();
    const SharedPictureSet redSet = shadow_app.pictures();
    auto* redView = viewIn<QXnewaveGLView>(red);
    ASSERT_NE(redView, nullptr);
    EXPECT_GT(share(shownWith(red, redView, redSet), reddish), 0.05);

    QWidget* blue = load(folderOfPictures(QStringLiteral("blue"), {Qt::blue}), true, 0);
    ASSERT_NE(blue, nullptr);
    waitForPictures();
    auto* blueView = viewIn<QXnewaveGLView>(blue);
    ASSERT_NE(blueView, nullptr);
    EXPECT_GT(share(shownWith(blue, blueView, shadow_app.pictures()), bluish), 0.05);

    // One green image into a 3D window, drawn textured with the fixed image.
    const QString green = QDir(folderOfPictures(QStringLiteral("green"), {Qt::green})).filePath("0.png");
    QWidget* spectrum = load(green, false, 1);
    ASSERT_NE(spectrum, nullptr);
    waitForPictures();
    auto* drawing = viewIn<QX3DSpectrumGLDrawing>(spectrum);
    ASSERT_NE(drawing, nullptr);
    // (Its first frame sets the view up: the modes are chosen after it, as a click would.)
    ASSERT_TRUE(processEventsUntil([&] { return hostOf(spectrum, drawing)->framesShown() > 0; }));
    drawing->view().setDrawModeX(4);
    drawing->view().setTextureModeX(2);
    EXPECT_GT(share(shownWith(spectrum, drawing, shadow_appAX.pictures()), greenish), 0.01);

    // Every wave surface still shows its own set, none of them white.
    for (auto [window, view, set, colour] :
         {std::tuple{walls, wallsView, waveWallPictures(), &teal}, std::tuple{red, redView, redSet, &reddish},
          std::tuple{blue, blueView, shadow_app.pictures(), &bluish}}) {
        const QImage now = shownWith(window, view, set);
        EXPECT_EQ(view->images(), set);
        EXPECT_GT(share(now, *colour), 0.02) << window->windowTitle().toStdString();
        EXPECT_LT(share(now, white), 0.02) << window->windowTitle().toStdString();
    }
    for (QWidget* w : {walls, red, blue, spectrum})
        WindowHandle(w).close();
}

TEST_F(ImageTextures, LoadsWhileFramesOutlastTheStallBoundTouchNothingAFrameReads)
{
    // Two 3D and two wave windows drawing, their frames slowed past the stall bound.
    QList<QWidget*> drawing;
    for (const char* nib : {"QXnewave", "QXnewave", "QX3DSpectrum", "QX3DSpectrum"})
        drawing << openWindow(QString::fromLatin1(nib));
    for (QWidget* window : drawing) {
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(processEventsUntil(
            [&] { return !hostsIn(window).isEmpty() && hostsIn(window)[0]->framesShown() > 0; }));
    }
    for (QWidget* window : drawing)
        if (auto* view = viewIn<QX3DSpectrumGLDrawing>(window)) {
            view->view().setDrawModeX(4);
            view->view().setTextureModeX(3);
            view->view().setRunTextureX(1);
        }
    ThreadedGLViewHost::setSlowFramesForTests(
        std::chrono::duration_cast<std::chrono::milliseconds>(GLRenderThread::stallTime()) +
        std::chrono::milliseconds(500));

    const QString folder = folderOfPictures(QStringLiteral("stress"), {Qt::red, Qt::green, Qt::blue});
    const QString single = QDir(folder).filePath("1.png");
    const int waitsBefore = GLRenderThread::waitsForFrames();
    constexpr int rounds = 20;
    for (int round = 0; round < rounds; ++round) {
        // Each path: one image and a folder into a wave surface, a folder into a 3D window (its Load
        // Images). The window each opens is closed as soon as its pictures are in, mid-frame most likely.
        for (auto [path, isFolder, scene] :
             {std::tuple{single, false, 0}, std::tuple{folder, true, 0}, std::tuple{folder, true, 1}}) {
            QPointer<QWidget> opened = load(path, isFolder, scene);
            ASSERT_NE(opened, nullptr);
            waitForPictures();
            // The drawing windows take the new set too, between their frames in flight.
            for (QWidget* window : drawing) {
                if (auto* wave = viewIn<QXnewaveGLView>(window); wave && scene == 0)
                    wave->showImages(shadow_app.pictures(), std::max(1, maxImageN));
                if (auto* spectrum = viewIn<QX3DSpectrumGLDrawing>(window); spectrum && scene == 1)
                    spectrum->showImages(shadow_appAX.pictures());
            }
            if (opened)
                WindowHandle(opened).close();
        }
    }
    EXPECT_EQ(GLRenderThread::waitsForFrames(), waitsBefore) << "the main thread waited for a frame";

    // Every drawing window goes on and draws the last sets.
    ThreadedGLViewHost::setSlowFramesForTests(std::chrono::milliseconds(0));
    for (QWidget* window : drawing) {
        if (auto* wave = viewIn<QXnewaveGLView>(window)) {
            EXPECT_FALSE(shownWith(window, wave, shadow_app.pictures()).isNull());
        }
        if (auto* spectrum = viewIn<QX3DSpectrumGLDrawing>(window)) {
            EXPECT_FALSE(shownWith(window, spectrum, shadow_appAX.pictures()).isNull());
        }
    }
    for (QWidget* window : drawing)
        WindowHandle(window).close();
    closeAlerts();
}

TEST_F(ImageTextures, LoadImagesOfAWaveSurfaceFillsThatWaveSurfaceAndOpensNoOtherWindow)
{
    textureInitX();
    auto* controller =
        dynamic_cast<QXnewaveAppController*>(NibLoader::loadNibNamed(QStringLiteral("QXnewave")));
    ASSERT_NE(controller, nullptr);
    QWidget* wave = controller->nibWindow();
    auto* view = viewIn<QXnewaveGLView>(wave);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(processEventsUntil([] { return waveWallPictures() != nullptr; }));
    EXPECT_GT(share(shownWith(wave, view, waveWallPictures()), teal), 0.02);
    const QList<QWidget*> spectra = shownWindowsTitled(QLatin1String("WaterfallBS Window"));
    const QList<QWidget*> waves = shownWindowsTitled(QLatin1String("Wave Surface Window"));

    // Its Surface drawer's Load Images… asks the browser for this window (the one open, brought to the
    // front: no second one); the folder chosen goes there.
    const int browsers = int(shownWindowsTitled(QLatin1String("Media Browser")).size());
    ASSERT_GE(browsers, 1);
    controller->LoadTextuerX(nullptr);
    EXPECT_EQ(LoadTextuerF, loadIntoAskingWave);
    EXPECT_EQ(shownWindowsTitled(QLatin1String("Media Browser")).size(), browsers);
    openBrowser();
    ASSERT_TRUE(click(folderOfPictures(QStringLiteral("asked"), {Qt::red, Qt::red})));
    browser->setMXTextureX(1);
    settle();
    EXPECT_EQ(shownWindowsTitled(QLatin1String("WaterfallBS Window")), spectra);
    EXPECT_EQ(shownWindowsTitled(QLatin1String("Wave Surface Window")), waves);
    ASSERT_NE(shadow_app.pictures(), nullptr);
    EXPECT_EQ(shadow_app.pictures()->loaded(), 2);
    EXPECT_EQ(view->images(), shadow_app.pictures());
    const QImage filled = shownWith(wave, view, shadow_app.pictures());
    EXPECT_GT(share(filled, reddish), 0.05);
    EXPECT_LT(share(filled, teal), 0.01);

    // A wave surface opened now shows the loaded set from its first frame, on the background of its
    // well and as the four-wall tunnel, as the first one does.
    QWidget* later = openWindow(QStringLiteral("QXnewave"));
    auto* laterView = viewIn<QXnewaveGLView>(later);
    ASSERT_NE(laterView, nullptr);
    EXPECT_EQ(laterView->images(), shadow_app.pictures());
    const QImage laterShown = shownWith(later, laterView, shadow_app.pictures());
    EXPECT_GT(share(laterShown, reddish), 0.05);
    EXPECT_LT(share(laterShown, white), 0.02);

    // Where the window that asked has closed by the time the set is in, a new one takes it.
    auto* closing = dynamic_cast<QXnewaveAppController*>(NibLoader::loadNibNamed(QStringLiteral("QXnewave")));
    ASSERT_NE(closing, nullptr);
    closing->LoadTextuerX(nullptr);
    WindowHandle(closing->nibWindow()).close();
    QWidget* taken = load(folderOfPictures(QStringLiteral("orphan"), {Qt::blue}), true, loadIntoAskingWave);
    ASSERT_NE(taken, nullptr);
    auto* takenView = viewIn<QXnewaveGLView>(taken);
    ASSERT_NE(takenView, nullptr);
    EXPECT_GT(share(shownWith(taken, takenView, shadow_app.pictures()), bluish), 0.05);
    for (QWidget* w : {wave, later, taken})
        WindowHandle(w).close();
}

TEST_F(ImageTextures, A3DWindowReloadedWithImageTickedShowsThePicturesFromItsFirstFrames)
{
    auto* controller =
        dynamic_cast<QX3DSpectrumAppController*>(NibLoader::loadNibNamed(QStringLiteral("QX3DSpectrum")));
    ASSERT_NE(controller, nullptr);
    QPointer<QWidget> first = controller->nibWindow();
    ASSERT_TRUE(processEventsUntil(
        [&] { return !hostsIn(first).isEmpty() && hostsIn(first)[0]->framesShown() > 0; }));
    const QList<QWidget*> before = shownWindowsTitled(QLatin1String("WaterfallBS Window"));

    // Textures ▸ Load Images…: the window closes, and the set chosen opens it again in Image mode.
    controller->LoadTextuerX(nullptr);
    EXPECT_EQ(LoadTextuerF, loadIntoSpectrum);
    ASSERT_TRUE(processEventsUntil([&] { return !first || !first->isVisible(); }));
    openBrowser();
    ASSERT_TRUE(click(folderOfPictures(QStringLiteral("reloaded"), {Qt::green, Qt::green, Qt::green})));
    browser->setMXTextureX(1);
    QWidget* reopened = nullptr;
    ASSERT_TRUE(processEventsUntil([&] {
        reopened = newWindowTitled(QLatin1String("WaterfallBS Window"), before);
        return reopened != nullptr;
    }));
    auto* drawing = viewIn<QX3DSpectrumGLDrawing>(reopened);
    ASSERT_NE(drawing, nullptr);
    ASSERT_NE(shadow_appAX.pictures(), nullptr);
    EXPECT_EQ(shadow_appAX.pictures()->loaded(), 3);
    EXPECT_EQ(drawing->images(), shadow_appAX.pictures());
    // Its first frame, untouched by any click: image mode, the pictures on the surfaces.
    ThreadedGLViewHost* host = hostOf(reopened, drawing);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(processEventsUntil([&] { return host->framesShown() >= 1; }));
    EXPECT_EQ(drawing->frameCopy().scene.texture, 2);
    EXPECT_EQ(drawing->frameCopy().scene.displayUnnMode, 4);  // the textured mesh
    EXPECT_EQ(drawing->frameCopy().images, shadow_appAX.pictures());
    const QImage firstFrames = host->grab().toImage();
    EXPECT_GT(share(firstFrames, greenish), 0.01);

    // A 3D window opened afterwards, switched to Image, shows the loaded set.
    QWidget* later = openWindow(QStringLiteral("QX3DSpectrum"));
    auto* laterDrawing = viewIn<QX3DSpectrumGLDrawing>(later);
    ASSERT_NE(laterDrawing, nullptr);
    EXPECT_EQ(laterDrawing->images(), shadow_appAX.pictures());
    ASSERT_TRUE(processEventsUntil([&] { return hostOf(later, laterDrawing)->framesShown() > 0; }));
    laterDrawing->view().setDrawModeX(4);
    laterDrawing->view().setTextureModeX(2);
    EXPECT_GT(share(shownWith(later, laterDrawing, shadow_appAX.pictures()), greenish), 0.01);
    for (QWidget* w : {reopened, later})
        WindowHandle(w).close();
}
