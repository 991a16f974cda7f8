#pragma once

#include <atomic>

namespace nupo {

// The 3D band-spectrum view. This is its data state and the system's brain-switch refresh entry; the
// shared instance never draws and is used from any thread (MIDI threads, the live-reading thread, the
// players' timers), so the fields it reads are atomics.
class QX3DSpectrumGLView {
public:
    static QX3DSpectrumGLView& sharedQX3DSpectrumGLView();

    QX3DSpectrumGLView() = default;

    // Refreshes the 64-row spectrum and the brain-switch hit records of source n (0..9) through the data
    // mapper, with shape code n + 2 and this view's flags and start frequency; does nothing while the
    // transport is paused or for another n. The grids the 3D window shows are left as they are.
    void waven3DBSQC(int n);
    // Refreshes this view's own selection: while recording once `tploop` samples have passed since
    // `tploopBB` (only with port 1 open and not paused; `tploopBB` follows `ploop` either way), while
    // playing whenever not paused.
    void waven3DBS();

    // View selection and start frequency (all 0 in the shared instance).
    std::atomic<int> oneBrainwave{0};
    std::atomic<int> towBrainwave{0};
    std::atomic<int> shapeChange{0};
    std::atomic<int> StartFrequencyXX{0};
};

}  // namespace nupo
