#pragma once

// The shape of a MIDI mapper's setup table: 128 setups, each field a process-wide array indexed by
// setup. Numbers are atomics (the worker reads while the main thread edits; a single entry is the unit
// of change); names are main-thread only.

#include <QString>

#include <array>
#include <atomic>

namespace nupo {

inline constexpr int maxSetupNumber = 128;

template <class T>
using SetupArray = std::array<std::atomic<T>, maxSetupNumber>;
using SetupNames = std::array<QString, maxSetupNumber>;

// Longest setup or port name kept (the "ON:" mark must still fit behind it).
inline constexpr int maxSetupNameLength = 252;

inline bool validSetup(int s)
{
    return s >= 0 && s < maxSetupNumber;
}

// True while no setup has its measuring or its output switched on: a mapper's pass then only keeps
// its clocks, and its worker may rest.
inline bool noSetupSwitchedOn(const SetupArray<int>& input, const SetupArray<int>& output)
{
    for (int s = 0; s < maxSetupNumber; ++s)
        if (input[s] != 0 || output[s] != 0)
            return false;
    return true;
}

// A name as stored: ASCII only, at most maxSetupNameLength characters.
QString storedSetupName(const QString& name);

}  // namespace nupo
