#pragma once

#include "platform/appkit/FrameTimer.h"
#include "platform/appkit/ui/NibController.h"
#include "platform/colour/RGBAColor.h"
#include "plots/frame/gl/PlotWindowState.h"

#include <QRect>
#include <QRectF>
#include <QStringList>

#include <atomic>

class QComboBox;
class QWidget;

namespace nupo {

// The frame shared by the plot window controllers (raw wave, bar graph, 2D spectrum). Each instance runs
// its own 1/30 s timer; a tick animates the window's transparency, applies the view commands queued in
// the window family's process-wide state, refreshes the information fields and marks the active view
// for redrawing. The shared instance has no window and no outlets: its tick touches only the
// process-wide state. Subclasses supply the views, the mode switches and the information fields.
class PlotWindowController : public NibController {
    Q_OBJECT
public:
    // maxF: the top of the frequency range until the window computes it.
    PlotWindowController(PlotWindowState& state, float maxF);
    ~PlotWindowController() override;

    // Operations other parts send; they work through the process-wide state.
    void setWframe(const QRectF& frame) { state.setWframe(frame); }
    void setViewMode(int mode)
    {
        shownView.fullView = mode;
        if (standsForFamily())
            state.fullView = mode;
    }
    int getViewMode() const { return shownView.fullView; }
    void setWindowAlphaValue(float alpha) { state.alphaValue = alpha; }
    void setWindowColorValue(QObject* ignored = nullptr);
    void setBackgroundColorWellA(const RGBAColor& colour);
    void closeXWindow();
    void closeTheWindow(QWidget* window);
    void runAgain(QObject* sender);
    void playTsound();

    // The view-mode and view/transparency switches and the queued-command entries.
    virtual void selectX(int mode) = 0;
    virtual void selectX2(int entry) = 0;
    // A queued view mode: selects it and marks the command as applied.
    virtual void setDemoNumberA(int mode);
    virtual void setDemoNumberB(int entry) = 0;
    virtual void select(QObject* sender) = 0;

    // popupselectX: (stores and returns its argument), setpopupselectX:, popupselectXR.
    int popupselectX_(int mode) { return popupselectX = mode; }
    void setpopupselectX(int mode) { popupselectX = mode; }
    int popupselectXR() const { return popupselectX; }

    // One tick (`timerUpdate:`).
    void timerUpdate();
    // Shows the sample position as "%02d:%02d:%02d.%03d" in the time field.
    void timerStamp(int samplePoint);

    FrameTimer& tickTimer() { return timer; }
    QWidget* windowWidget() const { return window; }
    int alphaAnimation() const { return AlphaAnime; }
    bool fullViewActive() const { return viewA == 1; }
    float maxV() const { return maxVX; }
    float maxF() const { return maxFX; }

    void windowDidMove(QObject* window) override;
    void windowDidResize(QObject* window) override;
    void windowDidChangeState(QObject* window) override;
    // The family's first window changes when this one was it: subclasses call it as their window closes.
    void windowWillClose(QObject* window) override;

    // The open window of the family that opened first: documents save its frame, background colour and
    // front flag for the family (a second window opened and closed leaves them as they were).
    static PlotWindowController* firstWindowOf(const PlotWindowState& state);

    // Value fields of the information pairs shared by the plot windows.
    QObject* textploopField() const { return displayHereploop; }
    QObject* textFPSField() const { return displayHereFPS; }
    QObject* textFFTpointField() const { return displayHereFFTpoint; }
    QObject* textSampleSpeedField() const { return displayHereSampleSpeed; }
    QObject* textmaxVField() const { return displayHeremaxV; }
    QObject* textmaxFField() const { return displayHeremaxF; }
    QObject* textcurrentVField() const { return displayHerecurrentV; }
    QObject* textcurrentFField() const { return displayHerecurrentF; }

protected:
    // Whether this window is its family's first open one.
    bool isFirstOfFamily() const { return firstWindowOf(state) == this; }
    // Stores this window's frame, when it is shown, as the family's frame.
    void storeFrame();
    // The family's saved frame, colour and front flag become this window's.
    void standForFamily();
    // The family's view settings become those this window shows.
    void restoreFamilyView();
    // Whether this window stands for its family: the first open one, or one being set up while none is
    // open.
    bool standsForFamily() const
    {
        const PlotWindowController* first = firstWindowOf(state);
        return !first || first == this;
    }
    // The view settings this window shows. Documents save one view per family, the first window's: the
    // family's settings take them only from the window that stands for it (and from the next one when
    // it closes), so that a second window neither changes what is saved nor swaps views on reopening.
    void takeViewMode(int mode)
    {
        shownView.viewMode = mode;
        if (standsForFamily())
            state.lastViewMode = mode;
    }
    void takeViewEntry(int entry)
    {
        shownView.viewEntry = entry;
        if (standsForFamily())
            state.lastViewEntry = entry;
    }
    void takeHeightGain(float gain)
    {
        shownView.heightGain = gain;
        if (standsForFamily())
            state.heightGain = gain;
    }
    // A window that opens beside the family's first keeps the view it opens on (the popups' first
    // entries, the normal view), not the family's it has not taken.
    void keepOwnView(int viewMode) { shownView = ViewSettings{viewMode, 0, 0, shownView.heightGain}; }

