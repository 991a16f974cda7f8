#pragma once

// Helpers for tests that work a whole window as a person does: the program started with a recording
// playing, windows found by title, a window's controls by name, its GL view on screen.
#include "app/NUPO4DrawAppDelegate.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define NUPO_TEST_HAVE_XCB 1
#endif

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
    if (!window || !window->isVisible())
        return false;
    // Under a window manager a window may be wholly covered, and so not exposed, yet settled.
    if (WindowPlacement::windowManagerRuns())
        return !WindowPlacement::isSettling(window);
    const QWindow* shown = window->windowHandle();
    return shown && shown->isExposed();
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

// Moves the window's frame corner there as a user's drag does: under a window manager, by asking it
// to move the frame (as a pager asks), so that it lands there whatever the program or Qt knows of the
// frame at that moment; without one, the window has no frame and is moved itself. (A move through Qt
// puts the frame corner where asked only once Qt has the frame's size: on a loaded machine it now
// and then put the client area there instead, a title bar lower.)
inline void moveAsUser(QWidget* window, const QPoint& corner)
{
#ifdef NUPO_TEST_HAVE_XCB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection && window->isVisible() && WindowPlacement::windowManagerRuns()) {
        static constexpr char name[] = "_NET_MOVERESIZE_WINDOW";
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (atom && screen) {
            xcb_client_message_event_t message{};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = xcb_window_t(window->winId());
            message.type = atom->atom;
            // North-west gravity (the frame's corner is the point given), x and y given, asked by a pager.
            message.data.data32[0] = XCB_GRAVITY_NORTH_WEST | (1u << 8) | (1u << 9) | (2u << 12);
            message.data.data32[1] = uint32_t(corner.x());
            message.data.data32[2] = uint32_t(corner.y());
            xcb_send_event(connection, 0, screen->root,
                           XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&message));
            xcb_flush(connection);
            std::free(atom);
            return;
        }
        std::free(atom);
    }
#endif
    window->move(corner);
}

// Moves each window's frame corner to its spot as a user does (see moveAsUser) and waits until every one
// stands there and `taken` (what the program made of the moves) holds. A window manager's late answer to
// a request the program made as a window settled may put a window back at once; a user who sees that
// moves it again, and so does this, while a window stands elsewhere.
inline bool moveAsUserAndWait(const QList<std::pair<QWidget*, QPoint>>& moves,
                              const std::function<bool()>& taken = {})
{
    const auto standsThere = [](const std::pair<QWidget*, QPoint>& move) {
        return WindowPlacement::frameOf(move.first).topLeft() == move.second;
    };
    for (const auto& move : moves)
        moveAsUser(move.first, move.second);
    QElapsedTimer sinceAsked;
    sinceAsked.start();
    return processEventsUntil([&] {
        if (std::all_of(moves.begin(), moves.end(), standsThere))
            return !taken || taken();
        // Asked again now and then, not on every look: the window manager may still be moving it.
        if (sinceAsked.elapsed() >= 250) {
            for (const auto& move : moves)
                if (!standsThere(move))
                    moveAsUser(move.first, move.second);
            sinceAsked.restart();
        }
        return false;
    });
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
// The shown windows that hold a GL view drawn on a thread of its own.
inline std::vector<QWidget*> windowsWithGLViews()
{
    std::vector<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && !window->findChildren<ThreadedGLViewHost*>().isEmpty())
            windows.push_back(window);
    return windows;
}

inline OpenGLViewHost* shownViewHost(QWidget* window)
{
    for (auto* host : window->findChildren<OpenGLViewHost*>())
        if (host->isVisible())
            return host;
    return nullptr;
}

}  // namespace nupo::test
