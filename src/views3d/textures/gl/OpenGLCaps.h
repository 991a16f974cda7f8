#pragma once

#include "views3d/textures/gl/AttributedString.h"
#include "views3d/textures/gl/StringTexture.h"

#include <memory>
#include <vector>

namespace nupo {

inline constexpr int glCapsFeatureCount = 89;

// What one display and the renderer drawing on it offer.
struct GLCaps {
    unsigned int displayID = 0;
    unsigned int displayMask = 0;
    int originX = 0, originY = 0, width = 0, height = 0;  // display bounds
    short bitsPerPixel = 0;
    short refreshRate = 0;
    long videoMemory = 0;  // bytes (0 when the renderer does not say)
    long freeMemory = 0;   // bytes
    unsigned int rendererID = 0;
    long textureUnits = 0;
    long maxTextureSize = 0;
    long max3DTextureSize = 0;
    long maxCubeMapTextureSize = 0;
    long maxRectTextureSize = 0;
    int features[glCapsFeatureCount] = {};  // non-zero: present (order of glCapsFeatureLabel)
};

// The panel line of feature i, e.g. "Specular Vector (GL_APPLE_specular_vector)".
QString glCapsFeatureLabel(int i);

// Fills up to maxDisplays records, one per screen, with the renderer of the current GL context; *count
// is the number filled. Nothing without a current context.
void CheckOpenGLCaps(int maxDisplays, GLCaps* records, int* count);
// 1 when the screens or the renderer differ from the records (or there are none), else 0.
int HaveOpenGLCapsChanged(const GLCaps* records, int count);
// The text of a record's panel.
AttributedString capsString(const GLCaps& record);
// One text texture per record, in `capsTextures`.
void initCapsTexture(const GLCaps* records, int count);
// Draws the panel of the first record of the renderer at (10, height - 10 - its height).
void drawCaps(const GLCaps* records, int count, unsigned int rendererID, float height);

inline std::vector<std::unique_ptr<StringTexture>> capsTextures;

}  // namespace nupo
