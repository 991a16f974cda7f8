#include "plots/waterfall/gl/QX2DSpectrumPeakLine.h"

#include "plots/waterfall/gl/QX2DSpectrumOverlays.h"
#include "plots/waterfall/gl/WaterfallColours.h"
#include "plots/waterfall/gl/WaterfallFrame.h"
#include "plots/waterfall/gl/WaterfallText.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <GL/gl.h>

#include <algorithm>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

struct Band {
    float low, high;  // a band holds f when low < f <= high (band 0: 0 <= f <= 1)
    float x, width;   // stripe along the chart's frequency axis; width 0: no stripe
    int litMaterial;
};

constexpr Band bands512[9] = {
    {0, 1, 0.0f, 3.0f, 6},       {1, 4, 3.375f, 2.775f, 6},    {4, 8, 6.525f, 2.85f, 6},
    {8, 12.5f, 9.825f, 3.3f, 6}, {12.5f, 18, 13.5f, 1.65f, 6}, {0, 0, 0, 0, 6},
    {18, 28, 15.375f, 1.5f, 6},  {28, 40, 17.25f, 3.0f, 6},    {45, 65, 20.475f, 1.5f, 2}};
constexpr Band bandsLinear[9] = {
    {0, 1, 0.0f, 0.75f, 6},        {1, 4, 1.125f, 1.125f, 6},      {4, 8, 2.625f, 2.625f, 6},
    {8, 12.5f, 5.625f, 3.15f, 6},  {12.5f, 15, 9.375f, 1.875f, 6}, {15, 20.5f, 11.625f, 3.375f, 6},
    {20.5f, 28, 15.375f, 4.2f, 6}, {28, 40, 20.25f, 1.5f, 6},      {45, 65, 22.5f, 0.75f, 2}};

bool holds(const Band& band, int number, float f)
{
    if (band.width == 0.0f)
        return false;
    return number == 0 ? (f >= 0.0f && f <= 1.0f) : (f > band.low && f <= band.high);
}

struct ColumnLabel {
    int column512, columnLinear;  // -1: none
    float x, lowerY, upperY;
    float largeX512, largeXLinear, smallX512, smallXLinear;
};

constexpr ColumnLabel columnLabels[9] = {{3, 0, 0.0f, -60, 58, 0, 0, 0, 0},
                                         {13, 4, -0.1f, -55, 55, 0, 0, 0, 0},
                                         {22, 11, 0.0f, -55, 55, 0, 0, 0, 0},
                                         {33, 20, 0.0f, -55, 55, 0, 0, 0, 0},
                                         {42, 29, 0.0f, -55, 55, 0, 0.4f, 0, 0.2f},
                                         {-1, 38, 0.0f, -55, 55, 0.5f, 0.5f, 0.3f, 0.3f},
                                         {46, 50, 0.2f, -55, 55, 0.5f, 0.5f, 0.4f, 0.4f},
                                         {56, 62, -0.3f, -55, 55, 0, 0, 0, 0},
                                         {58, 63, 1.5f, -57, 58, 1.6f, 1.6f, 1.5f, 1.5f}};

bool leftChannel(int ch)
{
    return ch == 0 || ch == 2;
}
bool rightChannel(int ch)
{
    return ch == 1 || ch == 3;
}

}  // namespace

QX2DSpectrumPeakLine& QX2DSpectrumPeakLine::sharedQX2DSpectrumPeakLine()
{
    static QX2DSpectrumPeakLine* instance = new QX2DSpectrumPeakLine;  // lives to process end
    return *instance;
}

int QX2DSpectrumPeakLine::bandOfFrequency(float hertz, bool band512)
{
    const Band* table = band512 ? bands512 : bandsLinear;
    for (int b = 1; b < 9; ++b)
        if (holds(table[b], b, hertz))
            return b;
    return 0;
}

float QX2DSpectrumPeakLine::columnValue(int ch, int j) const
{
    return 2.0f * static_cast<float>(drawnWaterfallFrame().newestRow(ch, j));
}

