#include "midi/peak/PeakSetupTable.h"

#include <algorithm>

namespace nupo {

namespace {

template <class T>
struct Field {
    SetupArray<T>& edited;
    SetupArray<T>& committed;
    T defaultValue;
    bool hasDefault = true;
    bool copiedBySet = true;
    bool copiedByCancel = true;
};

using FloatField = Field<float>;
using IntField = Field<int>;
using DoubleField = Field<double>;

const std::array<FloatField, 13>& floatFields()
{
    static const std::array<FloatField, 13> fields = {{
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
    }};
    return fields;
}

const std::array<DoubleField, 2>& doubleFields()
{
    static const std::array<DoubleField, 2> fields = {{
        {tlongX, tlongXZ, 0.0, false},
        {tsaveX, tsaveXZ, 0.0, false},
    }};
    return fields;
}

const std::array<IntField, 32>& intFields()
{
    static const std::array<IntField, 32> fields = {{
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
    }};
    return fields;
}

template <class Fields>
void writeDefaults(const Fields& fields)
{
    for (const auto& field : fields) {
        if (!field.hasDefault)
            continue;
        for (int s = 0; s < maxSetupNumber; ++s) {
            field.edited[s] = field.defaultValue;
            field.committed[s] = field.defaultValue;
        }
    }
}

template <class Fields>
void commit(const Fields& fields, int s)
{
    for (const auto& field : fields)
        if (field.copiedBySet)
            field.committed[s] = field.edited[s].load();
}

template <class Fields>
void revert(const Fields& fields, int s)
{
    for (const auto& field : fields)
        if (field.copiedByCancel)
            field.edited[s] = field.committed[s].load();
}

bool validSetup(int s)
{
    return s >= 0 && s < maxSetupNumber;
}

}  // namespace

void writePeakSetupDefaults()
{
    writeDefaults(floatFields());
    writeDefaults(doubleFields());
    writeDefaults(intFields());
    MIDIportXstr.fill(QStringLiteral("NUPO"));
    MIDIportXstrZ.fill(QStringLiteral("NUPO"));
}

void commitPeakSetup(int s, int committedPort)
{
    if (!validSetup(s))
        return;
    commit(floatFields(), s);
    commit(doubleFields(), s);
    commit(intFields(), s);
    MIDIportXZ[s] = committedPort;
}

void revertPeakSetup(int s)
{
    if (!validSetup(s))
        return;
    revert(floatFields(), s);
    revert(doubleFields(), s);
    revert(intFields(), s);
    MIDIportXstr[s] = MIDIportXstrZ[s];
}

QString storedSetupName(const QString& name)
{
    QString stored;
    stored.reserve(std::min<qsizetype>(name.size(), maxSetupNameLength));
    for (const QChar c : name) {
        if (stored.size() >= maxSetupNameLength)
            break;
        stored.append(c.unicode() < 128 ? c : QLatin1Char('?'));
    }
    return stored;
}

}  // namespace nupo
