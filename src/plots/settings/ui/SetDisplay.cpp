#include "plots/settings/ui/SetDisplay.h"

#include "platform/appkit/NotificationCenter.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/FixedPointFormat.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/RadioMatrix.h"
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/rawwave/gl/QXRoundCustomView.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <QWidget>

#include <utility>

namespace nupo {

namespace {

const QStringList materialItems = {"0: Regular",
                                   "1: diffuse reflection",
                                   "2: diffuse, spec reflection, Lshin",
                                   "3: diffuse, spec reflection, Hshin",
                                   "4: diffuse reflection; emission",
                                   "5: colored ambient, diffuse reflection",
                                   "6: colored ambient, dif, spec reflection, Lshin",
                                   "7: colored ambient, dif, spec reflection, Hshin",
                                   "8: colored ambient, dif reflection, emission",
                                   "9: ambient dif reflection",
                                   "10: ambient, dif, spec reflection, Lshin",
                                   "11: ambient, dif, spec reflection, Hshin",
                                   "12: ambient, dif reflection, emission",
                                   "other"};
const QStringList gainAnimationItems = {"default",
                                        "Color Animation: 0.2..2.0",
                                        "Color Animation: 0.2..5.0",
                                        "Color Animation: 0.2..2.0..0.2",
                                        "Color Animation: 0.2..5.0..0.2",
                                        "Other"};
const QStringList offsetAnimationItems = {"default",
                                          "Color Animation: 0..50",
                                          "Color Animation: 0..100",
                                          "Color Animation: 0..50..0",
                                          "Color Animation: 0..100..0",
                                          "Other"};
const QStringList markSizeItems = {"Regular", "Small", "Mini", "Other"};

void fill(QObject* popup, const QStringList& items, int selected)
{
    PopUpButton::removeAllItems(popup);
    PopUpButton::addItemsWithTitles(popup, items);
    // A stored index outside the items (from a document) selects the last item; the value is kept.
    PopUpButton::selectItemAtIndex(popup, selected);
}

// The menu item that shows a menu's value: the stored index when it maps to the value in use, else the
// first item that does, else the last item ("Other"). The panel shows what the windows draw with; the
// stored index and value are left as they are until the user picks an item.
template <typename Map>
int itemShowing(int index, double value, qsizetype items, Map map)
{
    if (double(map(index)) == value)
        return index;
    for (int k = 0; k + 1 < int(items); ++k)
        if (double(map(k)) == value)
            return k;
    return int(items) - 1;
}

// An animation setting: 0 resets the level to its default, 1..5 are kept, anything else is 0.
int animationValue(int n)
{
    return n >= 1 && n <= 5 ? n : 0;
}

}  // namespace

SetDisplay::SetDisplay()
{
    outlet("window", window);
#define NUPO_OUTLET(name) outlet(QStringLiteral(#name), name);
    NUPO_OUTLET(setDrawBothside)
    NUPO_OUTLET(setDraw2DBothside)
    NUPO_OUTLET(setrawwaveWindowingDisplay)
    NUPO_OUTLET(setAutoGainrawwave)
    NUPO_OUTLET(setShowGrid2DBar)
    NUPO_OUTLET(setShowPeakHold)
    NUPO_OUTLET(setPeakHoldSize)
    NUPO_OUTLET(setUsePeakHoldColor)
    NUPO_OUTLET(setShowText)
    NUPO_OUTLET(setShowPeakLine)
    NUPO_OUTLET(setShowHorizontalLine)
    NUPO_OUTLET(setShowTextBSMix)
    NUPO_OUTLET(setAlwaysUpdateBS)
    NUPO_OUTLET(setShowToFront)
    NUPO_OUTLET(popupGridSize2DBar)
    NUPO_OUTLET(popupPeakHoldSize2DBar)
    NUPO_OUTLET(popupAutoGainRawwave)
    NUPO_OUTLET(popupPeakHoldMode)
    NUPO_OUTLET(popupColorGainAnimation)
    NUPO_OUTLET(popupColorOffsetAnimation)
    NUPO_OUTLET(popupColorGainBSMixAnimation)
    NUPO_OUTLET(popupColorOffsetBSMixAnimation)
    NUPO_OUTLET(popupPeakSize)
    NUPO_OUTLET(popupBSPeakSize)
    NUPO_OUTLET(popupTopMaterial)
    NUPO_OUTLET(popupMaterial)
    NUPO_OUTLET(popupBSTopMaterial)
    NUPO_OUTLET(popupBSMaterial)
    NUPO_OUTLET(popupPeakWFSize)
    NUPO_OUTLET(popupPeakWFMaterial)
    NUPO_OUTLET(setColorGainSlider)
    NUPO_OUTLET(setColorOffsetSlider)
    NUPO_OUTLET(setColorGainBSMixSlider)
    NUPO_OUTLET(setColorOffsetBSMixSlider)
    NUPO_OUTLET(ColorGainField)
    NUPO_OUTLET(displayHerepColorGain)
    NUPO_OUTLET(ColorOffsetField)
    NUPO_OUTLET(displayHereColorOffset)
    NUPO_OUTLET(ColorGainBSMixField)
    NUPO_OUTLET(displayHereColorGainBSMix)
    NUPO_OUTLET(ColorOffsetBSMixField)
    NUPO_OUTLET(displayHereColorOffsetBSMix)
    NUPO_OUTLET(AlphaRawwaveField)
    NUPO_OUTLET(displayHereAlphaRawwave)
    NUPO_OUTLET(Alpha2DBargraphField)
    NUPO_OUTLET(displayHereAlpha2DBargraph)
    NUPO_OUTLET(Alpha3DWaterFallField)
    NUPO_OUTLET(displayHereAlpha3DWaterFall)
    NUPO_OUTLET(Alpha3DWaterFallBSMixField)
    NUPO_OUTLET(displayHereAlpha3DWaterFallBSMix)
    NUPO_OUTLET(AlphaQTMovieField)
    NUPO_OUTLET(displayHereAlphaQTMovie)
    NUPO_OUTLET(AlphaCubicTunnelField)
    NUPO_OUTLET(displayHereAlphaCubicTunnel)
    NUPO_OUTLET(AlphaQuilbrotaskField)
    NUPO_OUTLET(displayHereAlphaQuilbrotask)
    NUPO_OUTLET(setPeakMode)
    NUPO_OUTLET(setBSPeakMode)
    NUPO_OUTLET(setPeakWFMode)
    NUPO_OUTLET(setHorizontalLineMode)
    NUPO_OUTLET(setFqTextMode)
    NUPO_OUTLET(setBSFqTextMode)
#undef NUPO_OUTLET

#define NUPO_ACTION(name) action(QStringLiteral(#name), &SetDisplay::name);
    NUPO_ACTION(DrawBothside)
    NUPO_ACTION(Draw2DBothside)
    NUPO_ACTION(rawwaveWindowingDisplay)
    NUPO_ACTION(AutoGainrawwave)
    NUPO_ACTION(ShowGrid2DBar)
    NUPO_ACTION(ShowPeakHold)
    NUPO_ACTION(PeakHoldSize)
    NUPO_ACTION(UsePeakHoldColor)
    NUPO_ACTION(ShowText)
    NUPO_ACTION(ShowPeakLine)
    NUPO_ACTION(ShowHorizontalLine)
    NUPO_ACTION(ShowTextBSMix)
    NUPO_ACTION(AlwaysUpdateBS)
    NUPO_ACTION(ShowToFront)
    NUPO_ACTION(PeakMode)
    NUPO_ACTION(BSPeakMode)
    NUPO_ACTION(PeakWFMode)
    NUPO_ACTION(HorizontalLineMode)
    NUPO_ACTION(FqTextMode)
    NUPO_ACTION(BSFqTextMode)
    NUPO_ACTION(selectGridSize2DBar)
    NUPO_ACTION(selectPeakHoldSize2DBar)
    NUPO_ACTION(selectAutoGainRawwave)
    NUPO_ACTION(selectPeakHoldMode)
    NUPO_ACTION(selectPeakSize)
    NUPO_ACTION(selectBSPeakSize)
    NUPO_ACTION(selectPeakWFSize)
    NUPO_ACTION(selectTopMaterial)
    NUPO_ACTION(selectMaterial)
    NUPO_ACTION(selectBSTopMaterial)
    NUPO_ACTION(selectBSMaterial)
    NUPO_ACTION(selectPeakWFMaterial)
    NUPO_ACTION(selectColorGainAnimation)
    NUPO_ACTION(selectColorOffsetAnimation)
    NUPO_ACTION(selectColorGainBSMixAnimation)
    NUPO_ACTION(selectColorOffsetBSMixAnimation)
    NUPO_ACTION(changeColorGainSlider)
    NUPO_ACTION(sendTextchangeColorGain)
    NUPO_ACTION(changeColorOffsetSlider)
    NUPO_ACTION(sendTextchangeColorOffset)
    NUPO_ACTION(changeColorGainBSMixSlider)
    NUPO_ACTION(sendTextchangeColorGainBSMix)
    NUPO_ACTION(changeColorOffsetBSMixSlider)
    NUPO_ACTION(sendTextchangeColorOffsetBSMix)
    NUPO_ACTION(changePeakHoldColor)
    NUPO_ACTION(changeGridColor)
    NUPO_ACTION(changeGridColor1)
    NUPO_ACTION(sendTextAlphaRawwaveField)
    NUPO_ACTION(sendTextAlpha2DBargraphField)
    NUPO_ACTION(sendTextAlpha3DWaterFallField)
    NUPO_ACTION(sendTextAlpha3DWaterFallBSMixField)
    NUPO_ACTION(sendTextAlphaQTMovieField)
    NUPO_ACTION(sendTextAlphaCubicTunnelField)
    NUPO_ACTION(sendTextAlphaQuilbrotaskField)
    NUPO_ACTION(selectOpenFrontRawaveA)
    NUPO_ACTION(selectOpenFrontRawaveB)
    NUPO_ACTION(selectOpenFrontRawaveC)
    NUPO_ACTION(selectOpenFrontRawaveD)
    NUPO_ACTION(selectOpenAV)
#undef NUPO_ACTION
}

SetDisplay& SetDisplay::sharedSetDisplay()
{
    static SetDisplay* instance = new SetDisplay;  // lives to process end
    return *instance;
}

QWidget* SetDisplay::makePanel()
{
    NibController* controller = NibLoader::loadNibNamed(QStringLiteral("SetDisplay"));
    return controller ? controller->nibWindow() : nullptr;
}

void SetDisplay::redraw()
{
    if (window)
        window->update();
}

// Check boxes: the action sends the sender's state to the setter, which shows and stores it.
#define NUPO_CHECKBOX(Action, Setter, Box, Variable) \
    void SetDisplay::Action(QObject* sender)         \
    {                                                \
        Setter(Control::intValue(sender));           \
        redraw();                                    \
    }                                                \
    void SetDisplay::Setter(int value)               \
    {                                                \
        Control::setState(Box, value);               \
        Variable = value;                            \
    }
NUPO_CHECKBOX(DrawBothside, setDrawBothside_, setDrawBothside, nupo::DrawBothside)
NUPO_CHECKBOX(Draw2DBothside, setDraw2DBothside_, setDraw2DBothside, nupo::Draw2DBothside)
NUPO_CHECKBOX(rawwaveWindowingDisplay, setrawwaveWindowingDisplay_, setrawwaveWindowingDisplay,
              rawwaveWindowing)
NUPO_CHECKBOX(AutoGainrawwave, setAutoGainrawwave_, setAutoGainrawwave, autoGainRawData)
NUPO_CHECKBOX(ShowGrid2DBar, setShowGrid2DBar_, setShowGrid2DBar, ShowGrid2DBarX)
NUPO_CHECKBOX(ShowPeakHold, setShowPeakHold_, setShowPeakHold, ShowPeakHoldX)
NUPO_CHECKBOX(PeakHoldSize, setPeakHoldSize_, setPeakHoldSize, PeakHoldSizeX)
NUPO_CHECKBOX(UsePeakHoldColor, setUsePeakHoldColor_, setUsePeakHoldColor, UsePeakHoldColorX)
NUPO_CHECKBOX(ShowText, setShowText_, setShowText, nupo::ShowText)
NUPO_CHECKBOX(ShowPeakLine, setShowPeakLine_, setShowPeakLine, nupo::ShowPeakLine)
NUPO_CHECKBOX(ShowHorizontalLine, setShowHorizontalLine_, setShowHorizontalLine, nupo::ShowHorizontalLine)
NUPO_CHECKBOX(ShowTextBSMix, setShowTextBSMix_, setShowTextBSMix, nupo::ShowTextBSMix)
NUPO_CHECKBOX(AlwaysUpdateBS, setAlwaysUpdateBS_, setAlwaysUpdateBS, AlwaysUpdateBSX)
NUPO_CHECKBOX(ShowToFront, setShowToFront_, setShowToFront, showQTFront)
#undef NUPO_CHECKBOX

// Radio matrices: the selected tag; a value outside 0..3 selects nothing new and is not stored.
#define NUPO_MATRIX(Action, Setter, Matrix, Variable)  \
    void SetDisplay::Action(QObject* sender)           \
    {                                                  \
        Setter(RadioMatrix::selectedTag(sender));      \
        redraw();                                      \
    }                                                  \
    void SetDisplay::Setter(int value)                 \
    {                                                  \
        RadioMatrix::selectCellWithTag(Matrix, value); \
        if (DisplayMaps::isRadioValue(value))          \
            Variable = value;                          \
    }
NUPO_MATRIX(PeakMode, setPeakMode_, setPeakMode, setPeakModeX)
NUPO_MATRIX(BSPeakMode, setBSPeakMode_, setBSPeakMode, setBSPeakModeX)
NUPO_MATRIX(PeakWFMode, setPeakWFMode_, setPeakWFMode, setPeakWFModeX)
NUPO_MATRIX(HorizontalLineMode, setHorizontalLineMode_, setHorizontalLineMode, setHorizontalLineModeX)
NUPO_MATRIX(FqTextMode, setFqTextMode_, setFqTextMode, setFqTextModeX)
NUPO_MATRIX(BSFqTextMode, setBSFqTextMode_, setBSFqTextMode, setBSFqTextModeX)
#undef NUPO_MATRIX

// Pop-up menus: the action sends the selected index; the setter stores it with what it maps to.
#define NUPO_MENU_ACTION(Action, Setter)                  \
    void SetDisplay::Action(QObject* sender)              \
    {                                                     \
        Setter(PopUpButton::indexOfSelectedItem(sender)); \
        redraw();                                         \
    }
NUPO_MENU_ACTION(selectGridSize2DBar, setGridSize2DBar)
NUPO_MENU_ACTION(selectPeakHoldSize2DBar, setPeakHoldSize2DBar)
NUPO_MENU_ACTION(selectAutoGainRawwave, setAutoGainRawwave)
NUPO_MENU_ACTION(selectPeakHoldMode, setPeakHoldMode)
NUPO_MENU_ACTION(selectPeakSize, setPeakSize)
NUPO_MENU_ACTION(selectBSPeakSize, setBSPeakSize)
NUPO_MENU_ACTION(selectPeakWFSize, setPeakWFSize)
NUPO_MENU_ACTION(selectTopMaterial, setTopMaterial)
NUPO_MENU_ACTION(selectMaterial, set2DMaterial)
NUPO_MENU_ACTION(selectBSTopMaterial, setBSTopMaterial)
NUPO_MENU_ACTION(selectBSMaterial, setBSMaterial)
NUPO_MENU_ACTION(selectPeakWFMaterial, setPeakWFMaterial)
NUPO_MENU_ACTION(selectColorGainAnimation, setColorGainAnimation)
NUPO_MENU_ACTION(selectColorOffsetAnimation, setColorOffsetAnimation)
NUPO_MENU_ACTION(selectColorGainBSMixAnimation, setColorGainBSMixAnimation)
NUPO_MENU_ACTION(selectColorOffsetBSMixAnimation, setColorOffsetBSMixAnimation)
#undef NUPO_MENU_ACTION

void SetDisplay::setGridSize2DBar(int index)
{
    setGridSize2DBarNumberX = index;
    GridSize2DBarX = DisplayMaps::gridSize(index);
}

void SetDisplay::setPeakHoldSize2DBar(int index)
{
    setPeakHoldSize2DBarX = index;
    PeakHoldSize2DBarX = DisplayMaps::peakHoldSize(index, PeakHoldSize2DBarX);
}

void SetDisplay::setAutoGainRawwave(int index)
{
    setAutoGainRawwaveX = index;
    AutoGainRawwaveX = DisplayMaps::autoGain(index);
}

void SetDisplay::setPeakHoldMode(int index)
{
    setPeakHoldModeX = index;
    PeakHoldModeX = DisplayMaps::peakHoldMode(index);
}

void SetDisplay::setPeakSize(int index)
{
    setPeakSizeX = DisplayMaps::markSize(index);
}

void SetDisplay::setBSPeakSize(int index)
{
    setBSPeakSizeX = DisplayMaps::markSize(index);
}

void SetDisplay::setPeakWFSize(int index)
{
    setPeakWFSizeX = DisplayMaps::markSize(index);
}

void SetDisplay::setTopMaterial(int index)
{
    setTopMaterialX = DisplayMaps::material(index);
}

void SetDisplay::set2DMaterial(int index)
{
    set2DMaterialX = index;
    setMaterialX = DisplayMaps::material(index);
}

void SetDisplay::setBSTopMaterial(int index)
{
    setBSTopMaterialX = DisplayMaps::material(index);
}

void SetDisplay::setBSMaterial(int index)
{
    setBSMaterialX = DisplayMaps::material(index);
}

void SetDisplay::setPeakWFMaterial(int index)
{
    setPeakWFMaterialX = DisplayMaps::material(index);
}

// Colour animations and levels.
#define NUPO_ANIMATION(Setter, Popup, Variable, LevelSetter, Slider, Default) \
    void SetDisplay::Setter(int n)                                            \
    {                                                                         \
        PopUpButton::selectItemAtIndex(Popup, n);                             \
        Variable = animationValue(n);                                         \
        if (n == 0) {                                                         \
            Control::setFloatValue(Slider, Default);                          \
            LevelSetter(Default);                                             \
        }                                                                     \
    }
NUPO_ANIMATION(setColorGainAnimation, popupColorGainAnimation, setColorGainAnimationX, setColorGainSlider_,
               setColorGainSlider, defaultColourGain)
NUPO_ANIMATION(setColorOffsetAnimation, popupColorOffsetAnimation, setColorOffsetAnimationX,
               setColorOffsetSlider_, setColorOffsetSlider, defaultColourOffset)
NUPO_ANIMATION(setColorGainBSMixAnimation, popupColorGainBSMixAnimation, setColorGainBSMixAnimationX,
               setColorGainBSMixSlider_, setColorGainBSMixSlider, defaultColourGain)
NUPO_ANIMATION(setColorOffsetBSMixAnimation, popupColorOffsetBSMixAnimation, setColorOffsetBSMixAnimationX,
               setColorOffsetBSMixSlider_, setColorOffsetBSMixSlider, defaultColourOffset)
#undef NUPO_ANIMATION

#define NUPO_LEVEL(SliderAction, TextAction, Setter, Animation, Slider, Entry, Display, Variable, High, \
                   Name)                                                                                \
    void SetDisplay::SliderAction(QObject* sender)                                                      \
    {                                                                                                   \
        NotificationCenter::defaultCenter().postNotificationName(Name, this);                           \
        Animation(colourLevelSetByHand);                                                                \
        Setter(static_cast<float>(Control::floatValue(sender ? sender : Slider)));                      \
    }                                                                                                   \
    void SetDisplay::TextAction(QObject* sender)                                                        \
    {                                                                                                   \
        const float value = DisplayMaps::clampFloat(                                                    \
            static_cast<float>(Control::floatValue(sender ? sender : Entry)), 0.0f, High);              \
        Animation(colourLevelSetByHand);                                                                \
        Setter(value);                                                                                  \
    }                                                                                                   \
    void SetDisplay::Setter(float value)                                                                \
    {                                                                                                   \
        Control::setFloatValue(Slider, value);                                                          \
        Variable = value;                                                                               \
        Control::setFloatValue(Display, value);                                                         \
        FixedPointFormat::apply(Entry, FixedPointFormat{3, 2, false});                                  \
        Control::setFloatValue(Entry, value);                                                           \
    }
