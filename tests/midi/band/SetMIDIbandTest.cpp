// The band mapper's table and panel operations without MIDI running (sends are no-ops): start-up,
// the default fill and naming, Set and Cancel, the band source switch and the brain-switch link, the
// per-band setters and the setup number and name entries, seen through a mapper that records what its
// controls are told.
#include "analysis/BrainSwitch.h"
#include "midi/band/SetMIDIband.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QVariant>

#include <cmath>
#include <map>

namespace nupo {
namespace {

struct Control : QObject {
    Control(const char* property, const QVariant& value) { setProperty(property, value); }
};

// Remembers the last text, state and selection of every control.
class RecordingMapper : public SetMIDIband {
public:
    std::map<QString, QString> texts;
    std::map<QString, double> states;
    std::map<QString, int> selections;
    std::map<QString, QStringList> items;
    std::map<QString, bool> shown;

    void showText(BandOutlet o, int band, const QString& text) override
    {
        texts[bandOutletName(o, band)] = text;
    }
    void showState(BandOutlet o, int band, double value) override { states[bandOutletName(o, band)] = value; }
    void selectItem(BandOutlet o, int band, int index) override
    {
        selections[bandOutletName(o, band)] = index;
    }
    void setItems(BandOutlet o, int band, const QStringList& list) override
    {
        items[bandOutletName(o, band)] = list;
    }
    void setShown(BandOutlet o, int band, bool visible) override { shown[bandOutletName(o, band)] = visible; }
};

class SetMIDIbandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        firstTimeRunMIDIband = 0;  // no worker thread
        SetMIDIband& shared = SetMIDIband::sharedSetMIDIband();
        shared.setSetToDefault_(2);
        shared.initPortStr();
        initbrainSWX();
    }
    RecordingMapper panel;
};

TEST_F(SetMIDIbandTest, IdleOnlyWhileNoSetupMeasuresOrSends)
{
    EXPECT_TRUE(bandSetupsIdle());  // the defaults have input and output off
    for (int s : {0, 77, maxSetupNumber - 1}) {
        ONInputEX[s] = 1;
        EXPECT_FALSE(bandSetupsIdle()) << s;
        ONInputEX[s] = 0;
        MIDIoutONEX[s] = 2;  // any value but 0
        EXPECT_FALSE(bandSetupsIdle()) << s;
        MIDIoutONEX[s] = 0;
    }
    // Switches that do not make a pass measure or send leave it idle.
    NoteOffOnEX[5] = 1;
    SendMIDItimingEX[5] = 4;
    setSoloBandX = 1;
    EXPECT_TRUE(bandSetupsIdle());
}

TEST_F(SetMIDIbandTest, StartUpFillsDefaultsOnceAndTheFirstAwakeningNamesTheSetups)
{
    EXPECT_EQ(setBrainrhythmMIDIOpend, 0);
    EXPECT_FLOAT_EQ(bandOut8X[127], 70.0f);
    gainNoteX[4] = 3.0f;
    panel.awakeFromNibWork();
    EXPECT_EQ(setBrainrhythmMIDIOpend, 1);
    EXPECT_EQ(itsOpendE, 1);
    EXPECT_EQ(strEX[0], QStringLiteral("1"));
    EXPECT_EQ(strEX[127], QStringLiteral("128"));
    EXPECT_EQ(panel.items["popupSetupN"].size(), 128);
    EXPECT_EQ(panel.items["popupMIDIchannel3"].size(), 16);
    EXPECT_EQ(panel.selections["popupMIDIchannel3"], 2);
    EXPECT_EQ(panel.items["popupSendMIDItiming"].at(4), QStringLiteral("every 1 second"));
    EXPECT_EQ(panel.items["popupBSchannel"].size(), 8);
    EXPECT_FLOAT_EQ(gainNoteX[4], 3.0f);  // values kept: naming only
    // Once opened, the default fill only reloads the shown setup.
    panel.setSetToDefault_(2);
    EXPECT_FLOAT_EQ(gainNoteX[4], 3.0f);
    EXPECT_EQ(panel.texts["displayHereNUPOdataChannel"], QStringLiteral("CH 1"));
}

