#pragma once

// The peak-to-MIDI setup table: 128 setups, each field as process-wide arrays indexed by setup 0..127.
// The edited copy (name ending in X) is what the panel writes and the worker reads on every tick; the
// committed copy (ending in XZ) changes only through the defaults and Set, and Cancel copies it back
// (SetupCopies.h).

#include "midi/common/PanelsOpened.h"
#include "midi/common/SetupArray.h"

#include <atomic>

namespace nupo {

// --- Ranges and values --------------------------------------------------------------------------------
inline SetupArray<float> LowFX, LowFXZ;      // band low edge, Hz (input range of F)
inline SetupArray<float> HighFX, HighFXZ;    // band high edge, Hz
inline SetupArray<float> LowFNX, LowFNXZ;    // output of F at LowFX
inline SetupArray<float> HighFNX, HighFNXZ;  // output of F at HighFX
inline SetupArray<float> LowVX, LowVXZ;      // input range of V
inline SetupArray<float> HighVX, HighVXZ;
inline SetupArray<float> LowVNX, LowVNXZ;  // output of V at LowVX
inline SetupArray<float> HighVNX, HighVNXZ;
inline SetupArray<float> InputFX, InputFXZ;  // last measured or hand-set F, Hz
inline SetupArray<float> InputVX, InputVXZ;
inline SetupArray<float> OutputFX, OutputFXZ;  // F mapped into its output range: the value sent
inline SetupArray<float> OutputVX, OutputVXZ;
inline SetupArray<float> TempoX, TempoXZ;  // beats per minute for timing index 13

// --- Timing ----------------------------------------------------------------------------------------------
inline SetupArray<int> SendMIDItimingX, SendMIDItimingXZ;  // timing index 0..13
inline SetupArray<double> tlongX, tlongXZ;                 // interval between due ticks, s; 0 = every tick
inline SetupArray<double> tsaveX, tsaveXZ;                 // clock at the end of the last due tick

// --- Source ----------------------------------------------------------------------------------------------
inline SetupArray<int> NUPOchannelX, NUPOchannelXZ;                  // data channel 0..9
inline SetupArray<int> BSchannelX, BSchannelXZ;                      // brain-switch slot 0..8 (source mode 2)
inline SetupArray<int> UsePeakModeX, UsePeakModeXZ;                  // source mode 0..3
inline SetupArray<int> InputFrequencyRangeX, InputFrequencyRangeXZ;  // band preset 0..10
inline SetupArray<int> PeakPowerX, PeakPowerXZ;
inline SetupArray<int> AveragePowerX, AveragePowerXZ;
inline SetupArray<int> ONInputX, ONInputXZ;  // measure on every due tick

// --- Output ----------------------------------------------------------------------------------------------
inline SetupArray<int> MIDIoutONX, MIDIoutONXZ;      // sends when exactly 1
inline SetupArray<int> MIDIoutONXTemp;               // saved by the temporary switch-off
inline SetupArray<int> MIDIportX, MIDIportXZ;        // destination index
inline SetupNames MIDIportXstr, MIDIportXstrZ;       // destination name
inline SetupArray<int> MIDIchannelX, MIDIchannelXZ;  // 0..15
inline SetupArray<int> ProgramChangeXXX, ProgramChangeXZ;
inline SetupArray<int> UseQTMIDIX, UseQTMIDIXZ;  // also play on the built-in synthesiser
inline SetupArray<int> Play3PeaksX, Play3PeaksXZ;
inline SetupArray<int> NoteOnOffX, NoteOnOffXZ;
inline SetupArray<int> NoteOffOnX, NoteOffOnXZ;
inline SetupArray<int> PlayOnlyNoteChangedX, PlayOnlyNoteChangedXZ;

// --- Routing of F and V ---------------------------------------------------------------------------------
inline SetupArray<int> MIDInoteFX, MIDInoteFXZ;
inline SetupArray<int> MIDIvelocityFX, MIDIvelocityFXZ;
inline SetupArray<int> MIDIchannelFX, MIDIchannelFXZ;
inline SetupArray<int> MIDIprogramchangeFX, MIDIprogramchangeFXZ;
inline SetupArray<int> MIDIpitchbendFX, MIDIpitchbendFXZ;
inline SetupArray<int> MIDIcontrolchangeVFX, MIDIcontrolchangeVFXZ;
inline SetupArray<int> MIDIcontrolchangeNFX, MIDIcontrolchangeNFXZ;
inline SetupArray<int> MIDInoteVX, MIDInoteVXZ;
inline SetupArray<int> MIDIvelocityVX, MIDIvelocityVXZ;
inline SetupArray<int> MIDIchannelVX, MIDIchannelVXZ;
inline SetupArray<int> MIDIprogramchangeVX, MIDIprogramchangeVXZ;
inline SetupArray<int> MIDIpitchbendVX, MIDIpitchbendVXZ;
inline SetupArray<int> MIDIcontrolchangeVVX, MIDIcontrolchangeVVXZ;
inline SetupArray<int> MIDIcontrolchangeNVX, MIDIcontrolchangeNVXZ;

// --- Names and scalars ----------------------------------------------------------------------------------
inline SetupNames strX;                       // setup names shown in the setup popup
inline std::atomic<int> InstrumentNumber{0};  // last instrument chosen in the picker, 0..127

inline std::atomic<int> SetupNX{0};      // the setup shown in the panel; the worker never sets it
inline std::atomic<int> setSoloX{0};     // 1 = the worker processes only SetupNX
inline std::atomic<int> SetupPopupX{0};  // setup shown when the panel loads, as documents keep it
// The setup the next panel load shows: a document's SetupPopupX, or setup 1 once the preferences window
// has become main. Kept apart so that showing that window changes no document.
inline std::atomic<int> SetupPopupShownX{0};
inline std::atomic<int> setBrainpeakMIDIOpend{0};    // the setups are in use (panel opened or document read)
inline std::atomic<int> setBrainpeakMIDISetName{0};  // the setup names came from a document
inline std::atomic<int> NUPOchannelXP{0};            // data channel last chosen in the popup
inline std::atomic<int> MIDIoutTempOX{0};            // switch of SetupNX saved around a program change
inline std::atomic<int> setToOff{0};                 // 1 while the output is temporarily switched off

// --- Worker state ---------------------------------------------------------------------------------------
inline std::atomic<int> PlayNote{0};     // one flag for all setups (see the worker)
inline std::atomic<int> needOffNote{0};  // 1 after every normal tick; consumed by a file load or save
inline std::atomic<int> firstTimeRunMIDIpeak{1};
inline std::atomic<int> firstTimeeasyplaySetup{1};

// Writes the start-up defaults into both copies of every setup (intervals, clock times, the instrument
// and the names are left as they are).
void writePeakSetupDefaults();
// Copies the edited fields of setup s into its committed copy (Set), except the data channel, the
// port name and the timing index; the committed port index is given.
void commitPeakSetup(int s, int committedPort);
// Copies the committed fields of setup s back into its edited copy (Cancel), except the data channel.
void revertPeakSetup(int s);
// The shown setup SetupNX, clamped to a valid index.
int shownPeakSetup();

}  // namespace nupo
