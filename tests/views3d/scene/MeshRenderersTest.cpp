#include "SceneTestSupport.h"
#include "platform/gl/ColorTables.h"
#include "plots/settings/DisplaySettings.h"
#include "views3d/scene/gl/Materials.h"
#include "views3d/scene/gl/MeshRenderers.h"

using namespace nupo;
using namespace nupo::scenetest;

namespace {

QX3DSpectrumMesh& mesh()
{
    return QX3DSpectrumMesh::sharedQX3DSpectrumMesh();
}

class MeshRenderers : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2.0, 66.0, -2.0, 66.0, -100.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    static void flatGrid(int n, float level)
    {
        for (auto& row : mesh().heights(n))
            row.fill(level);
        mesh().getFaceNorms(n);
        mesh().getVertNorms();
    }

    static int triangles(const std::function<void()>& draw)
    {
        return countOf(feedback(draw), GL_POLYGON_TOKEN);
    }
};

}  // namespace

TEST_F(MeshRenderers, PrimitivesOfEachModeAtGrid16)
{
    glDisable(GL_CULL_FACE);
    grid = 16;
    flatGrid(3, 2.0f);
    // Smooth shaded always draws 63 strips of `grid` columns; the back pass doubles them.
    DrawBothside = 1;
    EXPECT_EQ(triangles([] { drawSmoothShaded(3, 0, 0, 4, 1, 1); }), 2 * 63 * 30);
    DrawBothside = 0;
    EXPECT_EQ(triangles([] { drawSmoothShaded(3, 0, 0, 4, 1, 1); }), 63 * 30);
    // The others draw grid - 1 strips.
    EXPECT_EQ(triangles([] { drawFlatShaded(3); }), 15 * 30);
    EXPECT_EQ(triangles([] { drawTextured(3); }), 2 * 15 * 30);
    const auto lines = feedback([] { drawWireframe(3); });
    EXPECT_EQ(countOf(lines, GL_LINE_TOKEN), 2 * 16 * 15);
    const auto hidden = feedback([] { drawHiddenLine(3); });
    EXPECT_EQ(countOf(hidden, GL_POLYGON_TOKEN), 15 * 30);
    EXPECT_GE(countOf(hidden, GL_LINE_TOKEN), 15 * 30);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint polygonMode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL);

    // Grid numbers outside each renderer's range draw nothing.
    for (int n : {-1, 20, 27, 31})
        EXPECT_TRUE(feedback([&] {
                        drawWireframe(n);
                        drawFlatShaded(n);
                        drawHiddenLine(n);
                        drawTextured(n);
                    }).empty())
            << n;
    EXPECT_EQ(triangles([] { drawSmoothShaded(28, 0, 0, 4, 1, 1); }), 0);
    // Grid 30: one zero-area strip along the y axis.
    for (const Primitive& p : feedback([] { drawSmoothShaded(30, 0, 0, 4, 1, 1); }))
        for (const auto& v : p.vertices)
            EXPECT_NEAR(v[0], project(0, 0, 0)[0], 0.01);
}

TEST_F(MeshRenderers, FlatPowerGridsLieOnTheBaseLevel)
{
    glDisable(GL_CULL_FACE);
    grid = 64;
    flatGrid(0, 9.0f);
    flatGrid(20, 0.1f);
    const auto ps = feedback([] { drawSmoothShaded(20, 0, 0, 0, 1, 1); });
    ASSERT_FALSE(ps.empty());
    for (const Primitive& p : ps)
        for (const auto& v : p.vertices)
            ASSERT_NEAR(v[2], project(0, 0, 0.1)[2], 1e-4);
}

