#pragma once

// The process-wide state of the ten sound slots: one element per slot in each slot array, one table of
// sound paths per slot, the hand-over variables that an opener writes before it loads a slot's window,
// and the arithmetic every sound choice uses. Main thread, except `SoundBlockX` and `PlaySoundBlockX`,
// which other threads may set.

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>

namespace nupo {

inline constexpr int soundSlotCount = 10;
// Each slot array has one element per slot and one spare.
inline constexpr int soundSlotArraySize = 11;
// A slot's bank holds at most this many sounds.
inline constexpr int soundBankCapacity = 128;

using SlotInts = std::array<int, soundSlotArraySize>;
using SlotFloats = std::array<float, soundSlotArraySize>;

// --- Slot arrays: element k belongs to slot k; `initSoundNSStr` sets the defaults given here. --------
inline SlotInts setSelectSoundNumberA{};  // 0 "By Mouse click", 1 "Auto Next", 2 "Random select"
inline SlotInts setSoundBrainNumberA{};   // source 0..9 of the brain-rhythm sound choice
inline SlotInts setSoundPFCNumberA{};     // brain-switch slot 0..8 of the sound choice
inline SlotInts setVolumeBrainNumberA{};
inline SlotInts setVolumePFCNumberA{};
inline SlotInts setTimeBrainNumberA{};  // held and restored only
inline SlotInts setTimePFCNumberA{};    // held and restored only
inline SlotInts setSpeedBrainNumberA{};
inline SlotInts setSpeedPFCNumberA{};
inline SlotFloats VolumeSlider_valueA{};  // 2.0: volume gain
inline SlotFloats TimeSlider_valueA{};    // 2.0: held and restored only
inline SlotFloats SpeedSlider_valueA{};   // 32.0: rate offset
// Sound index within the block for each band, Eye to Gamma (defaults 0 to 7).
inline SlotFloats EyedeltaLSlider_valueA{};
inline SlotFloats EyedeltaHSlider_valueA{};
inline SlotFloats ThetaLSlider_valueA{};
inline SlotFloats ThetaHSlider_valueA{};
inline SlotFloats AlphaLSlider_valueA{};
inline SlotFloats AlphaHSlider_valueA{};
inline SlotFloats BetaLSlider_valueA{};
inline SlotFloats BetaHSlider_valueA{};
inline SlotInts PlaymodeA{};      // 1: 0 play once, 1 loop, 2 selection only, 3 selection only off
inline SlotInts UseBSONA{};       // brain-rhythm sound choice on
inline SlotInts SoundControlA{};  // volume follows the brain switch
inline SlotInts SpeedControlA{};  // rate follows the brain switch
inline SlotInts RowsCountA{};     // number of sounds in the slot's bank
// Kept with the slot's record by documents; nothing else reads or writes them.
inline SlotFloats UseBSSlider_valueA{};
inline SlotFloats OnOffSWBSSlider_valueA{};
inline SlotFloats UseFBSSlider_valueA{};
inline SlotInts VolumeTimeSpeedControA{};
inline SlotInts FrameControlA{};

// The band sound-index arrays in band order (Eye .. Gamma).
inline const std::array<SlotFloats*, 8> bandSoundIndexArrays{
    &EyedeltaLSlider_valueA, &EyedeltaHSlider_valueA, &ThetaLSlider_valueA, &ThetaHSlider_valueA,
    &AlphaLSlider_valueA,    &AlphaHSlider_valueA,    &BetaLSlider_valueA,  &BetaHSlider_valueA};

// --- Path tables: entry i holds the full path of sound i of the slot's bank. ---------------------------
using SoundPathTable = std::array<QString, soundBankCapacity>;
inline SoundPathTable SendSoundstr, SendSoundAstr, SendSoundBstr, SendSoundCstr, SendSoundDstr, SendSoundEstr,
    SendSoundFstr, SendSoundGstr, SendSoundHstr, SendSoundIstr;
// The path table of slot 0..9 (null for another number).
SoundPathTable* soundPathTable(int slot);

// The frame of each slot's window (x, y, width, height in unflipped screen coordinates), kept as it moves
// and saved with the document, which reopens the window there; a width of 0: none known.
inline float SoundWindowFrameA[soundSlotCount][4] = {};

// --- Hand-over variables --------------------------------------------------------------------------------
inline int SoundOpenFromFile = 0;           // 1 while a document reopens the slot windows
inline int firsttimeQXSoundController = 0;  // 1 once the slot tables hold valid content
inline int openSound = 0;                   // banks opened so far; picks the next slot
inline int SoundWindowOpenNumer = 0;        // live slot windows
inline int openFromSFolder = 0;             // 1: the bank is the listed folder; 0: the file in `outCHAR`
inline int LastRowsCount = 0;               // number of files listed by the opener
inline QStringList soundNameArrayX;         // their full paths
inline QStringList soundNameArrayS;         // their shown names
// Name of the bank (folder or file) for titles: zero-terminated, longer names are cut.
inline constexpr int outCHARsSize = 256;
inline char outCHARs[outCHARsSize] = {};
// Blocks the banks are divided into (1..12), and the block in use, counted from 1.
inline constexpr int startSoundBlocks = 1;
inline std::atomic<int> SoundBlockX{startSoundBlocks};
inline std::atomic<int> PlaySoundBlockX{startSoundBlocks};

// Sets every slot array to its default and every path-table entry to " ".
void initSoundTables();

// Copies a name into `outCHARs`, cut (at a character boundary) to what fits.
void setOutCHARs(const QString& name);
QString outCHARsText();

// --- Block arithmetic -----------------------------------------------------------------------------------
// Rows per block (`rows` / `SoundBlockX`; 0 when there are no blocks), and the first row of the block in
// use.
int soundBlockSize(int rows);
int soundBlockFirstRow(int rows);
// "Auto Next": the row after `row`, back to the block's first row past the block's last.
int autoNextRow(int row, int rows);
// "Random select": the row that a signed random number r (-32767..32767) picks within the block in use.
int randomRowInBlock(int r, int rows);

// --- Brain-driven rate and volume -----------------------------------------------------------------------
// (level - offset) / 32, with an exact 0 played at 0.01; negative rates play backwards.
float soundRateFromLevel(float level, float offset);
// level x gain, at most 128 (half the full volume), truncated toward zero.
int soundVolumeFromLevel(float level, float gain);
// The first record of a brain-switch slot of a source (level and peak frequency in Hz); zeros outside.
struct BrainSwitchReading {
    float level = 0.0f;
    float peakFrequency = 0.0f;
};
BrainSwitchReading readBrainSwitch(int source, int switchSlot);

// The value `openSound` takes once slot `slot` has been chosen: the next slot, and 0 again after slot 9.
int openSoundAfter(int slot);

// --- Names ----------------------------------------------------------------------------------------------
// "" for slot 0, "A" .. "I" for slots 1 to 9.
QString soundSlotLetter(int slot);
// "QXDrawerSound", "QXDrawerSoundA" ..; "QXSoundController", "QXSoundControllerA" ..
QString soundSlotNibName(int slot);
QString soundSlotClassName(int slot);

// Popup items: sound-choice modes, brain-switch slots "BS0".."BS8", sources for a channel configuration.
QStringList soundChoiceItems();
QStringList brainSwitchSlotItems();
QStringList soundSourceItems(int deviceConfig);

}  // namespace nupo

namespace nupo {

// An opener's hand-over of a sound bank to the next slot: one path makes a single-file bank (its path in
// `outCHAR`, its name in `outCHARs`); several make a folder bank of those files, named after the folder
// of the first. Advances `openSound` and returns the slot whose window is to be loaded, or -1 (after a
// line on standard output) when there is nothing to open or a path does not fit.
int handOverSoundBank(const QStringList& paths);

}  // namespace nupo
