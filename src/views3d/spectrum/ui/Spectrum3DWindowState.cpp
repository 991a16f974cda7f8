#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

#include "plots/settings/DisplaySettings.h"

namespace nupo {

namespace {

// Modes 1 and 2 climb by `rise` and restart at `bottom` above the mode's top; modes 3 and 4 swing
// between `bottom` and the top by `swing`, turning at each end. Sums are made in double precision.
struct ColourAnimation {
    double rise, swing, bottom, lowTop, highTop;
};

void stepAnimation(float& value, int mode, int& up, const ColourAnimation& a)
{
    if (mode < 1 || mode > 4)
        return;
    const double top = (mode == 1 || mode == 3) ? a.lowTop : a.highTop;
    if (mode <= 2) {
        value = static_cast<float>(value + a.rise);
        if (value > top)
            value = static_cast<float>(a.bottom);
        return;
    }
    if (up != 0) {
        value = static_cast<float>(value + a.swing);
        if (value > top) {
            value = static_cast<float>(top);
            up = 0;
        }
    } else {
        value = static_cast<float>(value - a.swing);
        if (value < a.bottom) {
            value = static_cast<float>(a.bottom);
            up = 1;
        }
    }
}

}  // namespace

void stepColorGainBSMixAnimation()
{
    stepAnimation(ColorGainBSMixSliderX, setColorGainBSMixAnimationX, ColorGainBSMixSliderXUp,
                  ColourAnimation{0.2, 0.2, 0.2, 2.0, 5.0});
}

void stepColorOffsetBSMixAnimation()
{
    stepAnimation(ColorOffsetBSMixSliderX, setColorOffsetBSMixAnimationX, ColorOffsetBSMixSliderXUp,
                  ColourAnimation{1.0, 2.0, 0.0, 50.0, 100.0});
}

}  // namespace nupo
