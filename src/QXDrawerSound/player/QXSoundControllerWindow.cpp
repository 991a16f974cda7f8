// The sound slot's window side: how a window takes its slot and its bank when it loads, its list, its
// property fields, and what each control does.
#include "QXDrawerSound/player/MovieFrameFunctions.h"
#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace nupo {

namespace {

constexpr std::array<SoundOutlet, soundPopupCount> popupOutlets{
    SoundOutlet::SelectSound, SoundOutlet::SoundBrain, SoundOutlet::SoundPFC,
    SoundOutlet::VolumeBrain, SoundOutlet::VolumePFC,  SoundOutlet::TimeBrain,
    SoundOutlet::TimePFC,     SoundOutlet::SpeedBrain, SoundOutlet::SpeedPFC};

const std::array<SlotInts*, soundPopupCount> popupArrays{
    &setSelectSoundNumberA, &setSoundBrainNumberA, &setSoundPFCNumberA,
    &setVolumeBrainNumberA, &setVolumePFCNumberA,  &setTimeBrainNumberA,
    &setTimePFCNumberA,     &setSpeedBrainNumberA, &setSpeedPFCNumberA};

// The held switches, in the order of their fields.
constexpr std::array<SoundOutlet, 7> heldSwitchOutlets{
    SoundOutlet::setOptionControl, SoundOutlet::setSWmethodBS, SoundOutlet::setUseBSc,
    SoundOutlet::setOnOffSWBS,     SoundOutlet::setUseFBS,     SoundOutlet::setSWBSOptionControl,
    SoundOutlet::setFrameChangeBS};

void say(const QString& line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

}  // namespace

// A bank larger than a slot holds is cut to its first sounds; the opening tells the user once.
int QXSoundController::cappedRowCount(int rows)
{
    if (rows > soundBankCapacity) {
        leftOutRows = std::max(leftOutRows, rows - soundBankCapacity);
        return soundBankCapacity;
    }
    return std::max(rows, 0);
}

void QXSoundController::tellLeftOutRows()
{
    if (leftOutRows <= 0)
        return;
    const QString line = QStringLiteral("Sound slot %1 holds %2 sounds; the other %3 are left out.")
                             .arg(slotIndex + 1)
                             .arg(soundBankCapacity)
                             .arg(leftOutRows);
    say(line);
    alert(line, QStringLiteral("“%1” lists %2 sounds.").arg(windowName).arg(soundBankCapacity + leftOutRows));
    leftOutRows = 0;
}

// --- Window set-up --------------------------------------------------------------------------------------

void QXSoundController::setUpWindow()
{
    SoundWindowOpenNumer += 1;
    countedWindow = true;
    leftOutRows = 0;
    // After program start the first bank opened fills the tables with their defaults (slot 0 only).
    if (slotIndex == 0 && firsttimeQXSoundController == 0 && SoundOpenFromFile == 0) {
        initSoundNSStr();
        firsttimeQXSoundController = 1;
    }
    observeTransportNotifications();
    if (SoundOpenFromFile == 0) {
        RowsCountX = cappedRowCount(LastRowsCount);
        RowsCountA[std::size_t(slotIndex)] = RowsCountX;
        takeBankFromOpener();
    } else {
        takeBankFromDocument();
    }
    setInitValue();

    movieOpenX(0);
    if (gMovie)
        gMovie->setLoopMode(MediaPlayer::LoopMode::Looping);
    reloadLists();

    setItems(SoundOutlet::SelectSound, soundChoiceItems());
    const QStringList sources = soundSourceItems(DeviceConfig.load(std::memory_order_relaxed));
    for (SoundOutlet popup : {SoundOutlet::SoundBrain, SoundOutlet::SpeedBrain, SoundOutlet::VolumeBrain})
        setItems(popup, sources);
    for (SoundOutlet popup :
         {SoundOutlet::SoundPFC, SoundOutlet::VolumePFC, SoundOutlet::TimePFC, SoundOutlet::SpeedPFC})
        setItems(popup, brainSwitchSlotItems());
    for (int popup = 0; popup < soundPopupCount; ++popup) {
        if (popup != TimeBrainPopup)  // its items are those of the nib
            selectItem(popupOutlets[std::size_t(popup)], popupNumbers[std::size_t(popup)]);
    }

    const QString name = windowName;
    title = openSound == 1 ? QStringLiteral("%1 (1 sounds bank)").arg(name)
                           : QStringLiteral("%1 ( %2 sounds bank)").arg(name).arg(openSound);
    showWindowTitle(title);
    showTheWindow(SoundOutlet::movieWindow);
    setNewValueA();
    tellLeftOutRows();  // in front of the window just shown
}

// A bank chosen in an opener: the listed folder's files, or the single file in `outCHAR`.
void QXSoundController::takeBankFromOpener()
{
    SoundPathTable& table = *soundPathTable(slotIndex);
    soundNameArray.clear();
    soundNameArray2.clear();
    if (openFromSFolder != 0) {
        RowsCountX = std::min<int>(RowsCountX, static_cast<int>(soundNameArrayX.size()));
        for (int i = 0; i < RowsCountX; ++i) {
            soundNameArray << soundNameArrayX[i];
            table[std::size_t(i)] = soundNameArrayX[i];
            soundNameArray2 << (i < soundNameArrayS.size() ? soundNameArrayS[i]
                                                           : QFileInfo(soundNameArrayX[i]).fileName());
        }
        fileName = soundNameArray.isEmpty() ? QString() : QFileInfo(soundNameArray.first()).fileName();
    } else {
        // The single file is a bank of one in the slot's table too, so that documents keep it.
        const QString path = QString::fromUtf8(outCHAR, qsizetype(strnlen(outCHAR, outCHARSize)));
        table[0] = path;
        soundNameArray << path;
        fileName = outCHARsText();
        soundNameArray2 << fileName;
    }
    windowName = outCHARsText();
}

// The bank a document saved for this slot: its path table.
void QXSoundController::takeBankFromDocument()
{
    const SoundPathTable& table = *soundPathTable(slotIndex);
    RowsCountX = cappedRowCount(RowsCountA[std::size_t(slotIndex)]);
    soundNameArrayX.clear();
    soundNameArrayS.clear();
    for (int i = 0; i < RowsCountX; ++i) {
        const QString& path = table[std::size_t(i)];
        soundNameArrayX << path;
        fileName = path.section(QLatin1Char('/'), -1);
        soundNameArrayS << fileName;
    }
    const QString first = RowsCountX > 0 ? table[0] : QString();
    NSStringToC(first.section(QLatin1Char('/'), 0, -2));  // the folder that holds the sounds
    setOutCHARs(fileName);
    openFromSFolder = 1;
    soundNameArray = soundNameArrayX;
    soundNameArray2 = soundNameArrayS;
    if (!soundNameArray.isEmpty())
        fileName = QFileInfo(soundNameArray.first()).fileName();
    // A bank of one is the single file an opener chose: the window is named after it, as it was.
    windowName = RowsCountX == 1 ? fileName : first.section(QLatin1Char('/'), -2, -2);
    setOutCHARs(windowName);
}

void QXSoundController::setInitValue()
{
    if (SoundOpenFromFile != 0) {
        setNewValue();
        return;
    }
    const int size = soundBlockSize(RowsCountX);
    for (SoundOutlet slider : bandSliderOutlets)
        setLimits(slider, 0, size);
    movieStop = 0;
    popupNumbers.fill(0);
    PlaymodeX = 1;
    for (std::size_t band = 0; band < bandSoundIndexes.size(); ++band)
        bandSoundIndexes[band] = static_cast<float>(band);
    VolumeSlider_value = 2.0f;
    SpeedSlider_value = 32.0f;
}

void QXSoundController::setNewValue()
{
    const auto k = std::size_t(slotIndex);
    RowsCountX = std::min<int>(cappedRowCount(RowsCountA[k]), static_cast<int>(soundNameArray.size()));
    const int size = soundBlockSize(RowsCountX);
    for (SoundOutlet slider : bandSliderOutlets)
        setLimits(slider, 0, size);
    // Each band opens and starts its sound; a band whose sound lies beyond a small bank only shows its
    // value, rather than failing to open a sound the bank never had (row 0 replaces them all after).
    for (int band = 0; band < 8; ++band) {
        const float value = (*bandSoundIndexArrays[std::size_t(band)])[k];
        if (const int row = bandRow(value); row >= 0 && row < RowsCountX) {
            setBandSlider(band, value);
        } else {
            bandSoundIndexes[std::size_t(band)] = value;
            showValue(bandSliderOutlets[std::size_t(band)], value);
        }
    }
    setVolumeSlider(VolumeSlider_valueA[k]);
    setSpeedSlider(SpeedSlider_valueA[k]);
}

void QXSoundController::setNewValueA()
{
    if (SoundOpenFromFile == 1) {
        const auto k = std::size_t(slotIndex);
        setSelectSoundNumber(setSelectSoundNumberA[k]);
        for (int popup = SoundBrainPopup; popup < soundPopupCount; ++popup)
            setPopupNumber(popup, (*popupArrays[std::size_t(popup)])[k]);
        movieStop = 0;
        armWhenOpened = false;  // no choice on the first tick, also once the sound has opened
        setPlaymodeMatrix(PlaymodeA[k]);
        setUseBSON(UseBSONA[k]);
        setVolumeControl(SoundControlA[k]);
        setSpeedControl(SpeedControlA[k]);
    }
    playX();
}

// --- List and property fields ---------------------------------------------------------------------------

int QXSoundController::numberOfRowsInTableView() const
{
    return static_cast<int>(soundNameArray2.size());
}

QString QXSoundController::objectValueForRow(int row) const
{
    if (row < 0 || row >= soundNameArray2.size()) {
        say(QStringLiteral("Invalid parameter not satisfying: %1 (%2/%3)")
                .arg(QStringLiteral("rowIndex >= 0 && rowIndex < [soundNameArray2 count]"),
                     soundSlotNibName(slotIndex), soundSlotClassName(slotIndex)));
        return {};
    }
    return soundNameArray2[row];
}

void QXSoundController::tableViewSelectionDidChange(int row)
{
    selectedRowX = row;
    MovieSoundSelectOpen();
}

void QXSoundController::setMoviePropertyWindowControlValues(MediaPlayer* movie)
{
    if (openFromSFolder != 0) {
        static const QStringList modes{QStringLiteral("select by mouse"), QStringLiteral("auto play"),
                                       QStringLiteral("random play"), QStringLiteral("by BS")};
        const int mode = popupNumbers[ChoicePopup];
        if (mode >= 0 && mode < modes.size())
            showText(SoundOutlet::autoPlayEnabled, modes[mode]);
        showText(SoundOutlet::trackCount, fileName);
    } else {
        showText(SoundOutlet::autoPlayEnabled, QStringLiteral("single file"));
        showText(SoundOutlet::trackCount, outCHARsText());
    }
    buildTrackMediaTypesArray(movie);
    buildsoundNameArray(movie);
    showValue(SoundOutlet::movieTimeScale, static_cast<double>(GetMovieDurationN(movie)));
    showValue(SoundOutlet::movieDuration, static_cast<double>(GetMovieTimeScaleN(movie)));
    reloadLists();
}

// --- Control actions ------------------------------------------------------------------------------------

void QXSoundController::RateON(QObject* sender)
{
    setRateON(intValueOf(sender));
}
void QXSoundController::VolumeTimeSpeedControl(QObject* sender)
{
    setVolumeTimeSpeedControl(intValueOf(sender));
}
void QXSoundController::TimeControl(QObject* sender)
{
    setTimeControl(intValueOf(sender));
}
void QXSoundController::OptionControl(QObject* sender)
{
    setHeldSwitch(SoundOutlet::setOptionControl, intValueOf(sender));
}
void QXSoundController::SWmethodBS(QObject* sender)
{
    setHeldSwitch(SoundOutlet::setSWmethodBS, intValueOf(sender));
}
void QXSoundController::UseBSc(QObject* sender)
{
    setHeldSwitch(SoundOutlet::setUseBSc, intValueOf(sender));
}
void QXSoundController::OnOffSWBS(QObject* sender)
{
    setHeldSwitch(SoundOutlet::setOnOffSWBS, intValueOf(sender));
}
void QXSoundController::UseFBS(QObject* sender)
{
    setHeldSwitch(SoundOutlet::setUseFBS, intValueOf(sender));
}
void QXSoundController::SWBSOptionControl(QObject* sender)
{
    setHeldSwitch(SoundOutlet::setSWBSOptionControl, intValueOf(sender));
}
void QXSoundController::FrameChangeBS(QObject* sender)
{
    setHeldSwitch(SoundOutlet::setFrameChangeBS, intValueOf(sender));
}

void QXSoundController::VolumeControl(QObject* sender)
{
    const int value = intValueOf(sender);
    setVolumeControl(value);
    SoundControlA[std::size_t(slotIndex)] = value;
}

void QXSoundController::SpeedControl(QObject* sender)
{
    const int value = intValueOf(sender);
    setSpeedControl(value);
    SpeedControlA[std::size_t(slotIndex)] = value;
}

void QXSoundController::UseBSON(QObject* sender)
{
    const int value = intValueOf(sender);
    setUseBSON(value);
    if (value != 0) {
        setPlaymodeMatrix(0);
        setSelectSoundNumber(0);
    }
    UseBSONA[std::size_t(slotIndex)] = value;
}

void QXSoundController::FrameBS(int band, QObject* sender)
{
    if (band < 0 || band >= 8)
        return;
    setFrameBS(band, intValueOf(sender));
    setBandSlider(band, bandSoundIndexes[std::size_t(band)]);
}

void QXSoundController::PlaymodeMatrix(QObject* sender)
{
    const int tag = selectedTagOf(sender);
    setPlaymodeMatrix(tag);
    PlaymodeA[std::size_t(slotIndex)] = tag;
}

void QXSoundController::RateSlider(QObject* sender)
{
    setRateSlider(static_cast<float>(floatValueOf(sender)));
}
void QXSoundController::TimeSlider(QObject* sender)
{
    setTimeSlider(static_cast<float>(floatValueOf(sender)));
}
void QXSoundController::UseBSSlider(QObject* sender)
{
    setHeldSlider(SoundOutlet::setUseBSSlider, static_cast<float>(floatValueOf(sender)));
}
void QXSoundController::OnOffSWBSSlider(QObject* sender)
{
    setHeldSlider(SoundOutlet::setOnOffSWBSSlider, static_cast<float>(floatValueOf(sender)));
}
void QXSoundController::UseFBSSlider(QObject* sender)
{
    setHeldSlider(SoundOutlet::setUseFBSSlider, static_cast<float>(floatValueOf(sender)));
}

void QXSoundController::VolumeSlider(QObject* sender)
{
    const auto value = static_cast<float>(floatValueOf(sender));
    setVolumeSlider(value);
    VolumeSlider_valueA[std::size_t(slotIndex)] = value;
}

void QXSoundController::SpeedSlider(QObject* sender)
{
    const auto value = static_cast<float>(floatValueOf(sender));
    setSpeedSlider(value);
    SpeedSlider_valueA[std::size_t(slotIndex)] = value;
}

void QXSoundController::BandSlider(int band, QObject* sender)
{
    if (band < 0 || band >= 8)
        return;
    const auto value = static_cast<float>(floatValueOf(sender));
    setBandSlider(band, value);
    (*bandSoundIndexArrays[std::size_t(band)])[std::size_t(slotIndex)] = value;
}

void QXSoundController::selectPopup(int popup, QObject* sender)
{
    if (popup < 0 || popup >= soundPopupCount)
        return;
    const SoundOutlet outlet = popupOutlets[std::size_t(popup)];
    const int index = selectedIndexOf(sender);
    if (popup == ChoicePopup)
        setSelectSoundNumber(index);
    else
        setPopupNumber(popup, index);
    popupTitles[std::size_t(popup)] = selectedTitleOf(sender);
    if (popupTitles[std::size_t(popup)].isEmpty())
        popupTitles[std::size_t(popup)] = itemTitle(outlet, index);
    (*popupArrays[std::size_t(popup)])[std::size_t(slotIndex)] = index;
}

// --- Setters --------------------------------------------------------------------------------------------

void QXSoundController::setRateON(int value)
{
    showValue(SoundOutlet::setRateON, value != 0);
    RateONX = value;
    if (value != 0)
        return;
    if (gMovie)
        gMovie->setRate(1.0);
    showValue(SoundOutlet::setRateSlider, 1.0);
    setFieldFormat(SoundOutlet::RateField, 3, 2);
    showValue(SoundOutlet::displayHereRate, 1.0);
}

void QXSoundController::setUseBSON(int value)
{
    showValue(SoundOutlet::setUseBSON, value != 0);
    UseBSONX = value;
}

void QXSoundController::setVolumeTimeSpeedControl(int value)
{
    showValue(SoundOutlet::setVolumeTimeSpeedControl, value != 0);
    VolumeTimeSpeedControlX = value;
    if (value == 0) {
        setSpeedControl(0);
        setVolumeControl(0);
    }
}

void QXSoundController::setVolumeControl(int value)
{
    showValue(SoundOutlet::setVolumeControl, value != 0);
    SoundControlX = value;
    if (value != 0)
        setVolumeTimeSpeedControl(1);
}

void QXSoundController::setSpeedControl(int value)
{
    showValue(SoundOutlet::setSpeedControl, value != 0);
    SpeedControlX = value;
    if (value != 0) {
        setVolumeTimeSpeedControl(1);
        return;
    }
    if (gMovie)
        gMovie->setRate(1.0);
    setFieldFormat(SoundOutlet::RateField, 2, 2);
    showValue(SoundOutlet::displayHereRate, 1.0);
}

void QXSoundController::setTimeControl(int value)
{
    showValue(SoundOutlet::setTimeControl, value != 0);
    FrameControlX = value;
}

void QXSoundController::setHeldSwitch(SoundOutlet outlet, int value)
{
    const auto held = std::find(heldSwitchOutlets.begin(), heldSwitchOutlets.end(), outlet);
    if (held == heldSwitchOutlets.end())
        return;
    showValue(outlet, value != 0);
    heldSwitches[std::size_t(held - heldSwitchOutlets.begin())] = value;
}

void QXSoundController::setFrameBS(int band, int value)
{
    if (band < 0 || band >= 8)
        return;
    setBSrhythmStateAllOff();
    showValue(bandButtonOutlets[std::size_t(band)], value);
    bandButtons[std::size_t(band)] = value;
}

void QXSoundController::setRateSlider(float value)
{
    SpeedSlider_value = value == 0.0f ? 0.01f : value;
    if (RateONX == 0)
        return;
    if (gMovie)
        gMovie->setRate(SpeedSlider_value);
    setFieldFormat(SoundOutlet::RateField, 3, 2);
    showValue(SoundOutlet::displayHereRate, SpeedSlider_value);
}

void QXSoundController::setVolumeSlider(float value)
{
    VolumeSlider_value = value;
    showValue(SoundOutlet::setVolumeSlider, value);
}

void QXSoundController::setSpeedSlider(float value)
{
    SpeedSlider_value = value;
    showValue(SoundOutlet::setSpeedSlider, value);
}

void QXSoundController::setTimeSlider(float value)
{
    TimeSlider_value = value;
    showValue(SoundOutlet::setTimeSlider, value);
    QTUDrawVideoFrameAtTime(gMovie.get(), static_cast<std::int64_t>(value));
}

void QXSoundController::setHeldSlider(SoundOutlet outlet, float value)
{
    if (outlet == SoundOutlet::setUseBSSlider)
        UseBSSlider_value = value;
    else if (outlet == SoundOutlet::setOnOffSWBSSlider)
        OnOffSWBSSlider_value = value;
    else if (outlet == SoundOutlet::setUseFBSSlider)
        UseFBSSlider_value = value;
}

int QXSoundController::bandRow(float value) const
{
    return static_cast<int>(static_cast<float>(soundBlockFirstRow(RowsCountX)) + value);
}

void QXSoundController::setBandSlider(int band, float value)
{
    if (band < 0 || band >= 8)
        return;
    bandSoundIndexes[std::size_t(band)] = value;
    showValue(bandSliderOutlets[std::size_t(band)], value);
    movieStop = 0;
    selectedRowX = bandRow(value);
    MovieSoundSelectOpen();
}

void QXSoundController::setPlaymodeMatrix(int tag)
{
    if (tag < 0 || tag > 3)
        return;
    selectItem(SoundOutlet::setPlaymodeMatrix, tag);
    PlaymodeX = tag;
    if (!gMovie)
        return;
    if (tag == 0 || tag == 1)
        gMovie->setLoopMode(tag == 1 ? MediaPlayer::LoopMode::Looping : MediaPlayer::LoopMode::Normal);
    else
        gMovie->setPlaysSelectionOnly(tag == 2);
}

void QXSoundController::setMovieSelection(double start, double length)
{
    if (gMovie)
        gMovie->setSelection(start, length);
}

void QXSoundController::setSelectSoundNumber(int value)
{
    popupNumbers[ChoicePopup] = value;
    selectItem(SoundOutlet::SelectSound, value);
    if (value >= 1 && value <= 3)
        setPlaymodeMatrix(0);
}

void QXSoundController::setPopupNumber(int popup, int value)
{
    if (popup <= ChoicePopup || popup >= soundPopupCount)
        return;
    popupNumbers[std::size_t(popup)] = value;
    selectItem(popupOutlets[std::size_t(popup)], value);
}

}  // namespace nupo
