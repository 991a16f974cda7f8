#pragma once

namespace nupo {

class MidiDocumentCalls;
class NUPO4DrawDocument;

// Adds the settings sections of the core library's subsystems, in reading order: display settings, peak
// and band MIDI, then the sound slots.
void addCoreDocumentSections(NUPO4DrawDocument& document, MidiDocumentCalls& midiCalls);
// Adds the recording; it goes last, so that its loading restarts the waterfall's history after every
// setting is in place.
void addRecordingSection(NUPO4DrawDocument& document);

}  // namespace nupo
