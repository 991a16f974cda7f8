// The actions and setters behind the controls of the 3D band-spectrum window: menus, sliders, radio
// matrices, buttons, the brain-switch and display-element toggles, textures and the start frequency.

#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "plots/frame/ui/PlotControls.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"
#include "views3d/textures/gl/ImageSources.h"

#include <QComboBox>

#include <algorithm>
#include <cstdio>

namespace nupo {

namespace {
constexpr auto relaxed = std::memory_order_relaxed;

float same(float v)
{
    return v;
}
// The down and left speed sliders run the other way: their left end is the fastest.
float reversed(float v)
{
    return 10.0f - v;
}
}  // namespace

// --- Menus ------------------------------------------------------------------------------------------------

void QX3DSpectrumAppController::select(QObject* sender)
{
    const int index = PlotControls::selectedIndex(controlOf(sender, popup));
    popupselectX = selectXCHNX = index;
    forEachVisible([index](QX3DSpectrumGLView& v) { v.setDemoNumber(index); });
    setBSButtonFromBSarray();
    selectX(index);
}

void QX3DSpectrumAppController::setDemoNumberA(int mode)
{
    PlotWindowController::setDemoNumberA(mode);
    if (popup && PlotControls::selectedIndex(popup) == mode)
        forEachVisible([mode](QX3DSpectrumGLView& v) { v.setDemoNumber(mode); });
}

void QX3DSpectrumAppController::setBrainSwitchBoxesHidden(bool hidden)
{
    PlotControls::setHidden(setshowBSallBox, hidden);
    for (QObject* box : setshowBSBox)
        PlotControls::setHidden(box, hidden);
    PlotControls::setHidden(setshowBSinfoBox, hidden);
    PlotControls::setHidden(brainSwitchNote, !hidden);
}

void QX3DSpectrumAppController::selectX(int n)
{
    selectXCHNX = n;
    PlotControls::selectItem(popup, n);
    popupselectX = n;
    const bool oneSource = n >= 2 && n <= 11;
    setBrainSwitchBoxesHidden(!oneSource);
    PlotControls::setHidden(elementBox[11], oneSource);
    if (!oneSource) {
        const int row = displayRowOf(n);
        if (row >= 0)
            Control::setState(elementBox[11], displayModeX[row][11]);
    }
    forEachVisible([](QX3DSpectrumGLView& v) { v.requestRedisplay(); });
}

void QX3DSpectrumAppController::select3(QObject* sender)
{
    popup3selectX = PlotControls::selectedIndex(controlOf(sender, popup3));
    selectX3(popup3selectX);
}

void QX3DSpectrumAppController::selectX3(int n)
{
    selectX3CHNX = n;
    if (n > 1)
        selectBXCHNX = n;
    PlotControls::selectItem(popup3, n);
    // Invalid entries are logged by applyViewEntry; the view selection below is refreshed all the same.
    applyViewEntry(n);
    if (n == 0 || n == 1)
        QX3DSpectrumGLView::sharedQX3DSpectrumGLView().setviewA3D(n);
    for (auto& view : views)
        if (view)
            view->viewA3D = viewA;
    showViewsByMode();
    const RGBAColor well = PlotControls::wellColour(backgroundColorWell);
    forEachVisible([&](QX3DSpectrumGLView& v) {
        v.setBackgroundColor(well);
        v.setDemoNumber(popupselectX);
    });
    selectX(popupselectX);
}

void QX3DSpectrumAppController::select2(QObject* sender)
{
    QObject* menu = controlOf(sender, popup2);
    const int index = PlotControls::selectedIndex(menu);
    forEachVisible([index](QX3DSpectrumGLView& v) {
        v.setDemoNumber2(index);
        v.requestRedisplay();
    });
    PlotControls::selectItem(menu, index);
}

void QX3DSpectrumAppController::setSpeedPopupMenu(int n)
{
    PlotControls::selectItem(popup2, n);
    std::printf("setSpeedPopupMenu 3D = %dmenuN\n", n);
}

// --- Sliders ----------------------------------------------------------------------------------------------

void QX3DSpectrumAppController::sendSlider(QObject* sender, QObject* outlet,
                                           void (QX3DSpectrumGLView::*setter)(float),
                                           float (*transform)(float))
{
    const float v = PlotControls::floatValue(controlOf(sender, outlet));
    forEachVisible([&](QX3DSpectrumGLView& view) {
        (view.*setter)(transform(v));
        view.requestRedisplay();
    });
}

void QX3DSpectrumAppController::setViewAngleX(QObject* s)
{
    sendSlider(s, setViewAngleXX, &QX3DSpectrumGLView::setViewAngleXX, same);
}
void QX3DSpectrumAppController::setViewAngleX1(QObject* s)
{
    sendSlider(s, setViewAngleXX1, &QX3DSpectrumGLView::setViewAngleXX1, same);
}
void QX3DSpectrumAppController::setViewAngleX2(QObject* s)
{
    sendSlider(s, setViewAngleXX2, &QX3DSpectrumGLView::setViewAngleXX2, same);
}
void QX3DSpectrumAppController::setViewModeX(QObject* s)
{
    sendSlider(s, setViewModeXX, &QX3DSpectrumGLView::setViewModeXX, same);
}
void QX3DSpectrumAppController::setRotateSpeedUpX(QObject* s)
{
    sendSlider(s, setRotateSpeedUpXX, &QX3DSpectrumGLView::setRotateSpeedUpXX, same);
}
void QX3DSpectrumAppController::setRotateSpeedDownX(QObject* s)
{
    sendSlider(s, setRotateSpeedDownXX, &QX3DSpectrumGLView::setRotateSpeedDownXX, reversed);
}
void QX3DSpectrumAppController::setRotateSpeedLeftX(QObject* s)
{
    sendSlider(s, setRotateSpeedLeftXX, &QX3DSpectrumGLView::setRotateSpeedLeftXX, reversed);
}
void QX3DSpectrumAppController::setRotateSpeedRightX(QObject* s)
{
    sendSlider(s, setRotateSpeedRightXX, &QX3DSpectrumGLView::setRotateSpeedRightXX, same);
}
void QX3DSpectrumAppController::setPColorX(QObject* s)
{
    sendSlider(s, setPColorXX, &QX3DSpectrumGLView::setPColor_value, same);
}
void QX3DSpectrumAppController::setFColorX(QObject* s)
{
    sendSlider(s, setFColorXX, &QX3DSpectrumGLView::setFColor_value, same);
}
void QX3DSpectrumAppController::setColorMapX(QObject* s)
{
    sendSlider(s, setColorMapXX, &QX3DSpectrumGLView::setColor_Map_value, same);
    setField(displayHereTextureNumber,
             QString::number(static_cast<int>(PlotControls::floatValue(controlOf(s, setColorMapXX)))));
}
void QX3DSpectrumAppController::setDynamicTextureX(QObject* s)
{
    sendSlider(s, setDynamicTextureXX, &QX3DSpectrumGLView::setDynamic_Texture_value, same);
    setField(displayHereTextureNumber,
             QString::number(static_cast<int>(PlotControls::floatValue(controlOf(s, setDynamicTextureXX)))));
}

// --- Radio matrices, check boxes and buttons ------------------------------------------------------------

void QX3DSpectrumAppController::sendInt(QObject* sender, void (QX3DSpectrumGLView::*setter)(int))
{
    const int v = PlotControls::intValue(sender);
    forEachVisible([&](QX3DSpectrumGLView& view) { (view.*setter)(v); });
}

void QX3DSpectrumAppController::ViewX(QObject* sender)
{
    const int tag = PlotControls::selectedTag(sender);
    forEachVisible([tag](QX3DSpectrumGLView& v) { v.setViewX(tag); });
}
void QX3DSpectrumAppController::MoveModeX(QObject* sender)
{
    const int tag = PlotControls::selectedTag(sender);
    forEachVisible([tag](QX3DSpectrumGLView& v) { v.setMoveModeX(tag); });
}
void QX3DSpectrumAppController::DrawModeX_(QObject* sender)
{
    const int tag = PlotControls::selectedTag(controlOf(sender, DrawModeX));
    forEachVisible([tag](QX3DSpectrumGLView& v) { v.setDrawModeX(tag); });
}
void QX3DSpectrumAppController::TextureModeX_(QObject* sender)
{
    const int tag = PlotControls::selectedTag(controlOf(sender, TextureModeX));
    forEachVisible([tag](QX3DSpectrumGLView& v) { v.setTextureModeX(tag); });
}

void QX3DSpectrumAppController::AutoStopX(QObject* sender)
{
    const int v = PlotControls::intValue(sender);
    forEachVisible([v](QX3DSpectrumGLView& view) { view.setAutoStopX(v); });
    PlotControls::setFloatValue(setRotateSpeedUpXX, 0.0f);
    PlotControls::setFloatValue(setRotateSpeedDownXX, 10.0f);
    PlotControls::setFloatValue(setRotateSpeedLeftXX, 10.0f);
    PlotControls::setFloatValue(setRotateSpeedRightXX, 0.0f);
    forEachVisible([](QX3DSpectrumGLView& view) { view.requestRedisplay(); });
}

void QX3DSpectrumAppController::ResetPositionX(QObject*)
{
    forEachVisible([](QX3DSpectrumGLView& v) { v.setResetPositionX(0); });
}

void QX3DSpectrumAppController::button(QObject* sender)
{
    const int tag = Control::tag(sender);
    if (tag >= 0 && tag <= 4)
        forEachVisible([tag](QX3DSpectrumGLView& v) { v.setResetPositionX(tag); });
}

void QX3DSpectrumAppController::changeBackgroundColor(QObject* sender)
{
    const RGBAColor colour = PlotControls::wellColour(controlOf(sender, backgroundColorWell));
    forEachVisible([&](QX3DSpectrumGLView& v) {
        v.setBackgroundColor(colour);
        v.requestRedisplay();
    });
    windowColor3DNOX = 0;
}

void QX3DSpectrumAppController::LoadTextuerX(QObject* sender)
{
    MaxTextureDN = 1;
    LoadTextuerF = loadIntoSpectrum;
    setBackgroundColorWellA(PlotControls::wellColour(backgroundColorWell));
    viewA3DX = viewA;
    // Closing tears the controller down but keeps it alive until the window is released, so the normal
    // view can still be asked to open the media browser. The window that opens again with the images
    // stays in front if this one was.
    const int front = showFFTPanelFront.load(std::memory_order_relaxed);
    WindowHandle(window).close();
    showFFTPanelFront.store(front, std::memory_order_relaxed);
    reloadTexture = 10;
    if (QX3DSpectrumGLView* normal = views[0].get())
        normal->setLoadTextuerX(PlotControls::intValue(sender));
    else
        QX3DSpectrumGLView::sharedQX3DSpectrumGLView().setLoadTextuerX(PlotControls::intValue(sender));
}

void QX3DSpectrumAppController::setMaxTextuerSlider(int n)
{
    std::printf("setMaxTextuerSlider 2 =%d \n", n);
    for (QObject* slider : {setColorMapXX, setDynamicTextureXX}) {
        if (!slider)
            continue;
        if (n == 1) {
            slider->setProperty("maxValue", 1.0);
        } else {
            slider->setProperty("minValue", 1.0);
            slider->setProperty("maxValue", static_cast<double>(n));
        }
        setSliderHidden(slider, n == 1);
    }
    if (n != 1)
        setField(displayHereTextureNumber, QString::number(n));
}

void QX3DSpectrumAppController::sendTextStartFrequencyField(QObject* sender)
{
    const int points = fftp.load(relaxed);
    const int rate = std::max(1, SampleSpeed.load(relaxed));
    const float binsPerHz = static_cast<float>(points / 128) / (static_cast<float>(rate) * 0.5f * 0.015625f);
    float f = std::clamp(PlotControls::floatValue(controlOf(sender, StartFrequencyField)), 0.0f, 1000.0f);
    int n = static_cast<int>(f * binsPerHz);
    const int m = points / 2 - 64;
    if (n > m) {
        n = m;
        f = static_cast<float>(m) / binsPerHz;
    }
    forEachVisible([n](QX3DSpectrumGLView& v) { v.StartFrequecy(n); });
    const QString shown = QString::number(static_cast<int>(f));
    PlotControls::setText(StartFrequencyField, shown);
    setField(displayHereStartFrequency, shown);
}

// --- Brain-switch toggles ---------------------------------------------------------------------------------

void QX3DSpectrumAppController::showBSall(QObject* sender)
{
    setshowBSall(PlotControls::intValue(sender));
}

void QX3DSpectrumAppController::setshowBSall(int v)
{
    const int s = std::clamp(PlotControls::selectedIndex(popup) - 2, 0, 9);
    Control::setState(setshowBSallBox, v);
    setshowBSallX = v;
    for (int e = 10; e <= 17; ++e)
        brainSWX[s][e].store(static_cast<float>(v), relaxed);
    for (int k = 1; k <= 8; ++k)
        setshowBS(k, v);
}

void QX3DSpectrumAppController::showBS(int k, QObject* sender)
{
    setshowBS(k, PlotControls::intValue(sender));
}

void QX3DSpectrumAppController::setshowBS(int k, int v)
{
    if (k < 1 || k > 8)
        return;
    Control::setState(setshowBSBox[k - 1], v);
    showBSX[static_cast<std::size_t>(k - 1)] = v;
    forEachVisible([k, v](QX3DSpectrumGLView& view) { view.setNUPOchBS(k - 1, v); });
}

void QX3DSpectrumAppController::showBSinfo(QObject* sender)
{
    setshowBSinfo(PlotControls::intValue(sender));
}

void QX3DSpectrumAppController::setshowBSinfo(int v)
{
    Control::setState(setshowBSinfoBox, v);
    forEachVisible([v](QX3DSpectrumGLView& view) { view.setBSinfo(v); });
}

void QX3DSpectrumAppController::setAllBSButton(int s)
{
    if (s < 0 || s > 9)
        return;
    for (int e = 10; e <= 17; ++e)
        brainSWX[s][e].store(1.0f, relaxed);
    setshowBSall(1);
    setshowDisplayall(s);
}

void QX3DSpectrumAppController::setBSButton()
{
    int s = popupselectX - 2;
    if (s < 0 || s > 9)
        s = 0;
    for (int k = 1; k <= 8; ++k)
        brainSWX[s][9 + k].store(showBSX[static_cast<std::size_t>(k - 1)] != 0 ? 1.0f : 0.0f, relaxed);
}

void QX3DSpectrumAppController::setBSButtonFromBSarray()
{
    const int s = selectXCHNX - 2;
    if (s < 0 || s > 9)
        return;
    for (int k = 1; k <= 8; ++k)
        setshowBS(k, static_cast<int>(brainSWX[s][9 + k].load(relaxed)));
    setshowDisplayall(s);
}

void QX3DSpectrumAppController::setshowDisplayall(int r)
{
    const int row = displayRowOf(r);
    if (row < 0)
        return;
    for (int e = 0; e < displayElements; ++e)
        setDisplayElement(e, displayModeX[row][e]);
}

// --- Display-element toggles -------------------------------------------------------------------------------

void QX3DSpectrumAppController::displayElement(int element, QObject* sender)
{
    setDisplayElement(element, PlotControls::intValue(sender));
}

void QX3DSpectrumAppController::setDisplayElement(int element, int v)
{
    if (element < 0 || element >= displayElements)
        return;
    Control::setState(elementBox[element], v);
    elementX[static_cast<std::size_t>(element)] = v;
    forEachVisible([&](QX3DSpectrumGLView& view) {
        view.didplayMode(element, v);
        if (element == 0)
            view.requestRedisplay();
    });
}

}  // namespace nupo
