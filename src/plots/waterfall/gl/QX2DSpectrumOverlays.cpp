#include "plots/waterfall/gl/QX2DSpectrumOverlays.h"

#include "analysis/SpectrumMath.h"
#include "platform/gl/Glut.h"
#include "plots/frame/gl/FloorNormals.h"
#include "plots/frame/gl/PlotWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/WaterfallState.h"
#include "plots/waterfall/gl/WaterfallColours.h"
#include "plots/waterfall/gl/WaterfallFrame.h"
#include "plots/waterfall/gl/WaterfallKeyMarkers.h"
#include "plots/waterfall/gl/WaterfallText.h"
#include "plots/waterfall/gl/WaterfallWindowState.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <GL/gl.h>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

const DisplaySettingsCopy& settings()
{
    return drawnWaterfallFrame().display;
}

// Rows per hertz of the linear layout: (fftp / 128) / (SampleSpeed / 128).
float rowsPerHertz()
{
    const int rate = SampleSpeed.load(relaxed);
    return static_cast<float>(fftp.load(relaxed) / 128) / (static_cast<float>(rate > 0 ? rate : 1) / 128.0f);
}

// The spacing of a label pass: wider for the two-panel selections, doubled in narrow views.
void chooseSpacing()
{
    fDisplayD = drawnWaterfallFrame().sourcePopup <= 1 ? 6.0f : 4.0f;
    if (xsizeZ < 700)
        fDisplayD *= 2.0f;
}

void frameColour(float z, int palette)
{
    groen_CtextureNXZ(colourIndexOf(z * 10.0 + settings().ColorOffsetSliderX), palette);
}

void cubeAt(float x, float y, float z, float size)
{
    glTranslatef(x, y, z);
    glutSolidCube(size);
    glTranslatef(-x, -y, -z);
}

void cornerCubes(float size, float farX)
{
    const float centres[4][3] = {{0, 0, 0}, {0, 64, 0}, {farX, 0, 0}, {farX, 64, 0}};
    drawSolidCubesAt(size, centres, 4);
}

}  // namespace

void drawFloorXZ(int orientation, float x, float y, float width, float height, float z)
{
    float corners[4][3];
    if (orientation != 0) {
        const float c[4][3] = {{x, y, z}, {x + width, y, z}, {x + width, y + height, z}, {x, y + height, z}};
        std::copy(&c[0][0], &c[0][0] + 12, &corners[0][0]);
    } else {
        const float c[4][3] = {{x, z, y}, {x + width, z, y}, {x + width, z, y + height}, {x, z, y + height}};
        std::copy(&c[0][0], &c[0][0] + 12, &corners[0][0]);
    }
    static const float texture[4][2] = {{0, 0}, {0, 2}, {2, 2}, {2, 0}};
    for (int pass = 0; pass < 2; ++pass) {
        glBegin(GL_POLYGON);
        glNormal3f(0.0f, 1.0f, 0.0f);
        for (int k = 0; k < 4; ++k) {
            glTexCoord2fv(texture[k]);
            glVertex3fv(corners[pass == 0 ? k : 3 - k]);
        }
        glEnd();
    }
}

void drawFloorAZ(int, float x, float y, float width, float height)
{
    drawFloorXZ(1, x, y, width, height, 0.0f);
}

QX2DSpectrumOverlays& QX2DSpectrumOverlays::sharedQX2DSpectrumOverlays()
{
    static QX2DSpectrumOverlays* instance = new QX2DSpectrumOverlays;  // lives to process end
    return *instance;
}

