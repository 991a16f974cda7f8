// The media browser as the user meets it: the window from its nib, a click that fills the inspector and
// the hand-over buffers, and Open handing each kind of file to its opener (sound slot, movie window,
// textures, old data file).
#include "QXDrawerSound/browser/FSBrowserModel.h"
#include "QXDrawerSound/browser/FolderLister.h"
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

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
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
#include <QProgressBar>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

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
        // A slow listing held by a test is not given up while the test looks at it.
        FolderLister::setAnswerBound(std::chrono::minutes(10));
        browser = dynamic_cast<AppControllerB*>(NibLoader::loadNibNamed("MainMenuB"));
        ASSERT_TRUE(browser);
    }
    void TearDown() override { FolderLister::setAnswerBound(FolderLister::defaultAnswerBound); }

    // Folders are listed on the folder worker: the click lands once the columns on the way are in.
    void click(const QString& path)
    {
        std::optional<bool> found;
        browser->selectPath(path, [&found](bool was) { found = was; });
        ASSERT_TRUE(test::processEventsUntil([&found] { return found.has_value(); }));
        ASSERT_TRUE(*found) << path.toStdString();
    }
    // An open lists its folder on the folder worker, and the pictures it asks for are read and decoded on
    // the picture worker: until both are handed over.
    void settle()
    {
        ASSERT_TRUE(test::processEventsUntil([this] {
            return (!browser || !browser->isBusy()) && FolderLister::pending() == 0 &&
                   PictureLoader::pending() == 0;
        }));
    }
    void open()
    {
        browser->OpenAll(nullptr);
        settle();
    }

    QPointer<AppControllerB> browser;  // a load into the 3D spectrum closes it
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
    click(QDir(folder).filePath("alias.wav"));
    const QModelIndex alias = browser->model()->indexOfPath(QDir(folder).filePath("alias.wav"));
    EXPECT_TRUE(alias.data(FSBrowserModel::IsLinkRole).toBool());
    EXPECT_FALSE(browser->model()
                     ->indexOfPath(QDir(folder).filePath("clicked.wav"))
                     .data(FSBrowserModel::IsLinkRole)
                     .toBool());
    const QImage plain =
        FSBrowserCell::iconImageOfSize(QDir(folder).filePath("clicked.wav"), 16, false, false).toImage();
    const QImage linked =
        FSBrowserCell::iconImageOfSize(QDir(folder).filePath("alias.wav"), 16, false, true).toImage();
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
    open();
    EXPECT_EQ(openSound, 1);
    EXPECT_TRUE(windowShown("a.WAV"));
    // The folder of sounds: the next slot, with both visible sounds as its bank.
    click(sounds);
    open();
    EXPECT_EQ(openSound, 2);
    EXPECT_EQ(RowsCountA[1], 2);
    EXPECT_EQ(SendSoundAstr[0], QDir(sounds).filePath("a.WAV"));
    EXPECT_EQ(SendSoundAstr[1], QDir(sounds).filePath("b.WAV"));
    // A mixed-case "Wav" is no sound.
    QFile::copy(test::writeTone("t2.wav", 0.5), QDir(folder).filePath("odd.Wav"));
    click(QDir(folder).filePath("odd.Wav"));
    open();
    EXPECT_EQ(openSound, 2);

    // A movie opens the movie window.
    QString why;
    const QString movie = test::makeCounterMovie("clip.mov", 10, 10, &why);
    if (!movie.isEmpty()) {
        QFile::copy(movie, QDir(folder).filePath("clip.mov"));
        click(QDir(folder).filePath("clip.mov"));
        open();
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
    open();
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
    open();
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
    open();
    EXPECT_EQ(maxImageN, 3);
    EXPECT_EQ(browser->getMaxOpen(), 3);
    EXPECT_EQ(QString::fromUtf8(outCHARM[2]), QDir(images).filePath("2.png"));
    EXPECT_TRUE(windowShown("Wave Surface"));
    settle();
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
    open();
    // The wave surface takes the number of its images from its view at a tick of its own, whenever its
    // view has loaded them: what it says then is not the opening's.
    QStringList said =
        QString::fromStdString(testing::internal::GetCapturedStdout()).split('\n', Qt::SkipEmptyParts);
    said.removeIf([](const QString& line) {
        return line.startsWith("awakeFromNib timerUpdate") || line.startsWith("setMaxTextuerSlider = ");
    });
    EXPECT_TRUE(said.isEmpty()) << said.join('\n').toStdString();

    // One image into the 3D spectrum (the texture load of its window asks for it).
    click(QDir(images).filePath("1.png"));
    LoadTextuerF = 1;
    open();
    EXPECT_EQ(LoadTextuerF, 0);
    EXPECT_EQ(maxImageN, 1);
    settle();
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
    open();
    EXPECT_EQ(maxImageN, 2);
    settle();
    QMessageBox* told = alert();
    ASSERT_NE(told, nullptr);
    EXPECT_TRUE(told->informativeText().contains("broken")) << told->informativeText().toStdString();
    told->close();

    // One good picture among them: it is loaded, and the user is told which files were left out.
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.save(QDir(folder).filePath("c.png"));
    if (OpenGLViewHost::isSupported()) {
        click(folder);
        open();
        settle();
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
        open();
        settle();
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
    open();
    EXPECT_EQ(maxImageN, outCHARMCount);
    QMessageBox* capped = shownAlert("imagesCappedAlert");
    ASSERT_NE(capped, nullptr);
    EXPECT_EQ(capped->text(),
              QStringLiteral("Only the first %1 of %2 images are loaded.").arg(outCHARMCount).arg(files));
    EXPECT_TRUE(capped->informativeText().startsWith(folder)) << capped->informativeText().toStdString();
    capped->close();
    settle();
    if (QMessageBox* notLoaded = shownAlert("imagesNotLoadedAlert"))
        notLoaded->close();

    // A folder the scene takes whole says nothing about a limit.
    QFile::remove(QDir(folder).filePath("000.png"));
    QFile::remove(QDir(folder).filePath("001.png"));
    click(folder);
    open();
    EXPECT_EQ(shownAlert("imagesCappedAlert"), nullptr);
    settle();
    if (QMessageBox* notLoaded = shownAlert("imagesNotLoadedAlert"))
        notLoaded->close();
}

TEST_F(MediaBrowserTest, AFolderThatListsSlowlyHoldsUpNeitherTheMainThreadNorItsColumn)
{
    // A stand-in for a folder on a slow mount: its listing blocks on the worker until the test lets it go.
    const QString folder = QDir(test::tempFolder()).filePath("slow");
    QDir().mkpath(folder);
    for (int i = 0; i < 2; ++i) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(QDir(folder).filePath(QStringLiteral("%1.png").arg(i)));
    }
    click(QDir(folder).filePath("0.png"));  // the folders on the way are listed before the listing hangs
    click(folder);
    settle();
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
        std::atomic<int> waiting{0};
    };
    auto gate = std::make_shared<Gate>();
    FolderLister::setListFunction([gate, folder](const QString& path, bool withHidden) {
        if (path == folder) {
            ++gate->waiting;
            std::unique_lock lock(gate->mutex);
            gate->opened.wait(lock, [&] { return gate->open; });
            --gate->waiting;
        }
        return directoryEntries(path, withHidden);
    });
    const auto release = [gate] {
        {
            std::lock_guard lock(gate->mutex);
            gate->open = true;
        }
        gate->opened.notify_all();
        FolderLister::setListFunction({});
    };
    // However the test ends, the worker is let go.
    const std::unique_ptr<void, std::function<void(void*)>> releaseAtEnd(&gate,
                                                                         [release](void*) { release(); });

    // Open on the folder: the listing hangs on the worker while the main thread goes on answering, a
    // timer ticking and a queued call running, and the browser shows it is busy.
    LoadTextuerF = 0;
    const int before = maxImageN = 1;
    browser->OpenAll(nullptr);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(1);
    bool queuedRan = false;
    QMetaObject::invokeMethod(
        qApp, [&queuedRan] { queuedRan = true; }, Qt::QueuedConnection);
    EXPECT_TRUE(
        test::processEventsUntil([&] { return gate->waiting.load() == 1 && ticks >= 5 && queuedRan; }));
    EXPECT_EQ(gate->waiting.load(), 1) << "the listing is still held";
    EXPECT_TRUE(browser->isBusy());
    auto* bar = browser->nibWindow()->findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 0);  // the busy bar
    EXPECT_EQ(maxImageN, before);

    // A click on the folder lists its column again: held as well, the column keeps what it showed, and
    // the main thread still answers.
    click(folder);
    EXPECT_TRUE(browser->inspectorText().contains("slow"));
    EXPECT_EQ(browser->model()->rowCount(browser->model()->indexOfPath(folder)), 2);
    const int ticksNow = ticks;
    EXPECT_TRUE(test::processEventsUntil([&] { return ticks >= ticksNow + 5; }));
    EXPECT_GE(gate->waiting.load(), 1);

    // Let go: the set opens, and the browser is idle again.
    release();
    settle();
    timer.stop();
    EXPECT_EQ(maxImageN, 2);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(QString::fromUtf8(outCHARM[1]), QDir(folder).filePath("1.png"));
}

