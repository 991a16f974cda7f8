// The media browser as the user meets it: the window from its nib, a click that fills the inspector and
// the hand-over buffers, and Open handing each kind of file to its opener (sound slot, movie window,
// textures, old data file).
#include "QXDrawerSound/browser/FSBrowserModel.h"
#include "QXDrawerSound/browser/MediaBrowser.h"
#include "QXDrawerSound/browser/ui/AppControllerB.h"
#include "QXDrawerSound/browser/ui/FSBrowserCell.h"
#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/movie/QXMovieController.h"
#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "platform/appkit/ui/Beep.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "shared/CoreState.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"
#include "support/WindowTestSupport.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/PictureLoader.h"
#include "views3d/textures/gl/ShadowApp.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QColumnView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>

namespace nupo {
namespace {

using test::shownAlert;

bool windowShown(const QString& title)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().startsWith(title))
            return true;
    return false;
}

class MediaBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MediaPlayer::Options options;
        options.audioOutput = false;
        QXSoundController::setMediaOptions(options);
        options.videoOutput = true;
        QXMovieController::setMediaOptions(options);
        setPauseX = 1;
        openSound = 0;
        initSoundTables();
        browser = dynamic_cast<AppControllerB*>(NibLoader::loadNibNamed("MainMenuB"));
        ASSERT_TRUE(browser);
    }

    void click(const QString& path) { ASSERT_TRUE(browser->selectPath(path)) << path.toStdString(); }
    // The pictures asked for are read and decoded on the picture worker: until they are handed over.
    static void waitForPictures()
    {
        ASSERT_TRUE(test::processEventsUntil([] { return PictureLoader::pending() == 0; }));
    }

    AppControllerB* browser = nullptr;
};

TEST_F(MediaBrowserTest, AClickFillsTheInspectorAndTheHandOverAndTheBlocksReachTheSlots)
{
    EXPECT_TRUE(windowShown("Media Browser"));
    const QString folder = test::tempFolder();
    const QString tone = test::writeTone("clicked.wav", 0.5);
    QFile::copy(tone, QDir(folder).filePath("clicked.wav"));
    click(QDir(folder).filePath("clicked.wav"));
    EXPECT_TRUE(browser->inspectorText().contains("clicked.wav"));
    EXPECT_TRUE(browser->inspectorText().contains("Non-Directory"));
    EXPECT_EQ(QString::fromUtf8(outCHAR), QDir(folder).filePath("clicked.wav"));
    EXPECT_EQ(outCHARsText(), "clicked.wav");
    EXPECT_EQ(selectDirectory, 0);
    click(folder);
    EXPECT_EQ(selectDirectory, 1);
    EXPECT_TRUE(browser->inspectorText().contains("Directory"));

    // Cells: 20 high, and an icon with the link arrow over it for a link.
    FSBrowserCell cell;
    QStyleOptionViewItem option;
    const QModelIndex item = browser->model()->indexOfPath(QDir(folder).filePath("clicked.wav"));
    EXPECT_EQ(cell.sizeHint(option, item).height(), 20);
    QFile::link(QDir(folder).filePath("clicked.wav"), QDir(folder).filePath("alias.wav"));
    const QImage plain = FSBrowserCell::iconImageOfSize(QDir(folder).filePath("clicked.wav"), 16).toImage();
    const QImage linked = FSBrowserCell::iconImageOfSize(QDir(folder).filePath("alias.wav"), 16).toImage();
    EXPECT_EQ(plain.size(), QSize(16, 16));
    EXPECT_NE(plain, linked);

    browser->setSoundBlock(3);
    EXPECT_EQ(SoundBlockX.load(), 4);
    browser->setPlaySoundBlock(1);
    EXPECT_EQ(PlaySoundBlockX.load(), 2);
    SoundBlockX = 1;
    PlaySoundBlockX = 1;
}

