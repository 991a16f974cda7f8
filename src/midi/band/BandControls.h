#pragma once

// The controls of the band-to-MIDI panel as the mapper addresses them: an outlet kind and, for the eight
// band families, the band 1..8. The mapper updates controls through BandControls; the shared instance
// has none, so its updates go nowhere, and the panel overrides them to reach its widgets.

#include <QString>
#include <QStringList>

class QObject;

namespace nupo {

enum class BandOutlet {
    // Setup-wide buttons, steppers, pop-ups, the gain slider and the source matrix.
    setResetMIDI,
    setMIDIoff,
    setSetToDefault,
    setCancel,
    setSet,
    setNoteOnOff,
    setNoteOffOn,
    setMIDIoutON,
    setONInput,
    setSolo,
    setCHto1to8,
    setCHto9to16,
    setPeakPower,
    setAveragePower,
    setSetCountX,
    setSetMIDIchannel,
    setSetMIDIprogramC,
    setSetBSCH,
    popupMIDIport,
    popupSendMIDItiming,
    popupBSchannel,
    popupNUPOchannel,
    popupSetupN,
    GainNoteSlider,
    setUsePeakMode,
    NUPOdataChannelField,
    displayHereNUPOdataChannel,
    MIDIoutPortField,
    displayHereMIDIoutPort,
    SetupNField,
    displayHereSetupN,
    SetupNinputField,
    displayHereSetupNinput,
    SetupNstringField,
    displayHereSetupNstring,
    // Band families (band 1..8 given with the kind).
    setSetMIDIchannelBand,
    popupMIDIchannelBand,
    setLowFSliderBand,
    setHighFSliderBand,
    LowFSliderFieldBand,
    displayHereLowFSliderBand,
    HighFSliderFieldBand,
    displayHereHighFSliderBand,
    MIDIchannelFieldBand,
    displayHereMIDIchannelBand,
    bandFieldBand,
    displayHerebandBand,
    bandNoteFieldBand,
    BScountLevelBand,
    BSTextBand,
    count
};

inline constexpr BandOutlet firstBandFamily = BandOutlet::setSetMIDIchannelBand;

inline bool isBandFamily(BandOutlet outlet)
{
    return outlet >= firstBandFamily && outlet < BandOutlet::count;
}

// The object name of an outlet in the panel's nib ("setLowFSlider3", "BS3Text", "popupSetupN"); band is
// 1..8 for a band family and ignored otherwise. Empty for a band outside 1..8.
QString bandOutletName(BandOutlet outlet, int band = 0);

class BandControls {
public:
    virtual ~BandControls() = default;

    // A number on a slider, stepper, check box, level indicator or pop-up.
    virtual void showState(BandOutlet, int /*band*/, double) {}
    virtual void showText(BandOutlet, int /*band*/, const QString&) {}
    // Selects a pop-up item, or the cell of a matrix with that tag.
    virtual void selectItem(BandOutlet, int /*band*/, int) {}
    virtual void setItems(BandOutlet, int /*band*/, const QStringList&) {}
    virtual void replaceItem(BandOutlet, int /*band*/, int, const QString&) {}
    virtual void setShown(BandOutlet, int /*band*/, bool) {}
    // Gives an entry field the float entry format (3 digits before and after the point).
    virtual void setFieldFormat(BandOutlet, int /*band*/) {}
    virtual void setNeedsDisplay() {}
    // The outlet's object; null in an instance without controls.
    virtual QObject* outletObject(BandOutlet, int /*band*/ = 0) const { return nullptr; }
};

}  // namespace nupo
