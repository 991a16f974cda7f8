#include "platform/viewhost/ui/PausedWindowInput.h"

#include "platform/appkit/MainThread.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace nupo {

namespace {

// The top-level widget an event's receiver belongs to: a widget's window, or the widget of a window.
QWidget* windowOf(QObject* receiver)
{
    if (receiver->isWidgetType())
        return static_cast<QWidget*>(receiver)->window();
    if (receiver->isWindowType()) {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows)
            if (window->windowHandle() == receiver)
                return window;
    }
    return nullptr;
}

class Filter : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        // Input goes to widgets and windows; events other threads post to other objects (Qt's own
        // threads among them) are not read.
        if (!GLRenderThread::anyFrameInFlight() || !handedOverToWidget(receiver, true))
            return false;
        const QEvent::Type type = handedOverEventType(event);  // some are posted by other threads
        // Shortcut overrides are answered at once (refused, the shortcut goes on).
        if (!event->isInputEvent() || type == QEvent::ShortcutOverride)
            return false;
        QWidget* window = windowOf(receiver);
        return window &&
               ThreadedGLViewHost::drawingStateOf(window) == ThreadedGLViewHost::DrawingState::Stalled;
    }
};

}  // namespace

void PausedWindowInput::install()
{
    static Filter* filter = nullptr;  // lives to process end once made
    if (filter || !QCoreApplication::instance())
        return;
    filter = new Filter;
    QCoreApplication::instance()->installEventFilter(filter);
}

}  // namespace nupo
