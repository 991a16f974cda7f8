#pragma once

// The frequency ruler beside each spectrum tile: a translucent strip, marker cubes at the band edges and
// the edge labels, placed on the spectrum's rows (linear bins, or the 64-row 512-band layout) with 0 Hz at
// row 64 and higher frequencies on lower rows. Main thread, GL context current.

namespace nupo {

// The marks of one ruler in drawing order: rows with the label code (labels) or the cube size mode
// (cubes). Marks that fall outside the drawn range are already left out.
struct RulerMarks {
    struct Mark {
        int row;
        int code;
    };
    int count = 0;
    Mark marks[64];

    void add(int row, int code) { marks[count++] = {row, code}; }
};

// Spectrum rows per hertz at an FFT size: (fftpA div 128) / (`SampleSpeed` / 128); 0 without a rate.
float rowsPerHertz(int fftpA);
// Least row distance between two drawn marks: 6 in the one-set display modes, else 4, doubled in a view
// narrower than 700 pixels.
float rulerSpacing();
// Marker cubes of the band edges (code: the cube's size mode 1) and, with lineMode non-zero, the small
// cubes offered at every second row (code 0).
RulerMarks frequencyLineMarks(int fftpA, int band512, int lineMode, int startFrequency);
// Labels with their codes (see labelfftBig).
RulerMarks frequencyLabelMarks(int fftpA, int band512, int startFrequency);

// The strip and the marker cubes; lineMode 1 a wide strip and spacing-exempt cubes, 0 a thin strip and
// spaced half-size cubes.
void drawFrequencyLine(int fftpA, int fftp512BandA, int textureMode, int lineModeA, float PColor_valueA,
                       float FColor_valueA, int startFrequency);
void drawFrequencyLabel(int fftpA, int fftp512BandA, int textureMode, float PColor_valueA, float FColor_value,
                        int startFrequency);

}  // namespace nupo
