#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"

namespace nupo {

void stepColorGainBSMixAnimation()
{
    stepColourGainAnimation(setColorGainBSMixAnimationX, ColorGainBSMixSliderX, ColorGainBSMixSliderXUp);
}

void stepColorOffsetBSMixAnimation()
{
    stepSceneColourOffsetAnimation(setColorOffsetBSMixAnimationX, ColorOffsetBSMixSliderX,
                                   ColorOffsetBSMixSliderXUp);
}

}  // namespace nupo
