#pragma once

namespace nupo {

// The 512-band layout of the 2D spectrum window: which bins of a 512-point spectrum each of the 64
// display columns shows. A spectrum column shows the largest value of its bins (one bin at low
// frequencies, growing groups higher up); a coherence column the larger of at most two bins.

struct SpectrumColumnBins {
    int first;
    int last;   // a range first..last, both included
    int extra;  // one more bin outside the range, or -1
};
struct CoherenceColumnBins {
    int first;
    int second;  // -1 for a single bin
};

// Display column clamped to 0..63.
const SpectrumColumnBins& waterfallSpectrumBins(int column);
const CoherenceColumnBins& waterfallCoherenceBins(int column);

// A column's value from a copy of the spectrum's bins (bins at or beyond `count` read 0).
double spectrumColumnValue(const double* bins, int count, int column);
// A column's coherence ÷ 20 from a copy of the coherence percentages of the bins.
double coherenceColumnValue(const double* percent, int count, int column);

// Coherence modes 0..5: the analysis pair each reads (CH 1 & 2, 3 & 4, 1 & 3, 2 & 4, 2 & 3, 1 & 4) and
// the source index (C, F, G, H, J, I) whose grid it fills; -1 for another mode.
int coherenceModeSource(int mode);

// The coherence of the mode's pair at a bin of a 512-point spectrum, ÷ 20 (0..5). 0 for another mode.
double CoherenceXB(int bin, int mode);
// Stores the coherence value of a display column into [row][column] of the mode's 512-band grid; the
// row is clamped to 0..127, the store column to 0..63; a display column above 63 takes bin 255.
void putToM512BandCoherenceDataB(int row, int storeColumn, int displayColumn, int mode);

}  // namespace nupo
