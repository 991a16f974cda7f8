#pragma once

// The arithmetic of the band mapper, in single precision as the notes must come out: a band value times
// the setup's gain gives the note (its integer part) and the velocity (its first two decimals).

namespace nupo {

struct BandNote {
    int note = 0;      // may lie outside 0..127; the output layer clamps
    int velocity = 0;  // the same
};

// x = gain x value in single precision; note = x truncated toward zero; velocity = (x - note) x 100,
// truncated toward zero. 62.75 gives 62 and 75; 62.57 (as a float) gives 62 and 56.
BandNote bandNote(float value, float gain);

}  // namespace nupo
