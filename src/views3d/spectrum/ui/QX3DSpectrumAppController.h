#pragma once

#include "platform/appkit/NotificationCenter.h"
#include "plots/frame/ui/PlotWindowController.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/spectrum/ui/QX3DSpectrumController.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace nupo {

class Drawer;
class QX3DSpectrumGLDrawing;

// The 3D band-spectrum window ("WaterfallBS Window", nib "QX3DSpectrum"): a normal and a full 3D view,
// the display-mode, view/alpha and play-speed menus, camera-preset buttons, information fields, and
// drawers with the camera, surface, colour, texture, scene-element and brain-switch controls. Its 1/30 s
// tick animates the transparency, applies the commands other parts leave for the window, refreshes the
// fields, redraws the visible view and runs the colour animations.
//
// The shared instance has no window and no views; remote callers talk to it, and the window picks their
// values up through the process-wide state (Spectrum3DWindowState.h).
class QX3DSpectrumAppController : public PlotWindowController {
public:
    QX3DSpectrumAppController();
    ~QX3DSpectrumAppController() override;

    static QX3DSpectrumAppController& sharedQX3DSpectrumAppController();

    // The entries of the window's display-mode menu for a device configuration (DeviceConfig).
    static QStringList viewModeTitles(int deviceConfig);

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;
    void windowDidResize(QObject* window) override;

    // The visible view (null without a window), and the two views.
    QX3DSpectrumGLView* visibleView();
    QX3DSpectrumGLView* normalView() { return views[0].get(); }
    QX3DSpectrumGLView* fullView3D() { return views[1].get(); }
    QX3DSpectrumGLDrawing* visibleDrawing();
    QX3DSpectrumController& drawerController() { return drawers; }

    // --- Operations other parts send ------------------------------------------------------------------
    void setBackgroundColorWellA(const RGBAColor& colour);
    void setDemoNumberAto3DBSC(int n) { state.queueViewMode(n); }
    // A queued display-mode command: the menu shows the mode, and the visible view takes it too (the view
    // that first applied it may since have been set up again by the window's opening).
    void setDemoNumberA(int mode) override;
    void setDemoNumberBto3DBSC(int n) { state.queueViewEntry(n); }
    void setDemoNumberB(int n) override;
    void setGetMaxOpen();
    void BrainCHX(int v);
    void XpositionX(int v);
    void YpositionX(int v);
    void WsizeX(int v);
    void HsizeX(int v);
    void inputRX(double v);
    void inputRY(double v);
    void inputRZ(double v);
    void graphicChangedX();
    void setMovieSpeedQ();
    // Brain-note selection of source k (0..9).
    void didchangeSelect(int source);
    void copy(QObject*) {}

    // --- Display-mode, view/alpha and speed menus -----------------------------------------------------
    void select(QObject* sender) override;
    void selectX(int n) override;
    void selectX2(int n) override { selectX3(n); }
    void select3(QObject* sender);
    void selectX3(int n);
    void select2(QObject* sender);
    void setSpeedPopupMenu(int n);

    // --- Sliders, radio matrices, check boxes and buttons -----------------------------------------------
    void setViewAngleX(QObject* sender);
    void setViewAngleX1(QObject* sender);
    void setViewAngleX2(QObject* sender);
    void setViewModeX(QObject* sender);
    void setRotateSpeedUpX(QObject* sender);
    void setRotateSpeedDownX(QObject* sender);
    void setRotateSpeedLeftX(QObject* sender);
    void setRotateSpeedRightX(QObject* sender);
    void setPColorX(QObject* sender);
    void setFColorX(QObject* sender);
    void setColorMapX(QObject* sender);
    void setDynamicTextureX(QObject* sender);
    void ViewX(QObject* sender);
    void MoveModeX(QObject* sender);
    void DrawModeX_(QObject* sender);
    void TextureModeX_(QObject* sender);
    void AutoStopX(QObject* sender);
    void ResetPositionX(QObject* sender);
    void button(QObject* sender);
    void changeBackgroundColor(QObject* sender);
    void LoadTextuerX(QObject* sender);
    void setMaxTextuerSlider(int n);
    void sendTextStartFrequencyField(QObject* sender);

