#include "plots/waterfall/QX2DSpectrum.h"

#include "analysis/QXFFT.h"
#include "plots/waterfall/WaterfallColumns.h"
#include "shared/AnalysisState.h"

#include <algorithm>
#include <cstring>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Selections 1..12: the sources they show, upper panel first.
constexpr QX2DSpectrum::Selection selectionTable[waterfallSelections] = {
    {2, {0, 1}},  {2, {3, 4}},  {1, {0, -1}}, {1, {1, -1}}, {1, {3, -1}}, {1, {4, -1}},
    {1, {2, -1}}, {1, {5, -1}}, {1, {6, -1}}, {1, {7, -1}}, {1, {8, -1}}, {1, {9, -1}}};

// Coherence mode (and analysis pair) of each source; -1 for the channel sources.
constexpr int coherenceModeOfSource[waterfallSources] = {-1, -1, 0, -1, -1, 1, 2, 3, 5, 4};

int columnsInUse()
{
    return std::clamp(gridZ, 1, waterfallColumns);
}

template <class Grid>
void clearGrid(Grid& grid)
{
    std::memset(&grid, 0, sizeof grid);
}

}  // namespace

QX2DSpectrum& QX2DSpectrum::sharedQX2DSpectrum()
{
    static QX2DSpectrum* instance = new QX2DSpectrum;  // lives to process end
    return *instance;
}

bool QX2DSpectrum::isCoherenceSource(int source)
{
    return source >= 0 && source < waterfallSources && coherenceModeOfSource[source] >= 0;
}

int QX2DSpectrum::peakBlockOfSource(int source)
{
    switch (source) {
        case 0:
            return 0;
        case 1:
            return 1;
        case 3:
            return 2;
        case 4:
            return 3;
        default:
            return -1;
    }
}

QX2DSpectrum::Selection QX2DSpectrum::sourcesOfSelection(int selection)
{
    if (selection < 1 || selection > waterfallSelections)
        return {};
    return selectionTable[selection - 1];
}

const QX2DSpectrum::FloatGrid* QX2DSpectrum::heightGrid(int n) const
{
    return const_cast<QX2DSpectrum*>(this)->heightGrid(n);
}

QX2DSpectrum::FloatGrid* QX2DSpectrum::heightGrid(int n)
{
    FloatGrid* const grids[heightGridCount] = {&positZ,   &positBZ,  &positCZ,  &positDZ,  &positEZ,
                                               &positFZ,  &positGZ,  &positHZ,  &positIZ,  &positJZ,
                                               &positXZ,  &positXBZ, &positXCZ, &positXDZ, &positXEZ,
                                               &positXFZ, &positXGZ, &positXHZ, &positXIZ, &positXJZ};
    return n >= 0 && n < heightGridCount ? grids[n] : nullptr;
}

QX2DSpectrum::DoubleGrid* QX2DSpectrum::linearGrid(int source)
{
    DoubleGrid* const grids[waterfallSources] = {
        &complexDataA3B, &complexDataB3B, &complexDataC3B, &complexDataD3B, &complexDataE3B,
        &complexDataF3B, &complexDataG3B, &complexDataH3B, &complexDataI3B, &complexDataJ3B};
    return source >= 0 && source < waterfallSources ? grids[source] : nullptr;
}

const QX2DSpectrum::DoubleGrid* QX2DSpectrum::linearGrid(int source) const
{
    return const_cast<QX2DSpectrum*>(this)->linearGrid(source);
}

void QX2DSpectrum::initPositionZ()
{
    // Every column, not only those in use, so that a larger grid size later shows no old rows.
    clearGrid(forceZ);
    clearGrid(velocZ);
    for (int n = 0; n < waterfallSources; ++n) {
        clearGrid(*heightGrid(n));
        clearGrid(*linearGrid(n));
        clearGrid(*band512Grids[n]);
    }
    std::fill(std::begin(timeRecZ), std::end(timeRecZ), 0);
    for (auto& block : PeakfftPower)
        for (auto& row : block)
            for (SharedPeakRecord& record : row)
                record.store(PeakRecord{});
    for (int c = 0; c < 4; ++c)
        displayGainX[c].store(1.0f, relaxed);
    ++waterfallHistoryGeneration;
}

void QX2DSpectrum::wavenZ(int selection, int shapeC, int startFrequency, int Coherencehigh)
{
    getpositionZ(selection, shapeC, startFrequency, Coherencehigh);
}

