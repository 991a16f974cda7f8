#pragma once

#include "document/DocumentSection.h"

#include <array>
#include <functional>
#include <optional>
#include <utility>

namespace nupo {

// The movie window of the document or preference file: whether one was open, following the recording
// (`ploopSyncX`), loop mode, the window's normal frame, its opacity, the movie's path, and the window's
// play mode with its selection (which the window the document opens takes). Reading sets
// `OpenQTX` when a movie window was open; the window set-up after the reading then loads the movie window
// from the path in `outCHAR` and lowers the flag again (openMovieWindowIfAsked()).
class MovieSection : public DocumentSection {
public:
    static constexpr double maxCoordinate = 100000.0;
    static constexpr double maxSeconds = 1e7;  // a selection's start and length

    QString key() const override { return QStringLiteral("Movie"); }
    std::optional<PlistDictionary> write() override;
    bool stage(SectionInput& input) override;
    // A document without the section has no movie: no window opens, no movie path, and the window
    // settings start as they do in a new run.
    bool stageDefaults() override;
    void apply(const DocumentReadContext& context) override;

private:
    struct Contents {
        bool defaults = false;  // staged by stageDefaults(): no play mode or selection either
        bool open = false;
        std::optional<int> ploopSync;
        std::optional<int> loopMode;
        std::optional<std::array<float, 4>> frame;
        std::optional<float> alpha;
        std::optional<QByteArray> path;
        std::optional<int> playMode;
        std::optional<std::pair<double, double>> selection;
    };
    Contents staged;
};

// Loads a movie window when the last document read asked for one (`OpenQTX`), then clears the flag. The
// loader is the menu's "Open Movie and Play with Brainwave"; it says whether a window shows the movie
// now. True when it was called. A movie that could not be shown (moved away, say) stays named in the
// file when it is saved again, until a movie window is shown. A window whose movie is still being opened
// takes the play mode and selection read once it shows it.
bool openMovieWindowIfAsked(const std::function<bool()>& open);

}  // namespace nupo
