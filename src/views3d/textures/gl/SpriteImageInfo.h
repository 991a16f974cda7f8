#pragma once

#include "platform/colour/RGBAColor.h"

#include <QRectF>

namespace nupo {

using RGBA = RGBAColor;

// How a part of a texture is drawn.
struct ImageRenderDef {
    QRectF sourceRect;      // the part of the image, in image pixels
    int centred = 0;        // non-zero: the quad is centred on the drawing point
    float hotSpotX = 0.0f;  // otherwise its corner is the point minus the hot spot
    float hotSpotY = 0.0f;
    float filterQuality = 1.0f;                // anisotropic filtering level 1..8
    RGBA colour = RGBA::fromRGBA(1, 1, 1, 1);  // vertex colour; alpha 0 draws nothing
};

// A sprite's image: the filter mode (0 and 1 nearest, 2 linear, 3 and above mipmapped) and a grid of
// frames in the image.
struct SpriteImageInfo : ImageRenderDef {
    int textureMode = 0;
    float frameOriginX = 0.0f;  // top left of frame 0, image pixels
    float frameOriginY = 0.0f;
    float frameWidth = 0.0f;  // 0 or less: the whole image
    float frameHeight = 0.0f;
    int columns = 1;  // frames per row
    int rows = 1;     // rows of frames

    SpriteImageInfo(int mode, int width, int height)
        : textureMode(mode), frameWidth(static_cast<float>(width)), frameHeight(static_cast<float>(height))
    {
    }
};

}  // namespace nupo
