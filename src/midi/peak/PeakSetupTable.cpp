#include "midi/peak/PeakSetupTable.h"

#include "midi/common/SetupCopies.h"

#include <algorithm>

namespace nupo {

namespace {

const SetupCopies& peakSetupCopies()
{
    static const SetupCopies copies{
        {
            {LowFX, LowFXZ, 0.0f},
            {HighFX, HighFXZ, 40.0f},
            {LowFNX, LowFNXZ, 30.0f},
            {HighFNX, HighFNXZ, 90.0f},
            {LowVX, LowVXZ, 0.0f},
            {HighVX, HighVXZ, 20.0f},
            {LowVNX, LowVNXZ, 0.0f},
            {HighVNX, HighVNXZ, 127.0f},
            {InputFX, InputFXZ, 10.0f},
            {InputVX, InputVXZ, 10.0f},
            {OutputFX, OutputFXZ, 43.333f},
            {OutputVX, OutputVXZ, 63.5f},
            {TempoX, TempoXZ, 120.0f},
        },
        {
            {tlongX, tlongXZ, 0.0, false},
            {tsaveX, tsaveXZ, 0.0, false},
        },
        {
            {SendMIDItimingX, SendMIDItimingXZ, 3, true, false, true},
            {NUPOchannelX, NUPOchannelXZ, 0, true, false, false},
            {MIDIportX, MIDIportXZ, 0, true, false, true},  // Set stores the checked index itself
            {BSchannelX, BSchannelXZ, 0},
            {UsePeakModeX, UsePeakModeXZ, 0},
            {InputFrequencyRangeX, InputFrequencyRangeXZ, 0},
            {PeakPowerX, PeakPowerXZ, 1},
            {AveragePowerX, AveragePowerXZ, 0},
            {MIDIoutONX, MIDIoutONXZ, 0},
            {ONInputX, ONInputXZ, 0},
            {MIDIchannelX, MIDIchannelXZ, 0},
            {ProgramChangeXXX, ProgramChangeXZ, 0},
            {UseQTMIDIX, UseQTMIDIXZ, 0},
            {Play3PeaksX, Play3PeaksXZ, 0},
            {NoteOnOffX, NoteOnOffXZ, 0},
            {NoteOffOnX, NoteOffOnXZ, 1},
            {PlayOnlyNoteChangedX, PlayOnlyNoteChangedXZ, 0},
            {MIDInoteFX, MIDInoteFXZ, 1},
            {MIDIvelocityFX, MIDIvelocityFXZ, 0},
            {MIDIchannelFX, MIDIchannelFXZ, 0},
            {MIDIprogramchangeFX, MIDIprogramchangeFXZ, 0},
            {MIDIpitchbendFX, MIDIpitchbendFXZ, 0},
            {MIDIcontrolchangeVFX, MIDIcontrolchangeVFXZ, 0},
            {MIDIcontrolchangeNFX, MIDIcontrolchangeNFXZ, 0},
            {MIDInoteVX, MIDInoteVXZ, 0},
            {MIDIvelocityVX, MIDIvelocityVXZ, 1},
            {MIDIchannelVX, MIDIchannelVXZ, 0},
            {MIDIprogramchangeVX, MIDIprogramchangeVXZ, 0},
            {MIDIpitchbendVX, MIDIpitchbendVXZ, 0},
            {MIDIcontrolchangeVVX, MIDIcontrolchangeVVXZ, 0},
            {MIDIcontrolchangeNVX, MIDIcontrolchangeNVXZ, 0},
            // The saved switches have no committed copy; the defaults clear them.
            {MIDIoutONXTemp, MIDIoutONXTemp, 0, true, false, false},
        },
        {
            // Cancel brings the committed port name back; Set leaves it (the index is committed).
            {MIDIportXstr, MIDIportXstrZ, QStringLiteral("NUPO"), true, false, true},
        }};
    return copies;
}

}  // namespace

int shownPeakSetup()
{
    return std::clamp(SetupNX.load(), 0, maxSetupNumber - 1);
}

void writePeakSetupDefaults()
{
    peakSetupCopies().writeDefaults();
}

void commitPeakSetup(int s, int committedPort)
{
    if (!validSetup(s))
        return;
    peakSetupCopies().commit(s);
    MIDIportXZ[s] = committedPort;
}

void revertPeakSetup(int s)
{
    peakSetupCopies().revert(s);
}

}  // namespace nupo
