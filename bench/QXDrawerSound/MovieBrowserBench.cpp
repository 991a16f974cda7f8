// The media browser's column of 10,000 entries (listing the folder on the folder worker, then every
// row's name and kind, as a column shows them), and the movie window's follow step (a recording
// position to its movie frame).
#include <benchmark/benchmark.h>

#include "QXDrawerSound/browser/FSBrowserModel.h"
#include "QXDrawerSound/browser/FSNodeInfo.h"
#include "QXDrawerSound/browser/MediaBrowser.h"
#include "QXDrawerSound/movie/QXMovieController.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <memory>

using namespace nupo;

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "bench_movie_browser";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

const QString& bigFolder()
{
    static const QString folder = [] {
        const QString root = test::tempFolder();
        for (int i = 0; i < 10000; ++i) {
            QFile file(QDir(root).filePath(QStringLiteral("sound%1.wav").arg(i, 5, 10, QLatin1Char('0'))));
            file.open(QIODevice::WriteOnly);
        }
        return root;
    }();
    return folder;
}

void BM_ListColumnOf10000Entries(benchmark::State& state)
{
    ensureApplication();
    const QString folder = bigFolder();
    for (auto _ : state) {
        FSBrowserModel model;
        QModelIndex column;
        bool found = false;
        model.reveal(folder, [&](QModelIndex item) {
            column = item;
            found = true;
        });
        test::processEventsUntil([&found] { return found; });
        const int rows = model.rowCount(column);
        int sounds = 0;
        for (int row = 0; row < rows; ++row) {
            const QString name = model.index(row, 0, column).data().toString();
            sounds += mediaKindOfExtension(extensionOfName(name)) == MediaKind::Sound;
        }
        benchmark::DoNotOptimize(sounds);
    }
}
BENCHMARK(BM_ListColumnOf10000Entries)->Unit(benchmark::kMillisecond);

void BM_ListFolderForOpening10000(benchmark::State& state)
{
    ensureApplication();
    const QString folder = bigFolder();
    for (auto _ : state)
        benchmark::DoNotOptimize(takeFolderListing(folder, directoryEntries(folder, false)));
}
BENCHMARK(BM_ListFolderForOpening10000)->Unit(benchmark::kMillisecond);

// The follow step: the frame of the recording's position is shown (a seek of the open movie).
void BM_MovieFollowStep(benchmark::State& state)
{
    ensureApplication();
    MediaPlayer::Options options;
    options.audioOutput = false;
    QXMovieController::setMediaOptions(options);
    const QString movie = test::makeCounterMovie("bench.mp4", 200, 20);
    if (movie.isEmpty()) {
        state.SkipWithError("ffmpeg is needed to make the movie");
        return;
    }
    NSStringToC(movie);
    QXMovieController controller;
    controller.setUpWindow();
    test::processEventsUntil([&] { return !controller.isOpening(); });
    if (!controller.movie()) {
        state.SkipWithError("the movie did not open");
        return;
    }
    controller.setPloopSync(1);
    int position = 0;
    for (auto _ : state) {
        position = (position + 120) % (120 * 10);
        controller.ploopSyncQT(position);
    }
}
BENCHMARK(BM_MovieFollowStep)->Unit(benchmark::kMicrosecond);

}  // namespace