TEST_F(MediaBrowserTest, OpenHandsSoundsMoviesDataAndImagesToTheirOpeners)
{
    const QString folder = test::tempFolder();
    const QString sounds = QDir(folder).filePath("sounds");
    QDir(folder).mkpath("sounds");
    for (const char* name : {"b.WAV", "a.WAV", ".hidden.WAV"})
        QFile::copy(test::writeTone("t.wav", 0.5), QDir(sounds).filePath(name));

    // One sound: the first slot's window with that sound.
    click(QDir(sounds).filePath("a.WAV"));
    browser->OpenAll(nullptr);
    EXPECT_EQ(openSound, 1);
    EXPECT_TRUE(windowShown("a.WAV"));
    // The folder of sounds: the next slot, with both visible sounds as its bank.
    click(sounds);
    browser->OpenAll(nullptr);
    EXPECT_EQ(openSound, 2);
    EXPECT_EQ(RowsCountA[1], 2);
    EXPECT_EQ(SendSoundAstr[0], QDir(sounds).filePath("a.WAV"));
    EXPECT_EQ(SendSoundAstr[1], QDir(sounds).filePath("b.WAV"));
    // A mixed-case "Wav" is no sound.
    QFile::copy(test::writeTone("t2.wav", 0.5), QDir(folder).filePath("odd.Wav"));
    click(QDir(folder).filePath("odd.Wav"));
    browser->OpenAll(nullptr);
    EXPECT_EQ(openSound, 2);

    // A movie opens the movie window.
    QString why;
    const QString movie = test::makeCounterMovie("clip.mov", 10, 10, &why);
    if (!movie.isEmpty()) {
        QFile::copy(movie, QDir(folder).filePath("clip.mov"));
        click(QDir(folder).filePath("clip.mov"));
        browser->OpenAll(nullptr);
        EXPECT_TRUE(test::processEventsUntil([] { return gOpeningMovieController == nullptr; }));
        EXPECT_TRUE(windowShown("Movie Window"));
        EXPECT_EQ(ShowQTWindow, 1);
    }

    // A file named "data" is an old data file: it becomes the recording.
    QFile data(QDir(folder).filePath("data"));
    data.open(QIODevice::WriteOnly);
    data.write(QByteArray(4096 + 2 * 300, char(0x55)));
    data.close();
    click(data.fileName());
    browser->OpenAll(nullptr);
    EXPECT_EQ(maxploop.load(), 300);
    // One that holds no samples is refused on screen, and the recording in use stays.
    const auto refusal = []() -> QMessageBox* {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(window);
                box && box->isVisible() && box->objectName() == "dataFileRefusedAlert")
                return box;
        return nullptr;
    };
    EXPECT_EQ(refusal(), nullptr);
    QFile tooShort(QDir(folder).filePath("short/data"));
    QDir(folder).mkpath("short");
    ASSERT_TRUE(tooShort.open(QIODevice::WriteOnly));
    tooShort.write(QByteArray(100, char(0x55)));
    tooShort.close();
    click(tooShort.fileName());
    browser->OpenAll(nullptr);
    EXPECT_EQ(maxploop.load(), 300);
    QMessageBox* refused = refusal();
    ASSERT_NE(refused, nullptr);
    EXPECT_TRUE(refused->informativeText().contains("header")) << refused->informativeText().toStdString();
    refused->close();

    // A folder of images: the set's paths and counts, and the pictures decoded into the wave surface's
    // table once the worker handed them over.
    const QString images = QDir(folder).filePath("images");
    QDir(folder).mkpath("images");
    for (int i = 0; i < 3; ++i) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(QDir(images).filePath(QStringLiteral("%1.png").arg(i)));
    }
    click(images);
    LoadTextuerF = 0;
    browser->OpenAll(nullptr);
    EXPECT_EQ(maxImageN, 3);
    EXPECT_EQ(browser->getMaxOpen(), 3);
    EXPECT_EQ(QString::fromUtf8(outCHARM[2]), QDir(images).filePath("2.png"));
    EXPECT_TRUE(windowShown("Wave Surface"));
    waitForPictures();
    if (OpenGLViewHost::isSupported()) {
        EXPECT_NE(shadow_app.picture(2), nullptr);
        EXPECT_EQ(shadow_app.picture(3), nullptr);
    }
    // A folder with nothing visible in it opens nothing.
    const QString empty = QDir(folder).filePath("empty");
    QDir(folder).mkpath("empty/.only");
    click(empty);
    // The windows' first frames (which print their set-up) are drawn, and what they printed is out.
    ASSERT_TRUE(test::processEventsUntil([] {
        const QList<QWidget*> windows = QApplication::topLevelWidgets();
        return std::all_of(windows.begin(), windows.end(), [](QWidget* window) {
            const auto hosts = window->findChildren<ThreadedGLViewHost*>();
            return !window->isVisible() ||
                   std::all_of(hosts.begin(), hosts.end(), [](ThreadedGLViewHost* host) {
                       return !host->isVisible() || (host->framesShown() > 0 && !host->frameInFlight());
                   });
        });
    }));
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    browser->OpenAll(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // One image into the 3D spectrum (the texture load of its window asks for it).
    click(QDir(images).filePath("1.png"));
    LoadTextuerF = 1;
    browser->OpenAll(nullptr);
    EXPECT_EQ(LoadTextuerF, 0);
    EXPECT_EQ(maxImageN, 1);
    waitForPictures();
    if (OpenGLViewHost::isSupported()) {
        EXPECT_NE(shadow_appAX.picture(0), nullptr);
    }
}

