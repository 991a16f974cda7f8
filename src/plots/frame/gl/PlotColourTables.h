#pragma once

namespace nupo {

// A 256-entry RGBA colour table, indexed [entry][component].
using ColourTable = float[256][4];

// Rebuilds a pair of colour tables (`mat`, the one the drawing reads, and `amb`) by a style number:
// 1 to 4 are piecewise-linear ramps written into both tables (the alpha of `amb` is left as it was,
// the alpha of `mat` becomes 1.0); 5 copies entry 0 of `amb` into every entry of both tables. Any other
// style changes nothing.
void buildColourTables(int style, ColourTable& mat, ColourTable& amb);

// The raw-wave view's tables; `difmatA` colours its traces along the time axis.
inline ColourTable difmatA = {};
inline ColourTable difambA = {};

// Rebuilds `difmatA` and `difambA` with a style (see buildColourTables).
void resetColor(int style);
// The style (1..5) the raw-wave tables were last built with; main thread.
inline int difmatAStyle = 1;

// Clamps a colour-table index to 0..255, in floating point first so that NaN, infinities and huge
// values never reach an integer conversion (NaN gives 0).
int clampColourIndex(double index);

}  // namespace nupo