NUPO_LEVEL(changeColorGainSlider, sendTextchangeColorGain, setColorGainSlider_, setColorGainAnimation,
           setColorGainSlider, ColorGainField, displayHerepColorGain, ColorGainSliderX, 5.0f,
           WaterfallupdateNotification)
NUPO_LEVEL(changeColorOffsetSlider, sendTextchangeColorOffset, setColorOffsetSlider_, setColorOffsetAnimation,
           setColorOffsetSlider, ColorOffsetField, displayHereColorOffset, ColorOffsetSliderX, 100.0f,
           WaterfallupdateNotification)
NUPO_LEVEL(changeColorGainBSMixSlider, sendTextchangeColorGainBSMix, setColorGainBSMixSlider_,
           setColorGainBSMixAnimation, setColorGainBSMixSlider, ColorGainBSMixField,
           displayHereColorGainBSMix, ColorGainBSMixSliderX, 5.0f, WaterfallBSupdateNotification)
NUPO_LEVEL(changeColorOffsetBSMixSlider, sendTextchangeColorOffsetBSMix, setColorOffsetBSMixSlider_,
           setColorOffsetBSMixAnimation, setColorOffsetBSMixSlider, ColorOffsetBSMixField,
           displayHereColorOffsetBSMix, ColorOffsetBSMixSliderX, 100.0f, WaterfallBSupdateNotification)
