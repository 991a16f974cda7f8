#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <type_traits>

namespace nupo {

// Base of every window and panel controller. A controller declares, in its constructor, the outlets
// (members that receive objects of its nib by object name) and the actions (member functions
// `void name(QObject* sender)` that controls of the nib send by their `action` property); NibLoader
// fills and connects them, then calls awakeFromNib(). See NibLoader.h for the whole recipe.
//
// Ownership: a controller loaded from a nib owns its window. Closing the window tells the controller
// (windowWillClose) and then releases the controller, which deletes the window with it. A controller
// that is not loaded from a nib (a shared instance) has no window and all its outlets stay null.
class NibController : public QObject {
    Q_OBJECT
public:
    using Action = std::function<void(QObject* sender)>;
    using OutletBinder = std::function<void(QObject* object)>;

    NibController();
    ~NibController() override;

    // The nib's root window (null for a controller that was not loaded from a nib, and once the window
    // is gone), and the owner the nib was loaded with.
    QWidget* nibWindow() const { return window_; }
    QObject* nibOwner() const { return owner_; }

    // Called once the outlets are bound and the actions connected, before the window is shown.
    virtual void awakeFromNib() {}

    // Window delegate callbacks; the argument is the window. After windowWillClose returns, the
    // controller is released (deleted on the next event-loop turn).
    virtual void windowWillClose(QObject* window);
    virtual void windowDidMove(QObject* window);
    virtual void windowDidResize(QObject* window);
    // Maximised, restored or minimised: the window manager may tell the new size before the new state.
    virtual void windowDidChangeState(QObject* window);

    // Used by NibLoader. bindOutlet returns false when no outlet of that name is declared.
    bool bindOutlet(const QString& name, QObject* object);
    bool hasOutlet(const QString& name) const { return outlets_.contains(name); }
    Action actionNamed(const QString& name) const;

protected:
    // Declares an outlet: `outlet("popup", popup);` with `QComboBox* popup = nullptr;` as member.
    // The nib object of that name is cast to the member's type; an object of another type leaves the
    // member null and logs a warning.
    template <class T>
    void outlet(const QString& name, T*& member)
    {
        static_assert(std::is_base_of_v<QObject, T>, "outlets hold QObject subclasses; use a binder");
        outlets_.insert(name, [this, name, &member](QObject* object) {
            member = qobject_cast<T*>(object);
            if (object && !member)
                warnOutletType(name, object, T::staticMetaObject.className());
        });
    }
    // Declares an outlet bound by a function (for objects reached through a widget, such as views).
    void outlet(const QString& name, OutletBinder binder) { outlets_.insert(name, std::move(binder)); }

    // Declares an action: `action("select", &MyController::select);`.
    template <class C>
    void action(const QString& name, void (C::*function)(QObject*))
    {
        static_assert(std::is_base_of_v<NibController, C>, "actions are member functions of the controller");
        actions_.insert(name,
                        [this, function](QObject* sender) { (static_cast<C*>(this)->*function)(sender); });
    }
    void action(const QString& name, Action function) { actions_.insert(name, std::move(function)); }

private:
    friend class NibLoader;
    class WindowRelay;

    // Takes ownership of the nib's root window and starts relaying its delegate callbacks.
    void adoptWindow(QWidget* window, QObject* owner);
    void windowClosing();
    bool windowIsClosed() const { return closed_; }
    void warnOutletType(const QString& name, QObject* object, const char* expected) const;

    QPointer<QWidget> window_;
    QPointer<QObject> owner_;
    WindowRelay* relay_ = nullptr;
    bool closed_ = false;
    QHash<QString, OutletBinder> outlets_;
    QHash<QString, Action> actions_;
};

}  // namespace nupo
