// The spring sheet of the wave surface: one step worked by hand, the reset shapes, sizes and controls.
#include "views3d/wave/gl/QXnewave.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace nupo;

namespace {

class WaveSimulation : public ::testing::Test {
protected:
    // Each test case runs in a fresh process: the shared engine starts zeroed.
    QXnewave& wave = QXnewave::sharedQXnewave();

    float maxAbsHeight() const
    {
        float largest = 0.0f;
        for (int i = 0; i < QXnewave::side; ++i)
            for (int j = 0; j < QXnewave::side; ++j)
                largest = std::max(largest, std::fabs(wave.positd[i][j]));
        return largest;
    }
};

}  // namespace

TEST_F(WaveSimulation, OneStepFromASpikeWorkedByHand)
{
    // 15 vertices, step 0.008, a spike of 1.5 x 15 = 22.5 at (7, 7). Every spring joining the spike to
    // one of its eight neighbours is pulled twice in a step: once with the spike as centre and once with
    // the neighbour as centre (both are force centres, 2..12). A straight spring carries 22.5, a diagonal
    // one 22.5 / 1.414213562 = 15.909903.
    wave.setdSized(0);
    wave.setSpeeddn(2);
    wave.resetdn(2);
    ASSERT_FLOAT_EQ(wave.positd[7][7], 22.5f);
    wave.godn();
    wave.wavedn();

    const float diagonal = 15.909903f;
    // Forces: the spike loses 2 x (4 x 22.5 + 4 x 15.909903); straight neighbours gain 45, diagonal ones
    // 31.819806.
    EXPECT_NEAR(wave.forced[7][7], -(180.0f + 8.0f * diagonal), 1e-3);
    EXPECT_NEAR(wave.forced[6][7], 45.0f, 1e-5);
    EXPECT_NEAR(wave.forced[7][8], 45.0f, 1e-5);
    EXPECT_NEAR(wave.forced[8][8], 2.0f * diagonal, 1e-4);
    EXPECT_NEAR(wave.forced[6][8], 2.0f * diagonal, 1e-4);
    EXPECT_EQ(wave.forced[5][7], 0.0f);
    // Velocities start at 0: force x 0.008. Heights move by the whole velocity.
    EXPECT_NEAR(wave.velocd[7][7], -2.4582338f, 1e-5);
    EXPECT_NEAR(wave.positd[7][7], 22.5f - 2.4582338f, 1e-5);
    EXPECT_NEAR(wave.positd[7][6], 0.36f, 1e-6);
    EXPECT_NEAR(wave.positd[6][6], 0.25455844f, 1e-6);
    EXPECT_EQ(wave.positd[7][5], 0.0f);
    EXPECT_EQ(wave.positd[5][5], 0.0f);

    // Nothing is lost: the forces of a step sum to zero.
    double sum = 0.0;
    for (int i = 0; i < gridd; ++i)
        for (int j = 0; j < gridd; ++j)
            sum += wave.forced[i][j];
    EXPECT_NEAR(sum, 0.0, 1e-3);
}

TEST_F(WaveSimulation, FlatSheetsStayFlat)
{
    wave.setdSized(3);
    wave.setSpeeddn(2);
    wave.resetdn(1);
    wave.godn();
    for (int step = 0; step < 500; ++step)
        wave.wavedn();
    EXPECT_EQ(maxAbsHeight(), 0.0f);

    // A level sheet above zero, border included, has no springs under tension either.
    for (int i = 0; i < gridd; ++i)
        for (int j = 0; j < gridd; ++j)
            wave.positd[i][j] = 3.0f;
    for (int step = 0; step < 100; ++step)
        wave.wavedn();
    for (int i = 0; i < gridd; ++i)
        for (int j = 0; j < gridd; ++j)
            ASSERT_EQ(wave.positd[i][j], 3.0f) << i << "," << j;
}

TEST_F(WaveSimulation, OnlyInnerVerticesAreForceCentresAndTheBorderNeverMoves)
{
    wave.setdSized(0);  // 15: centres 2..12
    wave.resetdn(1);
    wave.positd[1][7] = 1.0f;  // next to the border, not a centre itself
    wave.godn();
    wave.wavedn();
    EXPECT_LT(wave.positd[1][7], 1.0f);  // pulled back by the centre (2, 7) and its diagonals
    EXPECT_GT(wave.positd[2][7], 0.0f);
    for (int step = 0; step < 200; ++step)
        wave.wavedn();
    for (int k = 0; k < gridd; ++k) {
        EXPECT_EQ(wave.positd[0][k], 0.0f);
        EXPECT_EQ(wave.positd[14][k], 0.0f);
        EXPECT_EQ(wave.positd[k][0], 0.0f);
        EXPECT_EQ(wave.positd[k][14], 0.0f);
    }
    // The sheet keeps moving: nothing damps it.
    EXPECT_GT(maxAbsHeight(), 0.01f);
}