#undef NUPO_LEVEL

void SetDisplay::storeColour(std::optional<RGBAColor>& held, const RGBAColor& colour, float (&target)[4])
{
    if (held == colour)
        return;
    held = colour;
    target[0] = colour.red;
    target[1] = colour.green;
    target[2] = colour.blue;
    target[3] = colour.alpha;
}

void SetDisplay::changePeakHoldColor(QObject* sender)
{
    setPeakHoldColor(Control::color(sender));
    redraw();
}

void SetDisplay::changeGridColor(QObject* sender)
{
    setGridColor(Control::color(sender));
    redraw();
}

void SetDisplay::changeGridColor1(QObject* sender)
{
    setGridColor1(Control::color(sender));
    redraw();
}

void SetDisplay::setPeakHoldColor(const RGBAColor& colour)
{
    storeColour(PeakHoldColor, colour, PeakHoldColorX);
}

void SetDisplay::setGridColor(const RGBAColor& colour)
{
    storeColour(GridColor, colour, GridColorX);
    gridColorXGiven = 1;
}

void SetDisplay::setGridColor1(const RGBAColor& colour)
{
    storeColour(GridColor1, colour, GridColorY);
    gridColorYGiven = 1;
}

void SetDisplay::set2Dcolor()
{
    // An instance that holds no peak-hold colour (the shared one) leaves PeakHoldColorX as it is.
    if (!PeakHoldColor)
        return;
    PeakHoldColorX[0] = PeakHoldColor->red;
    PeakHoldColorX[1] = PeakHoldColor->green;
    PeakHoldColorX[2] = PeakHoldColor->blue;
    PeakHoldColorX[3] = PeakHoldColor->alpha;
}

