#include "analysis/QX3DSpectrum.h"

#include "analysis/QXFFT.h"
#include "shared/CoreState.h"

#include <algorithm>
#include <cmath>

namespace nupo {

namespace {

// Tile (and grid) of each source in the single-source views.
constexpr int gridOfSourceTable[brainSourceCount] = {0, 1, 3, 4, 2, 5, 6, 7, 8, 9};

constexpr float coherenceHeightDivisor = 20.0f;  // percent -> grid height
constexpr float coherenceLevelDivisor = 10.0f;   // percent -> window level

bool isChannel(int source)
{
    return source >= 0 && source < 4;
}

struct WindowBounds {
    float lowValue, highValue, lowHz, highHz;
};

WindowBounds windowBounds(int source, int window)
{
    if (window == 0)
        return isChannel(source) ? WindowBounds{0.7f, 10.0f, 0.0f, 60.0f}
                                 : WindowBounds{9.5f, 10.0f, 0.0f, 60.0f};
    const auto& r = brainSWX[source];
    return {r[17 + window].load(std::memory_order_relaxed), r[25 + window].load(std::memory_order_relaxed),
            r[33 + window].load(std::memory_order_relaxed), r[41 + window].load(std::memory_order_relaxed)};
}

SharedBrainSwitchRecord (&hitTableOf(int source))[brainSwitchWindowCount][brainSwitchRecordsPerWindow]
{
    return isChannel(source) ? peakSWfftCount[source] : peakSWcoherenceCount[source];
}

}  // namespace

QX3DSpectrum& QX3DSpectrum::sharedQX3DSpectrum()
{
    static QX3DSpectrum* instance = new QX3DSpectrum;  // lives to process end
    return *instance;
}

void QX3DSpectrum::waven(int oneBrain, int towBrain, int shapeC, int startFrequency, Target target)
{
    getposition(oneBrain, towBrain, shapeC, startFrequency, target);
}

bool QX3DSpectrum::wavenOnSchedule(int oneBrain, int towBrain, int shapeC, int startFrequency)
{
    const bool paused = setPauseX.load(std::memory_order_relaxed) != 0;
    const int position = ploop.load(std::memory_order_relaxed);
    if (setRecX.load(std::memory_order_relaxed) != 0) {
        if (position - tploopBB.load(std::memory_order_relaxed) < tploop.load(std::memory_order_relaxed))
            return false;
        tploopBB.store(position, std::memory_order_relaxed);
        if (openPort.load(std::memory_order_relaxed) == 0 || paused)
            return false;
    } else if (paused) {
        return false;
    }
    waven(oneBrain, towBrain, shapeC, startFrequency);
    return true;
}

int QX3DSpectrum::gridOfSource(int source)
{
    return source >= 0 && source < brainSourceCount ? gridOfSourceTable[source] : -1;
}

std::vector<QX3DSpectrum::GridSource> QX3DSpectrum::layoutSources(int oneBrain, int towBrain, int shapeC)
{
    if (shapeC >= 2 && shapeC <= 11) {
        const int source = shapeC - 2;
        return {{gridOfSourceTable[source], source}};
    }
    if (shapeC == 1)  // CH 3 and CH 4 in the first set's grids, with their coherence
        return {{0, 2}, {1, 3}, {2, 5}};
    if (shapeC != 0)
        return {};
    if (oneBrain != 0)
        return {{0, 0}, {1, 1}, {2, 4}};
    if (towBrain == 0)
        return {{0, 0}, {1, 1}, {2, 4}, {3, 6}, {4, 7}, {5, 2}};
    return {{0, 0}, {1, 1}, {2, 4}, {3, 2}, {4, 3}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9}};
}

QX3DSpectrum::DisplayRows QX3DSpectrum::displayRowsOf(const float* bins, int count, int startFrequency,
                                                      bool band512)
{
    DisplayRows rows{};
    for (int r = 0; r < size; ++r) {
        DisplayRow& row = rows[std::size_t(r)];
        if (band512) {
            const BinGroup g = fft512BandBins(r, count * 2);
            for (int b = g.first; b <= std::min(g.last, count - 1); ++b)
                if (row.bin < 0 || bins[b] > row.value)
                    row = {bins[b], b};
        } else {
            const int b = startFrequency + r;
            if (b >= 0 && b < count)
                row = {bins[b], b};
        }
    }
    return rows;
}