TEST_F(MeshRenderers, SmoothShadedColoursByHeightAndShowsTheUndersideOnRequest)
{
    grid = 64;
    reInitColorX();
    auto& g = mesh().heights(1);
    for (int i = 0; i < 64; ++i)
        g[i].fill(i < 32 ? 0.0f : 6.0f);
    mesh().getFaceNorms(1);
    mesh().getVertNorms();
    setBSMaterialX = 1;
    DrawBothside = 1;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawSmoothShaded(1, 0, 0, 3, 1.0f, 1.0f);
    const QImage image = pixels();
    // Palette 1: height 0 is blue (entry 36), height 6 green (entry 96).
    const std::vector<std::array<float, 3>> hues = {{0, 0, 1}, {2.0f / 65, 62.0f / 65, 0}};
    EXPECT_EQ(nearestHue(pixelAt(image, project(10, 32, 0)[0], project(10, 32, 0)[1]), hues), 0);
    EXPECT_EQ(nearestHue(pixelAt(image, project(50, 32, 6)[0], project(50, 32, 6)[1]), hues), 1);

    // Texture mode 2 sets no vertex colour: both halves keep the preset's own colour.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawSmoothShaded(1, 2, 0, 3, 1.0f, 1.0f);
    const QImage plain = pixels();
    const QRgb low = pixelAt(plain, project(10, 32, 0)[0], project(10, 32, 0)[1]);
    const QRgb high = pixelAt(plain, project(50, 32, 6)[0], project(50, 32, 6)[1]);
    EXPECT_NE(low, pixelAt(image, project(10, 32, 0)[0], project(10, 32, 0)[1]));
    EXPECT_GE(qBlue(high), qGreen(high));  // diffuse (0.1, 0.5, 0.8)
    EXPECT_GE(qGreen(high), qRed(high));
    EXPECT_GE(qBlue(low), qRed(low));

    // Seen from below, only the back pass shows the surface.
    glLoadIdentity();
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(-64.0f, 0.0f, 0.0f);
    const auto litBelow = [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawSmoothShaded(1, 0, 0, 3, 1.0f, 1.0f);
        const QImage below = pixels();
        int lit = 0;
        for (int y = 0; y < below.height(); y += 4)
            for (int x = 0; x < below.width(); x += 4)
                lit += !isBackground(below.pixel(x, y));
        return lit;
    };
    EXPECT_GT(litBelow(), 2000);
    DrawBothside = 0;
    EXPECT_LT(litBelow(), 200);  // at most the last strip's additive glass
}

TEST(MeshShade, ColumnColouringShadeRule)
{
    EXPECT_TRUE(directShade(0, 0, 6));
    EXPECT_FALSE(directShade(0, 0, 5));
    EXPECT_FALSE(directShade(21, 1, 6));
    EXPECT_TRUE(directShade(12, 0, 0));
    EXPECT_TRUE(directShade(3, 0, 0));
    EXPECT_FALSE(directShade(24, 1, 0));
    EXPECT_TRUE(directShade(7, 1, 0));
    EXPECT_FALSE(directShade(27, 0, 0));
    EXPECT_FALSE(directShade(40, 1, 0));
}

namespace {

// The smooth-shaded surface drawn vertex by vertex with a material call per vertex, as the renderer's
// rules give it: the reference the renderer's faster drawing must match pixel for pixel.
void referenceSmoothShaded(int N, int textureMode, float PColor)
{
    auto& g = mesh().heights(N);
    const int columns = grid;
    const auto vertex = [&](int r, int j) {
        if (textureMode == 0)
            groen_CtextureNX(int(g[r][j] * 10.0f + ColorOffsetBSMixSliderX), int(PColor));
        else if (textureMode == 1)
            groen_CBtextureNX(int(float(columns - 1 - j) * ColorGainBSMixSliderX), 100 - int(g[r][j] * 10.0f),
                              int(PColor));
        glNormal3fv(mesh().vertNorms[r][j]);
        glVertex3f(float(r), float(j), g[r][j]);
    };
    setMaterial(setBSMaterialX);
    for (int pass = 0; pass < (DrawBothside ? 2 : 1); ++pass)
        for (int i = 0; i < 63; ++i) {
            if (i == 62 && (pass == 1 || !DrawBothside))
                setMaterial(5);
            glBegin(GL_TRIANGLE_STRIP);
            for (int j = 0; j < columns; ++j) {
                vertex(pass == 0 ? i : i + 1, j);
                vertex(pass == 0 ? i + 1 : i, j);
            }
            glEnd();
        }
    setMaterial(setBSMaterialX);
}

}  // namespace

