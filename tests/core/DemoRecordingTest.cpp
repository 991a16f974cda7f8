#include <gtest/gtest.h>

#include "core/QXSerialPort.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"

#include <cmath>
#include <vector>

using namespace nupo;

namespace {

// Power of one frequency over a channel of the loaded recording (Goertzel).
double powerAt(int channel, double hz, int count, int rate)
{
    const double w = 2 * M_PI * hz / rate;
    double s1 = 0, s2 = 0;
    for (int i = 0; i < count; ++i) {
        const double s =
            QXSerialPort::sharedQXSerialPort().getIntFromBuffer(channel, i) + 2 * std::cos(w) * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2;
}

}  // namespace

TEST(DemoRecording, LoadsAsThreeMinutesOfTwoChannelsWithEegRhythms)
{
    ASSERT_TRUE(NSStringToC(QStringLiteral(NUPO_DEMO_RECORDING)));
    ASSERT_EQ(QXSerialPort::sharedQXSerialPort().openOldFileToBuffer(), 1);
    const int n = maxploop.load();
    EXPECT_EQ(n, 180 * 120);
    for (int channel : {1, 2}) {
        const double quiet = powerAt(channel, 35.0, n, 120);
        EXPECT_GT(powerAt(channel, 10.0, n, 120), 20 * quiet) << channel;  // alpha
        EXPECT_GT(powerAt(channel, 6.0, n, 120), 5 * quiet) << channel;    // theta
        EXPECT_GT(powerAt(channel, 60.0, n, 120), 5 * quiet) << channel;   // mains hum
    }
    EXPECT_GT(powerAt(1, 20.0, n, 120), 3 * powerAt(1, 35.0, n, 120));  // beta
}
