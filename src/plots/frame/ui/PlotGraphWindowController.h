#pragma once

#include "platform/viewhost/gl/ViewRetirement.h"
#include "platform/viewhost/ui/PlotViewHosting.h"
#include "plots/frame/gl/PlotGraphView.h"
#include "plots/frame/ui/PlotControls.h"
#include "plots/frame/ui/PlotWindowController.h"
#include "plots/frame/ui/ViewFirstSizing.h"

#include <QComboBox>
#include <QScrollArea>
#include <QWidget>

#include <memory>
#include <type_traits>
#include <utility>

namespace nupo {

// A plot window with a normal and a full view of one view class: owns both views, hosts them in their nib
// placeholders, shows the one of the current mode, and has the actions that forward a colour well,
// style matrix or the cursor switch to the active view (for views that have those settings: the line,
// cursor and style actions of a view without them do nothing).
template <class View>
class PlotGraphWindowController : public PlotWindowController {
public:
    View& normalView() { return *normal; }
    View& fullView() { return *full; }
    View& activeView() { return viewA == 1 ? *full : *normal; }

    // Shows the entry's view and transparency (see applyViewEntry), then the current view mode on the
    // view now active.
    void selectX2(int entry) override
    {
        PlotControls::selectItem(viewEntryPopup(), entry);
        if (entry > 1)
            takeViewEntry(entry);
        if (!applyViewEntry(entry))
            return;
        showViewsByMode();
        restoreNormalViewFrame();
        pushControlsToActiveView();
        takeViewMode(popupselectX);
        setActiveViewMode(popupselectX);
        selectX(popupselectX);
    }
    // A queued view/transparency entry: the active view's second number, then selectX2.
    void setDemoNumberB(int entry) override
    {
        setActiveSecondNumber(entry);
        selectX2(entry);
        state.viewEntry.didChange = 1;
    }

    // Actions.
    void select(QObject* sender) override
    {
        const int index = PlotControls::selectedIndex(controlOf(sender, popup));
        popupselectX = index;
        takeViewMode(index);
        setActiveViewMode(index);
        selectX(index);
    }
    void select2(QObject* sender)
    {
        const int index = PlotControls::selectedIndex(controlOf(sender, viewEntryPopup()));
        setActiveSecondNumber(index);
        selectX2(index);
    }
    void changeLineColor(QObject* sender)
    {
        if constexpr (hasLineSettings) {
            activeView().setLineColor(PlotControls::wellColour(controlOf(sender, lineColorWell)));
            activeView().setNeedsDisplay(true);
        }
    }
    void changeCursorColor(QObject* sender)
    {
        if constexpr (hasLineSettings) {
            activeView().setCursorColor(PlotControls::wellColour(controlOf(sender, cursorColorWell)));
            activeView().setNeedsDisplay(true);
        }
    }
    // A background chosen in the window wins over queued background commands.
    void changeBackgroundColor(QObject* sender)
    {
        activeView().setBackgroundColor(PlotControls::wellColour(controlOf(sender, backgroundColorWell)));
        activeView().setNeedsDisplay(true);
        state.suppressQueued = 0;
        ++state.backgroundChoices;
    }
    void changeColorStyleType(QObject* sender)
    {
        if constexpr (hasLineSettings)
            activeView().setColorStyleType(PlotControls::selectedTag(controlOf(sender, colorStyleMatrix)));
    }
    void changeLineStyleType(QObject* sender)
    {
        if constexpr (hasLineSettings)
            activeView().setLineStyleType(PlotControls::selectedTag(controlOf(sender, lineStyleMatrix)));
    }
    void changecursor(QObject* sender)
    {
        if constexpr (hasLineSettings)
            activeView().setcursor(PlotControls::intValue(controlOf(sender, cursorON)));
    }

protected:
    // Views with line, cursor and style settings (the 2D graph views).
    static constexpr bool hasLineSettings = requires(View & v, const RGBAColor& c)
    {
        v.setLineColor(c);
        v.setCursorColor(c);
        v.setColorStyleType(0);
        v.setLineStyleType(0);
        v.setcursor(0);
    };

    // The popup of the view/transparency entries.
    virtual QObject* viewEntryPopup() const { return popup2; }

