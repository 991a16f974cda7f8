#include "QXDrawerSound/player/QXSoundController.h"

#include "QXDrawerSound/player/MovieFrameFunctions.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "midi/common/SenderValue.h"
#include "platform/appkit/MainThread.h"
#include "platform/appkit/RunLoopTimer.h"
#include "platform/media/SystemSound.h"
#include "shared/BrainBands.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "views3d/QX3DSpectrumGLView.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace nupo {

namespace {

constexpr double tickSeconds = 0.01;
const QString playTitle = QStringLiteral(">");
const QString pauseTitle = QStringLiteral("||");

struct MediaOptionsHolder {
    std::mutex mutex;
    MediaPlayer::Options options;
};

MediaOptionsHolder& mediaOptionsHolder()
{
    static MediaOptionsHolder* holder = new MediaOptionsHolder;  // lives to process end
    return *holder;
}

}  // namespace

QString soundOutletName(SoundOutlet outlet)
{
#define NUPO_SOUND_SLOT_NAME(name) QStringLiteral(#name),
    static const QString names[] = {NUPO_SOUND_SLOT_OUTLETS(NUPO_SOUND_SLOT_NAME)};
#undef NUPO_SOUND_SLOT_NAME
    const int index = static_cast<int>(outlet);
    return index >= 0 && index < static_cast<int>(SoundOutlet::count) ? names[index] : QString();
}

QXSoundController::QXSoundController(int slot) : slotIndex(std::clamp(slot, 0, soundSlotCount - 1)) {}

QXSoundController::~QXSoundController()
{
    alive.reset();
    playObserver.reset();
    stopObserver.reset();
    if (timer)
        timer->invalidate();
    opening.reset();
    MediaOpening::dispose(std::move(gMovie));
    if (countedWindow) {
        SoundWindowOpenNumer -= 1;
        if (SoundWindowOpenNumer <= 0) {
            SoundWindowOpenNumer = 0;
            openSound = 0;
        }
    }
}

QXSoundController& QXSoundController::sharedQXSoundController()
{
    static QXSoundController* instance = new QXSoundController(0);  // lives to process end
    return *instance;
}

void QXSoundController::setMediaOptions(const MediaPlayer::Options& options)
{
    std::lock_guard lock(mediaOptionsHolder().mutex);
    mediaOptionsHolder().options = options;
}

void QXSoundController::initSoundNSStr()
{
    initSoundTables();
}

void QXSoundController::ResetSoundBankIndex()
{
    openSound = 0;
}

void QXSoundController::init()
{
    if (timer)
        return;
    timer = std::make_unique<RunLoopTimer>(tickSeconds, [this] { timerUpdate(); });  // every 10 ms
}

// --- Tick -----------------------------------------------------------------------------------------------

void QXSoundController::timerUpdate()
{
    MovieSoundSelect();
    MovieSpeedControl();
    MovieSoundVolumeControl();
}

void QXSoundController::MovieSoundSelect()
{
    showText(SoundOutlet::displayHeresoundName, nameLine());
    if (movieStop == 0)
        return;
    const int mode = popupNumbers[ChoicePopup];
    if (mode != 1 && mode != 2 && UseBSONX != 1)
        return;
    if (soundBlockSize(RowsCountX) <= 0) {
        // No rows in a block (an empty bank, or fewer sounds than blocks): nothing to choose from.
        movieStop = 0;
        return;
    }
    if (mode == 1)
        selectedRowX = autoNextRow(selectedRowX, RowsCountX);
    else if (mode == 2)
        selectedRowX = randomRowInBlock(QRandomGenerator::global()->bounded(-32767, 32768), RowsCountX);
    else
        MovieSoundBSrhythmControl();
    MovieSoundSelectOpen();
    armWhenOpened = false;  // the choice is made: the end of this sound arms the next
    movieStop = 0;
}

void QXSoundController::MovieSoundSelectOpen()
{
    movieOpenX(selectedRowX, true);
}

void QXSoundController::MovieSoundBSrhythmControl()
{
    if (UseBSONX == 0)
        return;
    const int source = popupNumbers[SoundBrainPopup];
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().waven3DBSQC(source);
    const int band = brainBandOfFrequency(readBrainSwitch(source, popupNumbers[SoundPFCPopup]).peakFrequency);
    if (band != BSpeakFrequencyZ) {
        setBSrhythmStateAllOff();
        selectedRowX = static_cast<int>(bandSoundIndexes[std::size_t(band)]) + soundBlockFirstRow(RowsCountX);
        setFrameBS(band, 1);
    }
    BSpeakFrequencyZ = band;
}

void QXSoundController::setBSrhythmStateAllOff()
{
    for (std::size_t band = 0; band < bandButtons.size(); ++band) {
        showValue(bandButtonOutlets[band], 0);
        bandButtons[band] = 0;
    }
}

// The level of a brain switch, refreshed first: counts that nothing else refreshes would otherwise stay
// as they were (at 0 when no other window or mapper uses the source), and the sound with them.
float QXSoundController::refreshedLevel(int source, int switchSlot) const
{
    QX3DSpectrumGLView::sharedQX3DSpectrumGLView().waven3DBSQC(source);
    return readBrainSwitch(source, switchSlot).level;
}