QX3DSpectrum::HitTable QX3DSpectrum::hitRecords(int source, const DisplayRows& rows, int points,
                                                int sampleRate)
{
    HitTable table{};
    if (source < 0 || source >= brainSourceCount)
        return table;
    const float gain = isChannel(source) ? displayGainOfChannel(source) : 1.0f;
    for (int w = 0; w < int(table.size()); ++w) {
        const WindowBounds bounds = windowBounds(source, w);
        auto& records = table[std::size_t(w)];
        for (int r = 0; r < size; ++r) {
            const DisplayRow& row = rows[std::size_t(r)];
            if (row.bin < 0)
                continue;
            const float level = isChannel(source)
                                    ? row.value / gain
                                    : row.value * coherenceHeightDivisor / coherenceLevelDivisor;
            const float hz = float(binFrequency(row.bin, points, sampleRate));
            if (level < bounds.lowValue || level > bounds.highValue || hz < bounds.lowHz ||
                hz > bounds.highHz)
                continue;
            // Insert among the three strongest; equal levels keep the lower row first.
            for (int k = 0; k < brainSwitchRecordsPerWindow; ++k) {
                BrainSwitchRecord& slot = records[std::size_t(k)];
                const bool empty = slot.column == 0;
                if (empty || level > slot.level) {
                    for (int m = brainSwitchRecordsPerWindow - 1; m > k; --m)
                        records[std::size_t(m)] = records[std::size_t(m - 1)];
                    slot = {level, hz, r, hitColumn, level / 3.0f};
                    break;
                }
            }
        }
    }
    return table;
}

int QX3DSpectrum::takeSpectrum(int source, std::vector<float>& out)
{
    const QXFFT& fft = QXFFT::sharedQXFFT();
    std::vector<double> values(std::size_t(QXFFT::bufferLength / 2));
    int count = 0;
    float scale = 1.0f;
    if (isChannel(source)) {
        count = fft.copySpectrum(spectrumBufferOfChannel(source), values.data(), int(values.size()));
    } else {
        count = fft.copyCoherence(QXFFT::pairOfSource(source), fft.analysedPoints(), values.data(),
                                  int(values.size()));
        scale = 1.0f / coherenceHeightDivisor;
    }
    out.resize(std::size_t(count));
    for (int k = 0; k < count; ++k)
        out[std::size_t(k)] = float(values[std::size_t(k)]) * scale;
    return count;
}

// Writes the spectrum as the source's newest row: into a new row when the position moved since the
// source's last step, over the newest row otherwise.
void QX3DSpectrum::storeRow(int source, const std::vector<float>& spectrum, int count, int position)
{
    History& h = histories[std::size_t(source)];
    if (h.capacity < count) {
        h.capacity = QXFFT::bufferLength / 2;
        h.values.assign(std::size_t(historyRows * h.capacity), 0.0f);
        h.counts.fill(0);
    }
    if (!h.started || position != h.lastPosition) {
        h.newest = (h.newest + 1) % historyRows;
        h.started = true;
        h.lastPosition = position;
    }
    std::copy(spectrum.begin(), spectrum.begin() + count,
              h.values.begin() + std::ptrdiff_t(h.newest) * h.capacity);
    h.counts[std::size_t(h.newest)] = count;
}

const float* QX3DSpectrum::historyRow(const History& h, int age, int& count) const
{
    count = 0;
    if (!h.started || h.capacity == 0)
        return nullptr;
    const int index = ((h.newest - age) % historyRows + historyRows) % historyRows;
    count = h.counts[std::size_t(index)];
    return h.values.data() + std::ptrdiff_t(index) * h.capacity;
}

// Peak history of a channel: on a new position the rows move down one place; row 0 gets the analysis'
// newest three peaks.
void QX3DSpectrum::shiftPeakHistory(int channel, bool advance, int points, int sampleRate, bool band512)
{
    auto& block = PeakfftPowerFV[channel];
    if (advance) {
        for (int r = historyRows - 1; r > 0; --r)
            for (int p = 0; p < 3; ++p) {
                PeakRecord moved = block[r - 1][p].load();
                moved.row = r;
                block[r][p].store(moved);
            }
    }
    const std::atomic<float>* table = peakTableOfChannel(channel);
    const double binHz = points > 0 ? double(sampleRate) / points : 0.0;
    for (int p = 0; p < 3; ++p) {
        const float value = table[2 * p].load(std::memory_order_relaxed);
        const float hz = table[2 * p + 1].load(std::memory_order_relaxed);
        const int bin = band512 ? covFFT512BandFtoN(hz) : (binHz > 0.0 ? int(std::lround(hz / binHz)) : 0);
        block[0][p].store({value, hz, bin, 0, value});
    }
}

