#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>

class QTabWidget;
class QWidget;

namespace nupo {

// The preferences window: one tab per settings panel, each with a fixed tab number so that callers can
// open it on a panel (`showPanelX:`).
//
// Adding a panel (the one place to do it): at start-up, before the window is first shown, call
//
//     WindowController::sharedWindowController().addPanel(PreferencesTab::MIDIPeak, "MIDI",
//                                                          [] { return makeMyPanelWidget(); });
//
// The factory runs when the window is built; the tab owns the widget it returns. Tabs appear in the order
// of their numbers.
namespace PreferencesTab {
enum : int {
    Device = 0,    // port and sampling rate (SetPortView)
    Analysis = 1,  // FFT size, channel gains, log power, averaging, mains (SetFFTPanel)
    Display = 2,   // display options of the graph windows (SetDisplay)
    MIDIPeak = 7,  // the peak-to-MIDI panel; its first one-click preset opens this tab
    MIDIBand = 8,  // the band-to-MIDI panel
};
}

class WindowController : public QObject {
public:
    using PanelFactory = std::function<QWidget*()>;

    static WindowController& sharedWindowController();

    // Registers the panel of a tab number (replacing an earlier one of that number).
    void addPanel(int number, const QString& name, PanelFactory factory);
    bool hasPanel(int number) const { return panels.count(number) != 0; }

    // Shows the window on the tab of that number (the first tab when no panel has it).
    void showPanelX(int number);
    // Sizes and titles the window for panel n.
    void setTheWindow(int n);
    // The window became the active one.
    void windowDidBecomeMain(QObject* window);

    // The window and its tabs, once built (null before).
    QWidget* window() const { return windowWidget; }
    QTabWidget* tabView() const { return tabs; }
    // Tab number of the panel shown, or -1.
    int shownPanel() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Panel {
        QString name;
        PanelFactory factory;
        QPointer<QWidget> widget;  // the panel
        QPointer<QWidget> page;    // the tab page that scrolls it
    };

    WindowController() = default;
    void buildWindow();
    void addTab(int number, Panel& panel);
    int tabIndexOf(int number) const;

    std::map<int, Panel> panels;
    QPointer<QWidget> windowWidget;
    QPointer<QTabWidget> tabs;
};

}  // namespace nupo
