#include "plots/rawwave/gl/QXRoundCustomView.h"

#include "analysis/RawWave.h"
#include "platform/quartz/gl/GraphicsContext.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <QSizeF>

namespace nupo {

QXRoundCustomView::QXRoundCustomView() : windowMode(WindowMode < 0 || WindowMode > 3 ? 0 : WindowMode) {}

void QXRoundCustomView::drawRect(GraphicsContext& context, const QRectF& rect)
{
    const int point = ploop;
    getARawwave(point);
    getBRawwave(point);
    getDRawwave(point);
    getERawwave(point);
    QXRawwaveGraphView::sharedQXRawwaveGraphView().drawRawwave1LR(context, rect, 1, 0.7f, 1.0f, 0.0f, 0.0f,
                                                                  cursorColor, 1);
}

QSizeF QXRoundCustomView::sizeForMode(int mode, double screenWidth)
{
    switch (mode) {
        case 1:
            return {420, 420};
        case 2:
            return {640, 180};
        case 3:
            return {screenWidth > 0 ? screenWidth : 1024, 160};
        default:
            return {240, 240};
    }
}

}  // namespace nupo
