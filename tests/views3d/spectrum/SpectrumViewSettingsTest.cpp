// The 3D view's settings and remote commands: view selections, play speed, pending commands and their
// order, the display-element table, brain-switch flags and the stored background colour.
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/spectrum/SpectrumViewSettings.h"

#include <gtest/gtest.h>

#include <vector>

using namespace nupo;

namespace {

// Records what the view sends the window controller through its links.
struct ControllerLog {
    std::vector<std::pair<int, int>> elements;
    std::vector<int> modesA, modesB;
    std::vector<RGBAColor> wells;

    ControllerLog()
    {
        auto& links = spectrumViewLinks();
        links.setDisplayElement = [this](int e, int v) { elements.emplace_back(e, v); };
        links.demoNumberAtoController = [this](int n) { modesA.push_back(n); };
        links.demoNumberBtoController = [this](int n) { modesB.push_back(n); };
        links.backgroundColorWell = [this](const RGBAColor& c) { wells.push_back(c); };
    }
    ~ControllerLog() { spectrumViewLinks() = SpectrumViewLinks{}; }
};

}  // namespace

TEST(SpectrumViewSettings, ViewSelectionsByDisplayMode)
{
    QX3DSpectrumGLView view;
    view.setDemoNumber(5);
    EXPECT_EQ(view.shapeChange.load(), 5);
    EXPECT_EQ(view.viewModeX, 7);
    EXPECT_EQ(view.oneBrainwave.load(), 0);
    EXPECT_EQ(view.towBrainwave.load(), 0);
    EXPECT_EQ(view.Viwe_Mode_value, 0.0f);
    EXPECT_EQ(view.setResetPositionXActive, 1) << "every selection starts preset 0";

    view.setDemoNumber(1);
    EXPECT_EQ(view.oneBrainwave.load(), 1);
    EXPECT_EQ(view.shapeChange.load(), 1);
    EXPECT_EQ(view.Viwe_Mode_value, 16.0f);
    view.setDemoNumber(13);
    EXPECT_EQ(view.viewModeX, 3);
    EXPECT_EQ(view.towBrainwave.load(), 1);
    EXPECT_EQ(view.oneBrainwave.load(), 0);
    EXPECT_EQ(view.Viwe_Mode_value, 16.0f) << "unchanged by 13";
    view.setDemoNumber(40);  // no such mode: only num changes
    EXPECT_EQ(view.num, 40);
    EXPECT_EQ(view.viewModeX, 3);

    view.setViewX(6);
    EXPECT_EQ(view.viewModeX, 6);
    EXPECT_EQ(view.shapeChange.load(), 4);
    view.setViewX(12);
    EXPECT_EQ(view.viewModeX, 6);
}

TEST(SpectrumViewSettings, PlaySpeedSetsTheThrottleAndPostsTheSliderTime)
{
    QX3DSpectrumGLView view;
    SampleSpeed = 256;
    ploop = 777;
    view.setDemoNumber2(3);
    EXPECT_EQ(tploop.load(), 32);
    EXPECT_EQ(tlongE.load(), 3);
    EXPECT_EQ(ploopZZZ.load(), 777);
    SampleSpeed = 100;
    view.setDemoNumber2(3);
    EXPECT_EQ(tploop.load(), 0);
    view.setDemoNumber2(12);
    EXPECT_EQ(tploop.load(), 0);
    EXPECT_EQ(tlongE.load(), 3);
    EXPECT_EQ(view.num2, 12);
}

TEST(SpectrumViewSettings, RemoteCommandsWaitForTheNextFrameAndApplyInOrder)
{
    ControllerLog log;
    QX3DSpectrumGLView& shared = QX3DSpectrumGLView::sharedQX3DSpectrumGLView();
    QX3DSpectrumGLView onScreen;

    shared.setDemoNumberB(12);  // sends 2 to the controller, no camera move
    EXPECT_EQ(log.modesB, std::vector<int>{2});
    EXPECT_EQ(shared.setResetPositionXActive, 0);
    shared.setDemoNumberB(7);  // only pending
    EXPECT_EQ(log.modesB.size(), 1u);
    EXPECT_EQ(setDemoNumber3B, 7);
    shared.setDemoNumberA(6);
    EXPECT_EQ(setDemoNumberDidChanged, 1);
    EXPECT_EQ(onScreen.shapeChange.load(), 0) << "nothing before the frame";

    onScreen.viewModeX = 0;
    onScreen.applyPendingCommands();
    EXPECT_EQ(onScreen.shapeChange.load(), 6);
    EXPECT_EQ(log.modesA, std::vector<int>{6});
    EXPECT_EQ(setDemoNumberDidChanged, 0);
    EXPECT_EQ(setDemoNumber3BDidChanged, 0);
    onScreen.applyPendingCommands();  // consumed: nothing more
    EXPECT_EQ(log.modesA.size(), 1u);

    // A camera command up to 4 starts that preset on the view, for the view's own layout.
    shared.setDemoNumberB(3);
    onScreen.applyPendingCommands();
    EXPECT_EQ(onScreen.cameraTarget, cameraPreset(3, onScreen.viewModeX)->target);
}

