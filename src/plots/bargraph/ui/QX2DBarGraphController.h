#pragma once

#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/frame/ui/PlotGraphWindowController.h"

#include <QStringList>

namespace nupo {

// The spectrum bar-graph window ("Bargraph Window", nib "QX2DBarGraph"): a normal and a full bar-graph
// view with the amplitude range (logarithmic power aware), the frequency range, the peak fields, the
// frequency resolution and the display gains of the four channels.
class QX2DBarGraphController : public PlotGraphWindowController<QX2DBarGraphView> {
    Q_OBJECT
public:
    QX2DBarGraphController();
    ~QX2DBarGraphController() override;

    static QX2DBarGraphController& sharedQX2DBarGraphController();

    // The entries of the window's view-mode menu for a device configuration (DeviceConfig).
    static QStringList viewModeTitles(int deviceConfig);

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;

    // Queued by the bar-graph view.
    void setDemoNumberAto2DC(int mode) { state.queueViewMode(mode); }
    void setDemoNumberBto2DC(int entry) { state.queueViewEntry(entry); }

    void selectX(int mode) override;

    // 1 / G of a channel's gain index (1.0 out of range).
    float setBar2DGain(int channel) const;
    // displayGainX[c] = G of each channel's gain index.
    void setBar2DGainAX();
    void setWBarGainValue(float value);
    bool applicationShouldTerminateAfterLastWindowClosed(QObject*) const { return true; }

    // Inputs of the bar-graph patch; stored only.
    void BrainCHX(int v) { BrainCHbarX = v; }
    void XpositionX(int v) { XpositionbarX = v; }
    void YpositionX(int v) { YpositionbarX = v; }
    void WsizeX(int v) { WsizebarX = v; }
    void HsizeX(int v) { HsizebarX = v; }

    // Actions.
    void changeDBarHSlider(QObject* sender);
    void changeDBarWSlider(QObject* sender);
    void changeDBarVSlider(QObject* sender);
    void changeDBarFSlider(QObject* sender);
    void sendTextB(QObject* sender);

    QObject* textFezField() const { return displayHereFez; }
    QObject* textPeakV1Field() const { return displayHerePeakV1; }
    QObject* textPeakV2Field() const { return displayHerePeakV2; }
    QObject* textPeakF1Field() const { return displayHerePeakF1; }
    QObject* textPeakF2Field() const { return displayHerePeakF2; }

protected:
    void refreshInformationFields() override;

private:
    void pushControlsToActiveView() override;
    void showPeakFields();

    float DBarHX = 0.0f;
    bool heightHeldByLogPower = false;
    float DBarWX = 0.0f;
    int CHmode = 0;  // the amplitude range always uses the gain of channel 1

    QObject* DBarHSlider = nullptr;
    QObject* DBarWSlider = nullptr;
    QObject *FezField = nullptr, *displayHereFez = nullptr;
    QObject *PeakV1Field = nullptr, *displayHerePeakV1 = nullptr;
    QObject *PeakV2Field = nullptr, *displayHerePeakV2 = nullptr;
    QObject *PeakF1Field = nullptr, *displayHerePeakF1 = nullptr;
    QObject *PeakF2Field = nullptr, *displayHerePeakF2 = nullptr;
};

}  // namespace nupo
