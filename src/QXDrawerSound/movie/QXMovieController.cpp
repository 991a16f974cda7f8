#include "QXDrawerSound/movie/QXMovieController.h"

#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/player/MovieFrameFunctions.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "core/Transport.h"
#include "midi/common/SenderValue.h"
#include "platform/appkit/MainThread.h"
#include "platform/appkit/RunLoopTimer.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/BrainBands.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "views3d/QX3DSpectrumGLView.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <mutex>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr double tickSeconds = 0.3;

std::mutex optionsMutex;
MediaPlayer::Options movieOptions = [] {
    MediaPlayer::Options options;
    options.videoOutput = true;
    return options;
}();

}  // namespace

QString movieOutletName(MovieOutlet outlet)
{
#define NUPO_MOVIE_NAME(name) QStringLiteral(#name),
    static const QString names[] = {NUPO_MOVIE_OUTLETS(NUPO_MOVIE_NAME)};
#undef NUPO_MOVIE_NAME
    const auto index = static_cast<std::size_t>(outlet);
    return index < std::size(names) ? names[index] : QString();
}

QXMovieController::QXMovieController() = default;

QXMovieController::~QXMovieController()
{
    observers.clear();
    if (timer)
        timer->invalidate();
    if (gMovie)
        gMovie->setEndCallback({});
    // The transport stops posting movie notifications, unless a newer movie window (a document read
    // again, say) has taken over meanwhile or is opening its movie.
    if (gOpeningMovieController == this)
        gOpeningMovieController = nullptr;
    if (gMyMovieControllerObject == this) {
        gMyMovieControllerObject = nullptr;
        if (!gOpeningMovieController)
            ploopSyncX.store(0, relaxed);
    }
}

QXMovieController& QXMovieController::sharedQXMovieController()
{
    static QXMovieController* instance = [] {
        auto* controller = new QXMovieController;  // lives to process end
        controller->init();
        return controller;
    }();
    return *instance;
}

void QXMovieController::setMediaOptions(const MediaPlayer::Options& options)
{
    std::lock_guard lock(optionsMutex);
    movieOptions = options;
}

void QXMovieController::init()
{
    movieTrackMediaTypesArray.clear();
    if (OpenQTX == 0) {
        const float normal[4] = {400.0f, 400.0f, 655.0f, 552.0f};
        std::copy(std::begin(normal), std::end(normal), NomalQTSizeR);
    }
    const float small[4] = {200.0f, 100.0f, 655.0f, 552.0f};
    std::copy(std::begin(small), std::end(small), SmallSizeR);
    if (!timer) {
        timer = std::make_unique<RunLoopTimer>(tickSeconds, [this] { timerUpdate(); });
    }
}

// --- Opening ----------------------------------------------------------------------------------------------

void QXMovieController::openMovie()
{
    OpenQT.fetch_add(1, relaxed);
    countedWindow = true;
    setMoviesizeNumberX = 0;
    popupNumbers.fill(0);
    BSpeakFrequencyZ = 0;
    gains[SoundGain] = 2.0f;
    gains[SpeedGain] = 32.0f;

    const QString path = QString::fromUtf8(outCHAR);
    fileNameString = QFileInfo(path).fileName();
    // The movie may have moved with its document: it is looked for beside the document too. The reason
    // told stays that of the path asked for.
    const QString besideDocument = !documentNameX.isEmpty() && !fileNameString.isEmpty()
                                       ? QFileInfo(documentNameX).dir().filePath(fileNameString)
                                       : QString();
    MediaPlayer::Options options;
    {
        std::lock_guard lock(optionsMutex);
        options = movieOptions;
    }
    gOpeningMovieController = this;
    // A file without pictures is no movie for this window. A window closed meanwhile drops the opening.
    const auto pictures = [](const MediaPlayer& player) {
        return player.hasVideo() ? QString() : QStringLiteral("the file has no pictures");
    };
    opening = std::make_unique<MediaOpening>(
        options, QStringList{path, besideDocument}, pictures,
        [this, path](MediaOpening::Result result) { finishOpening(path, std::move(result)); });
}

