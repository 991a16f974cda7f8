#pragma once

namespace nupo {

// Shading and lighting of the mesh draw modes, in the current GL context: 0 and 1 flat and unlit, 2 flat and
// lit, 3 and 4 smooth and lit; other modes leave the state as it is.
void applyMeshShading(int mode);

// Blended, smoothed lines 1.5 px wide when on; plain 1 px lines when off. In the current GL context.
void applyLineAntialiasing(bool on);

// The environment map of a textured mesh: when on, the bound texture is a decal mapped as a sphere around
// the viewer; when off, it modulates the surface at its own coordinates. In the current GL context.
void applySphereMapping(bool on);

// The GL state the mesh renderers start from: depth test, no clear colour, polygon offset, back faces
// culled, nicest hints, colour-tracking diffuse material and light 0 at lightPosition.
void setUpMeshRendering(const float* lightPosition);

// The additive glass look of the refraction material presets: dim grey diffuse and specular on both faces,
// the ambient taken from the current colour (at once, and from then on) and colours added to the frame.
// Stays until colour material and blending are switched off again. In the current GL context.
void applyGlassMaterial();

}  // namespace nupo
