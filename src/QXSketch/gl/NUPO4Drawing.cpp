#include "QXSketch/gl/NUPO4Drawing.h"

#include "analysis/BrainSwitch.h"
#include "platform/appkit/MainThread.h"
#include "shared/Utilities.h"

#include <algorithm>

namespace nupo {

namespace {

// The drawings in the order they were last made front, the front one last (main thread). When the front
// drawing goes, the one in front before it is the front drawing again. Never destroyed: a drawing with
// static lifetime may leave it after the list would have gone at exit.
std::vector<NUPO4Drawing*>& frontOrder()
{
    static auto* order = new std::vector<NUPO4Drawing*>;
    return *order;
}

void leaveFrontOrder(NUPO4Drawing* drawing)
{
    std::vector<NUPO4Drawing*>& order = frontOrder();
    order.erase(std::remove(order.begin(), order.end(), drawing), order.end());
}

}  // namespace

// One undoable edit: it keeps the graphic's state before and after as a function that applies either.
class DrawingEditCommand : public QUndoCommand {
public:
    DrawingEditCommand(const QString& text, std::function<void(bool redo)> apply)
        : QUndoCommand(text), apply_(std::move(apply))
    {
    }
    void redo() override { apply_(true); }
    void undo() override { apply_(false); }

private:
    std::function<void(bool)> apply_;
};

NUPO4Drawing::NUPO4Drawing() = default;

NUPO4Drawing::~NUPO4Drawing()
{
    undo.clear();
    leaveFrontOrder(this);
}

NUPO4Drawing* NUPO4Drawing::frontDrawing()
{
    const std::vector<NUPO4Drawing*>& order = frontOrder();
    return order.empty() ? nullptr : order.back();
}

void NUPO4Drawing::makeFront()
{
    leaveFrontOrder(this);
    frontOrder().push_back(this);
}

void NUPO4Drawing::leaveFront()
{
    leaveFrontOrder(this);
}

NUPO4Graphic* NUPO4Drawing::graphic(int index) const
{
    return index >= 0 && index < count() ? graphics[std::size_t(index)].get() : nullptr;
}

int NUPO4Drawing::indexOf(const NUPO4Graphic* g) const
{
    for (int i = 0; i < count(); ++i)
        if (graphics[std::size_t(i)].get() == g)
            return i;
    return -1;
}

int NUPO4Drawing::graphicAt(const QPointF& point) const
{
    for (int i = count() - 1; i >= 0; --i)
        if (graphics[std::size_t(i)]->bounds().contains(point))
            return i;
    return -1;
}

NUPO4Graphic* NUPO4Drawing::rectangle(int k) const
{
    if (k < 1)
        return nullptr;
    for (const auto& g : graphics)
        if (g->kind() == GraphicKind::Rectangle && --k == 0)
            return g.get();
    return nullptr;
}

int NUPO4Drawing::rectangleCount() const
{
    return int(std::count_if(graphics.begin(), graphics.end(),
                             [](const auto& g) { return g->kind() == GraphicKind::Rectangle; }));
}

void NUPO4Drawing::select(int index)
{
    selected = graphic(index) ? index : -1;
    notify();
}

void NUPO4Drawing::notify()
{
    if (changed)
        changed();
}

std::unique_ptr<NUPO4Graphic> NUPO4Drawing::take(int index)
{
    auto g = std::move(graphics[std::size_t(index)]);
    graphics.erase(graphics.begin() + index);
    if (selected == index)
        selected = -1;
    else if (selected > index)
        --selected;
    return g;
}

void NUPO4Drawing::insert(int index, std::unique_ptr<NUPO4Graphic> g)
{
    index = std::clamp(index, 0, count());
    graphics.insert(graphics.begin() + index, std::move(g));
    selected = index;
}

void NUPO4Drawing::addGraphic(std::unique_ptr<NUPO4Graphic> g)
{
    if (!g)
        return;
    const QString text = QStringLiteral("Add %1").arg(g->kindName());
    // The graphic lives in the command while undone, in the drawing while done.
    auto held = std::make_shared<std::unique_ptr<NUPO4Graphic>>(std::move(g));
    const int index = count();
    undo.push(new DrawingEditCommand(text, [this, held, index](bool redo) {
        if (redo)
            insert(index, std::move(*held));
        else
            *held = take(index);
        notify();
    }));
}

void NUPO4Drawing::replaceGraphics(std::vector<std::unique_ptr<NUPO4Graphic>> newGraphics, int selection)
{
    undo.clear();  // the commands hold graphics and indices of the drawing being replaced
    graphics = std::move(newGraphics);
    selected = selection >= 0 && selection < count() ? selection : -1;
    undo.setClean();
    notify();
}

bool NUPO4Drawing::removeGraphic(int index)
{
    if (!graphic(index))
        return false;
    auto held = std::make_shared<std::unique_ptr<NUPO4Graphic>>();
    undo.push(new DrawingEditCommand(QStringLiteral("Delete %1").arg(graphic(index)->kindName()),
                                     [this, held, index](bool redo) {
                                         if (redo)
                                             *held = take(index);
                                         else
                                             insert(index, std::move(*held));
                                         notify();
                                     }));
    return true;
}

bool NUPO4Drawing::setGraphicBounds(int index, const QRectF& bounds)
{
    NUPO4Graphic* g = graphic(index);
    if (!g)
        return false;
    const QRectF before = g->bounds();
    undo.push(new DrawingEditCommand(QStringLiteral("Move %1").arg(g->kindName()),
                                     [this, index, before, bounds](bool redo) {
                                         if (NUPO4Graphic* target = graphic(index))
                                             target->setBounds(redo ? bounds : before);
                                         notify();
                                     }));
    return true;
}

bool NUPO4Drawing::setGraphicFill(int index, const RGBAColor& colour)
{
    NUPO4Graphic* g = graphic(index);
    if (!g)
        return false;
    const RGBAColor before = g->fillColor();
    undo.push(new DrawingEditCommand(QStringLiteral("Fill Colour"), [this, index, before, colour](bool redo) {
        if (NUPO4Graphic* target = graphic(index))
            target->setFillColor(redo ? colour : before);
        notify();
    }));
    return true;
}

bool NUPO4Drawing::setGraphicBrainChannel(int index, int channel)
{
    return setGraphicNumber(index, channel, true);
}

bool NUPO4Drawing::setGraphicView(int index, int view)
{
    return setGraphicNumber(index, view, false);
}

// One undoable edit of a graphic's brain channel (channel true) or view; the graphic hands the value on
// to its view when the edit is done and undone.
bool NUPO4Drawing::setGraphicNumber(int index, int value, bool channel)
{
    NUPO4Graphic* g = graphic(index);
    if (!g)
        return false;
    const int before = channel ? g->brainChannel() : g->view();
    if (!(channel ? NUPO4Graphic::brainChannelInRange(value) : NUPO4Graphic::viewInRange(value)))
        return channel ? g->setBrainChannel(value) : g->setView(value);  // refused, and logged
    undo.push(new DrawingEditCommand(channel ? QStringLiteral("Brain Channel") : QStringLiteral("View"),
                                     [this, index, before, value, channel](bool redo) {
                                         if (NUPO4Graphic* target = graphic(index)) {
                                             const int v = redo ? value : before;
                                             channel ? target->setBrainChannel(v) : target->setView(v);
                                         }
                                         notify();
                                     }));
    return true;
}

NUPO4Graphic* NUPO4Drawing::rectangleOrReport(int k) const
{
    NUPO4Graphic* r = rectangle(k);
    if (!r)
        reportOnce(QStringLiteral("Drawing: no rectangle %1 in the front drawing (it has %2); unchanged.")
                       .arg(k)
                       .arg(rectangleCount()));
    return r;
}

bool NUPO4Drawing::moveRectangle(int k, double x, double y, double w, double h)
{
    NUPO4Graphic* r = rectangleOrReport(k);
    if (!r)
        return false;
    r->setBounds(QRectF(x, y, w, h));
    notify();
    return true;
}

bool NUPO4Drawing::setRectangleBrainChannel(int k, int channel)
{
    NUPO4Graphic* r = rectangleOrReport(k);
    if (!r || !r->setBrainChannel(channel))
        return false;
    notify();
    return true;
}

bool NUPO4Drawing::setRectangleView(int k, int view)
{
    NUPO4Graphic* r = rectangleOrReport(k);
    if (!r || !r->setView(view))
        return false;
    notify();
    return true;
}

void NUPO4Drawing::followBrainSwitches(int source)
{
    if (source < 0 || source > 9)
        return;
    bool moved = false;
    for (int k = 1; k <= 8; ++k) {
        NUPO4Graphic* r = rectangle(k);
        if (!r)
            break;
        const BrainSwitchWindow w = brainSwitchWindow(source, 9 - k);
        const BSrectangleFrame f = BSrectangleFrameFor(w.lowValue, w.highValue, w.lowHz, w.highHz);
        const QRectF frame(f.x, f.y, f.width, f.height);
        if (r->bounds() != frame) {
            r->setBounds(frame);
            moved = true;
        }
    }
    if (moved)
        notify();
}

namespace {

NUPO4Drawing* frontOrReport(int k)
{
    NUPO4Drawing* drawing = NUPO4Drawing::frontDrawing();
    if (!drawing)
        reportOnce(QStringLiteral("Drawing: no front drawing; rectangle %1 unchanged.").arg(k));
    return drawing;
}

}  // namespace

bool moveRectangle(int k, double x, double y, double w, double h)
{
    NUPO4Drawing* drawing = frontOrReport(k);
    return drawing && drawing->moveRectangle(k, x, y, w, h);
}

bool setRectangleBrainChannel(int k, int channel)
{
    NUPO4Drawing* drawing = frontOrReport(k);
    return drawing && drawing->setRectangleBrainChannel(k, channel);
}

bool setRectangleView(int k, int view)
{
    NUPO4Drawing* drawing = frontOrReport(k);
    return drawing && drawing->setRectangleView(k, view);
}

void installNativeRectangleMover()
{
    setBSrectangleMover([](int n, const BSrectangleFrame& f) {
        auto move = [n, f] { moveRectangle(n, f.x, f.y, f.width, f.height); };
        if (isMainThread())
            move();
        else
            performOnMainThread(move);
    });
}

}  // namespace nupo
