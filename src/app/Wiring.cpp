#include "app/Wiring.h"

#include "QXDrawerSound/browser/ui/AppControllerB.h"
#include "QXDrawerSound/movie/QXMovieController.h"
#include "QXDrawerSound/movie/ui/QXMovieWindowController.h"
#include "QXDrawerSound/player/ui/MyObject.h"
#include "QXDrawerSound/player/ui/QXSoundWindowController.h"
#include "QXSketch/ui/BezierView.h"
#include "QXSketch/ui/NUPO4DrawWindowController.h"
#include "QXSketch/ui/NUPO4ToolPalette.h"
#include "analysis/ui/SetFFTPanel.h"
#include "core/MenuCommands.h"
#include "core/ui/QXAppController.h"
#include "core/ui/SetPortView.h"
#include "core/ui/TypeTextHere.h"
#include "document/NUPO4DrawDocument.h"
#include "document/ui/NUPO4DocumentController.h"
#include "midi/peak/SetMIDI.h"
#include "midi/ui/SetMIDIPanel.h"
#include "midi/ui/SetMIDIbandPanel.h"
#include "platform/appkit/ui/NibControllerRegistry.h"
#include "platform/appkit/ui/NibLoader.h"
#include "plots/bargraph/ui/QX2DBarGraphController.h"
#include "plots/rawwave/ui/QXRawwaveGraphController.h"
#include "plots/rawwave/ui/QXRoundController.h"
#include "plots/settings/ui/SetDisplay.h"
#include "plots/waterfall/ui/QX2DSpectrumAppController.h"
#include "tools/gl/QXorvellogoGLView.h"
#include "tools/ui/QXorvellogoAppController.h"
#include "views3d/spectrum/SpectrumViewSettings.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"
#include "views3d/wave/gl/QXnewaveGLView.h"
#include "views3d/wave/ui/QXnewaveAppController.h"

namespace nupo {

namespace {

// The class each nib names on its root, and the controller made for it.
void registerNibControllers()
{
    using R = NibControllerRegistry;
    R::add<TypeTextHere>(QStringLiteral("TypeTextHere"));
    R::add<SetPortView>(QStringLiteral("SetPortView"));
    R::add<SetFFTPanel>(QStringLiteral("SetFFTPanel"));
    R::add<QXRawwaveGraphController>(QStringLiteral("QXRawwaveGraphController"));
    R::add<QXRoundController>(QStringLiteral("QXRoundController"));
    R::add<QX2DBarGraphController>(QStringLiteral("QX2DBarGraphController"));
    R::add<QX2DSpectrumAppController>(QStringLiteral("QX2DSpectrumAppController"));
    R::add<SetDisplay>(QStringLiteral("SetDisplay"));
    R::add<QX3DSpectrumAppController>(QStringLiteral("QX3DSpectrumAppController"));
    R::add<QXnewaveAppController>(QStringLiteral("QXnewaveAppController"));
    R::add<SetMIDIPanel>(QStringLiteral("SetMIDI"));
    R::add<SetMIDIbandPanel>(QStringLiteral("SetMIDIband"));
    R::add<MyObject>(QStringLiteral("MyObject"));
    R::add<AppControllerB>(QStringLiteral("AppControllerB"));
    R::add<QXMovieWindowController>(QStringLiteral("QXMovieController"));
    QXSoundWindowController::registerSlots();
    R::add<NUPO4DrawWindowController>(QStringLiteral("NUPO4DrawWindowController"));
    R::add<BezierView>(QStringLiteral("BezierView"));
    R::add<NUPO4ToolPalette>(QStringLiteral("NUPO4ToolPalette"));
    R::add<QXorvellogoAppController>(QStringLiteral("QXorvellogoAppController"));
}

// The 3D spectrum view's operations reach its shared window controller, the mesh engine and the media
// browser (the shared controller is made on first use); the wave surface's reach the media browser and
// the logo.
void installSpectrumViewLinks()
{
    SpectrumViewLinks& links = spectrumViewLinks();
    auto shared = [] { return &QX3DSpectrumAppController::sharedQX3DSpectrumAppController(); };
    links.setDisplayElement = [shared](int element, int v) { shared()->setDisplayElement(element, v); };
    links.demoNumberAtoController = [shared](int n) { shared()->setDemoNumberAto3DBSC(n); };
    links.demoNumberBtoController = [shared](int n) { shared()->setDemoNumberBto3DBSC(n); };
    links.backgroundColorWell = [shared](const RGBAColor& c) { shared()->setBackgroundColorWellA(c); };
    links.openMediaBrowser = [] { AppControllerB::showBrowser(); };
    installMeshLinks();
    QXnewaveGLView::openMediaBrowser = [](QXnewaveGLView&) { AppControllerB::showBrowser(); };
    QXnewaveAppController::restartLogo = &restretOpen;
}

// The display settings' transparency fields reach the 3D, wave-surface and movie windows.
void installTransparencyLinks()
{
    windowAlphaOf3DSpectrum = [](float alpha) {
        QX3DSpectrumAppController::sharedQX3DSpectrumAppController().setWindowAlphaValue(alpha);
    };
    windowAlphaOfWaveSurface = [](float alpha) {
        QXnewaveAppController::sharedQXnewaveAppController().setWindowAlphaValue(alpha);
    };
    windowAlphaOfMovie = [](float alpha) {
        QXMovieController::sharedQXMovieController().setWindowAlphaValue(alpha);
    };
}

}  // namespace

void installLinks()
{
    static bool installed = false;  // main thread only
    if (installed)
        return;
    installed = true;
    registerNibControllers();
    installSpectrumViewLinks();
    installTransparencyLinks();
    // The menu's commands, and the peak mapper's presets that bring up a preferences tab through them.
    QXAppController::installMenuCommands();
    SetMIDI::setShowPanelHandler([](int tab) { MenuCommands::run(MenuCommand::showPreferencesTab, tab); });
    NUPO4DocumentController::addSections(NUPO4DrawDocument::sharedNUPO4DrawDocument());
}

}  // namespace nupo
