#include "shared/BrainSources.h"

namespace nupo {

QStringList brainSourceItems(int deviceConfig)
{
    switch (deviceConfig) {
        case 0:
            return {"CH 1", "---", "---", "---", "---", "---"};
        case 1:
            return {"CH 1 (L)", "CH 2 (R)", "--", "---", "Coherence", "----"};
        case 2:
            return {"CH 1", "CH 2", "CH 3", "--", "Coherence", "---"};
        default:
            return {"CH 1",
                    "CH 2",
                    "CH 3",
                    "CH 4",
                    "CH 1 & CH 2 Coherence",
                    "CH 3 & CH 4 Coherence",
                    "CH 1 & CH 3 Coherence",
                    "CH 2 & CH 4 Coherence",
                    "CH 1 & CH 4 Coherence",
                    "CH 2 & CH 3 Coherence"};
    }
}

}  // namespace nupo
