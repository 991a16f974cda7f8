#pragma once

// The sound slot player: plays one bank of sounds (all sound files of a folder, or one single file) and
// lets brain activity choose the next sound, its rate and its volume on a 0.01 s tick. The ten slots are
// this one class with a slot index: slot 0 is `QXSoundController`, slots 1 to 9 are `QXSoundControllerA`
// to `QXSoundControllerI`, each working on its own element of the slot arrays and its own path table.
//
// The shared instance (slot 0) has no window: it serves the table operations. A window's player is a
// subclass in the user interface whose control updates reach its widgets; here they go nowhere.

#include "platform/appkit/NotificationCenter.h"
#include "platform/media/MediaOpening.h"
#include "platform/media/MediaPlayer.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QObject;

namespace nupo {

class RunLoopTimer;

// The window's outlets, in declared order (their object names in the nib).
#define NUPO_SOUND_SLOT_OUTLETS(X)                                                                           \
    X(goToBeginningButton)                                                                                   \
    X(goToEndButton)                                                                                         \
    X(movieViewObject)                                                                                       \
    X(moviePropertiesWindow) X(movieWindow) X(playButton) X(stepBackButton) X(stepForwardButton)             \
        X(movieTrackMediaTypes) X(soundName) X(ploopField) X(displayHereploop) X(FPSField) X(displayHereFPS) \
            X(RateField) X(displayHereRate) X(displayHeresoundName) X(autoPlayEnabled) X(trackCount)         \
                X(movieTimeScale) X(movieDuration) X(movieFrame) X(setRateSlider) X(setVolumeSlider)         \
                    X(setTimeSlider) X(setSpeedSlider) X(setUseBSSlider) X(setOnOffSWBSSlider)               \
                        X(setUseFBSSlider) X(setEyedeltaLSlider) X(setEyedeltaHSlider) X(setThetaLSlider)    \
                            X(setThetaHSlider) X(setAlphaLSlider) X(setAlphaHSlider) X(setBetaLSlider)       \
                                X(setBetaHSlider) X(SelectSound) X(SoundBrain) X(SoundPFC) X(VolumeBrain)    \
                                    X(VolumePFC) X(TimeBrain) X(TimePFC) X(SpeedBrain) X(SpeedPFC)           \
                                        X(setRateON) X(setUseBSON) X(setVolumeTimeSpeedControl)              \
                                            X(setVolumeControl) X(setTimeControl) X(setSpeedControl)         \
                                                X(setOptionControl) X(setSWmethodBS) X(setUseBSc)            \
                                                    X(setOnOffSWBS) X(setUseFBS) X(setSWBSOptionControl)     \
                                                        X(setFrameChangeBS) X(setFrameEyeBS)                 \
                                                            X(setFrameDeltaBS) X(setFrameThetaBS)            \
                                                                X(setFrameAplhaBS) X(setFrameSMRBS)          \
                                                                    X(setFrameBetaMBS) X(setFrameBetaBS)     \
                                                                        X(setFrameGammaBS)                   \
                                                                            X(setPlaymodeMatrix)

#define NUPO_SOUND_SLOT_ENUM(name) name,
enum class SoundOutlet { NUPO_SOUND_SLOT_OUTLETS(NUPO_SOUND_SLOT_ENUM) count };
#undef NUPO_SOUND_SLOT_ENUM

QString soundOutletName(SoundOutlet outlet);

// The band sliders and band buttons in band order (Eye .. Gamma).
inline constexpr std::array<SoundOutlet, 8> bandSliderOutlets{
    SoundOutlet::setEyedeltaLSlider, SoundOutlet::setEyedeltaHSlider, SoundOutlet::setThetaLSlider,
    SoundOutlet::setThetaHSlider,    SoundOutlet::setAlphaLSlider,    SoundOutlet::setAlphaHSlider,
    SoundOutlet::setBetaLSlider,     SoundOutlet::setBetaHSlider};
inline constexpr std::array<SoundOutlet, 8> bandButtonOutlets{
    SoundOutlet::setFrameEyeBS,   SoundOutlet::setFrameDeltaBS, SoundOutlet::setFrameThetaBS,
    SoundOutlet::setFrameAplhaBS, SoundOutlet::setFrameSMRBS,   SoundOutlet::setFrameBetaMBS,
    SoundOutlet::setFrameBetaBS,  SoundOutlet::setFrameGammaBS};

// The nine popups of the slot, in the order of the nine number fields and arrays.
enum SoundPopup {
    ChoicePopup,
    SoundBrainPopup,
    SoundPFCPopup,
    VolumeBrainPopup,
    VolumePFCPopup,
    TimeBrainPopup,
    TimePFCPopup,
    SpeedBrainPopup,
    SpeedPFCPopup,
    soundPopupCount
};

class QXSoundController {
public:
    explicit QXSoundController(int slot = 0);
    virtual ~QXSoundController();
    QXSoundController(const QXSoundController&) = delete;
    QXSoundController& operator=(const QXSoundController&) = delete;