void QX2DSpectrumOverlays::drawSQflatZ(int element, int, int textureMode, float x, float y, float z,
                                       int palette, int shadePalette, int channel, int startFrequency,
                                       int Coherencehigh)
{
    glTranslatef(x, y, z);
    setMaterial2D(8);
    const int points = fftp.load(relaxed);
    const int band512 = fftp512Band.load(relaxed);
    const auto sphereColour = [&] {
        if (Coherencehigh == 1)
            groen_CtextureNXZ(colourIndexOf((10.0 - z) * 20.0 + settings().ColorOffsetSliderX), palette);
        else
            frameColour(z, palette);
    };
    switch (element) {
        case 0:  // the floor mesh's normals
            getFaceNormsAX();
            getVertNormsAX();
            break;
        case 1:
            drawFloorAZ(0, 0, 0, 128, 64);
            setMaterial2D(2);
            frameColour(z, palette);
            cornerCubes(1.0f, 128.0f);
            break;
        case 3:
            setMaterial2D(2);
            frameColour(z, palette);
            drawFloorAZ(0, 0, -0.5f, 128, 0.5f);
            drawFloorAZ(0, 0, 64, 128, 0.5f);
            cornerCubes(1.0f, 64.0f);
            break;
        case 4:
            setMaterial2D(2);
            frameColour(z, palette);
            drawFloorAZ(0, 0, -0.25f, 128, 0.25f);
            drawFloorAZ(0, 0, 64, 128, 0.25f);
            cornerCubes(0.5f, 64.0f);
            break;
        case 14:
            setMaterial2D(8);
            frameColour(z, palette);
            drawFloorAZ(0, 0, -1, 128, 1);
            drawFloorAZ(0, 0, 64, 128, 1);
            setMaterial2D(2);
            frameColour(z, palette);
            cornerCubes(0.5f, 64.0f);
            break;
        case 23:
        case 24:
            setMaterial2D(2);
            sphereColour();
            {
                float centres[34][3];
                for (int i = 0; i <= 16; ++i) {
                    const float x = 8.0f * i;
                    const float row[2][3] = {{x, 0, 0}, {x, 64, 0}};
                    std::copy(&row[0][0], &row[0][0] + 6, &centres[2 * i][0]);
                }
                drawSolidCubesAt(element == 23 ? 1.0f : 0.5f, centres, 34);
            }
            break;
        case 11:
            for (int k = 0; k < 3; ++k)
                labelfftBigZ(0, 0, -10.0f + 10.0f * k, 20 + k, channel);
            break;
        case 21:
            for (int k = 0; k < 3; ++k)
                labelfftBigZ(0, 0, -10.0f + 2.5f * k, 30 + k, channel);
            break;
        case 22:
            for (int k = 0; k < 3; ++k)
                labelfftBigZ(0, 0, -10.0f + 5.0f * k, 30 + k, channel);
            break;
        case 13:
            keyMarkers();
            timeLabels(69.0f, 1.3f);
            break;
        case 113:
            groen_CtextureNXZ(colourIndexOf(settings().ColorOffsetSliderX + 100.0), palette);
            keyMarkers();
            break;
        case 213:
            timeLabels(74.0f, 1.5f);
            break;
        case 5:
        case 6:
            drawFrequencyLineY(points, band512, textureMode, element == 5 ? 1 : 0,
                               static_cast<float>(palette), static_cast<float>(shadePalette), startFrequency);
            break;
        case 15:
            drawFrequencyLabelZ(points, band512, textureMode, palette, shadePalette, startFrequency);
            break;
        case 16:
            drawFrequencyLineX(points, band512, textureMode, 0, static_cast<float>(palette),
                               static_cast<float>(shadePalette), startFrequency);
            break;
        default:
            break;
    }
    setMaterial2D(settings().setMaterialX);
    glTranslatef(-x, -y, -z);
}

void QX2DSpectrumOverlays::keyMarkers()
{
    for (int back = 0; back <= 512; ++back)
        printTimeRecZ(5.0f + 0.25f * back, -2.0f, back);
}

void QX2DSpectrumOverlays::timeLabels(float yBase, float ySlope)
{
    for (int i = 0; i <= 16; ++i) {
        const float dx = 8.0f * i;
        const float dy = yBase + static_cast<float>(i) / ySlope;
        glTranslatef(dx, dy, 0);
        printTimeXRecZ(0, 0, i);
        glTranslatef(-dx, -dy, 0);
    }
}

