#pragma once

#include "platform/gl/BitmapFont.h"

namespace nupo {

// The GL utility calls the views make, working in whatever GL context is current: no window, no
// initialisation call.

// Draws character c at the current raster position with glBitmap and moves the raster position right by
// the character's advance. Characters outside 32..126 draw nothing and do not move it.
void glutBitmapCharacter(GlutBitmapFont font, int c);
// Draws a zero-terminated string from the current raster position as glutBitmapCharacter draws its
// characters one after another, with the pixel-store state set once for the whole string rather than
// once per character. Nothing for null.
void glutBitmapString(GlutBitmapFont font, const char* text);
// Advance of one character in pixels (0 for characters that draw nothing).
int glutBitmapWidth(GlutBitmapFont font, int c);
// Sum of the advances of a zero-terminated string; 0 for null.
int glutBitmapLength(GlutBitmapFont font, const char* text);

// A cube of the given edge centred at the origin, faces with outward normals, counter-clockwise seen
// from outside.
void glutSolidCube(double size);
// Cubes as glutSolidCube draws them, centred at each of `count` points, in one glBegin/glEnd: what a
// glTranslatef to each centre around glutSolidCube draws, without a matrix change (and so a separate
// draw in the GL) between the cubes.
void drawSolidCubesAt(double size, const float (*centres)[3], int count);
// A torus around the z axis: innerRadius is the radius of the tube, outerRadius the distance from the
// origin to the tube's centre line; sides facets round the tube, rings segments round the axis. Fewer
// than 3 sides or rings draw nothing.
void glutSolidTorus(double innerRadius, double outerRadius, int sides, int rings);
// A regular tetrahedron centred at the origin with its corners at distance sqrt(3).
void glutSolidTetrahedron();

// Ends a frame: the host widget presents what was drawn once the view returns, so this only flushes.
void glutSwapBuffers();

}  // namespace nupo
