#include "midi/common/DataChannels.h"

namespace nupo {

QString dataChannelText(int channel)
{
    static const QStringList texts = {"CH 1",
                                      "CH 2",
                                      "CH 3",
                                      "CH 4",
                                      "Coherence CH 1 & CH 2",
                                      "Coherence CH 3 & CH 4",
                                      "Coherence CH 1 & CH 3",
                                      "Coherence CH 2 & CH 4",
                                      "Coherence CH 1 & CH 4",
                                      "Coherence CH 2 & CH 3"};
    return channel >= 0 && channel < texts.size() ? texts.at(channel) : texts.at(0);
}

QStringList dataChannelItems(int deviceConfig)
{
    switch (deviceConfig) {
        case 0:
            return {"CH 1", "-", "CH 1 Play only", "-", "-", "-", "-", "-"};
        case 1:
            return {"CH 1 (L)",
                    "CH 2 (R)",
                    "CH 1 (L) Play only",
                    "CH 2 (R) Play only",
                    "Coherence",
                    "Coherence Play only",
                    "---",
                    "---"};
        case 2:
            return {"CH 1", "CH 2", "CH 3", "-", "Coherence CH 1 & CH 2", "--", "Coherence CH 1 & CH 3",
                    "---"};
        default: {
            QStringList items;
            for (int c = 0; c < 10; ++c)
                items.append(dataChannelText(c));
            return items;
        }
    }
}

}  // namespace nupo