    // The views' placeholders are the outlets `normalOutlet` and `fullOutlet`.
    PlotGraphWindowController(PlotWindowState& windowState, float maxF, const QString& normalOutlet,
                              const QString& fullOutlet)
        : PlotWindowController(windowState, maxF),
          normal(std::make_unique<View>()),
          full(std::make_unique<View>())
    {
        outlet(normalOutlet, normalHost);
        outlet(fullOutlet, fullHost);
        action("select", &PlotGraphWindowController::select);
        action("select2", &PlotGraphWindowController::select2);
        action("changeLineColor", &PlotGraphWindowController::changeLineColor);
        action("changeCursorColor", &PlotGraphWindowController::changeCursorColor);
        action("changeBackgroundColor", &PlotGraphWindowController::changeBackgroundColor);
        action("changeColorStyleType", &PlotGraphWindowController::changeColorStyleType);
        action("changeLineStyleType", &PlotGraphWindowController::changeLineStyleType);
        action("changecursor", &PlotGraphWindowController::changecursor);
    }

    // The first thing in the destructor of a window whose views draw on threads of their own: the views
    // stop drawing and go once no frame of theirs is in flight (ViewObject::retire).
    void retireGraphViews() { retireViews({normal.get(), full.get()}, normal, full); }

    // Hosts the views and lets them win the window's height over the controls below them (the nib's
    // scroll area `controlsScroll`). Graph views cover every pixel of their bounds with opaque paint, so
    // the window paints no background under them.
    void hostViews()
    {
        for (auto [placeholder, view] :
             {std::pair{normalHost, normal.get()}, std::pair{fullHost, full.get()}}) {
            QWidget* host = hostPlotView(placeholder, *view);
            if (host && std::is_base_of_v<PlotGraphView, View>)
                host->setAttribute(Qt::WA_OpaquePaintEvent);
        }
        if (window) {
            controlsArea = window->findChild<QScrollArea*>(QStringLiteral("controlsScroll"));
            ViewFirstSizing::attach(window, normalHost, controlsArea);
        }
    }
    // Called after the active view or its mode changed, for controls that depend on them.
    virtual void activeViewChanged() {}
    // Gives the active view the sliders' values and the window's colours.
    virtual void pushControlsToActiveView() = 0;

    // Shows the full view's placeholder in full-view mode, the normal one otherwise. The full view takes
    // the whole window below the popups: the controls under the view make way for it.
    void showViewsByMode()
    {
        // Hide first: for a moment both views shown would make the window wide enough for two.
        PlotControls::setHidden(viewA == 1 ? normalHost : fullHost, true);
        PlotControls::setHidden(viewA == 1 ? fullHost : normalHost, false);
        PlotControls::setHidden(controlsArea, viewA == 1);
        activeViewChanged();
    }
    // Gives the active view a view mode or second number and marks it for redrawing.
    void setActiveViewMode(int mode)
    {
        activeView().setDemoNumber(mode);
        activeView().setNeedsDisplay(true);
        activeViewChanged();
    }
    void setActiveSecondNumber(int number)
    {
        activeView().setDemoNumber2(number);
        activeView().setNeedsDisplay(true);
        activeViewChanged();
    }
    // On the first window of the family: the last view mode (`mode`), then full view and the last
    // transparency entry when they were chosen.
    void restoreLastView(int mode)
    {
        if (state.openCount > 1) {
            keepOwnView(popupselectX);
            return;
        }
        setActiveViewMode(mode);
        alphaZ = state.lastViewEntry;
        selectX(mode);
        if (state.fullView != 0)
            selectX2(1);
        if (alphaZ > 1)
            selectX2(alphaZ);
    }
    // Gives the active view the colours of the wells that the nib has.
    void pushWellColoursToActiveView()
    {
        View& view = activeView();
        if (backgroundColorWell)
            view.setBackgroundColor(PlotControls::wellColour(backgroundColorWell));
        if constexpr (hasLineSettings) {
            if (lineColorWell)
                view.setLineColor(PlotControls::wellColour(lineColorWell));
            if (cursorColorWell)
                view.setCursorColor(PlotControls::wellColour(cursorColorWell));
        }
    }

    void applyBackgroundToActiveView(const RGBAColor& colour) override
    {
        activeView().setBackgroundColor(colour);
    }
    void storeBackground() override { activeView().storeBackgroundColor(); }
    void markActiveViewForRedraw() override { activeView().setNeedsDisplay(true); }
    // The colour matrix shows the palette the traces are drawn with.
    void refreshStyleControls() override
    {
        if constexpr (hasLineSettings) {
            const int inUse = activeView().colorStyleInUse();
            if (colorStyleMatrix && PlotControls::selectedTag(colorStyleMatrix) != inUse)
                PlotControls::selectTag(colorStyleMatrix, inUse);
        }
    }

    std::unique_ptr<View> normal;
    std::unique_ptr<View> full;
    QWidget* normalHost = nullptr;
    QWidget* fullHost = nullptr;
    QScrollArea* controlsArea = nullptr;  // the controls below the views
};

}  // namespace nupo
