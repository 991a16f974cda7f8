// The program's wiring: after installLinks() (the test main calls it, as main() does) every nib finds its
// controller, the lower layers' links reach the windows above them, and the document has its sections.
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "core/MenuCommands.h"
#include "core/ui/WindowController.h"
#include "document/NUPO4DrawDocument.h"
#include "platform/appkit/ui/NibControllerRegistry.h"
#include "plots/settings/ui/SetDisplay.h"
#include "support/TestSupport.h"
#include "views3d/spectrum/SpectrumViewSettings.h"
#include "views3d/wave/gl/QXnewaveGLView.h"
#include "views3d/wave/ui/QXnewaveAppController.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace nupo {
namespace {

// The controller class a nib names on its root, or an empty string.
QString controllerClassOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression named(
        QStringLiteral(R"(name="controllerClass"[^>]*>\s*<string>([^<]+)</string>)"));
    return named.match(QString::fromUtf8(file.readAll())).captured(1);
}

TEST(Wiring, EveryNibOfTheProgramFindsItsController)
{
    const QDir nibs(test::sourcePath(QStringLiteral("resources/nibs")));
    const QStringList files = nibs.entryList({QStringLiteral("*.ui")}, QDir::Files);
    ASSERT_GE(files.size(), 20);
    int named = 0;
    for (const QString& file : files) {
        const QString className = controllerClassOf(nibs.filePath(file));
        if (className.isEmpty())
            continue;
        ++named;
        EXPECT_TRUE(NibControllerRegistry::contains(className))
            << file.toStdString() << " names " << className.toStdString();
    }
    EXPECT_GE(named, 15);
    // Every sound slot's window has its own controller class.
    for (int slot = 0; slot < soundSlotCount; ++slot)
        EXPECT_TRUE(NibControllerRegistry::contains(soundSlotClassName(slot))) << slot;
}

TEST(Wiring, LowerLayersReachTheWindowsAboveThem)
{
    const SpectrumViewLinks& links = spectrumViewLinks();
    EXPECT_TRUE(links.setDisplayElement && links.demoNumberAtoController && links.demoNumberBtoController &&
                links.backgroundColorWell && links.meshDisplayn && links.meshOther && links.openMediaBrowser);
    EXPECT_TRUE(QXnewaveGLView::openMediaBrowser && QXnewaveAppController::restartLogo);
    EXPECT_TRUE(windowAlphaOf3DSpectrum && windowAlphaOfWaveSurface && windowAlphaOfMovie);
}

TEST(Wiring, CommandsGivenToTheMenuReachIt)
{
    WindowController& preferences = WindowController::sharedWindowController();
    preferences.addPanel(PreferencesTab::Device, QStringLiteral("Device"), [] { return new QLabel; });
    ASSERT_TRUE(MenuCommands::run(MenuCommand::showPreferencesTab, PreferencesTab::Device));
    EXPECT_EQ(preferences.shownPanel(), PreferencesTab::Device);
}

TEST(Wiring, TheDocumentHasTheSectionsOfEverySubsystem)
{
    const NUPO4DrawDocument& document = NUPO4DrawDocument::sharedNUPO4DrawDocument();
    for (const char* key : {"PlotWindows", "DisplayColor", "Drawing", "Spectrum3DWindow", "Recording"})
        EXPECT_NE(document.section(QString::fromLatin1(key)), nullptr) << key;
}

}  // namespace
}  // namespace nupo
