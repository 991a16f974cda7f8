#include "views3d/textures/gl/PictureLoader.h"

#include "platform/appkit/MainThread.h"
#include "platform/appkit/WorkerThread.h"

#include <QCoreApplication>

#include <atomic>
#include <memory>
#include <utility>

namespace nupo {

namespace {

int pendingLoads = 0;  // main thread
std::atomic<bool> ending{false};

WorkerThread& pictureWorker()
{
    static WorkerThread* worker = [] {
        auto* made = new WorkerThread(QStringLiteral("Pictures"));
        made->start();
        // Decoding uses Qt's image plugins, which go with the application: the worker ends before it,
        // after the picture it is decoding (the rest of a set is left out).
        qAddPostRoutine([] {
            ending.store(true, std::memory_order_relaxed);
            pictureWorker().stop();
        });
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

int PictureLoader::pending()
{
    return pendingLoads;
}

}  // namespace nupo
