#include "plots/frame/gl/FrameRateFilter.h"

#include <chrono>

namespace nupo {

double FrameRateFilter::update(double now)
{
    const double dt = now - previousTime;
    previousTime = now;
    const double rate = dt > 0.0001 ? 1.0 / dt : dt;
    smoothed = k1 * smoothed + k2 * (rate + previousRate);
    previousRate = rate;
    return smoothed;
}

double FrameRateFilter::update()
{
    using namespace std::chrono;
    const auto micros = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    return update(static_cast<double>(micros) * 0.000001);
}

}  // namespace nupo
