// The brain-note document reader on any bytes: it reads or refuses without crashing, a refused file
// changes nothing of the open document and its message names the file, and whatever it reads, writing
// and reading it again gives the same state.

#include "DocumentReadCheck.h"

#include "document/CoreDocumentSections.h"
#include "document/NUPO4DrawDocument.h"
#include "document/sections/MidiDocumentCalls.h"
#include "midi/band/BandSetupTable.h"
#include "midi/peak/PeakSetupTable.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <QCoreApplication>

using namespace nupo;

namespace {

// The mappers are not started: the calls only keep the opened flags.
class QuietMidiCalls : public MidiDocumentCalls {
public:
    void init() override {}
    void setResetMIDI(int) override {}
    void setBrainpeakMIDIOpend(int v) override { nupo::setBrainpeakMIDIOpend = v; }
    void setBrainpeakMIDISetName(int v) override { nupo::setBrainpeakMIDISetName = v; }
    void initTempo() override {}
    void setProgramChangeToAllSetup() override {}
    void convertPortNameToInt() override {}
    void bandInit() override {}
    void bandSetResetMIDI(int) override {}
    void setBrainrhythmMIDIOpend(int v) override { nupo::setBrainrhythmMIDIOpend = v; }
    void setBrainrhythmMIDISetName(int v) override { nupo::setBrainrhythmMIDISetName = v; }
    void bandSetGetOutMIDIPort() override {}
    void bandConvertPortNameToInt() override {}
};

NUPO4DrawDocument& document()
{
    static QuietMidiCalls calls;
    static NUPO4DrawDocument* doc = [] {
        auto* d = new NUPO4DrawDocument;
        addCoreDocumentSections(*d, calls);
        addRecordingSection(*d);
        return d;
    }();
    return *doc;
}

// The state every input starts from (the sections as the program starts), and whether the last input
// changed it.
QByteArray startState;
bool changed = false;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    // Small buffers keep each run fast; the reader's limits scale with them.
    MAXbuffer = 4096;
    maxploop = 64;
    RecordingBuffers::sharedRecordingBuffers().allocate();
    startState = document().snapshot({});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (changed) {
        QString error;
        FUZZ_CHECK(document().readFromData(startState, QStringLiteral("start"), &error));
    }
    changed = checkDocumentRead(document(), data, size);
    return 0;
}