TEST(SpectrumViewSettings, DisplayTableRowsAndTheCheckBoxesTheySet)
{
    ControllerLog log;
    QX3DSpectrumGLView view;
    view.initDisplay();
    for (const auto& row : displayModeX)
        EXPECT_EQ(std::vector<int>(row, row + 12), (std::vector<int>{1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1}));

    view.setDemoNumber(7);  // shapeChange 7: row 5
    view.didplayMode(2, 1);
    EXPECT_EQ(displayModeX[5][2], 1);
    EXPECT_EQ(displayModeX[4][2], 0);
    view.setDemoNumber(0);
    view.didplayMode(3, 1);
    for (const auto& row : displayModeX)
        EXPECT_EQ(row[3], 1);
    view.didplayMode(12, 1);  // no such element
    view.didplayMode(-1, 1);

    log.elements.clear();
    setdisplayStateFirstTimeBS = 1;
    view.setDemoNumber(7);
    ASSERT_EQ(log.elements.size(), 12u) << "row 7 goes to the twelve setters";
    EXPECT_EQ(log.elements[3], std::make_pair(3, 1));
    // Modes 12 and 13 read row 0, the row of the flat power views; others read no row.
    log.elements.clear();
    displayModeX[0][11] = 0;
    view.setdisplayState(13);
    ASSERT_EQ(log.elements.size(), 12u);
    EXPECT_EQ(log.elements[11], std::make_pair(11, 0));
    log.elements.clear();
    view.setdisplayState(14);
    view.setdisplayState(-1);
    EXPECT_TRUE(log.elements.empty());
}

TEST(SpectrumViewSettings, BrainSwitchFlagsGoToTheRecordsOfTheSelection)
{
    QX3DSpectrumGLView view;
    for (auto& record : brainSWX)
        for (auto& e : record)
            e = 0.0f;
    view.num = 0;
    view.setNUPOchBS(2, 1);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(brainSWX[r][12].load(), (r == 0 || r == 1 || r == 4) ? 1.0f : 0.0f) << r;
    view.num = 13;
    view.setNUPOchBS(7, 2);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(brainSWX[r][17].load(), r <= 7 ? 2.0f : 0.0f) << r;
    view.num = 9;
    view.setNUPOchBS(0, 1);
    EXPECT_EQ(brainSWX[7][10].load(), 1.0f);
    view.setNUPOchBS(8, 1);  // window 8 does not exist: element 18 is a bound
    EXPECT_EQ(brainSWX[7][18].load(), 0.0f);
}

TEST(SpectrumViewSettings, StoredColourIsBuiltOnEveryFourthComponent)
{
    ControllerLog log;
    QX3DSpectrumGLView view;
    WinBSColor = 0;
    view.setBackgroundColorA(3, 1.0f);
    view.setBackgroundColorA(2, 0.5f);
    view.setBackgroundColorA(1, 0.25f);
    EXPECT_TRUE(log.wells.empty());
    view.setBackgroundColorA(0, 0.125f);
    ASSERT_EQ(log.wells.size(), 1u);
    EXPECT_EQ(log.wells[0], RGBAColor::fromRGBA(0.125, 0.25, 0.5, 1.0));
    EXPECT_EQ(view.backgroundColor, log.wells[0]);
    EXPECT_EQ(WinBSColor, 0);
    // Components outside 0..3 are ignored and read as 0.
    view.setBackgroundColorA(4, 9.0f);
    view.setBackgroundColorA(-1, 9.0f);
    EXPECT_EQ(WinBSColor, 0);
    EXPECT_EQ(view.getBackgroundColor(4), 0.0f);
    EXPECT_EQ(view.getBackgroundColor(1), 0.25f);

    view.setColor(0);
    EXPECT_EQ(view.colormodeX, 1);
    view.setBackgroundColor(RGBAColor::fromRGBA(0.3, 0.2, 0.1, 1.0));
    EXPECT_EQ(view.colormodeX, 0);
    EXPECT_FLOAT_EQ(clear_rgbaB[0], 0.3f);

    // Start-up: the default colour and table.
    WinBSColor = 0;
    view.initDisplay();
    EXPECT_EQ(log.wells.back(),
              RGBAColor::fromRGBA(0.5876259803771973f, 0.5591850280761719f, 0.8418369889259338f, 1.0f));
}

TEST(SpectrumViewSettings, DrawAndTextureModesAndAutoRotation)
{
    QX3DSpectrumGLView view;
    std::vector<int> meshModes;
    spectrumViewLinks().meshDisplayn = [&](int m) { meshModes.push_back(m); };
    view.setDrawModeX(4);
    EXPECT_EQ(view.textureMode, 2);
    view.setTextureModeX(1);
    EXPECT_EQ(view.displayUnnMode, 3);
    view.setTextureModeX(9);
    EXPECT_EQ(view.textureMode, 1);
    view.setDrawModeX(1);
    EXPECT_EQ(view.displayUnnMode, 1);
    EXPECT_EQ(meshModes, (std::vector<int>{4, 3}));
    spectrumViewLinks() = SpectrumViewLinks{};

    view.setAutoLeftX(0);
    view.RotateSpeedUp_value = 3.0f;
    view.autoRotate();
    EXPECT_FLOAT_EQ(view.camera.sphi, 2.0f);
    EXPECT_FLOAT_EQ(view.camera.stheta, 0.0f) << "speeds wait while an auto code runs";
    view.setAutoStopX(0);
    view.RotateSpeedUp_value = 3.0f;
    view.RotateSpeedRight_value = 0.5f;
    view.autoRotate();
    EXPECT_FLOAT_EQ(view.camera.stheta, 3.0f);
    EXPECT_FLOAT_EQ(view.camera.sphi, 1.5f);
}
