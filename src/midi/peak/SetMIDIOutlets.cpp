#include "midi/peak/SetMIDIOutlets.h"

namespace nupo {

// --- Names and lists ---------------------------------------------------------------------------------------

QString setMIDIOutletName(SetMIDIOutlet outlet)
{
#define NUPO_SETMIDI_NAME_CONTROL(name) QStringLiteral(#name),
#define NUPO_SETMIDI_NAME_PAIR(name) QStringLiteral(#name "Field"), QStringLiteral("displayHere" #name),
    static const QStringList names = {NUPO_SETMIDI_CONTROLS(NUPO_SETMIDI_NAME_CONTROL)
                                          NUPO_SETMIDI_FIELD_PAIRS(NUPO_SETMIDI_NAME_PAIR)};
#undef NUPO_SETMIDI_NAME_CONTROL
#undef NUPO_SETMIDI_NAME_PAIR
    const int index = int(outlet);
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

QStringList timingItems()
{
    return {"realtime (0.01 second)",   "480 (every 0.125 second)",
            "240 (every 0.25 second)",  "120 (every 0.5 second)",
            "110 (every 0.545 second)", "100 (every 0.6 second)",
            "90 (every 0.667 second)",  "80 (every 0.75 second)",
            "70 (every 0.857 second)",  "60 (every 1 second)",
            "30 (every 2 second)",      "20 (every 3 second)",
            "15 (every 4 second)",      "others..."};
}

}  // namespace nupo
