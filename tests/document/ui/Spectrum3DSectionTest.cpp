// The 3D window's section: its state, display elements, brain switches and background come back, and
// reading a document or preference file makes the window's next tick drop what was queued before.
#include <gtest/gtest.h>

#include "document/NUPO4DrawDocument.h"
#include "document/ui/Spectrum3DSection.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/spectrum/ui/Spectrum3DWindowState.h"

using namespace nupo;

namespace {

void set3D(int seed)
{
    Open3DWaterFallBS = 1;
    boundsWaterFallBS = QRectF(40 + seed, 50, 592, 470);
    selectXCHNX = 3 + seed;
    W3DAlphaValue = 0.75f;
    showFFTPanelFront = seed % 2;
    displayModeX[4][7] = 1 - seed % 2;
    brainSWX[9][81] = 12.5f + float(seed);
    for (int c = 0; c < 4; ++c)
        QX3DSpectrumGLView::sharedQX3DSpectrumGLView().setBackgroundColorA(c, 0.125f * float(c + seed));
}

}  // namespace

TEST(Spectrum3DSection, WindowStateElementsSwitchesAndBackgroundComeBack)
{
    NUPO4DrawDocument document;
    document.addSection(std::make_unique<Spectrum3DSection>());
    set3D(1);
    const QByteArray text = document.dataRepresentation();
    const QByteArray saved = document.snapshot({"Spectrum3DWindow/Open3DWaterFallBS"});
    set3D(2);
    windowColor3DNOX = 0;
    ASSERT_TRUE(document.readFromData(text, "doc"));
    EXPECT_EQ(document.snapshot({"Spectrum3DWindow/Open3DWaterFallBS"}), saved);
    EXPECT_EQ(selectXCHNX, 4);
    EXPECT_EQ(displayModeX[4][7], 0);
    EXPECT_EQ(brainSWX[9][81].load(), 13.5f);
    EXPECT_EQ(QX3DSpectrumX, QRectF(41, 50, 592, 470));
    EXPECT_EQ(setWframeCotrol3D, 1);
    EXPECT_EQ(windowColor3DNOX, 1);
    EXPECT_EQ(dynamic_cast<Spectrum3DSection*>(document.section("Spectrum3DWindow"))->windowsToOpen(), 1);

    windowColor3DNOX = 0;
    ASSERT_TRUE(document.loadDataRepresentation(document.dataRepresentation(true), "prefs", true));
    EXPECT_EQ(windowColor3DNOX, 1);
    EXPECT_EQ(dynamic_cast<Spectrum3DSection*>(document.section("Spectrum3DWindow"))->windowsToOpen(), 0);

    QByteArray bad = text;
    bad.replace("brainSWX = (", "brainSWX = ((1, 2), ");
    QString error;
    EXPECT_FALSE(document.readFromData(bad, "bad", &error));
    EXPECT_TRUE(error.contains("section Spectrum3DWindow, brainSWX: 11 rows")) << error.toStdString();
}
