#pragma once

// The movie window's player: plays one movie beside the analysis and lets brain activity drive it. On a
// 0.3 s tick it sets the display size from the strongest peak of CH 1, the rate and the volume from the
// levels of chosen brain switches, and jumps to the frame stored for the band of a chosen brain switch.
// While following the recording is on, the movie obeys the recording's transport through the movie
// notifications.
//
// The shared instance carries no movie; window players are subclasses in the user interface whose
// control updates reach their widgets (here they go nowhere).

#include "platform/appkit/NotificationCenter.h"
#include "platform/media/MediaOpening.h"
#include "platform/media/MediaPlayer.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QObject;

namespace nupo {

class RunLoopTimer;

// The window's outlets, in declared order (their object names in the nib).
#define NUPO_MOVIE_OUTLETS(X)                                                                                \
    X(goToBeginningButton)                                                                                   \
    X(goToEndButton)                                                                                         \
    X(movieViewObject)                                                                                       \
    X(moviePropertiesMenuItem) X(moviePropertiesWindow) X(movieWindow) X(playButton) X(setVolumeSlider)      \
        X(stepBackButton) X(stepForwardButton) X(movieTrackMediaTypes) X(menuItem_New) X(ploopField)         \
            X(FPSField) X(RateField) X(displayHereploop) X(displayHereFPS) X(displayHereRate)                \
                X(autoPlayEnabled) X(trackCount) X(movieTimeScale) X(movieDuration) X(movieFrame)            \
                    X(movieFileName) X(movieDurationTime) X(movieCurrnetTime) X(movieCurrnetTimeA)           \
                        X(setPloopSync) X(setRateSlider) X(setSoundSlider) X(setFrameSlider)                 \
                            X(setSpeedSlider) X(setEyedeltaLSlider) X(setEyedeltaHSlider) X(setThetaLSlider) \
                                X(setThetaHSlider) X(setAlphaLSlider) X(setAlphaHSlider) X(setBetaLSlider)   \
                                    X(setBetaHSlider) X(Moviesize) X(SoundBrain) X(SoundPFC) X(FrameBrain)   \
                                        X(FramePFC) X(SpeedBrain) X(SpeedPFC) X(setRateON)                   \
                                            X(setSoundFrameSpeedControl) X(setSoundControl)                  \
                                                X(setFrameControl) X(setSpeedControl) X(setOptionControl)    \
                                                    X(setFrameChangeBS) X(setFrameEyeBS) X(setFrameDeltaBS)  \
                                                        X(setFrameThetaBS) X(setFrameAplhaBS)                \
                                                            X(setFrameSMRBS) X(setFrameBetaMBS)              \
                                                                X(setFrameBetaBS) X(setFrameGammaBS)         \
                                                                    X(setPlaymodeMatrix) X(problemField)

#define NUPO_MOVIE_ENUM(name) name,
enum class MovieOutlet { NUPO_MOVIE_OUTLETS(NUPO_MOVIE_ENUM) count };
#undef NUPO_MOVIE_ENUM

QString movieOutletName(MovieOutlet outlet);

// The switches in declared order: RateONX .. FrameChangeBSX, and their check boxes.
enum MovieSwitch {
    RateONSwitch,
    SoundFrameSpeedSwitch,
    SoundControlSwitch,
    FrameControlSwitch,
    SpeedControlSwitch,
    OptionControlSwitch,
    FrameChangeBSSwitch,
    movieSwitchCount
};
// The gains: RateSlider_value, SoundSlider_value, FrameSlider_value, SpeedSlider_value.
enum MovieGain { RateGain, SoundGain, FrameGain, SpeedGain, movieGainCount };
// The six popups of sources and switch slots: volume, frame, rate.
enum MoviePopup {
    MovieSoundBrainPopup,
    MovieSoundPFCPopup,
    MovieFrameBrainPopup,
    MovieFramePFCPopup,
    MovieSpeedBrainPopup,
    MovieSpeedPFCPopup,
    moviePopupCount
};

class QXMovieController {
public:
    QXMovieController();
    virtual ~QXMovieController();
    QXMovieController(const QXMovieController&) = delete;
    QXMovieController& operator=(const QXMovieController&) = delete;

    // The shared instance (no movie, no window).
    static QXMovieController& sharedQXMovieController();
    // How movie players are made (tests switch the audio device off; the window asks for video output).
    static void setMediaOptions(const MediaPlayer::Options& options);

