#pragma once

#include <functional>

namespace nupo {

// Termination asked from outside (`kill <pid>`, Ctrl+C in the terminal, the session ending): SIGTERM, and
// SIGINT unless the program was started with it ignored (in the background of a shell), run `quit` on
// the main thread's event loop, as the Quit command would. A second such signal while the program is
// still on its way out ends it at once, so that it never hangs on a signal.
//
// Call once, from the main thread, with its event loop about to run; later calls replace `quit`.
void quitOnTerminationSignals(std::function<void()> quit);

}  // namespace nupo
