#pragma once

namespace nupo {

// Keeps the main thread's event handlers from touching views while their frames are drawn on other
// threads, without ever holding the main thread up for long. Painting (paint, update requests, finished
// frames), Qt's bookkeeping of layouts and children, and the timer events of objects marked independent
// of drawing go on beside the frames. Any other event (input, other timers, queued calls, window
// changes) first waits for the frames in flight, at most GLRenderThread::longestEventWait() in all per
// frame. A frame that takes longer is then left out:
// - input meant for a window whose views (or views of their class) are still drawing is held for that
//   window alone, and delivered in order once its frames have ended;
// - a window whose frame stalled (GLRenderThread::isStalled) is paused: its input is dropped until the
//   frame ends; it can still be closed;
// - everything else goes on.
class EventJoin {
public:
    // On, it stays on for the process, except where a test takes it off again. On, waitForDrawing()
    // waits for the frames as well, within the same bound.
    static void setOn(bool on);
    // Delivers the input held for windows whose frames have ended, and drops that of paused windows.
    // The view hosts call it as frames end and on each beat.
    static void deliverHeldInput();
    // How many events are held now.
    static int heldCount();
};

}  // namespace nupo
