#include "views3d/scene/gl/FrequencyRuler.h"

#include "analysis/SpectrumMath.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/CoreState.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/scene/gl/Materials.h"
#include "views3d/scene/gl/MeshControl.h"
#include "views3d/scene/gl/SceneDecorations.h"
#include "views3d/scene/gl/SceneInputs.h"
#include "views3d/scene/gl/SceneState.h"
#include "views3d/scene/gl/SceneText.h"

namespace nupo {

namespace {

// Band edges of the ruler, in Hz.
constexpr float lowEdges[9] = {2, 4, 8, 12, 15, 20, 30, 40, 60};
constexpr float highEdges[16] = {90,  120, 180, 240, 300, 360, 420, 480,
                                 540, 600, 660, 720, 780, 840, 900, 960};
// Label edges: "30" sits at 29 Hz.
constexpr float lowLabelEdges[8] = {2, 4, 8, 12, 15, 20, 29, 40};
constexpr float bandLabelEdges[8] = {2, 4, 8, 12, 15, 20, 30, 40};
// Codes of the labels "60", "90", "120" .. "960".
constexpr int highLabelCodes[17] = {50, 66, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65};
constexpr float highLabelEdges[17] = {60,  90,  120, 180, 240, 300, 360, 420, 480,
                                      540, 600, 660, 720, 780, 840, 900, 960};

// Row of a low band edge on the linear rows (12 Hz one row lower than the rest).
int lowEdgeRow(float hz, float r, int s)
{
    const int offset = hz == 12.0f ? 62 : 63;
    return s + offset - int(hz * r);
}

bool onTile(int row)
{
    return row >= 0 && row <= 64;
}

}  // namespace

float rowsPerHertz(int fftpA)
{
    const int rate = SampleSpeed.load(std::memory_order_relaxed);
    if (rate <= 0)
        return 0.0f;
    return float(fftpA / 128) / (float(rate) * 0.015625f * 0.5f);
}

float rulerSpacing()
{
    float spacing = sceneInputs().selectXCHNX <= 1 ? 6.0f : 4.0f;
    if (xsize < 700)
        spacing *= 2.0f;
    return spacing;
}

RulerMarks frequencyLineMarks(int fftpA, int band512, int lineMode, int startFrequency)
{
    RulerMarks m;
    m.add(64, 1);
    if (band512 != 0) {
        for (float hz : lowEdges)
            m.add((hz <= 15.0f ? 63 : 64) - covFFT512BandFtoN(hz), 1);
    } else {
        const float r = rowsPerHertz(fftpA);
        const int s = startFrequency;
        for (float hz : lowEdges)
            if (const int row = lowEdgeRow(hz, r, s); onTile(row))
                m.add(row, 1);
        for (float hz : highEdges)
            if (const int row = int(64.0f + float(s) - hz * r); onTile(row))
                m.add(row, 1);
        m.add(0, 1);
    }
    if (lineMode != 0)
        for (int row = 0; row <= 64; row += 2)
            m.add(row, 0);
    return m;
}

RulerMarks frequencyLabelMarks(int fftpA, int band512, int startFrequency)
{
    RulerMarks m;
    if (band512 != 0) {
        m.add(64, 0);
        for (int k = 0; k < 8; ++k)
            m.add(64 - covFFT512BandFtoN(bandLabelEdges[k]), k + 1);
        m.add(64 - covFFT512BandFtoN(60.0), 9);
        return m;
    }
    const float r = rowsPerHertz(fftpA);
    const int s = startFrequency;
    m.add(s + 64, 0);
    for (int k = 0; k < 8; ++k)
        if (const int row = lowEdgeRow(lowLabelEdges[k], r, s); row >= 0)
            m.add(row, k + 1);
    for (int k = 0; k < 17; ++k)
        if (const int row = s + 64 - int(highLabelEdges[k] * r); row >= 0)
            m.add(row, highLabelCodes[k]);
    m.add(0, 9);
    return m;
}

void drawFrequencyLine(int fftpA, int fftp512BandA, int textureMode, int lineModeA, float PColor_valueA,
                       float FColor_valueA, int startFrequency)
{
    fDisplayDA = rulerSpacing();
    setMaterial(8);
    if (lineModeA == 0)
        drawFloorA(0, -1.0f, 0.0f, 1.0f, 64.0f);
    else
        drawFloorA(0, -3.0f, 0.0f, 3.0f, 64.0f);
    setMaterial(2);
    const RulerMarks marks = frequencyLineMarks(fftpA, fftp512BandA, lineModeA, startFrequency);
    for (int k = 0; k < marks.count; ++k) {
        // Edge cubes take the line's size mode; the small cubes are always half size and spaced.
        const int sizeMode = marks.marks[k].code == 1 ? lineModeA : 0;
        drawSolidSphereWithColor(marks.marks[k].row, sizeMode, textureMode, PColor_valueA, FColor_valueA);
    }
    setMaterial(sceneInputs().display.setBSMaterialX);
    izzzz = 64.0f + fDisplayDA;
}

void drawFrequencyLabel(int fftpA, int fftp512BandA, int textureMode, float PColor_valueA, float FColor_value,
                        int startFrequency)
{
    fDisplayDA = rulerSpacing();
    setMaterial(2);
    const RulerMarks marks = frequencyLabelMarks(fftpA, fftp512BandA, startFrequency);
    for (int k = 0; k < marks.count; ++k)
        drawCharInFFT(marks.marks[k].code, marks.marks[k].row, textureMode, PColor_valueA, FColor_value);
    setMaterial(sceneInputs().display.setBSMaterialX);
    izzz = 64.0f + fDisplayDA;
}

}  // namespace nupo
