#pragma once

// Helpers for tests that work a whole window as a person does: the program started with a recording
// playing, windows found by title, a window's controls by name, its GL view on screen.
#include "app/NUPO4DrawAppDelegate.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <QWindow>

namespace nupo::test {

// Whether windows are on an X display, where GL views draw frames (offscreen they draw none).
inline bool onScreen()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// Whether the window stands settled: on the display and, where a window manager runs, framed by it and
// placed again by the program where it is seen. A window moved sooner is put back where it was opened.
inline bool windowSettled(const QWidget* window)
{
    const QWindow* shown = window ? window->windowHandle() : nullptr;
    if (!shown || !shown->isExposed())
        return false;
    return !WindowPlacement::windowManagerRuns() ||
           (window->frameGeometry() != window->geometry() && !WindowPlacement::isSettling(window));
}

// Runs the event loop for that long while the program plays.
inline void letItRun(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    processEventsUntil([&] { return clock.elapsed() >= milliseconds; });
}

// Starts the program as at launch, with the recording playing.
inline void startWithRecording(const QString& path)
{
    auto& delegate = NUPO4DrawAppDelegate::sharedNUPO4DrawAppDelegate();
    delegate.setPathToOpen(path);
    delegate.applicationDidFinishLaunching(nullptr);
}

#ifdef NUPO_DEMO_RECORDING_PATH
// Starts the program with the demo recording playing (tests that depend on nupo_demo).
inline void startWithDemo()
{
    startWithRecording(QStringLiteral(NUPO_DEMO_RECORDING_PATH));
}
#endif

// The shown top-level windows with that title.
inline QList<QWidget*> shownWindowsTitled(QLatin1String title)
{
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle() == title)
            windows << window;
    return windows;
}

// The alert shown now with that object name, or null.
inline QMessageBox* shownAlert(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(window);
            box && box->isVisible() && box->objectName() == name)
            return box;
    return nullptr;
}

// Moves the window, at its size, to the middle of its screen's available area.
inline void moveToMiddle(QWidget* window)
{
    const QRect area = WindowPlacement::availableArea(window);
    const QSize frame = WindowPlacement::frameOf(window).size();
    window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

// Loads the nib and gives its controller as Controller (null when it failed or is of another class).
template <class Controller>
Controller* openNib(const QString& name)
{
    return dynamic_cast<Controller*>(NibLoader::loadNibNamed(name));
}

// The control of the controller's window with that object name.
template <class T, class Controller>
T* child(Controller& controller, const char* name)
{
    return controller.windowWidget()->template findChild<T*>(QString::fromLatin1(name));
}

// The GL view host of a window that is shown (its normal or its full view).
inline OpenGLViewHost* shownViewHost(QWidget* window)
{
    for (auto* host : window->findChildren<OpenGLViewHost*>())
        if (host->isVisible())
            return host;
    return nullptr;
}

}  // namespace nupo::test
