#pragma once

#include <functional>

namespace nupo {

// Termination asked from outside (`kill <pid>`, Ctrl+C in the terminal, the terminal or session ending):
// SIGTERM, and SIGINT and SIGHUP unless the program was started with them ignored (in the background
// of a shell, under nohup), run `quit` on the main thread's event loop, as the Quit command would. A
// second such signal while the program is still on its way out ends it at once, so that it never hangs
// on a signal.
//
// Call once, from the main thread, with its event loop about to run; later calls replace `quit`.
void quitOnTerminationSignals(std::function<void()> quit);

// The display lost (the X server gone, or the session ending before the program has quit): Qt reports
// that its X connection broke and ends the program with exit(1), whose exit handlers and destructors of
// statics would run while the GL views' drawing threads still draw with them, and crash. After that
// report the program ends at once instead, with the same code. Other messages go on as before.
//
// Call once, from the main thread, after the application object is made.
void endAtOnceWhenTheDisplayIsLost();

}  // namespace nupo
