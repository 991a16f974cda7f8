#include "platform/keyboard/gl/VirtualKeyCodes.h"
#include "plots/waterfall/WaterfallState.h"
#include "plots/waterfall/gl/WaterfallKeyMarkers.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace nupo {
namespace {

TEST(WaterfallKeyMarkers, ModifierCodesAndShiftWins)
{
    using namespace ModifierFlag;
    EXPECT_EQ(keyMarker(VirtualKey::A, 0), 0);
    EXPECT_EQ(keyMarker(VirtualKey::A, Shift | Command), 1000);
    EXPECT_EQ(keyMarker(VirtualKey::A, Command | Option), 4000);
    EXPECT_EQ(keyMarker(VirtualKey::A, Command | Control), 3000);
    EXPECT_EQ(keyMarker(VirtualKey::S, Command), 2001);
    EXPECT_EQ(keyMarker(0x31, 0), 49);  // the space bar: the value of an unmarked sample
    EXPECT_EQ(keyMarkerModifier(Shift | Option).mask, Shift);
    EXPECT_EQ(keyMarkerModifier(Control | Option).mask, Option);
    EXPECT_EQ(keyMarkerModifier(0).mask, 0u);
}

TEST(WaterfallKeyMarkers, MarkersPrintAsTheirCharacters)
{
    EXPECT_EQ(convertIntToASCII(0), 'a');
    EXPECT_EQ(convertIntToASCII(9), 'v');
    EXPECT_EQ(convertIntToASCII(22), '6');
    EXPECT_EQ(convertIntToASCII(36), 10);
    EXPECT_EQ(convertIntToASCII(39), '\'');
    EXPECT_EQ(convertIntToASCII(42), '\\');
    EXPECT_EQ(convertIntToASCII(49), ' ');
    EXPECT_EQ(convertIntToASCII(82), '0');
    EXPECT_EQ(convertIntToASCII(89), '7');
    EXPECT_EQ(convertIntToASCII(91), '8');
    EXPECT_EQ(convertIntToASCII(92), '9');
    EXPECT_EQ(convertIntToASCII(75), '/');
    EXPECT_EQ(convertIntToASCII(1000), 'A');
    EXPECT_EQ(convertIntToASCII(1018), '!');
    EXPECT_EQ(convertIntToASCII(1039), '"');
    EXPECT_EQ(convertIntToASCII(1042), '|');
    EXPECT_EQ(convertIntToASCII(1049), ' ');
    // Everything else comes back as it is.
    for (int unknown : {10, 48, 123, 1010, 1036, 1048, 2000, 3005, 4049, -7})
        EXPECT_EQ(convertIntToASCII(unknown), unknown);
}

TEST(WaterfallWindowState, StartFrequencyIsLimitedToTheLastFullWindow)
{
    // 256 points at 256 Hz: one bin per hertz; the last start bin is 256 / 2 - 64 = 64.
    EXPECT_EQ(startFrequencyFromField(100.0f, 256, 256).bin, 64);
    EXPECT_EQ(startFrequencyFromField(100.0f, 256, 256).value, 64.0f);
    EXPECT_EQ(startFrequencyFromField(30.0f, 256, 256).bin, 30);
    EXPECT_EQ(startFrequencyFromField(-5.0f, 256, 256).bin, 0);
    EXPECT_EQ(startFrequencyFromField(5000.0f, 4096, 120).bin, 4096 / 2 - 64);
    // 512 points at 120 Hz: 4 / 0.9375 bins per hertz.
    const StartFrequency s = startFrequencyFromField(20.0f, 512, 120);
    EXPECT_EQ(s.bin, 85);
    EXPECT_EQ(s.value, 20.0f);
    EXPECT_EQ(startFrequencyFromField(std::numeric_limits<float>::quiet_NaN(), 256, 120).bin, 0);
    // A clamped start bin that lies exactly on a whole frequency shows that frequency, not one below it.
    EXPECT_EQ(startFrequencyFromField(50.0f, 256, 120).bin, 64);
    EXPECT_EQ(startFrequencyFromField(50.0f, 256, 120).value, 30.0f);
    EXPECT_EQ(startFrequencyFromField(200.0f, 512, 240).bin, 192);
    EXPECT_EQ(startFrequencyFromField(200.0f, 512, 240).value, 90.0f);
    EXPECT_EQ(startFrequencyFromField(30.0f, 256, 120).bin, 64);  // 30 Hz × 64 / 30 bins, not 63
    // 128 points: the window holds exactly 64 bins, so the start stays at 0.
    EXPECT_EQ(startFrequencyFromField(10.0f, 128, 120).bin, 0);
    EXPECT_EQ(startFrequencyFromField(10.0f, 128, 120).value, 0.0f);
}

TEST(WaterfallWindowState, ColourAnimationsWrapAndBounce)
{
    float gain = 1.88f;
    int up = 1;
    stepColourGainAnimation(1, gain, up);
    EXPECT_FLOAT_EQ(gain, 0.2f);  // 2.08 wraps at once
    gain = 4.9f;
    stepColourGainAnimation(2, gain, up);
    EXPECT_FLOAT_EQ(gain, 0.2f);

    float offset = 35.0f;
    std::vector<float> seen;
    for (int tick = 0; tick < 40; ++tick) {
        stepColourOffsetAnimation(3, offset, up);
        seen.push_back(offset);
    }
    EXPECT_FLOAT_EQ(seen[6], 49.0f);
    EXPECT_FLOAT_EQ(seen[7], 50.0f);  // 51 is set to the limit and the direction turns
    EXPECT_FLOAT_EQ(seen[8], 48.0f);
    EXPECT_FLOAT_EQ(seen[32], 0.0f);  // 50 - 25 × 2
    EXPECT_FLOAT_EQ(seen[33], 0.0f);  // below 0: set to 0, and the direction turns
    EXPECT_FLOAT_EQ(seen[34], 2.0f);

    gain = 4.9f;
    up = 1;
    stepColourGainAnimation(4, gain, up);
    EXPECT_FLOAT_EQ(gain, 5.0f);
    EXPECT_EQ(up, 0);
    // The 3D window's offset climbs by 1.0 in the wrapping modes, and still bounces by 2.0.
    float scene = 35.0f;
    stepSceneColourOffsetAnimation(1, scene, up);
    EXPECT_FLOAT_EQ(scene, 36.0f);
    scene = 50.0f;
    stepSceneColourOffsetAnimation(1, scene, up);
    EXPECT_FLOAT_EQ(scene, 0.0f);  // 51 passes the top of mode 1
    scene = 99.5f;
    stepSceneColourOffsetAnimation(2, scene, up);
    EXPECT_FLOAT_EQ(scene, 0.0f);
    scene = 35.0f;
    up = 1;
    stepSceneColourOffsetAnimation(3, scene, up);
    EXPECT_FLOAT_EQ(scene, 37.0f);
    for (int mode : {0, -1, 5}) {
        float unchanged = 3.0f;
        stepColourOffsetAnimation(mode, unchanged, up);
        stepColourGainAnimation(mode, unchanged, up);
        stepSceneColourOffsetAnimation(mode, unchanged, up);
        EXPECT_EQ(unchanged, 3.0f);
    }
}

TEST(WaterfallState, OverlayFlagsAreTouchedOnlyInsideTheTable)
{
    resetDisplayModeFlags();
    for (int row = 0; row < 12; ++row)
        for (int k = 0; k < 12; ++k)
            EXPECT_EQ(displayMode2DX[row][k], (k == 0 || k == 1 || k == 4 || k == 5 || k == 9) ? 1 : 0);
    EXPECT_TRUE(setDisplayModeFlag(11, 11, 1));
    EXPECT_EQ(displayModeFlag(11, 11), 1);
    for (auto [row, column] : {std::pair{12, 0}, {-1, 0}, {0, 12}, {0, -1}, {1000, 1000}}) {
        EXPECT_FALSE(setDisplayModeFlag(row, column, 7));
        EXPECT_EQ(displayModeFlag(row, column), 0);
    }
}

}  // namespace
}  // namespace nupo
