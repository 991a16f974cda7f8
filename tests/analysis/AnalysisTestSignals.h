#pragma once

// Signals written into the recording buffers for the analysis tests.

#include "core/QXSerialPort.h"

#include <cmath>
#include <functional>
#include <numbers>

namespace nupo::test {

// Writes f(i) into recording channel at samples from..from + count - 1.
inline void writeSignal(int channel, int from, int count, const std::function<double(int)>& f)
{
    QXSerialPort& port = QXSerialPort::sharedQXSerialPort();
    for (int i = from; i < from + count; ++i)
        port.putIntToBuffer(channel, i, int(std::lround(f(i))));
}

inline std::function<double(int)> sine(double hz, double amplitude, int sampleRate)
{
    return [=](int i) { return amplitude * std::sin(2.0 * std::numbers::pi * hz * i / sampleRate); };
}

}  // namespace nupo::test