void QXSoundController::MovieSpeedControl()
{
    if (SpeedControlX == 0)
        return;
    const float level = refreshedLevel(popupNumbers[SpeedBrainPopup], popupNumbers[SpeedPFCPopup]);
    const float rate = soundRateFromLevel(level, SpeedSlider_value);
    if (gMovie)
        gMovie->setRate(rate);
    setFieldFormat(SoundOutlet::RateField, 2, 2);
    showValue(SoundOutlet::displayHereRate, rate);
}

void QXSoundController::MovieSoundVolumeControl()
{
    if (SoundControlX == 0)
        return;
    const float level = refreshedLevel(popupNumbers[VolumeBrainPopup], popupNumbers[VolumePFCPopup]);
    const int volume = soundVolumeFromLevel(level, VolumeSlider_value);
    if (gMovie)
        gMovie->setMovieVolume(volume);
    showValue(SoundOutlet::displayHereploop, volume);
}

// --- Opening a sound ------------------------------------------------------------------------------------

QString QXSoundController::soundPathForRow(int row) const
{
    if (openFromSFolder != 1)
        return QString::fromUtf8(outCHAR, qsizetype(strnlen(outCHAR, outCHARSize)));
    if (row < 0 || row >= soundNameArray.size() || row >= RowsCountX)
        return {};
    return soundNameArray[row];
}

QString QXSoundController::nameLine() const
{
    if (!failure.isEmpty())
        return failure;
    // A sound nobody can hear (no audio server, or it went away) says so; it is heard again once a
    // server is there.
    if (gMovie && gMovie->audioOutput() == MediaPlayer::AudioOutput::Silent)
        return fileName + QStringLiteral(" (silent: no audio output)");
    return fileName;
}

void QXSoundController::showFailure(const QString& message)
{
    failure = message;
    std::printf("%s\n", message.toLocal8Bit().constData());
    std::fflush(stdout);
    showText(SoundOutlet::displayHeresoundName, failure);
}

bool QXSoundController::movieOpenX(int row, bool playOnceOpen)
{
    const QString path = soundPathForRow(row);
    // The sound playing stops as another is chosen; one still being opened is not taken when it comes.
    opening.reset();
    if (gMovie)
        gMovie->pause();
    if (path.isEmpty()) {
        showFailure(QStringLiteral("No sound %1 in this bank").arg(row + 1));
        movieStop = 0;
        return false;
    }
    if (openFromSFolder == 1)
        fileName = QFileInfo(path).fileName();
    failure.clear();
    playWhenOpened = playOnceOpen;
    armWhenOpened = true;
    MediaPlayer::Options options;
    {
        std::lock_guard lock(mediaOptionsHolder().mutex);
        options = mediaOptionsHolder().options;
    }
    opening = std::make_unique<MediaOpening>(options, QStringList{path}, MediaOpening::Check(),
                                             [this](MediaOpening::Result result) { finishOpening(std::move(result)); });
    return true;
}

void QXSoundController::finishOpening(MediaOpening::Result result)
{
    opening.reset();
    const bool play = std::exchange(playWhenOpened, false);
    std::shared_ptr<MediaPlayer> previous = std::exchange(gMovie, std::move(result.player));
    if (gMovie) {
        // The callback belongs to this player's own movie: it goes when the player goes. The rate,
        // volume and play mode the slot had stay (a slot's first sound loops).
        gMovie->setEndCallback([this] { QXSCallBackProc(*this); });
        gMovie->setLoopMode(previous ? previous->loopMode() : MediaPlayer::LoopMode::Looping);
        if (previous) {
            gMovie->setRate(previous->rate());
            gMovie->setVolume(previous->volume());
            gMovie->setPlaysSelectionOnly(previous->playsSelectionOnly());
        }
    }
    showPlayer(gMovie.get());
    MediaOpening::dispose(std::move(previous));
    if (result.opened.isEmpty()) {
        // The slot stays stopped with nothing open; no end will come, so no further choice is due.
        showFailure(result.error);
        movieStop = 0;
        if (result.stalled)
            alert(QStringLiteral("A sound file did not answer."),
                  asSentence(result.error) +
                      QStringLiteral(" The drive that holds it may be slow or not answering; the slot plays "
                                     "nothing meanwhile."));
        return;
    }
    if (armWhenOpened)
        setupMoviePlayingCompleteCallback(gMovie.get());
    setMoviePropertyWindowControlValues(gMovie.get());
    setPlaymodeMatrix(PlaymodeX);
    if (play)
        gMovie->play();
}

// --- Transport ------------------------------------------------------------------------------------------

void QXSoundController::playX()
{
    if (opening)
        playWhenOpened = true;
    else if (gMovie) {
        if (gMovie->isAtEnd())
            gMovie->goToBeginning();
        gMovie->play();
    }
    playButtonStops = true;
    showText(SoundOutlet::playButton, pauseTitle);
}

