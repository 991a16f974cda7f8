// The movie window's controls: switches, band check boxes, sliders, popups, size, play mode, the property
// window and the time texts.
#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/movie/QXMovieController.h"
#include "QXDrawerSound/player/MovieFrameFunctions.h"
#include "midi/common/SenderValue.h"
#include "shared/AnalysisState.h"

namespace nupo {

namespace {

constexpr MovieOutlet switchOutlets[movieSwitchCount] = {
    MovieOutlet::setRateON,       MovieOutlet::setSoundFrameSpeedControl, MovieOutlet::setSoundControl,
    MovieOutlet::setFrameControl, MovieOutlet::setSpeedControl,           MovieOutlet::setOptionControl,
    MovieOutlet::setFrameChangeBS};
constexpr MovieOutlet popupOutlets[moviePopupCount] = {MovieOutlet::SoundBrain, MovieOutlet::SoundPFC,
                                                       MovieOutlet::FrameBrain, MovieOutlet::FramePFC,
                                                       MovieOutlet::SpeedBrain, MovieOutlet::SpeedPFC};
// Volume shown, and rate set, when their brain control is switched off.
constexpr int restingVolume = 100;

MovieOutlet bandButton(int band)
{
    return MovieOutlet(int(MovieOutlet::setFrameEyeBS) + band);
}
bool isBand(int band)
{
    return band >= 0 && band < 8;
}

}  // namespace

int QXMovieController::intValueOf(const QObject* sender) const
{
    return senderIntValue(sender);
}
double QXMovieController::floatValueOf(const QObject* sender) const
{
    return senderFloatValue(sender);
}
int QXMovieController::selectedIndexOf(MovieOutlet, const QObject* sender) const
{
    return senderSelectedIndex(sender);
}
int QXMovieController::selectedTagOf(const QObject* sender) const
{
    return senderSelectedTag(sender);
}

void QXMovieController::switchAction(int which, QObject* sender)
{
    setSwitch(which, intValueOf(sender));
}

void QXMovieController::setSwitch(int which, int value)
{
    if (which < 0 || which >= movieSwitchCount)
        return;
    showValue(switchOutlets[which], value);
    switches[std::size_t(which)] = value;
    if (which == SoundControlSwitch && value == 0) {
        if (gMovie)
            gMovie->setMovieVolume(restingVolume);
        showValue(MovieOutlet::displayHereploop, restingVolume);
    } else if (which == SpeedControlSwitch && value == 0) {
        if (gMovie)
            gMovie->setRate(1.0);
        showValue(MovieOutlet::displayHereRate, 1.0);
        setFieldFormat(MovieOutlet::RateField, 2, 2);
    }
}

void QXMovieController::setBSrhythmStateAllOff()
{
    for (int band = 0; band < 8; ++band) {
        showValue(bandButton(band), 0);
        bandFlags[std::size_t(band)] = 0;
    }
}

void QXMovieController::FrameBS(int band, QObject* sender)
{
    if (!isBand(band))
        return;
    setFrameBS(band, intValueOf(sender));
    setBandSlider(band, bandTimes[std::size_t(band)]);
}

void QXMovieController::setFrameBS(int band, int value)
{
    if (!isBand(band))
        return;
    setBSrhythmStateAllOff();
    showValue(bandButton(band), value);
    bandFlags[std::size_t(band)] = value;
}

void QXMovieController::gainAction(int which, QObject* sender)
{
    setGain(which, static_cast<float>(floatValueOf(sender)));
}

void QXMovieController::setGain(int which, float value)
{
    if (which >= 0 && which < movieGainCount)
        gains[std::size_t(which)] = value;
}

void QXMovieController::BandSlider(int band, QObject* sender)
{
    setBandSlider(band, static_cast<float>(floatValueOf(sender)));
}

void QXMovieController::setBandSlider(int band, float value)
{
    if (!isBand(band))
        return;
    bandTimes[std::size_t(band)] = value;
    QTUDrawVideoFrameAtTime(gMovie.get(), static_cast<std::int64_t>(value));
}

void QXMovieController::selectMoviesize(QObject* sender)
{
    setMoviesizeNumber(selectedIndexOf(MovieOutlet::Moviesize, sender));
}

void QXMovieController::setMoviesizeNumber(int choice)
{
    setMoviesizeNumberX = choice;
    const double magnification = movieMagnification(
        choice, peakFFTA[0].load(std::memory_order_relaxed), peakFFTA[1].load(std::memory_order_relaxed),
        switches[OptionControlSwitch] != 0, gains[FrameGain], switches[RateONSwitch] != 0, gains[RateGain]);
    if (magnification < 0.0)
        return;
    controllerBar = choice < 4;
    shownMagnification = magnification;
    sizeAwaitsPicture = !resizeMovieView(magnification, controllerBar);
}

void QXMovieController::selectPopup(int popup, QObject* sender)
{
    if (popup >= 0 && popup < moviePopupCount)
        setPopupNumber(popup, selectedIndexOf(popupOutlets[popup], sender));
}

void QXMovieController::setPopupNumber(int popup, int value)
{
    if (popup >= 0 && popup < moviePopupCount)
        popupNumbers[std::size_t(popup)] = value;
}

void QXMovieController::PlaymodeMatrix(QObject* sender)
{
    setPlaymodeMatrix(selectedTagOf(sender));
}

void QXMovieController::setPlaymodeMatrix(int mode)
{
    selectItem(MovieOutlet::setPlaymodeMatrix, mode);
    if (mode < 0 || mode > 3)
        return;
    PlaymodeX = mode;
    if (!gMovie)
        return;
    if (mode == 0)
        gMovie->setLoopMode(MediaPlayer::LoopMode::Normal);
    else if (mode == 1)
        gMovie->setLoopMode(MediaPlayer::LoopMode::Looping);
    else
        gMovie->setPlaysSelectionOnly(mode == 2);
}

void QXMovieController::setMovieSelection(double start, double length)
{
    if (gMovie)
        gMovie->setSelection(start, length);
}

void QXMovieController::setMoviePropertyWindowControlValues(MediaPlayer* movie)
{
    showText(MovieOutlet::autoPlayEnabled,
             QTUtils_IsAutoPlayMovie(movie) ? QStringLiteral("Yes") : QStringLiteral("No"));
    showValue(MovieOutlet::trackCount, movie ? movie->trackCount() : 0);
    buildTrackMediaTypesArray(movie);
    // Crossed as the window has always shown them: seconds under the time scale's label and back.
    showValue(MovieOutlet::movieTimeScale, double(GetMovieDurationN(movie)));
    showValue(MovieOutlet::movieDuration, double(GetMovieTimeScaleN(movie)));
    showText(MovieOutlet::movieFileName, fileNameString);
}

void QXMovieController::buildTrackMediaTypesArray(MediaPlayer* movie)
{
    movieTrackMediaTypesArray = movie ? movie->trackNames() : QStringList();
    reloadTracks();
}

void QXMovieController::setmovieDurationTimeTextStrX()
{
    if (gMovie)
        showText(MovieOutlet::movieDurationTime,
                 movieDurationText(gMovie->durationUnits(), gMovie->timeScale()));
}

void QXMovieController::setcurrentTimePointTextStrX()
{
    if (!gMovie)
        return;
    const QString text = movieCurrentTimeText(gMovie->currentTimeUnits(), gMovie->timeScale());
    showText(MovieOutlet::movieCurrnetTime, text);
    showText(MovieOutlet::movieCurrnetTimeA, text);
}

}  // namespace nupo