void QX2DSpectrumOverlays::drawFrequencyLabelZ(int points, int band512, int textureMode, int palette,
                                               int shadePalette, int startFrequency)
{
    (void)points;
    chooseSpacing();
    setMaterial2D(2);
    const float p = static_cast<float>(palette), q = static_cast<float>(shadePalette);
    const auto label = [&](int number, int y) {
        if (y >= 0 || number == 9)
            drawCharInFFTZ(number, y, textureMode, p, q, startFrequency);
    };
    if (band512 != 0) {
        label(0, 64);
        static constexpr double edges[8] = {2, 4, 8, 12, 15, 20, 30, 40};
        for (int k = 0; k < 8; ++k)
            label(k + 1, 64 - covFFT512BandFtoN(edges[k]));
        const int y60 = 64 - covFFT512BandFtoN(60);
        if (y60 >= 0)
            drawCharInFFTZ(9, y60, textureMode, p, q, startFrequency);
    } else {
        const float r = rowsPerHertz();
        const int s = startFrequency;
        const auto at = [&](double hertz, int d) {
            return colourIndexOf(s + 64 - colourIndexOf(hertz * r) - d);
        };
        label(0, s + 64);
        static constexpr struct {
            int label;
            double hertz;
            int d;
        } bands[10] = {{1, 1, 1},  {2, 4, 1},  {3, 8, 1},  {4, 12, 2},  {5, 15, 1},
                       {6, 20, 1}, {7, 29, 1}, {8, 40, 1}, {50, 60, 0}, {66, 90, 0}};
        for (const auto& b : bands)
            label(b.label, at(b.hertz, b.d));
        for (int n = 51; n <= 65; ++n)
            label(n, at(60.0 * (n - 49), 0));
        label(9, 0);
    }
    setMaterial2D(settings().setMaterialX);
    izz = fDisplayD + 64.0f;
}

void QX2DSpectrumOverlays::drawCharInFFTZ(int label, int y, int textureMode, float palette,
                                          float shadePalette, int startFrequency)
{
    int q = colourIndexOf(shadePalette) + 1;
    if (q > 5)
        q = 1;
    const bool spaced = static_cast<float>(y) + fDisplayD <= izz;
    const bool always = label == 9 || (label == 1 && startFrequency == 0 && SampleSpeed.load(relaxed) == 120);
    if (!spaced && !always)
        return;
    if (textureMode == 1)
        groen_CtextureNXZ(colourIndexOf((64 - y) * 2.5 + settings().ColorOffsetSliderX),
                          colourIndexOf(palette));
    else if (textureMode == 0)
        groen_CBtextureNXZ(colourIndexOf((64 - y) * 1.67 * settings().ColorGainSliderX), 100, q);
    labelfftBigZ(-3, static_cast<float>(y), 0, label, 0);
    izz = static_cast<float>(y);
}

void QX2DSpectrumOverlays::drawFrequencyLineX(int, int, int, int lineMode, float, float, int)
{
    if (lineMode != 0)
        drawFloorAZ(0, -3, 0, 3, 64);
    else
        drawFloorAZ(0, -1, 0, 1, 64);
    setMaterial2D(settings().setMaterialX);
}