float SetDisplay::takeAlpha(QObject* sender, QObject* entry, QObject* display)
{
    const float alpha =
        DisplayMaps::clampFloat(static_cast<float>(Control::floatValue(sender ? sender : entry)), 0.0f, 1.0f);
    Control::setFloatValue(display, alpha);
    Control::setFloatValue(entry, alpha);
    return alpha;
}

void SetDisplay::sendTextAlphaRawwaveField(QObject* sender)
{
    WRawAlphaValue = takeAlpha(sender, AlphaRawwaveField, displayHereAlphaRawwave);
}

void SetDisplay::sendTextAlpha2DBargraphField(QObject* sender)
{
    WBarAlphaValue = takeAlpha(sender, Alpha2DBargraphField, displayHereAlpha2DBargraph);
}

void SetDisplay::sendTextAlpha3DWaterFallField(QObject* sender)
{
    W2DAlphaValue = takeAlpha(sender, Alpha3DWaterFallField, displayHereAlpha3DWaterFall);
}

void SetDisplay::sendTextAlpha3DWaterFallBSMixField(QObject* sender)
{
    const float alpha = takeAlpha(sender, Alpha3DWaterFallBSMixField, displayHereAlpha3DWaterFallBSMix);
    if (windowAlphaOf3DSpectrum)
        windowAlphaOf3DSpectrum(alpha);
}