TEST_F(SetMIDIbandTest, DataChannelListFollowsTheDeviceConfiguration)
{
    DeviceConfig = 2;
    panel.awakeFromNibWork();
    EXPECT_EQ(panel.items["popupNUPOchannel"].size(), 8);
    DeviceConfig = 7;
    panel.awakeFromNibWork();
    EXPECT_EQ(panel.items["popupNUPOchannel"].size(), 10);
}

TEST_F(SetMIDIbandTest, SetAndCancelThroughThePanel)
{
    SetupBandNX = 3;
    panel.GainNoteSlider_(3.0f);
    panel.setLowFSlider3_(5.0f);
    panel.setMIDIchannel2(11);
    panel.setSet_(0);
    panel.setLowFSlider3_(6.5f);
    panel.setMIDIchannel2(12);
    panel.setCancel_(0);
    EXPECT_FLOAT_EQ(gainNoteX[3], 1.0f);  // the gain is not committed
    EXPECT_FLOAT_EQ(LowF3X[3], 5.0f);
    EXPECT_EQ(MIDIchannel2X[3], 11);
    EXPECT_EQ(panel.texts["displayHereLowFSlider3"], QStringLiteral("5.000"));
    EXPECT_EQ(panel.texts["displayHereMIDIchannel2"], QStringLiteral("12"));
}

TEST_F(SetMIDIbandTest, ModeSwitchesPairUp)
{
    Control on("checked", true), off("checked", false);
    panel.NoteOnOff(&on);
    EXPECT_EQ(NoteOnOffEX[0], 1);
    EXPECT_EQ(NoteOffOnEX[0], 0);
    panel.NoteOnOff(&off);
    EXPECT_EQ(NoteOnOffEX[0], 0);
    EXPECT_EQ(NoteOffOnEX[0], 1);
    panel.setPeakPower_(0);
    EXPECT_EQ(AveragePowerEX[0], 1);
    EXPECT_EQ(panel.states["setAveragePower"], 1.0);
    panel.setSolo_(1);
    EXPECT_EQ(setSoloBandX, 1);
    panel.setCHto9to16_(0);
    EXPECT_EQ(MIDIchannel1X[0], 8);
    EXPECT_EQ(MIDIchannel8X[0], 15);
}

TEST_F(SetMIDIbandTest, CoherenceSourceFollowsBrainSwitchesAndBandSourceZeroBringsTheEdgesBack)
{
    SetupBandNX = 2;
    panel.setLowFSlider4_(9.0f);
    panel.setSet_(0);
    Control popup("currentIndex", 5);
    popup.setProperty("currentText", QStringLiteral("Coherence CH 3 & CH 4"));
    panel.selectNUPOchannel(&popup);
    EXPECT_EQ(NUPOchannelEX[2], 5);
    EXPECT_EQ(UsePeakModeEX[2], 1);
    EXPECT_FLOAT_EQ(LowF4X[2], brainSWX[5][37]);
    EXPECT_FLOAT_EQ(HighF8X[2], brainSWX[5][49]);
    EXPECT_FLOAT_EQ(LowF4XZ[2], 9.0f);
    EXPECT_TRUE(panel.shown["BS4Text"]);
    panel.setUsePeakMode_(0);
    EXPECT_FLOAT_EQ(LowF4X[2], 9.0f);
    EXPECT_FALSE(panel.shown["BS4Text"]);
}

