#pragma once

#include "platform/appkit/ui/NibController.h"

namespace nupo {

// The drawing tool palette ("Tools", nib "NUPO4ToolPalette"): the select arrow, the rectangle and the
// four live-view placeholders. The chosen tool is the one every drawing canvas draws with.
class NUPO4ToolPalette : public NibController {
    Q_OBJECT
public:
    NUPO4ToolPalette();

    // Opens the palette, or brings the open one to the front.
    static void showToolPalette(QObject* owner);
    // The open palette, or null.
    static NUPO4ToolPalette* openToolPalette();

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;
    // Action of the tool matrix: the tag of the chosen button is the tool.
    void selectTool(QObject* sender);

private:
    QObject* toolMatrix = nullptr;
};

}  // namespace nupo