void QX2DSpectrumPeakLine::restartScale()
{
    std::fill(std::begin(peakAmpLR), std::end(peakAmpLR), 1.0f);
}

float QX2DSpectrumPeakLine::averaged(int ch, int j, float v, bool paused, int sinceStart, int twoWindows)
{
    if (ch < 0 || ch > 3 || sinceStart <= twoWindows)
        return v;
    if (!paused) {
        peakAmpTotal[ch][j] += v;
        countloop[ch][j] += 1;
    } else if (countloop[ch][j] == 0) {
        return v;
    }
    return static_cast<float>(peakAmpTotal[ch][j] / countloop[ch][j]);
}

float QX2DSpectrumPeakLine::columnHeight(int ch, int j, int mode, bool paused, int sinceStart)
{
    for (float& reference : peakAmpLR)
        if (reference == 0.0f)
            reference = 0.01f;
    const int twoWindows = 2 * fftp.load(relaxed);
    float v = columnValue(ch, j);
    if (ch < 0 || ch > 3)
        return v;
    const float pair = ch <= 1 ? std::max(peakAmpLR[0], peakAmpLR[1]) : std::max(peakAmpLR[2], peakAmpLR[3]);
    switch (mode) {
        case 1:
            return v / pair * 20.0f;
        case 2:
            return averaged(ch, j, v, paused, sinceStart, twoWindows);
        case 3:
            v = averaged(ch, j, v, paused, sinceStart, twoWindows);
            return v / pair * 40.0f;
        default:
            return v;
    }
}

void QX2DSpectrumPeakLine::drawStripes(int ch, float peakHertz, bool band512)
{
    const Band* table = band512 ? bands512 : bandsLinear;
    glTranslatef(-31.0f, 0.0f, -0.2f);
    int lit = 0;
    for (int b = 0; b < 9; ++b) {
        const Band& band = table[b];
        if (band.width == 0.0f)
            continue;
        setMaterial2D(8);
        if (holds(band, b, peakHertz)) {
            setMaterial2D(band.litMaterial);
            lit = b;
        }
        const bool wide = b == 0 || b == 8;
        float y0 = 4.0f, length = 60.0f;
        if (leftChannel(ch)) {
            y0 = -4.5f;
            length = wide ? 64.0f : 60.5f;
        } else if (rightChannel(ch)) {
            y0 = wide ? 4.5f : 7.5f;
            length = wide ? 64.0f : 61.0f;
        }
        drawFloorAZ(0, band.x, y0, band.width, length);
    }
    glTranslatef(31.0f, 0.0f, 0.2f);
    if (leftChannel(ch))
        peakFB = lit;
    else if (rightChannel(ch))
        peakFA = lit;
}

void QX2DSpectrumPeakLine::drawColumnLabels(int j, bool band512)
{
    QX2DSpectrumOverlays& overlays = QX2DSpectrumOverlays::sharedQX2DSpectrumOverlays();
    for (int label = 0; label < 9; ++label) {
        const ColumnLabel& l = columnLabels[label];
        if ((band512 ? l.column512 : l.columnLinear) != j)
            continue;
        const float large = band512 ? l.largeX512 : l.largeXLinear;
        const float small = band512 ? l.smallX512 : l.smallXLinear;
        labelfftBigX(l.x, l.lowerY, 0, label, 0);
        overlays.drawHorizontalLevelMark(1.0f, large, -45.5f, peakFA == label ? 1 : 0);
        overlays.drawHorizontalLevelMark(0.5f, small, -25.8f, 0);
        labelfftBigX(l.x, l.upperY, 0, label, 0);
        overlays.drawHorizontalLevelMark(1.0f, large, 35.5f, peakFB == label ? 1 : 0);
        overlays.drawHorizontalLevelMark(0.5f, small, 15.8f, 0);
    }
}

