#include "plots/bargraph/ui/QX2DBarGraphController.h"

#include "analysis/SpectrumMath.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <QComboBox>
#include <QWidget>

#include <cmath>

#include <algorithm>

namespace nupo {

namespace {

using namespace PlotControls;

const QStringList viewModeEntries[4] = {
    {"-", "--", "---", "----", "CH 1", "-----", "CH 1 Play only", "-----", "-----", "-----"},
    {"LR 2D BarGarph", "LR 2D BarGarph:Mirror", "LR 2D BarGarph Play only", "LR 2D BarGarph:Mirror Play only",
     "CH 1 (L)", "CH 2 (R)", "CH 1 (L) Play only", "CH 2 (R) Play only", "---", "---"},
    {"LR 2D BarGarph", "LR 2D BarGarph:Mirror", "-", "--", "CH 1", "CH 2", "CH 3", "---", "---", "---"},
    {"1 LR 2D BarGarph", "1 LR 2D BarGarph:Mirror", "2 LR 2D BarGarph", "2 LR 2D BarGarph:Mirror", "CH 1",
     "CH 2", "CH 3", "CH 4", "2 set of LR 2D BarGarph", "2 set of LR 2D BarGarph:Mirror"},
};

// A peak value as shown: with logarithmic power 10^(v / 10 − 1).
double shownPeak(float value)
{
    return LOGpowerONed != 0 ? std::pow(10.0, value / 10.0 - 1.0) : value;
}

}  // namespace

QX2DBarGraphController::QX2DBarGraphController()
    : PlotGraphWindowController(barGraphWindowState, 60.0f, QStringLiteral("qX2DBarGraphView"),
                                QStringLiteral("bM2DBarGraphView"))
{
    outlet("DBarHSlider", DBarHSlider);
    outlet("DBarWSlider", DBarWSlider);
    outlet("FezField", FezField);
    outlet("displayHereFez", displayHereFez);
    outlet("PeakV1Field", PeakV1Field);
    outlet("displayHerePeakV1", displayHerePeakV1);
    outlet("PeakV2Field", PeakV2Field);
    outlet("displayHerePeakV2", displayHerePeakV2);
    outlet("PeakF1Field", PeakF1Field);
    outlet("displayHerePeakF1", displayHerePeakF1);
    outlet("PeakF2Field", PeakF2Field);
    outlet("displayHerePeakF2", displayHerePeakF2);

    action("changeDBarHSlider", &QX2DBarGraphController::changeDBarHSlider);
    action("changeDBarWSlider", &QX2DBarGraphController::changeDBarWSlider);
    action("changeDBarVSlider", &QX2DBarGraphController::changeDBarVSlider);
    action("changeDBarFSlider", &QX2DBarGraphController::changeDBarFSlider);
    action("sendTextB", &QX2DBarGraphController::sendTextB);
}

QX2DBarGraphController::~QX2DBarGraphController()
{
    viewA = 0;
    AlphaAnime = 0;
}

QStringList QX2DBarGraphController::viewModeTitles(int deviceConfig)
{
    return viewModeEntries[std::clamp(deviceConfig, 0, 3)];
}

QX2DBarGraphController& QX2DBarGraphController::sharedQX2DBarGraphController()
{
    static QX2DBarGraphController* instance = new QX2DBarGraphController;  // lives to process end
    return *instance;
}

float QX2DBarGraphController::setBar2DGain(int channel) const
{
    // A channel out of range has the gain index of G = 1.
    return 1.0f / gainIndexToDisplayGain(gainIndexOfChannel(channel));
}

void QX2DBarGraphController::setBar2DGainAX()
{
    for (int c = 0; c < 4; ++c)
        displayGainX[c] = gainIndexToDisplayGain(gainIndexOfChannel(c));
}

void QX2DBarGraphController::pushControlsToActiveView()
{
    QX2DBarGraphView& view = activeView();
    pushWellColoursToActiveView();
    view.setDBarH(floatValue(DBarHSlider));
    view.setDBarW(floatValue(DBarWSlider));
    view.setDBarV(floatValue(VSlider));
    view.setDBarF(floatValue(FSlider));
    view.setColorStyleType(0);
}

void QX2DBarGraphController::selectX(int mode)
{
    selectItem(popup, mode);
    popupselectX = mode;
    if (mode < 0 || mode > 10) {
        logInvalidItem();
        return;
    }
    if (mode == 10)
        return;
    const bool oneBand = mode >= 4 && mode <= 7;
    showValueSliders(oneBand);
    for (QObject* caption : {displayLtext, displayRtext, displayL2text, displayR2text})
        setHidden(caption, mode >= 4);
    if (mode <= 7) {
        const bool peak1 = mode <= 3 || mode == 4 || mode == 6;
        const bool peak2 = mode <= 3 || mode == 5 || mode == 7;
        for (QObject* field : {PeakV1Field, displayHerePeakV1, PeakF1Field, displayHerePeakF1})
            setHidden(field, !peak1);
        for (QObject* field : {PeakV2Field, displayHerePeakV2, PeakF2Field, displayHerePeakF2})
            setHidden(field, !peak2);
    }
}

void QX2DBarGraphController::setWBarGainValue(float value)
{
    takeHeightGain(value);
    setFloatValue(DBarHSlider, value);
    DBarHX = value;
    activeView().setDBarH(value);
    showAmplitudeRange(DBarHX, setBar2DGain(0));
    activeView().setNeedsDisplay(true);
}

void QX2DBarGraphController::changeDBarHSlider(QObject* sender)
{
    setWBarGainValue(floatValue(controlOf(sender, DBarHSlider)));
}

void QX2DBarGraphController::changeDBarWSlider(QObject* sender)
{
    DBarWX = floatValue(controlOf(sender, DBarWSlider));
    activeView().setDBarW(DBarWX);
    showFrequencyRange(static_cast<float>(SampleSpeed) * 0.5f * (1.0f - DBarWX));
}

void QX2DBarGraphController::changeDBarVSlider(QObject* sender)
{
    const float value = floatValue(controlOf(sender, VSlider));
    activeView().setDBarV(value);
    moveAmplitudeCursor(value);
    if (LOGpowerONed != 0)  // logarithmic power shows the cursor's level instead
        setField(displayHerecurrentV, std::pow(10.0, value / 3.33 / 10.0 - 1.0));
}

void QX2DBarGraphController::changeDBarFSlider(QObject* sender)
{
    const float value = floatValue(controlOf(sender, FSlider));
    activeView().setDBarF(value);
    moveFrequencyCursor(value);
}

void QX2DBarGraphController::sendTextB(QObject* sender)
{
    setField(displayHeremaxV, PlotControls::text(sender));
}

void QX2DBarGraphController::showPeakFields()
{
    int first = 0;
    switch (selectCHX) {
        case 0:
        case 1:
        case 4:
        case 5:
        case 8:
        case 9:
            first = 0;
            break;
        case 2:
        case 3:
        case 6:
        case 7:
            first = 2;
            break;
        default:
            return;
    }
    setField(displayHerePeakV1, shownPeak(peakFFTX[first]));
    setField(displayHerePeakV2, shownPeak(peakFFTX[first + 1]));
    setField(displayHerePeakF1, peakFFTY[first]);
    setField(displayHerePeakF2, peakFFTY[first + 1]);
}

void QX2DBarGraphController::refreshInformationFields()
{
    const float g = setBar2DGain(CHmode);
    setBar2DGainAX();
    timerStamp(ploop);
    showPeakFields();
    setField(displayHereFFTpoint, QString::number(fftp));
    setField(displayHereSampleSpeed, QString::number(SampleSpeed));
    setField(displayHereFPS, activeView().framesPerSecond());
    const int points = fftp < 1 ? 1 : static_cast<int>(fftp);
    setField(displayHereFez, static_cast<double>(SampleSpeed) / points);
    if (LOGpowerONed != 0) {
        heightHeldByLogPower = true;
        DBarHX = 8.8f;
        activeView().setDBarH(8.8f);
        setFloatValue(DBarHSlider, 8.8f);
        setField(displayHeremaxV, QStringLiteral("100.0"));
        maxVX = 10.0f;
        setField(displayHerecurrentV, std::pow(10.0, currentVX / 3.33 / 10.0 - 1.0));
    } else {
        // Logarithmic power held the height at 8.8; without it the bars take the height chosen last.
        if (heightHeldByLogPower) {
            heightHeldByLogPower = false;
            setWBarGainValue(setWBarGain);
        }
        showAmplitudeRange(DBarHX, g);
    }
    showFrequencyRange(static_cast<float>(SampleSpeed) * 0.5f * (1.0f - DBarWX));
}

void QX2DBarGraphController::awakeFromNib()
{
    takeNibColours(window);
    hostViews();
    ++Open2DBarGraph;
    if (needUpdateColorB > 0) {
        setWellColour(backgroundColorWell, bkColorB);
        needUpdateColorB = 0;
    }
    showViewsByMode();

    const int channels = fillViewModePopup(viewModeEntries);
    if (channels == 0) {
        selectItem(popup, 4);
        activeView().setDemoNumber(4);
        selectX(4);
    }
    setItems(popup2, viewEntryTitles());

    maxFX = 60.0f;
    maxVX = 20.0f;
    currentFX = currentVX = 50.0f;
    selectTag(colorStyleMatrix, 0);
    setWBarGainValue(setWBarGain);

    if (windowColorBarDidChanged != 0) {
        setWellColour(backgroundColorWell, windowColor);
        windowColorBarDidChanged = 0;
    }
    pushControlsToActiveView();

    if (channels > 0) {
        showValueSliders(false);
    } else {
        selectX(4);
    }

    if (firstTimw2DBarGraph == 0) {
        firstTimw2DBarGraph = 1;
        if (gridColorXGiven == 0)
            for (float& c : GridColorX)
                c = 1.0f;
        gridColorXGiven = 1;
    }
    finishWindowSetUp(showQX2DBarGarphFront);

    restoreLastView(channels == 0 ? 4 : selectCHX);
}

void QX2DBarGraphController::windowWillClose(QObject* sender)
{
    PlotGraphWindowController::windowWillClose(sender);
    barGraphWindowState.windowClosed(false);
    timer.stop();
}

}  // namespace nupo
