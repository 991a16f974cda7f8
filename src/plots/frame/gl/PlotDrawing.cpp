#include "plots/frame/gl/PlotDrawing.h"

#include "platform/quartz/gl/GraphicsContext.h"
#include "plots/frame/gl/PlotColourTables.h"

#include <cstdio>

namespace nupo {

void strokeLine(GraphicsContext& context, double x0, double y0, double x1, double y1)
{
    context.beginPath();
    context.moveToPoint(x0, y0);
    context.addLineToPoint(x1, y1);
    context.strokePath();
}

void fillBox(GraphicsContext& context, double left, double right, double bottom, double top,
             const RGBAColor& colour)
{
    if (!(right > left) || !(top > bottom))
        return;
    context.setFillColor(colour);
    context.fillPixelRect(QRectF(left, bottom, right - left, top - bottom));
}

int clampedCount(double value, int maximum)
{
    if (!(value > 0.0))
        return 0;
    return value >= maximum ? maximum : static_cast<int>(value);
}

void drawPlotGrid(GraphicsContext& context, float x, float y, float w, float h, int divisions,
                  const RGBAColor& colour)
{
    if (divisions <= 0)
        return;
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    const int iw = static_cast<int>(w), ih = static_cast<int>(h);
    context.setLineWidth(1.0);
    for (int i = 0; i < divisions; ++i) {
        const int gx = ix + i * (iw - ix) / divisions;
        context.beginPath();
        context.moveToPoint(gx, ih);
        context.addLineToPoint(gx, 0);
        context.setStrokeColor(colour);
        context.strokePath();
        const int gy = iy + i * (ih - iy) / divisions;
        context.beginPath();
        context.moveToPoint(iw, gy);
        context.addLineToPoint(0, gy);
        context.setStrokeColor(colour);
        context.strokePath();
    }
}

void logInvalidItem()
{
    std::puts("Invalid item");
    std::fflush(stdout);
}

RGBAColor traceColour(int index)
{
    const int i = index < 0 ? 0 : (index > 255 ? 255 : index);
    return RGBAColor::fromRGBA(difmatA[i][0], difmatA[i][1], difmatA[i][2], difmatA[i][3]);
}

void groen_CtextureN(int index, int, GraphicsContext& context)
{
    const RGBAColor colour = traceColour(index);
    context.setRGBStrokeColor(colour.red, colour.green, colour.blue, colour.alpha);
}

}  // namespace nupo
