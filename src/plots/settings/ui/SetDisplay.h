#pragma once

#include "platform/appkit/ui/NibController.h"
#include "platform/colour/RGBAColor.h"

#include <functional>
#include <optional>

class QWidget;

namespace nupo {

// Where the panel's transparency fields of the 3D spectrum window and the wave-surface window send
// their value: those windows' controllers set them (`setWindowAlphaValue:`); while they are empty the
// fields only show the value.
inline std::function<void(float)> windowAlphaOf3DSpectrum;
inline std::function<void(float)> windowAlphaOfWaveSurface;
// The same for the movie window (its shared player keeps the value for the next window).
inline std::function<void(float)> windowAlphaOfMovie;

// The display settings panel: the options every graph window reads (the variables of DisplaySettings.h).
// Each option has an action, which reads its control, and a setter, which stores the variable and keeps
// the control in step. The shared instance has no controls: its setters only store. Setters whose
// name the panel's outlets already use end in an underscore (`setDrawBothside_` for the check box
// `setDrawBothside`).
class SetDisplay : public NibController {
    Q_OBJECT
public:
    SetDisplay();

    static SetDisplay& sharedSetDisplay();
    // A new panel from the nib, for the preferences window's tab.
    static QWidget* makePanel();

    void awakeFromNib() override;
    // Brings the check boxes, radio matrices and colour levels in step with their variables, then redraws
    // the panel; the menus are filled by awakeFromNib. Nothing stored changes: opening the panel is no
    // edit.
    void setALLstate();
    // Publishes the held peak-hold colour into PeakHoldColorX (nothing when none is held).
    void set2Dcolor();

    // Check boxes.
#define NUPO_SETDISPLAY_CHECKBOX(Action, Setter) \
    void Action(QObject* sender);                \
    void Setter(int value);
    NUPO_SETDISPLAY_CHECKBOX(DrawBothside, setDrawBothside_)
    NUPO_SETDISPLAY_CHECKBOX(Draw2DBothside, setDraw2DBothside_)
    NUPO_SETDISPLAY_CHECKBOX(rawwaveWindowingDisplay, setrawwaveWindowingDisplay_)
    NUPO_SETDISPLAY_CHECKBOX(AutoGainrawwave, setAutoGainrawwave_)
    NUPO_SETDISPLAY_CHECKBOX(ShowGrid2DBar, setShowGrid2DBar_)
    NUPO_SETDISPLAY_CHECKBOX(ShowPeakHold, setShowPeakHold_)
    NUPO_SETDISPLAY_CHECKBOX(PeakHoldSize, setPeakHoldSize_)
    NUPO_SETDISPLAY_CHECKBOX(UsePeakHoldColor, setUsePeakHoldColor_)
    NUPO_SETDISPLAY_CHECKBOX(ShowText, setShowText_)
    NUPO_SETDISPLAY_CHECKBOX(ShowPeakLine, setShowPeakLine_)
    NUPO_SETDISPLAY_CHECKBOX(ShowHorizontalLine, setShowHorizontalLine_)
    NUPO_SETDISPLAY_CHECKBOX(ShowTextBSMix, setShowTextBSMix_)
    NUPO_SETDISPLAY_CHECKBOX(AlwaysUpdateBS, setAlwaysUpdateBS_)
    NUPO_SETDISPLAY_CHECKBOX(ShowToFront, setShowToFront_)
#undef NUPO_SETDISPLAY_CHECKBOX

    // Radio matrices: the setter stores only 0..3.
#define NUPO_SETDISPLAY_MATRIX(Action, Setter) \
    void Action(QObject* sender);              \
    void Setter(int value);
    NUPO_SETDISPLAY_MATRIX(PeakMode, setPeakMode_)
    NUPO_SETDISPLAY_MATRIX(BSPeakMode, setBSPeakMode_)
    NUPO_SETDISPLAY_MATRIX(PeakWFMode, setPeakWFMode_)
    NUPO_SETDISPLAY_MATRIX(HorizontalLineMode, setHorizontalLineMode_)
    NUPO_SETDISPLAY_MATRIX(FqTextMode, setFqTextMode_)
    NUPO_SETDISPLAY_MATRIX(BSFqTextMode, setBSFqTextMode_)
#undef NUPO_SETDISPLAY_MATRIX