// Showing a setup changes none of its values: edges that differ from the committed copy (as after a
// document was read) stay, as does a coherence pair with the FFT band source.
TEST_F(SetMIDIbandTest, ShowingASetupChangesNoneOfItsValues)
{
    LowF1X[0] = 0.5f;
    LowF4X[0] = 9.0f;
    NUPOchannelEX[1] = 6;
    UsePeakModeEX[1] = 0;
    LowF2X[1] = 2.5f;
    PeakPowerEX[1] = 1;
    AveragePowerEX[1] = 1;
    panel.awakeFromNibWork();
    EXPECT_EQ(panel.texts["displayHereLowFSlider1"], QStringLiteral("0.500"));
    panel.setSetupN(1);
    panel.setSetupN(0);
    EXPECT_FLOAT_EQ(LowF1X[0], 0.5f);
    EXPECT_FLOAT_EQ(LowF4X[0], 9.0f);
    EXPECT_EQ(panel.texts["displayHereLowFSlider4"], QStringLiteral("9.000"));
    EXPECT_EQ(UsePeakModeEX[1], 0);
    EXPECT_FLOAT_EQ(LowF2X[1], 2.5f);
    EXPECT_EQ(AveragePowerEX[1], 1);
    // Choosing the band source is the user's: the FFT bands take the committed edges again.
    panel.setUsePeakMode_(0);
    EXPECT_FLOAT_EQ(LowF1X[0], 0.0f);
}

TEST_F(SetMIDIbandTest, MovingAnEdgeMovesTheBrainSwitchOnlyInTheBrainSwitchSource)
{
    SetupBandNX = 1;
    NUPOchannelEX[1] = 2;
    Control slider("value", 8.0);
    panel.changeLowFSlider1(&slider);
    EXPECT_FLOAT_EQ(LowF1X[1], 8.0f);
    EXPECT_FLOAT_EQ(brainSWX[2][34], 0.0f);

    UsePeakModeEX[1] = 1;
    AppleScriptON = 1;
    testing::internal::CaptureStdout();
    panel.changeLowFSlider1(&slider);
    Control typed("text", QStringLiteral("33.5"));
    panel.sendTextHighFSliderField8(&typed);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FLOAT_EQ(brainSWX[2][34], 8.0f);
    EXPECT_FLOAT_EQ(brainSWX[2][49], 33.5f);
    EXPECT_FLOAT_EQ(HighF8X[1], 33.5f);
    EXPECT_NE(out.find("rectangle 8 of front document"), std::string::npos) << out;
    EXPECT_NE(out.find("rectangle 1 of front document"), std::string::npos) << out;

    // Loading a setup sets every edge but moves no brain switch.
    brainSWX[2][35] = 3.0f;
    LowF2X[1] = 7.0f;
    UsePeakModeEX[1] = 0;
    testing::internal::CaptureStdout();
    panel.setMIDIsetupWindow(1);
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("rectangle"), std::string::npos);
    EXPECT_FLOAT_EQ(brainSWX[2][35], 3.0f);

    // A data source outside the ten links nothing.
    UsePeakModeEX[1] = 1;
    NUPOchannelEX[1] = 11;
    Control other("value", 4.0);
    panel.changeLowFSlider1(&other);
    EXPECT_FLOAT_EQ(LowF1X[1], 4.0f);
    EXPECT_FLOAT_EQ(brainSWX[2][34], 8.0f);
}

TEST_F(SetMIDIbandTest, BandValuesShowTheirNotes)
{
    SetupBandNX = 6;
    panel.GainNoteSlider_(10.0f);
    panel.bandSlider1X(2.5f);
    EXPECT_EQ(panel.texts["displayHereband1"], QStringLiteral("2.500"));
    EXPECT_EQ(panel.texts["bandNoteField1"], QStringLiteral("25"));
    EXPECT_FLOAT_EQ(bandOut1X[6], 0.0f);
    panel.bandSlider1(2.5f);
    EXPECT_FLOAT_EQ(bandOut1X[6], 2.5f);
    panel.bandSlider2X(-0.25f);
    EXPECT_EQ(panel.texts["bandNoteField2"], QStringLiteral("-2"));
    panel.GainNoteSlider_(0.0f);
    EXPECT_EQ(panel.texts["bandNoteField8"], QStringLiteral("0"));
    // The band display shows the shown setup's stored values.
    bandOut5X[6] = 12.125f;
    panel.needUpdateInputBandDataQ();
    EXPECT_EQ(panel.texts["displayHereband5"], QStringLiteral("12.125"));
}

