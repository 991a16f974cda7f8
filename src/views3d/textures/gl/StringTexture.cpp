#include "views3d/textures/gl/StringTexture.h"

#include "views3d/textures/gl/CurrentGLContext.h"

#include <QPainter>

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstdio>

namespace nupo {

namespace {

const RGBAColor white = RGBAColor::fromRGBA(1, 1, 1, 1);
const RGBAColor clear = RGBAColor::fromRGBA(1, 1, 1, 0);

QColor toQColor(const RGBAColor& c)
{
    const RGBAColor k = c.clamped();
    return QColor::fromRgbF(k.red, k.green, k.blue, k.alpha);
}

}  // namespace

StringTexture::StringTexture(const AttributedString& string, const RGBAColor& text, const RGBAColor& box,
                             const RGBAColor& border)
    : string_(string), textColor_(text), boxColor_(box), borderColor_(border)
{
}

StringTexture::StringTexture(const QString& string, const TextAttributes& attributes, const RGBAColor& text,
                             const RGBAColor& box, const RGBAColor& border)
    : StringTexture(AttributedString(string, attributes), text, box, border)
{
}

StringTexture::StringTexture(const AttributedString& string) : StringTexture(string, white, clear, clear) {}

StringTexture::StringTexture(const QString& string, const TextAttributes& attributes)
    : StringTexture(AttributedString(string, attributes))
{
}

StringTexture::~StringTexture()
{
    deleteTexture();
}

void StringTexture::computeDynamicFrame()
{
    if (staticFrame_ || !frameSize_.isNull())
        return;
    const QSizeF text = string_.size();
    frameSize_ = QSizeF(text.width() + 2 * marginSize_.width(), text.height() + 2 * marginSize_.height());
}

QSizeF StringTexture::frameSize()
{
    computeDynamicFrame();
    return frameSize_;
}

void StringTexture::setString(const AttributedString& string)
{
    // The overlays give most strings again unchanged every frame: they keep their texture.
    if (string == string_)
        return;
    deleteTexture();
    string_ = string;
    if (!staticFrame_)
        frameSize_ = QSizeF(0, 0);
}

void StringTexture::setString(const QString& string, const TextAttributes& attributes)
{
    setString(AttributedString(string, attributes));
}

void StringTexture::setTextColor(const RGBAColor& colour)
{
    deleteTexture();
    textColor_ = colour;
}

void StringTexture::setBoxColor(const RGBAColor& colour)
{
    deleteTexture();
    boxColor_ = colour;
}

void StringTexture::setBorderColor(const RGBAColor& colour)
{
    deleteTexture();
    borderColor_ = colour;
}

void StringTexture::setMargins(QSizeF size)
{
    deleteTexture();
    marginSize_ = size;
    if (!staticFrame_)
        frameSize_ = QSizeF(0, 0);
}

void StringTexture::useStaticFrame(QSizeF size)
{
    deleteTexture();
    staticFrame_ = true;
    frameSize_ = size;
}

void StringTexture::useDynamicFrame()
{
    if (!staticFrame_)
        return;
    deleteTexture();
    frameSize_ = QSizeF(0, 0);
    staticFrame_ = false;
}

void StringTexture::genTexture()
{
    deleteTexture();
    computeDynamicFrame();
    const QSize size(static_cast<int>(std::ceil(frameSize_.width())),
                     static_cast<int>(std::ceil(frameSize_.height())));
    if (size.isEmpty())
        return;

    QImage image(size, QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        if (boxColor_.alpha != 0.0f)
            painter.fillRect(image.rect(), toQColor(boxColor_));
        if (borderColor_.alpha != 0.0f) {
            painter.setPen(QPen(toQColor(borderColor_), 1.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(0.5, 0.5, size.width() - 1.0, size.height() - 1.0));
        }
        // The text's lower left at the margins from the frame's lower left.
        const double top = size.height() - marginSize_.height() - string_.size().height();
        string_.draw(painter, QPointF(marginSize_.width(), top), textColor_);
    }
    texSize_ = QSizeF(image.size());

    cgl_ctx = currentGLContext();
    if (!cgl_ctx) {
        std::fprintf(stderr, "StringTexture -genTexture: Failure to get current OpenGL context\n");
        return;
    }
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glGenTextures(1, &texName_);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texName_);
    glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, static_cast<GLsizei>(texSize_.width()),
                 static_cast<GLsizei>(texSize_.height()), 0, GL_RGBA, GL_UNSIGNED_BYTE, image.constBits());
    glPopClientAttrib();
}

bool StringTexture::ensureTexture()
{
    // A texture of another context is no name here: the text is drawn into one of this context.
    if (texName_ && cgl_ctx != currentGLContext()) {
        texName_ = 0;
        cgl_ctx = nullptr;
    }
    if (!texName_)
        genTexture();
    return texName_ != 0;
}

void StringTexture::drawWithBounds(const QRectF& bounds)
{
    if (!ensureTexture())
        return;
    const auto w = static_cast<GLfloat>(texSize_.width());
    const auto h = static_cast<GLfloat>(texSize_.height());
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texName_);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2d(bounds.x(), bounds.y());
    glTexCoord2f(0.0f, h);
    glVertex2d(bounds.x(), bounds.y() + bounds.height());
    glTexCoord2f(w, h);
    glVertex2d(bounds.x() + bounds.width(), bounds.y() + bounds.height());
    glTexCoord2f(w, 0.0f);
    glVertex2d(bounds.x() + bounds.width(), bounds.y());
    glEnd();
}

void StringTexture::drawAtPoint(const QPointF& point)
{
    if (!ensureTexture())
        return;
    drawWithBounds(QRectF(point, texSize_));
}

void StringTexture::deleteTexture()
{
    if (texName_ && cgl_ctx && cgl_ctx == currentGLContext())
        glDeleteTextures(1, &texName_);
    cgl_ctx = nullptr;
    texName_ = 0;
}

void StringTexture::textureFromImage(const QImage& image, unsigned int* name)
{
    if (!name || image.isNull())
        return;
    const bool alpha = image.hasAlphaChannel();
    const QImage bitmap = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    // Rows of a QImage start on 4-byte boundaries.
    glPixelStorei(GL_UNPACK_ROW_LENGTH, bitmap.width());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (*name == 0)
        glGenTextures(1, name);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, *name);
    glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, alpha ? GL_RGBA8 : GL_RGB8, bitmap.width(), bitmap.height(), 0,
                 alpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, bitmap.constBits());
    glPopClientAttrib();
}

}  // namespace nupo
