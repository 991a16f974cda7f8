// File ▸ Open reads and parses the document off the main thread: the command returns at once, nothing
// changes until the document has been read, then it is taken as an opening at start is; a refused file
// is told and changes nothing; a later opening takes the place of one still being read.
#include <gtest/gtest.h>

#include "document/NUPO4DrawDocument.h"
#include "document/ui/NUPO4DocumentController.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>

using namespace nupo;

TEST(DocumentOpenInBackground, TheDocumentIsTakenOnceReadAndARefusalOrALaterOpeningChangesNothing)
{
    NUPO4DocumentController::installDocument([] { return false; });
    auto& document = NUPO4DocumentController::sharedNUPO4DocumentController();
    QStringList told;
    document.tellUser = [&told](const QString& message) { told << message; };
    document.askToSaveChanges = [](const QString&) { return NUPO4DocumentController::DontSave; };
    QString chosen;
    document.chooseFileToOpen = [&chosen] { return chosen; };
    setPauseX = 1;
    maxploop = 20000;
    RecordingBuffers::sharedRecordingBuffers().allocate();

    GridSize2DBarX = 7;
    const QString first = test::tempFolder() + "/first.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(first));
    GridSize2DBarX = 5;
    const QString second = test::tempFolder() + "/second.nupo4";
    ASSERT_TRUE(document.saveDocumentTo(second));
    GridSize2DBarX = 3;

    // Open… returns before the document is read; it is taken once it has been.
    chosen = first;
    document.openDocument(nullptr);
    EXPECT_TRUE(document.isReadingDocument());
    EXPECT_EQ(GridSize2DBarX, 3);
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isReadingDocument(); }));
    EXPECT_EQ(GridSize2DBarX, 7);
    EXPECT_EQ(document.fileName(), first);
    EXPECT_FALSE(document.isDocumentEdited());

    // A refused file is told, and the document open stays.
    const QString hostile = test::tempFolder() + "/hostile.nupo4";
    QFile file(hostile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ Format = \"NUPO4 brain-note document\"; Version = 1; Unknown = (" +
               QByteArray(20000, '1').replace('1', "1,") + "); }");
    file.close();
    GridSize2DBarX = 4;
    chosen = hostile;
    document.openDocument(nullptr);
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isReadingDocument(); }));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(hostile + " is not a NUPO4 brain-note document")) << told[0].toStdString();
    EXPECT_EQ(GridSize2DBarX, 4);
    EXPECT_EQ(document.fileName(), first);

    // Open… twice before the first is read: the second is the one taken.
    chosen = first;
    document.openDocument(nullptr);
    chosen = second;
    document.openDocument(nullptr);
    ASSERT_TRUE(test::processEventsUntil([&] { return !document.isReadingDocument(); }));
    EXPECT_EQ(GridSize2DBarX, 5);
    EXPECT_EQ(document.fileName(), second);
    QCoreApplication::processEvents();
    EXPECT_EQ(GridSize2DBarX, 5);
    EXPECT_EQ(told.size(), 1);
}