TEST_F(MediaBrowserTest, ImagesThatCannotBeLoadedAreToldOnScreen)
{
    // Files named as pictures that hold none: nothing can go into the sprite table, and the user is told
    // so by an alert rather than by a line on standard output alone.
    const QString folder = QDir(test::tempFolder()).filePath("broken");
    QDir().mkpath(folder);
    for (const char* name : {"a.png", "b.png"}) {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }
    const auto alert = [] { return shownAlert("imagesNotLoadedAlert"); };
    click(folder);
    LoadTextuerF = 0;
    browser->OpenAll(nullptr);
    EXPECT_EQ(maxImageN, 2);
    waitForPictures();
    QMessageBox* told = alert();
    ASSERT_NE(told, nullptr);
    EXPECT_TRUE(told->informativeText().contains(OpenGLViewHost::isSupported() ? "broken" : "OpenGL"))
        << told->informativeText().toStdString();
    told->close();

    // One good picture among them: it is loaded, and the user is told which files were left out.
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.save(QDir(folder).filePath("c.png"));
    if (OpenGLViewHost::isSupported()) {
        click(folder);
        browser->OpenAll(nullptr);
        waitForPictures();
        EXPECT_EQ(alert(), nullptr);
        QMessageBox* partly = shownAlert("imagesPartlyLoadedAlert");
        ASSERT_NE(partly, nullptr);
        EXPECT_TRUE(
            partly->informativeText().startsWith("2 of the 3 files in " + folder +
                                                 " cannot be loaded:\n"
                                                 "a.png: it holds no picture this program can read\n"
                                                 "b.png: it holds no picture this program can read\n"))
            << partly->informativeText().toStdString();
        partly->close();

        // All of them pictures: nothing to tell.
        QFile::remove(QDir(folder).filePath("a.png"));
        QFile::remove(QDir(folder).filePath("b.png"));
        click(folder);
        browser->OpenAll(nullptr);
        waitForPictures();
        EXPECT_EQ(alert(), nullptr);
        EXPECT_EQ(shownAlert("imagesPartlyLoadedAlert"), nullptr);
    }
}

TEST_F(MediaBrowserTest, AFolderWithMoreImagesThanASceneTakesSaysSoOnScreen)
{
    const QString folder = QDir(test::tempFolder()).filePath("many");
    QDir().mkpath(folder);
    const int files = outCHARMCount + 2;
    for (int n = 0; n < files; ++n) {
        QFile file(QDir(folder).filePath(QStringLiteral("%1.png").arg(n, 3, 10, QLatin1Char('0'))));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");  // nothing to decode: the count is what matters here
    }
    click(folder);
    LoadTextuerF = 0;
    browser->OpenAll(nullptr);
    EXPECT_EQ(maxImageN, outCHARMCount);
    QMessageBox* capped = shownAlert("imagesCappedAlert");
    ASSERT_NE(capped, nullptr);
    EXPECT_EQ(capped->text(),
              QStringLiteral("Only the first %1 of %2 images are loaded.").arg(outCHARMCount).arg(files));
    EXPECT_TRUE(capped->informativeText().startsWith(folder)) << capped->informativeText().toStdString();
    capped->close();
    waitForPictures();
    if (QMessageBox* notLoaded = shownAlert("imagesNotLoadedAlert"))
        notLoaded->close();

    // A folder the scene takes whole says nothing about a limit.
    QFile::remove(QDir(folder).filePath("000.png"));
    QFile::remove(QDir(folder).filePath("001.png"));
    click(folder);
    browser->OpenAll(nullptr);
    EXPECT_EQ(shownAlert("imagesCappedAlert"), nullptr);
    waitForPictures();
    if (QMessageBox* notLoaded = shownAlert("imagesNotLoadedAlert"))
        notLoaded->close();
}

}  // namespace
}  // namespace nupo