void SetDisplay::sendTextAlphaQTMovieField(QObject* sender)
{
    const float alpha = takeAlpha(sender, AlphaQTMovieField, displayHereAlphaQTMovie);
    if (windowAlphaOfMovie)
        windowAlphaOfMovie(alpha);
}

void SetDisplay::sendTextAlphaCubicTunnelField(QObject* sender)
{
    const float alpha = takeAlpha(sender, AlphaCubicTunnelField, displayHereAlphaCubicTunnel);
    if (windowAlphaOfWaveSurface)
        windowAlphaOfWaveSurface(alpha);
}

void SetDisplay::sendTextAlphaQuilbrotaskField(QObject* sender)
{
    takeAlpha(sender, AlphaQuilbrotaskField, displayHereAlphaQuilbrotask);
}

void SetDisplay::openFrontRawwave(int mode)
{
    WindowMode = mode;
    NibLoader::loadNibNamed(QStringLiteral("QXRoundWindow"), this);
}

void SetDisplay::selectOpenFrontRawaveA(QObject*)
{
    openFrontRawwave(0);
}

void SetDisplay::selectOpenFrontRawaveB(QObject*)
{
    openFrontRawwave(1);
}

void SetDisplay::selectOpenFrontRawaveC(QObject*)
{
    openFrontRawwave(2);
}