    // --- Brain-switch toggles ------------------------------------------------------------------------
    void showBSall(QObject* sender);
    void setshowBSall(int v);
    // Switch k 1..8.
    void showBS(int k, QObject* sender);
    void setshowBS(int k, int v);
    void showBSinfo(QObject* sender);
    void setshowBSinfo(int v);
    void setAllBSButton(int source);
    void setBSButton();
    void setBSButtonFromBSarray();
    void setshowDisplayall(int row);

    // --- Display-element toggles: element 0..11 ---------------------------------------------------------
    void displayElement(int element, QObject* sender);
    void setDisplayElement(int element, int v);
    int displayElementState(int element) const { return elementX[static_cast<std::size_t>(element)]; }
    int brainSwitchState(int k) const { return showBSX[static_cast<std::size_t>(k)]; }

    int popupSelection() const { return popupselectX; }
    int viewA3DValue() const { return viewA; }
    int maxImageNXopen = 0;
    int maxImageNZ = 0;

    // Value fields.
    QObject* textFezField() const { return displayHereFez; }
    QObject* textStartFrequencyField() const { return displayHereStartFrequency; }

protected:
    void refreshInformationFields() override;
    void markActiveViewForRedraw() override;
    void applyBackgroundToActiveView(const RGBAColor& colour) override;
    void storeBackground() override;

private:
    void forEachVisible(const std::function<void(QX3DSpectrumGLView&)>& f);
    void sendSlider(QObject* sender, QObject* outlet, void (QX3DSpectrumGLView::*setter)(float),
                    float (*transform)(float));
    void sendInt(QObject* sender, void (QX3DSpectrumGLView::*setter)(int));
    void showViewsByMode();
    void setDisplayModeList();
    void setBrainSwitchBoxesHidden(bool hidden);
    // A slider and the label the nib names after it ("<slider>Label").
    void setSliderHidden(QObject* slider, bool hidden);

    std::unique_ptr<QX3DSpectrumGLView> views[2];
    std::unique_ptr<QX3DSpectrumGLDrawing> drawings[2];
    QWidget* hosts[2] = {nullptr, nullptr};  // the GL views' host widgets
    QWidget* viewPlaceholders[2] = {nullptr, nullptr};
    std::vector<ScopedObserver> observers;
    QX3DSpectrumController drawers;

    QComboBox* popup3 = nullptr;
    QObject* displayHereTextureNumber = nullptr;
    QObject* DrawModeX = nullptr;
    QObject* TextureModeX = nullptr;
    QObject *setViewAngleXX = nullptr, *setViewAngleXX1 = nullptr, *setViewAngleXX2 = nullptr,
            *setViewModeXX = nullptr;
    QObject *setRotateSpeedUpXX = nullptr, *setRotateSpeedDownXX = nullptr, *setRotateSpeedLeftXX = nullptr,
            *setRotateSpeedRightXX = nullptr;
    QObject *setPColorXX = nullptr, *setFColorXX = nullptr, *setColorMapXX = nullptr,
            *setDynamicTextureXX = nullptr;
    QObject *FezField = nullptr, *displayHereFez = nullptr;
    QObject *StartFrequencyField = nullptr, *displayHereStartFrequency = nullptr;
    QObject* setshowBSallBox = nullptr;
    QObject* setshowBSBox[8] = {};
    QObject* setshowBSinfoBox = nullptr;
    QObject* elementBox[12] = {};
    QObject* setFFT512Band = nullptr;
    Drawer *leftDrawer = nullptr, *bottomDrawer = nullptr, *upperRightDrawer = nullptr,
           *lowerRightDrawer = nullptr;

    int setshowBSallX = 0;
    std::array<int, 8> showBSX{};
    std::array<int, 12> elementX{};
    int popup3selectX = 0;
    bool tornDown = false;
};

}  // namespace nupo