TEST_F(SetMIDIbandTest, ChannelsAndSetupNumbersAreClamped)
{
    panel.setMIDIchannel3(20);
    EXPECT_EQ(MIDIchannel3X[0], 15);
    EXPECT_EQ(panel.selections["popupMIDIchannel3"], 15);
    EXPECT_EQ(panel.texts["displayHereMIDIchannel3"], QStringLiteral("16"));
    EXPECT_EQ(panel.states["setSetMIDIchannel3"], 15.0);
    Control zero("text", QStringLiteral("0"));
    panel.sendTextMIDIchannelField4(&zero);
    EXPECT_EQ(MIDIchannel4X[0], 0);
    EXPECT_EQ(panel.texts["displayHereMIDIchannel4"], QStringLiteral("1"));
    Control minimum("text", QStringLiteral("-2147483648"));
    panel.sendTextMIDIchannelField4(&minimum);
    EXPECT_EQ(MIDIchannel4X[0], 0);

    Control big("text", QStringLiteral("500"));
    panel.sendTextSetupNinputField(&big);
    EXPECT_EQ(SetupBandNX, 127);
    EXPECT_EQ(panel.texts["displayHereSetupNstring"], QStringLiteral("128"));
    Control negative("text", QStringLiteral("-3"));
    panel.sendTextSetupNinputField(&negative);
    EXPECT_EQ(SetupBandNX, 0);
    EXPECT_EQ(panel.texts["displayHereSetupN"], QStringLiteral("1"));
    Control stepper("value", 128);
    panel.SetCount(&stepper);
    EXPECT_EQ(SetupBandNX, 127);
    panel.setSetupN(-5);
    EXPECT_EQ(SetupBandNX, 0);
}

TEST_F(SetMIDIbandTest, RenamingTouchesOnlyTheShownSetup)
{
    panel.setGetSetup();
    SetupBandNX = 9;
    Control name("text", QString(600, QLatin1Char('n')));
    panel.sendTextSetupNstringField(&name);
    EXPECT_EQ(strEX[9].size(), 511);
    EXPECT_EQ(strEX[8], QStringLiteral("9"));
    EXPECT_EQ(panel.items["popupSetupN"].at(9), strEX[9]);
    EXPECT_EQ(panel.selections["popupSetupN"], 9);
}

TEST_F(SetMIDIbandTest, APassMeasuresEveryBandAsTheBandQueryDoes)
{
    RecordingBuffers& port = RecordingBuffers::sharedRecordingBuffers();
    port.allocate();
    for (int i = 0; i < 4000; ++i) {
        port.putIntToBuffer(1, i, int(400 * std::sin(i * 0.52)));  // about 10 Hz at 120 Hz
        port.putIntToBuffer(3, i, int(300 * std::sin(i * 1.15)));  // about 22 Hz
    }
    ploop = 3000;
    displayGainX[2] = 2.0f;
    for (int s : {0, 1, 2}) {
        ONInputEX[s] = 1;
        NUPOchannelEX[s] = s == 2 ? 2 : 0;
        PeakPowerEX[s] = s == 1 ? 0 : 1;
    }
    SetMIDIband::sharedSetMIDIband().sendMIDIbandData();
    SetMIDIband& mapper = SetMIDIband::sharedSetMIDIband();
    for (int s : {0, 1, 2})
        for (std::size_t n = 0; n < bandCount; ++n)
            EXPECT_FLOAT_EQ(bandOutX[n][s], mapper.FFTband(NUPOchannelEX[s], LowFbandX[n][s],
                                                           HighFbandX[n][s], PeakPowerEX[s]))
                << "setup " << s << " band " << n + 1;
    // The alpha band of channel 1 holds its sine, the others far less; channel 3 is divided by its gain.
    EXPECT_GT(bandOut4X[0], 10.0f * bandOut2X[0]);
    EXPECT_GT(bandOut7X[2], 10.0f * bandOut4X[2]);
    EXPECT_FLOAT_EQ(mapper.FFTband(12, 8.0f, 12.0f, 1), 0.0f);
}

}  // namespace
}  // namespace nupo
