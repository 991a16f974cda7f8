#include "midi/band/BandSetupTable.h"

#include <algorithm>

namespace nupo {

namespace {

// A field of the record: both copies, the default and which of Set and Cancel copy it.
template <class T>
struct Field {
    SetupArray<T>& edited;
    SetupArray<T>& committed;
    T defaultValue;
    bool copiedBySet;
    bool copiedByCancel;
};

// The setup-wide number fields. The data source and peak/average are neither committed nor restored;
// the port index is committed as validated by the caller.
const std::array<Field<int>, 12>& intFields()
{
    static const std::array<Field<int>, 12> fields = {{
        {NUPOchannelEX, NUPOchannelEXZ, 0, false, false},
        {MIDIportEX, MIDIportEXZ, 0, false, true},
        {SendMIDItimingEX, SendMIDItimingEXZ, 0, false, true},
        {MIDIoutONEX, MIDIoutONEXZ, 0, true, true},
        {BSchannelEX, BSchannelEXZ, 0, true, true},
        {UsePeakModeEX, UsePeakModeEXZ, 0, true, true},
        {PeakPowerEX, PeakPowerEXZ, 1, false, false},
        {AveragePowerEX, AveragePowerEXZ, 0, false, false},
        {NoteOnOffEX, NoteOnOffEXZ, 1, true, true},
        {NoteOffOnEX, NoteOffOnEXZ, 0, true, true},
        {ONInputEX, ONInputEXZ, 0, false, true},
        // The saved switches have no committed copy; the defaults clear them.
        {MIDIoutONXTempBand, MIDIoutONXTempBand, 0, false, false},
    }};
    return fields;
}

const Field<float>& gainField()
{
    static const Field<float> field = {gainNoteX, gainNoteXZ, 1.0f, false, true};
    return field;
}

// Band families: every one is committed and restored.
template <class T>
struct Family {
    BandFamily<T>& edited;
    BandFamily<T>& committed;
    T (*defaultValue)(int band);
};

const std::array<Family<float>, 3>& floatFamilies()
{
    static const std::array<Family<float>, 3> families = {{
        {LowFbandX, LowFbandXZ, [](int n) { return defaultBandLowF[std::size_t(n)]; }},
        {HighFbandX, HighFbandXZ, [](int n) { return defaultBandHighF[std::size_t(n)]; }},
        {bandOutX, bandOutXZ, [](int n) { return 10.0f * float(n); }},
    }};
    return families;
}

const Family<int>& channelFamily()
{
    static const Family<int> family = {MIDIchannelBandX, MIDIchannelBandXZ, [](int n) { return n; }};
    return family;
}

bool validSetup(int s)
{
    return s >= 0 && s < maxSetupNumber;
}

template <class T>
void writeDefault(const Field<T>& field, int s)
{
    field.edited[s] = field.defaultValue;
    field.committed[s] = field.defaultValue;
}

template <class T>
void writeDefault(const Family<T>& family, int s)
{
    for (int n = 0; n < bandCount; ++n) {
        family.edited[std::size_t(n)][s] = family.defaultValue(n);
        family.committed[std::size_t(n)][s] = family.defaultValue(n);
    }
}

template <class T>
void copyField(const Field<T>& field, int s, bool toCommitted)
{
    if (toCommitted)
        field.committed[s] = field.edited[s].load();
    else
        field.edited[s] = field.committed[s].load();
}

template <class T>
void copyFamily(const Family<T>& family, int s, bool toCommitted)
{
    for (std::size_t n = 0; n < bandCount; ++n) {
        if (toCommitted)
            family.committed[n][s] = family.edited[n][s].load();
        else
            family.edited[n][s] = family.committed[n][s].load();
    }
}

}  // namespace

QString storedBandSetupName(const QString& name)
{
    QString stored;
    stored.reserve(std::min<qsizetype>(name.size(), maxBandSetupNameLength));
    for (const QChar c : name) {
        if (stored.size() >= maxBandSetupNameLength)
            break;
        stored.append(c.unicode() < 128 ? c : QLatin1Char('?'));
    }
    return stored;
}

void writeBandSetupDefaults()
{
    for (int s = 0; s < maxSetupNumber; ++s) {
        for (const auto& field : intFields())
            writeDefault(field, s);
        writeDefault(gainField(), s);
        for (const auto& family : floatFamilies())
            writeDefault(family, s);
        writeDefault(channelFamily(), s);
        tlongEX[s] = 0.0;
        tsaveEX[s] = 0.0;
    }
    MIDIportEXstr.fill(QStringLiteral("NUPO"));
    MIDIportEXstrZ.fill(QStringLiteral("NUPO"));
}

void commitBandSetup(int s, int committedPort)
{
    if (!validSetup(s))
        return;
    for (const auto& field : intFields())
        if (field.copiedBySet)
            copyField(field, s, true);
    for (const auto& family : floatFamilies())
        copyFamily(family, s, true);
    copyFamily(channelFamily(), s, true);
    MIDIportEXZ[s] = committedPort;
}

void revertBandSetup(int s)
{
    if (!validSetup(s))
        return;
    for (const auto& field : intFields())
        if (field.copiedByCancel)
            copyField(field, s, false);
    copyField(gainField(), s, false);
    for (const auto& family : floatFamilies())
        copyFamily(family, s, false);
    copyFamily(channelFamily(), s, false);
    MIDIportEXstr[s] = MIDIportEXstrZ[s];
}

void commitBandEdges(int s)
{
    if (!validSetup(s))
        return;
    for (std::size_t n = 0; n < bandCount; ++n) {
        LowFbandXZ[n][s] = LowFbandX[n][s].load();
        HighFbandXZ[n][s] = HighFbandX[n][s].load();
    }
}

double bandSendInterval(int index)
{
    switch (index) {
        case 0:
            return 0.0;
        case 1:
            return double(0.1f);
        case 2:
            return double(0.2f);
        case 3:
            return 0.5;
        case 4:
            return 1.0;
        default:
            return -1.0;
    }
}

int shownBandSetup()
{
    return std::clamp(SetupBandNX.load(), 0, maxSetupNumber - 1);
}

}  // namespace nupo
