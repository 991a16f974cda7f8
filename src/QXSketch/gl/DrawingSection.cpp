#include "QXSketch/gl/DrawingSection.h"

#include "QXSketch/gl/NUPO4Drawing.h"
#include "QXSketch/gl/NUPO4Graphic.h"
#include "QXSketch/gl/SketchState.h"

#include <algorithm>
#include <utility>

namespace nupo {

namespace {

const QString graphicsKey = QStringLiteral("Graphics");
const QString selectedKey = QStringLiteral("Selected");
const QString kindKey = QStringLiteral("Kind");
const QString boundsKey = QStringLiteral("Bounds");
const QString fillKey = QStringLiteral("FillColor");
const QString channelKey = QStringLiteral("BrainChannel");
const QString viewKey = QStringLiteral("View");
constexpr int maxKindName = 40;

PlistValue graphicValue(const NUPO4Graphic& g)
{
    const QRectF r = g.bounds();
    const RGBAColor c = g.fillColor();
    PlistDictionary d;
    d.insert(kindKey, g.kindName());
    d.insert(boundsKey, PlistValue::Array{numberValue(r.x()), numberValue(r.y()), numberValue(r.width()),
                                          numberValue(r.height())});
    d.insert(fillKey, PlistValue::Array{floatValue(float(c.red)), floatValue(float(c.green)),
                                        floatValue(float(c.blue)), floatValue(float(c.alpha))});
    d.insert(channelKey, integerValue(g.brainChannel()));
    d.insert(viewKey, integerValue(g.view()));
    return d;
}

}  // namespace

std::optional<PlistDictionary> DrawingSection::write()
{
    PlistDictionary section;
    const NUPO4Drawing* drawing = NUPO4Drawing::frontDrawing();
    section.insert(openKey, integerValue(drawing ? 1 : 0));
    section.insert(mixerKey, integerValue(mixerWindowOpen ? 1 : 0));
    const float* frame = DrawingWindowFrameR;
    if (frame[2] > 0.0f && frame[3] > 0.0f)
        section.insert(frameKey, PlistValue::Array{floatValue(frame[0]), floatValue(frame[1]),
                                                   floatValue(frame[2]), floatValue(frame[3])});
    // Without a drawing window the drawing is empty: opening and closing an empty one changes nothing.
    PlistValue::Array graphics;
    for (int i = 0; drawing && i < drawing->count(); ++i)
        graphics.push_back(graphicValue(*drawing->graphic(i)));
    section.insert(graphicsKey, std::move(graphics));
    section.insert(selectedKey, integerValue(drawing ? drawing->selectedIndex() : -1));
    return section;
}

std::optional<DrawingSection::GraphicRecord> DrawingSection::stageGraphic(SectionInput& item)
{
    const std::optional<QString> kindName = item.name(kindKey, maxKindName);
    const std::optional<GraphicKind> kind = kindName ? NUPO4Graphic::kindNamed(*kindName) : std::nullopt;
    if (!kind) {
        item.fail(kindKey, kindName ? QStringLiteral("\"%1\" is not a kind of graphic").arg(*kindName)
                                    : QStringLiteral("every graphic names its kind"));
        return std::nullopt;
    }
    const auto bounds = item.numbers(boundsKey, 4, -maxCoordinate, maxCoordinate);
    if (!item.failed() && (!bounds || bounds->size() != 4))
        item.fail(boundsKey, QStringLiteral("bounds are four numbers: x, y, width and height"));
    const auto fill = item.numbers(fillKey, 4, 0, 1);
    if (!item.failed() && fill && fill->size() != 4)
        item.fail(fillKey, QStringLiteral("a colour is four numbers: red, green, blue and alpha"));
    const auto channel = item.integer(channelKey, 1, 10);
    const auto view = item.integer(viewKey, 0, 19);
    if (item.failed())
        return std::nullopt;
    GraphicRecord record;
    record.kind = *kind;
    record.bounds = QRectF((*bounds)[0], (*bounds)[1], (*bounds)[2], (*bounds)[3]);
    record.fill = fill ? RGBAColor::fromRGBA((*fill)[0], (*fill)[1], (*fill)[2], (*fill)[3])
                       : NUPO4Graphic::make(*kind, {})->fillColor();
    record.channel = channel.value_or(1);
    record.view = view.value_or(0);
    return record;
}

bool DrawingSection::stage(SectionInput& input)
{
    staged = Contents{};
    staged.open = input.integer(openKey, 0, 1).value_or(0) != 0;
    staged.mixer = input.integer(mixerKey, 0, 1).value_or(0) != 0;
    const auto items = input.dictionaries(graphicsKey, maxGraphics);
    if (input.failed())
        return false;
    if (items) {
        for (std::size_t i = 0; i < items->size(); ++i) {
            SectionInput item = input.item(*(*items)[i], graphicsKey, int(i));
            const std::optional<GraphicRecord> record = stageGraphic(item);
            if (!record) {
                input.adopt(item);
                return false;
            }
            staged.graphics.push_back(*record);
        }
    }
    if (const auto frame = input.numbers(frameKey, 4, -maxCoordinate, maxCoordinate);
        frame && !input.failed()) {
        if (frame->size() != 4) {
            input.fail(frameKey, QStringLiteral("a frame is four numbers: x, y, width and height"));
            return false;
        }
        // A window narrower or lower than a point could not be seen or grabbed again.
        staged.frame =
            QRectF((*frame)[0], (*frame)[1], std::max(1.0, (*frame)[2]), std::max(1.0, (*frame)[3]));
    }
    staged.selected = input.integer(selectedKey, -1, maxGraphics).value_or(-1);
    if (staged.selected >= int(staged.graphics.size()))
        staged.selected = -1;
    return !input.failed();
}

bool DrawingSection::stageDefaults()
{
    staged = Contents{};
    return true;
}

void DrawingSection::apply(const DocumentReadContext& context)
{
    if (context.isPreferenceFile)
        return;
    if (staged.frame) {
        DrawingWindowFrameR[0] = float(staged.frame->x());
        DrawingWindowFrameR[1] = float(staged.frame->y());
        DrawingWindowFrameR[2] = float(staged.frame->width());
        DrawingWindowFrameR[3] = float(staged.frame->height());
        drawingFrameFromDocument = true;
    }
    mixerToOpen = staged.mixer;
    pending = std::move(staged);
    staged = Contents{};
    restorePending();
}

bool DrawingSection::drawingToOpen() const
{
    return pending && pending->open && !NUPO4Drawing::frontDrawing();
}

bool DrawingSection::takeMixerToOpen()
{
    return std::exchange(mixerToOpen, false) && !mixerWindowOpen;
}

bool DrawingSection::restorePending()
{
    NUPO4Drawing* drawing = NUPO4Drawing::frontDrawing();
    if (!pending || !drawing)
        return false;
    restoreInto(*drawing, *pending);
    pending.reset();
    return true;
}

void DrawingSection::restoreInto(NUPO4Drawing& drawing, const Contents& contents)
{
    std::vector<std::unique_ptr<NUPO4Graphic>> graphics;
    graphics.reserve(contents.graphics.size());
    for (const GraphicRecord& r : contents.graphics) {
        graphics.push_back(NUPO4Graphic::make(r.kind, r.bounds));
        graphics.back()->restoreState(r.fill, r.channel, r.view);
    }
    drawing.replaceGraphics(std::move(graphics), contents.selected);
}

}  // namespace nupo
