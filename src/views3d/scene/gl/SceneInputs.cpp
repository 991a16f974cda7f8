#include "views3d/scene/gl/SceneInputs.h"

#include <algorithm>

namespace nupo {

namespace {
thread_local const SceneInputs* installed = nullptr;
}

void SceneInputs::capture()
{
    display = copyDisplaySettings();
    std::copy(&nupo::displayModeX[0][0], &nupo::displayModeX[0][0] + displayElementRows * displayElements,
              &displayModeX[0][0]);
    selectXCHNX = nupo::selectXCHNX;
    imagePosition = nupo::imagePosition;
    rotateX = nupo::rotateX;
    show4sphere = nupo::show4sphere;
    for (int s = 0; s < brainSourceCount; ++s)
        for (int k = 0; k < brainSwitchRecordLength; ++k)
            brainSWX[s][k] = nupo::brainSWX[s][k].load(std::memory_order_relaxed);
    flashApplied = false;
}

const SceneInputs& sceneInputs()
{
    if (installed)
        return *installed;
    thread_local SceneInputs live;
    live.capture();
    return live;
}

ScopedSceneInputs::ScopedSceneInputs(const SceneInputs& inputs) : previous_(installed)
{
    installed = &inputs;
}

ScopedSceneInputs::~ScopedSceneInputs()
{
    installed = previous_;
}

}  // namespace nupo
