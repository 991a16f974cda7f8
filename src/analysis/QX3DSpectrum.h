#pragma once

#include "analysis/SpectrumMath.h"

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

namespace nupo {

// Side of the 3D height grids in use: 16, 32, 42 or 64.
inline std::atomic<int> grid{64};
// Sample positions of the 3D frames, newest first; cleared by initPosition.
inline std::atomic<int> timeRec[66] = {};
// Floor grid shared with the 2D spectrum window; only ever zeroed, so it stays flat. Main thread.
inline float positAX[64][64] = {};

// The spectrum data mapper, the data half of the 3D spectrum engine. For any of the ten sources (0..3
// CH 1..CH 4, 4..9 the pairs CH 1 & CH 2, CH 3 & CH 4, CH 1 & CH 3, CH 2 & CH 4, CH 1 & CH 4, CH 2 & CH 3)
// it keeps a history of 64 spectra, taken from the analysis at the current sample position, and from
// the newest one it derives the source's 64-row spectrum and its brain-switch hit records.
//
// Every caller (the 3D view's frames on the main thread, the MIDI threads, the live-reading thread, the
// players' timers) goes through one lock, so a data step is never interleaved with another, and the
// drawing reads the grids through the same lock. Each source's history advances once per new sample
// position, however many callers ask; the height grids hold the layout the 3D view last asked for and
// are filled from the histories, so a refresh for another output never changes what the view shows.
//
// Units: grid heights are display units, a channel's spectrum as the analysis stores it (its gain is
// already in it) and a pair's coherence as percent / 20. Hit levels are the window units of `brainSWX`:
// a channel's value divided by its display gain, a pair's coherence as percent / 10.
class QX3DSpectrum {
public:
    static constexpr int size = 64;
    static constexpr int historyRows = 64;
    // Grid numbers: 0..9 `posit`, `positB`, `positC`, `positD`, `positE`, `positF` .. `positJ`; 10..19 the
    // second set `positX` .. `positXJ`; 20 the base grid `posit0`.
    static constexpr int gridCount = 21;
    static constexpr int baseGrid = 20;
    static constexpr float baseLevel = 0.1f;
    static constexpr int hitColumn = 19;  // history column where the 3D view marks the hits

    using HeightGrid = std::array<std::array<float, size>, size>;  // [history row][column]

    // What a data step does besides advancing the histories and the hit records: the 3D view's own step
    // also makes its layout the one the grids show.
    enum class Target { Display, RecordsOnly };

    static QX3DSpectrum& sharedQX3DSpectrum();

    // The data step: passes its arguments to getposition.
    void waven(int oneBrain, int towBrain, int shapeC, int startFrequency, Target target = Target::Display);
    // The 3D display's data step on its schedule: while recording, once `tploop` samples have passed since
    // `tploopBB` (which then follows `ploop` whether or not the step runs), and only with port 1 open and
    // not paused; while playing, on every call unless paused. True when the step ran.
    bool wavenOnSchedule(int oneBrain, int towBrain, int shapeC, int startFrequency);
    // For the sources of the layout (shapeC 2..11 one source, shapeC − 2; 1 CH 3, CH 4 and their
    // coherence; 0 the one-, two- or three-set layout by oneBrain and towBrain): advances their histories
    // at `ploop`, shifts the peak history of their channels, recomputes their hit records and, for the
    // display target, fills the grids of the layout. Another shapeC does nothing.
    void getposition(int oneBrain, int towBrain, int shapeC, int startFrequency,
                     Target target = Target::Display);
    // Empties every grid, history, hit record, the peak history and `timeRec`; display gains back to 1.
    void initPosition();

    // A copy of grid n (0..20); another n reads all zeros.
    HeightGrid heightGrid(int n) const;
    // Runs f with all grids while holding the lock (keep it short).
    template <class F>
    void readGrids(F&& f) const
    {
        std::lock_guard lock(mutex);
        f(grids);
    }

    // Grid number and source of each tile a layout fills; empty for a shapeC outside 0..11.
    struct GridSource {
        int grid;
        int source;
    };
    static std::vector<GridSource> layoutSources(int oneBrain, int towBrain, int shapeC);
    // Grid (and tile) of source 0..9 in the single-source views; -1 for another source.
    static int gridOfSource(int source);

    // The 64 display rows of a spectrum (display units) with the bin each row shows: linear rows are
    // bins startFrequency + r, 512-band rows the largest value of their group.
    struct DisplayRow {
        float value = 0.0f;
        int bin = -1;
    };
    using DisplayRows = std::array<DisplayRow, size>;
    static DisplayRows displayRowsOf(const float* bins, int count, int startFrequency, bool band512);

    // Hit records of one source's display rows, windows 0..8, three strongest rows each (strongest
    // first, missing records zero). Window 0 spans 0..60 Hz and levels 0.7..10 for a channel or 9.5..10
    // (95..100 %) for a pair; windows 1..8 come from the source's `brainSWX` record.
    using HitTable = std::array<std::array<BrainSwitchRecord, brainSwitchRecordsPerWindow>, 9>;
    static HitTable hitRecords(int source, const DisplayRows& rows, int points, int sampleRate);

private:
    QX3DSpectrum() = default;

    struct History {
        std::vector<float> values;              // historyRows x capacity, a ring
        std::array<int, historyRows> counts{};  // bins held by each row (0: empty)
        int capacity = 0;
        int newest = 0;
        int lastPosition = 0;
        bool started = false;
    };

    // The source's newest spectrum from the analysis, in display units.
    static int takeSpectrum(int source, std::vector<float>& out);
    void storeRow(int source, const std::vector<float>& spectrum, int count, int position);
    void shiftPeakHistory(int channel, bool advance, int points, int sampleRate, bool band512);
    const float* historyRow(const History& h, int age, int& count) const;
    void fillGrids(int oneBrain, int towBrain, int shapeC, int startFrequency, bool band512);

    mutable std::mutex mutex;  // guards everything below
    std::array<HeightGrid, gridCount> grids{};
    std::array<History, brainSourceCount> histories;
};

}  // namespace nupo
