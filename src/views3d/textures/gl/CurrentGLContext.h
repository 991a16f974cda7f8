#pragma once

namespace nupo {

// The GL context current on the calling thread, whichever API made it current (EGL for offscreen
// contexts, GLX for windows on X); null when none is. Textures remember the context they were made in
// and delete themselves only while it is current.
const void* currentGLContext();

}  // namespace nupo
