#include "views3d/scene/gl/FlatElements.h"

#include "platform/gl/ColorTables.h"
#include "platform/gl/Glut.h"
#include "plots/frame/gl/FloorNormals.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "views3d/scene/gl/FrequencyRuler.h"
#include "views3d/scene/gl/Materials.h"
#include "views3d/scene/gl/SceneDecorations.h"
#include "views3d/scene/gl/SceneInputs.h"
#include "views3d/scene/gl/SceneState.h"
#include "views3d/scene/gl/SceneText.h"

#include <GL/gl.h>

namespace nupo {

namespace {

void cubeAt(float x, float y, float edge)
{
    glTranslatef(x, y, 0.0f);
    glutSolidCube(edge);
    glTranslatef(-x, -y, 0.0f);
}

// Cubes at the corners of the rectangle x0..64 by 0..64.
void cornerCubes(float x0, float edge)
{
    cubeAt(x0, 0.0f, edge);
    cubeAt(64.0f, 0.0f, edge);
    cubeAt(64.0f, 64.0f, edge);
    cubeAt(x0, 64.0f, edge);
}

// Labels at z offsets relative to the element's height.
void labelsAt(const int (&codes)[3], const float (&offsets)[3], int channel)
{
    for (int k = 0; k < 3; ++k) {
        glTranslatef(0.0f, 0.0f, offsets[k]);
        labelfftBig(0.0f, 0.0f, 0.0f, codes[k], channel);
        glTranslatef(0.0f, 0.0f, -offsets[k]);
    }
}

}  // namespace

void drawSQflat(int kind, int, int textureMode, float XPA, float YPA, float ZPA, float PColor_valueA,
                float FColor_valueA, int BrainCH, int startFrequency)
{
    RawWaveColorN += 10;
    if (RawWaveColorN > 256)
        RawWaveColorN = 0;
    const auto colour = [&] {
        groen_CtextureNX(int(ZPA * 10.0f + sceneInputs().display.ColorOffsetBSMixSliderX),
                         int(PColor_valueA));
    };
    const auto colourIndex = [&](float index) { groen_CtextureNX(int(index), int(PColor_valueA)); };
    const int points = fftp.load(std::memory_order_relaxed);
    const int band512 = fftp512Band.load(std::memory_order_relaxed);

    glTranslatef(XPA, YPA, ZPA);
    setMaterial(8);
    switch (kind) {
        case FlatKind::floorNormals:
            getFaceNormsAX();
            getVertNormsAX();
            break;
        case FlatKind::levelPlane:
            drawFloorA(0, 0.0f, 0.0f, 64.0f, 64.0f);
            setMaterial(2);
            colour();
            cornerCubes(0.0f, 1.0f);
            break;
        case FlatKind::companionFrame:
            drawFloorA(0, 10.0f, 0.0f, 54.0f, 64.0f);
            setMaterial(2);
            colour();
            cornerCubes(10.0f, 1.0f);
            break;
        case FlatKind::timeFrame:
            setMaterial(2);
            colour();
            drawFloorA(0, 0.0f, -0.5f, 64.0f, 0.5f);
            drawFloorA(0, 0.0f, 64.0f, 64.0f, 0.5f);
            cornerCubes(0.0f, 1.0f);
            break;
        case FlatKind::thinTimeFrame:
            setMaterial(2);
            colour();
            drawFloorA(0, 0.0f, -0.25f, 64.0f, 0.25f);
            drawFloorA(0, 0.0f, 64.0f, 64.0f, 0.25f);
            cornerCubes(0.0f, 0.5f);
            break;
        case FlatKind::wideTimeFrame:
            colour();
            drawFloorA(0, 0.0f, -1.0f, 64.0f, 1.0f);
            drawFloorA(0, 0.0f, 64.0f, 64.0f, 1.0f);
            setMaterial(2);
            colour();
            cornerCubes(0.0f, 0.5f);
            break;
        case FlatKind::frequencyLineWide:
        case FlatKind::frequencyLineThin:
            drawFrequencyLine(points, band512, textureMode, kind == FlatKind::frequencyLineWide ? 1 : 0,
                              PColor_valueA, FColor_valueA, startFrequency);
            break;
        case FlatKind::frequencyLabels:
            drawFrequencyLabel(points, band512, textureMode, PColor_valueA, FColor_valueA, startFrequency);
            break;
        case FlatKind::powerNumbers:
            setMaterial(2);
            colour();
            labelsAt({20, 21, 22}, {-10.0f, 0.0f, 10.0f}, BrainCH);
            break;
        case FlatKind::coherenceNumbers:
            setMaterial(2);
            colour();
            labelsAt({30, 31, 32}, {-10.0f, -7.5f, -5.0f}, BrainCH);
            break;
        case FlatKind::blankLabel:
            setMaterial(2);
            colour();
            labelfftBig(0.0f, 0.0f, 0.0f, 100, BrainCH);
            break;
        case FlatKind::timeLabels:
            setMaterial(2);
            colourIndex(sceneInputs().display.ColorOffsetBSMixSliderX + 100.0f);
            for (int k = 0; k <= 8; ++k)
                printTimeRec(float(8 * k), 2.0f, k);
            colourIndex(sceneInputs().display.ColorOffsetBSMixSliderX + 30.0f);
            for (int k = 0; k <= 8; ++k)
                printTimeXRec(float(8 * k), 69.0f, k);
            break;
        case FlatKind::timeMarkers:
        case FlatKind::smallTimeMarkers: {
            setMaterial(2);
            colour();
            const float edge = kind == FlatKind::timeMarkers ? 1.0f : 0.5f;
            for (int k = 0; k <= 8; ++k) {
                cubeAt(float(8 * k), 0.0f, edge);
                cubeAt(float(8 * k), 64.0f, edge);
            }
            break;
        }
        default:
            break;
    }
    setMaterial(sceneInputs().display.setBSMaterialX);
    glTranslatef(-XPA, -YPA, -ZPA);
}

}  // namespace nupo
