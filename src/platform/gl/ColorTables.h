#pragma once

// Colour tables of the 3D spectrum scene (the X family): a colour index 0..255 and a palette 0..5 pick
// an RGBA entry that becomes the front material colour; the variant tables hold 101 brightness steps of
// each entry (k / 50 times the colour, k = 0..100). Palette 0 is the working set, which keeps the ramp
// built last. Built once at the engine's GL set-up, then only read. Main thread.

#include "platform/gl/ColorRamps.h"

namespace nupo {

using ColorRamp = float[ColorRamps::entries][4];
using ColorVariants = float[ColorRamps::entries][ColorRamps::variants][4];

inline ColorRamp difmatAX = {}, difambAX = {};
inline ColorRamp difmatAX1 = {}, difmatAX2 = {}, difmatAX3 = {}, difmatAX4 = {}, difmatAX5 = {};
inline ColorRamp difambAX1 = {}, difambAX2 = {}, difambAX3 = {}, difambAX4 = {}, difambAX5 = {};
inline ColorVariants difmatFAX = {};
inline ColorVariants difmatFAX1 = {}, difmatFAX2 = {}, difmatFAX3 = {}, difmatFAX4 = {}, difmatFAX5 = {};

// Builds every X table: modes 1..5 into palettes 1..5, the working set ends as mode 5.
void reInitColorX();
// Builds the variant tables of palettes 1..5.
void reInitBColorX();
// Fills the working diffuse (alpha 1) and ambient (RGB only) ramps with mode 1..5, then the working
// variant table; another mode writes nothing.
void resetColorX(int mode);
// Fills the working variant table with mode 1..5; another mode writes nothing.
void resetBColorX(int mode);
// Copies the working diffuse ramp into the working ambient ramp.
void setColorX();

// Front diffuse, then ambient material colour of entry index + 1 (clamped to 0..255) of a palette
// (clamped to 0..5).
void groen_CtextureNX(int index, int palette);
// Front diffuse and ambient from variant k (clamped to 0..100) of that entry.
void groen_CBtextureNX(int index, int k, int palette);
// Front diffuse only, from the working ramp.
void groen_textureNX(int index);
// The RGBA colour those two set as front diffuse (and ambient, with the same RGB).
const float* colour_CtextureNX(int index, int palette);
const float* colour_CBtextureNX(int index, int k, int palette);

// Helpers shared with the wave surface's tables.
namespace ColorTableDetail {
// Entry index + 1, clamped to 0..255.
int entry(int index);
// Palette clamped to 0..5; k clamped to 0..100.
int palette(int palette);
int variant(int k);
// diffuse = colour with alpha 1, ambient = colour's RGB (alpha untouched), for every entry; false and
// nothing written when the ramp has no such mode.
bool fillRamp(bool (*ramp)(int, int, ColorRamps::RGB&), int mode, ColorRamp& diffuse, ColorRamp& ambient);
// variants[i][k] = colour(i) x k / 50, alpha 1 (scaled = false: the colour itself for every k).
bool fillVariants(bool (*ramp)(int, int, ColorRamps::RGB&), int mode, ColorVariants& variants,
                  bool scaled = true);
void copyRamp(const ColorRamp& from, ColorRamp& diffuse, ColorRamp& ambient);
void copyVariants(const ColorVariants& from, ColorVariants& to);
void setFrontMaterial(const float* diffuse, const float* ambient);
}  // namespace ColorTableDetail

}  // namespace nupo