void QXMovieController::finishOpening(const QString& asked, MediaOpening::Result result)
{
    opening.reset();
    if (gOpeningMovieController == this)
        gOpeningMovieController = nullptr;
    std::vector<std::function<void()>> waiting = std::exchange(whenOpenedCalls, {});
    const QString& opened = result.opened;
    const QString& why = result.error;
    if (opened.isEmpty()) {
        MediaOpening::dispose(std::move(result.player));
        std::printf("Can not open movie file %s: %s\n", qPrintable(asked), qPrintable(why));
        alertNotOpened(asked, why);
        OpenQT.store(0, relaxed);
        ploopSyncX.store(0, relaxed);
        movieNotOpened();
        return;
    }
    NSStringToC(opened);
    gMovie = std::move(result.player);
    moviePathString = opened;
    documentMoviePath = opened;
    MovieLength = gMovie->durationUnits();
    showMovie(gMovie.get());
    setUpOpenedMovie();
    for (const std::function<void()>& call : waiting)
        call();
}

void QXMovieController::setUpWindow()
{
    openMovie();
}

void QXMovieController::whenOpened(std::function<void()> call)
{
    if (gMovie && !opening)
        call();
    else if (opening)
        whenOpenedCalls.push_back(std::move(call));
}

void QXMovieController::setUpOpenedMovie()
{
    for (int band = 0; band < 8; ++band)
        bandTimes[std::size_t(band)] = static_cast<float>(MovieLength) * static_cast<float>(band) / 8.0f;
    for (int band = 0; band < 8; ++band)
        setLimits(MovieOutlet(int(MovieOutlet::setEyedeltaLSlider) + band), 0.0, double(MovieLength));
    for (int band = 0; band < 8; ++band)
        showValue(MovieOutlet(int(MovieOutlet::setEyedeltaLSlider) + band), bandTimes[std::size_t(band)]);
    setEnabled(MovieOutlet::menuItem_New, false);

    gMyMovieControllerObject = this;
    setupMoviePlayingCompleteCallback(gMovie.get());

    showValue(MovieOutlet::setSoundSlider, gMovie->movieVolume());
    setMoviePropertyWindowControlValues(gMovie.get());
    gMovie->setLoopMode(MediaPlayer::LoopMode::Looping);

    setItems(MovieOutlet::Moviesize, movieSizeItems());
    selectItem(MovieOutlet::Moviesize, setMoviesizeNumberX);
    const QStringList sources = movieSourceItems(DeviceConfig.load(relaxed));
    for (MovieOutlet popup : {MovieOutlet::SoundBrain, MovieOutlet::FrameBrain, MovieOutlet::SpeedBrain}) {
        setItems(popup, sources);
        selectItem(popup, 0);
    }
    for (MovieOutlet popup : {MovieOutlet::SoundPFC, MovieOutlet::FramePFC, MovieOutlet::SpeedPFC}) {
        setItems(popup, brainSwitchSlotItems().replaceInStrings(QStringLiteral("BS"), QStringLiteral("BS ")));
        selectItem(popup, 0);
    }

    // The frame to take is read before the first show: a small screen moves the window in as it shows,
    // and that move is stored as the window's frame.
    float frame[4];
    std::copy(std::begin(NomalQTSizeR), std::end(NomalQTSizeR), frame);
    showWindow(WQTAlphaValue, showQTFront != 0);
    setPloopSync(ploopSyncX.load(relaxed));
    setWindowFrame(frame);
    observeTransportNotifications();
    ShowQTWindow = 1;
}

void QXMovieController::showQTmovieInfo(const QString& why)
{
    alertNotOpened(QString::fromUtf8(outCHAR), why);
}

