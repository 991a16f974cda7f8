#pragma once

// The texts the 3D band-spectrum view lays over its scene: channel and band labels, brain-switch hit
// counts and window bounds, peak lines, and the information and camera texts. Built from the analysis
// tables; no GL.

#include "views3d/spectrum/SpectrumCamera.h"

#include <QString>

#include <array>

namespace nupo {

// The 22 label slots, in the order updateBrainString fills them.
enum class LabelSlot {
    Left,
    Left1,
    Left3,
    Right,
    Right2,
    Right4,
    Coherence,
    Coherence12,
    Coherence34,
    Coherence13,
    Coherence24,
    Coherence14,
    Coherence23,
    Gamma,
    BetaH,
    BetaM,
    SMR,
    Alpha,
    Theta,
    Delta,
    Eye,
    AllBand,
    Count
};
inline constexpr int labelSlotCount = static_cast<int>(LabelSlot::Count);
// The fixed text of a label slot.
const QString& labelText(LabelSlot slot);

// Hit counts of the brain-switch windows of source s, one line per slot 0..9 (window k in slot k, the
// header in slot 9), from peakSWfftCount (coherence false) or peakSWcoherenceCount. A source outside
// 0..9 gives empty lines.
std::array<QString, 10> brainSwitchCountLines(int source, bool coherence);
// Bounds of the same windows from record s of brainSWX; values scaled by 10 (and the coherence texts)
// while the view shows a channel pair (shapeChange 6..11).
std::array<QString, 10> brainSwitchBoundsLines(int source, int shapeChange);
// The same from a copy of the record (brainSwitchRecordLength values); null gives empty lines.
std::array<QString, 10> brainSwitchBoundsLines(const float* record, int shapeChange);
// The three newest peaks of channel 0..3 divided by its display gain.
QString peakLine(int channel);

// "(%0.0f x %0.0f) \n%s \n%s": the view size and the GL renderer and version.
QString infoText(double width, double height, const QString& renderer, const QString& version);
// "Camera at (...) looking at (...) with ... aperture".
QString cameraText(const CameraRecord& camera);
QString helpText();
QString messageText();

}  // namespace nupo