    // The shared slot-0 controller (no window, no timer, no movie).
    static QXSoundController& sharedQXSoundController();
    // How slot players open their movies (tests switch the audio device off).
    static void setMediaOptions(const MediaPlayer::Options& options);

    int slot() const { return slotIndex; }

    // --- Tables (slot 0's class) ------------------------------------------------------------------------
    void initSoundNSStr();
    void ResetSoundBankIndex();

    // --- Player -------------------------------------------------------------------------------------------
    // Starts the 0.01 s tick.
    void init();
    void timerUpdate();
    void MovieSoundSelect();
    void MovieSoundSelectOpen();
    void MovieSoundBSrhythmControl();
    void setBSrhythmStateAllOff();
    void MovieSpeedControl();
    void MovieSoundVolumeControl();
    // Opens sound `row` of the bank (or the single file) off the main thread, the sound playing stopping
    // at once; once opened it plays when playOnceOpen (or when play was asked for meanwhile). False, with
    // the reason shown in the window, when the row is outside the bank. A file that cannot be played or
    // gives no answer in time is shown so when that is known; the slot then stays stopped. A later
    // opening, closing the slot or stopping it takes the place of one under way.
    bool movieOpenX(int row, bool playOnceOpen = false);
    bool isOpening() const { return opening != nullptr; }
    void playX();
    void stopX();
    void setSoundPlayQ();
    void setSoundStopQ();
    void play(QObject* sender);
    void stop(QObject* sender);
    // The play button's action: play:, or stop: while the button shows the pause title.
    void playButtonAction(QObject* sender);
    void resetPlayButtonForMovieStopState(QObject* sender);
    void goToBeginning(QObject* sender);
    void goToEnd(QObject* sender);
    void stepBack(QObject* sender);
    void stepForward(QObject* sender);
    void saveCurrentMoviePlayingState();
    void restoreMoviePlayingState(QObject* sender);
    void setupMoviePlayingCompleteCallback(MediaPlayer* movie);
    void restoreMoviePlayCompleteCallBack();
    void buildTrackMediaTypesArray(MediaPlayer* movie);
    void buildsoundNameArray(MediaPlayer* movie);
    void playTsound();

    // --- Window set-up and list ---------------------------------------------------------------------------
    // The window's set-up once its nib is loaded: takes the bank handed over, opens its first sound and
    // starts it.
    void setUpWindow();
    void setInitValue();
    void setNewValue();
    void setNewValueA();
    int numberOfRowsInTableView() const;
    // The shown name of a row; empty (after a line on standard output) for a row outside the list.
    QString objectValueForRow(int row) const;
    void tableViewSelectionDidChange(int row);
    void tableViewDidClickTableColumn(int column) { selectedColumnX = column; }
    void setMoviePropertyWindowControlValues(MediaPlayer* movie);
    QString windowTitle() const { return title; }

