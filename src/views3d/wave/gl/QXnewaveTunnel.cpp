// The tunnel renderer of the wave surface: the sheet drawn four times, as the walls of a square tunnel.

#include "views3d/wave/gl/QXnewave.h"

#include "platform/gl/Glut.h"
#include "platform/gl/MeshShading.h"
#include "views3d/scene/gl/ColorTablesXN.h"
#include "views3d/textures/gl/ShadowApp.h"
#include "views3d/wave/gl/WaveFrameRecorder.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace nupo {

namespace {

// A colour-table index from a height. Heights have no bounds, so the value is kept inside the int range
// before it is truncated toward zero.
int truncatedIndex(double value)
{
    if (!(value > -1.0e9))
        return -1000000000;
    return static_cast<int>(std::min(value, 1.0e9));
}

void vertex(int i, int j, float height)
{
    glVertex3f(static_cast<float>(i), static_cast<float>(j), height);
}

// The sheet of a grid as triangle strips, shown from either side: one pass with back-face culling off
// rather than the strips once in each winding under culling. Lighting is one-sided, so a triangle seen
// from behind is lit as its reversed twin was. `putVertex(i, j)` gives one vertex of row i, column j.
// With `leaveOut`, the rows where leaveOut(triangle, i, j) holds for a triangle of cell (i, j) are drawn
// as separate triangles without those, each with its vertices in the order the strip gives them to GL
// (every second one with its first two swapped), so that the others come out exactly as in the strip.
template <class PutVertex, class LeaveOut>
void drawBothWindings(int grid, const PutVertex& putVertex, const LeaveOut& leaveOut)
{
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    for (int i = 0; i < grid - 1; ++i) {
        int left = 0;
        for (int j = 0; j < grid - 1; ++j)
            left += leaveOut(0, i, j) + leaveOut(1, i, j);
        if (left == 2 * (grid - 1))
            continue;
        if (left == 0) {
            glBegin(GL_TRIANGLE_STRIP);
            for (int j = 0; j < grid; ++j) {
                putVertex(i, j);
                putVertex(i + 1, j);
            }
            glEnd();
            continue;
        }
        glBegin(GL_TRIANGLES);
        for (int j = 0; j < grid - 1; ++j) {
            if (!leaveOut(0, i, j)) {
                putVertex(i, j);
                putVertex(i + 1, j);
                putVertex(i, j + 1);
            }
            if (!leaveOut(1, i, j)) {
                putVertex(i, j + 1);
                putVertex(i + 1, j);
                putVertex(i + 1, j + 1);
            }
        }
        glEnd();
    }
    if (culling)
        glEnable(GL_CULL_FACE);
}

template <class PutVertex>
void drawBothWindings(int grid, const PutVertex& putVertex)
{
    drawBothWindings(grid, putVertex, [](int, int, int) { return false; });
}

}  // namespace

void QXnewave::myReshapeXdn(int w, int h)
{
    w = std::max(w, 0);
    h = std::max(h, 0);
    ysized = h;
    xsized = w;
    aspectd = static_cast<float>(w) / static_cast<float>(std::max(h, 1));
    glViewport(0, 0, w, h);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    postRedisplay();
}

void QXnewave::setDisplayd(int mode)
{
    displayModed = mode;
    applyMeshShading(mode);
    postRedisplay();
}

void QXnewave::setOtherd(int n)
{
    switch (n) {
        case 0:
            if (fullScreen)
                fullScreen();
            break;
        case 1:
            drawFaceNormsd = !drawFaceNormsd;
            break;
        case 2:
            antialiasd = !antialiasd;
            applyLineAntialiasing(antialiasd);
            break;
        case 3:
            envMapdd = 1;
            glBindTexture(GL_TEXTURE_2D, texId2d);
            glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
            glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
            glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
            glEnable(GL_TEXTURE_GEN_S);
            glEnable(GL_TEXTURE_GEN_T);
            break;
        case 4:
            envMapdd = 0;
            glBindTexture(GL_TEXTURE_2D, texId1d);
            glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
            glDisable(GL_TEXTURE_GEN_S);
            glDisable(GL_TEXTURE_GEN_T);
            break;
        default:
            break;
    }
    postRedisplay();
}

void QXnewave::drawWireframed()
{
    glColor3f(1.0f, 1.0f, 1.0f);
    for (int i = 0; i < gridd; ++i) {
        glBegin(GL_LINE_STRIP);
        for (int j = 0; j < gridd; ++j)
            vertex(i, j, positd[i][j]);
        glEnd();
    }
    for (int j = 0; j < gridd; ++j) {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < gridd; ++i)
            vertex(i, j, positd[i][j]);
        glEnd();
    }
}

