#include "platform/appkit/ui/NibController.h"

#include <QEvent>
#include <QSize>
#include <QWidget>
#include <QtDebug>

namespace nupo {

// Watches the controller's window and forwards close, move and resize as delegate callbacks.
class NibController::WindowRelay : public QObject {
public:
    explicit WindowRelay(NibController* controller) : QObject(controller), controller(controller) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == controller->window_) {
            switch (event->type()) {
                case QEvent::Close:
                    controller->windowClosing();
                    break;
                case QEvent::Move:
                    controller->windowDidMove(watched);
                    // Framed by the window manager, the window moves and its frame grows by the title
                    // bar without a resize of its own: that is a resize of its frame.
                    if (controller->window_->frameGeometry().size() != frameSize)
                        resized(watched);
                    break;
                case QEvent::Resize:
                // Maximised or restored: the window manager may tell the new size before the new state.
                case QEvent::WindowStateChange:
                    resized(watched);
                    break;
                default:
                    break;
            }
        }
        return false;
    }

private:
    void resized(QObject* watched)
    {
        frameSize = controller->window_->frameGeometry().size();
        controller->windowDidResize(watched);
    }

    NibController* controller;
    QSize frameSize;  // the window's frame at the last resize told
};

NibController::NibController() = default;

NibController::~NibController()
{
    if (window_) {
        window_->removeEventFilter(relay_);
        delete window_.data();
    }
}

void NibController::windowWillClose(QObject*) {}
void NibController::windowDidMove(QObject*) {}
void NibController::windowDidResize(QObject*) {}

bool NibController::bindOutlet(const QString& name, QObject* object)
{
    auto found = outlets_.constFind(name);
    if (found == outlets_.constEnd())
        return false;
    (*found)(object);
    return true;
}

NibController::Action NibController::actionNamed(const QString& name) const
{
    return actions_.value(name);
}

void NibController::adoptWindow(QWidget* window, QObject* owner)
{
    window_ = window;
    owner_ = owner;
    if (!window)
        return;
    relay_ = new WindowRelay(this);
    window->installEventFilter(relay_);
    // A window destroyed behind the controller's back (application teardown) still releases it.
    connect(window, &QObject::destroyed, this, [this] {
        closed_ = true;
        deleteLater();
    });
}

void NibController::windowClosing()
{
    if (closed_)
        return;
    closed_ = true;
    windowWillClose(window_);
    deleteLater();
}

void NibController::warnOutletType(const QString& name, QObject* object, const char* expected) const
{
    qWarning().noquote() << QStringLiteral("%1: outlet %2 expects %3 but the nib has %4")
                                .arg(QString::fromLatin1(metaObject()->className()), name,
                                     QString::fromLatin1(expected),
                                     QString::fromLatin1(object->metaObject()->className()));
}

}  // namespace nupo
