// One tick of ten sound players with every brain control on: the brain-switch refresh and band
// classification of the rhythm choice, the rate and the volume (no sound is chosen: the band stays).
#include <benchmark/benchmark.h>

#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/TestMedia.h"

#include <QCoreApplication>

#include <memory>
#include <vector>

using namespace nupo;

namespace {

// Ten slots with every brain control on, their levels set so that each slot reads its own source.
std::vector<std::unique_ptr<QXSoundController>> makeTenSlots()
{
    static int argc = 1;
    static char name[] = "bench_sound_slots";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;

    MediaPlayer::Options options;
    options.audioOutput = false;
    QXSoundController::setMediaOptions(options);
    initSoundTables();
    setPauseX = 0;
    const QString path = test::writeTone("bench.wav", 30.0);
    std::vector<std::unique_ptr<QXSoundController>> players;
    for (int slot = 0; slot < soundSlotCount; ++slot) {
        openFromSFolder = 1;
        LastRowsCount = 8;
        soundNameArrayX = QStringList(8, path);
        soundNameArrayS = QStringList(8, QStringLiteral("bench.wav"));
        setOutCHARs("Bench");
        auto player = std::make_unique<QXSoundController>(slot);
        player->setUpWindow();
        player->setPopupNumber(SoundBrainPopup, slot);
        player->setPopupNumber(SpeedBrainPopup, slot % 4);
        player->setPopupNumber(VolumeBrainPopup, 9 - slot);
        player->setUseBSON(1);
        player->setSpeedControl(1);
        player->setVolumeControl(1);
        players.push_back(std::move(player));
    }
    for (int source = 0; source < brainSourceCount; ++source) {
        auto& table = source > 3 ? peakSWcoherenceCount : peakSWfftCount;
        table[source][0][0].level = 40.0f + static_cast<float>(source);
        table[source][0][0].peakFrequency = 10.0f;
    }
    return players;
}

void tick(std::vector<std::unique_ptr<QXSoundController>>& players)
{
    for (auto& player : players) {
        player->MovieSoundBSrhythmControl();
        player->MovieSpeedControl();
        player->MovieSoundVolumeControl();
    }
}

// The levels as they stand between two analysis ticks.
void TenSlotTick(benchmark::State& state)
{
    auto players = makeTenSlots();
    for (auto _ : state)
        tick(players);
    benchmark::DoNotOptimize(players.front()->litBand());
}

// New levels on every tick: every slot changes its rate and volume each time. (Paused, so that the
// refresh keeps the levels written here.)
void TenSlotTickNewLevels(benchmark::State& state)
{
    auto players = makeTenSlots();
    setPauseX = 1;
    float step = 0.0f;
    for (auto _ : state) {
        step = step > 20.0f ? 0.0f : step + 1.0f;
        for (int source = 0; source < brainSourceCount; ++source) {
            auto& table = source > 3 ? peakSWcoherenceCount : peakSWfftCount;
            table[source][0][0].level = 40.0f + step;
        }
        tick(players);
    }
    benchmark::DoNotOptimize(players.front()->litBand());
    setPauseX = 0;
}

}  // namespace

BENCHMARK(TenSlotTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(TenSlotTickNewLevels)->Unit(benchmark::kMicrosecond);
