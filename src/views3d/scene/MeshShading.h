#pragma once

namespace nupo {

// Shading and lighting of the mesh draw modes, in the current GL context: 0 and 1 flat and unlit, 2 flat and
// lit, 3 and 4 smooth and lit; other modes leave the state as it is.
void applyMeshShading(int mode);

}  // namespace nupo
