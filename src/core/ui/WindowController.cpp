#include "core/ui/WindowController.h"

#include "midi/peak/SetMIDI.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include <QEvent>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>

namespace nupo {

namespace {
const char* numberProperty = "preferencesTabNumber";
}

WindowController& WindowController::sharedWindowController()
{
    static WindowController* instance = new WindowController;  // lives to process end
    return *instance;
}

void WindowController::addPanel(int number, const QString& name, PanelFactory factory)
{
    Panel& panel = panels[number];
    delete panel.page.data();  // the tab page with the panel in it
    delete panel.widget.data();
    panel.name = name;
    panel.factory = std::move(factory);
    if (tabs)
        addTab(number, panel);
}

void WindowController::buildWindow()
{
    if (windowWidget)
        return;
    windowWidget = new QWidget(nullptr, Qt::Window);
    windowWidget->setObjectName(QStringLiteral("preferencesWindow"));
    windowWidget->setWindowTitle(QStringLiteral("Preferences"));
    windowWidget->setAttribute(Qt::WA_DeleteOnClose, false);
    // It opens at the size of the panel shown, wherever there is room, never squeezed.
    WindowPlacement::keepOwnSize(windowWidget);
    windowWidget->installEventFilter(this);
    auto* layout = new QVBoxLayout(windowWidget);
    // The tabs reach the window's edges (each panel has margins of its own): the tallest panel fits a
    // 1024 x 768 screen.
    layout->setContentsMargins(0, 0, 0, 0);
    tabs = new QTabWidget(windowWidget);
    tabs->setObjectName(QStringLiteral("tabView"));
    tabs->setDocumentMode(true);
    layout->addWidget(tabs);
    for (auto& [number, panel] : panels)
        addTab(number, panel);
    QObject::connect(tabs, &QTabWidget::currentChanged, windowWidget, [this] { setTheWindow(shownPanel()); });
}

void WindowController::addTab(int number, Panel& panel)
{
    QWidget* widget = panel.factory ? panel.factory() : nullptr;
    if (!widget)
        widget = new QWidget;
    panel.widget = widget;
    // Each panel scrolls in its tab, so the window need not be as large as its largest panel: it fits
    // small screens and takes the size of the panel shown.
    auto* page = new QScrollArea;
    page->setWidgetResizable(true);
    page->setFrameShape(QFrame::NoFrame);
    page->setWidget(widget);
    page->setProperty(numberProperty, number);
    panel.page = page;
    int at = 0;
    while (at < tabs->count() && tabs->widget(at)->property(numberProperty).toInt() < number)
        ++at;
    tabs->insertTab(at, page, panel.name);
}

int WindowController::tabIndexOf(int number) const
{
    if (!tabs)
        return -1;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->property(numberProperty).toInt() == number)
            return i;
    return -1;
}

int WindowController::shownPanel() const
{
    if (!tabs || !tabs->currentWidget())
        return -1;
    return tabs->currentWidget()->property(numberProperty).toInt();
}

void WindowController::showPanelX(int number)
{
    buildWindow();
    const int index = tabIndexOf(number);
    if (index >= 0)
        tabs->setCurrentIndex(index);
    setTheWindow(shownPanel());
    windowWidget->show();
    windowWidget->raise();
    windowWidget->activateWindow();
}

void WindowController::setTheWindow(int n)
{
    if (!windowWidget)
        return;
    auto found = panels.find(n);
    const QString name = found != panels.end() ? found->second.name : QString();
    windowWidget->setWindowTitle(name.isEmpty() ? QStringLiteral("Preferences")
                                                : QStringLiteral("Preferences: %1").arg(name));
    if (found == panels.end() || !found->second.widget)
        return;
    // As large as the panel wants where the screen has room, never smaller than it needs to show whole
    // (nor than a tab row); only a panel larger than the screen scrolls, in a window as large as the screen.
    QSize chrome(0, tabs->tabBar()->sizeHint().height() + 4);
    if (const QLayout* layout = windowWidget->layout()) {
        const QMargins margins = layout->contentsMargins();
        chrome += QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
        if (layout->menuBar())
            chrome.rheight() += layout->menuBar()->sizeHint().height();
    }
    const QWidget* panel = found->second.widget;
    QSize wanted =
        panel->sizeHint().expandedTo(panel->minimumSizeHint()).expandedTo(QSize(420, 200)) + chrome;
    const QRect area = WindowPlacement::availableArea(windowWidget);
    if (!area.isEmpty())
        wanted = wanted.boundedTo(area.size().shrunkBy(WindowPlacement::decorationOf(windowWidget)));
    windowWidget->resize(wanted.expandedTo(windowWidget->minimumSizeHint()));
    // Grown for a large panel, it stays whole: near where it stood, clear of the Control Panel and the
    // tool palette where the screen has room, else with the palette moved aside, else over them.
    WindowPlacement::placeWhole(windowWidget);
}

void WindowController::windowDidBecomeMain(QObject*)
{
    // The peak-to-MIDI panel opens on setup 1 the next time it loads.
    SetMIDI::sharedSetMIDI().setSetupPopupX();
}

bool WindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowWidget && event->type() == QEvent::WindowActivate)
        windowDidBecomeMain(watched);
    // As it is shown (the first time it gets its menu bar then), it is sized and placed again with all it
    // holds, before it is on the screen.
    if (watched == windowWidget && event->type() == QEvent::Show && !event->spontaneous())
        setTheWindow(shownPanel());
    return false;
}

}  // namespace nupo
