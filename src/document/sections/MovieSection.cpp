#include "document/sections/MovieSection.h"

#include "QXDrawerSound/movie/MovieState.h"
#include "QXDrawerSound/movie/QXMovieController.h"
#include "shared/CoreState.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
const QString ploopSyncKey = QStringLiteral("ploopSyncX");
const QString openKey = QStringLiteral("OpenQT");
const QString loopModeKey = QStringLiteral("setLoopModeX");
const QString frameKey = QStringLiteral("NomalQTSizeR");
const QString alphaKey = QStringLiteral("WQTAlphaValue");
const QString pathKey = QStringLiteral("MoviePath");
const QString playModeKey = QStringLiteral("PlayMode");
const QString selectionKey = QStringLiteral("Selection");

// The movie window's play mode (0..3) and its selection (start and length in seconds): those of the
// window shown when the document was written, else those read last, which the window the document opens
// takes. A mode of -1: no movie window has been seen.
struct MoviePlayback {
    int mode = -1;
    double start = 0;
    double length = 0;
    bool toApply = false;  // read, for the window the reading opens
};

MoviePlayback& moviePlayback()
{
    static MoviePlayback playback;  // main thread
    return playback;
}

// The movie a document or preference file asked for that could not be shown (moved away, say): saved
// again, the file still names it, as open and following the recording as asked (the failed opening
// clears the switch), rather than losing it. A movie window that shows a movie since (another controller
// than the one shown then, if any) replaces it.
struct UnopenedMovie {
    QByteArray path;
    const QXMovieController* shownThen = nullptr;
    int ploopSync = 0;
};

UnopenedMovie& unopenedMovie()
{
    static UnopenedMovie movie;  // main thread
    return movie;
}

bool movieWindowShown()
{
    const QXMovieController* shown = gMyMovieControllerObject;
    return shown && !shown->moviePath().isEmpty();
}

}  // namespace

std::optional<PlistDictionary> MovieSection::write()
{
    PlistDictionary section;
    // Whether a movie window is shown: `OpenQT` is the transport's notification gate, which the window's
    // follow switch sets to 0, and a document saved so would lose its movie window.
    const bool windowShown = OpenQT.load(relaxed) > 0 || ShowQTWindow != 0;
    UnopenedMovie& unopened = unopenedMovie();
    if (movieWindowShown() && gMyMovieControllerObject != unopened.shownThen)
        unopened = UnopenedMovie{};
    const bool keepUnopened = !unopened.path.isEmpty();
    section.insert(openKey, integerValue(windowShown || keepUnopened ? 1 : 0));
    const int ploopSync = keepUnopened ? unopened.ploopSync : ploopSyncX.load(relaxed);
    section.insert(ploopSyncKey, integerValue(ploopSync != 0 ? 1 : 0));
    section.insert(loopModeKey, integerValue(setLoopModeX.load(relaxed) != 0 ? 1 : 0));
    PlistValue::Array frame;
    for (float v : NomalQTSizeR)
        frame.push_back(floatValue(v));
    section.insert(frameKey, std::move(frame));
    section.insert(alphaKey, floatValue(WQTAlphaValue));
    // `outCHAR` holds whatever an opener chose or the Media Browser showed last (a sound bank's folder,
    // say); an open movie window knows its own movie, and otherwise the document keeps the one it had.
    const QString path = keepUnopened                        ? QString::fromUtf8(unopened.path)
                         : windowShown && movieWindowShown() ? gMyMovieControllerObject->moviePath()
                                                             : documentMoviePath;
    section.insert(pathKey, path);
    MoviePlayback& playback = moviePlayback();
    if (windowShown && movieWindowShown() && !keepUnopened) {
        const QXMovieController& shown = *gMyMovieControllerObject;
        playback.mode = shown.playMode();
        if (const MediaPlayer* player = shown.movie())
            std::tie(playback.start, playback.length) = player->selection();
    }
    if (playback.mode >= 0) {
        section.insert(playModeKey, integerValue(playback.mode));
        section.insert(selectionKey,
                       PlistValue::Array{numberValue(playback.start), numberValue(playback.length)});
    }
    return section;
}

