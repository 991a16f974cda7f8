#pragma once

#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "views3d/SpectrumViewState.h"

namespace nupo {

// What the 3D scene's drawing reads besides its frame's arguments: the display options, the display-element
// table, the process-wide view options and the brain-switch records. An on-screen frame draws from its own
// copy, taken in its synchronisation step on the main thread and installed on the frame's thread while it
// draws (ScopedSceneInputs); with none installed (engine tests, one thread) the drawing reads them as they
// are now.
struct SceneInputs {
    DisplaySettingsCopy display{};
    int displayModeX[displayElementRows][displayElements] = {};
    int selectXCHNX = 0;  // the window's display mode
    int imagePosition = 0;
    int rotateX = 0;
    int show4sphere = 0;  // hot spot under the pointer
    float brainSWX[brainSourceCount][brainSwitchRecordLength] = {};
    // The flash requests were applied to the brain-switch records before they were copied (a frame's
    // copy); otherwise each tile applies them to the records as it is drawn.
    bool flashApplied = false;

    // Takes the values as they are now. Main thread.
    void capture();
};

// The inputs the drawing on this thread reads: the installed copy, else the values as they are now.
const SceneInputs& sceneInputs();

// Installs a frame's copy on the calling thread for the life of this object.
class ScopedSceneInputs {
public:
    explicit ScopedSceneInputs(const SceneInputs& inputs);
    ~ScopedSceneInputs();
    ScopedSceneInputs(const ScopedSceneInputs&) = delete;
    ScopedSceneInputs& operator=(const ScopedSceneInputs&) = delete;

private:
    const SceneInputs* previous_;
};

}  // namespace nupo
