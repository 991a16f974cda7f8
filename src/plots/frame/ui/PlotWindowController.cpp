#include "plots/frame/ui/PlotWindowController.h"

#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/media/SystemSound.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/frame/ui/ValueFieldFrame.h"
#include "shared/CoreState.h"

#include <QComboBox>
#include <QWidget>

#include <vector>

namespace nupo {

namespace {

// The plot windows that are open, in the order they opened (main thread). Never destroyed, so that a
// window ending after static destruction began still finds it.
std::vector<PlotWindowController*>& openWindows()
{
    static auto* windows = new std::vector<PlotWindowController*>;
    return *windows;
}

}  // namespace

PlotWindowController::PlotWindowController(PlotWindowState& windowState, float maxF)
    : state(windowState),
      shownView{windowState.lastViewMode, windowState.lastViewEntry, windowState.fullView,
                windowState.heightGain},
      maxFX(maxF)
{
    outlet("window", window);
    outlet("popup", popup);
    outlet("popup2", popup2);
    outlet("button", button);
    outlet("menuItem_New", menuItem_New);
    outlet("backgroundColorWell", backgroundColorWell);
    outlet("lineColorWell", lineColorWell);
    outlet("cursorColorWell", cursorColorWell);
    outlet("cursorON", cursorON);
    outlet("colorStyleMatrix", colorStyleMatrix);
    outlet("lineStyleMatrix", lineStyleMatrix);
    outlet("VSlider", VSlider);
    outlet("V2Slider", V2Slider);
    outlet("FSlider", FSlider);
    outlet("ploopField", ploopField);
    outlet("displayHereploop", displayHereploop);
    outlet("FPSField", FPSField);
    outlet("displayHereFPS", displayHereFPS);
    outlet("FFTpointField", FFTpointField);
    outlet("displayHereFFTpoint", displayHereFFTpoint);
    outlet("SampleSpeedField", SampleSpeedField);
    outlet("displayHereSampleSpeed", displayHereSampleSpeed);
    outlet("maxVField", maxVField);
    outlet("displayHeremaxV", displayHeremaxV);
    outlet("maxFField", maxFField);
    outlet("displayHeremaxF", displayHeremaxF);
    outlet("currentVField", currentVField);
    outlet("displayHerecurrentV", displayHerecurrentV);
    outlet("currentFField", currentFField);
    outlet("displayHerecurrentF", displayHerecurrentF);
    outlet("displayLtext", displayLtext);
    outlet("displayRtext", displayRtext);
    outlet("displayL2text", displayL2text);
    outlet("displayR2text", displayR2text);
    outlet("currentVXField", currentVXField);
    outlet("currentV2Field", currentV2Field);
    outlet("currentV2XField", currentV2XField);
    action("runAgain", &PlotWindowController::runAgain);

    connect(&timer, &FrameTimer::timeout, this, &PlotWindowController::timerUpdate);
    timer.start();
}

PlotWindowController::~PlotWindowController()
{
    timer.stop();
    std::erase(openWindows(), this);
}

PlotWindowController* PlotWindowController::firstWindowOf(const PlotWindowState& family)
{
    for (PlotWindowController* open : openWindows())
        if (&open->state == &family)
            return open;
    return nullptr;
}

void PlotWindowController::windowWillClose(QObject*)
{
    std::erase(openWindows(), this);
    // The first window left stands for the family: a second one closing gives back what it changed.
    if (PlotWindowController* first = firstWindowOf(state)) {
        first->standForFamily();
        first->restoreFamilyView();
    } else if (frontFlag)
        frontFlag->store(0, std::memory_order_relaxed);  // no window of the family is in front
}

void PlotWindowController::storeFrame()
{
    // A hidden window's geometry is no frame to reopen at (see frameToKeep()).
    WindowHandle handle(window);
    const std::optional<QRectF> kept = handle.frameToKeep();
    if (!isFirstOfFamily() || !kept)
        return;
    const QRectF frame = *kept;
    state.bounds = frame;
    state.maximised = handle.isMaximised() ? 1 : 0;
    // The normal frame is the one the window goes back to when restored: not the one of a window being
    // maximised, whose new size may come before its new state (nor its place: a frame that fills the
    // screen is no normal frame to keep).
    if (!state.maximised && !WindowPlacement::standsMaximised(window) && !WindowPlacement::fillsArea(window))
        state.normalBounds = frame;
}

void PlotWindowController::standForFamily()
{
    storeFrame();
    storeBackground();
    if (frontFlag)
        frontFlag->store(inFront ? 1 : 0, std::memory_order_relaxed);
}

void PlotWindowController::restoreFamilyView()
{
    state.lastViewMode = shownView.viewMode;
    state.lastViewEntry = shownView.viewEntry;
    state.fullView = shownView.fullView;
    state.heightGain = shownView.heightGain;
}

void PlotWindowController::setWindowColorValue(QObject*)
{
    state.setWindowColorValue();
}

void PlotWindowController::setBackgroundColorWellA(const RGBAColor& colour)
{
    PlotControls::setWellColour(backgroundColorWell, colour);
    state.handBackgroundColour(colour);
}

void PlotWindowController::closeXWindow()
{
    closeTheWindow(window);
}

void PlotWindowController::closeTheWindow(QWidget* target)
{
    WindowHandle(target).close();
}

void PlotWindowController::runAgain(QObject* sender)
{
    select(sender);
}

void PlotWindowController::playTsound()
{
    playSystemSound(QStringLiteral("Tink"));
}

void PlotWindowController::setDemoNumberA(int mode)
{
    selectX(mode);
    state.viewMode.didChange = 1;
}

void PlotWindowController::timerUpdate()
{
    if (const auto alpha = state.stepAlphaAnimation(AlphaAnime))
        WindowHandle(window).setAlphaValue(*alpha);
    state.runQueuedCommands(
        [this](int mode) { setDemoNumberA(mode); }, [this](int entry) { setDemoNumberB(entry); },
        [this] {
            PlotControls::setWellColour(backgroundColorWell, windowColor);
            applyBackgroundToActiveView(backgroundColorWell ? PlotControls::wellColour(backgroundColorWell)
                                                            : windowColor);
        });
    refreshInformationFields();
    refreshStyleControls();
    markActiveViewForRedraw();
}

void PlotWindowController::timerStamp(int samplePoint)
{
    setField(displayHereploop, timeStampText(samplePoint, SampleSpeed));
}

void PlotWindowController::windowDidMove(QObject*)
{
    storeFrame();
}

void PlotWindowController::windowDidResize(QObject*)
{
    storeFrame();
}

void PlotWindowController::windowDidChangeState(QObject*)
{
    storeFrame();
}

bool PlotWindowController::applyViewEntry(int entry)
{
    static constexpr float fixedAlpha[] = {1.0f, 0.8f, 0.6f, 0.4f, 0.2f};
    if (entry < 0 || entry > 10) {
        logInvalidItem();
        return false;
    }
    if (entry <= 1) {
        // The normal view's size and place come back when the window returns to it.
        if (entry == 1 && viewA != 1 && window)
            normalViewGeometry = window->geometry();
        viewA = entry;
        setViewMode(entry);
    } else if (entry <= 6) {
        AlphaAnime = PlotWindowState::AlphaOff;
        WindowHandle(window).setAlphaValue(fixedAlpha[entry - 2]);
    } else {
        AlphaAnime = entry - 6;  // 7, 8, 9 animate; 10 stops and keeps the alpha where it is
    }
    return true;
}

void PlotWindowController::restoreNormalViewFrame()
{
    if (viewA == 1 || !window || !normalViewGeometry.isValid())
        return;
    window->setGeometry(normalViewGeometry);
    normalViewGeometry = QRect();
}

void PlotWindowController::showValueSliders(bool oneChannel)
{
    PlotControls::setHidden(VSlider, oneChannel);
    PlotControls::setHidden(V2Slider, !oneChannel);
    PlotControls::setHidden(currentV2XField, !oneChannel);
    PlotControls::setHidden(currentV2Field, true);
    PlotControls::setHidden(currentVXField, oneChannel);
}

int PlotWindowController::fillViewModePopup(const QStringList (&entriesByChannels)[4])
{
    const int channels = DeviceConfig < 0 ? 0 : (DeviceConfig > 3 ? 3 : static_cast<int>(DeviceConfig));
    PlotControls::setItems(popup, entriesByChannels[3]);
    PlotControls::setItems(popup, entriesByChannels[channels]);
    return channels;
}

void PlotWindowController::showAmplitudeRange(float heightSlider, float inverseGain)
{
    maxVX = ((10.0f - heightSlider) * 20.0f + 6.0f) * inverseGain;
    setField(displayHeremaxV, maxVX);
    setField(displayHerecurrentV, maxVX * currentVX / 100.0f);
}

void PlotWindowController::showFrequencyRange(float top)
{
    maxFX = top;
    setField(displayHeremaxF, maxFX);
    setField(displayHerecurrentF, maxFX * currentFX / 100.0f);
}

void PlotWindowController::moveAmplitudeCursor(float percent)
{
    currentVX = percent;
    setField(displayHerecurrentV, maxVX * percent / 100.0f);
}

void PlotWindowController::moveFrequencyCursor(float percent)
{
    currentFX = percent;
    setField(displayHerecurrentF, maxFX * percent / 100.0f);
}

void PlotWindowController::showTheWindow(QWidget* target)
{
    WindowHandle handle(target);
    if (!handle)
        return;
    // A hidden window keeps the frame it has; showing it is enough.
    handle.makeKeyAndOrderFront();
    storeFrame();
}

void PlotWindowController::finishWindowSetUp(std::atomic<int>& front)
{
    WindowHandle handle(window);
    frontFlag = &front;
    inFront = front.load(std::memory_order_relaxed) != 0;
    if (window)
        openWindows().push_back(this);
    // The pending frame is taken before the window is first shown, so that the window manager frames
    // the window where the frame says.
    if (state.pendingFrameSet != 0) {
        WindowPlacement::keepChosenFrame(window);
        handle.setFrame(state.pendingFrame, true, true);
        state.pendingFrameSet = 0;
    }
    const bool maximise = state.maximiseNext != 0;
    state.maximiseNext = 0;
    showTheWindow(window);
    // Maximised once shown (being shown places it anew), the window restores to the frame just set.
    if (maximise && window)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    handle.setAlphaValue(state.alphaValue);
    state.shown = 1;
    if (inFront)
        handle.setStatusWindowLevel(true);
    // A second window of the family took the stored colour and front switch on its way up: they are the
    // first window's again. It shows a view of its own, not the family's.
    if (PlotWindowController* first = firstWindowOf(state); first && first != this) {
        first->standForFamily();
        shownView.viewMode = popupselectX;
        shownView.viewEntry = 0;
        shownView.fullView = viewA;
    }
}

const QStringList& PlotWindowController::viewEntryTitles()
{
    static const QStringList entries = {"Normal View",
                                        "Full View",
                                        "Alpha 1.0",
                                        "Alpha 0.8",
                                        "Alpha 0.6",
                                        "Alpha 0.4",
                                        "Alpha 0.2",
                                        "Alpha Animation 1.0 .. 0.0",
                                        "Alpha Animation 1.0 .. 0.2",
                                        "Alpha Animation 0.8 .. 0.4"};
    return entries;
}

QObject* PlotWindowController::controlOf(QObject* sender, QObject* outlet)
{
    if (!sender || !outlet)
        return sender ? sender : outlet;
    return sender->metaObject() == outlet->metaObject() ? sender : outlet;
}

void PlotWindowController::setField(QObject* field, const QString& text)
{
    ValueFieldFrame::setText(field, text);
}

void PlotWindowController::setField(QObject* field, double value, int digits)
{
    ValueFieldFrame::setText(field, PlotControls::fixedPoint(value, digits));
}

}  // namespace nupo
