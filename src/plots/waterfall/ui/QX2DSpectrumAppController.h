#pragma once

#include "platform/appkit/NotificationCenter.h"
#include "plots/frame/ui/PlotGraphWindowController.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "plots/waterfall/ui/QX2DSpectrumController.h"

#include <QStringList>

namespace nupo {

// The 2D spectrum window ("Waterfall Window", nib "QX2DSpectrum"): a normal and a full 2D spectrum view
// on the plot window frame, with the source popup, the play-speed popup, the view/transparency popup,
// the per-source overlay switches, the start frequency, the colour gain and offset animations, and the
// drawers whose controls forward drawing switches to the view.
class QX2DSpectrumAppController : public PlotGraphWindowController<QX2DSpectrumGLView> {
    Q_OBJECT
public:
    QX2DSpectrumAppController();
    ~QX2DSpectrumAppController() override;

    static QX2DSpectrumAppController& sharedQX2DSpectrumAppController();

    // The entries of the window's view-mode menu for a device configuration (DeviceConfig).
    static QStringList viewModeTitles(int deviceConfig);

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;
    void windowDidResize(QObject* window) override;

    // An extra tick on "Waterfallupdate"; the speed popup follows the play speed.
    void graphicChangedX(QObject* notification = nullptr);
    void setMovieSpeedQ(QObject* notification = nullptr);
    void setSpeedPopupMenu(int index);

    // Source (0..11), play speed and view/transparency.
    void select(QObject* sender) override;
    void selectX(int source) override;
    void select2(QObject* sender);
    void select3(QObject* sender);
    void selectX2(int entry) override;
    void selectX3(int entry) { selectX2(entry); }
    void setDemoNumberB(int entry) override;

    // Queued by the 2D view.
    void setDemoNumberAto3DC(int source) { state.queueViewMode(source); }
    void setDemoNumberBto3DC(int entry) { state.queueViewEntry(entry); }

    // Shows a source's stored overlay flags in the check boxes and tells the view.
    void setshowDisplayall(int source);

    // Overlay setters: the check box shows the state and the active view stores it for its source.
    void setFrequencyline_(int state);
    void setFrequencylaval_(int state);
    void setTimeline_(int state);
    void setTransparentTimeline_(int state);
    void setTimelaval_(int state);
    void setTimesphere_(int state);
    void setPowerflatmark5_(int state);
    void setPowerflatmark10_(int state);
    void setPowerPeakflat_(int state);
    void setPowerlabel_(int state);
    void setCoherenceHigh_(int state);
    // Setter of overlay flag k (0..9, 11); other k do nothing.
    void setOverlayFlag(int k, int state);

    // Overlay check-box actions.
    void Frequencyline(QObject* sender);
    void Frequencylaval(QObject* sender);
    void Timeline(QObject* sender);
    void TransparentTimeline(QObject* sender);
    void Timelaval(QObject* sender);
    void Timesphere(QObject* sender);
    void Powerflatmark5(QObject* sender);
    void Powerflatmark10(QObject* sender);
    void PowerPeakflat(QObject* sender);
    void Powerlabel(QObject* sender);
    void CoherenceHigh(QObject* sender);

    // Start frequency typed in Hz: the view gets the start bin, the field the frequency it shows.
    void sendTextStartFrequencyField(QObject* sender);
    QObject* StartFrequencyField() const { return displayHereStartFrequency; }
    QObject* textFezField() const { return displayHereFez; }

    // Drawing switches forwarded to the active view.
    void button(QObject* sender);
    void ViewShowBrainSWX(QObject* sender);
    void DrawSurfaceLineX(QObject* sender);
    void DrawLargeGridX(QObject* sender);
    void RunTextureX(QObject* sender);
    void RunbyBrainswX(QObject* sender);
    void ResetPositionX(QObject* sender);
    void DrawModeX(QObject* sender);
    void TextureModeX(QObject* sender);
    void setPColorX(QObject* sender);
    void setFColorX(QObject* sender);

    // Inputs of the waterfall patch; stored only.
    void BrainCHX(int v) { nupo::BrainCHX = v; }
    void XpositionX(int v) { nupo::XpositionX = v; }
    void YpositionX(int v) { nupo::YpositionX = v; }
    void WsizeX(int v) { nupo::WsizeX = v; }
    void HsizeX(int v) { nupo::HsizeX = v; }
    void inputRX(double v) { nupo::inputRX = v; }
    void inputRY(double v) { nupo::inputRY = v; }
    void inputRZ(double v) { nupo::inputRZ = v; }

    QX2DSpectrumController& drawers() { return drawers_; }

protected:
    void refreshInformationFields() override;
    void markActiveViewForRedraw() override;
    void activeViewChanged() override;
    QObject* viewEntryPopup() const override { return popup3; }

private:
    void pushControlsToActiveView() override;
    void showOverlay(QObject* box, int k, int state);

    QComboBox* popup3 = nullptr;
    QObject *FezField = nullptr, *displayHereFez = nullptr;
    QObject *StartFrequencyLabel = nullptr, *displayHereStartFrequency = nullptr;
    QObject *setFrequencyline = nullptr, *setFrequencylaval = nullptr, *setTimeline = nullptr,
            *setTransparentTimeline = nullptr, *setTimelaval = nullptr, *setTimesphere = nullptr,
            *setPowerflatmark5 = nullptr, *setPowerflatmark10 = nullptr, *setPowerPeakflat = nullptr,
            *setPowerlabel = nullptr, *setFFT512Band = nullptr, *setCoherenceHigh = nullptr;
    QX2DSpectrumController drawers_;
    ScopedObserver updateObserver;
    ScopedObserver speedObserver;
};

}  // namespace nupo
