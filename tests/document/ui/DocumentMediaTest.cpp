// A document with media open as the user makes it from the browser: a single sound, a bank of sounds
// and a movie. Saved, reverted and opened again, it shows each of them once, with every slot's sounds
// as saved, and says nothing about sounds it cannot read.
#include "DocumentFileDifferences.h"
#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/movie/QXMovieController.h"
#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXDrawerSound/player/ui/QXSoundWindowController.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "QXSketch/gl/SketchState.h"
#include "QXSketch/ui/NUPO4DrawWindowController.h"
#include "core/ui/QXAppController.h"
#include "document/ui/NUPO4DocumentController.h"
#include "interop/OscPatchServer.h"
#include "interop/OscTestClient.h"
#include "interop/ui/QCNUPO4Patches.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/media/MediaOpening.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"
#include "shared/Utilities.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"
#include "support/WindowTestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <iterator>

using namespace nupo;

namespace {

struct Shown {
    int soundSlots = 0;
    int movies = 0;
    QStringList titles;
    bool operator==(const Shown& other) const
    {
        return soundSlots == other.soundSlots && movies == other.movies && titles == other.titles;
    }
};

void PrintTo(const Shown& shown, std::ostream* out)
{
    *out << shown.soundSlots << " sound slots, " << shown.movies
         << " movies: " << shown.titles.join(" | ").toStdString();
}

// The media windows on screen once the windows closed before have gone.
Shown shownMediaWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Shown shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        const QString controller = window->property("controllerClass").toString();
        if (controller == "QXSoundController")
            ++shown.soundSlots;
        else if (controller == "QXMovieController")
            ++shown.movies;
        else
            continue;
        shown.titles << window->windowTitle().section(QStringLiteral(" \u2014 "), 0, 0);  // less the document
    }
    shown.titles.sort();
    return shown;
}

// Waits until the movie window and the sound slots have opened their media (or said why not).
void mediaOpened()
{
    ASSERT_TRUE(test::processEventsUntil(
        [] { return gOpeningMovieController == nullptr && MediaOpening::openingsUnderWay() == 0; }));
}

struct SlotContents {
    std::array<int, soundSlotCount> rows{};
    std::array<QStringList, soundSlotCount> paths;
    bool operator==(const SlotContents&) const = default;
};

SlotContents slotContents()
{
    SlotContents contents;
    for (int slot = 0; slot < soundSlotCount; ++slot) {
        contents.rows[std::size_t(slot)] = RowsCountA[std::size_t(slot)];
        for (int i = 0; i < RowsCountA[std::size_t(slot)]; ++i)
            contents.paths[std::size_t(slot)] << (*soundPathTable(slot))[std::size_t(i)];
    }
    return contents;
}

// The document controller as a media test drives it: what it would tell the user goes to told, it never
// asks to save, and the recording's buffers are ready. With emptySlots the sound slots start empty too.
NUPO4DocumentController& mediaDocument(QStringList& told, bool emptySlots = true)
{
    // Windows are placed as the program places them (its first window installs this).
    WindowPlacement::watchTopLevelWindows();
    NUPO4DocumentController::installDocument([] { return false; });
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    document.tellUser = [&told](const QString& message) { told << message; };
    document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::DontSave; };
    setPauseX = 1;
    maxploop = 2000;
    RecordingBuffers::sharedRecordingBuffers().allocate();
    if (emptySlots) {
        QXSoundController::sharedQXSoundController().initSoundNSStr();
        firsttimeQXSoundController = 1;
        openSound = 0;
    }
    return document;
}

// Sounds and movies play without sound (the movie's picture is drawn); returns a counter movie of that
// name, or nothing with the reason where none can be made.
QString silentPlayersAndMovie(const char* name, QString* why)
{
    MediaPlayer::Options options;
    options.audioOutput = false;
    QXSoundController::setMediaOptions(options);
    options.videoOutput = true;
    QXMovieController::setMediaOptions(options);
    return test::makeCounterMovie(name, 24, 10, why);
}

// The shown window of a controller of that class, once windows closed meanwhile are gone; or none.
QWidget* shownWindowOf(const QString& controller)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->property("controllerClass").toString() == controller)
            return window;
    return nullptr;
}

}  // namespace

