#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using nupo::RecordingBuffers;

// A window read in one call holds what the clamped one-sample reads give, across both ends.
TEST(RecordingBuffers, WindowReadsClampLikeSingleReads)
{
    nupo::maxploop = 300;
    RecordingBuffers& recording = RecordingBuffers::sharedRecordingBuffers();
    recording.allocate();
    for (int i = 0; i <= 300; ++i)
        recording.putIntToBuffer(2, i, 1000 + i);

    for (const int from : {-50, -1, 0, 17, 250, 290, 301, 5000}) {
        std::vector<int> window(64, -1);
        recording.copyFromBuffer(2, from, 64, window.data());
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(window[std::size_t(i)], recording.getIntFromBuffer(2, from + i)) << from << " + " << i;
    }
    std::vector<int> window(8, -1);
    recording.copyFromBuffer(2, -3, 8, window.data());
    EXPECT_EQ(window, (std::vector<int>{1000, 1000, 1000, 1000, 1001, 1002, 1003, 1004}));
    recording.copyFromBuffer(2, 297, 8, window.data());
    EXPECT_EQ(window, (std::vector<int>{1297, 1298, 1299, 1300, 1300, 1300, 1300, 1300}));
    recording.copyFromBuffer(7, 10, 8, window.data());  // no such channel
    EXPECT_EQ(window, std::vector<int>(8, 0));
}

// Emptying reaches every point ever stored, the last one of the allocation too, and a larger allocation
// carries the recording over and is empty past it.
TEST(RecordingBuffers, EmptyingAndGrowingReachEveryStoredPoint)
{
    RecordingBuffers& recording = RecordingBuffers::sharedRecordingBuffers();
    recording.allocate();
    const int capacity = recording.capacity();
    const auto expectEmpty = [&](int from, int to) {
        for (int c = 0; c < RecordingBuffers::channelCount; ++c)
            for (int i = from; i < to; ++i) {
                const int empty = c == 0 ? 49 : 0;
                ASSERT_EQ(recording.getIntFromBuffer(c, i), empty) << c << " at " << i;
                ASSERT_EQ(recording.getByteFromBuffer(c, i), RecordingBuffers::byteFromSample(empty));
            }
    };
    nupo::maxploop = capacity - 1;
    for (const int at : {0, 5, capacity / 2, capacity - 1})
        for (int c = 0; c < RecordingBuffers::channelCount; ++c)
            recording.putSampleAt(c, at, 700 + c);
    recording.clear();
    expectEmpty(0, capacity);

    for (int c = 0; c < RecordingBuffers::channelCount; ++c)
        recording.putSampleAt(c, 10, -300 - c);
    nupo::maxploop = capacity + 5000;
    recording.allocate();
    ASSERT_GE(recording.capacity(), capacity + 5000);
    for (int c = 0; c < RecordingBuffers::channelCount; ++c) {
        EXPECT_EQ(recording.getIntFromBuffer(c, 10), -300 - c);
        EXPECT_EQ(recording.getByteFromBuffer(c, 10), RecordingBuffers::byteFromSample(-300 - c));
    }
    expectEmpty(11, capacity + 5000);
    recording.putSampleAt(3, capacity + 4000, 12);
    recording.clear();
    expectEmpty(0, capacity + 5000);
}

// The change count tells any changed sample from none: a write at any point and in any channel counts,
// storing the value a sample holds does not, nor does emptying an empty recording or growing the buffers.
TEST(RecordingBuffers, EveryChangedSampleAndNoOtherWriteMovesTheChangeCount)
{
    RecordingBuffers& recording = RecordingBuffers::sharedRecordingBuffers();
    nupo::maxploop = 10000;
    recording.allocate();
    recording.clear();
    unsigned long long count = recording.changeCount();
    const auto changed = [&] {
        const unsigned long long now = recording.changeCount();
        return std::exchange(count, now) != now;
    };
    recording.clear();
    EXPECT_FALSE(changed()) << "emptying an empty recording";
    for (const int at : {1, 60, 62, 2309, 9999}) {
        recording.putIntToBuffer(0, at, 'q');
        EXPECT_TRUE(changed()) << "key marker at " << at;
        recording.putIntToBuffer(0, at, 'q');
        EXPECT_FALSE(changed()) << "the same marker again at " << at;
    }
    recording.putSampleAt(4, 777, -12);
    EXPECT_TRUE(changed());
    recording.putIntToBuffer(3, 777, 0);  // the empty value
    EXPECT_FALSE(changed());
    nupo::maxploop = recording.capacity() + 100;
    recording.allocate();
    EXPECT_FALSE(changed()) << "growing keeps the recording";
    recording.clear();
    EXPECT_TRUE(changed()) << "emptying a recording";
    nupo::maxploop = 10000;
}
