#pragma once

class QWidget;

namespace nupo {

// Shows a window's property panel (a tool window of its own) beside the window and its open drawers: to
// their right, or to their left, below or above where the screen has no room there, level with the
// window, all of it on the screen's available area and clear of the windows kept clear. A panel already
// shown is only raised. The panel moves along when its window moves.
void showPropertyPanel(QWidget* panel, QWidget* owner);

}  // namespace nupo
