#pragma once

#include <QString>

namespace nupo {

// Path of the named system sound ("Tink"): resources/sounds/<name>.wav beside the executable, else in the
// source tree (NUPO_SOURCE_DIR from the environment, else the one the program was built from). Empty when
// there is no such sound.
QString systemSoundPath(const QString& name);

// Stops the system sound that is playing and plays the named one from its start. Returns false, quietly,
// when the sound does not exist or cannot be played; with no audio device it plays silently.
bool playSystemSound(const QString& name);

}  // namespace nupo
