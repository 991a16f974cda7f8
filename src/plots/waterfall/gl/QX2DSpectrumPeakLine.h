#pragma once

namespace nupo {

// The peak line's state, which its frames keep (one frame of the class draws at a time):
// Scale references of the peak line, CH 1..CH 4 (1 again once the history has been emptied).
inline float peakAmpLR[4] = {};
// Running sums of the averaged modes, per channel CH 1..CH 4 and display column, and their counts.
inline double peakAmpTotal[4][64] = {};
inline int countloop[4][64] = {};
// Band (0..8) of the top peak at the last left-channel (CH 1, CH 3) and right-channel (CH 2, CH 4) call.
inline int peakFB = 0;
inline int peakFA = 0;

// The horizontal peak line of the two-panel waterfall: the newest row of a channel as 64 bars along the
// frequency axis, over band stripes of which the stripe holding the channel's top peak is lit; the left
// channel's bars grow from a base line, the right channel's hang from a top line. Modes (display
// settings): real time, relative to the pair's top peak, running average, running average relative to
// its maximum. The left channel's call also draws the band captions, the level marks, the scale labels
// and the mode caption. It also places the window's light. It draws from the frame's copy
// (drawnWaterfallFrame): the newest history rows, the top peaks and the display settings.
class QX2DSpectrumPeakLine {
public:
    static QX2DSpectrumPeakLine& sharedQX2DSpectrumPeakLine();

    // ch: 0..3 for CH 1..CH 4; BrainwaveMode: the two-panel flag; PColor, FColor: colour schemes.
    void DrawHorizontalLine(int ch, int BrainwaveMode, int textureMode, int PColor, int FColor);

    // The band 0..8 whose stripe holds a frequency in the layout (band 0 also when none does), and
    // whether any band 1..8 holds it.
    static int bandOfFrequency(float hertz, bool band512);
    // The height of column j as mode m shows it (averaging step included), for channel ch.
    float columnHeight(int ch, int j, int mode, bool paused, int sinceStart);
    // The scale references back to 1 (the history was emptied).
    static void restartScale();

private:
    QX2DSpectrumPeakLine() = default;

    float columnValue(int ch, int j) const;
    float averaged(int ch, int j, float v, bool paused, int sinceStart, int twoWindows);
    void drawStripes(int ch, float peakHertz, bool band512);
    void drawColumnLabels(int j, bool band512);
    void drawScaleLabels(int ch, int mode);
};

}  // namespace nupo