void QX3DSpectrum::fillGrids(int oneBrain, int towBrain, int shapeC, int startFrequency, bool band512)
{
    const int columns = std::clamp(grid.load(std::memory_order_relaxed), 1, size);
    for (const GridSource& gs : layoutSources(oneBrain, towBrain, shapeC)) {
        HeightGrid& target = grids[std::size_t(gs.grid)];
        const History& h = histories[std::size_t(gs.source)];
        for (int age = 0; age < historyRows; ++age) {
            auto& line = target[std::size_t(age)];
            line.fill(0.0f);
            int count = 0;
            const float* bins = historyRow(h, age, count);
            if (!bins || count == 0)
                continue;
            const DisplayRows rows = displayRowsOf(bins, count, startFrequency, band512);
            // Column grid - 1 - r shows display row r, so 0 Hz lies at the high-y edge.
            for (int r = 0; r < columns; ++r)
                line[std::size_t(columns - 1 - r)] = rows[std::size_t(r)].value;
        }
    }
    for (auto& line : grids[baseGrid])
        line.fill(baseLevel);
}

void QX3DSpectrum::getposition(int oneBrain, int towBrain, int shapeC, int startFrequency, Target target)
{
    const std::vector<GridSource> layout = layoutSources(oneBrain, towBrain, shapeC);
    if (layout.empty())
        return;
    const int position = ploop.load(std::memory_order_relaxed);
    const int sampleRate = SampleSpeed.load(std::memory_order_relaxed);
    const bool band512 = fftp512Band.load(std::memory_order_relaxed) != 0;

    // Copy the analysis results first, outside the mapper's lock.
    struct Taken {
        int source;
        int count;
        std::vector<float> spectrum;
    };
    std::vector<Taken> taken;
    for (const GridSource& gs : layout) {
        Taken t{gs.source, 0, {}};
        t.count = takeSpectrum(gs.source, t.spectrum);
        taken.push_back(std::move(t));
    }

    std::lock_guard lock(mutex);
    for (const Taken& t : taken) {
        const History& h = histories[std::size_t(t.source)];
        const bool advance = !h.started || h.lastPosition != position;
        storeRow(t.source, t.spectrum, t.count, position);
        const int points = t.count * 2;
        if (isChannel(t.source))
            shiftPeakHistory(t.source, advance, points, sampleRate, band512);

        const DisplayRows rows = displayRowsOf(t.spectrum.data(), t.count, startFrequency, band512);
        const HitTable hits = hitRecords(t.source, rows, points, sampleRate);
        auto& table = hitTableOf(t.source);
        for (int w = 0; w < int(hits.size()); ++w)
            for (int k = 0; k < brainSwitchRecordsPerWindow; ++k)
                table[w][k].store(hits[std::size_t(w)][std::size_t(k)]);
    }
    if (target == Target::Display)
        fillGrids(oneBrain, towBrain, shapeC, startFrequency, band512);
}

void QX3DSpectrum::initPosition()
{
    std::lock_guard lock(mutex);
    for (HeightGrid& g : grids)
        for (auto& line : g)
            line.fill(0.0f);
    for (auto& line : positAX)
        std::fill(std::begin(line), std::end(line), 0.0f);
    for (History& h : histories) {
        h.counts.fill(0);
        h.newest = 0;
        h.started = false;
    }
    for (int s = 0; s < brainSourceCount; ++s)
        for (int w = 0; w < brainSwitchWindowCount; ++w)
            for (int k = 0; k < brainSwitchRecordsPerWindow; ++k) {
                peakSWfftCount[s][w][k].store({});
                peakSWcoherenceCount[s][w][k].store({});
            }
    for (auto& block : PeakfftPowerFV)
        for (auto& row : block)
            for (auto& record : row)
                record.store({});
    for (auto& t : timeRec)
        t.store(0, std::memory_order_relaxed);
    for (auto& g : displayGainX)
        g.store(1.0f, std::memory_order_relaxed);
}

QX3DSpectrum::HeightGrid QX3DSpectrum::heightGrid(int n) const
{
    if (n < 0 || n >= gridCount)
        return {};
    std::lock_guard lock(mutex);
    return grids[std::size_t(n)];
}

}  // namespace nupo
