#include "plots/rawwave/ui/QXRawwaveGraphController.h"

#include "analysis/SpectrumMath.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <QComboBox>
#include <QWidget>

#include <algorithm>

namespace nupo {

namespace {

using namespace PlotControls;

const QStringList viewModeEntries[4] = {
    {"-", "--", "CH 1", "---", "CH 1 Play only", "---", "---"},
    {"LR Raw wave", "LR Raw wave Play only", "CH 1 (L)", "CH 2 (R)", "CH 1 (L) Play only",
     "CH 2 (R) Play only", "--"},
    {"LR Raw wave", "-", "CH 1", "CH 2", "CH 3", "--", "--"},
    {"1 LR Raw wave", "2 LR Raw wave", "CH 1", "CH 2", "CH 3", "CH 4", "2 set of LR Raw wave"},
};

}  // namespace

QXRawwaveGraphController::QXRawwaveGraphController()
    : PlotGraphWindowController(rawwaveWindowState, 2.13f, QStringLiteral("qXRawwaveGraphView"),
                                QStringLiteral("bMRawwaveGraphView"))
{
    outlet("gridON", gridON);
    outlet("gridColorWell", gridColorWell);
    outlet("RawwaveHSlider", RawwaveHSlider);
    outlet("RawwaveWSlider", RawwaveWSlider);
    outlet("gridSlider", gridSlider);
    outlet("ppPowerLField", ppPowerLField);
    outlet("displayHereppPowerL", displayHereppPowerL);
    outlet("ppPowerRField", ppPowerRField);
    outlet("displayHereppPowerR", displayHereppPowerR);

    action("changeRawwaveHSlider", &QXRawwaveGraphController::changeRawwaveHSlider);
    action("changeRawwaveWSlider", &QXRawwaveGraphController::changeRawwaveWSlider);
    action("changeRawwaveVSlider", &QXRawwaveGraphController::changeRawwaveVSlider);
    action("changeRawwaveFSlider", &QXRawwaveGraphController::changeRawwaveFSlider);
    action("changegridSlider", &QXRawwaveGraphController::changegridSlider);
    action("changegridColor", &QXRawwaveGraphController::changegridColor);
    action("changegrid", &QXRawwaveGraphController::changegrid);
}

QXRawwaveGraphController::~QXRawwaveGraphController()
{
    viewA = 0;
    AlphaAnime = 0;
    full->releaseALL();
}

QStringList QXRawwaveGraphController::viewModeTitles(int deviceConfig)
{
    return viewModeEntries[std::clamp(deviceConfig, 0, 3)];
}

QXRawwaveGraphController& QXRawwaveGraphController::sharedQXRawwaveGraphController()
{
    static QXRawwaveGraphController* instance = new QXRawwaveGraphController;  // lives to process end
    return *instance;
}

float QXRawwaveGraphController::setRawWaveGain(int channel) const
{
    // A channel out of range has the gain index of G = 1.
    return 1.0f / gainIndexToDisplayGain(gainIndexOfChannel(channel));
}

float QXRawwaveGraphController::setRawWavePP(int channel) const
{
    switch (channel) {
        case 0:
            return static_cast<float>(ARawwavePP);
        case 1:
            return static_cast<float>(BRawwavePP);
        case 2:
            return static_cast<float>(DRawwavePP);
        case 3:
            return static_cast<float>(ERawwavePP);
        default:
            return 0.0f;
    }
}

void QXRawwaveGraphController::activeViewChanged()
{
    setHidden(gridSlider, viewA == 1);
}

void QXRawwaveGraphController::pushControlsToActiveView()
{
    QXRawwaveGraphView& view = activeView();
    pushWellColoursToActiveView();
    view.setRawwaveH(floatValue(RawwaveHSlider));
    view.setRawwaveW(floatValue(RawwaveWSlider));
    view.setRawwaveV(floatValue(VSlider));
    view.setRawwaveF(floatValue(FSlider));
    view.setColorStyleType(0);
}

void QXRawwaveGraphController::selectX(int mode)
{
    selectItem(popup, mode);
    popupselectX = mode;
    takeViewMode(mode);
    if (mode < 0 || mode > 8) {
        logInvalidItem();
        return;
    }
    if (mode == 8)
        return;
    static constexpr int channelOfMode[8] = {0, 2, 0, 1, 2, 3, 0, 0};
    CHmode = channelOfMode[mode];
    const bool oneTrace = mode >= 2 && mode <= 5;
    showValueSliders(oneTrace);
    if (mode <= 5) {
        setHidden(ppPowerRField, oneTrace);
        setHidden(displayHereppPowerR, oneTrace);
    }
    if (mode <= 6) {
        for (QObject* caption : {displayLtext, displayRtext, displayL2text, displayR2text})
            setHidden(caption, mode >= 2);
    }
}

void QXRawwaveGraphController::selectX2(int entry)
{
    setDemoNumberRawCB = entry;
    PlotGraphWindowController::selectX2(entry);
}
void QXRawwaveGraphController::setWRawGainValue(float value)
{
    takeHeightGain(value);
    setFloatValue(RawwaveHSlider, value);
    RawwaveHX = value;
    activeView().setRawwaveH(value);
    showAmplitudeRange(RawwaveHX, setRawWaveGain(0));
    activeView().setNeedsDisplay(true);
}

void QXRawwaveGraphController::changeRawwaveHSlider(QObject* sender)
{
    setWRawGainValue(floatValue(controlOf(sender, RawwaveHSlider)));
}

void QXRawwaveGraphController::changeRawwaveWSlider(QObject* sender)
{
    RawwaveWX = floatValue(controlOf(sender, RawwaveWSlider));
    activeView().setRawwaveW(RawwaveWX);
    const int rate = SampleSpeed < 1 ? 1 : static_cast<int>(SampleSpeed);
    showFrequencyRange(static_cast<float>(fftp) / static_cast<float>(rate) * 0.5f * (1.0f - RawwaveWX));
    activeView().setNeedsDisplay(true);
}

void QXRawwaveGraphController::changeRawwaveVSlider(QObject* sender)
{
    const float value = floatValue(controlOf(sender, VSlider));
    activeView().setRawwaveV(value);
    moveAmplitudeCursor(value);
    activeView().setNeedsDisplay(true);
}

void QXRawwaveGraphController::changeRawwaveFSlider(QObject* sender)
{
    const float value = floatValue(controlOf(sender, FSlider));
    activeView().setRawwaveF(value);
    moveFrequencyCursor(value);
    activeView().setNeedsDisplay(true);
}

void QXRawwaveGraphController::changegridSlider(QObject* sender)
{
    activeView().setgridSlider(floatValue(controlOf(sender, gridSlider)));
    activeView().setNeedsDisplay(true);
}

void QXRawwaveGraphController::changegridColor(QObject* sender)
{
    activeView().setgridColor(wellColour(controlOf(sender, gridColorWell)));
    activeView().setNeedsDisplay(true);
}

void QXRawwaveGraphController::changegrid(QObject* sender)
{
    activeView().setgrid(intValue(controlOf(sender, gridON)));
}

void QXRawwaveGraphController::refreshInformationFields()
{
    const float g = setRawWaveGain(CHmode);
    timerStamp(ploop);
    setField(displayHereFFTpoint, QString::number(fftp));
    setField(displayHereSampleSpeed, QString::number(SampleSpeed));
    setField(displayHereppPowerL, setRawWavePP(CHmode));
    setField(displayHereppPowerR, setRawWavePP(CHmode + 1));
    setField(displayHereFPS, activeView().framesPerSecond());
    showAmplitudeRange(RawwaveHX, g);
    const int rate = SampleSpeed < 1 ? 1 : static_cast<int>(SampleSpeed);
    showFrequencyRange(static_cast<float>(fftp) / static_cast<float>(rate) * 0.5f * (1.0f - RawwaveWX));
}

void QXRawwaveGraphController::awakeFromNib()
{
    takeNibColours(window);
    hostViews();
    ++OpenRawwave;
    if (needUpdateColorA > 0) {
        setWellColour(backgroundColorWell, bkColorA);
        needUpdateColorA = 0;
    }
    showViewsByMode();

    const int channels = fillViewModePopup(viewModeEntries);
    if (channels == 0) {
        selectItem(popup, 2);
        activeView().setDemoNumber(2);
        activeViewChanged();
        selectX(2);
    }
    setItems(popup2, viewEntryTitles());

    maxFX = 2.13f;
    maxVX = 20.0f;
    currentFX = currentVX = 50.0f;
    selectTag(colorStyleMatrix, 0);
    setWRawGainValue(setWRawGain);

    if (firstTimwRawwave == 0 && backgroundColorWell)
        windowColor = wellColour(backgroundColorWell);
    if (windowColorRawDidChanged != 0) {
        setWellColour(backgroundColorWell, windowColor);
        windowColorRawDidChanged = 0;
    }

    pushControlsToActiveView();
    activeView().setcursor(1);
    activeView().setgrid(1);
    activeViewChanged();

    if (channels > 0) {
        showValueSliders(false);
    } else {
        selectX(2);
    }

    if (firstTimwRawwave == 0) {
        firstTimwRawwave = 1;
        if (gridColorYGiven == 0)
            for (float& c : GridColorY)
                c = 1.0f;
        gridColorYGiven = 1;
    }
    finishWindowSetUp(showQXRawwaveGraphFront);

    restoreLastView(selectCHXX);
}

void QXRawwaveGraphController::windowWillClose(QObject* sender)
{
    PlotGraphWindowController::windowWillClose(sender);
    rawwaveWindowState.windowClosed(true);
    FrameUsingName[OpenRawwave] = QString::asprintf("%s %d", "RawwaveGraph", OpenRawwave);
    WindowHandle(window).saveFrameUsingName(FrameUsingName[OpenRawwave]);
    timer.stop();
}

}  // namespace nupo
