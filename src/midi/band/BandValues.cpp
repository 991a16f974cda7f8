#include "midi/band/BandValues.h"

#include "midi/common/LinearMap.h"

namespace nupo {

BandNote bandNote(float value, float gain)
{
    const float x = gain * value;
    const int note = truncatedValue(x);
    const float fraction = (x - float(note)) * 100.0f;
    return {note, truncatedValue(fraction)};
}

}  // namespace nupo