    // Pop-up menus: the setter stores the index and the value it maps to.
#define NUPO_SETDISPLAY_MENU(Action, Setter) \
    void Action(QObject* sender);            \
    void Setter(int index);
    NUPO_SETDISPLAY_MENU(selectGridSize2DBar, setGridSize2DBar)
    NUPO_SETDISPLAY_MENU(selectPeakHoldSize2DBar, setPeakHoldSize2DBar)
    NUPO_SETDISPLAY_MENU(selectAutoGainRawwave, setAutoGainRawwave)
    NUPO_SETDISPLAY_MENU(selectPeakHoldMode, setPeakHoldMode)
    NUPO_SETDISPLAY_MENU(selectPeakSize, setPeakSize)
    NUPO_SETDISPLAY_MENU(selectBSPeakSize, setBSPeakSize)
    NUPO_SETDISPLAY_MENU(selectPeakWFSize, setPeakWFSize)
    NUPO_SETDISPLAY_MENU(selectTopMaterial, setTopMaterial)
    NUPO_SETDISPLAY_MENU(selectMaterial, set2DMaterial)
    NUPO_SETDISPLAY_MENU(selectBSTopMaterial, setBSTopMaterial)
    NUPO_SETDISPLAY_MENU(selectBSMaterial, setBSMaterial)
    NUPO_SETDISPLAY_MENU(selectPeakWFMaterial, setPeakWFMaterial)
    // Colour animations: 0 restores the default level, 1..5 are stored, anything else stores 0.
    NUPO_SETDISPLAY_MENU(selectColorGainAnimation, setColorGainAnimation)
    NUPO_SETDISPLAY_MENU(selectColorOffsetAnimation, setColorOffsetAnimation)
    NUPO_SETDISPLAY_MENU(selectColorGainBSMixAnimation, setColorGainBSMixAnimation)
    NUPO_SETDISPLAY_MENU(selectColorOffsetBSMixAnimation, setColorOffsetBSMixAnimation)
#undef NUPO_SETDISPLAY_MENU

    // Colour levels: the slider action posts its window's update notification, switches the animation
    // to "Other" and stores; the text action clamps (gain 0..5, offset 0..100) and stores.
#define NUPO_SETDISPLAY_LEVEL(SliderAction, TextAction, Setter) \
    void SliderAction(QObject* sender);                         \
    void TextAction(QObject* sender);                           \
    void Setter(float value);
    NUPO_SETDISPLAY_LEVEL(changeColorGainSlider, sendTextchangeColorGain, setColorGainSlider_)
    NUPO_SETDISPLAY_LEVEL(changeColorOffsetSlider, sendTextchangeColorOffset, setColorOffsetSlider_)
    NUPO_SETDISPLAY_LEVEL(changeColorGainBSMixSlider, sendTextchangeColorGainBSMix, setColorGainBSMixSlider_)
    NUPO_SETDISPLAY_LEVEL(changeColorOffsetBSMixSlider, sendTextchangeColorOffsetBSMix,
                          setColorOffsetBSMixSlider_)
#undef NUPO_SETDISPLAY_LEVEL

    // Colours of the bar-graph peak hold and grid and of the raw-wave grid.
    void changePeakHoldColor(QObject* sender);
    void changeGridColor(QObject* sender);
    void changeGridColor1(QObject* sender);
    void setPeakHoldColor(const RGBAColor& colour);
    void setGridColor(const RGBAColor& colour);
    void setGridColor1(const RGBAColor& colour);

    // Window transparency, clamped to 0..1 and sent to the window's shared controller.
    void sendTextAlphaRawwaveField(QObject* sender);
    void sendTextAlpha2DBargraphField(QObject* sender);
    void sendTextAlpha3DWaterFallField(QObject* sender);
    void sendTextAlpha3DWaterFallBSMixField(QObject* sender);
    void sendTextAlphaQTMovieField(QObject* sender);
    void sendTextAlphaCubicTunnelField(QObject* sender);
    void sendTextAlphaQuilbrotaskField(QObject* sender);

    // The transparent front raw-wave window in its four layouts, and the media browser.
    void selectOpenFrontRawaveA(QObject* sender);
    void selectOpenFrontRawaveB(QObject* sender);
    void selectOpenFrontRawaveC(QObject* sender);
    void selectOpenFrontRawaveD(QObject* sender);
    void selectOpenAV(QObject* sender);

