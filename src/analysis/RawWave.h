#pragma once

// The raw-wave display windows of CH 1..CH 4: each function refills its window (`datarawA` ..
// `datarawE`) with the `fftp` samples of its channel up to a sample point, oldest first, and stores the
// trace's peak-to-peak value. Main thread (the raw-wave views).

namespace nupo {

void getARawwave(int point);
void getBRawwave(int point);
void getDRawwave(int point);
void getERawwave(int point);

// The same for channel 0..3 (CH 1..CH 4); another channel does nothing.
void getRawwave(int channel, int point);

}  // namespace nupo
