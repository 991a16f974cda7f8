#include "plots/waterfall/gl/WaterfallWindowState.h"

#include <cmath>

namespace nupo {

namespace {

// Modes 1, 2 add `wrapStep` and restart at `low` above the top; modes 3, 4 bounce by `step`.
void stepAnimation(int mode, float& value, int& up, float low, float step, float wrapStep, float highA,
                   float highB)
{
    if (mode < 1 || mode > 4)
        return;
    const float high = (mode == 1 || mode == 3) ? highA : highB;
    if (mode <= 2) {
        value += wrapStep;
        if (value > high)
            value = low;
        return;
    }
    if (up == 1) {
        value += step;
        if (value > high) {
            value = high;
            up = 0;
        }
    } else {
        value -= step;
        if (value < low) {
            value = low;
            up = 1;
        }
    }
}

}  // namespace

void stepColourGainAnimation(int mode, float& value, int& up)
{
    stepAnimation(mode, value, up, 0.2f, 0.2f, 0.2f, 2.0f, 5.0f);
}

void stepColourOffsetAnimation(int mode, float& value, int& up)
{
    stepAnimation(mode, value, up, 0.0f, 2.0f, 2.0f, 50.0f, 100.0f);
}

void stepSceneColourOffsetAnimation(int mode, float& value, int& up)
{
    stepAnimation(mode, value, up, 0.0f, 2.0f, 1.0f, 50.0f, 100.0f);
}

StartFrequency startFrequencyFromField(float value, int points, int sampleSpeed)
{
    // Bins per hertz of the display: (fftp / 128) / (SampleSpeed × 0.5 / 64). Worked in double with the
    // multiplication first, so that a bin that falls exactly on a whole frequency shows that frequency
    // (every term is a power of two times a small integer, so the results are exact).
    const double binsPer128 = static_cast<double>(points / 128);
    const double hertzPerStep = (sampleSpeed > 0 ? static_cast<double>(sampleSpeed) : 1.0) * 0.5 * 0.015625;
    double v = std::isnan(value) ? 0.0 : static_cast<double>(value);
    v = v < 0.0 ? 0.0 : (v > 1000.0 ? 1000.0 : v);
    int bin = static_cast<int>(v * binsPer128 / hertzPerStep);
    const int last = points / 2 - 64 > 0 ? points / 2 - 64 : 0;
    if (bin > last) {
        bin = last;
        v = binsPer128 > 0.0 ? bin * hertzPerStep / binsPer128 : 0.0;
    }
    return {bin, static_cast<float>(v)};
}

}  // namespace nupo
