#pragma once

#include "platform/colour/RGBAColor.h"
#include "views3d/textures/gl/AttributedString.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>

namespace nupo {

// Styled text as an OpenGL rectangle texture, drawn as a screen-aligned quad. The texture is made on the
// first draw, in the GL context current then, and thrown away whenever anything that shows in it
// changes. The text sits at the margins from the lower left of its frame; a box colour fills the frame
// and a border colour outlines it, each only when its alpha is not 0. Texels are premultiplied RGBA, row
// 0 the top of the frame. Main thread.
class StringTexture {
public:
    // Text, box and border colours as given.
    StringTexture(const AttributedString& string, const RGBAColor& text, const RGBAColor& box,
                  const RGBAColor& border);
    StringTexture(const QString& string, const TextAttributes& attributes, const RGBAColor& text,
                  const RGBAColor& box, const RGBAColor& border);
    // White text, no box, no border.
    explicit StringTexture(const AttributedString& string);
    StringTexture(const QString& string, const TextAttributes& attributes);
    ~StringTexture();
    StringTexture(const StringTexture&) = delete;
    StringTexture& operator=(const StringTexture&) = delete;

    unsigned int texName() const { return texName_; }
    QSizeF texSize() const { return texSize_; }
    const RGBAColor& textColor() const { return textColor_; }
    const RGBAColor& boxColor() const { return boxColor_; }
    const RGBAColor& borderColor() const { return borderColor_; }
    QSizeF marginSize() const { return marginSize_; }
    bool staticFrame() const { return staticFrame_; }
    // The frame; a dynamic frame not yet known is computed from the text first.
    QSizeF frameSize();
    const AttributedString& string() const { return string_; }

    void setString(const AttributedString& string);
    void setString(const QString& string, const TextAttributes& attributes);
    void setTextColor(const RGBAColor& colour);
    void setBoxColor(const RGBAColor& colour);
    void setBorderColor(const RGBAColor& colour);
    void setMargins(QSizeF size);
    void useStaticFrame(QSizeF size);
    void useDynamicFrame();

    // Draws the text into an image of the frame and uploads it. Without a current GL context nothing is
    // made (a message says so) and the next draw tries again.
    void genTexture();
    // The quad over bounds: texel (0, 0) at (x, y), the texture's height at y + height.
    void drawWithBounds(const QRectF& bounds);
    // The quad at point in the texture's own size.
    void drawAtPoint(const QPointF& point);
    // Deletes the texture (only the context it was made in can: it must be current).
    void deleteTexture();
    // Uploads an RGB or RGBA image as a rectangle texture into *name, making the name when it is 0.
    void textureFromImage(const QImage& image, unsigned int* name);

private:
    void computeDynamicFrame();
    // Makes the texture in the current context unless it is there; false when it cannot be made.
    bool ensureTexture();

    const void* cgl_ctx = nullptr;
    unsigned int texName_ = 0;
    QSizeF texSize_;
    AttributedString string_;
    RGBAColor textColor_;
    RGBAColor boxColor_;
    RGBAColor borderColor_;
    bool staticFrame_ = false;
    QSizeF marginSize_{4.0, 2.0};
    QSizeF frameSize_{0.0, 0.0};
};

}  // namespace nupo