    // Display fields of the entry/display pairs.
    QObject* textColorGainField() const
    {
        return displayHerepColorGain;
    }
    QObject* textColorOffsetField() const
    {
        return displayHereColorOffset;
    }
    QObject* textColorGainBSMixField() const
    {
        return displayHereColorGainBSMix;
    }
    QObject* textColorOffsetBSMixField() const
    {
        return displayHereColorOffsetBSMix;
    }
    QObject* textAlphaRawwaveField() const
    {
        return displayHereAlphaRawwave;
    }
    QObject* textAlpha2DBargraphField() const
    {
        return displayHereAlpha2DBargraph;
    }
    QObject* textAlpha3DWaterFallField() const
    {
        return displayHereAlpha3DWaterFall;
    }
    QObject* textAlpha3DWaterFallBSMixField() const
    {
        return displayHereAlpha3DWaterFallBSMix;
    }
    QObject* textAlphaQTMovieField() const
    {
        return displayHereAlphaQTMovie;
    }
    QObject* textAlphaCubicTunnelField() const
    {
        return displayHereAlphaCubicTunnel;
    }
    QObject* textAlphaQuilbrotaskField() const
    {
        return displayHereAlphaQuilbrotask;
    }

private:
    void redraw();
    void openFrontRawwave(int mode);
    // Reads the entry field, clamps to 0..1 and shows the value; returns it.
    float takeAlpha(QObject* sender, QObject* entry, QObject* display);
    void storeColour(std::optional<RGBAColor>& held, const RGBAColor& colour, float (&target)[4]);

    std::optional<RGBAColor> GridColor;      // bar-graph grid
    std::optional<RGBAColor> GridColor1;     // raw-wave grid
    std::optional<RGBAColor> PeakHoldColor;  // bar-graph peak hold

    QWidget* window = nullptr;
    QObject *setDrawBothside = nullptr, *setDraw2DBothside = nullptr, *setrawwaveWindowingDisplay = nullptr,
            *setAutoGainrawwave = nullptr, *setShowGrid2DBar = nullptr, *setShowPeakHold = nullptr,
            *setPeakHoldSize = nullptr, *setUsePeakHoldColor = nullptr, *setShowText = nullptr,
            *setShowPeakLine = nullptr, *setShowHorizontalLine = nullptr, *setShowTextBSMix = nullptr,
            *setAlwaysUpdateBS = nullptr, *setShowToFront = nullptr;
    QObject *popupGridSize2DBar = nullptr, *popupPeakHoldSize2DBar = nullptr, *popupAutoGainRawwave = nullptr,
            *popupPeakHoldMode = nullptr, *popupColorGainAnimation = nullptr,
            *popupColorOffsetAnimation = nullptr, *popupColorGainBSMixAnimation = nullptr,
            *popupColorOffsetBSMixAnimation = nullptr, *popupPeakSize = nullptr, *popupBSPeakSize = nullptr,
            *popupTopMaterial = nullptr, *popupMaterial = nullptr, *popupBSTopMaterial = nullptr,
            *popupBSMaterial = nullptr, *popupPeakWFSize = nullptr, *popupPeakWFMaterial = nullptr;
    QObject *setColorGainSlider = nullptr, *setColorOffsetSlider = nullptr,
            *setColorGainBSMixSlider = nullptr, *setColorOffsetBSMixSlider = nullptr;
    QObject *ColorGainField = nullptr, *displayHerepColorGain = nullptr, *ColorOffsetField = nullptr,
            *displayHereColorOffset = nullptr, *ColorGainBSMixField = nullptr,
            *displayHereColorGainBSMix = nullptr, *ColorOffsetBSMixField = nullptr,
            *displayHereColorOffsetBSMix = nullptr;
    QObject *AlphaRawwaveField = nullptr, *displayHereAlphaRawwave = nullptr, *Alpha2DBargraphField = nullptr,
            *displayHereAlpha2DBargraph = nullptr, *Alpha3DWaterFallField = nullptr,
            *displayHereAlpha3DWaterFall = nullptr, *Alpha3DWaterFallBSMixField = nullptr,
            *displayHereAlpha3DWaterFallBSMix = nullptr, *AlphaQTMovieField = nullptr,
            *displayHereAlphaQTMovie = nullptr, *AlphaCubicTunnelField = nullptr,
            *displayHereAlphaCubicTunnel = nullptr, *AlphaQuilbrotaskField = nullptr,
            *displayHereAlphaQuilbrotask = nullptr;
    QObject *setPeakMode = nullptr, *setBSPeakMode = nullptr, *setPeakWFMode = nullptr,
            *setHorizontalLineMode = nullptr, *setFqTextMode = nullptr, *setBSFqTextMode = nullptr;
};

}  // namespace nupo