void SetDisplay::selectOpenFrontRawaveD(QObject*)
{
    openFrontRawwave(3);
}

void SetDisplay::selectOpenAV(QObject*)
{
    NibLoader::loadNibNamed(QStringLiteral("MainMenuB"), this);
}

void SetDisplay::setALLstate()
{
    setDrawBothside_(nupo::DrawBothside);
    setDraw2DBothside_(nupo::Draw2DBothside);
    setrawwaveWindowingDisplay_(rawwaveWindowing);
    setAutoGainrawwave_(autoGainRawData);
    setShowGrid2DBar_(ShowGrid2DBarX);
    setShowPeakHold_(ShowPeakHoldX);
    setPeakHoldSize_(PeakHoldSizeX);
    setUsePeakHoldColor_(UsePeakHoldColorX);
    setShowText_(nupo::ShowText);
    setShowPeakLine_(nupo::ShowPeakLine);
    setShowHorizontalLine_(nupo::ShowHorizontalLine);
    setShowTextBSMix_(nupo::ShowTextBSMix);
    setAlwaysUpdateBS_(AlwaysUpdateBSX);
    setShowToFront_(showQTFront);
    setColorGainSlider_(ColorGainSliderX);
    setColorOffsetSlider_(ColorOffsetSliderX);
    setColorGainBSMixSlider_(ColorGainBSMixSliderX);
    setColorOffsetBSMixSlider_(ColorOffsetBSMixSliderX);
    setPeakMode_(setPeakModeX);
    setBSPeakMode_(setBSPeakModeX);
    setPeakWFMode_(setPeakWFModeX);
    setFqTextMode_(setFqTextModeX);
    setBSFqTextMode_(setBSFqTextModeX);
    setHorizontalLineMode_(setHorizontalLineModeX);
    redraw();
}

