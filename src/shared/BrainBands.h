#pragma once

// The eight brain bands that the sound, movie and wave-surface players sort a peak frequency into.

#include <array>

namespace nupo {

enum BrainBand { BandEye, BandDelta, BandTheta, BandAlpha, BandSMR, BandBetaM, BandBeta, BandGamma };
inline constexpr int brainBandCount = 8;

// Lower edges of the bands in Hz, and the upper edge of Gamma: band b covers edge b <= f < edge b + 1.
inline constexpr std::array<float, brainBandCount + 1> brainBandEdges{0.0f,  2.0f,  4.0f,  8.0f, 12.0f,
                                                                      15.0f, 20.0f, 30.0f, 40.0f};

// The band of a frequency in Hz. A frequency at or below 0, at or above 40 Hz, or not a number counts as
// Eye (so does 0 < f < 2).
int brainBandOfFrequency(float hz);

// "Eye", "Delta", "Theta", "Alpha", "SMR", "BetaM", "Beta", "Gamma"; empty for another number.
const char* brainBandName(int band);

// The names the players' windows give each band's controls (outlets and actions), Eye .. Gamma: the
// band's indicator button and its slider.
inline constexpr const char* brainBandButtonNames[brainBandCount] = {
    "FrameEyeBS", "FrameDeltaBS", "FrameThetaBS", "FrameAplhaBS",
    "FrameSMRBS", "FrameBetaMBS", "FrameBetaBS",  "FrameGammaBS"};
inline constexpr const char* brainBandSliderNames[brainBandCount] = {
    "EyedeltaLSlider", "EyedeltaHSlider", "ThetaLSlider", "ThetaHSlider",
    "AlphaLSlider",    "AlphaHSlider",    "BetaLSlider",  "BetaHSlider"};

}  // namespace nupo
