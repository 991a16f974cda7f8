// Save, Save As and Revert leave the main thread free while the drive takes its time: with every write
// (or read) held by the test, posted calls still run, the titles say the document is being saved, and
// the program goes on. The state a save took counts as saved once written (a change made meanwhile
// keeps the mark); a second save waits for the first and saves the newest state; Quit waits for a save
// under way, says so and quits only once it succeeded; a failed save is told and leaves the document
// edited.
#include <gtest/gtest.h>

#include "document/NUPO4DrawDocument.h"
#include "document/ui/NUPO4DocumentController.h"
#include "platform/appkit/MainThread.h"
#include "platform/files/CheckedFile.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QWidget>

#include <condition_variable>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

using namespace nupo;

namespace {

// Holds every file the hooks see until released, as a hung drive would; counts the files held.
struct Drive {
    std::mutex mutex;
    std::condition_variable changed;
    bool holding = false;
    bool failWrites = false;  // a write held is then made to fail (its name becomes a folder)
    int seen = 0;
};
Drive drive;

void hold(const QByteArray& path, bool writing)
{
    std::unique_lock lock(drive.mutex);
    ++drive.seen;
    drive.changed.notify_all();
    drive.changed.wait(lock, [] { return !drive.holding; });
    if (writing && drive.failWrites) {
        ::unlink(path.constData());
        ::mkdir(path.constData(), 0755);
    }
}

void holdRead(const QByteArray& path)
{
    hold(path, false);
}

void holdWrite(const QByteArray& path)
{
    hold(path, true);
}

void setHolding(bool on)
{
    std::lock_guard lock(drive.mutex);
    drive.holding = on;
    drive.changed.notify_all();
}

int seen()
{
    std::lock_guard lock(drive.mutex);
    return drive.seen;
}

// Whether the main thread's event loop runs a call posted to it now (while the drive holds).
bool mainThreadAnswers()
{
    bool ran = false;
    performOnMainThread([&ran] { ran = true; });
    return test::processEventsUntil([&ran] { return ran; });
}

QByteArray fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray gridLine(int value)
{
    return "GridSize2DBarX = " + QByteArray::number(value) + ";";
}

class DocumentSaveInBackground : public ::testing::Test {
protected:
    void SetUp() override
    {
        NUPO4DocumentController::installDocument([] { return false; });
        document.tellUser = [this](const QString& message) { told << message; };
        document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::DontSave; };
        document.askToRevert = [](const QString&) { return true; };
        setPauseX = 1;
        maxploop = 20000;
        RecordingBuffers::sharedRecordingBuffers().allocate();
        GridSize2DBarX = 4;
        ASSERT_TRUE(document.saveDocumentTo(path));
        ASSERT_TRUE(fileText(path).contains(gridLine(4)));
        window.setWindowTitle("Probe");
        window.show();
        document.updateWindowTitles();
    }

    void TearDown() override
    {
        setHolding(false);
        setWriteHookForTests(nullptr);
        setReadHookForTests(nullptr);
    }

    // Starts holding the drive and waits until a file reaches it.
    void heldOnce(const std::function<void()>& start)
    {
        const int before = seen();
        setHolding(true);
        start();
        ASSERT_TRUE(test::processEventsUntil([before] { return seen() > before; }));
    }

    NUPO4DocumentController& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    const QString path = test::tempFolder() + "/held.nupo4";
    QStringList told;
    QWidget window;
};

}  // namespace

TEST_F(DocumentSaveInBackground, TheProgramAnswersWhileASaveIsHeldAndOnlyTheStateItTookCountsAsSaved)
{
    setWriteHookForTests(&holdWrite);
    GridSize2DBarX = 7;
    heldOnce([&] { document.saveDocument(nullptr); });
    EXPECT_TRUE(document.isSavingDocument());
    EXPECT_TRUE(mainThreadAnswers());
    document.updateWindowTitles();
    EXPECT_EQ(window.windowTitle(), QString("Probe \u2014 held.nupo4[*] \u2014 Saving\u2026"));
    EXPECT_TRUE(fileText(path).contains(gridLine(4)));  // nothing written yet

    // A change while the save is held keeps the document marked once the save has ended.
    GridSize2DBarX = 8;
    setHolding(false);
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isSavingDocument(); }));
    EXPECT_TRUE(fileText(path).contains(gridLine(7)));
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_EQ(window.windowTitle(), QString("Probe \u2014 held.nupo4[*]"));
    EXPECT_TRUE(window.isWindowModified());
    GridSize2DBarX = 7;
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_TRUE(told.isEmpty()) << told.join("\n").toStdString();
}

