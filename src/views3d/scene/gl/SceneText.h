#pragma once

// Texts inside the 3D band-spectrum scene: bitmap characters at GL raster positions, so they keep their
// pixel size whatever the camera does and take the colour of the lit material set just before. Main
// thread, GL context current.

#include <string>

namespace nupo {

// Raster position (x, y) in the current frame, then the characters of the text.
void outputS(float x, float y, const char* text);     // Times Roman 10
void outputSS(float x, float y, const char* text);    // Helvetica 12
void outputSSS(float x, float y, const char* text);   // Helvetica 12
void outputSSSS(float x, float y, const char* text);  // Times Roman 24

// Title of source 0..9 ("Left CH 1" .. "Coherence CH 2 & CH 3"); null for another source.
const char* sourceTitle(int source);
// The title of a source tile at (x, y, z), a dark shadow under a bright copy; another source draws nothing.
void labelSphereBig(float x, float y, float z, int source);

// One label of the scene's label table: ruler edges and band letters (0..9), the digits 0..8 (10..18),
// power scale texts (20..22 channel, 30..32 coherence), "Left brain" and " Right brain" (40, 41) and the
// high-frequency edges (50..66). Another code draws nothing. The third argument is not used.
void labelfftBig(float x, float y, float unused, int code, int channel);
// A ruler label at a row, coloured by colourMode (0 palette p, 1 variants of palette q, other: as is),
// skipped when it lies less than `fDisplayDA` rows below the last one drawn (except "Hz", code 9).
void drawCharInFFT(int code, int row, int colourMode, float palette, float variantPalette);

// Power scale text of level 0..2: percent for coherence, microvolts in log or linear form for a channel
// 0..3 (another channel reads as 2; a display gain of 0 or below as 1).
void powerNumberDraw(float x, float y, int channel, int level, int coherence);

// Absolute time of a sample position ("hh:mm:ss.mmm", the plot windows' time stamp) and age of a sample
// distance ("-m:ss.mmm" or "-s.mmm", whole hours dropped) at `SampleSpeed`.
std::string timeText(long samples);
std::string ageText(long samples);
// Time and age of history row 8k (k 0..8; another k draws nothing) from `timeRec`.
void printTimeRec(float x, float y, int k);
void printTimeXRec(float x, float y, int k);

}  // namespace nupo
