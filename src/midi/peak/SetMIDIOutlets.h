#pragma once

#include "midi/common/DataChannels.h"

// The outlets of the peak-to-MIDI panel and the lists its popups show.

#include <QString>
#include <QStringList>

namespace nupo {

// The outlets of the panel, in declared order; edit fields pair with display fields (displayHere...).
#define NUPO_SETMIDI_FIELD_PAIRS(X)                                                                         \
    X(LowFSlider)                                                                                           \
    X(HighFSlider)                                                                                          \
    X(LowFNSlider)                                                                                          \
    X(HighFNSlider)                                                                                         \
    X(LowVSlider)                                                                                           \
    X(HighVSlider)                                                                                          \
    X(LowVNSlider)                                                                                          \
    X(HighVNSlider)                                                                                         \
    X(InputFSlider) X(InputVSlider) X(OutputFSlider) X(OutputVSlider) X(MIDIchannel) X(MIDIprogramchange)   \
        X(MaxInput) X(Name) X(MiniInput) X(InputName) X(InputUnit) X(MaxFInput) X(MiniFInput) X(Instrument) \
            X(NUPOdataChannel) X(MIDIoutPort) X(SetupN) X(SetupNinput) X(SetupNstring) X(Tempo)

#define NUPO_SETMIDI_CONTROLS(X)                                                                           \
    X(setResetMIDI)                                                                                        \
    X(setMIDIoff)                                                                                          \
    X(setSetToDefault)                                                                                     \
    X(setCancel)                                                                                           \
    X(setSet)                                                                                              \
    X(setSolo)                                                                                             \
    X(setPeakPower)                                                                                        \
    X(setAveragePower)                                                                                     \
    X(setMIDIoutON) X(setUseQTMIDI) X(setPlay3Peaks) X(setNoteOnOff) X(setNoteOffOn) X(setONInput)         \
        X(setPlayOnlyNoteChanged) X(setInstrument) X(setSmallWindow) X(setSetCountX) X(setSetMIDIchannel)  \
            X(setSetMIDIprogramC) X(setSetBSCH) X(setMIDInoteF) X(setMIDIvelocityF) X(setMIDIchannelF)     \
                X(setMIDIprogramchangeF) X(setMIDIpitchbendF) X(setMIDIcontrolchangeVF)                    \
                    X(setMIDIcontrolchangeNF) X(setMIDInoteV) X(setMIDIvelocityV) X(setMIDIchannelV)       \
                        X(setMIDIprogramchangeV) X(setMIDIpitchbendV) X(setMIDIcontrolchangeVV)            \
                            X(setMIDIcontrolchangeNV) X(popupMIDIport) X(popupMIDIchannel)                 \
                                X(popupProgramChange) X(popupBSchannel) X(popupNUPOchannel) X(popupSetupN) \
                                    X(popupSendMIDItiming) X(setLowFSlider) X(setHighFSlider)              \
                                        X(setLowFNSlider) X(setHighFNSlider) X(setLowVSlider)              \
                                            X(setHighVSlider) X(setLowVNSlider) X(setHighVNSlider)         \
                                                X(setInputFSlider) X(setInputVSlider) X(setOutputFSlider)  \
                                                    X(setOutputVSlider) X(setTempoSlider)                  \
                                                        X(setInputFrequencyRange) X(setUsePeakMode)        \
                                                            X(setSimpleSetup)

#define NUPO_SETMIDI_ENUM_CONTROL(name) name,
#define NUPO_SETMIDI_ENUM_PAIR(name) name##Field, displayHere##name,
enum class SetMIDIOutlet {
    NUPO_SETMIDI_CONTROLS(NUPO_SETMIDI_ENUM_CONTROL) NUPO_SETMIDI_FIELD_PAIRS(NUPO_SETMIDI_ENUM_PAIR) count
};
#undef NUPO_SETMIDI_ENUM_CONTROL
#undef NUPO_SETMIDI_ENUM_PAIR

// The object name of an outlet in the panel's nib.
QString setMIDIOutletName(SetMIDIOutlet outlet);

// The timing popup's items, index = timing index 0..13.
QStringList timingItems();

}  // namespace nupo
