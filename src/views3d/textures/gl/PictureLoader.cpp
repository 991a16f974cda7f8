#include "views3d/textures/gl/PictureLoader.h"

#include "platform/appkit/MainThread.h"
#include "platform/appkit/MemoryReturn.h"
#include "platform/appkit/WorkerThread.h"

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <memory>
#include <utility>

namespace nupo {

namespace {

int pendingLoads = 0;  // main thread
std::atomic<bool> ending{false};
bool finished = false;    // main thread: the worker has been stopped (and ended, or been abandoned)
bool abandoned = false;   // main thread: it was still reading or decoding when the bound passed
bool workerMade = false;  // main thread

WorkerThread& pictureWorker()
{
    static WorkerThread* worker = [] {  // never destroyed: an abandoned worker may still run
        auto* made = new WorkerThread(QStringLiteral("Pictures"));
        made->start();
        workerMade = true;
        // Decoding uses Qt's image plugins, which go with the application: the worker ends before it,
        // where the program's end has not stopped it already.
        qAddPostRoutine([] { PictureLoader::finish(); });
        return made;
    }();
    return *worker;
}

}  // namespace

void PictureLoader::load(const QStringList& paths, std::function<void(Result)> done)
{
    ++pendingLoads;
    auto finish = std::make_shared<std::function<void(Result)>>(std::move(done));
    const bool queued = pictureWorker().runOnThread([paths, finish] {
        auto result = std::make_shared<Result>();
        result->set = loadPictureSet(paths, &result->refused, &ending);
        // What decoding made and freed on this thread goes back to the system.
        trimFreeMemory();
        performOnMainThread([result, finish] {
            --pendingLoads;
            if (*finish)
                (*finish)(std::move(*result));
            *finish = nullptr;  // what it holds goes here, on the main thread
        });
    });
    if (!queued) {
        performOnMainThread([paths, finish] {
            --pendingLoads;
            Result result;
            result.set = std::make_shared<SpritePictureSet>();
            for (const QString& path : paths)
                result.refused.push_back({path, QStringLiteral("the program is ending")});
            if (*finish)
                (*finish)(std::move(result));
            *finish = nullptr;
        });
    }
}

bool PictureLoader::finish(std::chrono::milliseconds longest)
{
    if (finished)
        return !abandoned;
    finished = true;
    ending.store(true, std::memory_order_relaxed);
    if (!workerMade)
        return true;
    abandoned = !pictureWorker().stop(longest);
    return !abandoned;
}

int PictureLoader::pending()
{
    return pendingLoads;
}

}  // namespace nupo
