#include "midi/peak/PeakMidiMap.h"

#include <algorithm>
#include <cmath>

namespace nupo {

double timingInterval(int index, float tempo)
{
    switch (index) {
        case 1:
            return 0.125;
        case 2:
            return 0.25;
        case 3:
            return 0.5;
        case 4:
            return double(0.545f);
        case 5:
            return double(0.6f);
        case 6:
            return double(0.667f);
        case 7:
            return 0.75;
        case 8:
            return double(0.857f);
        case 9:
            return 1.0;
        case 10:
            return 2.0;
        case 11:
            return 3.0;
        case 12:
            return 4.0;
        case 13:
            return 60.0 / double(std::max(1.0f, std::isfinite(tempo) ? tempo : 1.0f));
        default:
            return 0.0;
    }
}

float clampTempo(float tempo)
{
    if (!std::isfinite(tempo))
        return 1.0f;
    return std::clamp(tempo, 1.0f, 240.0f);
}

}  // namespace nupo