TEST_F(MeshRenderers, SmoothShadedMatchesTheVertexByVertexDrawing)
{
    grid = 64;
    reInitColorX();
    auto& g = mesh().heights(1);
    for (int i = 0; i < 64; ++i)
        for (int j = 0; j < 64; ++j)
            g[i][j] = float(4.0 + 4.0 * std::sin(i * 0.2) * std::cos(j * 0.15));
    mesh().getFaceNorms(1);
    mesh().getVertNorms();
    glLoadIdentity();
    glRotatef(-50.0f, 1.0f, 0.0f, 0.0f);
    const auto image = [&](const std::function<void()>& draw) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor4f(0.3f, 0.6f, 0.9f, 1.0f);  // the glass strip takes its ambient from the current colour
        draw();
        // A glass floor drawn afterwards shows the current colour that the surface left.
        setMaterial(8);
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        glVertex3f(-2, -2, -1);
        glVertex3f(66, -2, -1);
        glVertex3f(66, 66, -1);
        glVertex3f(-2, 66, -1);
        glEnd();
        setMaterial(setBSMaterialX);
        return pixels();
    };
    for (int textureMode : {0, 1, 2})
        for (int both : {0, 1})
            for (int material : {3, 6}) {
                DrawBothside = both;
                setBSMaterialX = material;
                const QImage expected = image([&] { referenceSmoothShaded(1, textureMode, 2.0f); });
                const QImage drawn = image([&] { drawSmoothShaded(1, textureMode, 0, 3, 2.0f, 2.0f); });
                EXPECT_EQ(differingPixels(expected, drawn), 0)
                    << "texture mode " << textureMode << ", both sides " << both << ", material " << material;
            }
}

namespace {

// The line, hidden-line, flat-shaded and textured modes drawn strip by strip in immediate mode: the
// references the renderers' array drawing must match pixel for pixel.
void referenceStrip(int i, int n, bool swapped, const std::function<void(int, int)>& vertexAt)
{
    glBegin(GL_TRIANGLE_STRIP);
    for (int j = 0; j < n; ++j) {
        vertexAt(swapped ? i + 1 : i, j);
        vertexAt(swapped ? i : i + 1, j);
    }
    glEnd();
}

void referenceMode(int mode, int N)
{
    auto& g = mesh().heights(N);
    const int n = grid;
    const auto position = [&](int r, int j) { glVertex3f(float(r), float(j), g[r][j]); };
    if (mode == 0) {
        glColor3f(1.0f, 1.0f, 1.0f);
        for (int i = 0; i < n; ++i) {
            glBegin(GL_LINE_STRIP);
            for (int j = 0; j < n; ++j)
                position(i, j);
            glEnd();
        }
        for (int j = 0; j < n; ++j) {
            glBegin(GL_LINE_STRIP);
            for (int i = 0; i < n; ++i)
                position(i, j);
            glEnd();
        }
    } else if (mode == 1) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glColor3f(0.8f, 0.2f, 0.8f);
        for (int i = 0; i < n - 1; ++i)
            referenceStrip(i, n, false, position);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glColor3f(1.0f, 1.0f, 1.0f);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        for (int i = 0; i < n - 1; ++i)
            referenceStrip(i, n, false, position);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    } else if (mode == 2) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glColor3f(0.8f, 0.2f, 0.8f);
        for (int i = 0; i < n - 1; ++i) {
            glBegin(GL_TRIANGLE_STRIP);
            position(i, 0);
            position(i + 1, 0);
            for (int j = 1; j < n; ++j) {
                glNormal3fv(mesh().faceNorms[0][i][j - 1]);
                position(i, j);
                glNormal3fv(mesh().faceNorms[1][i][j - 1]);
                position(i + 1, j);
            }
            glEnd();
        }
        glDisable(GL_POLYGON_OFFSET_FILL);
    } else {
        const auto textured = [&](int r, int j) {
            glNormal3fv(mesh().vertNorms[r][j]);
            glTexCoord2fv(mesh().texCoords[r][j]);
            position(r, j);
        };
        glColor3f(1.0f, 1.0f, 1.0f);
        glEnable(GL_TEXTURE_2D);
        for (bool swapped : {false, true})
            for (int i = 0; i < n - 1; ++i)
                referenceStrip(i, n, swapped, textured);
        glDisable(GL_TEXTURE_2D);
    }
}

}  // namespace