    // Sets the window frames and starts the 0.3 s tick.
    void init();
    // The whole loading of a movie window from the path in `outCHAR`: the movie is opened on a thread of
    // its own, and the window set up with it on the main thread once it has opened. When it cannot be
    // opened, the alert says why and movieNotOpened() runs; the window is then left as it is.
    void setUpWindow();
    // Whether the movie asked for is still being opened.
    bool isOpening() const { return opening != nullptr; }
    // Runs call once the movie being opened is set up (at once when one is), never when it fails.
    void whenOpened(std::function<void()> call);

    // --- Player ---------------------------------------------------------------------------------------
    void timerUpdate();
    void MovieFrameControl();
    void MovieSpeedControl();
    void MovieSoundVolumeControl();
    void MovieSizeControl();
    void setBSrhythmStateAllOff();
    void ploopSyncQT(int samplePosition);
    void setPlayQ();
    void setPauseQ();
    void setCurrentTimeQ();
    void setPauseAnywayQ();
    void setMovieSpeedQ();
    void setMovieSpeedQT(int speedIndex);
    void setplay();
    void setPause();
    void setPauseAnyway();
    void setgoToBeginning();
    void play(QObject* sender);
    void stop(QObject* sender);
    // The play button's action: play:, or stop: while it shows the pause title.
    void playButtonAction(QObject* sender);
    void goToBeginning(QObject* sender);
    void goToEnd(QObject* sender);
    void stepBack(QObject* sender);
    void stepForward(QObject* sender);
    void resetPlayButtonForMovieStopState(QObject* sender);
    void saveCurrentMoviePlayingState();
    void restoreMoviePlayingState(QObject* sender);
    void setupMoviePlayingCompleteCallback(MediaPlayer* movie);
    void restoreMoviePlayCompleteCallBack();
    void PloopSync(QObject* sender);
    void setPloopSync(int value);
    int getPloopSync() const;
    void setWindowAlphaValue(float value);
    void putoutCHAR(const char* path);
    QString getoutCHAR() const;

    // --- Controls ---------------------------------------------------------------------------------------
    void switchAction(int which, QObject* sender);  // RateON: .. FrameChangeBS:, PloopSync: apart
    void setSwitch(int which, int value);           // setRateON: .. setFrameChangeBS:
    void FrameBS(int band, QObject* sender);        // FrameEyeBS: .. FrameGammaBS:
    void setFrameBS(int band, int value);           // setFrameEyeBS: .. setFrameGammaBS:
    void gainAction(int gain, QObject* sender);     // RateSlider: .. SpeedSlider:
    void setGain(int gain, float value);            // setRateSlider: .. setSpeedSlider:
    void BandSlider(int band, QObject* sender);     // EyedeltaLSlider: .. BetaHSlider:
    void setBandSlider(int band, float value);      // setEyedeltaLSlider: .. setBetaHSlider:
    void selectMoviesize(QObject* sender);
    void setMoviesizeNumber(int choice);
    void selectPopup(int popup, QObject* sender);  // selectSoundBrain: .. selectSpeedPFC:
    void setPopupNumber(int popup, int value);     // setSoundBrainNumber: .. setSpeedPFCNumber:
    void PlaymodeMatrix(QObject* sender);
    void setPlaymodeMatrix(int mode);
    // The part of the movie made with the controller bar (start and length in seconds; a length of 0
    // clears it): what the "Selection" play mode plays.
    void setMovieSelection(double start, double length);
    void setMoviePropertyWindowControlValues(MediaPlayer* movie);
    void buildTrackMediaTypesArray(MediaPlayer* movie);
    void setmovieDurationTimeTextStrX();
    void setcurrentTimePointTextStrX();
    // The alert of a movie that cannot be opened; why (may be empty) is told below the path.
    void showQTmovieInfo(const QString& why = {});