TEST(DocumentMedia, RevertAndOpeningTheSameDocumentShowTheSavedSoundsAndMovieOnceEach)
{
    QString why;
    const QString movie = silentPlayersAndMovie("documented.mp4", &why);
    if (movie.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const QString single = test::writeTone("single.wav", 2.0);
    const QStringList bank{test::writeTone("first.wav", 2.0), test::writeTone("second.wav", 2.0)};

    QStringList told;
    auto& document = mediaDocument(told);
    document.askToRevert = [](const QString&) { return true; };

    // From the browser: a single sound, a folder of sounds, then the movie.
    ASSERT_NE(openSoundBank({single}), nullptr);
    ASSERT_NE(openSoundBank(bank), nullptr);
    ASSERT_TRUE(NSStringToC(movie));
    QXAppController::sharedQXAppController().openMovieAndPlaywithBrainwaveQ(nullptr);
    mediaOpened();
    const Shown saved = shownMediaWindows();
    ASSERT_EQ(saved.soundSlots, 2);
    ASSERT_EQ(saved.movies, 1);

    const QString path = test::tempFolder() + "/media.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(path));
    const SlotContents savedSlots = slotContents();
    EXPECT_EQ(savedSlots.rows[0], 1);
    EXPECT_EQ(savedSlots.paths[0], QStringList{single});
    EXPECT_EQ(savedSlots.paths[1], bank);

    for (int round = 0; round < 2; ++round) {
        testing::internal::CaptureStdout();
        if (round == 0) {
            document.revertDocumentToSaved(nullptr);
            ASSERT_TRUE(test::processEventsUntil([&] { return !document.isReadingDocument(); }));
        } else
            ASSERT_TRUE(document.openDocumentAt(path));
        mediaOpened();
        const QString said = QString::fromStdString(testing::internal::GetCapturedStdout());
        EXPECT_EQ(shownMediaWindows(), saved) << "round " << round;
        EXPECT_EQ(slotContents(), savedSlots) << "round " << round;
        EXPECT_FALSE(said.contains("cannot read")) << said.toStdString();
        EXPECT_FALSE(said.contains("Can not open movie")) << said.toStdString();
        // The bands of a bank smaller than eight sounds have no sound of their own to open.
        EXPECT_FALSE(said.contains("No sound")) << said.toStdString();
        EXPECT_EQ(ShowQTWindow, 1);
        // Saved again, the document names the same movie, not the last folder a slot handed over.
        ASSERT_TRUE(document.saveDocumentTo(path));
        ASSERT_NE(gMyMovieControllerObject, nullptr);
        EXPECT_EQ(gMyMovieControllerObject->moviePath(), movie);
    }
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
}

TEST(DocumentMedia, ReopenedDocumentPutsTheMovieWindowWhereItWas)
{
    // The frame a document stores is the whole window, title bar included, and it is read back as
    // such: saved and reopened again and again, the window neither creeps down by its title bar nor
    // shrinks, whether or not a window manager has framed it yet.
    QString why;
    const QString movie = silentPlayersAndMovie("placed.mp4", &why);
    if (movie.isEmpty())
        GTEST_SKIP() << why.toStdString();

    QStringList told;
    auto& document = mediaDocument(told, false);
    ASSERT_TRUE(NSStringToC(movie));
    QXAppController::sharedQXAppController().openMovieAndPlaywithBrainwaveQ(nullptr);
    mediaOpened();
    const auto movieWindow = [] { return shownWindowOf("QXMovieController"); };
    ASSERT_NE(movieWindow(), nullptr);
    const QString path = test::tempFolder() + "/placed.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(path));
    const std::vector<float> stored(NomalQTSizeR, NomalQTSizeR + 4);

    QRect placed;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(document.openDocumentAt(path));
        mediaOpened();
        const QWidget* window = movieWindow();
        ASSERT_NE(window, nullptr);
        QCoreApplication::processEvents();
        // Saved at once, framed or not, and saved again once the window stands settled.
        ASSERT_TRUE(document.saveDocumentTo(path));
        EXPECT_EQ(std::vector<float>(NomalQTSizeR, NomalQTSizeR + 4), stored) << "round " << round;
        ASSERT_TRUE(test::processEventsUntil([&] { return test::windowSettled(window); }));
        if (round == 0)
            placed = window->geometry();
        EXPECT_EQ(window->geometry(), placed) << "round " << round;
        ASSERT_TRUE(document.saveDocumentTo(path));
        EXPECT_EQ(std::vector<float>(NomalQTSizeR, NomalQTSizeR + 4), stored) << "round " << round;
    }
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
}

