#pragma once

#include <string>

namespace nupo {

// Text of the 2D spectrum window: bitmap text at model-space points (glRasterPos2f), so it keeps its
// pixel size at any zoom, and the numbered labels and captions of the waterfall.

// Times Roman 10, Times Roman 24, and Helvetica 10 / 12 / 18 by the view's width (below 800, below 1300,
// otherwise).
void outputSZ(float x, float y, const char* text);
void outputBig(float x, float y, const char* text);
void outputSSZ(float x, float y, const char* text);

// The height-axis value text: for coherence (kind ≠ 0) "0 %", "50 %", "100 %"; for a channel's spectrum
// 0, 10 / gain, 20 / gain microvolts (with log power 0.1, 1, 10 microV). `channel` is the channel 0..3
// the panel shows.
std::string powerNumberText(int channel, int step, int kind);
void powerNumberDrawZ(float x, float y, int channel, int step, int kind);

// Numbered frequency and value labels at (x, y): numbers in Helvetica 18, band names with outputSSZ.
// Labels 20..22 and 30..32 are the value texts of `channel`, each at its own height z of the value axis
// (at one point they would be written over one another); the frequency labels ignore z.
void labelfftBigZ(float x, float y, float z, int label, int channel);
// Band and scale captions in Times Roman 10; "" for a label without a caption.
std::string labelfftBigXText(int label, int channel);
void labelfftBigX(float x, float y, float z, int label, int channel);

}  // namespace nupo
