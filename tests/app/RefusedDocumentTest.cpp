// A document named on the command line that is refused leaves the program on the user's saved
// preferences: they are read as if no document had been given, the refusal names the document, and a
// later Save Preferences keeps them.
#include <gtest/gtest.h>

#include "analysis/SetFFTController.h"
#include "app/NUPO4DrawAppDelegate.h"
#include "document/NUPO4DrawDocument.h"
#include "document/ui/NUPO4DocumentController.h"
#include "shared/AnalysisState.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

using namespace nupo;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(RefusedDocument, ACommandLineDocumentThatIsRefusedLeavesTheSavedPreferences)
{
    const QString config = test::tempFolder();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    ASSERT_TRUE(QDir().mkpath(config + "/NUPO4"));
    const QString preferences = defaultPreferenceFilePath();
    writeFile(preferences,
              "{ Format = \"NUPO4 preferences\"; Version = 1;\n"
              "  Analysis = { fftp = 1024; averageFFTX = 4; mainsFrequencyX = 50; }; }\n");
    // The first 5,000 bytes of a document: its settings, then a recording cut short.
    QByteArray document =
        "{ Format = \"NUPO4 brain-note document\"; Version = 1;\n"
        "  Analysis = { fftp = 256; averageFFTX = 1; mainsFrequencyX = 60; };\n"
        "  Recording = { maxploop = 2000; Channel0 = <";
    while (document.size() < 5000)
        document += "00010203 ";
    document.truncate(5000);
    const QString broken = test::tempFolder() + "/broken.nupo4";
    writeFile(broken, document);

    auto& controller = NUPO4DocumentController::sharedNUPO4DocumentController();
    QStringList told;
    controller.tellUser = [&told](const QString& message) { told << message; };
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.setPathToOpen(broken);
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching(nullptr);
    testing::internal::GetCapturedStdout();

    ASSERT_EQ(told.size(), 1) << told.join('\n').toStdString();
    EXPECT_TRUE(told[0].startsWith(broken + " is not a NUPO4 brain-note document")) << told[0].toStdString();
    EXPECT_EQ(SetFFTController::pointChoices[SetFFTController::fftPointIndex()], 1024);
    EXPECT_EQ(averageFFTX.load(), 4);
    EXPECT_EQ(mainsFrequencyX.load(), 50);
    EXPECT_FALSE(controller.isDocumentEdited());

    controller.savePreferences(nullptr);
    const QByteArray saved = contentsOf(preferences);
    EXPECT_TRUE(saved.contains("fftp = 1024;")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("averageFFTX = 4;")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("mainsFrequencyX = 50;")) << saved.toStdString();
    delegate.applicationWillTerminate(nullptr);
}
