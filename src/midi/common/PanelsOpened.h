#pragma once

// Whether each mapper's panel has awakened in this process: the first awakening of either panel starts
// the MIDI system, so each reads the other's flag.

#include <atomic>

namespace nupo {

inline std::atomic<int> itsOpend{0};   // the peak panel's first-open work is done
inline std::atomic<int> itsOpendE{0};  // the band panel's first awakening is done

}  // namespace nupo
