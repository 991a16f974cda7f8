#pragma once

#include <functional>

namespace nupo {

// The main menu's commands that other parts ask for without knowing the menu: the document reopening
// the windows it had, a panel bringing up a preferences tab. The menu installs what each command does
// (at start-up); a command that is not installed does nothing. Main thread.
enum class MenuCommand {
    showControlPanel,
    closeAllWindows,
    showRawwave,
    showRawwaveFront,
    showBarGraph,
    showBarGraphFront,
    showWaterfall,
    showWaterfallFront,
    show3DSpectrum,
    show3DSpectrumFront,
    openMovieAndPlay,
    openMovieWindow,  // the movie chosen last, in the open movie window or a new one, not played
    showPreferencesTab,  // the argument is the tab
    count
};

class MenuCommands {
public:
    using Command = std::function<void(int argument)>;

    static void install(MenuCommand command, Command perform);
    // Performs the command; false when none is installed.
    static bool run(MenuCommand command, int argument = 0);
};

}  // namespace nupo
