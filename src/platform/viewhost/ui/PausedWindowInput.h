#pragma once

namespace nupo {

// Drops the input of a window paused by a frame that stalled (GLRenderThread::isStalled: its window
// shows a message over the last picture until the frame ends). The window can still be closed, and the
// menu's shortcuts (Quit, the window keys) work over it. Every other event goes on at once beside the
// frames in flight, which draw from their own copies: nothing waits for a frame.
class PausedWindowInput {
public:
    // Installs the filter on the application, for the rest of the process (once; main thread).
    static void install();
};

}  // namespace nupo
