#include "platform/media/MediaOpening.h"

#include "platform/appkit/MainThread.h"
#include "platform/appkit/WorkerThread.h"

#include <QTimer>

#include <atomic>
#include <utility>

namespace nupo {

namespace {

// A sound of a few hundred kilobytes took 4 s from a drive answering each read after a second: ten
// seconds give a slow drive its time and still name a hung one soon.
std::atomic<long long> patienceMs{10000};
int underWay = 0;  // main thread only

}  // namespace

struct MediaOpening::State {
    std::function<void(Result)> done;  // empty once answered or dropped
};

MediaOpening::MediaOpening(const MediaPlayer::Options& options, const QStringList& paths, Check check,
                           std::function<void(Result)> done)
    : state(std::make_shared<State>())
{
    state->done = std::move(done);
    std::weak_ptr<State> weak = state;
    const auto answer = [weak](Result result) {
        const std::shared_ptr<State> waiting = weak.lock();
        std::function<void(Result)> call = waiting ? std::exchange(waiting->done, {}) : nullptr;
        if (call)
            call(std::move(result));
        else
            dispose(std::move(result.player));  // dropped, replaced or given up meanwhile
    };
    QString first;
    for (const QString& path : paths) {
        if (!path.isEmpty()) {
            first = path;
            break;
        }
    }
    const std::chrono::milliseconds wait = patience();
    QTimer::singleShot(wait, [answer, first, wait] {
        Result result;
        result.stalled = true;
        result.error = QStringLiteral("%1 did not answer within %2 s")
                           .arg(first, QString::number(double(wait.count()) / 1000.0, 'g', 3));
        answer(std::move(result));
    });
    ++underWay;
    runOnThreadOfItsOwn(QStringLiteral("media opener"), [options, paths, check, answer] {
        Result result;
        result.player = std::make_shared<MediaPlayer>(options);
        bool tried = false;
        for (const QString& path : paths) {
            if (path.isEmpty())
                continue;
            QString why;
            if (result.player->open(path, &why)) {
                result.opened = path;
                break;
            }
            if (!std::exchange(tried, true))
                result.error = why;
        }
        if (!result.opened.isEmpty() && check) {
            if (QString refused = check(*result.player); !refused.isEmpty()) {
                result.opened.clear();
                result.error = refused;
            }
        }
        performOnMainThread([answer, result = std::move(result)]() mutable {
            --underWay;
            answer(std::move(result));
        });
    });
}

MediaOpening::~MediaOpening() = default;

std::chrono::milliseconds MediaOpening::patience()
{
    return std::chrono::milliseconds(patienceMs.load(std::memory_order_relaxed));
}

void MediaOpening::setPatience(std::chrono::milliseconds patience)
{
    patienceMs.store(patience.count(), std::memory_order_relaxed);
}

int MediaOpening::openingsUnderWay()
{
    return underWay;
}

void MediaOpening::dispose(std::shared_ptr<MediaPlayer> player)
{
    if (!player)
        return;
    player->setEndCallback({});
    player->setFrameCallback({});
    runOnThreadOfItsOwn(QStringLiteral("media closer"), [player = std::move(player)]() mutable {
        player->pause();
        player.reset();
    });
}

}  // namespace nupo