void QXMovieController::alertNotOpened(const QString& path, const QString& why)
{
    QString message = QStringLiteral("Movie File Path: %1").arg(path);
    // The path is on the line above: the reason need not name it again.
    const QString named = path + QStringLiteral(": ");
    const qsizetype at = path.isEmpty() ? -1 : why.indexOf(named);
    const QString reason = at < 0 ? why : why.mid(at + named.size());
    if (!reason.isEmpty())
        message += QStringLiteral("\n\n") + asSentence(reason);
    alert(QStringLiteral("Can not open movie file. Dedir Urav file only open."), message);
}

// --- Notifications ----------------------------------------------------------------------------------------

void QXMovieController::observeTransportNotifications()
{
    using Handler = void (QXMovieController::*)();
    const std::pair<const QString*, Handler> handlers[] = {
        {&setPlayMovieNotification, &QXMovieController::setPlayQ},
        {&setPauseMovieNotification, &QXMovieController::setPauseQ},
        {&setCurrentTimeMovieNotification, &QXMovieController::setCurrentTimeQ},
        {&setPauseAnywayMovieNotification, &QXMovieController::setPauseAnywayQ},
        {&setMovieSpeedNotification, &QXMovieController::setMovieSpeedQ}};
    observers.clear();
    for (const auto& [name, handler] : handlers) {
        observers.emplace_back(*name, nullptr, [this, handler = handler](const Notification&) {
            // The recording's end may post on the acquisition thread: `ploop` is held to the recording at
            // once, the movie work goes to the main thread.
            if (handler == &QXMovieController::setCurrentTimeQ ||
                handler == &QXMovieController::setMovieSpeedQ) {
                int current = ploop.load(relaxed);
                const int end = maxploop.load(relaxed);
                while (current > end && !ploop.compare_exchange_weak(current, end, relaxed)) {
                }
            }
            onMainThread(handler);
        });
    }
}

void QXMovieController::onMainThread(void (QXMovieController::*handler)())
{
    if (isMainThread()) {
        (this->*handler)();
        return;
    }
    std::weak_ptr<int> token = alive;
    performOnMainThread([this, token, handler] {
        if (token.lock())
            (this->*handler)();
    });
}

void QXMovieController::setPlayQ()
{
    setgoToBeginning();
    setplay();
}

void QXMovieController::setPauseQ()
{
    setPause();
}

void QXMovieController::setCurrentTimeQ()
{
    if (ploop.load(relaxed) > maxploop.load(relaxed))
        ploop.store(maxploop.load(relaxed), relaxed);
    ploopSyncQT(ploop.load(relaxed));
}

void QXMovieController::setPauseAnywayQ()
{
    setPauseAnyway();
}

void QXMovieController::setMovieSpeedQ()
{
    setMovieSpeedQT(tlongE.load(relaxed));
}

void QXMovieController::setMovieSpeedQT(int speedIndex)
{
    if (ploopSyncX.load(relaxed) == 0)
        return;
    if (gMovie)
        gMovie->setRate(playSpeedFactor(speedIndex));
    setCurrentTimeQ();
}

void QXMovieController::ploopSyncQT(int samplePosition)
{
    if (!gMovie || ploopSyncX.load(relaxed) == 0)
        return;
    const std::int64_t time =
        movieTimeOfPosition(samplePosition, SampleSpeed.load(relaxed), gMovie->durationUnits(),
                            gMovie->timeScale(), setLoopModeX.load(relaxed) != 0);
    if (time >= 0)
        QTUDrawVideoFrameAtTime(gMovie.get(), time);
    setcurrentTimePointTextStrX();
}

// --- The tick ---------------------------------------------------------------------------------------------

void QXMovieController::timerUpdate()
{
    if (!gMovie)
        return;
    checkPlayback();
    if (!gMovie)
        return;
    MovieSizeControl();
    MovieSpeedControl();
    MovieSoundVolumeControl();
    MovieFrameControl();
    setcurrentTimePointTextStrX();
    setmovieDurationTimeTextStrX();
}

// A movie that stops decoding half-way: the window says why, and its controls rest; the recording goes on.
void QXMovieController::checkPlayback()
{
    if (gMovie->isOpen())
        return;
    const QString why = gMovie->lastError();
    showFailure(
        QStringLiteral("The movie stopped: %1").arg(why.isEmpty() ? QStringLiteral("file closed") : why));
    gMovie->setEndCallback({});
    showMovie(nullptr);  // the picture lets go of the player before it goes
    gMovie.reset();
}

