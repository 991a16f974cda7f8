#pragma once

// A debug switch for stalled frames of the wave-surface view. With the environment variable
// NUPO_WAVE_SLOW_FRAMES naming a file, each frame's tunnel inputs are kept (the frame's arguments, the
// sheet's side, heights, vertex normals and texture coordinates, and for each wall the modelview and
// projection matrices, the viewport and the bound texture's size, anisotropy and coordinate generation),
// and a watchdog thread appends the record of any frame that has run for longer than a second to the
// file while the frame is still running, so that a frame that never ends is caught too; the end of a
// recorded frame adds its time. Off (no thread, nothing kept) unless the variable is set.

#include "views3d/wave/gl/QXnewave.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace nupo {

class WaveFrameRecorder {
public:
    // The recorder the environment asks for, made on first use; null when NUPO_WAVE_SLOW_FRAMES is unset
    // or empty.
    static WaveFrameRecorder* shared();

    explicit WaveFrameRecorder(const QString& path, double limitSeconds = 1.0);
    ~WaveFrameRecorder();
    WaveFrameRecorder(const WaveFrameRecorder&) = delete;
    WaveFrameRecorder& operator=(const WaveFrameRecorder&) = delete;

    // On the drawing thread: a frame starts with these arguments and the engine's sheet as it will be
    // drawn; each wall adds the current GL transforms and texture state (after its normals are made);
    // the frame ends.
    void beginFrame(const QXnewave& wave, const QXnewaveFrame& frame);
    void wall(const QXnewave& wave);
    void endFrame();
    // How many frames have been written to the file.
    int recorded() const;

private:
    void watch();
    void writeLocked(double seconds, bool ended);

    const QString path_;
    const double limit_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool inFrame_ = false;
    bool written_ = false;  // the frame in flight has been written
    int recorded_ = 0;
    std::chrono::steady_clock::time_point start_;
    QString record_;  // the frame in flight, without its time
    int walls_ = 0;
    std::thread watchdog_;
};

}  // namespace nupo
