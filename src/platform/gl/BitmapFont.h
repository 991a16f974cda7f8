#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace nupo {

// The five bitmap fonts of the GL text: Helvetica at 10, 12 and 18 pixels and Times Roman at 10 and 24
// pixels, drawn from their metric twins Liberation Sans and Liberation Serif.
enum GlutBitmapFont {
    GLUT_BITMAP_HELVETICA_10,
    GLUT_BITMAP_HELVETICA_12,
    GLUT_BITMAP_HELVETICA_18,
    GLUT_BITMAP_TIMES_ROMAN_10,
    GLUT_BITMAP_TIMES_ROMAN_24
};

// One face rasterised into 1-bit glyph bitmaps for the printable ASCII characters 32 to 126, in the
// layout glBitmap takes: rows bottom-up, most significant bit first, rows padded to whole bytes.
// Each face is rasterised once, on first use, from any thread.
class BitmapFont {
public:
    struct Glyph {
        int width = 0;    // bitmap width in pixels
        int height = 0;   // bitmap height in pixels
        float xorig = 0;  // bitmap origin relative to the raster position (glBitmap's xorig, yorig)
        float yorig = 0;
        int advance = 0;  // pixels the raster position moves right after the character
        std::vector<std::uint8_t> bits;
    };

    static constexpr int firstCharacter = 32;
    static constexpr int lastCharacter = 126;

    static const BitmapFont& face(GlutBitmapFont font);

    // The glyph of character c, or null for characters outside 32..126 or when the font file could not
    // be read.
    const Glyph* glyph(unsigned char c) const;
    int pixelSize() const { return pixelSize_; }
    bool isLoaded() const { return loaded_; }
    QString errorString() const { return error_; }

private:
    BitmapFont(const QString& fileName, int pixelSize);

    std::array<Glyph, lastCharacter - firstCharacter + 1> glyphs_;
    int pixelSize_;
    bool loaded_ = false;
    QString error_;
};

}  // namespace nupo
