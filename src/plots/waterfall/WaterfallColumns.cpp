#include "plots/waterfall/WaterfallColumns.h"

#include "analysis/QXFFT.h"
#include "plots/waterfall/WaterfallState.h"

#include <algorithm>
#include <vector>

namespace nupo {

namespace {

// Column 62 covers bins 224..252 and column 63 takes bin 234 again with 254 and 255: bin 253 belongs
// to no column. Columns 11 and 19 repeat the bins of columns 10 and 18.
constexpr SpectrumColumnBins spectrumTable[waterfallColumns] = {
    {0, 0, -1},     {1, 1, -1},     {2, 2, -1},     {3, 3, -1},     {4, 4, -1},     {5, 5, -1},
    {6, 6, -1},     {7, 7, -1},     {8, 8, -1},     {9, 9, -1},     {10, 10, -1},   {10, 10, -1},
    {11, 11, -1},   {12, 12, -1},   {13, 13, -1},   {14, 14, -1},   {15, 15, -1},   {16, 16, -1},
    {17, 17, -1},   {17, 17, -1},   {18, 18, -1},   {19, 19, -1},   {20, 21, -1},   {22, 23, -1},
    {24, 25, -1},   {26, 27, -1},   {28, 29, -1},   {30, 31, -1},   {32, 32, -1},   {33, 33, -1},
    {34, 34, -1},   {35, 36, -1},   {37, 38, -1},   {39, 40, -1},   {41, 42, -1},   {43, 44, -1},
    {45, 46, -1},   {47, 48, -1},   {49, 50, -1},   {51, 51, -1},   {52, 56, -1},   {57, 62, -1},
    {63, 68, -1},   {69, 73, -1},   {74, 79, -1},   {80, 85, -1},   {86, 91, -1},   {92, 97, -1},
    {98, 105, -1},  {106, 106, -1}, {107, 115, -1}, {116, 124, -1}, {125, 133, -1}, {134, 142, -1},
    {143, 151, -1}, {152, 161, -1}, {162, 171, -1}, {172, 181, -1}, {182, 191, -1}, {192, 192, -1},
    {193, 207, -1}, {208, 223, -1}, {224, 252, -1}, {254, 255, 234}};

constexpr CoherenceColumnBins coherenceTable[waterfallColumns] = {
    {0, -1},    {1, -1},   {2, -1},    {3, -1},    {4, -1},    {5, -1},    {6, -1},    {7, -1},
    {8, -1},    {9, -1},   {10, -1},   {10, -1},   {11, -1},   {12, -1},   {13, -1},   {14, -1},
    {15, -1},   {16, -1},  {17, -1},   {17, -1},   {18, -1},   {19, -1},   {20, -1},   {22, -1},
    {24, -1},   {26, -1},  {28, -1},   {30, -1},   {32, -1},   {33, -1},   {34, -1},   {35, -1},
    {37, -1},   {39, -1},  {41, -1},   {43, -1},   {45, -1},   {47, -1},   {49, -1},   {51, -1},
    {52, 54},   {57, 59},  {64, 65},   {69, 71},   {74, 76},   {80, 82},   {86, 88},   {92, 90},
    {98, 100},  {106, -1}, {107, 111}, {116, 120}, {125, 128}, {134, 138}, {143, 147}, {150, 156},
    {162, 160}, {171, -1}, {182, -1},  {192, -1},  {193, -1},  {208, -1},  {213, -1},  {255, -1}};

// Mode 0..5 → analysis pair 0..5 (the pair numbers of QXFFT::coherence are the mode numbers) and the
// source whose grid the mode fills.
constexpr int modeSources[6] = {2, 5, 6, 7, 9, 8};

int clampColumn(int column)
{
    return std::clamp(column, 0, waterfallColumns - 1);
}

double binValue(const double* bins, int count, int bin)
{
    return bin >= 0 && bin < count ? bins[bin] : 0.0;
}

}  // namespace

const SpectrumColumnBins& waterfallSpectrumBins(int column)
{
    return spectrumTable[clampColumn(column)];
}

const CoherenceColumnBins& waterfallCoherenceBins(int column)
{
    return coherenceTable[clampColumn(column)];
}

double spectrumColumnValue(const double* bins, int count, int column)
{
    const SpectrumColumnBins& group = waterfallSpectrumBins(column);
    double best = binValue(bins, count, group.extra >= 0 ? group.extra : group.first);
    for (int bin = group.first; bin <= group.last; ++bin)
        best = std::max(best, binValue(bins, count, bin));
    return best;
}

double coherenceColumnValue(const double* percent, int count, int column)
{
    const CoherenceColumnBins& group = waterfallCoherenceBins(column);
    double best = binValue(percent, count, group.first);
    if (group.second >= 0)
        best = std::max(best, binValue(percent, count, group.second));
    return best / 20.0;
}

int coherenceModeSource(int mode)
{
    return mode >= 0 && mode < 6 ? modeSources[mode] : -1;
}

double CoherenceXB(int bin, int mode)
{
    if (coherenceModeSource(mode) < 0)
        return 0.0;
    return QXFFT::sharedQXFFT().coherence(mode, 512.0, bin) / 20.0;
}

void putToM512BandCoherenceDataB(int row, int storeColumn, int displayColumn, int mode)
{
    const int source = coherenceModeSource(mode);
    if (source < 0)
        return;
    const CoherenceColumnBins& group = waterfallCoherenceBins(displayColumn);
    double value = CoherenceXB(group.first, mode);
    if (group.second >= 0)
        value = std::max(value, CoherenceXB(group.second, mode));
    (*band512Grids[source])[std::clamp(row, 0, waterfallRows - 1)][clampColumn(storeColumn)] = value;
}

}  // namespace nupo
