// The drawing's section of a brain-note document on any bytes: it reads or refuses without crashing, a
// refused file leaves the open drawing as it was and its message names the file, a document without a
// drawing empties it, and whatever it reads, writing and reading it again gives the same drawing.

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

// Every input starts from the same drawing: one rectangle, added as an edit that can be undone.
void startDrawing(NUPO4Drawing& drawing)
{
    drawing.replaceGraphics({}, -1);
    drawing.addGraphic(NUPO4Graphic::make(GraphicKind::Rectangle, QRectF(10, 20, 30, 40)));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QGuiApplication app(*argc, *argv);
    static NUPO4Drawing drawing;
    drawing.makeFront();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    NUPO4Drawing& drawing = *NUPO4Drawing::frontDrawing();
    startDrawing(drawing);
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool holdsDrawing = !sectionsLeftOut(document(), text).contains(QStringLiteral("Drawing"));
    if (!checkDocumentRead(document(), data, size)) {
        // Refused: the drawing and its undo stack are as they were.
        FUZZ_CHECK(drawing.count() == 1 && drawing.undoStack().count() == 1);
        FUZZ_CHECK(drawing.graphic(0)->bounds() == QRectF(10, 20, 30, 40));
    } else {
        // A drawing read starts with nothing to undo; a document without one has emptied it.
        FUZZ_CHECK(drawing.undoStack().count() == 0);
        FUZZ_CHECK(holdsDrawing || drawing.count() == 0);
    }
    return 0;
}