TEST_F(DocumentSaveInBackground, ASecondSaveWaitsForTheFirstThenSavesTheNewestStateAndSaveAsTheSame)
{
    setWriteHookForTests(&holdWrite);
    GridSize2DBarX = 7;
    heldOnce([&] { document.saveDocument(nullptr); });
    GridSize2DBarX = 9;
    document.saveDocument(nullptr);
    const QString other = test::tempFolder() + "/other.nupo4";
    document.chooseFileToSave = [&other](const QString&) { return other; };
    GridSize2DBarX = 10;
    document.saveDocumentAs(nullptr);
    EXPECT_TRUE(mainThreadAnswers());
    EXPECT_EQ(seen(), 1);  // the later saves wait for the first
    EXPECT_FALSE(QFile::exists(other));

    setHolding(false);
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isSavingDocument(); }));
    EXPECT_EQ(seen(), 3);
    EXPECT_TRUE(fileText(path).contains(gridLine(10)));
    EXPECT_TRUE(fileText(other).contains(gridLine(10)));
    EXPECT_EQ(document.fileName(), other);
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST_F(DocumentSaveInBackground, RevertReadsOnItsWorkerWhileTheProgramAnswers)
{
    setReadHookForTests(&holdRead);
    GridSize2DBarX = 6;
    heldOnce([&] { document.revertDocumentToSaved(nullptr); });
    EXPECT_TRUE(document.isReadingDocument());
    EXPECT_TRUE(mainThreadAnswers());
    EXPECT_EQ(GridSize2DBarX, 6);
    setHolding(false);
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isReadingDocument(); }));
    EXPECT_EQ(GridSize2DBarX, 4);
    EXPECT_FALSE(document.isDocumentEdited());

    // A revert asked for while a save is held reads what that save wrote.
    setReadHookForTests(nullptr);
    setWriteHookForTests(&holdWrite);
    GridSize2DBarX = 5;
    heldOnce([&] { document.saveDocument(nullptr); });
    GridSize2DBarX = 3;
    document.revertDocumentToSaved(nullptr);
    EXPECT_TRUE(mainThreadAnswers());
    EXPECT_EQ(GridSize2DBarX, 3);
    setHolding(false);
    ASSERT_TRUE(test::processEventsUntil(
        [&] { return !document.isSavingDocument() && !document.isReadingDocument(); }));
    EXPECT_EQ(GridSize2DBarX, 5);
}

TEST_F(DocumentSaveInBackground, QuitWaitsForASaveUnderWaySaysSoAndQuitsOnlyOnceItSucceeded)
{
    setWriteHookForTests(&holdWrite);
    QStringList shown;
    document.showWhileSaving = [&shown](const QString& message, const std::function<bool()>& saved) {
        shown << message;
        EXPECT_TRUE(mainThreadAnswers());
        setHolding(false);
        return test::processEventsUntil(saved);
    };

    // A save that fails: the user is told, the document stays edited and the program stays.
    drive.failWrites = true;
    GridSize2DBarX = 7;
    heldOnce([&] { document.saveDocument(nullptr); });
    document.terminate(nullptr);
    drive.failWrites = false;
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], QString("\u201cheld.nupo4\u201d is being saved: NUPO4 quits once it is saved."));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith("Cannot save " + path + ":")) << told[0].toStdString();
    EXPECT_FALSE(document.isQuitting());
    EXPECT_TRUE(document.isDocumentEdited());
    ASSERT_TRUE(QDir().rmdir(path));

    // One that succeeds: the program quits once it has.
    heldOnce([&] { document.saveDocument(nullptr); });
    document.terminate(nullptr);
    EXPECT_EQ(shown.size(), 2);
    EXPECT_TRUE(fileText(path).contains(gridLine(7)));
    EXPECT_TRUE(document.isQuitting());
    EXPECT_EQ(told.size(), 1);
}
