#pragma once

#include <QSurfaceFormat>

namespace nupo {

// The surface format of every GL view: a compatibility-profile context (the views draw in immediate mode
// with the fixed-function pipeline), a depth buffer and double buffering.
QSurfaceFormat legacyGLSurfaceFormat();

}  // namespace nupo