void QX2DSpectrumPeakLine::drawScaleLabels(int ch, int mode)
{
    const bool relative = mode == 1 || mode == 3;
    const int low = relative ? 12 : 10;
    const int high = relative ? 13 : 11;
    glTranslatef(-30.3f, 0.0f, 0.0f);
    if (leftChannel(ch)) {
        labelfftBigX(-2.0f, 17.0f, 0, low, ch);
        labelfftBigX(-2.0f, 37.0f, 0, high, ch);
        if (mode >= 0 && mode <= 3)
            labelfftBigX(-2.0f, 3.0f, 0, 20 + 2 * mode + (ch == 2 ? 1 : 0), ch);
    } else if (rightChannel(ch)) {
        labelfftBigX(-2.0f, 50.0f, 0, low, ch);
        labelfftBigX(-2.0f, 30.0f, 0, high, ch);
    }
    glTranslatef(30.3f, 0.0f, 0.0f);
}

void QX2DSpectrumPeakLine::DrawHorizontalLine(int ch, int BrainwaveMode, int textureMode, int PColor,
                                              int FColor)
{
    waterfallLightPosition[0] = -15.0f;
    waterfallLightPosition[1] = 25.0f;
    waterfallLightPosition[2] = 70.0f;
    waterfallLightPosition[3] = 1.0f;
    if (leftChannel(ch)) {
        glLightfv(GL_LIGHT0, GL_POSITION, waterfallLightPosition);
        QX2DSpectrumOverlays::sharedQX2DSpectrumOverlays().drawLightLocationA();
    }
    int p = textureMode == 1 ? PColor + 1 : FColor + 1;
    if (p > 5)
        p = 1;
    const WaterfallFrame& frame = drawnWaterfallFrame();
    if (BrainwaveMode == 0 || frame.display.ShowHorizontalLine == 0)
        return;

    const bool band512 = frame.band512;
    const PeakRecord top = frame.peak(ch, 0, 0);
    drawStripes(ch, top.frequency, band512);
    setMaterial2D(2);

    const int mode = frame.display.setHorizontalLineModeX;
    const int sinceStart = frame.position - ploopStart.load(relaxed);
    const int twoWindows = 2 * fftp.load(relaxed);
    const bool paused = setPauseX.load(relaxed) != 0;
    if ((mode == 2 || mode == 3) && sinceStart < twoWindows) {
        std::fill(&peakAmpTotal[0][0], &peakAmpTotal[0][0] + 4 * 64, 0.0);
        std::fill(&countloop[0][0], &countloop[0][0] + 4 * 64, 0);
    }
    if (ch >= 0 && ch <= 3) {
        peakAmpLR[ch] = top.value2 != 0.0f ? top.value2 : 0.01f;
        if (mode == 3) {
            peakAmpLR[ch] = 0.01f;
            for (int j = 0; j < 64; ++j)
                peakAmpLR[ch] = std::max(peakAmpLR[ch],
                                         averaged(ch, j, columnValue(ch, j), paused, sinceStart, twoWindows));
        }
    }

    for (int j = 0; j < 64; ++j) {
        float h = columnHeight(ch, j, mode, paused, sinceStart);
        if (textureMode == 1)
            groen_CtextureNXZ(colourIndexOf(2.0 * (64 - j) + frame.display.ColorOffsetSliderX), p);
        else if (textureMode == 0)
            groen_CBtextureNXZ(colourIndexOf(j * 1.67 * frame.display.ColorGainSliderX), 100, p);
        const float dx = static_cast<float>(j / 3.0 - 31.0);
        glTranslatef(dx, 0.0f, 0.0f);
        h = std::min(h, 50.0f);
        if (leftChannel(ch))
            drawFloorAZ(0, 0.0f, -4.5f, 0.5f, h);
        else if (rightChannel(ch))
            drawFloorAZ(0, 0.0f, 68.5f - h, 0.5f, h);
        if (leftChannel(ch))
            drawColumnLabels(j, band512);
        glTranslatef(-dx, 0.0f, 0.0f);
    }
    drawScaleLabels(ch, mode);
}

}  // namespace nupo
