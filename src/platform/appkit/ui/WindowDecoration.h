#pragma once

// What the window manager puts around the program's windows (title bar, borders), as far as it is known:
// the one source of it for placing windows and reading their frames. Main thread only.
#include <QMargins>

class QWidget;

namespace nupo::windowDecoration {

// A window asked to have no decoration.
bool isFrameless(const QWidget* window);
// The decoration a window manager has put around a shown window; empty before it has framed it.
QMargins knownDecoration(const QWidget* window);

}  // namespace nupo::windowDecoration
