#include "document/sections/MidiSections.h"

#include "midi/band/BandSetupTable.h"
#include "midi/peak/PeakSetupTable.h"

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr double anyValue = 1e9;  // float fields: any finite value the panels can reach

SetupField flag(const char* key, SetupArray<int>& a)
{
    return {QString::fromLatin1(key), &a, 0, 1};
}
SetupField ints(const char* key, SetupArray<int>& a, int low, int high)
{
    return {QString::fromLatin1(key), &a, double(low), double(high)};
}
SetupField floats(const char* key, SetupArray<float>& a)
{
    return {QString::fromLatin1(key), &a, -anyValue, anyValue};
}

std::vector<SetupField> peakFields()
{
    return {
        floats("LowFX:", LowFX),
        floats("HighFX:", HighFX),
        floats("LowFNX:", LowFNX),
        floats("HighFNX:", HighFNX),
        floats("LowVX:", LowVX),
        floats("HighVX:", HighVX),
        floats("LowVNX:", LowVNX),
        floats("HighVNX:", HighVNX),
        floats("InputFX:", InputFX),
        floats("InputVX:", InputVX),
        floats("OutputFX:", OutputFX),
        floats("OutputVX:", OutputVX),
        floats("TempoX:", TempoX),
        ints("SendMIDItimingX:", SendMIDItimingX, 0, 13),
        ints("NUPOchannelX:", NUPOchannelX, 0, 9),
        ints("BSchannelX:", BSchannelX, 0, 8),
        ints("UsePeakModeX:", UsePeakModeX, 0, 3),
        ints("InputFrequencyRangeX:", InputFrequencyRangeX, 0, 10),
        flag("PeakPowerX:", PeakPowerX),
        flag("AveragePowerX:", AveragePowerX),
        flag("ONInputX:", ONInputX),
        flag("MIDIoutONX:", MIDIoutONX),
        {QStringLiteral("MIDIportX:"), &MIDIportXstr, 0, 0, maxSetupNameLength, &storedSetupName},
        ints("MIDIchannelX:", MIDIchannelX, 0, 15),
        ints("ProgramChangeXXX:", ProgramChangeXXX, 0, 127),
        flag("UseQTMIDIX:", UseQTMIDIX),
        flag("Play3PeaksX:", Play3PeaksX),
        flag("NoteOnOffX:", NoteOnOffX),
        flag("NoteOffOnX:", NoteOffOnX),
        flag("PlayOnlyNoteChangedX:", PlayOnlyNoteChangedX),
        flag("MIDInoteFX:", MIDInoteFX),
        flag("MIDIvelocityFX:", MIDIvelocityFX),
        flag("MIDIchannelFX:", MIDIchannelFX),
        flag("MIDIprogramchangeFX:", MIDIprogramchangeFX),
        flag("MIDIpitchbendFX:", MIDIpitchbendFX),
        flag("MIDIcontrolchangeVFX:", MIDIcontrolchangeVFX),
        flag("MIDIcontrolchangeNFX:", MIDIcontrolchangeNFX),
        flag("MIDInoteVX:", MIDInoteVX),
        flag("MIDIvelocityVX:", MIDIvelocityVX),
        flag("MIDIchannelVX:", MIDIchannelVX),
        flag("MIDIprogramchangeVX:", MIDIprogramchangeVX),
        flag("MIDIpitchbendVX:", MIDIpitchbendVX),
        flag("MIDIcontrolchangeVVX:", MIDIcontrolchangeVVX),
        flag("MIDIcontrolchangeNVX:", MIDIcontrolchangeNVX),
        {QStringLiteral("strX:"), &strX, 0, 0, maxSetupNameLength, &storedSetupName},
    };
}

std::vector<SetupField> bandFields()
{
    std::vector<SetupField> fields = {
        ints("NUPOchannelEX:", NUPOchannelEX, 0, 9),
        {QStringLiteral("MIDIportEX:"), &MIDIportEXstr, 0, 0, maxBandSetupNameLength, &storedBandSetupName},
        ints("SendMIDItimingEX:", SendMIDItimingEX, 0, 4),
        flag("MIDIoutONEX:", MIDIoutONEX),
        ints("BSchannelEX:", BSchannelEX, 0, 7),
        ints("UsePeakModeEX:", UsePeakModeEX, 0, 1),
        flag("PeakPowerEX:", PeakPowerEX),
        flag("AveragePowerEX:", AveragePowerEX),
        floats("gainNoteX:", gainNoteX),
        flag("NoteOnOffEX:", NoteOnOffEX),
        flag("NoteOffOnEX:", NoteOffOnEX),
        flag("ONInputEX:", ONInputEX),
    };
    // The band families, one array per band: MIDIchannel1X .. 8X, LowF1X .., HighF1X .., bandOut1X ..
    const auto family = [&fields](const char* name, auto& arrays, double low, double high) {
        for (int n = 0; n < bandCount; ++n)
            fields.push_back({QStringLiteral("%1%2X:").arg(QLatin1String(name)).arg(n + 1),
                              &arrays[std::size_t(n)], low, high});
    };
    family("MIDIchannel", MIDIchannelBandX, 0, 15);
    family("LowF", LowFbandX, -anyValue, anyValue);
    family("HighF", HighFbandX, -anyValue, anyValue);
    family("bandOut", bandOutX, -anyValue, anyValue);
    fields.push_back({QStringLiteral("strEX:"), &strEX, 0, 0, maxBandSetupNameLength, &storedBandSetupName});
    return fields;
}

}  // namespace

