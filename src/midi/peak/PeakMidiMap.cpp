#include "midi/peak/PeakMidiMap.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace nupo {

float mapIntoOutputRange(float x, float inLow, float inHigh, float outLow, float outHigh)
{
    const float inWidth = inHigh - inLow;
    float mapped = outLow;
    if (inWidth != 0.0f && std::isfinite(x))
        mapped = (x - inLow) / inWidth * (outHigh - outLow) + outLow;
    if (!std::isfinite(mapped))
        mapped = outLow;
    if (outHigh > outLow)
        return std::clamp(mapped, outLow, outHigh);
    return std::clamp(mapped, outHigh, outLow);
}

float mapBackToInput(float output, float inLow, float inHigh, float outLow, float outHigh, float currentInput)
{
    const float outWidth = outHigh - outLow;
    if (outWidth == 0.0f || !std::isfinite(output))
        return currentInput;
    const float input = (output - outLow) / outWidth * (inHigh - inLow) + inLow;
    return std::isfinite(input) ? input : currentInput;
}

double timingInterval(int index, float tempo)
{
    switch (index) {
        case 1:
            return 0.125;
        case 2:
            return 0.25;
        case 3:
            return 0.5;
        case 4:
            return double(0.545f);
        case 5:
            return double(0.6f);
        case 6:
            return double(0.667f);
        case 7:
            return 0.75;
        case 8:
            return double(0.857f);
        case 9:
            return 1.0;
        case 10:
            return 2.0;
        case 11:
            return 3.0;
        case 12:
            return 4.0;
        case 13:
            return 60.0 / double(std::max(1.0f, std::isfinite(tempo) ? tempo : 1.0f));
        default:
            return 0.0;
    }
}

float clampTempo(float tempo)
{
    if (!std::isfinite(tempo))
        return 1.0f;
    return std::clamp(tempo, 1.0f, 240.0f);
}

int truncatedValue(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= float(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= float(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

}  // namespace nupo
