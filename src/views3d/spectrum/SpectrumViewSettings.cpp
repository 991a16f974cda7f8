#include "views3d/spectrum/SpectrumViewSettings.h"

namespace nupo {

SpectrumViewLinks& spectrumViewLinks()
{
    static SpectrumViewLinks links;
    return links;
}

}  // namespace nupo
