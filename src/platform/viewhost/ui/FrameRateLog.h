#pragma once

class QWidget;

namespace nupo {

// A measuring aid for the benchmarks: with the environment variable NUPO_FRAME_RATES set, every
// hosted view's frames are counted, and every five seconds one line on standard output gives each
// window's frames per second over that time and the share of it the main thread spent waiting for
// frames drawn on other threads ("frame rates: Rawwave Window 30.0; ...; main thread waiting 1.5 %;");
// the first frame of each window is noted with the wall-clock time in milliseconds ("first frame:
// <title> <ms>"), so a script can time a window from its key press. Without the variable it costs one
// test per frame.
// Main thread only.
class FrameRateLog {
public:
    static void frameDrawn(QWidget* host);
};

}  // namespace nupo
