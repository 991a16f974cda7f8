#include "platform/gl/Glut.h"
#include "platform/gl/OffscreenGLContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace nupo {
namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 60;

// Ink bounds of a rendered image in GL coordinates (y up).
struct Ink {
    int left = kWidth, right = -1, bottom = kHeight, top = -1, count = 0;
    int height() const { return top - bottom + 1; }
};

class BitmapText : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(context_.isValid()) << context_.errorString().toStdString(); }

    // Makes the context current with one unit a pixel, the origin at the bottom left.
    void useWindowCoordinates()
    {
        context_.makeCurrent();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, 0, kHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    // Draws the characters from raster position (x, y) in white on black and returns the image.
    QImage draw(GlutBitmapFont font, const std::string& text, int x = 20, int y = 20)
    {
        return drawAt(font, text, x + 0.25f, y + 0.25f, false);
    }

    // The same from any raster position, one character at a time or as one string.
    QImage drawAt(GlutBitmapFont font, const std::string& text, float x, float y, bool asString)
    {
        useWindowCoordinates();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glRasterPos2f(x, y);
        if (asString) {
            glutBitmapString(font, text.c_str());
        } else {
            for (unsigned char c : text)
                glutBitmapCharacter(font, c);
        }
        return context_.readPixels();
    }

    static Ink inkOf(const QImage& image)
    {
        Ink ink;
        for (int row = 0; row < image.height(); ++row) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, row);
                if (pixel == qRgb(0, 0, 0))
                    continue;
                EXPECT_EQ(pixel, qRgb(255, 255, 255));  // 1-bit glyphs in the raster colour
                const int y = image.height() - 1 - row;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.bottom = std::min(ink.bottom, y);
                ink.top = std::max(ink.top, y);
                ++ink.count;
            }
        }
        return ink;
    }

    OffscreenGLContext context_{QSize(kWidth, kHeight)};
};

TEST_F(BitmapText, CharactersSitOnTheBaselineAtTheRasterPosition)
{
    for (GlutBitmapFont font : {GLUT_BITMAP_HELVETICA_10, GLUT_BITMAP_HELVETICA_12, GLUT_BITMAP_HELVETICA_18,
                                GLUT_BITMAP_TIMES_ROMAN_10, GLUT_BITMAP_TIMES_ROMAN_24}) {
        SCOPED_TRACE(font);
        const Ink capital = inkOf(draw(font, "H"));
        ASSERT_GT(capital.count, 0);
        EXPECT_EQ(capital.bottom, 20);
        EXPECT_GE(capital.left, 20);
        EXPECT_LE(capital.left, 22);
        const Ink descender = inkOf(draw(font, "g"));
        EXPECT_LT(descender.bottom, 20);
    }
}

TEST_F(BitmapText, FacesHaveTheirSizesAndStyles)
{
    const int h10 = inkOf(draw(GLUT_BITMAP_HELVETICA_10, "H")).height();
    const int h12 = inkOf(draw(GLUT_BITMAP_HELVETICA_12, "H")).height();
    const int h18 = inkOf(draw(GLUT_BITMAP_HELVETICA_18, "H")).height();
    const int t10 = inkOf(draw(GLUT_BITMAP_TIMES_ROMAN_10, "H")).height();
    const int t24 = inkOf(draw(GLUT_BITMAP_TIMES_ROMAN_24, "H")).height();
    // Capital height is about 0.7 of the pixel size in both families.
    EXPECT_NEAR(h10, 7, 1);
    EXPECT_NEAR(h12, 9, 1);
    EXPECT_NEAR(h18, 13, 1);
    EXPECT_NEAR(t10, 7, 1);
    EXPECT_NEAR(t24, 16, 1);
    EXPECT_LT(h10, h12);
    EXPECT_LT(h12, h18);
    // The serif face is a different design from the sans face of the same size.
    EXPECT_NE(draw(GLUT_BITMAP_TIMES_ROMAN_10, "R"), draw(GLUT_BITMAP_HELVETICA_10, "R"));
    // Proportional faces: "i" is narrower than "W".
    EXPECT_LT(glutBitmapWidth(GLUT_BITMAP_HELVETICA_12, 'i'), glutBitmapWidth(GLUT_BITMAP_HELVETICA_12, 'W'));
}

