#include "platform/gl/Glut.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace nupo {

namespace {

// Unpack state of the glyph bitmaps: rows packed tight, most significant bit first. The caller's pixel-store
// state is saved before and restored after.
void beginGlyphs()
{
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

void endGlyphs()
{
    glPopClientAttrib();
}

void drawGlyph(const BitmapFont::Glyph& glyph)
{
    glBitmap(glyph.width, glyph.height, glyph.xorig, glyph.yorig, static_cast<GLfloat>(glyph.advance), 0.0f,
             glyph.bits.empty() ? nullptr : glyph.bits.data());
}

}  // namespace

void glutBitmapCharacter(GlutBitmapFont font, int c)
{
    if (c < 0 || c > 255)
        return;
    const BitmapFont::Glyph* glyph = BitmapFont::face(font).glyph(static_cast<unsigned char>(c));
    if (!glyph)
        return;
    beginGlyphs();
    drawGlyph(*glyph);
    endGlyphs();
}

namespace {

// Where glBitmap puts the lower left pixel of a bitmap with origin `origin` from raster coordinate
// `raster`: the same single-precision sum (with the small offset that keeps whole raster positions on
// their pixel) and floor.
int bitmapPixel(float raster, float origin)
{
    return static_cast<int>(std::floor(raster + 0.0001f - origin));
}

// One string's glyphs merged into one bitmap, in glBitmap's layout; reused between strings so that
// drawing text allocates nothing once the buffer has grown.
struct StringBitmap {
    const char* firstInk = nullptr;  // the character whose glyph anchors the bitmap; null: no ink
    int width = 0;
    int height = 0;
    float xorig = 0;
    float yorig = 0;
    std::vector<GLubyte> bits;
};

// At least this many rows: the GL (Mesa) gathers lower bitmaps in a cache of 512 x 32 pixels that it
// draws whole, so a label of a few characters would cost the rasteriser 16,384 pixels; a taller bitmap is
// drawn at its own size.
constexpr int minimumStringRows = 33;

// Merges the glyphs of `text` as glBitmap would place them one after another from the raster position
// (x, y), each at its own pixel. False when the first glyph with ink is not the leftmost one, which one
// bitmap anchored where that glyph goes cannot show.
bool composeString(const BitmapFont& face, const char* text, float x, float y, StringBitmap& out)
{
    struct Placed {
        const BitmapFont::Glyph* glyph;
        int column, row;
    };
    thread_local std::vector<Placed> placed;
    placed.clear();
    out.firstInk = nullptr;
    int left = 0, right = 0, bottom = 0, top = 0;
    const BitmapFont::Glyph* lowest = nullptr;
    bool first = true;
    for (const char* p = text; *p; ++p) {
        const BitmapFont::Glyph* glyph = face.glyph(static_cast<unsigned char>(*p));
        if (!glyph)
            continue;
        if (glyph->width > 0 && glyph->height > 0) {
            const Placed at{glyph, bitmapPixel(x, glyph->xorig), bitmapPixel(y, glyph->yorig)};
            if (first) {
                out.firstInk = p;
                left = right = at.column;
                bottom = top = at.row;
                lowest = glyph;
                first = false;
            } else if (at.column < left) {
                return false;
            }
            right = std::max(right, at.column + glyph->width);
            top = std::max(top, at.row + glyph->height);
            if (at.row < bottom) {
                bottom = at.row;
                lowest = glyph;
            }
            placed.push_back(at);
        }
        x += static_cast<float>(glyph->advance);
    }
    out.width = right - left;
    out.height = std::max(top - bottom, minimumStringRows);
    if (placed.empty())
        return true;
    // Anchored where the first inked glyph's column and the lowest glyph's row go, with those glyphs'
    // own origins: drawn when the raster position has reached the first inked glyph, the GL computes
    // those two places exactly as it does for the glyphs alone.
    out.xorig = placed.front().glyph->xorig;
    out.yorig = lowest->yorig;
    const int rowBytes = (out.width + 7) / 8;
    out.bits.assign(static_cast<std::size_t>(rowBytes) * out.height, 0);
    for (const Placed& at : placed) {
        const BitmapFont::Glyph& glyph = *at.glyph;
        const int glyphBytes = (glyph.width + 7) / 8;
        const int dx = at.column - left;
        const int shift = dx % 8;
        // The bits past the glyph's width in its last byte are not part of it.
        const int usedInLast = glyph.width % 8;
        const GLubyte lastMask = usedInLast == 0 ? 0xff : static_cast<GLubyte>(0xff << (8 - usedInLast));
        for (int r = 0; r < glyph.height; ++r) {
            GLubyte* target =
                out.bits.data() + static_cast<std::size_t>(at.row - bottom + r) * rowBytes + dx / 8;
            const std::uint8_t* source = glyph.bits.data() + static_cast<std::size_t>(r) * glyphBytes;
            for (int b = 0; b < glyphBytes; ++b) {
                const GLubyte byte = b == glyphBytes - 1 ? (source[b] & lastMask) : source[b];
                target[b] |= static_cast<GLubyte>(byte >> shift);
                if (shift != 0 && dx / 8 + b + 1 < rowBytes)
                    target[b + 1] |= static_cast<GLubyte>(byte << (8 - shift));
            }
        }
    }
    return true;
}

// Whether a pixel drawn twice in the current state ends up other than drawn once: blending, a logic op or
// the stencil test. The GL (Mesa) draws bitmaps that follow one another at one depth in one colour as
// one, so labels that overlap are drawn once where they overlap; one bitmap per string keeps that only
// where drawing twice changes nothing.
bool drawsOverlapsTwice()
{
    return glIsEnabled(GL_BLEND) || glIsEnabled(GL_COLOR_LOGIC_OP) || glIsEnabled(GL_STENCIL_TEST);
}

}  // namespace

void glutBitmapString(GlutBitmapFont font, const char* text)
{
    if (!text || !*text)
        return;
    const BitmapFont& face = BitmapFont::face(font);
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    GLfloat raster[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    thread_local StringBitmap merged;
    beginGlyphs();
    if (valid && renderMode == GL_RENDER && !drawsOverlapsTwice() &&
        composeString(face, text, raster[0], raster[1], merged)) {
        // Every character's move on its own, so that the raster position goes through the same values
        // as with the characters one by one; the ink in one bitmap that does not move it, drawn where the
        // anchoring character's glyph would be.
        for (const char* p = text; *p; ++p) {
            const BitmapFont::Glyph* glyph = face.glyph(static_cast<unsigned char>(*p));
            if (!glyph)
                continue;
            if (p == merged.firstInk)
                glBitmap(merged.width, merged.height, merged.xorig, merged.yorig, 0.0f, 0.0f,
                         merged.bits.data());
            glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(glyph->advance), 0.0f, nullptr);
        }
    } else {
        for (const char* p = text; *p; ++p) {
            if (const BitmapFont::Glyph* glyph = face.glyph(static_cast<unsigned char>(*p)))
                drawGlyph(*glyph);
        }
    }
    endGlyphs();
}

int glutBitmapWidth(GlutBitmapFont font, int c)
{
    if (c < 0 || c > 255)
        return 0;
    const BitmapFont::Glyph* glyph = BitmapFont::face(font).glyph(static_cast<unsigned char>(c));
    return glyph ? glyph->advance : 0;
}

int glutBitmapLength(GlutBitmapFont font, const char* text)
{
    int length = 0;
    for (const char* p = text; p && *p; ++p)
        length += glutBitmapWidth(font, static_cast<unsigned char>(*p));
    return length;
}

namespace {

// The six faces of a cube of half edge h centred at `centre`, as GL_QUADS vertices.
void emitCube(double h, const double centre[3])
{
    // Each face: its outward normal n and two edge directions u, v with u x v = n, so the corners
    // -u-v, +u-v, +u+v, -u+v run counter-clockwise seen from outside.
    struct Face {
        double n[3], u[3], v[3];
    };
    static const Face faces[6] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, -1, 0}, {0, 0, 1}, {-1, 0, 0}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {1, 0, 0}, {0, -1, 0}},
    };
    static const double corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const Face& face : faces) {
        glNormal3d(face.n[0], face.n[1], face.n[2]);
        for (const auto& corner : corners) {
            double p[3];
            for (int k = 0; k < 3; ++k)
                p[k] = centre[k] + h * (face.n[k] + corner[0] * face.u[k] + corner[1] * face.v[k]);
            glVertex3dv(p);
        }
    }
}

}  // namespace

