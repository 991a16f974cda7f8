#include "document/sections/SoundSection.h"

#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/SoundSlotTables.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

struct SlotArray {
    const char* key;
    std::variant<SlotInts*, SlotFloats*> target;
    double low, high;
};

// The thirty slot arrays, one element per slot (and the spare).
const std::vector<SlotArray>& slotArrays()
{
    static const std::vector<SlotArray> arrays = {
        {"setSelectSoundNumberA", &setSelectSoundNumberA, 0, 2},
        {"setSoundBrainNumberA", &setSoundBrainNumberA, 0, 9},
        {"setSoundPFCNumberA", &setSoundPFCNumberA, 0, 8},
        {"setVolumeBrainNumberA", &setVolumeBrainNumberA, 0, 9},
        {"setVolumePFCNumberA", &setVolumePFCNumberA, 0, 8},
        {"setTimeBrainNumberA", &setTimeBrainNumberA, 0, 9},
        {"setTimePFCNumberA", &setTimePFCNumberA, 0, 8},
        {"setSpeedBrainNumberA", &setSpeedBrainNumberA, 0, 9},
        {"setSpeedPFCNumberA", &setSpeedPFCNumberA, 0, 8},
        {"VolumeSlider_valueA", &VolumeSlider_valueA, -1e6, 1e6},
        {"TimeSlider_valueA", &TimeSlider_valueA, -1e6, 1e6},
        {"SpeedSlider_valueA", &SpeedSlider_valueA, -1e6, 1e6},
        {"EyedeltaLSlider_valueA", &EyedeltaLSlider_valueA, 0, soundBankCapacity - 1},
        {"EyedeltaHSlider_valueA", &EyedeltaHSlider_valueA, 0, soundBankCapacity - 1},
        {"ThetaLSlider_valueA", &ThetaLSlider_valueA, 0, soundBankCapacity - 1},
        {"ThetaHSlider_valueA", &ThetaHSlider_valueA, 0, soundBankCapacity - 1},
        {"AlphaLSlider_valueA", &AlphaLSlider_valueA, 0, soundBankCapacity - 1},
        {"AlphaHSlider_valueA", &AlphaHSlider_valueA, 0, soundBankCapacity - 1},
        {"BetaLSlider_valueA", &BetaLSlider_valueA, 0, soundBankCapacity - 1},
        {"BetaHSlider_valueA", &BetaHSlider_valueA, 0, soundBankCapacity - 1},
        {"PlaymodeA", &PlaymodeA, 0, 3},
        {"UseBSONA", &UseBSONA, 0, 1},
        {"SoundControlA", &SoundControlA, 0, 1},
        {"SpeedControlA", &SpeedControlA, 0, 1},
        {"RowsCountA", &RowsCountA, 0, soundBankCapacity},
        {"UseBSSlider_valueA", &UseBSSlider_valueA, -1e6, 1e6},
        {"OnOffSWBSSlider_valueA", &OnOffSWBSSlider_valueA, -1e6, 1e6},
        {"UseFBSSlider_valueA", &UseFBSSlider_valueA, -1e6, 1e6},
        {"VolumeTimeSpeedControA", &VolumeTimeSpeedControA, -1e6, 1e6},
        {"FrameControlA", &FrameControlA, -1e6, 1e6},
    };
    return arrays;
}

QString pathKey(int slot)
{
    return QStringLiteral("SendSound%1str").arg(soundSlotLetter(slot));
}

// The window frame of slot 0..9, x, y, width and height.
QString frameKey(int slot)
{
    return QStringLiteral("WindowFrame%1").arg(slot + 1);
}

constexpr double maxCoordinate = 100000.0;

}  // namespace

QStringList SoundSection::frameKeys()
{
    QStringList keys;
    for (int slot = 0; slot < soundSlotCount; ++slot)
        keys << frameKey(slot);
    return keys;
}

