// The decoration windows get (see WindowDecoration.h), and WindowPlacement's answers that rest on it alone.
#include "platform/appkit/ui/WindowDecoration.h"

#include "platform/appkit/ui/WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#ifdef NUPO_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include <algorithm>
#include <cstdlib>

namespace nupo {

using windowDecoration::isFrameless;
using windowDecoration::knownDecoration;

namespace {

// The decoration the window manager last gave a window of the program: the best guess for a window it
// has not framed yet, or frames anew as the window is shown again, while no other window shows one.
QMargins& lastDecorationSeen()
{
    static QMargins seen;
    return seen;
}

#ifdef NUPO_HAVE_XCB
// An X window manager that follows the desktop conventions names its check window on the root window.
bool x11WindowManagerRuns(xcb_connection_t* connection)
{
    static constexpr char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t check = atom->atom;
    std::free(atom);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (check == XCB_ATOM_NONE || !screen)
        return false;
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, screen->root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool runs = property && xcb_get_property_value_length(property) > 0;
    std::free(property);
    return runs;
}
#endif

}  // namespace

bool windowDecoration::isFrameless(const QWidget* window)
{
    return window->windowFlags().testFlag(Qt::FramelessWindowHint);
}

QMargins windowDecoration::knownDecoration(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    // While the window manager reparents the window, Qt may hold a frame that does not enclose it, or
    // one of the frame's size with the client still at its corner (its place in the frame not told yet).
    if (!frame.contains(inner) || (frame.topLeft() == inner.topLeft() && frame != inner))
        return {};
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

QMargins WindowPlacement::decorationOf(const QWidget* window)
{
    if (!window || isFrameless(window))
        return {};
    QMargins widest;
    // Without a window manager no window is framed: a frame Qt tells then (a palette resized while its
    // record of the frame lags behind) is none to go by, and would change the frames of other windows
    // read meanwhile.
    if (windowManagerRuns()) {
        const QMargins own = knownDecoration(window);
        if (!own.isNull()) {
            lastDecorationSeen() = own;
            return own;
        }
        for (const QWidget* other : QApplication::topLevelWidgets()) {
            if (other == window || !other->isVisible() || isFrameless(other) ||
                other->windowType() != Qt::Window)
                continue;
            const QMargins m = knownDecoration(other);
            widest = QMargins(std::max(widest.left(), m.left()), std::max(widest.top(), m.top()),
                              std::max(widest.right(), m.right()), std::max(widest.bottom(), m.bottom()));
        }
        if (widest.isNull())
            widest = lastDecorationSeen();
        else
            lastDecorationSeen() = widest;
    }
    // Before any window of the program is framed, an X window manager's usual title bar is allowed for.
    if (widest.isNull() && QGuiApplication::platformName() == QLatin1String("xcb"))
        widest = QMargins(1, 24, 1, 1);
    return widest;
}

bool WindowPlacement::windowManagerRuns()
{
#ifdef NUPO_HAVE_XCB
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (xcb_connection_t* connection = x11->connection())
            return x11WindowManagerRuns(connection);
    }
#endif
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
        return window->isVisible() && !isFrameless(window) && !knownDecoration(window).isNull();
    });
}

}  // namespace nupo