TEST_F(BitmapText, RasterPositionAdvancesByTheCharacterWidth)
{
    const GlutBitmapFont font = GLUT_BITMAP_HELVETICA_18;
    const int advance = glutBitmapWidth(font, 'A');
    ASSERT_GT(advance, 0);
    // "AB" drawn in one run equals "B" drawn alone one advance further right, over "A" alone.
    const QImage together = draw(font, "AB");
    const QImage first = draw(font, "A");
    const QImage second = draw(font, "B", 20 + advance);
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inked = first.pixel(x, row) != qRgb(0, 0, 0) || second.pixel(x, row) != qRgb(0, 0, 0);
            ASSERT_EQ(together.pixel(x, row) != qRgb(0, 0, 0), inked) << x << "," << row;
        }
    }
    EXPECT_EQ(glutBitmapLength(font, "AB"), advance + glutBitmapWidth(font, 'B'));
    EXPECT_EQ(glutBitmapLength(font, nullptr), 0);
    // A space has width but no ink.
    EXPECT_GT(glutBitmapWidth(font, ' '), 0);
    EXPECT_EQ(inkOf(draw(font, " ")).count, 0);
}

TEST_F(BitmapText, CharactersOutsidePrintableAsciiDrawNothingAndDoNotMove)
{
    const GlutBitmapFont font = GLUT_BITMAP_TIMES_ROMAN_24;
    for (int c : {0, 9, 31, 127, 200, 255, -1, 300})
        EXPECT_EQ(glutBitmapWidth(font, c), 0) << c;
    EXPECT_EQ(draw(font, std::string("\t\x7f\xc8") + "x"), draw(font, "x"));
    glutBitmapCharacter(font, -5);
    glutBitmapCharacter(font, 1000);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapText, AStringDrawsTheSamePixelsAsItsCharactersOneByOne)
{
    std::string printable;
    for (int c = 32; c <= 126; ++c)
        printable += static_cast<char>(c);
    for (GlutBitmapFont font : {GLUT_BITMAP_HELVETICA_10, GLUT_BITMAP_HELVETICA_12, GLUT_BITMAP_HELVETICA_18,
                                GLUT_BITMAP_TIMES_ROMAN_10, GLUT_BITMAP_TIMES_ROMAN_24}) {
        SCOPED_TRACE(font);
        // The whole character set in pieces that fit the image, from whole and fractional raster positions,
        // with characters that draw nothing among them; and a string starting left of the image.
        const int piece = font == GLUT_BITMAP_TIMES_ROMAN_24 || font == GLUT_BITMAP_HELVETICA_18 ? 12 : 24;
        for (std::size_t first = 0; first < printable.size(); first += piece) {
            const std::string text = printable.substr(first, piece) + "\t\x7f" + "x";
            for (float x : {3.0f, 5.5f, 7.75f}) {
                SCOPED_TRACE(text + " at " + std::to_string(x));
                EXPECT_EQ(drawAt(font, text, x, 20.25f, true), drawAt(font, text, x, 20.25f, false));
            }
        }
        EXPECT_EQ(drawAt(font, "Wide Margin", -15.5f, 30.5f, true),
                  drawAt(font, "Wide Margin", -15.5f, 30.5f, false));
        EXPECT_EQ(drawAt(font, "", 10, 10, true), drawAt(font, "", 10, 10, false));
    }
    glutBitmapString(GLUT_BITMAP_HELVETICA_12, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapText, AStringMatchesItsCharactersAtAnyRasterPositionDepthAndBlending)
{
    useWindowCoordinates();
    // Over a background and depth-tested against a bar nearer than the text's right half, from raster
    // positions just short of and just past whole pixels, with leading blanks and glyphs of different
    // heights; then a second string from where the first left the raster position, and the first string
    // again over itself from a position one pixel off. Opaque, and blended (where labels that overlap
    // must not be drawn twice over).
    const auto scene = [](GlutBitmapFont font, float x, float y, const char* text, bool blend,
                          bool asString) {
        glClearColor(0.2f, 0.1f, 0.3f, 1);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glColor3f(0.1f, 0.6f, 0.2f);
        glBegin(GL_QUADS);  // at depth 0.25 (z = -0.5), over x 100..200
        glVertex3f(100, 0, 0.5f);
        glVertex3f(200, 0, 0.5f);
        glVertex3f(200, kHeight, 0.5f);
        glVertex3f(100, kHeight, 0.5f);
        glEnd();
        if (blend) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        }
        glColor4f(1.0f, 0.8f, 0.3f, 0.6f);
        const auto output = [&](const char* part) {
            if (asString) {
                glutBitmapString(font, part);
            } else {
                for (const char* p = part; *p; ++p)
                    glutBitmapCharacter(font, static_cast<unsigned char>(*p));
            }
        };
        glRasterPos3f(x, y, 0.0f);  // depth 0.5: behind the bar
        output(text);
        output("Qj|");
        GLfloat raster[4] = {};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
        glRasterPos3f(x + 1.0f, y, 0.0f);
        output(text);
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        return std::make_pair(raster[0], raster[1]);
    };
    for (GlutBitmapFont font :
         {GLUT_BITMAP_HELVETICA_10, GLUT_BITMAP_HELVETICA_18, GLUT_BITMAP_TIMES_ROMAN_24}) {
        for (bool blend : {false, true}) {
            for (float x : {4.99995f, 5.00002f, 63.99999f, 98.7f}) {
                for (const char* text : {"  gW(y)", "ij fl .,", "00:01:02.125"}) {
                    SCOPED_TRACE(std::string(text) + " at " + std::to_string(x) + " in font " +
                                 std::to_string(font) + (blend ? ", blended" : ""));
                    const auto byString = scene(font, x, 20.99997f, text, blend, true);
                    const QImage asString = context_.readPixels();
                    const auto byCharacter = scene(font, x, 20.99997f, text, blend, false);
                    EXPECT_EQ(asString, context_.readPixels());
                    EXPECT_EQ(byString, byCharacter);  // exactly: the next text starts from there
                }
            }
        }
    }
}