TEST_F(MediaBrowserTest, AFolderThatDoesNotAnswerHoldsUpNoOtherColumnAndIsNamedWhereItsColumnIs)
{
    const QString root = test::tempFolder();
    const QString hung = QDir(root).filePath("hung");
    const QString other = QDir(root).filePath("other");
    QDir().mkpath(hung);
    QDir().mkpath(other);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(QDir(other).filePath("0.png"));
    click(other);
    settle();
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
        std::atomic<int> waiting{0};
    };
    auto gate = std::make_shared<Gate>();
    FolderLister::setListFunction([gate, hung](const QString& path, bool withHidden) {
        if (path == hung) {
            ++gate->waiting;
            std::unique_lock lock(gate->mutex);
            gate->opened.wait(lock, [&] { return gate->open; });
            --gate->waiting;
        }
        return directoryEntries(path, withHidden);
    });
    const std::unique_ptr<void, std::function<void(void*)>> releaseAtEnd(&gate, [gate](void*) {
        FolderLister::setListFunction({});
        {
            std::lock_guard lock(gate->mutex);
            gate->open = true;
        }
        gate->opened.notify_all();
    });

    // The hung folder's column waits; another folder's column, and /etc's, fill meanwhile.
    click(hung);
    ASSERT_TRUE(test::processEventsUntil([&] { return gate->waiting.load() >= 1; }));
    QFile::remove(QDir(other).filePath("0.png"));
    click(other);
    FSBrowserModel* model = browser->model();
    ASSERT_TRUE(test::processEventsUntil([&] { return model->rowCount(model->indexOfPath(other)) == 0; }));
    click("/etc");
    ASSERT_TRUE(test::processEventsUntil([&] { return model->rowCount(model->indexOfPath("/etc")) > 0; }));
    EXPECT_GE(gate->waiting.load(), 1) << "the hung listing is still held";

    // Past its bound the hung folder is named in its column; Open on it names it in an alert and opens
    // nothing.
    FolderLister::setAnswerBound(std::chrono::milliseconds(50));
    const QString named = hung + " does not answer";
    ASSERT_TRUE(test::processEventsUntil([&] {
        const QModelIndex column = model->indexOfPath(hung);
        return model->rowCount(column) == 1 && model->index(0, 0, column).data().toString() == named;
    }));
    click(hung);
    LoadTextuerF = 0;
    const int before = maxImageN = 1;
    browser->OpenAll(nullptr);
    ASSERT_TRUE(test::processEventsUntil([] { return shownAlert("folderNotListedAlert") != nullptr; }));
    EXPECT_TRUE(shownAlert("folderNotListedAlert")->informativeText().contains(named));
    shownAlert("folderNotListedAlert")->close();
    settle();
    EXPECT_EQ(maxImageN, before);
    EXPECT_FALSE(browser->isBusy());
}

