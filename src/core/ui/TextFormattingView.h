#pragma once

class QObject;
class QWidget;

namespace nupo {

// The text-formatting view: its text-colour action recolours the band value field of the band-to-MIDI
// mapper's shared instance (which has no controls, so the colour reaches no visible field).
class TextFormattingView {
public:
    // Sets the text colour of the field `bandField1` of the shared `SetMIDIband` returns to the sender's
    // colour (a colour well); a sender without a colour or a missing field changes nothing.
    void setTextColor(QObject* sender);

    // Gives a field a text colour from a colour well; false when either is missing.
    static bool recolour(QObject* field, const QObject* colourWell);
};

}  // namespace nupo
