#pragma once

#include "plots/rawwave/PlotControls.h"
#include "plots/rawwave/PlotViewHosting.h"
#include "plots/rawwave/PlotWindowController.h"

#include <QWidget>

#include <memory>

namespace nupo {

// A plot window with a normal and a full view of one view class (a PlotGraphView): owns both views,
// hosts them in their nib placeholders, shows the one of the current mode, and has the actions that
// forward a colour well, style matrix or the cursor switch to the active view.
template <class View>
class PlotGraphWindowController : public PlotWindowController {
public:
    View& normalView() { return *normal; }
    View& fullView() { return *full; }
    View& activeView() { return viewA == 1 ? *full : *normal; }

    void changeLineColor(QObject* sender)
    {
        activeView().setLineColor(PlotControls::wellColour(controlOf(sender, lineColorWell)));
        activeView().setNeedsDisplay(true);
    }
    void changeCursorColor(QObject* sender)
    {
        activeView().setCursorColor(PlotControls::wellColour(controlOf(sender, cursorColorWell)));
        activeView().setNeedsDisplay(true);
    }
    // A background chosen in the window wins over queued background commands.
    void changeBackgroundColor(QObject* sender)
    {
        activeView().setBackgroundColor(PlotControls::wellColour(controlOf(sender, backgroundColorWell)));
        activeView().setNeedsDisplay(true);
        state.suppressQueued = 0;
    }
    void changeColorStyleType(QObject* sender)
    {
        activeView().setColorStyleType(PlotControls::selectedTag(controlOf(sender, colorStyleMatrix)));
    }
    void changeLineStyleType(QObject* sender)
    {
        activeView().setLineStyleType(PlotControls::selectedTag(controlOf(sender, lineStyleMatrix)));
    }
    void changecursor(QObject* sender)
    {
        activeView().setcursor(PlotControls::intValue(controlOf(sender, cursorON)));
    }

protected:
    // The views' placeholders are the outlets `normalOutlet` and `fullOutlet`.
    PlotGraphWindowController(PlotWindowState& windowState, float maxF, const QString& normalOutlet,
                              const QString& fullOutlet)
        : PlotWindowController(windowState, maxF),
          normal(std::make_unique<View>()),
          full(std::make_unique<View>())
    {
        outlet(normalOutlet, normalHost);
        outlet(fullOutlet, fullHost);
        action("changeLineColor", &PlotGraphWindowController::changeLineColor);
        action("changeCursorColor", &PlotGraphWindowController::changeCursorColor);
        action("changeBackgroundColor", &PlotGraphWindowController::changeBackgroundColor);
        action("changeColorStyleType", &PlotGraphWindowController::changeColorStyleType);
        action("changeLineStyleType", &PlotGraphWindowController::changeLineStyleType);
        action("changecursor", &PlotGraphWindowController::changecursor);
    }

    void hostViews()
    {
        hostPlotView(normalHost, *normal);
        hostPlotView(fullHost, *full);
    }
    // Shows the full view's placeholder in full-view mode, the normal one otherwise.
    void showHostOfMode()
    {
        PlotControls::setHidden(fullHost, viewA != 1);
        PlotControls::setHidden(normalHost, viewA == 1);
    }
    // Gives the active view the colours of the wells that the nib has.
    void pushWellColoursToActiveView()
    {
        View& view = activeView();
        if (backgroundColorWell)
            view.setBackgroundColor(PlotControls::wellColour(backgroundColorWell));
        if (lineColorWell)
            view.setLineColor(PlotControls::wellColour(lineColorWell));
        if (cursorColorWell)
            view.setCursorColor(PlotControls::wellColour(cursorColorWell));
    }

    void applyBackgroundToActiveView(const RGBAColor& colour) override
    {
        activeView().setBackgroundColor(colour);
    }
    void markActiveViewForRedraw() override { activeView().setNeedsDisplay(true); }

    std::unique_ptr<View> normal;
    std::unique_ptr<View> full;
    QWidget* normalHost = nullptr;
    QWidget* fullHost = nullptr;
};

}  // namespace nupo
