#pragma once

// Waiting for the plot and 3D windows' ticks, for document tests that save what the ticks write back.
#include "plots/bargraph/gl/BarGraphWindowState.h"
#include "plots/rawwave/gl/RawwaveWindowState.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "support/WindowTestSupport.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

namespace nupo::test {

// Waits until every open plot and 3D window has ticked since the flags were raised: what a tick
// writes back into the settings is then in them.
inline bool windowsTicked()
{
    windowColorRawNOX = rawwaveWindowState.shown ? 1 : 0;
    windowColorBarOX = barGraphWindowState.shown ? 1 : 0;
    windowColor2DNOX = waterfallWindowState.shown ? 1 : 0;
    windowColor3DNOX = ShowWindow3DWaterFallBS ? 1 : 0;
    return processEventsUntil([] {
        return windowColorRawNOX == 0 && windowColorBarOX == 0 && windowColor2DNOX == 0 &&
               windowColor3DNOX == 0;
    });
}

}  // namespace nupo::test
