// The peak setup table without MIDI running: defaults, the edited and committed copies, names, setup
// choice, presets and the panel's paired settings. Sends are no-ops here (MIDI is not started).
#include "midi/output/MidiOutput.h"
#include "midi/peak/PeakMidiMap.h"
#include "midi/peak/SetMIDI.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QVariant>

#include <vector>

namespace nupo {
namespace {

// A control as an action sees it: only its properties.
struct Control : QObject {
    explicit Control(const char* property, const QVariant& value) { setProperty(property, value); }
};

SetMIDI& startedMapper()
{
    firstTimeRunMIDIpeak = 0;  // no worker thread: the tests drive the mapper themselves
    SetMIDI& mapper = SetMIDI::sharedSetMIDI();
    mapper.setSetToDefault_(2);
    mapper.initPortStr();
    return mapper;
}

TEST(PeakSetupTableTest, StartUpWritesDefaultsAndLoadsSetupOne)
{
    startedMapper();
    // Setup 1 was loaded through the setters: V input 50, outputs mapped; committed copy untouched.
    EXPECT_FLOAT_EQ(InputVX[0], 50.0f);
    EXPECT_FLOAT_EQ(OutputFX[0], 45.0f);
    EXPECT_FLOAT_EQ(OutputVX[0], 127.0f);
    EXPECT_FLOAT_EQ(InputVXZ[0], 10.0f);
    EXPECT_FLOAT_EQ(OutputFXZ[0], 43.333f);
    for (int s : {1, 64, 127}) {
        EXPECT_EQ(MIDIoutONX[s], 0);
        EXPECT_EQ(NUPOchannelX[s], 0);
        EXPECT_EQ(UsePeakModeX[s], 0);
        EXPECT_FLOAT_EQ(LowFX[s], 0.0f);
        EXPECT_FLOAT_EQ(HighFXZ[s], 40.0f);
        EXPECT_FLOAT_EQ(LowFNX[s], 30.0f);
        EXPECT_FLOAT_EQ(HighVNX[s], 127.0f);
        EXPECT_EQ(SendMIDItimingX[s], 3);
        EXPECT_FLOAT_EQ(TempoX[s], 120.0f);
        EXPECT_EQ(NoteOffOnX[s], 1);
        EXPECT_EQ(MIDInoteFX[s], 1);
        EXPECT_EQ(MIDIvelocityVX[s], 1);
        EXPECT_DOUBLE_EQ(tlongX[s], 0.0);
        EXPECT_EQ(MIDIportXstr[s], QStringLiteral("NUPO"));
        EXPECT_FLOAT_EQ(InputVX[s], 10.0f);
    }
    EXPECT_EQ(strMIDIport[23], QStringLiteral("NUPO"));
}

TEST(PeakSetupTableTest, DefaultsAreWrittenOnceAndFirstOpenMakesNames)
{
    SetMIDI& mapper = startedMapper();
    mapper.setSetToDefault_(1);  // the panel's first opening
    EXPECT_EQ(strX[0], QStringLiteral("1"));
    EXPECT_EQ(strX[127], QStringLiteral("128"));
    EXPECT_EQ(setBrainpeakMIDIOpend, 1);
    LowFX[5] = 7.0f;
    SetupNX = 9;
    Control button("checked", false);
    mapper.SetToDefault(&button);  // the default button after opening: no defaults, setup 1 shown
    EXPECT_FLOAT_EQ(LowFX[5], 7.0f);
    EXPECT_EQ(SetupNX, 0);
}

TEST(PeakSetupTableTest, SetAndCancelMoveBetweenTheCopies)
{
    SetMIDI& mapper = startedMapper();
    mapper.setSetupN(4);
    mapper.setHighVSlider_(30.0f);
    Control timing("currentIndex", 9);
    mapper.selectSendMIDItiming(&timing);  // 1 s
    EXPECT_DOUBLE_EQ(tlongX[4], 1.0);
    MIDIportXstr[4] = QStringLiteral("elsewhere");
    mapper.setSet_(0);
    EXPECT_FLOAT_EQ(HighVXZ[4], 30.0f);
    EXPECT_DOUBLE_EQ(tlongXZ[4], 1.0);
    EXPECT_EQ(SendMIDItimingXZ[4], 3);  // the timing index is not committed

    mapper.setHighVSlider_(55.0f);
    NUPOchannelX[4] = 2;
    mapper.setCancel_(0);
    EXPECT_FLOAT_EQ(HighVX[4], 30.0f);
    EXPECT_DOUBLE_EQ(tlongX[4], 1.0);
    EXPECT_EQ(SendMIDItimingX[4], 3);
    EXPECT_EQ(MIDIportXstr[4], QStringLiteral("NUPO"));
    EXPECT_EQ(NUPOchannelX[4], 2);  // Cancel leaves the data channel
    EXPECT_FLOAT_EQ(HighVX[5], 20.0f);
}

// Showing a setup (choosing it, the panel's opening, Set) changes none of its values, also ones no setter
// would have left: a document's setups stay as they were read.
TEST(PeakSetupTableTest, ShowingASetupChangesNoneOfItsValues)
{
    SetMIDI& mapper = startedMapper();
    const int s = 5;
    InputFX[s] = 10.0f;
    InputVX[s] = 10.0f;
    OutputFX[s] = 43.333f;  // not what the map gives
    OutputVX[s] = 63.5f;
    LowFX[s] = 3.0f;
    InputFrequencyRangeX[s] = 4;  // a preset whose band the setup no longer has
    NUPOchannelX[s] = 6;          // a coherence pair with the first source mode
    UsePeakModeX[s] = 0;
    PeakPowerX[s] = 1;
    AveragePowerX[s] = 1;
    const auto values = [s] {
        return std::vector<double>{InputFX[s],
                                   InputVX[s],
                                   OutputFX[s],
                                   OutputVX[s],
                                   LowFX[s],
                                   HighFX[s],
                                   double(InputFrequencyRangeX[s]),
                                   double(NUPOchannelX[s]),
                                   double(UsePeakModeX[s]),
                                   double(PeakPowerX[s]),
                                   double(AveragePowerX[s])};
    };
    const std::vector<double> before = values();
    mapper.setSetupN(s);
    EXPECT_EQ(values(), before);
    mapper.setSetupN(0);
    mapper.setMIDIsetupWindow(s);
    SetupNX = s;
    mapper.setSet_(0);
    EXPECT_EQ(values(), before);
    EXPECT_FLOAT_EQ(HighVX[0], 20.0f);
}

TEST(PeakSetupTableTest, NamesAreMarkedBoundedAndASCII)
{
    SetMIDI& mapper = startedMapper();
    mapper.setSetToDefault_(1);
    mapper.setSetupN(11);
    mapper.setOnMarkToPopupStr(1);
    EXPECT_EQ(strX[11], QStringLiteral("ON:12"));
    mapper.setOnMarkToPopupStr(1);
    EXPECT_EQ(strX[11], QStringLiteral("ON:12"));
    mapper.setOnMarkToPopupStr(0);
    EXPECT_EQ(strX[11], QStringLiteral("12"));
    strX[11] = QStringLiteral("ON:");
    mapper.setOnMarkToPopupStr(0);
    EXPECT_EQ(strX[11], QStringLiteral("ON:"));

    Control field("text", QString(300, QChar(0x00e9)) + QStringLiteral("x"));
    mapper.sendTextSetupNstringField(&field);
    EXPECT_EQ(strX[11].size(), maxSetupNameLength);
    for (QChar c : strX[11])
        EXPECT_LT(c.unicode(), 128);
    mapper.setOnMarkToPopupStr(1);
    EXPECT_EQ(strX[11].size(), maxSetupNameLength + 3);
}

TEST(PeakSetupTableTest, SetupNumbersAreClamped)
{
    SetMIDI& mapper = startedMapper();
    Control field("text", QStringLiteral("0"));
    mapper.sendTextSetupNinputField(&field);
    EXPECT_EQ(SetupNX, 0);
    field.setProperty("text", QStringLiteral("500"));
    mapper.sendTextSetupNinputField(&field);
    EXPECT_EQ(SetupNX, 127);
    Control stepper("value", -3);
    mapper.SetCount(&stepper);
    EXPECT_EQ(SetupNX, 0);
    Control popup("currentIndex", 300);
    mapper.selectSetupN(&popup);
    EXPECT_EQ(SetupNX, 127);
}

TEST(PeakSetupTableTest, MapsNeverProduceNumbersOutsideTheOutputRange)
{
    EXPECT_FLOAT_EQ(mapIntoOutputRange(10.0f, 0.0f, 40.0f, 30.0f, 90.0f), 45.0f);
    EXPECT_FLOAT_EQ(mapIntoOutputRange(0.0f, 0.0f, 40.0f, 90.0f, 30.0f), 90.0f);  // falling
    EXPECT_FLOAT_EQ(mapIntoOutputRange(40.0f, 0.0f, 40.0f, 90.0f, 30.0f), 30.0f);
    EXPECT_FLOAT_EQ(mapIntoOutputRange(50.0f, 0.0f, 40.0f, 90.0f, 30.0f), 30.0f);
    EXPECT_FLOAT_EQ(mapIntoOutputRange(-9.0f, 0.0f, 40.0f, 90.0f, 30.0f), 90.0f);
    EXPECT_FLOAT_EQ(mapIntoOutputRange(7.0f, 5.0f, 5.0f, 30.0f, 90.0f), 30.0f);  // empty input range
    EXPECT_FLOAT_EQ(mapIntoOutputRange(NAN, 0.0f, 40.0f, 30.0f, 90.0f), 30.0f);
    EXPECT_FLOAT_EQ(mapBackToInput(60.0f, 0.0f, 40.0f, 30.0f, 90.0f, 3.0f), 20.0f);
    EXPECT_FLOAT_EQ(mapBackToInput(60.0f, 0.0f, 40.0f, 50.0f, 50.0f, 3.0f), 3.0f);  // empty output range
    EXPECT_EQ(truncatedValue(NAN), 0);
    EXPECT_EQ(truncatedValue(-0.9f), 0);
    EXPECT_DOUBLE_EQ(timingInterval(13, 0.0f), 60.0);  // a tempo below 1 counts as 1
    EXPECT_DOUBLE_EQ(timingInterval(4, 120.0f), 0.5450000166893005);
    EXPECT_DOUBLE_EQ(timingInterval(14, 120.0f), 0.0);
}

TEST(PeakSetupTableTest, RangeAndOutputSlidersOfTheShownSetup)
{
    SetMIDI& mapper = startedMapper();
    mapper.setSetupN(2);
    mapper.setOutputFSlider_(60.0f);  // band 0..40 onto 30..90: works back to 20 Hz
    EXPECT_FLOAT_EQ(InputFX[2], 20.0f);
    EXPECT_FLOAT_EQ(OutputFX[2], 60.0f);

    Control slider("value", 10.0);
    mapper.changeLowFSlider(&slider);  // free band, output remapped from the input
    EXPECT_EQ(InputFrequencyRangeX[2], 10);
    EXPECT_FLOAT_EQ(LowFX[2], 10.0f);
    EXPECT_FLOAT_EQ(OutputFX[2], 50.0f);

    mapper.setLowFSlider_(40.0f);  // empty band: the low end of the output range, never NaN
    EXPECT_FLOAT_EQ(OutputFX[2], 30.0f);

    mapper.setInputFrequencyRange_(8);
    EXPECT_FLOAT_EQ(LowFX[2], 13.0f);
    EXPECT_FLOAT_EQ(HighFX[2], 30.0f);
    mapper.setInputFrequencyRange_(99);
    EXPECT_FLOAT_EQ(HighFX[2], 40.0f);
    EXPECT_EQ(InputFrequencyRangeX[2], 99);

    Control field("text", QStringLiteral("7.5"));
    mapper.sendTextHighVNSliderField(&field);
    EXPECT_FLOAT_EQ(HighVNX[2], 7.5f);

    Control tempo("text", QStringLiteral("300"));
    mapper.sendTextTempoField(&tempo);
    EXPECT_FLOAT_EQ(TempoX[2], 240.0f);
    EXPECT_EQ(SendMIDItimingX[2], 13);
    EXPECT_DOUBLE_EQ(tlongX[2], 0.25);
    Control stopped("value", 0.0);
    mapper.changeTempoSlider(&stopped);  // the slider cannot reach 0 either
    EXPECT_FLOAT_EQ(TempoX[2], 1.0f);
    EXPECT_DOUBLE_EQ(tlongX[2], 60.0);
}

TEST(PeakSetupTableTest, SourceModesAndDataChannels)
{
    SetMIDI& mapper = startedMapper();
    mapper.setSetupN(6);
    InputVX[6] = 3.0f;
    mapper.setUsePeakMode_(2);
    EXPECT_EQ(UsePeakModeX[6], 2);
    EXPECT_FLOAT_EQ(InputVX[6], 50.0f);
    InputVX[6] = 3.0f;
    mapper.setUsePeakMode_(7);  // unknown mode: stored, input kept
    EXPECT_FLOAT_EQ(InputVX[6], 3.0f);

    Control popup("currentIndex", 6);
    mapper.selectNUPOchannel(&popup);  // a coherence pair forces the first brain switch
    EXPECT_EQ(NUPOchannelX[6], 6);
    EXPECT_EQ(NUPOchannelXP, 6);
    EXPECT_EQ(UsePeakModeX[6], 3);
    EXPECT_EQ(dataChannelItems(0).size(), 8);
    EXPECT_EQ(dataChannelItems(0).at(2), QStringLiteral("CH 1 Play only"));
    EXPECT_EQ(dataChannelItems(3).size(), 10);
    EXPECT_EQ(dataChannelText(42), QStringLiteral("CH 1"));
    EXPECT_EQ(dataChannelItems(1).at(6), QStringLiteral("---"));  // placeholders stay choosable

    Control stepper("value", 5);
    mapper.SetBSCH(&stepper);
    EXPECT_EQ(BSchannelX[6], 5);
    stepper.setProperty("value", 40);
    mapper.SetBSCH(&stepper);
    EXPECT_EQ(BSchannelX[6], 8);
}

TEST(PeakSetupTableTest, PairedBoxesKeepFAndVInOppositeRoles)
{
    SetMIDI& mapper = startedMapper();
    mapper.setSetupN(3);
    Control on("checked", true);
    Control off("checked", false);
    mapper.MIDIvelocityF(&on);
    EXPECT_EQ(MIDIvelocityFX[3], 1);
    EXPECT_EQ(MIDInoteVX[3], 1);
    EXPECT_EQ(MIDInoteFX[3], 0);
    EXPECT_EQ(MIDIvelocityVX[3], 0);
    mapper.MIDInoteF(&on);
    EXPECT_EQ(MIDInoteFX[3], 1);
    EXPECT_EQ(MIDIvelocityVX[3], 1);
    EXPECT_EQ(MIDInoteVX[3], 0);
    EXPECT_EQ(MIDIvelocityFX[3], 0);
    mapper.MIDInoteF(&off);
    EXPECT_EQ(MIDInoteFX[3], 0);
    EXPECT_EQ(MIDIvelocityVX[3], 1);

    mapper.MIDIcontrolchangeNV(&on);
    EXPECT_EQ(MIDIcontrolchangeNVX[3], 1);
    EXPECT_EQ(MIDIcontrolchangeVFX[3], 1);
    EXPECT_EQ(MIDIcontrolchangeNFX[3], 0);
    EXPECT_EQ(MIDIcontrolchangeVVX[3], 0);

    mapper.NoteOnOff(&on);
    EXPECT_EQ(NoteOnOffX[3], 1);
    EXPECT_EQ(NoteOffOnX[3], 0);
    mapper.AveragePower(&on);
    EXPECT_EQ(AveragePowerX[3], 1);
    EXPECT_EQ(PeakPowerX[3], 0);
}

TEST(PeakSetupTableTest, PresetsWriteSetupsOneAndTwo)
{
    SetMIDI& mapper = startedMapper();
    int shownTab = -1;
    SetMIDI::setShowPanelHandler([&](int tab) { shownTab = tab; });
    mapper.easyplaySetup(2);
    EXPECT_EQ(shownTab, 7);
    EXPECT_EQ(SetupNX, 1);
    for (int s : {0, 1}) {
        EXPECT_EQ(MIDIoutONX[s], 1);
        EXPECT_EQ(UsePeakModeX[s], 1);
        EXPECT_EQ(NUPOchannelX[s], s);
        EXPECT_EQ(MIDIchannelX[s], s);
        EXPECT_FLOAT_EQ(LowFX[s], 13.0f);
        EXPECT_FLOAT_EQ(HighFX[s], 30.0f);
        EXPECT_FLOAT_EQ(HighVX[s], 3.0f);
        EXPECT_DOUBLE_EQ(tlongX[s], 0.0);
    }
    EXPECT_EQ(ProgramChangeXXX[0], 40);
    EXPECT_EQ(ProgramChangeXXX[1], 98);
    shownTab = -1;
    mapper.easyplaySetup(0);
    EXPECT_EQ(shownTab, -1);  // only the first preset opens the panel
    EXPECT_EQ(MIDIoutONX[0], 0);
    EXPECT_EQ(MIDIoutONX[1], 0);
    EXPECT_FLOAT_EQ(LowFX[1], 13.0f);
    EXPECT_EQ(SetupNX, 0);
    SetMIDI::setShowPanelHandler(nullptr);
}

TEST(PeakSetupTableTest, TemporarySwitchOffIsNotNested)
{
    SetMIDI& mapper = startedMapper();
    MIDIoutONX[3] = 1;
    MIDIoutONX[9] = 1;
    mapper.sendMidiTemporalyOFF();
    EXPECT_EQ(MIDIoutONX[3], 0);
    EXPECT_EQ(setToOff, 1);
    MIDIoutONX[12] = 1;
    mapper.sendMidiTemporalyOFF();  // a second switch-off keeps the saved switches
    mapper.sendMidiBackON();
    EXPECT_EQ(MIDIoutONX[3], 1);
    EXPECT_EQ(MIDIoutONX[9], 1);
    EXPECT_EQ(MIDIoutONX[12], 1);  // switched on while off: stays on
    EXPECT_EQ(setToOff, 0);
}

}  // namespace
}  // namespace nupo