void QX2DSpectrumOverlays::drawFrequencyLineY(int, int band512, int textureMode, int lineMode, float palette,
                                              float shadePalette, int startFrequency)
{
    chooseSpacing();
    setMaterial2D(8);
    if (lineMode != 0)
        drawFloorAZ(0, -3, 0, 3, 64);
    else
        drawFloorAZ(0, -1, 0, 1, 64);
    setMaterial2D(2);
    const auto cube = [&](int y) {
        drawSolidSphereWithColorY(y, lineMode, textureMode, palette, shadePalette);
    };
    cube(64);
    if (band512 != 0) {
        for (double hertz : {2.0, 4.0, 8.0, 12.0, 15.0})
            cube(63 - covFFT512BandFtoN(hertz));
        for (double hertz : {20.0, 30.0, 40.0, 60.0})
            cube(64 - covFFT512BandFtoN(hertz));
    } else {
        const float r = rowsPerHertz();
        const int s = startFrequency;
        const auto inRange = [&](int y) {
            if (y >= 0 && y <= 64)
                cube(y);
        };
        for (double hertz : {2.0, 4.0, 8.0, 12.0, 15.0, 20.0, 30.0, 40.0, 60.0})
            inRange(hertz == 12.0 ? s + 62 - colourIndexOf(12.0 * r) : s + 63 - colourIndexOf(hertz * r));
        inRange(colourIndexOf(64 + s - 90.0 * r));
        for (int hertz = 120; hertz <= 960; hertz += 60)
            inRange(colourIndexOf(64 + s - hertz * static_cast<double>(r)));
        cube(0);
    }
    setMaterial2D(2);
    if (lineMode != 0)
        for (int y = 0; y <= 64; y += 2)
            drawSolidSphereWithColorY(y, 0, textureMode, palette, shadePalette);
    setMaterial2D(settings().setMaterialX);
    izzzy = fDisplayD + 64.0f;
}

void QX2DSpectrumOverlays::drawSolidSphereWithColorY(int y, int big, int textureMode, float palette,
                                                     float shadePalette)
{
    if (!(static_cast<float>(y) + fDisplayD <= izzzy || big == 1))
        return;
    if (textureMode == 0)
        groen_CtextureNXZ(colourIndexOf((64 - y) * 2.5 + settings().ColorOffsetSliderX),
                          colourIndexOf(palette));
    else if (textureMode == 1)
        groen_CBtextureNXZ(colourIndexOf((64 - y) * static_cast<double>(settings().ColorGainSliderX)), 100,
                           colourIndexOf(shadePalette));
    cubeAt(0, static_cast<float>(y), 0, big != 0 ? 1.0f : 0.5f);
    izzzy = static_cast<float>(y);
}

void QX2DSpectrumOverlays::drawMark(int shape, float size)
{
    if (shape == 1)
        glutSolidTorus(size, size * 0.5, 12, 12);
    else
        glutSolidCube(size);
}

void QX2DSpectrumOverlays::drawHorizontalLevelMark(float size, float x, float y, int shape)
{
    glTranslatef(x + 0.3f, y, 0);
    if (shape == 1)
        drawMark(settings().ShowText, size);
    else
        glutSolidCube(size);
    glTranslatef(-x - 0.3f, -y, 0);
}

void QX2DSpectrumOverlays::printTimeRecZ(float x, float y, int back)
{
    const int marker = drawnWaterfallFrame().marker(back);
    // Markers with no character (Command, Control and Option keys) print nothing rather than whatever
    // their low byte happens to be. Most rows hold no printable marker: they skip the raster position and
    // the bitmap altogether, which leave nothing on screen.
    const int c = convertIntToASCII(marker);
    if (c <= ' ' || c >= 127)
        return;
    const char text[2] = {static_cast<char>(c), '\0'};
    outputBig(x, y, text);
}

void QX2DSpectrumOverlays::printTimeXRecZ(float x, float y, int i)
{
    const int index = 8 * i;
    const int t = index >= 0 && index < 130 ? drawnWaterfallFrame().timeRec[index] : 0;
    const QString text = timeStampText(t < 0 ? 0 : t, SampleSpeed.load(relaxed));
    outputSSZ(x, y, text.toLatin1().constData());
}

void QX2DSpectrumOverlays::drawLightLocationA()
{
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 0.0f);
    glTranslatef(waterfallLightPosition[0], waterfallLightPosition[1], waterfallLightPosition[2]);
    glTranslatef(-waterfallLightPosition[0], -waterfallLightPosition[1], -waterfallLightPosition[2]);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

}  // namespace nupo
