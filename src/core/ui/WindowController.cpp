#include "core/ui/WindowController.h"

#include "midi/peak/SetMIDI.h"

#include <QEvent>
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
    if (panel.widget)
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
    windowWidget->installEventFilter(this);
    auto* layout = new QVBoxLayout(windowWidget);
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
    widget->setProperty(numberProperty, number);
    panel.widget = widget;
    int at = 0;
    while (at < tabs->count() && tabs->widget(at)->property(numberProperty).toInt() < number)
        ++at;
    tabs->insertTab(at, widget, panel.name);
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
    const int index = tabIndexOf(n);
    if (index >= 0) {
        const QSize wanted = tabs->widget(index)->sizeHint().expandedTo(QSize(420, 260)) + QSize(40, 80);
        windowWidget->resize(wanted.expandedTo(windowWidget->minimumSizeHint()));
    }
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
    return false;
}

}  // namespace nupo
