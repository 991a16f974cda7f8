#include "views3d/textures/gl/GLSprite.h"

#include "views3d/textures/gl/MatrixFrame.h"

#include <GL/gl.h>

#include <algorithm>

namespace nupo {

bool GLSprite::Set(std::shared_ptr<GLBuffer> newBuffer, const SpriteImageInfo& newInfo)
{
    buffer = std::move(newBuffer);
    info = newInfo;
    if (!buffer)
        return false;
    if (info.frameWidth <= 0.0f || info.frameHeight <= 0.0f) {
        info.frameWidth = static_cast<float>(buffer->imageSize().width());
        info.frameHeight = static_cast<float>(buffer->imageSize().height());
    }
    return true;
}

void GLSprite::applyFilter()
{
    if (!buffer || !buffer->textureReady())
        return;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    bindForDrawing();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}

void GLSprite::bindForDrawing()
{
    if (!buffer || !buffer->textureReady())
        return;
    buffer->filterMode = info.textureMode;
    buffer->SetTexture(info.filterQuality);
}

void GLSprite::Render()
{
    if (!buffer || !buffer->textureReady())
        return;
    buffer->filterMode = info.textureMode;
    MatrixFrame frameOfSprite;
    frameOfSprite <<= matrix;
    const int columns = std::max(info.columns, 1);
    const int rows = std::max(info.rows, 1);
    const int f = static_cast<int>(frame);
    const int column = f % columns;
    const int row = (f / columns) % rows;
    ImageRenderDef def = info;
    def.sourceRect = QRectF(info.frameOriginX + column * info.frameWidth,
                            info.frameOriginY + row * info.frameHeight, info.frameWidth, info.frameHeight);
    buffer->Render(def, QPointF(0, 0));
    frameOfSprite.UnFrame();
}

}  // namespace nupo
