#include "QXDrawerSound/player/ui/PropertyPanel.h"

#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include <QWidget>

#include <algorithm>

namespace nupo {

namespace {

// Room between the window and its panel.
constexpr int gap = 8;

}  // namespace

void showPropertyPanel(QWidget* panel, QWidget* owner)
{
    if (!panel)
        return;
    if (!panel->isVisible() && owner) {
        const QRect area = WindowPlacement::availableArea(owner);
        const QMargins decoration = WindowPlacement::decorationOf(panel);
        const QSize frame = panel->size().grownBy(decoration);
        const QRect beside = owner->frameGeometry();
        int x = beside.right() + 1 + gap;
        if (x + frame.width() > area.right() + 1 && beside.left() - gap - frame.width() >= area.left())
            x = beside.left() - gap - frame.width();
        const int y = std::max(beside.top(), area.top());
        panel->move(x, y);  // the frame's top-left corner
    }
    panel->show();
    WindowPlacement::keepOnScreen(panel);
    WindowHandle(panel).makeKeyAndOrderFront();
}

}  // namespace nupo
