#pragma once

#include "platform/colour/RGBAColor.h"

#include <QRectF>

#include <functional>
#include <optional>

namespace nupo {

// A view command queued for a plot window by other parts: the pending value, how many more ticks apply
// it, and the flag set when a window applied it directly (the next tick then applies it once more).
struct QueuedWindowCommand {
    int value = 0;
    int count = 3;
    int didChange = 0;

    // Stores a new command that the next `repeats` ticks apply.
    void queue(int newValue, int repeats);
    // One tick: a suppressed tick first drops what was queued; then, while the flag is set or the count
    // is above 0, `apply` runs with the pending value, after which the flag is cleared and the count
    // lowered, never below 0.
    void tick(bool suppressed, const std::function<void(int)>& apply);
};

// The process-wide state of one family of plot windows (raw wave, bar graph, 2D spectrum): the pending
// frame, the transparency animation, the open and shown bookkeeping, the queued commands and the colour
// handed over to the next nib load. The windows' named process-wide variables are references into it.
struct PlotWindowState {
    QRectF pendingFrame;  // frame to take at the next nib load, when pendingFrameSet is 1
    int pendingFrameSet = 0;
    float alphaValue = 1.0f;  // running transparency of the animation
    float alphaDelta = 0.01f;
    int shown = 0;            // 1 while a window is shown
    int openCount = 0;        // windows opened and not yet closed
    QRectF bounds;            // last frame of the window
    QRectF normalBounds;      // last frame of the window while neither maximised nor full screen
    int maximised = 0;        // 1: the window was maximised (or full screen) at its last frame
    int maximiseNext = 0;     // the next nib load maximises the window (pendingFrame its normal frame)
    int suppressQueued = 0;   // one-tick flag: the first tick drops what was queued before
    int colourChanged = 0;    // a colour command is pending
    int colourCount = 3;      // repeat count of the colour command
    int colourDidChange = 0;  // the shared window colour reaches the next nib load
    RGBAColor handedColour;   // background colour handed to the next nib load
    int handedColourPending = 0;
    QueuedWindowCommand viewMode;   // view mode (or source) command
    QueuedWindowCommand viewEntry;  // view/transparency entry command
    int lastViewMode = 0;           // saved with documents
    int lastViewEntry = 0;          // last view/transparency entry above 1
    int fullView = 0;               // 1: the full view is the active one
    float heightGain = 10.0f;
    int firstLoadDone = 0;
    int commandRepeats = 3;  // ticks a command from the view applies
    // Backgrounds the user chose in a window of the family: a choice is a change of the document, though
    // the colour it saves also moves as windows open and take their wells' colours, which is none.
    unsigned backgroundChoices = 0;

    // Animation modes of the view/transparency popup.
    enum AlphaAnimation {
        AlphaOff = 0,
        AlphaFull = 1,
        AlphaToPointTwo = 2,
        AlphaMiddle = 3,
        AlphaStopped = 4
    };

    // Step 1 of a tick: the alpha to give the window now (none when the animation is off); the running
    // value then moves one step and turns at the mode's limits.
    std::optional<float> stepAlphaAnimation(int mode);

    // Steps 2 to 5 of a tick: view-mode, view/transparency and colour commands, each applied while it is
    // due; then the suppress flag is cleared.
    void runQueuedCommands(const std::function<void(int)>& applyViewMode,
                           const std::function<void(int)>& applyViewEntry,
                           const std::function<void()>& applyColour);

    // Queueing operations sent by other parts.
    void setWframe(const QRectF& frame);
    void setWindowColorValue();
    void queueViewMode(int mode) { viewMode.queue(mode, commandRepeats); }
    void queueViewEntry(int entry) { viewEntry.queue(entry, commandRepeats); }
    void handBackgroundColour(const RGBAColor& colour);

    // Closing bookkeeping: shown cleared, open count lowered (kept within 0..maxOpen when clamp is set).
    void windowClosed(bool clamp, int maxOpen = 11);
};

// The background colour shared by the plot windows and the brain-note graphics.
inline RGBAColor windowColor = RGBAColor::fromRGBA(1.0, 1.0, 1.0, 1.0);

// "%02d:%02d:%02d.%03d" of a sample position at a sampling rate (a rate below 1 is taken as 1).
QString timeStampText(int samplePoint, int sampleSpeed);

}  // namespace nupo
