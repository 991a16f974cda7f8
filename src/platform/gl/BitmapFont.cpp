#include "platform/gl/BitmapFont.h"

#include <QDebug>
#include <QDirIterator>
#include <QFileInfo>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace nupo {

namespace {

// Finds a font file by name in the usual system font folders.
QString findFontFile(const QString& fileName)
{
    const QStringList folders = {QStringLiteral("/usr/share/fonts/truetype/liberation2"),
                                 QStringLiteral("/usr/share/fonts/truetype/liberation"),
                                 QStringLiteral("/usr/share/fonts"),
                                 QStringLiteral("/usr/local/share/fonts")};
    for (const QString& folder : folders) {
        const QFileInfo direct(folder + QLatin1Char('/') + fileName);
        if (direct.isFile())
            return direct.filePath();
    }
    for (const QString& folder : folders) {
        QDirIterator it(folder, {fileName}, QDir::Files, QDirIterator::Subdirectories);
        if (it.hasNext())
            return it.next();
    }
    return {};
}

BitmapFont::Glyph glyphFromSlot(FT_GlyphSlot slot)
{
    const FT_Bitmap& bitmap = slot->bitmap;
    BitmapFont::Glyph glyph;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.xorig = static_cast<float>(-slot->bitmap_left);
    glyph.yorig = static_cast<float>(glyph.height - slot->bitmap_top);
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    const int rowBytes = (glyph.width + 7) / 8;
    glyph.bits.assign(static_cast<size_t>(rowBytes) * glyph.height, 0);
    const int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    for (int row = 0; row < glyph.height; ++row) {
        // FreeType's rows run top-down (for a positive pitch), glBitmap's bottom-up.
        const int sourceRow = bitmap.pitch < 0 ? glyph.height - 1 - row : row;
        const unsigned char* source = bitmap.buffer + static_cast<size_t>(sourceRow) * pitch;
        std::uint8_t* target = glyph.bits.data() + static_cast<size_t>(glyph.height - 1 - row) * rowBytes;
        for (int byte = 0; byte < rowBytes; ++byte)
            target[byte] = source[byte];
    }
    return glyph;
}

}  // namespace

const BitmapFont& BitmapFont::face(GlutBitmapFont font)
{
    static const BitmapFont helvetica10(QStringLiteral("LiberationSans-Regular.ttf"), 10);
    static const BitmapFont helvetica12(QStringLiteral("LiberationSans-Regular.ttf"), 12);
    static const BitmapFont helvetica18(QStringLiteral("LiberationSans-Regular.ttf"), 18);
    static const BitmapFont times10(QStringLiteral("LiberationSerif-Regular.ttf"), 10);
    static const BitmapFont times24(QStringLiteral("LiberationSerif-Regular.ttf"), 24);
    switch (font) {
        case GLUT_BITMAP_HELVETICA_10:
            return helvetica10;
        case GLUT_BITMAP_HELVETICA_12:
            return helvetica12;
        case GLUT_BITMAP_HELVETICA_18:
            return helvetica18;
        case GLUT_BITMAP_TIMES_ROMAN_10:
            return times10;
        case GLUT_BITMAP_TIMES_ROMAN_24:
            return times24;
    }
    return helvetica12;
}

BitmapFont::BitmapFont(const QString& fileName, int pixelSize) : pixelSize_(pixelSize)
{
    const QString path = findFontFile(fileName);
    if (path.isEmpty()) {
        error_ = QStringLiteral("font file %1 not found (package fonts-liberation2)").arg(fileName);
        qWarning().noquote() << "BitmapFont:" << error_;
        return;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        error_ = QStringLiteral("FreeType cannot start");
        qWarning().noquote() << "BitmapFont:" << error_;
        return;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.toLocal8Bit().constData(), 0, &face) != 0 ||
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        error_ = QStringLiteral("cannot read font file %1").arg(path);
        qWarning().noquote() << "BitmapFont:" << error_;
        if (face)
            FT_Done_Face(face);
        FT_Done_FreeType(library);
        return;
    }
    for (int c = firstCharacter; c <= lastCharacter; ++c) {
        if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
            continue;
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        const bool empty = bitmap.width == 0 || bitmap.rows == 0;
        if (empty || bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
            glyphs_[c - firstCharacter] = glyphFromSlot(face->glyph);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    loaded_ = true;
}

const BitmapFont::Glyph* BitmapFont::glyph(unsigned char c) const
{
    if (!loaded_ || c < firstCharacter || c > lastCharacter)
        return nullptr;
    return &glyphs_[c - firstCharacter];
}

}  // namespace nupo
