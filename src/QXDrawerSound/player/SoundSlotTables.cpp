#include "QXDrawerSound/player/SoundSlotTables.h"

#include "shared/AnalysisState.h"
#include "shared/BrainSources.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace nupo {

SoundPathTable* soundPathTable(int slot)
{
    static const std::array<SoundPathTable*, soundSlotCount> tables{
        &SendSoundstr,  &SendSoundAstr, &SendSoundBstr, &SendSoundCstr, &SendSoundDstr,
        &SendSoundEstr, &SendSoundFstr, &SendSoundGstr, &SendSoundHstr, &SendSoundIstr};
    return slot >= 0 && slot < soundSlotCount ? tables[std::size_t(slot)] : nullptr;
}

void initSoundTables()
{
    for (SlotInts* ints :
         {&setSelectSoundNumberA, &setSoundBrainNumberA, &setSoundPFCNumberA, &setVolumeBrainNumberA,
          &setVolumePFCNumberA, &setTimeBrainNumberA, &setTimePFCNumberA, &setSpeedBrainNumberA,
          &setSpeedPFCNumberA, &UseBSONA, &SoundControlA, &SpeedControlA, &RowsCountA})
        ints->fill(0);
    PlaymodeA.fill(1);
    VolumeSlider_valueA.fill(2.0f);
    TimeSlider_valueA.fill(2.0f);
    SpeedSlider_valueA.fill(32.0f);
    for (std::size_t band = 0; band < bandSoundIndexArrays.size(); ++band)
        bandSoundIndexArrays[band]->fill(static_cast<float>(band));
    for (int slot = 0; slot < soundSlotCount; ++slot)
        soundPathTable(slot)->fill(QStringLiteral(" "));
}

void setOutCHARs(const QString& name)
{
    QByteArray bytes = name.toUtf8();
    if (bytes.size() >= outCHARsSize) {
        // Cut before a continuation byte's lead, so no character is split.
        qsizetype end = outCHARsSize - 1;
        while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
            --end;
        bytes.truncate(end);
    }
    std::memcpy(outCHARs, bytes.constData(), std::size_t(bytes.size()));
    outCHARs[bytes.size()] = '\0';
}

QString outCHARsText()
{
    return QString::fromUtf8(outCHARs, qsizetype(strnlen(outCHARs, outCHARsSize)));
}

int soundBlockSize(int rows)
{
    const int blocks = SoundBlockX.load(std::memory_order_relaxed);
    return blocks > 0 && rows > 0 ? rows / blocks : 0;
}

int soundBlockFirstRow(int rows)
{
    return soundBlockSize(rows) * (PlaySoundBlockX.load(std::memory_order_relaxed) - 1);
}

int autoNextRow(int row, int rows)
{
    const int size = soundBlockSize(rows);
    const int next = row + 1;
    return next > size * PlaySoundBlockX.load(std::memory_order_relaxed) - 1 ? soundBlockFirstRow(rows)
                                                                             : next;
}

int randomRowInBlock(int r, int rows)
{
    const int size = soundBlockSize(rows);
    if (size <= 0)
        return soundBlockFirstRow(rows);
    return std::abs(r - (r / size) * size) + soundBlockFirstRow(rows);
}

float soundRateFromLevel(float level, float offset)
{
    const float rate = (level - offset) * 0.03125f;
    return rate == 0.0f ? 0.01f : rate;
}

int soundVolumeFromLevel(float level, float gain)
{
    const float volume = level * gain;
    return volume > 128.0f ? 128 : static_cast<int>(volume);
}

BrainSwitchReading readBrainSwitch(int source, int switchSlot)
{
    if (source < 0 || source >= brainSourceCount || switchSlot < 0 || switchSlot >= brainSwitchWindowCount)
        return {};
    const SharedBrainSwitchRecord& record =
        source > 3 ? peakSWcoherenceCount[source][switchSlot][0] : peakSWfftCount[source][switchSlot][0];
    return {record.level.load(std::memory_order_relaxed),
            record.peakFrequency.load(std::memory_order_relaxed)};
}

QString soundSlotLetter(int slot)
{
    return slot >= 1 && slot < soundSlotCount ? QString(QChar(u'A' + (slot - 1))) : QString();
}

QString soundSlotNibName(int slot)
{
    return QStringLiteral("QXDrawerSound") + soundSlotLetter(slot);
}

QString soundSlotClassName(int slot)
{
    return QStringLiteral("QXSoundController") + soundSlotLetter(slot);
}

int openSoundAfter(int slot)
{
    return slot >= soundSlotCount - 1 || slot < 0 ? 0 : slot + 1;
}

QStringList soundChoiceItems()
{
    return {QStringLiteral("By Mouse click"), QStringLiteral("Auto Next"), QStringLiteral("Random select")};
}

QStringList brainSwitchSlotItems()
{
    QStringList items;
    for (int n = 0; n <= 8; ++n)
        items << QStringLiteral("BS%1").arg(n);
    return items;
}

QStringList soundSourceItems(int deviceConfig)
{
    return brainSourceItems(deviceConfig);
}

int handOverSoundBank(const QStringList& paths)
{
    if (paths.isEmpty())
        return -1;
    if (paths.size() == 1) {
        if (!NSStringToC(paths.first()))  // says why a path does not fit
            return -1;
        openFromSFolder = 0;
        LastRowsCount = 1;
        setOutCHARs(QFileInfo(paths.first()).fileName());
    } else {
        openFromSFolder = 1;
        LastRowsCount = static_cast<int>(paths.size());
        soundNameArrayX = paths;
        soundNameArrayS.clear();
        for (const QString& path : paths)
            soundNameArrayS << QFileInfo(path).fileName();
        const QString folder = QFileInfo(paths.first()).absolutePath();
        NSStringToC(folder);
        setOutCHARs(QFileInfo(folder).fileName());
    }
    const int slot = openSound >= soundSlotCount || openSound < 0 ? 0 : openSound;
    openSound = openSoundAfter(slot);
    return slot;
}

}  // namespace nupo
