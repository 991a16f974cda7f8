// The drawing's section of a brain-note document on any bytes: it reads or refuses without crashing, a
// refused file leaves the open drawing as it was and its message names the file, and whatever it reads,
// writing and reading it again gives the same drawing.

#include "DocumentReadCheck.h"

#include "QXSketch/gl/DrawingSection.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "document/NUPO4DrawDocument.h"
#include "shared/CoreState.h"

#include <QGuiApplication>

using namespace nupo;

namespace {

NUPO4DrawDocument& document()
{
    static NUPO4DrawDocument* doc = [] {
        auto* d = new NUPO4DrawDocument;
        d->addSection(std::make_unique<DrawingSection>());
        return d;
    }();
    return *doc;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QGuiApplication app(*argc, *argv);
    static NUPO4Drawing drawing;
    drawing.makeFront();
    drawing.addGraphic(NUPO4Graphic::make(GraphicKind::Rectangle, QRectF(10, 20, 30, 40)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (checkDocumentRead(document(), data, size))
        FUZZ_CHECK(NUPO4Drawing::frontDrawing()->undoStack().count() == 0);
    return 0;
}