// What the user set in the media windows comes back with the document: the movie's play mode and
// selection, and where the movie, sound slot and drawing windows stood.
TEST(DocumentMedia, ReopenedDocumentBringsBackTheMoviesPlayModeAndWhereEveryMediaWindowStood)
{
    QString why;
    const QString movie = silentPlayersAndMovie("modes.mp4", &why);
    if (movie.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QStringList told;
    auto& document = mediaDocument(told);

    ASSERT_TRUE(NSStringToC(movie));
    QXAppController::sharedQXAppController().openMovieAndPlaywithBrainwaveQ(nullptr);
    mediaOpened();
    ASSERT_NE(gMyMovieControllerObject, nullptr);
    gMyMovieControllerObject->setMovieSelection(2.0, 3.5);
    gMyMovieControllerObject->setPlaymodeMatrix(2);  // Selection
    ASSERT_NE(openSoundBank({test::writeTone("placed.wav", 2.0)}), nullptr);
    NUPO4DrawWindowController::showDrawWindow(nullptr);
    QWidget* slot = shownWindowOf("QXSoundController");
    QWidget* drawing = shownWindowOf("NUPO4DrawWindowController");
    ASSERT_NE(slot, nullptr);
    ASSERT_NE(drawing, nullptr);
    // A user moves only a settled window; one moved sooner is put back where it was opened once its
    // frame is known.
    ASSERT_TRUE(
        test::processEventsUntil([&] { return test::windowSettled(slot) && test::windowSettled(drawing); }));
    // Spots where each window lies whole on the screen, whatever its size: a frame that does not fit
    // would be moved in on reopening.
    const auto spotOnScreen = [](QWidget* window, const QPoint& spot) {
        const QRect area = WindowPlacement::availableArea(window);
        const QSize frame = WindowPlacement::frameOf(window).size();
        const QPoint corner(
            std::clamp(spot.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())),
            std::clamp(spot.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height())));
        return corner;
    };
    const QPoint slotCorner = spotOnScreen(slot, QPoint(60, 260));
    const QPoint drawingCorner = spotOnScreen(drawing, QPoint(173, 99));
    // Moved, and the frames the program keeps for the document are those the windows stand in.
    const auto keptAt = [&](QWidget* window, const QPoint& corner, const float(&kept)[4]) {
        return test::windowSettled(window) && WindowPlacement::frameOf(window).topLeft() == corner &&
               WindowHandle(window).frame() == QRectF(kept[0], kept[1], kept[2], kept[3]);
    };
    // The slot's row is the one the sound went to (not the first when another test of this run has
    // sounds open).
    ASSERT_TRUE(test::moveAsUserAndWait({{slot, slotCorner}, {drawing, drawingCorner}}, [&] {
        return std::any_of(std::begin(SoundWindowFrameA), std::end(SoundWindowFrameA),
                           [&](const float(&kept)[4]) { return keptAt(slot, slotCorner, kept); }) &&
               keptAt(drawing, drawingCorner, DrawingWindowFrameR);
    }));
    const QRect slotFrame = slot->geometry();
    const QRect drawingFrame = drawing->geometry();
    const QString path = test::tempFolder() + "/modes.nupo4";
    const QString again = test::tempFolder() + "/modes-again.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(path));

    // Changed and closed: the document brings each back.
    gMyMovieControllerObject->setPlaymodeMatrix(1);
    gMyMovieControllerObject->setMovieSelection(0.0, 0.0);
    drawing->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(document.openDocumentAt(path));
    mediaOpened();
    QCoreApplication::processEvents();
    ASSERT_NE(gMyMovieControllerObject, nullptr);
    EXPECT_EQ(gMyMovieControllerObject->playMode(), 2);
    ASSERT_NE(gMyMovieControllerObject->movie(), nullptr);
    EXPECT_EQ(gMyMovieControllerObject->movie()->selection(), std::pair(2.0, 3.5));
    EXPECT_TRUE(gMyMovieControllerObject->movie()->playsSelectionOnly());
    slot = shownWindowOf("QXSoundController");
    drawing = shownWindowOf("NUPO4DrawWindowController");
    ASSERT_NE(slot, nullptr);
    ASSERT_NE(drawing, nullptr);
    ASSERT_TRUE(test::processEventsUntil([&] {
        return test::windowSettled(slot) && test::windowSettled(drawing) &&
               test::windowSettled(shownWindowOf("QXMovieController"));
    }));
    EXPECT_EQ(slot->geometry(), slotFrame);
    EXPECT_EQ(drawing->geometry(), drawingFrame);
    ASSERT_TRUE(document.saveDocumentTo(again));
    EXPECT_TRUE(test::fileDifferences(path, again).isEmpty())
        << test::fileDifferences(path, again).join("\n").toStdString();
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
}

