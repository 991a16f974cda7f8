#pragma once

// The band-to-MIDI setup table: 128 band setups, each field a process-wide array indexed by setup
// 0..127. Every setup has eight bands; a band field is one array per band (`LowF1X` .. `LowF8X`), also
// reachable by band index through its family (`LowFbandX[n - 1]`). The edited copy (X / EX) is what the
// panel writes and the worker reads; the committed copy (XZ / EXZ) changes only with the defaults, Set
// and the band-source switch, and Cancel copies it back. Numbers are atomics (a single entry is the unit
// of change); names are main-thread only.

#include "midi/common/PanelsOpened.h"
#include "midi/common/SetupArray.h"

#include <QString>

#include <array>
#include <atomic>

namespace nupo {

inline constexpr int bandCount = 8;

template <class T>
using BandFamily = std::array<SetupArray<T>, bandCount>;

// --- Setup-wide fields ------------------------------------------------------------------------------------
inline SetupArray<int> NUPOchannelEX, NUPOchannelEXZ;        // data source 0..9
inline SetupArray<int> MIDIportEX, MIDIportEXZ;              // destination index
inline SetupNames MIDIportEXstr, MIDIportEXstrZ;             // destination name
inline SetupArray<int> SendMIDItimingEX, SendMIDItimingEXZ;  // timing index 0..4
inline SetupArray<int> MIDIoutONEX, MIDIoutONEXZ;            // 1 = the setup sends notes
inline SetupArray<int> BSchannelEX, BSchannelEXZ;            // brain-switch channel 0..7 (shown only)
inline SetupArray<int> UsePeakModeEX, UsePeakModeEXZ;        // 0 FFT band, 1 brain-switch levels
inline SetupArray<int> PeakPowerEX, PeakPowerEXZ;            // 1 = band value is the band's highest value
inline SetupArray<int> AveragePowerEX, AveragePowerEXZ;      // 1 = band value is the band power
inline SetupArray<float> gainNoteX, gainNoteXZ;              // note = band value x gain
inline SetupArray<int> NoteOnOffEX, NoteOnOffEXZ;            // note-on-only mode
inline SetupArray<int> NoteOffOnEX, NoteOffOnEXZ;            // off-then-on mode
inline SetupArray<int> ONInputEX, ONInputEXZ;                // 1 = the worker measures the bands
inline SetupNames strEX;                                     // setup names, titles of the setup chooser
inline SetupArray<double> tlongEX;                           // send interval, s
inline SetupArray<double> tsaveEX;                           // clock of the last due pass, s
inline SetupArray<int> MIDIoutONXTempBand;                   // saved by the temporary switch-off

// --- Band families ----------------------------------------------------------------------------------------
inline BandFamily<float> LowFbandX, LowFbandXZ;              // lower edge of band n, Hz
inline BandFamily<float> HighFbandX, HighFbandXZ;            // upper edge of band n, Hz
inline BandFamily<float> bandOutX, bandOutXZ;                // current value of band n
inline BandFamily<int> MIDIchannelBandX, MIDIchannelBandXZ;  // MIDI channel of band n, 0..15

// The per-band names: name1suffix .. name8suffix refer to the family's arrays 0..7.
#define NUPO_BAND_NAMES(T, name, suffix, family)       \
    inline SetupArray<T>& name##1##suffix = family[0]; \
    inline SetupArray<T>& name##2##suffix = family[1]; \
    inline SetupArray<T>& name##3##suffix = family[2]; \
    inline SetupArray<T>& name##4##suffix = family[3]; \
    inline SetupArray<T>& name##5##suffix = family[4]; \
    inline SetupArray<T>& name##6##suffix = family[5]; \
    inline SetupArray<T>& name##7##suffix = family[6]; \
    inline SetupArray<T>& name##8##suffix = family[7];
NUPO_BAND_NAMES(float, LowF, X, LowFbandX)
NUPO_BAND_NAMES(float, LowF, XZ, LowFbandXZ)
NUPO_BAND_NAMES(float, HighF, X, HighFbandX)
NUPO_BAND_NAMES(float, HighF, XZ, HighFbandXZ)
NUPO_BAND_NAMES(float, bandOut, X, bandOutX)
NUPO_BAND_NAMES(float, bandOut, XZ, bandOutXZ)
NUPO_BAND_NAMES(int, MIDIchannel, X, MIDIchannelBandX)
NUPO_BAND_NAMES(int, MIDIchannel, XZ, MIDIchannelBandXZ)
#undef NUPO_BAND_NAMES

// --- Setup-wide state
// ---------------------------------------------------------------------------------------
inline std::atomic<int> SetupBandNX{0};                // the shown setup; the worker never sets it
inline std::atomic<int> setSoloBandX{0};               // 1 = the worker processes SetupBandNX only
inline std::atomic<int> setBrainrhythmMIDIOpend{0};    // the band settings are in use (panel or document)
inline std::atomic<int> setBrainrhythmMIDISetName{0};  // a document supplied the setup names
inline std::atomic<int> SetupPopupEX{0};               // kept with a document's band section only

// --- Worker state ---------------------------------------------------------------------------------------
inline std::atomic<int> firstTimeRunMIDIband{1};
inline std::atomic<int> needOffNoteB{0};  // 1 after a pass; a paused tick sends one shutdown and clears it

// Default edges of band 1..8 in Hz.
inline constexpr std::array<float, bandCount> defaultBandLowF = {0, 2, 4, 8, 13, 16, 21, 28};
inline constexpr std::array<float, bandCount> defaultBandHighF = {1.5f,  3.5f,  7.5f, 12.5f,
                                                                  15.5f, 20.5f, 28,   30};

// A name as the table stores it: ASCII (other characters become '?'), at most 511 bytes.
inline constexpr int maxBandSetupNameLength = 511;
QString storedBandSetupName(const QString& name);

// Writes the defaults into both copies of every setup, with the send times, the saved switches and the
// port names ("NUPO"); the shown setup, solo and the setup names are left as they are.
void writeBandSetupDefaults();
// Set: copies the committed fields of setup s from its edited copy; the committed port is given.
void commitBandSetup(int s, int committedPort);
// Cancel: copies the restored fields of setup s back from its committed copy.
void revertBandSetup(int s);
// The band-source switch to brain switches: the committed edges of setup s take the edited ones.
void commitBandEdges(int s);

// Send interval in seconds of a timing index 0..4; -1 for any other index (the interval stays).
double bandSendInterval(int index);

// The shown setup, always within 0..127.
int shownBandSetup();

}  // namespace nupo
