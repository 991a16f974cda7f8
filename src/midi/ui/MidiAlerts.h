#pragma once

namespace nupo {

// From here on, a MIDI or audio problem the MIDI output layer reports (no MIDI system while MIDI out is
// on, the JACK server gone, a synthesiser nobody hears) shows as an alert on screen. The alert is shown
// from the main thread's event loop and never waits for the MIDI system; problems said while it is open
// join it, and a state said again (the JACK server back after it went) takes the place of what it said
// there before; once that alert is closed, the new state has an alert of its own.
void installMidiAlerts();

}  // namespace nupo
