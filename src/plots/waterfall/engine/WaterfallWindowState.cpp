#include "plots/waterfall/engine/WaterfallWindowState.h"

#include <cmath>

namespace nupo {

namespace {

void stepAnimation(int mode, float& value, int& up, float low, float step, float highA, float highB)
{
    if (mode < 1 || mode > 4)
        return;
    const float high = (mode == 1 || mode == 3) ? highA : highB;
    if (mode <= 2) {
        value += step;
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
    stepAnimation(mode, value, up, 0.2f, 0.2f, 2.0f, 5.0f);
}

void stepColourOffsetAnimation(int mode, float& value, int& up)
{
    stepAnimation(mode, value, up, 0.0f, 2.0f, 50.0f, 100.0f);
}

StartFrequency startFrequencyFromField(float value, int points, int sampleSpeed)
{
    // Factor in bins per hertz of the display: (fftp / 128) / (SampleSpeed / 128).
    const float speed = sampleSpeed > 0 ? static_cast<float>(sampleSpeed) : 1.0f;
    const float factor = static_cast<float>(points / 128) / (speed * 0.5f * 0.015625f);
    float v = std::isnan(value) ? 0.0f : value;
    v = v < 0.0f ? 0.0f : (v > 1000.0f ? 1000.0f : v);
    int bin = static_cast<int>(v * factor);
    const int last = points / 2 - 64 > 0 ? points / 2 - 64 : 0;
    if (bin > last) {
        bin = last;
        v = factor > 0.0f ? static_cast<float>(bin) / factor : 0.0f;
    }
    return {bin, v};
}

}  // namespace nupo
