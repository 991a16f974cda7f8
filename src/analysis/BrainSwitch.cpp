#include "analysis/BrainSwitch.h"

#include "shared/AnalysisState.h"
#include "shared/BrainBands.h"

namespace nupo {

namespace {

bool validWindow(int source, int window)
{
    return source >= 0 && source < brainSourceCount && window >= 1 && window <= 8;
}

}  // namespace

void initbrainSWX()
{
    for (int s = 0; s < brainSourceCount; ++s) {
        auto& record = brainSWX[s];
        for (auto& v : record)
            v.store(0.0f, std::memory_order_relaxed);
        const bool channel = s < 4;
        // Window k starts on brain band k - 1 (Eye .. Gamma).
        for (int k = 1; k <= 8; ++k) {
            record[9 + k].store(1.0f, std::memory_order_relaxed);
            record[17 + k].store(channel ? 0.7f : 5.0f, std::memory_order_relaxed);
            record[25 + k].store(10.0f, std::memory_order_relaxed);
            record[33 + k].store(brainBandEdges[k - 1], std::memory_order_relaxed);
            record[41 + k].store(brainBandEdges[k], std::memory_order_relaxed);
        }
    }
}

int brainSwitchState(int source, int window)
{
    if (!validWindow(source, window))
        return 0;
    return int(brainSWX[source][9 + window].load(std::memory_order_relaxed));
}

void setBrainSwitchState(int source, int window, int state)
{
    if (validWindow(source, window))
        brainSWX[source][9 + window].store(float(state), std::memory_order_relaxed);
}

BrainSwitchWindow brainSwitchWindow(int source, int window)
{
    if (!validWindow(source, window))
        return {};
    const auto& r = brainSWX[source];
    return {r[17 + window].load(std::memory_order_relaxed), r[25 + window].load(std::memory_order_relaxed),
            r[33 + window].load(std::memory_order_relaxed), r[41 + window].load(std::memory_order_relaxed)};
}

bool setBrainSwitchEdge(int source, int window, bool upper, float hz)
{
    if (!validWindow(source, window))
        return false;
    brainSWX[source][(upper ? 41 : 33) + window].store(hz, std::memory_order_relaxed);
    return true;
}

}  // namespace nupo
