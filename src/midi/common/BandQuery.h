#pragma once

// The band query as both MIDI mappers use it: the analysis's band value of a data channel 0..9, divided
// by the channel's display gain for the channels 0..3 (coherence pairs are not gained).

namespace nupo {

// The display gain of channel 0..3 as a divisor: 1 where it is 0 or not finite.
float bandGain(int channel);
// A band value of a data channel divided by its gain (channels 0..3 only).
float gainedBandValue(int channel, float value);
// The band search of a data channel, gained, and the frequency of the peak that search found.
float bandPeakValue(int channel, float lowF, float highF, int mode);
float bandPeakFrequency();

}  // namespace nupo