    // Hooks of the tick.
    virtual void applyBackgroundToActiveView(const RGBAColor& colour) = 0;
    virtual void refreshInformationFields() = 0;
    // Shows in the window's controls what other parts of the program changed in the view's settings.
    virtual void refreshStyleControls() {}
    virtual void markActiveViewForRedraw() = 0;

    // The transparency part of selectX2: entries 0/1 choose the normal or full view, 2..6 a fixed alpha,
    // 7..9 an animation, 10 stops it. Returns false (and logs "Invalid item") outside 0..10.
    bool applyViewEntry(int entry);
    // Back in the normal view: the window takes the size and place it had before the full view.
    void restoreNormalViewFrame();
    // Shows the V slider and its field for views of two or more traces, the V2 slider and its field for
    // views of one channel; the second V2 field stays hidden.
    void showValueSliders(bool oneChannel);
    // Fills the view-mode popup with the entries for the device's channel count (DeviceConfig clamped to
    // 0..3; the four-channel list first, so the popup has all items) and returns that count.
    int fillViewModePopup(const QStringList (&entriesByChannels)[4]);
    // The amplitude fields: the top of the range, ((10 - heightSlider) * 20 + 6) * inverseGain, and the
    // V cursor's share of it.
    void showAmplitudeRange(float heightSlider, float inverseGain);
    // The frequency fields: the top of the range and the F cursor's share of it.
    void showFrequencyRange(float top);
    // Moves the V or F cursor (percent of the range) and shows its value.
    void moveAmplitudeCursor(float percent);
    void moveFrequencyCursor(float percent);
    // Makes the window visible and key, and records its frame.
    void showTheWindow(QWidget* window);
    // The nib steps shared by the windows: delegate, pending frame, alpha and the status-window level
    // (when frontFlag, the family's "in Front" switch, is set). The window joins its family's open windows.
    void finishWindowSetUp(std::atomic<int>& frontFlag);
    // Writes the active view's background colour into the family's stored colour, which documents save.
    virtual void storeBackground() = 0;
    // The entries of the view/transparency popup ("Normal View" .. "Alpha Animation 0.8 .. 0.4").
    static const QStringList& viewEntryTitles();
    // The control an action reads: the sender when it is a control of the outlet's kind (or there is no
    // outlet), else the outlet, so that actions called from code with nullptr or with another kind of
    // control still work.
    static QObject* controlOf(QObject* sender, QObject* outlet);
    void setField(QObject* field, const QString& text);
    void setField(QObject* field, double value, int digits = 3);

    PlotWindowState& state;
    struct ViewSettings {
        int viewMode, viewEntry, fullView;
        float heightGain;
    };
    ViewSettings shownView;  // starts as the family's (what a window restores)
    FrameTimer timer;
    std::atomic<int>* frontFlag = nullptr;  // the family's "in Front" switch
    bool inFront = false;                   // this window opened in front
    int popupselectX = 0;
    int viewA = 0;
    int AlphaAnime = 0;
    int alphaZ = 0;
    QRect normalViewGeometry;  // the window's geometry when it left the normal view
    float maxFX;
    float currentFX = 50.0f;
    float maxVX = 20.0f;
    float currentVX = 50.0f;

    // Outlets shared by the plot windows.
    QWidget* window = nullptr;
    QComboBox* popup = nullptr;
    QComboBox* popup2 = nullptr;
    QObject* button = nullptr;
    QObject* menuItem_New = nullptr;
    QObject* backgroundColorWell = nullptr;
    QObject* lineColorWell = nullptr;
    QObject* cursorColorWell = nullptr;
    QObject* cursorON = nullptr;
    QObject* colorStyleMatrix = nullptr;
    QObject* lineStyleMatrix = nullptr;
    QObject* VSlider = nullptr;
    QObject* V2Slider = nullptr;
    QObject* FSlider = nullptr;
    QObject *ploopField = nullptr, *displayHereploop = nullptr;
    QObject *FPSField = nullptr, *displayHereFPS = nullptr;
    QObject *FFTpointField = nullptr, *displayHereFFTpoint = nullptr;
    QObject *SampleSpeedField = nullptr, *displayHereSampleSpeed = nullptr;
    QObject *maxVField = nullptr, *displayHeremaxV = nullptr;
    QObject *maxFField = nullptr, *displayHeremaxF = nullptr;
    QObject *currentVField = nullptr, *displayHerecurrentV = nullptr;
    QObject *currentFField = nullptr, *displayHerecurrentF = nullptr;
    QObject *displayLtext = nullptr, *displayRtext = nullptr, *displayL2text = nullptr,
            *displayR2text = nullptr;
    QObject *currentVXField = nullptr, *currentV2Field = nullptr, *currentV2XField = nullptr;
};

}  // namespace nupo