    // --- State, for the window and tests ----------------------------------------------------------------
    MediaPlayer* movie() const { return gMovie.get(); }
    int switchValue(int which) const { return switches[std::size_t(which)]; }
    float gain(int which) const { return gains[std::size_t(which)]; }
    float bandTime(int band) const { return bandTimes[std::size_t(band)]; }
    int bandFlag(int band) const { return bandFlags[std::size_t(band)]; }
    int popupNumber(int popup) const { return popupNumbers[std::size_t(popup)]; }
    int sizeChoice() const { return setMoviesizeNumberX; }
    int playMode() const { return PlaymodeX; }
    int lastBand() const { return BSpeakFrequencyZ; }
    std::int64_t movieLength() const { return MovieLength; }
    double magnification() const { return shownMagnification; }
    bool controllerBarShown() const { return controllerBar; }
    bool playButtonShowsPause() const { return playButtonStops; }
    const QString& fileName() const { return fileNameString; }
    // The full path of the movie shown (empty until one opened): `outCHAR` is handed on to other openers.
    const QString& moviePath() const { return moviePathString; }
    const QStringList& trackNames() const { return movieTrackMediaTypesArray; }
    const QString& problem() const { return failure; }

protected:
    // Control updates: nothing here; the window's player shows them.
    virtual void showValue(MovieOutlet, double) {}
    virtual void showText(MovieOutlet, const QString&) {}
    virtual void setItems(MovieOutlet, const QStringList&) {}
    virtual void selectItem(MovieOutlet, int) {}
    virtual void setLimits(MovieOutlet, double, double) {}
    virtual void setFieldFormat(MovieOutlet, int, int) {}
    virtual void setHidden(MovieOutlet, bool) {}
    virtual void setEnabled(MovieOutlet, bool) {}
    virtual void showPlayButton(bool) {}
    // The movie view shows the opened movie, and takes a magnification (with or without its bar); false
    // while the picture's size is not known yet, and the next tick tries again.
    virtual void showMovie(MediaPlayer*) {}
    virtual bool resizeMovieView(double, bool) { return true; }
    virtual void reloadTracks() {}
    virtual void showWindow(float, bool) {}
    virtual void setWindowFrame(const float*) {}
    virtual void closePropertyWindow() {}
    virtual void alert(const QString&, const QString&) {}
    // The movie asked for could not be opened (the alert is shown).
    virtual void movieNotOpened() {}
    // Values of the control that sent an action (null reads as 0).
    virtual int intValueOf(const QObject* sender) const;
    virtual double floatValueOf(const QObject* sender) const;
    virtual int selectedIndexOf(MovieOutlet popup, const QObject* sender) const;
    virtual int selectedTagOf(const QObject* sender) const;

    // Stops the movie and the handlers, for a window that closes.
    void movieWindowClosing();

private:
    void openMovie();
    void finishOpening(const QString& asked, MediaOpening::Result result);
    void setUpOpenedMovie();
    void alertNotOpened(const QString& path, const QString& why);
    void observeTransportNotifications();
    void onMainThread(void (QXMovieController::*handler)());
    float refreshedLevel(int source, int switchSlot) const;
    void showFailure(const QString& message);
    void checkPlayback();

    std::shared_ptr<MediaPlayer> gMovie;
    std::unique_ptr<MediaOpening> opening;  // the movie being opened
    std::vector<std::function<void()>> whenOpenedCalls;
    std::unique_ptr<RunLoopTimer> timer;
    std::shared_ptr<int> alive = std::make_shared<int>(0);  // queued work checks this is still held
    std::vector<ScopedObserver> observers;
    bool countedWindow = false;

    QStringList movieTrackMediaTypesArray;
    bool gIsMoviePlaying = false;
    float gMoviePlaybackRate = 1.0f;
    int setMoviesizeNumberX = 0;
    std::array<int, moviePopupCount> popupNumbers{};
    std::array<float, movieGainCount> gains{0.0f, 2.0f, 0.0f, 32.0f};
    std::array<float, 8> bandTimes{};  // EyedeltaLSlider_value .. BetaHSlider_value
    std::array<int, movieSwitchCount> switches{};
    std::array<int, 8> bandFlags{};  // FrameEyeBSX .. FrameGammaBSX
    int PlaymodeX = 0;
    std::int64_t MovieLength = 0;
    int BSpeakFrequencyZ = 0;
    QString fileNameString;
    QString moviePathString;
    QString failure;
    double shownMagnification = 1.0;
    bool controllerBar = true;
    // The size chosen last waits for the picture's size to be known.
    bool sizeAwaitsPicture = false;
    bool playButtonStops = false;
};

// The end-of-movie procedure: the ended player's play button returns to its stopped state and its
// callback is armed again.
void QXCallBackProc(QXMovieController& controller);

}  // namespace nupo