void SetDisplay::awakeFromNib()
{
    set2Dcolor();
    setALLstate();
    // The colour wells show the colours in use.
    if (window) {
        auto show = [this](const char* well, const float(&c)[4]) {
            Control::setColor(window->findChild<QObject*>(QLatin1String(well)),
                              RGBAColor::fromRGBA(c[0], c[1], c[2], c[3]));
        };
        show("GridColor1Well", GridColorY);
        show("GridColorWell", GridColorX);
        show("PeakHoldColorWell", PeakHoldColorX);
    }
    // A transparency field starts on the value shown beside it, as the level fields do.
    const std::pair<QObject*, QObject*> alphaFields[] = {
        {AlphaRawwaveField, displayHereAlphaRawwave},
        {Alpha2DBargraphField, displayHereAlpha2DBargraph},
        {Alpha3DWaterFallField, displayHereAlpha3DWaterFall},
        {Alpha3DWaterFallBSMixField, displayHereAlpha3DWaterFallBSMix},
        {AlphaQTMovieField, displayHereAlphaQTMovie},
        {AlphaCubicTunnelField, displayHereAlphaCubicTunnel},
        {AlphaQuilbrotaskField, displayHereAlphaQuilbrotask},
    };
    for (const auto& [entry, display] : alphaFields)
        if (entry && display)
            Control::setStringValue(entry, Control::stringValue(display));
    const QStringList gridSizes = {"X 20", "X 10", "X 5", "Other"};
    fill(popupGridSize2DBar, gridSizes,
         itemShowing(setGridSize2DBarNumberX, GridSize2DBarX, gridSizes.size(), DisplayMaps::gridSize));
    const QStringList peakHoldSizes = {"10", "8", "6", "4", "2", "1", "Other"};
    fill(popupPeakHoldSize2DBar, peakHoldSizes,
         itemShowing(setPeakHoldSize2DBarX, PeakHoldSize2DBarX, peakHoldSizes.size(),
                     [](int index) { return DisplayMaps::peakHoldSize(index, -1.0); }));
    fill(popupAutoGainRawwave, {"use raw wave peak", "use raw wave peak average", "Other"},
         setAutoGainRawwaveX);
    const QStringList peakHoldModes = {"peak real time", "peak one sampling back", "2 peak average",
                                       "5 peak average", "10 peak average",        "Other"};
    fill(popupPeakHoldMode, peakHoldModes,
         itemShowing(setPeakHoldModeX, PeakHoldModeX, peakHoldModes.size(), DisplayMaps::peakHoldMode));
    fill(popupColorGainAnimation, gainAnimationItems, setColorGainAnimationX);
    fill(popupColorGainBSMixAnimation, gainAnimationItems, setColorGainBSMixAnimationX);
    fill(popupColorOffsetAnimation, offsetAnimationItems, setColorOffsetAnimationX);
    fill(popupColorOffsetBSMixAnimation, offsetAnimationItems, setColorOffsetBSMixAnimationX);
    fill(popupPeakSize, markSizeItems, setPeakSizeX);
    fill(popupBSPeakSize, markSizeItems, setBSPeakSizeX);
    fill(popupPeakWFSize, markSizeItems, setPeakWFSizeX);
    fill(popupTopMaterial, materialItems, setTopMaterialX);
    fill(popupMaterial, materialItems, set2DMaterialX);
    fill(popupBSTopMaterial, materialItems, setBSTopMaterialX);
    fill(popupBSMaterial, materialItems, setBSMaterialX);
    fill(popupPeakWFMaterial, materialItems, setPeakWFMaterialX);
}

}  // namespace nupo