bool MovieSection::stage(SectionInput& input)
{
    staged = Contents{};
    staged.open = input.integer(openKey, 0, 1).value_or(0) != 0;
    staged.ploopSync = input.integer(ploopSyncKey, 0, 1);
    staged.loopMode = input.integer(loopModeKey, 0, 1);
    if (const auto frame = input.numbers(frameKey, 4, -maxCoordinate, maxCoordinate);
        frame && !input.failed()) {
        if (frame->size() != 4) {
            input.fail(frameKey, QStringLiteral("a frame is four numbers: x, y, width and height"));
        } else {
            // A window narrower or lower than a point could not be seen or grabbed again.
            staged.frame =
                std::array<float, 4>{float((*frame)[0]), float((*frame)[1]),
                                     float(std::max(1.0, (*frame)[2])), float(std::max(1.0, (*frame)[3]))};
        }
    }
    staged.alpha = input.number(alphaKey, 0, 1);
    staged.playMode = input.integer(playModeKey, 0, 3);
    if (const auto selection = input.numbers(selectionKey, 2, 0, maxSeconds); selection && !input.failed()) {
        if (selection->size() != 2)
            input.fail(selectionKey, QStringLiteral("a selection is two numbers: start and length"));
        else
            staged.selection = std::pair{(*selection)[0], (*selection)[1]};
    }
    // outCHAR holds the path with its terminating zero; a cut path would name another file.
    if (const auto path = input.name(pathKey, outCHARSize); path && !input.failed()) {
        const QByteArray bytes = path->toUtf8();
        if (bytes.contains('\0'))
            input.fail(pathKey, QStringLiteral("the movie's path holds a zero byte, which no file name can"));
        else if (bytes.size() >= outCHARSize)
            input.fail(pathKey,
                       QStringLiteral("the movie's path is longer than %1 bytes").arg(outCHARSize - 1));
        else
            staged.path = bytes;
    }
    return !input.failed();
}

bool MovieSection::stageDefaults()
{
    staged = Contents{};
    staged.defaults = true;
    staged.ploopSync = 0;
    staged.loopMode = 0;
    staged.frame =
        std::array<float, 4>{startMovieFrame[0], startMovieFrame[1], startMovieFrame[2], startMovieFrame[3]};
    staged.alpha = startMovieAlpha;
    staged.path = QByteArray();
    return true;
}

void MovieSection::apply(const DocumentReadContext&)
{
    QXMovieController& movie = QXMovieController::sharedQXMovieController();
    if (staged.ploopSync)
        ploopSyncX.store(*staged.ploopSync, relaxed);
    if (staged.loopMode)
        setLoopModeX.store(*staged.loopMode, relaxed);
    if (staged.frame)
        std::copy(staged.frame->begin(), staged.frame->end(), NomalQTSizeR);
    if (staged.path) {
        movie.putoutCHAR(staged.path->constData());
        documentMoviePath = QString::fromUtf8(*staged.path);
    }
    if (staged.alpha)
        movie.setWindowAlphaValue(*staged.alpha);
    if (staged.defaults)
        moviePlayback() = MoviePlayback{};
    if (staged.playMode) {
        MoviePlayback& playback = moviePlayback();
        playback.mode = *staged.playMode;
        std::tie(playback.start, playback.length) = staged.selection.value_or(std::pair{0.0, 0.0});
        playback.toApply = true;
    }
    OpenQTX = staged.open ? 1 : 0;
    unopenedMovie() = UnopenedMovie{};
    staged = Contents{};
}

bool openMovieWindowIfAsked(const std::function<bool()>& open)
{
    if (OpenQTX == 0)
        return false;
    const QByteArray asked(outCHAR, qsizetype(strnlen(outCHAR, outCHARSize)));
    const int ploopSync = ploopSyncX.load(relaxed);
    const bool shown = open();
    OpenQTX = 0;
    // The window takes the play mode and selection read with it (opening it chose its own).
    const auto takePlayback = [](QXMovieController* window) {
        MoviePlayback& playback = moviePlayback();
        if (playback.toApply && window) {
            window->setMovieSelection(playback.start, playback.length);
            window->setPlaymodeMatrix(playback.mode);
        }
        playback.toApply = false;
    };
    if (shown)
        takePlayback(gMyMovieControllerObject);
    unopenedMovie() = shown ? UnopenedMovie{} : UnopenedMovie{asked, gMyMovieControllerObject, ploopSync};
    // A movie still being opened takes them once it shows; until then, and when it cannot be opened,
    // the file keeps naming it.
    if (QXMovieController* coming = shown ? nullptr : gOpeningMovieController)
        coming->whenOpened([coming, takePlayback] { takePlayback(coming); });
    return true;
}

}  // namespace nupo
