#pragma once

// The band setup table's operations: the default fill and naming, loading a setup into the controls,
// Set and Cancel, choosing the shown setup, the setup-wide switches and pop-ups, and the band source
// (FFT bands or brain switches). Every setter writes the edited copy of the shown setup `SetupBandNX`.

class QObject;

namespace nupo {

class SetMIDIband;

class BandSetupEditor {
public:
    explicit BandSetupEditor(SetMIDIband& mapper) : mapper(mapper) {}

    void setSetToDefault(int mode);
    // Loads setup n into every control: the committed copy through the setters; the edited copy as it
    // stands, changing none of its values (its band source, power pair and edges are only shown).
    void loadSetup(int n, bool committed);
    void setSet();
    void setCancel();
    void setSetupN(int n);
    void selectSetupN(QObject* sender);
    void SetCount(QObject* sender);
    void setSetCount();
    void setMIDIoutON(int value);
    void setONInput(int value);
    void setNoteOnOff(int value);
    void setNoteOffOn(int value);
    void NoteOnOff(QObject* sender);
    void NoteOffOn(QObject* sender);
    void setPeakPower(int value);
    void setAveragePower(int value);
    // Band n gets channel first + n - 1.
    void setChannelsFrom(int first);
    void selectSendMIDItiming(QObject* sender);
    void setSendMIDItiming(int index);
    void selectBSchannel(QObject* sender);
    void setBSchannel(int index);
    void setSetBSCH(int value);
    void selectNUPOchannel(QObject* sender);
    void setNUPOchannel(int index);
    void setUsePeakMode(int mode);
    void selectUsePeakMode(QObject* sender);
    void setSliderFromBS();
    void setGetSetup();
    void setSetupPopup();

private:
    // Peak and average power are exclusive: shows and stores both switches of the shown setup.
    void choosePower(int peak, int average);
    // The band source's cell and the band labels it shows.
    void showUsePeakMode(int mode);

    SetMIDIband& mapper;
};

}  // namespace nupo
