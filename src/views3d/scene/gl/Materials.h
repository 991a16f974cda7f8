#pragma once

// Material presets of the 3D views. Main thread, GL context current.

namespace nupo {

// Preset 1..12: colour material and blending off, then front ambient, diffuse (0.1, 0.5, 0.8, 1),
// specular, shininess and emission of the preset; presets 5..8 add the refraction look. Another preset
// changes nothing.
void setMaterial(int preset);
// The additive, glassy look: dark diffuse and specular on both faces, ambient following the current
// colour, additive blending.
void refraction_Bb();

}  // namespace nupo