std::optional<PlistDictionary> SoundSection::write()
{
    if (firsttimeQXSoundController == 0) {
        QXSoundController::sharedQXSoundController().initSoundNSStr();
        firsttimeQXSoundController = 1;
    }
    PlistDictionary section;
    section.insert(QStringLiteral("SoundBlockX"), integerValue(SoundBlockX.load(relaxed)));
    section.insert(QStringLiteral("PlaySoundBlockX"), integerValue(PlaySoundBlockX.load(relaxed)));
    for (const SlotArray& a : slotArrays()) {
        PlistValue::Array items;
        if (const auto* ints = std::get_if<SlotInts*>(&a.target))
            for (int v : **ints)
                items.push_back(integerValue(v));
        else
            for (float v : *std::get<SlotFloats*>(a.target))
                items.push_back(floatValue(v));
        section.insert(QString::fromLatin1(a.key), std::move(items));
    }
    for (int slot = 0; slot < soundSlotCount; ++slot) {
        PlistValue::Array items;
        for (const QString& path : *soundPathTable(slot))
            items.push_back(path);
        section.insert(pathKey(slot), std::move(items));
    }
    for (int slot = 0; slot < soundSlotCount; ++slot) {
        const float* frame = SoundWindowFrameA[slot];
        if (frame[2] > 0.0f && frame[3] > 0.0f)
            section.insert(frameKey(slot), PlistValue::Array{floatValue(frame[0]), floatValue(frame[1]),
                                                             floatValue(frame[2]), floatValue(frame[3])});
    }
    return section;
}

bool SoundSection::stage(SectionInput& input)
{
    defaults = false;
    block = input.integer(QStringLiteral("SoundBlockX"), 1, 12);
    playBlock = input.integer(QStringLiteral("PlaySoundBlockX"), 1, 12);
    arrays.clear();
    for (const SlotArray& a : slotArrays()) {
        arrays.push_back(input.numbers(QString::fromLatin1(a.key), soundSlotArraySize, a.low, a.high));
        if (input.failed())
            return false;
    }
    paths.clear();
    for (int slot = 0; slot < soundSlotCount; ++slot) {
        paths.push_back(input.names(pathKey(slot), soundBankCapacity, maxPathLength));
        if (input.failed())
            return false;
    }
    frames.clear();
    for (int slot = 0; slot < soundSlotCount; ++slot) {
        const auto frame = input.numbers(frameKey(slot), 4, -maxCoordinate, maxCoordinate);
        if (input.failed())
            return false;
        if (frame && frame->size() != 4) {
            input.fail(frameKey(slot), QStringLiteral("a frame is four numbers: x, y, width and height"));
            return false;
        }
        frames.push_back(frame);
    }
    return true;
}

bool SoundSection::stageDefaults()
{
    const PlistDictionary none;
    SectionInput input(none, key());
    stage(input);
    defaults = true;
    return true;
}

void SoundSection::apply(const DocumentReadContext&)
{
    if (defaults) {
        // The slot windows' frames go below, as for a document that has none.
        initSoundTables();
        SoundBlockX.store(startSoundBlocks, relaxed);
        PlaySoundBlockX.store(startSoundBlocks, relaxed);
        defaults = false;
    }
    firsttimeQXSoundController = 1;
    if (block)
        SoundBlockX.store(*block, relaxed);
    if (playBlock)
        PlaySoundBlockX.store(*playBlock, relaxed);
    for (std::size_t i = 0; i < arrays.size(); ++i) {
        if (!arrays[i])
            continue;
        const std::vector<double>& values = *arrays[i];
        if (auto* ints = std::get_if<SlotInts*>(&slotArrays()[i].target))
            for (std::size_t k = 0; k < values.size(); ++k)
                (**ints)[k] = int(std::lround(values[k]));
        else
            for (std::size_t k = 0; k < values.size(); ++k)
                (*std::get<SlotFloats*>(slotArrays()[i].target))[k] = float(values[k]);
    }
    for (int slot = 0; slot < int(paths.size()); ++slot)
        if (paths[std::size_t(slot)])
            for (std::size_t k = 0; k < paths[std::size_t(slot)]->size(); ++k)
                (*soundPathTable(slot))[k] = (*paths[std::size_t(slot)])[k];
    for (int slot = 0; slot < int(frames.size()); ++slot) {
        float* stored = SoundWindowFrameA[slot];
        const auto& frame = frames[std::size_t(slot)];
        // A slot without a frame in the file opens where a new slot window opens.
        for (int k = 0; k < 4; ++k)
            stored[k] = frame ? float((*frame)[std::size_t(k)]) : 0.0f;
        // A window narrower or lower than a point could not be seen or grabbed again.
        if (frame) {
            stored[2] = std::max(stored[2], 1.0f);
            stored[3] = std::max(stored[3], 1.0f);
        }
    }
    arrays.clear();
    paths.clear();
    frames.clear();
}

}  // namespace nupo
