#pragma once

#include "platform/gl/BitmapFont.h"

#include <QRect>

#include <string>
#include <vector>

namespace nupo {

// Text of the 2D spectrum window: bitmap text at model-space points (glRasterPos2f), so it keeps its
// pixel size at any zoom, and the numbered labels and captions of the waterfall.

// Times Roman 10, Times Roman 24, and Helvetica 10 / 12 / 18 by the view's width (below 800, below 1300,
// otherwise).
void outputSZ(float x, float y, const char* text);
void outputBig(float x, float y, const char* text);
void outputSSZ(float x, float y, const char* text);

// Texts of one kind (the band captions, the clock times of the history rows) that must not write over
// one another where the picture draws them close together: each is drawn only where it overlaps none of
// those drawn before it through the same spacing, in window pixels as the GL places the raster. The
// first drawn keeps its place. Start a new one for every pass.
class TextSpacing {
public:
    // Draws text at the model point (x, y) in that font unless it would overlap; true when drawn.
    bool output(GlutBitmapFont font, float x, float y, const char* text);
    // The window rectangles of the texts drawn so far.
    const std::vector<QRect>& taken() const { return taken_; }

private:
    std::vector<QRect> taken_;
};

// outputSSZ's font for the view's width.
GlutBitmapFont viewSizedFont();

// The height-axis value text: for coherence (kind ≠ 0) "0 %", "50 %", "100 %"; for a channel's spectrum
// 0, 10 / gain, 20 / gain microvolts (with log power 0.1, 1, 10 microV). `channel` is the channel 0..3
// the panel shows.
std::string powerNumberText(int channel, int step, int kind);
void powerNumberDrawZ(float x, float y, int channel, int step, int kind);

// Numbered frequency and value labels at (x, y): numbers in Helvetica 18, band names with outputSSZ.
// Labels 20..22 and 30..32 are the value texts of `channel`, each at its own height z of the value axis
// (at one point they would be written over one another); the frequency labels ignore z.
void labelfftBigZ(float x, float y, float z, int label, int channel);
// Band and scale captions in Times Roman 10; "" for a label without a caption. With a spacing, a caption
// that would overlap one drawn before through it is left out.
std::string labelfftBigXText(int label, int channel);
void labelfftBigX(float x, float y, float z, int label, int channel, TextSpacing* spacing = nullptr);

}  // namespace nupo
