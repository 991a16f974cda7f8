#pragma once

// Colour tables and material presets of the 2D spectrum window. Every colour it shows is a material:
// five 256-entry colour ramps (palettes 1..5, with the working ramp as palette 0), a 101-step shade table
// for every ramp entry, the lookups the renderers call per vertex, and twelve material presets. The
// tables are built once at the window's GL set-up; components above 1 are kept as computed (GL
// saturates the lit result).

namespace nupo {

inline constexpr int colourEntries = 256;
inline constexpr int colourShades = 101;

using ColourRamp = float[colourEntries][4];
using ShadeTable = float[colourEntries][colourShades][4];

inline ColourRamp difmatAXZ = {}, difambAXZ = {};
inline ColourRamp difmatAXZ1 = {}, difmatAXZ2 = {}, difmatAXZ3 = {}, difmatAXZ4 = {}, difmatAXZ5 = {};
inline ColourRamp difambAXZ1 = {}, difambAXZ2 = {}, difambAXZ3 = {}, difambAXZ4 = {}, difambAXZ5 = {};
inline ShadeTable difmatFAXZ = {};
inline ShadeTable difmatFAX1Z = {}, difmatFAX2Z = {}, difmatFAX3Z = {}, difmatFAX4Z = {}, difmatFAX5Z = {};

// The ramp of a style 1..5 at entry i (red, green, blue); and the base colour of its shade table.
void colourRampEntry(int style, int i, float rgb[3]);
void shadeBaseEntry(int style, int i, float rgb[3]);

// Working ramps from a style (1..5; another style keeps them), then the working shade table.
void resetColorXZZ(int style);
// Working shade table from a style (1..5; another style keeps it).
void resetBColorXZ(int style);
// Builds palettes 1..5 of the ramps, then of the shade tables; the working tables end on style 5.
void reInitColorXZZ();
void reInitBColorXZ();
// Working ambient ramp = working diffuse ramp.
void setColorXZ();

// Palette p (clamped to 0..5; 0 the working tables).
const ColourRamp& diffuseRamp(int palette);
const ColourRamp& ambientRamp(int palette);
const ShadeTable& shadeTable(int palette);
// Entry of an index: index + 1 clamped to 0..255. Shade clamped to 0..100.
int colourEntryOf(int index);
int colourShadeOf(int shade);
// A colour index or shade computed in floating point, truncated toward zero after clamping in floating
// point (so that huge or NaN values cannot overflow the conversion); NaN reads 0.
int colourIndexOf(double value);

// Front diffuse material from the working ramp.
void groen_textureNXZ(int index);
// Front diffuse and ambient material from a palette's ramps.
void groen_CtextureNXZ(int index, int palette);
// Front diffuse and ambient material from a palette's shade table.
void groen_CBtextureNXZ(int index, int shade, int palette);

// Material presets 1..12 (0 and others change nothing); 5..8 add the additive refraction look.
void setMaterial2D(int preset);
void refraction_Bb2D();

}  // namespace nupo
