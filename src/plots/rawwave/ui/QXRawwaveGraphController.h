#pragma once

#include "plots/frame/ui/PlotGraphWindowController.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"

#include <QStringList>

namespace nupo {

// The raw-wave window ("Rawwave Window", nib "QXRawwaveGraph"): a normal and a full raw-wave view, the
// view-mode and view/transparency popups, sliders for height, width, cursors and grid, colour wells,
// style matrices and the information fields.
class QXRawwaveGraphController : public PlotGraphWindowController<QXRawwaveGraphView> {
    Q_OBJECT
public:
    QXRawwaveGraphController();
    ~QXRawwaveGraphController() override;

    static QXRawwaveGraphController& sharedQXRawwaveGraphController();

    // The entries of the window's view-mode menu for a device configuration (DeviceConfig).
    static QStringList viewModeTitles(int deviceConfig);

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;

    // Queued by the raw-wave view.
    void setDemoNumberAtoRawC(int mode) { state.queueViewMode(mode); }
    void setDemoNumberBtoRawC(int entry) { state.queueViewEntry(entry); }

    void selectX(int mode) override;
    void selectX2(int entry) override;

    // 1 / G of a channel's gain index (1.0 for a channel or index out of range).
    float setRawWaveGain(int channel) const;
    // Peak-to-peak value of a channel's last trace (0.0 for a channel out of range).
    float setRawWavePP(int channel) const;
    void setWRawGainValue(float value);

    // Inputs of the raw-data patch; stored only.
    void BrainCHX(int v) { BrainCHrawX = v; }
    void XpositionX(int v) { XpositionrawX = v; }
    void YpositionX(int v) { YpositionrawX = v; }
    void WsizeX(int v) { WsizerawX = v; }
    void HsizeX(int v) { HsizerawX = v; }

    // Actions.
    void changeRawwaveHSlider(QObject* sender);
    void changeRawwaveWSlider(QObject* sender);
    void changeRawwaveVSlider(QObject* sender);
    void changeRawwaveFSlider(QObject* sender);
    void changegridSlider(QObject* sender);
    void changegridColor(QObject* sender);
    void changegrid(QObject* sender);

    int channelMode() const { return CHmode; }

    QObject* textppPowerLField() const { return displayHereppPowerL; }
    QObject* textppPowerRField() const { return displayHereppPowerR; }

protected:
    void refreshInformationFields() override;

private:
    // The grid slider shows with the normal view only.
    void activeViewChanged() override;
    void pushControlsToActiveView() override;

    float RawwaveHX = 0.0f;
    float RawwaveWX = 0.0f;
    int CHmode = 0;

    QObject* gridON = nullptr;
    QObject* gridColorWell = nullptr;
    QObject* RawwaveHSlider = nullptr;
    QObject* RawwaveWSlider = nullptr;
    QObject* gridSlider = nullptr;
    QObject *ppPowerLField = nullptr, *displayHereppPowerL = nullptr;
    QObject *ppPowerRField = nullptr, *displayHereppPowerR = nullptr;
};

}  // namespace nupo
