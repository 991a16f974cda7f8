#include "midi/common/LinearMap.h"

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