void QX2DSpectrum::movePeakfftPowerFV(int block)
{
    if (block < 0 || block >= 8)
        return;
    auto& rowsOfBlock = PeakfftPower[block];
    for (int r = rows - 2; r >= 0; --r)
        for (int k = 0; k < 3; ++k)
            rowsOfBlock[r + 1][k].store(rowsOfBlock[r][k].load());
    for (int r = 0; r < rows; ++r)
        for (SharedPeakRecord& record : rowsOfBlock[r])
            record.row.store(r, std::memory_order_relaxed);
}

void QX2DSpectrum::takeRowValues(int source, int startFrequency, bool band512, double coherenceFactor,
                                 double* values)
{
    const QXFFT& fft = QXFFT::sharedQXFFT();
    const int g = columnsInUse();
    const int mode = coherenceModeOfSource[source];
    int count = 0;
    if (mode < 0) {
        // The channel sources' analysis buffers carry their source index (A 0, B 1, D 3, E 4).
        count = fft.copySpectrum(source, scratch_.data(), static_cast<int>(scratch_.size()));
    } else {
        const double divisor = band512 ? 512.0 : static_cast<double>(fftp.load(relaxed));
        count = fft.copyCoherence(mode, divisor, scratch_.data(), static_cast<int>(scratch_.size()));
    }
    for (int c = 0; c < g; ++c) {
        if (band512) {
            values[c] = mode < 0 ? spectrumColumnValue(scratch_.data(), count, c)
                                 : coherenceColumnValue(scratch_.data(), count, c);
        } else {
            // Bins below 0 read bin 0; bins beyond the spectrum read 0.
            const int bin = std::max(startFrequency + c, 0);
            const double v = bin < count ? scratch_[bin] : 0.0;
            values[c] = mode < 0 ? v : v / coherenceFactor;
        }
    }
}

void QX2DSpectrum::getpositionZ(int selection, int, int startFrequency, int Coherencehigh)
{
    const Selection chosen = sourcesOfSelection(selection);
    if (chosen.count == 0)
        return;
    const bool band512 = fftp512Band.load(relaxed) != 0;
    const double k = band512 ? (Coherencehigh == 0 ? 1.0 : 2.0) : (Coherencehigh == 0 ? 20.0 : 10.0);
    if (selection <= 6)
        for (int i = 0; i < chosen.count; ++i)
            movePeakfftPowerFV(peakBlockOfSource(chosen.sources[i]));

    const int g = columnsInUse();
    for (int i = 0; i < chosen.count; ++i) {
        const int source = chosen.sources[i];
        double values[waterfallColumns];
        takeRowValues(source, startFrequency, band512, k, values);
        // In the 512-band layout coherence is stored unscaled and scaled as it is copied into the
        // heights, so the coherence-high switch rescales the whole history at the next row.
        const double m = band512 && isCoherenceSource(source) ? k : 1.0;
        DoubleGrid& history = band512 ? *band512Grids[source] : *linearGrid(source);
        FloatGrid& heights = *heightGrid(source);
        for (int c = 0; c < g; ++c) {
            const int h = g - 1 - c;
            for (int r = rows - 1; r >= 1; --r) {
                history[r][c] = history[r - 1][c];
                heights[r][h] = static_cast<float>(history[r][c] * m);
            }
            history[0][c] = values[c];
            heights[0][h] = static_cast<float>(values[c] * m);
        }
    }
}

double QX2DSpectrum::complexDataXB(int X, int mX) const
{
    if (mX < 0 || mX > 8)
        return 0.0;
    return QXFFT::sharedQXFFT().getcomplexDoubleFromBuffer(mX, X).x;
}

void QX2DSpectrum::putToM512BandComplexDataB(int row, int iX, int mX)
{
    if (mX < 0 || mX > 8)
        return;
    const SpectrumColumnBins& group = waterfallSpectrumBins(iX);
    double value = complexDataXB(group.extra >= 0 ? group.extra : group.first, mX);
    for (int bin = group.first; bin <= group.last; ++bin)
        value = std::max(value, complexDataXB(bin, mX));
    (*band512Grids[mX])[std::clamp(row, 0, rows - 1)][std::clamp(iX, 0, columns - 1)] = value;
}

void QX2DSpectrum::gonZ()
{
    wavingZ = 1;
    editingZ = 0;
}

void QX2DSpectrum::setupTimeNumberZ(long position)
{
    timeRecZ[0] = static_cast<int>(position);
    for (int k = rows - 1; k >= 0; --k)
        timeRecZ[k + 1] = timeRecZ[k];
}

void setOtherZ(int)
{
    QX2DSpectrum& engine = QX2DSpectrum::sharedQX2DSpectrum();
    engine.drawFaceNormsZ = engine.drawFaceNormsZ == 0 ? 1 : 0;
}

}  // namespace nupo
