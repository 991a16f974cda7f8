#pragma once

#include "platform/media/MediaPlayer.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

namespace nupo {

// Opens a media file in a player of its own off the main thread, which never waits for it: libmpv may
// take long to find that a large file is no movie, and a file on a slow or hung drive answers late or
// never. Each opening has a thread of its own, so one that never returns holds up no other. The main
// thread hears of the result once, by done: the player, or why none opened; a file that gives no
// answer within patience() is given up and named. Made, used and dropped on the main thread only.
class MediaOpening {
public:
    struct Result {
        std::shared_ptr<MediaPlayer> player;  // open on `opened`; else the player that refused, or null
        QString opened;                       // the path that opened; empty when none did
        QString error;                        // why the first path did not open
        bool stalled = false;                 // the file gave no answer in time
    };
    // Says why an opened player will not do (e.g. a file without pictures for a movie), or nothing.
    using Check = std::function<QString(const MediaPlayer&)>;

    // Opens the first of paths (empty ones skipped) that opens in a player made with options.
    MediaOpening(const MediaPlayer::Options& options, const QStringList& paths, Check check,
                 std::function<void(Result)> done);
    // Drops the opening: done is not called any more, and a player that opens later goes.
    ~MediaOpening();
    MediaOpening(const MediaOpening&) = delete;
    MediaOpening& operator=(const MediaOpening&) = delete;

    // How long an opening may take before its file counts as not answering.
    static std::chrono::milliseconds patience();
    static void setPatience(std::chrono::milliseconds patience);  // tests shorten it

    // Openings whose thread has not answered yet (also those dropped or given up meanwhile).
    static int openingsUnderWay();

    // Ends a player away from the main thread (libmpv waits for a file that stalls as it closes). Its
    // callbacks are cleared at once, so none comes after this.
    static void dispose(std::shared_ptr<MediaPlayer> player);

private:
    struct State;
    std::shared_ptr<State> state;
};

}  // namespace nupo
