#pragma once

// Process-wide settings and results of the spectral analysis. The analysis tick runs on the main thread;
// the MIDI mappers, the live-reading thread and the views read these values from their own threads, and
// the brain-switch refresh writes the hit records from whichever thread calls it. So every value that
// crosses threads is an atomic (relaxed order): each number is always whole, and a record read field by
// field may combine two successive refreshes, nothing worse.

#include "shared/AtomicRecord.h"

#include <atomic>
#include <cmath>

namespace nupo {

// --- Analysis settings -------------------------------------------------------------------------------

// FFT size in points, a power of two 128..8192.
inline std::atomic<int> fftp{256};
// 1: the spectrum displays use the 64-row 512-band layout; 0: linear rows (row i = bin i).
inline std::atomic<int> fftp512Band{0};
// 1: spectra are stored as log power, 10 * log10(v) + 10 (so v = 10^(x / 10 - 1)).
inline std::atomic<int> LOGpowerONed{0};
// Number of successive spectra averaged (exponential mean); 1 = no averaging.
inline std::atomic<int> averageFFTX{1};
// Mains frequency in Hz (50 or 60) whose bins the analysis zeroes.
inline std::atomic<int> mainsFrequencyX{60};
// Coherence is 0 where the product of the two (divided) magnitudes is at or below this level.
inline std::atomic<double> CoherenceLevel{1e-6};

// Gain index 0..8 of CH 1..CH 4: display gain 10, 5, 3, 2, 1.5, 1, 0.5, 0.2, 0.1.
inline std::atomic<int> setGain1Number{5};
inline std::atomic<int> setGain2Number{5};
inline std::atomic<int> setGain3Number{5};
inline std::atomic<int> setGain4Number{5};
// Display gain of CH 1..CH 4; never 0.
inline std::atomic<float> displayGainX[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// The display gain every reader divides by: displayGainX of channel 0..3, and 1.0 for a channel outside
// that range or a stored gain that is 0 or less or not finite (so no reader divides by 0 or flips a sign).
inline float displayGainOfChannel(int channel)
{
    if (channel < 0 || channel > 3)
        return 1.0f;
    const float g = displayGainX[channel].load(std::memory_order_relaxed);
    return (g > 0.0f && std::isfinite(g)) ? g : 1.0f;
}

// Raw-wave display options: window the traces, cut their DC offset, scale them to a fixed height.
inline std::atomic<int> rawwaveWindowing{0};
inline std::atomic<int> DCcutONed{0};
inline std::atomic<int> autoGainRawData{0};

// --- Results of the analysis tick --------------------------------------------------------------------

// Three strongest peaks of CH 1..CH 4: element 2p is the value (as the spectrum is stored), 2p + 1 the
// frequency in Hz, p = 0 the strongest. Elements 6 and 7 stay 0.
inline std::atomic<float> peakFFTA[8] = {};
inline std::atomic<float> peakFFTB[8] = {};
inline std::atomic<float> peakFFTD[8] = {};
inline std::atomic<float> peakFFTE[8] = {};

// The peak table of CH 1..CH 4 (channel 0..3); null for any other channel.
inline std::atomic<float>* peakTableOfChannel(int channel)
{
    static std::atomic<float>* const tables[4] = {peakFFTA, peakFFTB, peakFFTD, peakFFTE};
    return channel >= 0 && channel < 4 ? tables[channel] : nullptr;
}

// The analysis buffer that holds the stored spectrum of CH 1..CH 4 (channel 0..3): 0, 1, 3, 4. Buffer 2
// holds the coherence; any other channel gives -1, which no buffer has.
constexpr int spectrumBufferOfChannel(int channel)
{
    constexpr int buffers[4] = {0, 1, 3, 4};
    return channel >= 0 && channel < 4 ? buffers[channel] : -1;
}

// DC offset of CH 1..CH 4 in gained sample units: twice the window's weighted mean, so half of it is
// the mean the raw-wave DC cut removes.
inline std::atomic<double> DCoffsetA{0.0};
inline std::atomic<double> DCoffsetB{0.0};
inline std::atomic<double> DCoffsetD{0.0};
inline std::atomic<double> DCoffsetE{0.0};

// Band powers of CH 1..CH 4 (mean spectrum value over each band) in the order of AnalysisBand.
enum AnalysisBand {
    eyeBand,
    deltaBand,
    thetaBand,
    alphaBand,
    lowBetaBand,
    midBetaBand,
    highBetaBand,
    acBand
};
inline constexpr int analysisBandCount = 8;
inline std::atomic<float> bandPowerX[4][analysisBandCount] = {};

// Frequency of the highest value found by the last band query (any thread).
inline std::atomic<float> peakFrequencyX{0.0f};

// --- Raw-wave display windows (main thread) ----------------------------------------------------------

// 8193 entries, so that a trace of 8192 points may also read entry `fftp`.
inline constexpr int rawwaveLength = 8193;
inline int datarawA[rawwaveLength] = {};
inline int datarawB[rawwaveLength] = {};
inline int datarawD[rawwaveLength] = {};
inline int datarawE[rawwaveLength] = {};
// Peak-to-peak values of the last traces.
inline std::atomic<double> ARawwavePP{0.0};
inline std::atomic<double> BRawwavePP{0.0};
inline std::atomic<double> DRawwavePP{0.0};
inline std::atomic<double> ERawwavePP{0.0};

// --- Peak records -------------------------------------------------------------------------------------

// {value; frequency in Hz; bin (or 512-band row); row number; value}.
struct PeakRecord {
    float value = 0.0f;
    float frequency = 0.0f;
    int bin = 0;
    int row = 0;
    float value2 = 0.0f;
};

// The same record for tables that several threads touch: every field is an atomic.
struct SharedPeakRecord : AtomicRecord<SharedPeakRecord, PeakRecord> {
    std::atomic<float> value{0.0f};
    std::atomic<float> frequency{0.0f};
    std::atomic<int> bin{0};
    std::atomic<int> row{0};
    std::atomic<float> value2{0.0f};
};

template <>
struct AtomicRecordFields<SharedPeakRecord>
    : RecordFields<RecordField<&SharedPeakRecord::value, &PeakRecord::value>,
                   RecordField<&SharedPeakRecord::frequency, &PeakRecord::frequency>,
                   RecordField<&SharedPeakRecord::bin, &PeakRecord::bin>,
                   RecordField<&SharedPeakRecord::row, &PeakRecord::row>,
                   RecordField<&SharedPeakRecord::value2, &PeakRecord::value2>> {
};

// Peak table of the 2D waterfall: 8 blocks (0..3 CH 1..CH 4) x 128 rows x 3 peaks. The analysis tick
// (main thread) writes row 0 of blocks 0..3 while the waterfall's drawing (any thread) scrolls, clears
// and reads it: the fields are atomic, a record may mix fields of two ticks.
inline SharedPeakRecord PeakfftPower[8][128][3];

// Peak history of the 3D view: 8 blocks (0..3 CH 1..CH 4) x 64 history rows x 3 peaks; row 0 newest.
// Written by the spectrum data mapper (any thread), read by the 3D drawing.
inline SharedPeakRecord PeakfftPowerFV[8][64][3];

// --- Brain switches -----------------------------------------------------------------------------------

inline constexpr int brainSourceCount = 10;
inline constexpr int brainSwitchRecordLength = 82;
// One record per source 0..9 (0..3 CH 1..CH 4, 4..9 the channel pairs). For window k = 1..8: element
// 10 + k - 1 its display state (0 off, 1 shown, 2 highlighted; stored as a whole-number float), 17 + k its
// low value, 25 + k its high value, 33 + k its low and 41 + k its high frequency in Hz.
inline std::atomic<float> brainSWX[brainSourceCount][brainSwitchRecordLength] = {};

// Hit record of a brain-switch window: the level of a display row, its frequency in Hz, the display row,
// the column where the 3D view marks it (19), and the mark height (level / 3).
struct BrainSwitchRecord {
    float level = 0.0f;
    float peakFrequency = 0.0f;
    int row = 0;
    int column = 0;
    float count = 0.0f;
};

struct SharedBrainSwitchRecord : AtomicRecord<SharedBrainSwitchRecord, BrainSwitchRecord> {
    std::atomic<float> level{0.0f};
    std::atomic<float> peakFrequency{0.0f};
    std::atomic<int> row{0};
    std::atomic<int> column{0};
    std::atomic<float> count{0.0f};
};

template <>
struct AtomicRecordFields<SharedBrainSwitchRecord>
    : RecordFields<RecordField<&SharedBrainSwitchRecord::level, &BrainSwitchRecord::level>,
                   RecordField<&SharedBrainSwitchRecord::peakFrequency, &BrainSwitchRecord::peakFrequency>,
                   RecordField<&SharedBrainSwitchRecord::row, &BrainSwitchRecord::row>,
                   RecordField<&SharedBrainSwitchRecord::column, &BrainSwitchRecord::column>,
                   RecordField<&SharedBrainSwitchRecord::count, &BrainSwitchRecord::count>> {
};

inline constexpr int brainSwitchWindowCount = 12;  // slots per source; windows 0..8 are filled
inline constexpr int brainSwitchRecordsPerWindow = 3;
// Hit records of sources 0..3 (`peakSWfftCount`) and 4..9 (`peakSWcoherenceCount`), both indexed by the
// source number itself, then the window, then the record (strongest first).
inline SharedBrainSwitchRecord peakSWfftCount[brainSourceCount][brainSwitchWindowCount]
                                             [brainSwitchRecordsPerWindow];
inline SharedBrainSwitchRecord peakSWcoherenceCount[brainSourceCount][brainSwitchWindowCount]
                                                   [brainSwitchRecordsPerWindow];

}  // namespace nupo