TEST_F(MeshRenderers, LineHiddenLineFlatAndTexturedModesMatchTheStripByStripDrawing)
{
    reInitColorX();
    // Stripes of different widths across and along, so that wrong or swapped texture coordinates show.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    std::vector<GLubyte> checker(32 * 32 * 4);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            for (int c = 0; c < 4; ++c)
                checker[std::size_t((y * 32 + x) * 4 + c)] = GLubyte(c == 0   ? (x / 4) % 2 * 200
                                                                     : c == 1 ? (y / 8) % 2 * 200
                                                                              : 255);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 32, 32, 0, GL_RGBA, GL_UNSIGNED_BYTE, checker.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(64.0, 640.0 / 480.0, 1.0, 500.0);
    glMatrixMode(GL_MODELVIEW);
    const auto image = [&](const std::function<void()>& draw) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glNormal3f(0.0f, 0.0f, -1.0f);  // the lines and the hidden-line fill are lit with the current normal
        glTexCoord2f(0.3f, 0.7f);
        draw();
        // What the renderer leaves as the current attributes shows on a quad that sets none, lit and
        // drawn over the middle of the picture.
        glPushMatrix();
        glLoadIdentity();
        const GLboolean lit = glIsEnabled(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        for (float x : {-2.0f, 0.0f}) {  // textured, then lit only
            if (x < 0.0f)
                glEnable(GL_TEXTURE_2D);
            glBegin(GL_QUADS);
            glVertex3f(x, -1, -10);
            glVertex3f(x + 2, -1, -10);
            glVertex3f(x + 2, 1, -10);
            glVertex3f(x, 1, -10);
            glEnd();
            glDisable(GL_TEXTURE_2D);
        }
        glEnable(GL_DEPTH_TEST);
        if (!lit)
            glDisable(GL_LIGHTING);
        glPopMatrix();
        return pixels();
    };
    // Mesa lights the first lines drawn after the fixture's set-up with state it applies late; one
    // drawing first settles it for both sides of the comparison.
    image([] { referenceMode(0, 2); });
    for (int side : {64, 32}) {
        grid = side;
        mesh().getTexCoords();
        auto& g = mesh().heights(2);
        for (int i = 0; i < 64; ++i)
            for (int j = 0; j < 64; ++j)
                g[i][j] = float(3.0 + 3.0 * std::sin(i * 0.3) * std::cos(j * 0.2));
        mesh().getFaceNorms(2);
        mesh().getVertNorms();
        for (float tilt : {-55.0f, 70.0f, 180.0f + 40.0f}) {
            glLoadIdentity();
            glTranslatef(0.0f, 0.0f, -70.0f);
            glRotatef(tilt, 1.0f, 0.0f, 0.0f);
            glRotatef(30.0f, 0.0f, 0.0f, 1.0f);
            glTranslatef(-side / 2.0f, -side / 2.0f, 0.0f);
            for (int mode : {0, 1, 2, 4}) {
                setDisplayn(mode);  // the shade model and lighting of the mode
                const QImage expected = image([&] { referenceMode(mode, 2); });
                const QImage drawn = image([&] {
                    if (mode == 0)
                        drawWireframe(2);
                    else if (mode == 1)
                        drawHiddenLine(2);
                    else if (mode == 2)
                        drawFlatShaded(2);
                    else
                        drawTextured(2);
                });
                EXPECT_EQ(differingPixels(expected, drawn), 0)
                    << "mode " << mode << ", grid " << side << ", tilt " << tilt;
            }
        }
    }
    setDisplayn(3);
    glDeleteTextures(1, &texture);
}
