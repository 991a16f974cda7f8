#include "midi/band/BandSetupTable.h"

#include "midi/common/SetupCopies.h"

#include <algorithm>

namespace nupo {

namespace {

// The record: defaults, and which fields Set and Cancel copy. The data source and peak/average are
// neither committed nor restored; the port index is committed as validated by the caller; the send
// interval and time and the saved switches have no committed copy.
SetupCopies makeBandSetupCopies()
{
    SetupCopies copies{
        {{gainNoteX, gainNoteXZ, 1.0f, true, false, true}},
        {{tlongEX, tlongEX, 0.0, true, false, false}, {tsaveEX, tsaveEX, 0.0, true, false, false}},
        {
            {NUPOchannelEX, NUPOchannelEXZ, 0, true, false, false},
            {MIDIportEX, MIDIportEXZ, 0, true, false, true},
            {SendMIDItimingEX, SendMIDItimingEXZ, 0, true, false, true},
            {MIDIoutONEX, MIDIoutONEXZ, 0},
            {BSchannelEX, BSchannelEXZ, 0},
            {UsePeakModeEX, UsePeakModeEXZ, 0},
            {PeakPowerEX, PeakPowerEXZ, 1, true, false, false},
            {AveragePowerEX, AveragePowerEXZ, 0, true, false, false},
            {NoteOnOffEX, NoteOnOffEXZ, 1},
            {NoteOffOnEX, NoteOffOnEXZ, 0},
            {ONInputEX, ONInputEXZ, 0, true, false, true},
            {MIDIoutONXTempBand, MIDIoutONXTempBand, 0, true, false, false},
        },
        {{MIDIportEXstr, MIDIportEXstrZ, QStringLiteral("NUPO"), true, false, true}},
    };
    // The band families: every band committed and restored, with its own default.
    for (std::size_t n = 0; n < bandCount; ++n) {
        copies.floats.push_back({LowFbandX[n], LowFbandXZ[n], defaultBandLowF[n]});
        copies.floats.push_back({HighFbandX[n], HighFbandXZ[n], defaultBandHighF[n]});
        copies.floats.push_back({bandOutX[n], bandOutXZ[n], 10.0f * float(n)});
        copies.ints.push_back({MIDIchannelBandX[n], MIDIchannelBandXZ[n], int(n)});
    }
    return copies;
}

const SetupCopies& bandSetupCopies()
{
    static const SetupCopies copies = makeBandSetupCopies();
    return copies;
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
    bandSetupCopies().writeDefaults();
}

void commitBandSetup(int s, int committedPort)
{
    if (!validSetup(s))
        return;
    bandSetupCopies().commit(s);
    MIDIportEXZ[s] = committedPort;
}

void revertBandSetup(int s)
{
    bandSetupCopies().revert(s);
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