bool HeldSetups::same(const PlistDictionary& a, const PlistDictionary& b) const
{
    const QStringList keys = a.keys();
    if (keys != b.keys())
        return false;
    for (const QString& key : keys)
        if (!measured.contains(key) && !(*a.find(key) == *b.find(key)))
            return false;
    return true;
}

bool HeldSetups::held(bool inUse, const PlistDictionary& written)
{
    if (!inUse) {
        untouched = written;
        return false;
    }
    return fromFile || !untouched || !same(written, *untouched);
}

QStringList PeakMidiSection::measuredKeys()
{
    return {QStringLiteral("InputFX:"), QStringLiteral("InputVX:"), QStringLiteral("OutputFX:"),
            QStringLiteral("OutputVX:")};
}

PeakMidiSection::PeakMidiSection(MidiDocumentCalls& calls)
    : calls(calls),
      setups(peakFields()),
      scalars({{QStringLiteral("SetupPopupX:"), &SetupPopupX, 0, maxSetupNumber - 1},
               {QStringLiteral("InstrumentNumber:"), &InstrumentNumber, 0, 127}})
{
}

std::optional<PlistDictionary> PeakMidiSection::write()
{
    PlistDictionary section;
    scalars.write(section);
    setups.write(section);
    if (!held.held(setBrainpeakMIDIOpend.load(relaxed) != 0, section))
        return std::nullopt;
    return section;
}

bool PeakMidiSection::stage(SectionInput& input)
{
    return scalars.stage(input) && setups.stage(input);
}

void PeakMidiSection::apply(const DocumentReadContext&)
{
    if (setBrainpeakMIDIOpend.load(relaxed) == 0) {
        calls.init();
        calls.setResetMIDI(1);
        calls.setBrainpeakMIDIOpend(1);
        calls.bandSetGetOutMIDIPort();
        calls.setBrainpeakMIDISetName(1);
    }
    setups.apply();
    scalars.apply();
    SetupPopupShownX = SetupPopupX.load();  // the panel loaded next shows the document's setup
    held.readFromFile();
    calls.initTempo();
    calls.setProgramChangeToAllSetup();
    calls.convertPortNameToInt();
    calls.setProgramChangeToAllSetup();
}

}  // namespace nupo

namespace nupo {

QStringList BandMidiSection::measuredKeys()
{
    QStringList keys;
    for (int n = 1; n <= bandCount; ++n)
        keys << QStringLiteral("bandOut%1X:").arg(n);
    return keys;
}

BandMidiSection::BandMidiSection(MidiDocumentCalls& calls)
    : calls(calls),
      setups(bandFields()),
      scalars({{QStringLiteral("SetupPopupEX:"), &SetupPopupEX, 0, maxSetupNumber - 1}})
{
}

std::optional<PlistDictionary> BandMidiSection::write()
{
    PlistDictionary setupsNow;
    scalars.write(setupsNow);
    setups.write(setupsNow);
    const bool opened = held.held(setBrainrhythmMIDIOpend.load(relaxed) != 0, setupsNow);
    PlistDictionary section;
    section.insert(QStringLiteral("setBrainrhythmMIDIOpend:"), integerValue(opened ? 1 : 0));
    for (const QString& key : setupsNow.keys())
        section.insert(key, *setupsNow.find(key));
    return section;
}

bool BandMidiSection::stage(SectionInput& input)
{
    storedOpened = input.integer(QStringLiteral("setBrainrhythmMIDIOpend:"), 0, 1).value_or(0);
    return !input.failed() && scalars.stage(input) && setups.stage(input);
}

void BandMidiSection::apply(const DocumentReadContext&)
{
    if (storedOpened == 0)
        return;  // the file holds the band defaults only: the settings of this process stay
    if (setBrainrhythmMIDIOpend.load(relaxed) == 0) {
        if (setBrainpeakMIDIOpend.load(relaxed) == 0) {
            calls.bandInit();
            calls.bandSetResetMIDI(1);
            calls.setBrainrhythmMIDIOpend(1);
            calls.setBrainrhythmMIDISetName(1);
        }
        calls.bandSetGetOutMIDIPort();
        calls.setBrainrhythmMIDIOpend(1);
    }
    setups.apply();
    scalars.apply();
    held.readFromFile();
    calls.bandConvertPortNameToInt();
}

}  // namespace nupo
