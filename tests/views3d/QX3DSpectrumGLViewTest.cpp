#include "analysis/BrainSwitch.h"
#include "analysis/QX3DSpectrum.h"
#include "analysis/QXFFT.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/QX3DSpectrumGLView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

using namespace nupo;

namespace {

QX3DSpectrumGLView& view()
{
    return QX3DSpectrumGLView::sharedQX3DSpectrumGLView();
}

// CH 1 and CH 4 spectra with one strong bin each (128 points at 128 Hz).
void prepareSpectra()
{
    initbrainSWX();
    SampleSpeed = 128;
    fftp = 128;
    QXFFT::sharedQXFFT().timerUpdate();
    QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(0, 9, {5.0, 0.0});
    QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(4, 30, {7.0, 0.0});
}

}  // namespace

TEST(QX3DSpectrumGLView, RefreshRunsOnlyUnpausedForSourcesZeroToNine)
{
    prepareSpectra();
    setPauseX = 1;
    view().waven3DBSQC(0);
    EXPECT_EQ(peakSWfftCount[0][0][0].load().level, 0.0f);

    setPauseX = 0;
    view().waven3DBSQC(10);
    view().waven3DBSQC(-1);
    EXPECT_EQ(peakSWfftCount[0][0][0].load().level, 0.0f);
    for (const auto& table : peakSWcoherenceCount)
        EXPECT_EQ(table[0][0].load().column, 0);

    view().waven3DBSQC(0);  // source 0 with shape code 2
    EXPECT_FLOAT_EQ(peakSWfftCount[0][0][0].load().level, 5.0f);
    EXPECT_FLOAT_EQ(peakSWfftCount[0][0][0].load().peakFrequency, 9.0f);
    EXPECT_EQ(peakSWfftCount[3][0][0].load().level, 0.0f);
    view().waven3DBSQC(3);
    EXPECT_FLOAT_EQ(peakSWfftCount[3][0][0].load().peakFrequency, 30.0f);

    // The shared instance passes its zero flags and start frequency, and the grids are not touched.
    EXPECT_EQ(view().StartFrequencyXX.load(), 0);
    EXPECT_EQ(QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0)[0][63 - 9], 0.0f);
}

TEST(QX3DSpectrumGLView, OwnRefreshFollowsTheRecordingThrottle)
{
    prepareSpectra();
    QX3DSpectrumGLView own;
    own.shapeChange = 2;
    setRecX = 1;
    tploop = 4;
    tploopBB = 100;
    ploop = 102;
    openPort = 1;
    own.waven3DBS();  // too soon
    EXPECT_EQ(tploopBB.load(), 100);
    EXPECT_EQ(QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0)[0][63 - 9], 0.0f);

    openPort = 0;
    ploop = 104;
    own.waven3DBS();  // due, but the port is closed: only the throttle moves
    EXPECT_EQ(tploopBB.load(), 104);
    EXPECT_EQ(QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0)[0][63 - 9], 0.0f);

    openPort = 1;
    ploop = 108;
    own.waven3DBS();
    EXPECT_FLOAT_EQ(QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0)[0][63 - 9], 5.0f);

    setRecX = 0;
    setPauseX = 1;
    QX3DSpectrum::sharedQX3DSpectrum().initPosition();
    own.waven3DBS();
    EXPECT_EQ(QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0)[0][63 - 9], 0.0f);
    setPauseX = 0;
    own.waven3DBS();
    EXPECT_FLOAT_EQ(QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0)[0][63 - 9], 5.0f);
}

// Three threads refresh while a fourth reads the records and grids and the main thread runs analysis
// ticks; run under ThreadSanitizer this must report nothing.
TEST(QX3DSpectrumGLView, RefreshesFromSeveralThreadsWhileOthersRead)
{
    prepareSpectra();
    std::atomic<bool> stop{false};
    std::vector<std::thread> refreshers;
    for (int t = 0; t < 3; ++t)
        refreshers.emplace_back([t] {
            for (int i = 0; i < 300; ++i) {
                view().waven3DBSQC((t * 3 + i) % 10);
                (void)QXFFT::sharedQXFFT().peakFFTband(i % 10, 4.0f, 12.0f, i % 3);  // as the MIDI mappers do
                ploop.fetch_add(1);
            }
        });
    std::atomic<int> malformed{0};
    std::thread reader([&] {
        while (!stop.load()) {
            for (int s = 0; s < 10; ++s) {
                const BrainSwitchRecord r = (s < 4 ? peakSWfftCount : peakSWcoherenceCount)[s][0][0].load();
                if (!std::isfinite(r.level) || (r.column != 0 && r.column != 19) || r.row < 0 || r.row > 63)
                    malformed.fetch_add(1);
            }
            const auto g = QX3DSpectrum::sharedQX3DSpectrum().heightGrid(0);
            if (!std::isfinite(g[0][0]))
                malformed.fetch_add(1);
            (void)PeakfftPowerFV[0][0][0].load();
            (void)QXFFT::sharedQXFFT().CoherenceM(128.0, 9);
        }
    });
    for (int i = 0; i < 100; ++i) {
        QXFFT::sharedQXFFT().timerUpdate();
        QX3DSpectrum::sharedQX3DSpectrum().waven(0, 1, 0, 0);  // the 3D window's own step, all ten sources
    }
    for (auto& t : refreshers)
        t.join();
    stop = true;
    reader.join();
    EXPECT_EQ(malformed.load(), 0);
}