TEST_F(WaveSimulation, ResetShapesUseWholeNumberQuotientsOfTheSide)
{
    wave.setdSized(3);  // 63
    wave.resetdn(2);
    EXPECT_FLOAT_EQ(wave.positd[31][31], 94.5f);
    EXPECT_EQ(wave.positd[31][30], 0.0f);

    wave.resetdn(6);  // 63 / 4 = 15
    EXPECT_EQ(wave.positd[22][22], 15.0f);
    EXPECT_EQ(wave.positd[41][41], 15.0f);
    EXPECT_EQ(wave.positd[21][30], 0.0f);
    EXPECT_EQ(wave.positd[42][30], 0.0f);

    wave.resetdn(3);  // 63 / 6 = 10, on i + j = 62 and 61
    EXPECT_EQ(wave.positd[30][32], 10.0f);
    EXPECT_EQ(wave.positd[30][31], 10.0f);
    EXPECT_EQ(wave.positd[30][30], 0.0f);
    EXPECT_EQ(wave.positd[0][62], 0.0f);  // border

    wave.resetdn(1);
    wave.setdSized(1);  // 31: grows, heights kept
    wave.resetdn(2);
    EXPECT_FLOAT_EQ(wave.positd[15][15], 46.5f);
    EXPECT_EQ(wave.resetdnModed, 2);

    // An unknown shape is stored, zeroes force, velocity and border, and leaves the inside alone.
    wave.positd[5][5] = 7.0f;
    wave.positd[0][5] = 7.0f;
    wave.velocd[5][5] = 1.0f;
    wave.resetdn(11);
    EXPECT_EQ(wave.resetdnModed, 11);
    EXPECT_EQ(wave.positd[5][5], 7.0f);
    EXPECT_EQ(wave.positd[0][5], 0.0f);
    EXPECT_EQ(wave.velocd[5][5], 0.0f);
}

TEST_F(WaveSimulation, SizeSpeedAndRunControls)
{
    EXPECT_EQ(gridd, 17);
    EXPECT_FLOAT_EQ(dtd, 0.004f);
    wave.setSpeeddn(0);
    EXPECT_FLOAT_EQ(dtd, 0.001f);
    wave.setSpeeddn(5);
    EXPECT_FLOAT_EQ(dtd, 0.001f);

    // 63 -> 15 re-applies the stored shape on the small sheet; 15 -> 63 keeps the 15 x 15 corner and
    // leaves the new vertices as they were.
    wave.setdSized(3);
    wave.resetdn(2);
    wave.positd[40][40] = 5.0f;
    wave.setdSized(0);
    EXPECT_EQ(gridd, 15);
    EXPECT_FLOAT_EQ(wave.positd[7][7], 22.5f);
    EXPECT_EQ(wave.positd[40][40], 5.0f);
    wave.positd[3][3] = 2.0f;
    wave.setdSized(3);
    EXPECT_EQ(wave.positd[3][3], 2.0f);
    EXPECT_EQ(wave.positd[40][40], 5.0f);
    wave.setdSized(9);
    EXPECT_EQ(gridd, 63);
    EXPECT_FLOAT_EQ(wave.texCoordsd[0][62][0], 1.0f);
    EXPECT_FLOAT_EQ(wave.texCoordsd[62][0][1], 1.0f);
    EXPECT_FLOAT_EQ(wave.texCoordsd[31][0][1], 31.0f / 62.0f);

    // A stopped sheet does not step and asks for no frame.
    wave.setdSized(0);
    wave.resetdn(2);
    EXPECT_EQ(wave.wavingd, 0);
    const int requests = wave.redisplayRequests;
    wave.wavedn();
    EXPECT_EQ(wave.redisplayRequests, requests);
    EXPECT_FLOAT_EQ(wave.positd[7][7], 22.5f);

    // Reversing a still sheet changes no height but starts it.
    wave.reversed();
    EXPECT_EQ(wave.wavingd, 1);
    EXPECT_FLOAT_EQ(wave.positd[7][7], 22.5f);
    wave.wavedn();
    EXPECT_EQ(wave.redisplayRequests, requests + 1);

    // Reversing a moving sheet turns its inner velocities around.
    const float afterOne = wave.positd[7][7];
    wave.reversed();
    EXPECT_NEAR(wave.velocd[7][7], -(afterOne - 22.5f), 1e-5);
    wave.editd();
    EXPECT_EQ(wave.wavingd, 0);
    EXPECT_EQ(wave.editdingd, 1);
    wave.godn();
    EXPECT_EQ(wave.editdingd, 0);
}
