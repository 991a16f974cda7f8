#pragma once

#include <functional>

namespace nupo {

// Opens the instrument picker for a synthesiser channel on behalf of the peak panel.
class QXMidiPort {
public:
    static QXMidiPort& sharedQXMidiPort();

    // Silences the current peak setup, lets the user pick an instrument for channel n (0..15; any
    // other channel uses channel 0), stores it as the channel's program and sends it to the
    // synthesiser, then restores the setup's output. Returns the chosen instrument number - 1.
    // The picker starts on `shown` (a program 0..127: the one the panel shows) when given, else on the
    // channel's program; cancelled, the channel keeps the program it started on, and `chosen`, when
    // given, tells which happened.
    int setInstrumentN(int channel, int shown = -1, bool* chosen = nullptr);
    // How the current peak setup's output is held off (0) and restored (1) around the pick; lent by
    // the peak mapper when its shared instance is made.
    void setOutputHold(std::function<void(int on)> hold);

private:
    QXMidiPort() = default;

    std::function<void(int)> outputHold;  // main thread
};

}  // namespace nupo
