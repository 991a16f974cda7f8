#include "QXSketch/ui/NUPO4ToolPalette.h"

#include "QXSketch/gl/SketchState.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/RadioMatrix.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include <QPointer>

namespace nupo {

namespace {

QPointer<NUPO4ToolPalette> openPalette;  // main thread

}  // namespace

NUPO4ToolPalette::NUPO4ToolPalette()
{
    outlet("toolMatrix", toolMatrix);
    action("selectTool", &NUPO4ToolPalette::selectTool);
}

void NUPO4ToolPalette::showToolPalette(QObject* owner)
{
    NibLoader::loadNibNamed(QStringLiteral("NUPO4ToolPalette"), owner);
}

NUPO4ToolPalette* NUPO4ToolPalette::openToolPalette()
{
    return openPalette;
}

void NUPO4ToolPalette::awakeFromNib()
{
    // One palette: a second load brings the open one to the front and closes itself.
    if (openPalette && openPalette != this && openPalette->nibWindow()) {
        WindowHandle(openPalette->nibWindow()).makeKeyAndOrderFront();
        if (QWidget* window = nibWindow())
            window->close();
        return;
    }
    openPalette = this;
    // A palette floats over the drawing windows; windows open clear of it, so it covers none of them.
    // Where a window's drawers find no room clear of it, or a window is maximised, it moves aside.
    if (QWidget* window = nibWindow()) {
        window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        WindowPlacement::keepClear(window);
        WindowPlacement::letGiveWay(window);
    }
    RadioMatrix::selectCellWithTag(toolMatrix, int(currentDrawingTool));
}

void NUPO4ToolPalette::windowWillClose(QObject* window)
{
    if (openPalette == this)
        openPalette = nullptr;
    NibController::windowWillClose(window);
}

void NUPO4ToolPalette::selectTool(QObject* sender)
{
    const int tag = sender == toolMatrix ? RadioMatrix::selectedTag(toolMatrix) : Control::tag(sender);
    if (tag < int(DrawingTool::Select) || tag > int(DrawingTool::SpectrumView3D))
        return;
    currentDrawingTool = DrawingTool(tag);
}

}  // namespace nupo