void glutSolidCube(double size)
{
    static const double origin[3] = {0, 0, 0};
    glBegin(GL_QUADS);
    emitCube(size / 2.0, origin);
    glEnd();
}

void drawSolidCubesAt(double size, const float (*centres)[3], int count)
{
    if (count <= 0)
        return;
    glBegin(GL_QUADS);
    for (int c = 0; c < count; ++c) {
        const double centre[3] = {centres[c][0], centres[c][1], centres[c][2]};
        emitCube(size / 2.0, centre);
    }
    glEnd();
}

void glutSolidTorus(double innerRadius, double outerRadius, int sides, int rings)
{
    if (sides < 3 || rings < 3)
        return;
    const double twoPi = 2.0 * std::numbers::pi;
    // Point and normal at ring angle theta (round the z axis) and side angle phi (round the tube). The
    // parametrisation is right-handed, so stepping theta before phi winds the quads counter-clockwise
    // seen from outside.
    auto torusVertex = [&](int ring, int side) {
        const double theta = twoPi * (ring % rings) / rings;
        const double phi = twoPi * (side % sides) / sides;
        const double nx = std::cos(phi) * std::cos(theta);
        const double ny = std::cos(phi) * std::sin(theta);
        const double nz = std::sin(phi);
        const double distance = outerRadius + innerRadius * std::cos(phi);
        glNormal3d(nx, ny, nz);
        glVertex3d(distance * std::cos(theta), distance * std::sin(theta), innerRadius * nz);
    };
    for (int ring = 0; ring < rings; ++ring) {
        glBegin(GL_QUAD_STRIP);
        for (int side = 0; side <= sides; ++side) {
            torusVertex(ring, side);
            torusVertex(ring + 1, side);
        }
        glEnd();
    }
}

void glutSolidTetrahedron()
{
    static const double corners[4][3] = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
    glBegin(GL_TRIANGLES);
    for (int opposite = 0; opposite < 4; ++opposite) {
        // The face opposite a corner faces away from it; its corners are taken in counter-clockwise order
        // seen from outside.
        int face[3];
        int n = 0;
        for (int k = 0; k < 4; ++k) {
            if (k != opposite)
                face[n++] = k;
        }
        const double* a = corners[face[0]];
        const double* b = corners[face[1]];
        const double* c = corners[face[2]];
        const double ab[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const double ac[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const double cross[3] = {ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2],
                                 ab[0] * ac[1] - ab[1] * ac[0]};
        const double* o = corners[opposite];
        if (cross[0] * o[0] + cross[1] * o[1] + cross[2] * o[2] > 0)
            std::swap(b, c);
        const double length = std::sqrt(3.0);
        glNormal3d(-o[0] / length, -o[1] / length, -o[2] / length);
        glVertex3dv(a);
        glVertex3dv(b);
        glVertex3dv(c);
    }
    glEnd();
}

void glutSwapBuffers()
{
    glFlush();
}

}  // namespace nupo
