#pragma once

class QWidget;

namespace nupo {

// Shows a window's property panel (a tool window of its own) beside the window: to its right, or to its
// left where the screen has no room on the right, its top level with the window's, and all of it on the
// screen's available area, clear of panels and the menu bar. A panel already shown is only raised.
void showPropertyPanel(QWidget* panel, QWidget* owner);

}  // namespace nupo