void QXnewave::drawFlatShadedd()
{
    glEnable(GL_POLYGON_OFFSET_FILL);
    glColor3f(0.8f, 0.2f, 0.8f);
    for (int i = 0; i < gridd - 1; ++i) {
        glBegin(GL_TRIANGLE_STRIP);
        vertex(i, 0, positd[i][0]);
        vertex(i + 1, 0, positd[i + 1][0]);
        for (int j = 1; j < gridd; ++j) {
            glNormal3fv(faceNormsd[0][i][j - 1]);
            vertex(i, j, positd[i][j]);
            glNormal3fv(faceNormsd[1][i][j - 1]);
            vertex(i + 1, j, positd[i + 1][j]);
        }
        glEnd();
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void QXnewave::drawHiddenLined()
{
    const auto strips = [this] {
        for (int i = 0; i < gridd - 1; ++i) {
            glBegin(GL_TRIANGLE_STRIP);
            for (int j = 0; j < gridd; ++j) {
                vertex(i, j, positd[i][j]);
                vertex(i + 1, j, positd[i + 1][j]);
            }
            glEnd();
        }
    };
    glEnable(GL_POLYGON_OFFSET_FILL);
    glColor3f(0.8f, 0.2f, 0.8f);
    strips();
    glDisable(GL_POLYGON_OFFSET_FILL);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    strips();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void QXnewave::drawSmoothShadedd(int mode, float PColor, float FColor)
{
    const int palette = truncatedIndex(PColor);
    const int columnPalette = truncatedIndex(FColor);
    const auto putVertex = [&](int a, int j) {
        const double height = positd[a][j];
        if (mode == 0)
            groen_CtextureNXN(truncatedIndex(height * 10.0 + 50.0), palette);
        else if (mode == 1)
            groen_CBtextureNXN(8 * j, 100 - truncatedIndex(height * 10.0), columnPalette);
        glNormal3fv(vertNormsd[a][j]);
        vertex(a, j, positd[a][j]);
    };
    drawBothWindings(gridd, putVertex);
}

bool QXnewave::findEdgeOnTriangles()
{
    if (!edgeOnGuard_.begin())
        return false;
    for (int i = 0; i < gridd; ++i) {
        for (int j = 0; j < gridd; ++j) {
            const float object[3] = {static_cast<float>(i), static_cast<float>(j), positd[i][j]};
            edgeOnCorners_[i][j] = edgeOnGuard_.place(object, vertNormsd[i][j], texCoordsd[i][j]);
        }
    }
    const auto& corners = edgeOnCorners_;
    bool any = false;
    for (int i = 0; i < gridd - 1; ++i) {
        for (int j = 0; j < gridd - 1; ++j) {
            edgeOn_[0][i][j] = EdgeOnGuard::edgeOn(corners[i][j], corners[i + 1][j], corners[i][j + 1]);
            edgeOn_[1][i][j] =
                EdgeOnGuard::edgeOn(corners[i][j + 1], corners[i + 1][j], corners[i + 1][j + 1]);
            any = any || edgeOn_[0][i][j] || edgeOn_[1][i][j];
        }
    }
    return any;
}

void QXnewave::drawTexturedd()
{
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    const auto putVertex = [this](int a, int j) {
        glNormal3fv(vertNormsd[a][j]);
        glTexCoord2fv(texCoordsd[a][j]);
        vertex(a, j, positd[a][j]);
    };
    if (!findEdgeOnTriangles()) {
        drawBothWindings(gridd, putVertex);
    } else {
        // The sheet without its edge-on triangles, then those alone with plain trilinear filtering.
        drawBothWindings(gridd, putVertex, [this](int t, int i, int j) { return edgeOn_[t][i][j]; });
        edgeOnGuard_.withoutAnisotropy([&] {
            drawBothWindings(gridd, putVertex, [this](int t, int i, int j) { return !edgeOn_[t][i][j]; });
        });
        for (int i = 0; i < gridd - 1; ++i)
            for (int j = 0; j < gridd - 1; ++j)
                edgeOnTriangles += edgeOn_[0][i][j] + edgeOn_[1][i][j];
    }
    glDisable(GL_TEXTURE_2D);
}

void QXnewave::drawFaceNormalsd()
{
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    for (int i = 0; i < gridd - 1; ++i) {
        for (int j = 0; j < gridd - 1; ++j) {
            for (int t = 0; t < 2; ++t) {
                glVertex3fv(faceNormSegsd[t][0][i][j]);
                glVertex3fv(faceNormSegsd[t][1][i][j]);
            }
        }
    }
    glEnd();
}

void QXnewave::loadImageTextured()
{
    if (texWidtdhd <= 0 || texHeightd <= 0 || !texDatad)
        return;
    for (unsigned int* id : {&texId1d, &texId2d}) {
        glGenTextures(1, id);
        glBindTexture(GL_TEXTURE_2D, *id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, texWidtdhd, texHeightd, 0, GL_RGBA, GL_UNSIGNED_BYTE, texDatad);
    }
}

void QXnewave::stepImage(int& k, QXnewaveFrame& frame)
{
    k = k + 1;
    switch (frame.texture) {
        case 2:
        case 3:
            if (k > frame.maxImageNX - 1)
                k = 0;
            useImage(k);
            break;
        case 0:
            frame.PColor += 1.0f;
            if (frame.PColor > 5.0f)
                frame.PColor = 0.0f;
            break;
        case 1:
            frame.FColor += 1.0f;
            if (frame.FColor > 5.0f)
                frame.FColor = 0.0f;
            break;
        default:
            break;
    }
}

void QXnewave::drawWall(const QXnewaveFrame& frame)
{
    getFaceNormsd();
    getVertNormsd();
    if (WaveFrameRecorder* recorder = WaveFrameRecorder::shared())
        recorder->wall(*this);
    switch (frame.displayUnn) {
        case 0:
            drawWireframed();
            break;
        case 1:
            drawHiddenLined();
            break;
        case 2:
            drawFlatShadedd();
            break;
        case 3:
            drawSmoothShadedd(frame.texture, frame.PColor, frame.FColor);
            break;
        case 4:
            drawTexturedd();
            break;
        default:
            break;
    }
    if (drawFaceNormsd) {
        getFaceNormSegsd();
        drawFaceNormalsd();
    }
}

int QXnewave::displayUndn(QXnewaveFrame frame)
{
    edgeOnTriangles = 0;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(64.0, aspectd, zNeard, zFard);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The 31-vertex sheet stands further back.
    const bool pushBack = gridd == 31;
    if (pushBack)
        glTranslatef(0.0f, 0.0f, -22.0f);
    glTranslatef(frame.Xposi, 0.0f, 0.0f);
    glTranslatef(0.0f, frame.Yposi, 0.0f);

    // This frame's image or palette.
    int k = frame.ImageNX;
    const bool imageMode = frame.texture == 2 || frame.texture == 3;
    if (frame.RunTexture) {
        k = frame.ImageNX + 1;
        if (imageMode && k > frame.maxImageNX - 1)
            k = 0;
        if (frame.texture == 0)
            frame.PColor = frame.PColor + 1.0f > 5.0f ? 0.0f : frame.PColor + 1.0f;
        else if (frame.texture == 1)
            frame.FColor = frame.FColor + 1.0f > 5.0f ? 0.0f : frame.FColor + 1.0f;
    } else if (imageMode) {
        k = static_cast<int>(frame.texture == 2 ? frame.Color_Map : frame.Dynamic_Texture);
        k = std::min(k, frame.maxImageNX - 1);
    }
    if (imageMode) {
        if (k != ImageNXZ)
            useImage(k);
        ImageNXZ = k;
    }

    glTranslatef(0.0f, 0.0f, -frame.sdept);
    glRotatef(-frame.sthet, 1.0f, 0.0f, 0.0f);
    glRotatef(frame.displayUndn, 0.0f, 0.0f, 1.0f);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    const float h = static_cast<float>((gridd + 1) / 2 - 1);
    glTranslatef(-h, -h, 0.0f);
    glTranslatef(0.0f, 0.0f, -h);

    for (int wall = 0; wall < 4; ++wall) {
        if (imagePositionN)
            stepImage(k, frame);
        if (wall > 0) {
            glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
            glTranslatef(0.0f, -static_cast<float>(gridd - 1), 0.0f);
        }
        drawWall(frame);
    }

    glRotatef(-180.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, -frame.Yposi, 0.0f);
    glTranslatef(-frame.Xposi, 0.0f, 0.0f);
    if (pushBack)
        glTranslatef(0.0f, 0.0f, 22.0f);
    glutSwapBuffers();

    if (frame.EnvMode) {
        applySphereMapping(frame.Env);
    }
    return k;
}

void QXnewave::mainNewaved()
{
    AppInit();
    setUpMeshRendering(lightPositiond);
    reInitColorXZN();
    setdSized(0);
    setSpeeddn(2);
    setDisplayd(4);
    resetdn(1);
}

void DrawStrd(const char* s)
{
    glutBitmapString(GLUT_BITMAP_HELVETICA_12, s);
}

void keyboarddn(unsigned char key, int, int)
{
    if (key == 27)
        std::exit(0);
    QXnewave::sharedQXnewave().postRedisplay();
}

}  // namespace nupo