// The movie window opening over a window kept clear (the Control Panel) is first placed beside it; that
// placement is not taken for the frame the document gave, where the window then stands.
TEST(DocumentMedia, TheMovieWindowsFirstPlacementIsNotKeptAsItsFrame)
{
    QString why;
    const QString movie = silentPlayersAndMovie("beside.mp4", &why);
    if (movie.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QStringList told;
    auto& document = mediaDocument(told, false);
    // A panel kept clear over the whole top of the screen, where the movie window's nib puts it.
    const QRect area = WindowPlacement::availableArea(nullptr);
    QWidget panel;
    panel.setWindowTitle("Control Panel");
    panel.setGeometry(area.left(), area.top(), area.width(), 150);
    WindowPlacement::keepClear(&panel);
    panel.show();
    const float frame[4] = {float(area.left() + 40), 10.0f, 655.0f, 552.0f};  // at the bottom, clear of it
    std::copy(frame, frame + 4, NomalQTSizeR);
    OpenQTX = 1;  // as a document read asks, keeping the frame it read
    ASSERT_TRUE(NSStringToC(movie));
    QXAppController::sharedQXAppController().openMovieAndPlaywithBrainwaveQ(nullptr);
    mediaOpened();
    ASSERT_NE(gMyMovieControllerObject, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(std::vector<float>(NomalQTSizeR, NomalQTSizeR + 2), std::vector<float>(frame, frame + 2));
    // Nor is a frame the window manager gave it while framing it.
    const QWidget* window = shownWindowOf("QXMovieController");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(test::processEventsUntil([&] { return test::windowSettled(window); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::vector<float>(NomalQTSizeR, NomalQTSizeR + 2), std::vector<float>(frame, frame + 2));
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
    (void)document;
}

// A run's first drawing window sets the sound slots' tables to their defaults. A document with a drawing
// opened first thing in a run (from the command line, say) opens that window: its sounds stay.
TEST(DocumentMedia, ADocumentWithADrawingOpenedFirstInARunKeepsItsSounds)
{
    MediaPlayer::Options options;
    options.audioOutput = false;
    QXSoundController::setMediaOptions(options);
    const QStringList bank{test::writeTone("one.wav", 2.0), test::writeTone("two.wav", 2.0)};
    QStringList told;
    auto& document = mediaDocument(told);

    NUPO4DrawWindowController::showDrawWindow(nullptr);
    ASSERT_NE(NUPO4Drawing::frontDrawing(), nullptr);
    ASSERT_NE(openSoundBank(bank), nullptr);
    const QString path = test::tempFolder() + "/drawing-and-sounds.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(path));
    const SlotContents savedSlots = slotContents();
    ASSERT_EQ(savedSlots.paths[0], bank);

    // As in a new run: no drawing window yet, and the slots at their defaults.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().startsWith("Brain-Note Drawing"))
            window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(NUPO4Drawing::frontDrawing(), nullptr);
    QXSoundController::sharedQXSoundController().initSoundNSStr();
    firstTimeRunAplication = 1;

    ASSERT_TRUE(document.openDocumentAt(path));
    EXPECT_NE(NUPO4Drawing::frontDrawing(), nullptr);
    EXPECT_EQ(slotContents(), savedSlots);
    EXPECT_EQ(shownMediaWindows().soundSlots, 1);
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
}

// The media of a document moved away: the document opens with the rest of its settings, says what is
// missing, and saved again it still names every media file, so that it finds them once they are back.
TEST(DocumentMedia, MediaMovedAwayAreSaidAndStayNamedInTheDocument)
{
    QString why;
    const QString movie = silentPlayersAndMovie("moving.mp4", &why);
    if (movie.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const QStringList bank{test::writeTone("away1.wav", 2.0), test::writeTone("away2.wav", 2.0)};
    const QStringList media = QStringList(bank) << movie;

    QStringList told;
    auto& document = mediaDocument(told);
    ASSERT_NE(openSoundBank(bank), nullptr);
    ASSERT_TRUE(NSStringToC(movie));
    QXAppController::sharedQXAppController().openMovieAndPlaywithBrainwaveQ(nullptr);
    mediaOpened();
    ASSERT_EQ(shownMediaWindows().movies, 1);
    const QString path = test::tempFolder() + "/moved.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(path));
    const SlotContents savedSlots = slotContents();
    GridSize2DBarX = 7;  // a setting besides the media
    ASSERT_TRUE(document.saveDocumentTo(path));

    // Away: the document opens, the movie's alert names it and the slot says which sound it cannot read.
    for (const QString& file : media)
        ASSERT_TRUE(QFile::rename(file, file + ".away"));
    GridSize2DBarX = 3;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(document.openDocumentAt(path));
    mediaOpened();
    const QString saidAway = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_TRUE(saidAway.contains("cannot read " + bank[0])) << saidAway.toStdString();
    EXPECT_EQ(GridSize2DBarX, 7);
    EXPECT_EQ(slotContents(), savedSlots);
    QMessageBox* alert = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            alert = box;
    ASSERT_TRUE(alert);
    EXPECT_TRUE(alert->informativeText().contains(movie)) << alert->informativeText().toStdString();
    alert->close();
    // The movie window that could not load its movie goes.
    EXPECT_TRUE(test::processEventsUntil([] { return shownMediaWindows().movies == 0; }));
    EXPECT_EQ(shownMediaWindows().soundSlots, 1);

    // Saved again while they are away, and opened once they are back: everything is there.
    ASSERT_TRUE(document.saveDocumentTo(path));
    for (const QString& file : media)
        ASSERT_TRUE(QFile::rename(file + ".away", file));
    testing::internal::CaptureStdout();
    ASSERT_TRUE(document.openDocumentAt(path));
    mediaOpened();
    const QString said = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_FALSE(said.contains("Can not open movie")) << said.toStdString();
    EXPECT_EQ(slotContents(), savedSlots);
    const Shown back = shownMediaWindows();
    EXPECT_EQ(back.movies, 1) << said.toStdString();
    EXPECT_EQ(back.soundSlots, 1);
    ASSERT_NE(gMyMovieControllerObject, nullptr);
    EXPECT_EQ(gMyMovieControllerObject->moviePath(), movie);
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
    // The movie's player and its picture go before the application does.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A document that names a large file that is no movie (2 GB, sparse): the document opens at once, the
// patch interface answers while the movie is tried, and the alert says the movie cannot be opened.
TEST(DocumentMedia, ALargeFileThatIsNoMovieIsTriedWhileThePatchInterfaceAnswersAndIsRefusedWithTheAlert)
{
    MediaPlayer::Options options;
    options.audioOutput = false;
    options.videoOutput = true;
    QXMovieController::setMediaOptions(options);
    QStringList told;
    auto& document = mediaDocument(told);
    const QString movie = test::tempFolder() + "/large.mp4";
    QFile file(movie);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64(2) << 30));  // sparse: takes no disk space
    file.close();
    const QString path = test::tempFolder() + "/large-movie.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(saved.readAll());
    saved.close();
    ASSERT_TRUE(text.contains("OpenQT = 0;"));
    text.replace("OpenQT = 0;", "OpenQT = 1;");
    text.replace(QRegularExpression("MoviePath = [^;]*;"), "MoviePath = \"" + movie + "\";");
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly | QIODevice::Truncate));
    saved.write(text.toUtf8());
    saved.close();

    ASSERT_TRUE(QCNUPO4Patches::startPatchInterface(0));
    test::OscTestClient client;
    const QByteArray ask = encodePatchMessage(QStringLiteral("/nupo4/rawdata/ShowWindowRawwave"), {});
    const int port = QCNUPO4Patches::sharedPatchServer().port();
    ASSERT_TRUE(document.openDocumentAt(path));
    // The document is open while the movie is still being tried.
    EXPECT_NE(gOpeningMovieController, nullptr);
    int answeredWhileTried = 0;
    while (gOpeningMovieController) {
        ASSERT_TRUE(client.send(port, ask));
        std::optional<QByteArray> answer;
        ASSERT_TRUE(test::processEventsUntil(
            [&] { return (answer = client.receive()).has_value() || !gOpeningMovieController; }));
        answeredWhileTried += answer.has_value() && gOpeningMovieController;
    }
    EXPECT_GE(answeredWhileTried, 1);
    QCNUPO4Patches::sharedPatchServer().stop();

    QMessageBox* alert = nullptr;
    ASSERT_TRUE(test::processEventsUntil([&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
                alert = box;
        return alert != nullptr;
    }));
    EXPECT_EQ(alert->text(), "Can not open movie file. Dedir Urav file only open.");
    EXPECT_TRUE(alert->informativeText().contains(movie)) << alert->informativeText().toStdString();
    alert->close();
    EXPECT_TRUE(test::processEventsUntil([] { return shownMediaWindows().movies == 0; }));
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
}
