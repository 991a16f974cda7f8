#include "platform/gl/Glut.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

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

void glutBitmapString(GlutBitmapFont font, const char* text)
{
    if (!text || !*text)
        return;
    const BitmapFont& face = BitmapFont::face(font);
    beginGlyphs();
    for (const char* p = text; *p; ++p) {
        if (const BitmapFont::Glyph* glyph = face.glyph(static_cast<unsigned char>(*p)))
            drawGlyph(*glyph);
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
