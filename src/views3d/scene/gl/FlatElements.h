#pragma once

// Flat decorations of a source tile, drawn one kind at a time at a height over the tile's 64 x 64 area:
// level planes and frames, time-line frames, time markers and labels, power numbers, frequency lines and
// labels. Main thread, GL context current.

namespace nupo {

// Element kinds.
namespace FlatKind {
inline constexpr int floorNormals = 0;  // no drawing: the flat floor mesh's normals
inline constexpr int levelPlane = 1;
inline constexpr int companionFrame = 2;  // level frame over the brain-switch surface
inline constexpr int timeFrame = 3;
inline constexpr int thinTimeFrame = 4;
inline constexpr int frequencyLineWide = 5;
inline constexpr int frequencyLineThin = 6;
inline constexpr int powerNumbers = 11;
inline constexpr int blankLabel = 12;
inline constexpr int timeLabels = 13;
inline constexpr int wideTimeFrame = 14;
inline constexpr int frequencyLabels = 15;
inline constexpr int coherenceNumbers = 21;
inline constexpr int timeMarkers = 23;
inline constexpr int smallTimeMarkers = 24;
}  // namespace FlatKind

// Draws element kind `drawSQflat` at offset (XPA, YPA, ZPA) of the tile's frame, coloured by its height
// with palette PColor_valueA; the frequency lines and labels take textureMode, the palettes and the start
// frequency; the power numbers are those of source BrainCH. NuA has no effect. Any other kind draws
// nothing. Leaves the matrix as it found it and the scene's material current.
void drawSQflat(int drawSQflat, int NuA, int textureMode, float XPA, float YPA, float ZPA,
                float PColor_valueA, float FColor_valueA, int BrainCH, int startFrequency);

}  // namespace nupo
