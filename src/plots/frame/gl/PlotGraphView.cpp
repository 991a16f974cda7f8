#include "plots/frame/gl/PlotGraphView.h"

#include "platform/quartz/gl/GraphicsContext.h"
#include "plots/frame/gl/PlotWindowState.h"

namespace nupo {

PlotGraphView::PlotGraphView(const QRectF& frame, const PlotViewStore& viewStore, int lineStyle)
    : QuartzView(frame), lineStyleType(lineStyle), store(viewStore)
{
}

void PlotGraphView::setBackgroundColorA(int component, float value)
{
    // Components come from documents: anything outside red..alpha is ignored and not counted.
    if (component < 0 || component > 3)
        return;
    float(&rgba)[4] = store.backgroundComponents;
    rgba[component] = value;
    if (store.componentWrites > 2) {
        backgroundColor = RGBAColor::fromRGBA(rgba[0], rgba[1], rgba[2], rgba[3]);
        store.windowState.handBackgroundColour(*backgroundColor);
        store.componentWrites = 0;
    } else {
        ++store.componentWrites;
    }
}

float PlotGraphView::getBackgroundColor(int component) const
{
    return component >= 0 && component <= 3 ? store.backgroundComponents[component] : 0.0f;
}

void PlotGraphView::setBackgroundColor(const RGBAColor& colour)
{
    if (backgroundColor == colour)
        return;
    backgroundColor = colour;
    storeBackgroundColor();
}

void PlotGraphView::storeBackgroundColor()
{
    if (!backgroundColor)
        return;
    float(&rgba)[4] = store.backgroundComponents;
    rgba[0] = backgroundColor->red;
    rgba[1] = backgroundColor->green;
    rgba[2] = backgroundColor->blue;
    rgba[3] = backgroundColor->alpha;
}

void PlotGraphView::setLineColor(const RGBAColor& colour)
{
    if (lineColor == colour)
        return;
    lineColor = colour;
    float(&entry)[4] = store.ambient[0];
    entry[0] = colour.red;
    entry[1] = colour.green;
    entry[2] = colour.blue;
    entry[3] = colour.alpha;
    store.resetTables(5);
}

void PlotGraphView::setColorStyleType(int type)
{
    colorStyleType = type;
    store.resetTables(type + 1);
    setNeedsDisplay(true);
}

void PlotGraphView::setLineStyleType(int type)
{
    lineStyleType = type;
    setNeedsDisplay(true);
}

void PlotGraphView::setcursor(int on)
{
    cursorONedX = static_cast<char>(on);
    setNeedsDisplay(true);
}

void PlotGraphView::setDemoNumberA(int mode)
{
    store.pendingMode = mode;
    store.pendingModeSet = 1;
}

void PlotGraphView::setDemoNumberB(int value)
{
    store.pendingNumber = value;
    store.pendingNumberSet = 1;
    if (value > 9)
        store.windowState.queueViewEntry(value - 10);
}

void PlotGraphView::applyPendingCommands()
{
    if (store.pendingModeSet != 0) {
        setDemoNumber(store.pendingMode);
        store.windowState.queueViewMode(store.pendingMode);
        store.pendingModeSet = 0;
    }
    if (store.pendingNumberSet != 0) {
        setDemoNumberB(store.pendingNumber);
        store.pendingNumberSet = 0;
    }
}

void PlotGraphView::fillBackground(GraphicsContext& context, const QRectF& rect)
{
    context.setGrayFillColor(1.0, 1.0);
    context.fillRect(rect);
    if (backgroundColor) {
        context.setFillColor(*backgroundColor);
        context.fillRect(bounds());
    }
}

void PlotGraphView::drawBackgroundAndGrid(GraphicsContext& context, const QRectF& rect,
                                          std::vector<double> gridKey,
                                          const std::function<void(GraphicsContext&)>& grid)
{
    const QRectF whole = bounds();
    gridKey.insert(gridKey.end(), {whole.x(), whole.y(), whole.width(), whole.height()});
    if (backgroundColor)
        gridKey.insert(gridKey.end(), {backgroundColor->red, backgroundColor->green, backgroundColor->blue,
                                       backgroundColor->alpha});
    else
        gridKey.push_back(-1.0);
    context.drawLayer(backgroundLayer, gridKey, rect, [&](GraphicsContext& layer) {
        fillBackground(layer, rect);
        grid(layer);
    });
}

}  // namespace nupo