    // --- Control actions (the sender's value goes to the setter of the same name) ----------------------
    void RateON(QObject* sender);
    void VolumeTimeSpeedControl(QObject* sender);
    void TimeControl(QObject* sender);
    void OptionControl(QObject* sender);
    void SWmethodBS(QObject* sender);
    void UseBSc(QObject* sender);
    void OnOffSWBS(QObject* sender);
    void UseFBS(QObject* sender);
    void SWBSOptionControl(QObject* sender);
    void FrameChangeBS(QObject* sender);
    void VolumeControl(QObject* sender);
    void SpeedControl(QObject* sender);
    void UseBSON(QObject* sender);
    void FrameBS(int band, QObject* sender);  // FrameEyeBS: .. FrameGammaBS:
    void PlaymodeMatrix(QObject* sender);
    void RateSlider(QObject* sender);
    void TimeSlider(QObject* sender);
    void UseBSSlider(QObject* sender);
    void OnOffSWBSSlider(QObject* sender);
    void UseFBSSlider(QObject* sender);
    void VolumeSlider(QObject* sender);
    void SpeedSlider(QObject* sender);
    void BandSlider(int band, QObject* sender);    // EyedeltaLSlider: .. BetaHSlider:
    void selectPopup(int popup, QObject* sender);  // selectSelectSound: .. selectSpeedPFC:

    // --- Setters ------------------------------------------------------------------------------------------
    void setRateON(int value);
    void setUseBSON(int value);
    void setVolumeTimeSpeedControl(int value);
    void setVolumeControl(int value);
    void setSpeedControl(int value);
    void setTimeControl(int value);
    // The held switches: setOptionControl: .. setFrameChangeBS: (outlet and field).
    void setHeldSwitch(SoundOutlet outlet, int value);
    void setFrameBS(int band, int value);  // setFrameEyeBS: .. setFrameGammaBS:
    void setRateSlider(float value);
    void setVolumeSlider(float value);
    void setSpeedSlider(float value);
    void setTimeSlider(float value);
    void setHeldSlider(SoundOutlet outlet, float value);  // setUseBSSlider: .. setUseFBSSlider:
    void setBandSlider(int band, float value);            // setEyedeltaLSlider: .. setBetaHSlider:
    int bandRow(float value) const;                       // the row a band's sound index picks
    void setPlaymodeMatrix(int tag);
    // The part of the open sound made in the window's bar (start and length in seconds; a length of 0
    // clears it): what the "Selection" play mode plays. A sound opened later starts without one.
    void setMovieSelection(double start, double length);
    void setSelectSoundNumber(int value);
    void setPopupNumber(int popup, int value);  // setSoundBrainNumber: .. setSpeedPFCNumber:

    // --- State, for the window and tests ------------------------------------------------------------------
    MediaPlayer* movie() const { return gMovie.get(); }
    int selectedRow() const { return selectedRowX; }
    int rowsCount() const { return RowsCountX; }
    int movieStopFlag() const { return movieStop; }
    void setMovieStopFlag(int value) { movieStop = value; }
    int popupNumber(int popup) const { return popupNumbers[std::size_t(popup)]; }
    int litBand() const;  // the band whose button is lit, or -1
    float bandSoundIndex(int band) const { return bandSoundIndexes[std::size_t(band)]; }
    float volumeGain() const { return VolumeSlider_value; }
    float rateOffset() const { return SpeedSlider_value; }
    int playMode() const { return PlaymodeX; }
    const QString& shownName() const { return fileName; }
    const QString& problem() const { return failure; }
    // What the name field shows: the problem, or the open sound's name (marked when nobody hears it).
    QString nameLine() const;
    const QStringList& soundPaths() const { return soundNameArray; }
    const QStringList& shownNames() const { return soundNameArray2; }
    const QStringList& trackNames() const { return movieTrackMediaTypesArray; }
    bool playButtonShowsPause() const { return playButtonStops; }

protected:
    // Control updates: nothing here; the window's player shows them.
    virtual void showValue(SoundOutlet, double) {}
    virtual void showText(SoundOutlet, const QString&) {}
    virtual void selectItem(SoundOutlet, int) {}
    virtual void setItems(SoundOutlet, const QStringList&) {}
    virtual void setLimits(SoundOutlet, double, double) {}
    virtual void setFieldFormat(SoundOutlet, int, int) {}
    virtual QString itemTitle(SoundOutlet, int) const { return {}; }
    // Values of the control that sent an action (null reads as 0 or empty).
    virtual int intValueOf(const QObject* sender) const;
    virtual double floatValueOf(const QObject* sender) const;
    virtual int selectedIndexOf(const QObject* sender) const;
    virtual QString selectedTitleOf(const QObject* sender) const;
    virtual int selectedTagOf(const QObject* sender) const;
    virtual void reloadLists() {}
    virtual void showWindowTitle(const QString&) {}
    virtual void showTheWindow(SoundOutlet) {}
    // A fault that has no field of its own: the window shows an alert.
    virtual void alert(const QString&, const QString&) {}
    // The slot's player was replaced (null: none): whatever shows it takes the new one.
    virtual void showPlayer(MediaPlayer*) {}

private:
    int cappedRowCount(int rows);
    void tellLeftOutRows();
    void observeTransportNotifications();
    float refreshedLevel(int source, int switchSlot) const;
    void finishOpening(MediaOpening::Result result);
    int slotElement(const std::array<int, 11>& array) const;
    void showFailure(const QString& message);
    void takeBankFromDocument();
    void takeBankFromOpener();
    QString soundPathForRow(int row) const;

