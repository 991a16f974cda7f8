#include "document/CoreDocumentSections.h"

#include "document/NUPO4DrawDocument.h"
#include "document/sections/AnalysisSection.h"
#include "document/sections/DeviceSection.h"
#include "document/sections/DisplaySection.h"
#include "document/sections/MidiSections.h"
#include "document/sections/MovieSection.h"
#include "document/sections/RecordingSection.h"
#include "document/sections/SoundSection.h"

namespace nupo {

void addCoreDocumentSections(NUPO4DrawDocument& document, MidiDocumentCalls& midiCalls)
{
    document.addSection(std::make_unique<DeviceSection>());
    document.addSection(std::make_unique<DisplaySection>());
    document.addSection(std::make_unique<AnalysisSection>());
    document.addSection(std::make_unique<PeakMidiSection>(midiCalls));
    document.addSection(std::make_unique<BandMidiSection>(midiCalls));
    document.addSection(std::make_unique<SoundSection>());
    document.addSection(std::make_unique<MovieSection>());
}

void addRecordingSection(NUPO4DrawDocument& document)
{
    document.addSection(std::make_unique<RecordingSection>());
}

}  // namespace nupo
