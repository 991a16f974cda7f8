#pragma once

namespace nupo {

// Frame-rate measurement of a plot view: rate = 1 / Δt between two readings of the time of day (an
// interval of 0.0001 s or less is taken as the rate itself), smoothed as
// y = 0.9 × y' + 0.05 × (rate + previous rate). Each view family keeps its own filter.
class FrameRateFilter {
public:
    // One reading at `now` (seconds); returns the smoothed rate.
    double update(double now);
    // One reading of the system clock.
    double update();

    static constexpr double k1 = 0.9;
    static constexpr double k2 = 0.05;

private:
    double previousTime = 0.0;
    double previousRate = 0.0;
    double smoothed = 0.0;
};

}  // namespace nupo