    int slotIndex;
    std::shared_ptr<MediaPlayer> gMovie;
    std::unique_ptr<MediaOpening> opening;  // the sound being opened
    bool playWhenOpened = false;            // it plays once opened
    bool armWhenOpened = false;             // its opening arms a choice (the tick's own do not)
    std::unique_ptr<RunLoopTimer> timer;
    std::shared_ptr<int> alive = std::make_shared<int>(0);  // queued work checks this is still held
    ScopedObserver playObserver;
    ScopedObserver stopObserver;
    bool countedWindow = false;
    int leftOutRows = 0;  // sounds of the bank being opened that the slot cannot hold

    QStringList movieTrackMediaTypesArray;
    QStringList soundNameArray;   // full paths of the bank
    QStringList soundNameArray2;  // names shown in the list
    bool gIsMoviePlaying = false;
    float gMoviePlaybackRate = 1.0f;
    QString fileName;
    QString failure;  // why the open sound could not be played; shown instead of its name
    QString title;
    QString windowName;  // the bank's name that the title shows

    std::array<int, soundPopupCount> popupNumbers{};   // setSelectSoundNumberX .. setSpeedPFCNumberX
    std::array<QString, soundPopupCount> popupTitles;  // setSelectSoundstr .. setSpeedPFCstr
    float VolumeSlider_value = 2.0f;
    float TimeSlider_value = 2.0f;
    float SpeedSlider_value = 32.0f;
    float UseBSSlider_value = 0.0f;
    float OnOffSWBSSlider_value = 0.0f;
    float UseFBSSlider_value = 0.0f;
    std::array<float, 8> bandSoundIndexes{0, 1, 2, 3,
                                          4, 5, 6, 7};  // EyedeltaLSlider_value .. BetaHSlider_value
    std::array<int, 8> bandButtons{};                   // FrameEyeBSX .. FrameGammaBSX
    int PlaymodeX = 1;
    int RateONX = 0;
    int UseBSONX = 0;
    int SoundControlX = 0;
    int SpeedControlX = 0;
    int VolumeTimeSpeedControlX = 0;
    int FrameControlX = 0;
    std::array<int, 7> heldSwitches{};  // OptionControlX, SWmethodBSX, UseBScX, OnOffSWBSX, UseFBSX,
                                        // SWBSOptionControlX, FrameChangeBSX
    int selectedRowX = 0;
    int selectedColumnX = 0;
    int RowsCountX = 0;
    int movieStop = 0;
    int BSpeakFrequencyZ = 0;
    bool playButtonStops = false;  // the play button shows the pause title and its action is stop:
};

// The end-of-sound procedure: the ended player's play button returns to its stopped state and its
// callback is armed again.
void QXSCallBackProc(QXSoundController& player);

}  // namespace nupo