void QXMovieController::showFailure(const QString& message)
{
    failure = message;
    std::printf("%s\n", qPrintable(message));
    showText(MovieOutlet::problemField, message);
}

// The level of a brain switch, its counts refreshed first: nothing else may refresh this source, and
// stale counts would hold the rate and volume for good.
float QXMovieController::refreshedLevel(int source, int switchSlot) const
{
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().waven3DBSQC(source);
    return readBrainSwitch(source, switchSlot).level;
}

void QXMovieController::MovieFrameControl()
{
    if (switches[FrameChangeBSSwitch] == 0 || !gMovie)
        return;
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().waven3DBSQC(popupNumbers[MovieFrameBrainPopup]);
    const float frequency =
        readBrainSwitch(popupNumbers[MovieFrameBrainPopup], popupNumbers[MovieFramePFCPopup]).peakFrequency;
    const int band = brainBandOfFrequency(frequency);
    if (band == BSpeakFrequencyZ)
        return;
    setBSrhythmStateAllOff();
    QTUDrawVideoFrameAtTime(gMovie.get(), static_cast<std::int64_t>(bandTimes[std::size_t(band)]));
    setFrameBS(band, 1);
    BSpeakFrequencyZ = band;
}

void QXMovieController::MovieSpeedControl()
{
    if (switches[SpeedControlSwitch] == 0 || !gMovie)
        return;
    const float level = refreshedLevel(popupNumbers[MovieSpeedBrainPopup], popupNumbers[MovieSpeedPFCPopup]);
    const float rate = soundRateFromLevel(level, gains[SpeedGain]);
    gMovie->setRate(rate);
    setFieldFormat(MovieOutlet::RateField, 2, 2);
    showValue(MovieOutlet::displayHereRate, rate);
}

void QXMovieController::MovieSoundVolumeControl()
{
    if (switches[SoundControlSwitch] == 0 || !gMovie)
        return;
    const float level = refreshedLevel(popupNumbers[MovieSoundBrainPopup], popupNumbers[MovieSoundPFCPopup]);
    const int volume = soundVolumeFromLevel(level, gains[SoundGain]);
    gMovie->setMovieVolume(volume);
    showValue(MovieOutlet::displayHereploop, volume);
}

void QXMovieController::MovieSizeControl()
{
    if (setMoviesizeNumberX == 4 || setMoviesizeNumberX == 5 || sizeAwaitsPicture)
        setMoviesizeNumber(setMoviesizeNumberX);
}

// --- Transport --------------------------------------------------------------------------------------------

void QXMovieController::setplay()
{
    if (!gMovie)
        return;
    if (gMovie->isAtEnd())
        gMovie->goToBeginning();
    gMovie->play();
    playButtonStops = true;
    showPlayButton(true);
}

void QXMovieController::setPause()
{
    if (!gMovie)
        return;
    if (gMovie->isAtEnd())
        gMovie->goToBeginning();
    if (gMovie->isPlaying()) {
        gMovie->pause();
        playButtonStops = false;
    } else {
        gMovie->play();
        playButtonStops = true;
    }
    showPlayButton(playButtonStops);
}

void QXMovieController::setPauseAnyway()
{
    if (!gMovie || !gMovie->isPlaying())
        return;
    gMovie->pause();
    playButtonStops = false;
    showPlayButton(false);
}

void QXMovieController::setgoToBeginning()
{
    if (!gMovie)
        return;
    saveCurrentMoviePlayingState();
    gMovie->goToBeginning();
    restoreMoviePlayingState(nullptr);
}

void QXMovieController::goToBeginning(QObject*)
{
    setgoToBeginning();
}

void QXMovieController::play(QObject*)
{
    if (!gMovie)
        return;
    if (gMovie->isAtEnd())
        gMovie->goToBeginning();
    if (gMovie->isPlaying())
        gMovie->pause();
    else
        gMovie->play();
    playButtonStops = true;
    showPlayButton(true);
}