void QXSoundController::stopX()
{
    playWhenOpened = false;
    if (gMovie) {
        if (gMovie->isAtEnd())
            gMovie->goToBeginning();
        gMovie->pause();
    }
    resetPlayButtonForMovieStopState(nullptr);
}

void QXSoundController::setSoundPlayQ()
{
    playX();
}

void QXSoundController::setSoundStopQ()
{
    stopX();
}

void QXSoundController::observeTransportNotifications()
{
    // The notifications may be posted on any thread: the work goes to the main thread, in posting order,
    // and is dropped once this player is gone.
    auto relay = [weak = std::weak_ptr<int>(alive), this](void (QXSoundController::*work)()) {
        return [weak, this, work](const Notification&) {
            performOnMainThread([weak, this, work] {
                if (weak.lock())
                    (this->*work)();
            });
        };
    };
    playObserver =
        ScopedObserver(SetSoundPlayNotification, nullptr, relay(&QXSoundController::setSoundPlayQ));
    stopObserver =
        ScopedObserver(SetSoundStopNotification, nullptr, relay(&QXSoundController::setSoundStopQ));
}

void QXSoundController::play(QObject*)
{
    if (opening)
        playWhenOpened = true;
    else if (gMovie) {
        if (gMovie->isAtEnd())
            gMovie->goToBeginning();
        if (gMovie->isPlaying())
            gMovie->pause();
        else
            gMovie->play();
    }
    playButtonStops = true;
    showText(SoundOutlet::playButton, pauseTitle);
}

void QXSoundController::stop(QObject*)
{
    playWhenOpened = false;
    if (gMovie)
        gMovie->pause();
    resetPlayButtonForMovieStopState(nullptr);
}

void QXSoundController::playButtonAction(QObject* sender)
{
    if (playButtonStops)
        stop(sender);
    else
        play(sender);
}

void QXSoundController::resetPlayButtonForMovieStopState(QObject*)
{
    playButtonStops = false;
    showText(SoundOutlet::playButton, playTitle);
}

void QXSoundController::goToBeginning(QObject* sender)
{
    saveCurrentMoviePlayingState();
    if (gMovie)
        gMovie->goToBeginning();
    restoreMoviePlayingState(sender);
}

void QXSoundController::goToEnd(QObject*)
{
    if (gMovie)
        gMovie->goToEnd();
}

void QXSoundController::stepBack(QObject* sender)
{
    saveCurrentMoviePlayingState();
    if (gMovie)
        gMovie->stepBackward();
    restoreMoviePlayingState(sender);
}

void QXSoundController::stepForward(QObject* sender)
{
    if (gMovie && gMovie->isAtEnd())
        gMovie->goToBeginning();
    saveCurrentMoviePlayingState();
    if (gMovie)
        gMovie->stepForward();
    restoreMoviePlayingState(sender);
}

void QXSoundController::saveCurrentMoviePlayingState()
{
    gIsMoviePlaying = gMovie && gMovie->isPlaying();
    gMoviePlaybackRate = gMovie ? static_cast<float>(gMovie->rate()) : 1.0f;
}

void QXSoundController::restoreMoviePlayingState(QObject*)
{
    if (!gMovie)
        return;
    if (gIsMoviePlaying)
        gMovie->play();
    gMovie->setRate(gMoviePlaybackRate);
}

// The movie's end callback is this player's own and stays armed; arming marks that a choice is due
// once the sound has ended.
void QXSoundController::setupMoviePlayingCompleteCallback(MediaPlayer*)
{
    movieStop = 1;
}

void QXSoundController::restoreMoviePlayCompleteCallBack()
{
    setupMoviePlayingCompleteCallback(gMovie.get());
}

// The tracks of the sound just opened (those of earlier sounds are not kept).
void QXSoundController::buildTrackMediaTypesArray(MediaPlayer* movie)
{
    movieTrackMediaTypesArray = movie ? movie->trackNames() : QStringList();
}

void QXSoundController::buildsoundNameArray(MediaPlayer*) {}

void QXSoundController::playTsound()
{
    playSystemSound(QStringLiteral("Tink"));
}

int QXSoundController::intValueOf(const QObject* sender) const
{
    return senderIntValue(sender);
}
double QXSoundController::floatValueOf(const QObject* sender) const
{
    return senderFloatValue(sender);
}
int QXSoundController::selectedIndexOf(const QObject* sender) const
{
    return senderSelectedIndex(sender);
}
QString QXSoundController::selectedTitleOf(const QObject* sender) const
{
    return senderSelectedTitle(sender);
}
int QXSoundController::selectedTagOf(const QObject* sender) const
{
    return senderSelectedTag(sender);
}

int QXSoundController::litBand() const
{
    const auto lit = std::find(bandButtons.begin(), bandButtons.end(), 1);
    return lit == bandButtons.end() ? -1 : static_cast<int>(lit - bandButtons.begin());
}

int QXSoundController::slotElement(const std::array<int, 11>& array) const
{
    return array[std::size_t(slotIndex)];
}

void QXSCallBackProc(QXSoundController& player)
{
    player.resetPlayButtonForMovieStopState(nullptr);
    player.restoreMoviePlayCompleteCallBack();
}

}  // namespace nupo
