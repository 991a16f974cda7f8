#pragma once

#include <atomic>

namespace nupo {

// Frame-rate measurement of a plot view: rate = 1 / Δt between two readings of the time of day (an
// interval of 0.0001 s or less is taken as the rate itself), smoothed as
// y = 0.9 × y' + 0.05 × (rate + previous rate).
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

// One view's frame rate: its frames measure it (on whatever thread draws them) and its window shows it, so
// that each window reads its own frames, whatever other windows of its kind draw.
class ViewFrameRate {
public:
    // One reading at a frame of the view; returns the smoothed rate.
    double measure()
    {
        const double rate = filter_.update();
        rate_.store(rate, std::memory_order_relaxed);
        return rate;
    }
    // The rate as the view's last frame measured it; 0 before its first.
    double framesPerSecond() const { return rate_.load(std::memory_order_relaxed); }

private:
    FrameRateFilter filter_;  // the frames' own
    std::atomic<double> rate_{0.0};
};

}  // namespace nupo