void QXMovieController::stop(QObject*)
{
    if (gMovie)
        gMovie->pause();
    resetPlayButtonForMovieStopState(nullptr);
}

void QXMovieController::playButtonAction(QObject* sender)
{
    if (playButtonStops)
        stop(sender);
    else
        play(sender);
}

void QXMovieController::goToEnd(QObject*)
{
    if (gMovie)
        gMovie->goToEnd();
}

void QXMovieController::stepBack(QObject*)
{
    if (!gMovie)
        return;
    saveCurrentMoviePlayingState();
    gMovie->stepBackward();
    restoreMoviePlayingState(nullptr);
}

void QXMovieController::stepForward(QObject*)
{
    if (!gMovie)
        return;
    if (gMovie->isAtEnd())
        gMovie->goToBeginning();
    saveCurrentMoviePlayingState();
    gMovie->stepForward();
    restoreMoviePlayingState(nullptr);
}

void QXMovieController::resetPlayButtonForMovieStopState(QObject*)
{
    playButtonStops = false;
    showPlayButton(false);
}

void QXMovieController::saveCurrentMoviePlayingState()
{
    if (!gMovie)
        return;
    gIsMoviePlaying = gMovie->isPlaying();
    gMoviePlaybackRate = static_cast<float>(gMovie->rate());
}

void QXMovieController::restoreMoviePlayingState(QObject*)
{
    if (!gMovie)
        return;
    if (gIsMoviePlaying)
        gMovie->play();
    gMovie->setRate(gMoviePlaybackRate);
}

void QXMovieController::setupMoviePlayingCompleteCallback(MediaPlayer* movie)
{
    if (movie == nullptr)
        return;
    std::weak_ptr<int> token = alive;
    movie->setEndCallback([this, token] {
        if (token.lock())
            QXCallBackProc(*this);
    });
}

void QXMovieController::restoreMoviePlayCompleteCallBack()
{
    setupMoviePlayingCompleteCallback(gMovie.get());
}

void QXCallBackProc(QXMovieController& controller)
{
    controller.resetPlayButtonForMovieStopState(nullptr);
    controller.restoreMoviePlayCompleteCallBack();
}

// --- Following the recording ------------------------------------------------------------------------------

void QXMovieController::PloopSync(QObject* sender)
{
    setPloopSync(intValueOf(sender));
}

void QXMovieController::setPloopSync(int value)
{
    showValue(MovieOutlet::setPloopSync, value != 0 ? 1 : 0);
    ploopSyncX.store(value, relaxed);
    OpenQT.store(value != 0 ? 1 : 0, relaxed);
    for (MovieOutlet button :
         {MovieOutlet::goToBeginningButton, MovieOutlet::goToEndButton, MovieOutlet::playButton,
          MovieOutlet::stepBackButton, MovieOutlet::stepForwardButton})
        setHidden(button, value != 0);
    setPlaymodeMatrix(value != 0 ? 0 : 1);
}

int QXMovieController::getPloopSync() const
{
    return ploopSyncX.load(relaxed);
}

void QXMovieController::setWindowAlphaValue(float value)
{
    WQTAlphaValue = value;
}

void QXMovieController::putoutCHAR(const char* path)
{
    NSStringToC(QString::fromUtf8(path != nullptr ? path : ""));
}

QString QXMovieController::getoutCHAR() const
{
    return QString::fromUtf8(outCHAR);
}

void QXMovieController::movieWindowClosing()
{
    if (gMovie)
        gMovie->pause();
    closePropertyWindow();
    ShowQTWindow = 0;
    if (countedWindow)
        OpenQT.fetch_sub(1, relaxed);
    countedWindow = false;
    observers.clear();
    // A movie still being opened is not taken when it comes.
    opening.reset();
    whenOpenedCalls.clear();
    if (gOpeningMovieController == this)
        gOpeningMovieController = nullptr;
}

}  // namespace nupo