TEST_F(BitmapText, AStringFromAnInvalidRasterPositionDrawsNothing)
{
    useWindowCoordinates();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glRasterPos3f(20, 20, 5);  // outside the depth range: the raster position is invalid
    glutBitmapString(GLUT_BITMAP_HELVETICA_18, "Invisible");
    EXPECT_EQ(inkOf(context_.readPixels()).count, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapText, LeavesThePixelUnpackStateAsItWas)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
    draw(GLUT_BITMAP_HELVETICA_12, "Wg");
    drawAt(GLUT_BITMAP_HELVETICA_12, "Wg", 20, 20, true);
    GLint alignment = 0;
    GLint lsbFirst = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_UNPACK_LSB_FIRST, &lsbFirst);
    EXPECT_EQ(alignment, 8);
    EXPECT_EQ(lsbFirst, GL_TRUE);
    // The state did not leak into the glyphs either: same ink as with the default state.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    const QImage plain = draw(GLUT_BITMAP_HELVETICA_12, "Wg");
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
    EXPECT_EQ(draw(GLUT_BITMAP_HELVETICA_12, "Wg"), plain);
    EXPECT_EQ(drawAt(GLUT_BITMAP_HELVETICA_12, "Wg", 20.25f, 20.25f, true), plain);
}

}  // namespace
}  // namespace nupo
