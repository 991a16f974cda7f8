#pragma once

// Colour tables of the wave surface (the XN family): as the X family of ColorTables.h, but with a white
// mode 0 of its own, so palettes 0..5 are six separately built tables, and ramps that differ in places.

#include "platform/gl/ColorTables.h"

namespace nupo {

inline ColorRamp difmatAXN = {}, difambAXN = {};
inline ColorRamp difmatAXN0 = {}, difmatAXN1 = {}, difmatAXN2 = {}, difmatAXN3 = {}, difmatAXN4 = {},
                 difmatAXN5 = {};
inline ColorRamp difambAXN0 = {}, difambAXN1 = {}, difambAXN2 = {}, difambAXN3 = {}, difambAXN4 = {},
                 difambAXN5 = {};
inline ColorVariants difmatFAXN = {};
inline ColorVariants difmatFAX0N = {}, difmatFAX1N = {}, difmatFAX2N = {}, difmatFAX3N = {}, difmatFAX4N = {},
                     difmatFAX5N = {};

// Builds modes 0..5 into palettes 0..5, then the variant tables.
void reInitColorXZN();
// Builds variant modes 0..5 into the variant tables of palettes 0..5.
void reInitBColorXN();
// Working ramps of mode 0..5, then the working variant table; another mode writes nothing.
void resetColorXZN(int mode);
// Working variant table of mode 0..5 (mode 0: opaque white for every k); another mode writes nothing.
void resetBColorXN(int mode);
// Copies the working diffuse ramp into the working ambient ramp.
void setColorXN();

// As their X twins, except that palette 0 is its own table.
void groen_CtextureNXN(int index, int palette);
void groen_CBtextureNXN(int index, int k, int palette);
// Front diffuse and ambient from the working ramps.
void groen_textureNXN(int index);

}  // namespace nupo
