#include "views3d/scene/gl/SceneDecorations.h"

#include "analysis/RawWave.h"
#include "platform/gl/ColorTables.h"
#include "platform/gl/Glut.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/scene/gl/Materials.h"
#include "views3d/scene/gl/SceneInputs.h"
#include "views3d/scene/gl/SceneState.h"

#include <GL/gl.h>

#include <algorithm>

namespace nupo {

void drawMark(int shape, float sizeX)
{
    if (shape == 1)
        glutSolidTorus(sizeX, sizeX * 0.5, 12, 12);
    else
        glutSolidCube(sizeX);
}

void drawSolidSphereWithColor(int row, int sizeMode, int colourMode, float palette, float variantPalette)
{
    if (float(row) + fDisplayDA > izzzz && sizeMode != 1)
        return;
    const float edge = sizeMode != 0 ? 1.0f : 0.5f;
    if (colourMode == 0)
        groen_CtextureNX(int((64 - row) * 2.5f + sceneInputs().display.ColorOffsetBSMixSliderX),
                         int(palette));
    else if (colourMode == 1)
        groen_CBtextureNX(int(float(64 - row) * sceneInputs().display.ColorGainBSMixSliderX), 100,
                          int(variantPalette));
    glTranslatef(0.0f, float(row), 0.0f);
    glutSolidCube(edge);
    glTranslatef(0.0f, -float(row), 0.0f);
    izzzz = float(row);
}

void drawFloorX(int orientation, float x, float y, float w, float h, float level)
{
    float corners[4][3];
    if (orientation == 0) {
        const float c[4][3] = {{x, level, y}, {x + w, level, y}, {x + w, level, y + h}, {x, level, y + h}};
        std::copy(&c[0][0], &c[0][0] + 12, &corners[0][0]);
    } else {
        const float c[4][3] = {{x, y, level}, {x + w, y, level}, {x + w, y + h, level}, {x, y + h, level}};
        std::copy(&c[0][0], &c[0][0] + 12, &corners[0][0]);
    }
    static const float texCoords[4][2] = {{0, 0}, {0, 2}, {2, 2}, {2, 0}};
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (int k = 0; k < 4; ++k) {
        glTexCoord2fv(texCoords[k]);
        glVertex3fv(corners[k]);
    }
    // The same quad wound the other way, so that both faces show under back-face culling.
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (int k = 0; k < 4; ++k) {
        glTexCoord2fv(texCoords[k]);
        glVertex3fv(corners[3 - k]);
    }
    glEnd();
}

void drawFloorA(int, float x, float y, float w, float h)
{
    drawFloorX(1, x, y, w, h, 0.0f);
}

void drawBSA(float a, float b, float c, float d)
{
    drawFloorX(1, 0.0f, 64.0f - b, 64.0f, b - a, d);
    drawFloorX(1, 0.0f, 64.0f - b, 64.0f, b - a, c);
    drawFloorX(0, 0.0f, c, 64.0f, d - c, 64.0f - b);
    drawFloorX(0, 0.0f, c, 64.0f, d - c, 64.0f - a);
}

void drawSQBS(int hits, float a, float b, float c, float d)
{
    if (hits > 0) {
        if (++flushC2 > 64)
            flushC2 = 0;
        setMaterial(4);
        groen_CBtextureNX(int(float(flushC2) * sceneInputs().display.ColorGainBSMixSliderX), 100, 1);
    } else {
        setMaterial(8);
    }
    drawBSA(a, b, c, d);
    setMaterial(sceneInputs().display.setBSMaterialX);
}

void DrawWaveX(int channel)
{
    setMaterial(3);
    RawWaveColorN += 2;
    if (RawWaveColorN > 256)
        RawWaveColorN = 0;
    const int n = RawWaveColorN;

    // The two ends of the trace.
    glTranslatef(-20.0f, 0.0f, 0.0f);
    groen_CtextureNX(n, 0);
    glRotatef(-70.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-35.0f, 0.0f, 1.0f, 0.0f);
    glutSolidTetrahedron();
    glRotatef(35.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(70.0f, 1.0f, 0.0f, 0.0f);
    glTranslatef(20.0f, 0.0f, 0.0f);
    glTranslatef(43.0f, 0.0f, 0.0f);
    groen_CtextureNX(n, 0);
    glutSolidTetrahedron();
    glTranslatef(-43.0f, 0.0f, 0.0f);

    glEnable(GL_LINE_STIPPLE);
    glLineWidth(1.0f);
    const int position = ploop.load(std::memory_order_relaxed);
    for (int c = 0; c < 4; ++c)
        getRawwave(c, position);
    static const int* const windows[4] = {datarawA, datarawB, datarawD, datarawE};
    const int points = fftp.load(std::memory_order_relaxed);
    if (channel >= 0 && channel < 4 && points >= 2 && points <= rawwaveLength) {
        const int* s = windows[channel];
        const float step = 32.0f / float(points);
        for (int j = 0; j <= points - 2; ++j) {
            groen_CtextureNX((n - j * 256 / points + 256) % 255, 1);
            glBegin(GL_LINES);
            glVertex2f(float(2 * j) * step - 20.0f, float(s[points - 1 - j]) / 30.0f);
            glVertex2f(float(2 * j + 1) * step - 20.0f, float(s[points - 2 - j]) / 30.0f);
            glEnd();
        }
    }
    glDisable(GL_LINE_STIPPLE);
    setMaterial(sceneInputs().display.setBSMaterialX);
}

}  // namespace nupo