TEST_F(MediaBrowserTest, ALoadThatRefusesEverythingOpensNoWindowAndNamesWhatItCannotShow)
{
    const auto waveWindows = [] {
        int shown = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            shown += window->isVisible() && window->windowTitle().startsWith("Wave Surface");
        return shown;
    };
    const int windowsBefore = waveWindows();

    // A folder of files that hold no picture, one of them named with bytes that are not UTF-8.
    const QString folder = QDir(test::tempFolder()).filePath("refused");
    QDir().mkpath(folder);
    QFile text(QDir(folder).filePath("a.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    const QByteArray oddName = QFile::encodeName(folder) + "/caf\xE9.png";
    {
        const int fd = ::open(oddName.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    click(folder);
    LoadTextuerF = 0;
    open();
    QMessageBox* told = shownAlert("imagesNotLoadedAlert");
    ASSERT_NE(told, nullptr);
    EXPECT_TRUE(told->informativeText().contains("one of the 2 files"))
        << told->informativeText().toStdString();
    EXPECT_TRUE(told->informativeText().contains("caf\\xE9.png: its name is not valid UTF-8"))
        << told->informativeText().toStdString();
    told->close();
    EXPECT_EQ(waveWindows(), windowsBefore);

    // The column shows the name escaped, dimmed as an entry that cannot be opened.
    const QModelIndex odd = browser->model()->indexOfPath(QDir(folder).filePath("caf\\xE9.png"));
    ASSERT_TRUE(odd.isValid());
    EXPECT_FALSE(odd.data(FSBrowserModel::IsReadableRole).toBool());

    // One image that is a FIFO: refused by name, and again no window.
    const QString pipe = QDir(folder).filePath("pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    click(pipe);
    open();
    told = shownAlert("imagesNotLoadedAlert");
    ASSERT_NE(told, nullptr);
    EXPECT_TRUE(told->informativeText().contains("FIFO")) << told->informativeText().toStdString();
    told->close();
    EXPECT_EQ(waveWindows(), windowsBefore);

    // With one picture among them the set loads, and the alert names the odd file among the refused.
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.save(QDir(folder).filePath("b.png"));
    QFile::remove(pipe);
    click(folder);
    open();
    QMessageBox* partly = shownAlert("imagesPartlyLoadedAlert");
    ASSERT_NE(partly, nullptr);
    EXPECT_TRUE(partly->informativeText().startsWith("2 of the 3 files in " + folder))
        << partly->informativeText().toStdString();
    EXPECT_TRUE(partly->informativeText().contains("caf\\xE9.png"))
        << partly->informativeText().toStdString();
    partly->close();
    EXPECT_EQ(waveWindows(), windowsBefore + 1);
}

}  // namespace
}  // namespace nupo
