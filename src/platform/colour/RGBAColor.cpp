#include "platform/colour/RGBAColor.h"

#include <cmath>

namespace nupo {

namespace {
float clampUnit(float v)
{
    if (std::isnan(v))
        return 0.0f;
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}
}  // namespace

RGBAColor RGBAColor::fromRGBA(double r, double g, double b, double a)
{
    return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b), static_cast<float>(a)};
}

RGBAColor RGBAColor::fromWhite(double white, double a)
{
    return fromRGBA(white, white, white, a);
}

RGBAColor RGBAColor::clamped() const
{
    return {clampUnit(red), clampUnit(green), clampUnit(blue), clampUnit(alpha)};
}

}  // namespace nupo
