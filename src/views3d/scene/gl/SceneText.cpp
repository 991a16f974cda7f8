#include "views3d/scene/gl/SceneText.h"

#include "analysis/QX3DSpectrum.h"
#include "analysis/SpectrumMath.h"
#include "platform/gl/ColorTables.h"
#include "platform/gl/Glut.h"
#include "plots/frame/gl/PlotWindowState.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/gl/WaterfallText.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "views3d/SpectrumViewState.h"
#include "views3d/scene/gl/SceneInputs.h"
#include "views3d/scene/gl/SceneState.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

namespace nupo {

namespace {

void output(GlutBitmapFont font, float x, float y, const char* text)
{
    glRasterPos2f(x, y);
    glutBitmapString(font, text);
}

// Moves the raster position by (4, 5) pixels with an empty one-pixel bitmap.
void nudgeRaster()
{
    static const GLubyte empty = 0;
    glBitmap(1, 1, 0, 0, 4, 5, &empty);
}

struct LabelEntry {
    const char* number;  // null: no number
    float dy;
    const char* letter;  // null: no letter
    float lx, lyLinear, ly512;
};

// Codes 0..9: the ruler's band edges with their band letters.
constexpr LabelEntry rulerLabels[10] = {
    {"0", 0, "E", -1, -2, -4},     {"2", 0, "D", -1, -2, -4},  {"4", 0, "T", -1, -2, -4},
    {"8", 0, "A", -1, -2, -4},     {"13", 1, "L", -1, -2, -2}, {"16", 1, "M", -1, -2, -2},
    {"21", 1, "H", -1, -4, -2},    {"30", -1, "G", -1, -4, 0}, {"40", 1, "AC", -1, -14, -2},
    {nullptr, 0, "Hz", 0, -4, -1},
};

void numberAt(float x, float y, const char* text)
{
    const GlutBitmapFont font =
        sceneInputs().selectXCHNX <= 1 ? GLUT_BITMAP_HELVETICA_10 : GLUT_BITMAP_HELVETICA_18;
    output(font, x, y, text);
}

// Hours, minutes, seconds and milliseconds of a sample count; the milliseconds are 0 when negative.
struct Clock {
    long secs;
    long ms;
};

Clock clockOf(long samples)
{
    const long rate = SampleSpeed.load(std::memory_order_relaxed);
    if (rate <= 0)
        return {0, 0};
    const long secs = samples / rate;
    const long ms = (samples - secs * rate) * 1000 / rate;
    return {secs, ms < 0 ? 0 : ms};
}

bool timeRowInRange(int k)
{
    return k >= 0 && 8 * k < int(std::size(timeRec));
}

}  // namespace

void outputS(float x, float y, const char* text)
{
    output(GLUT_BITMAP_TIMES_ROMAN_10, x, y, text);
}

void outputSS(float x, float y, const char* text)
{
    output(GLUT_BITMAP_HELVETICA_12, x, y, text);
}

void outputSSS(float x, float y, const char* text)
{
    output(GLUT_BITMAP_HELVETICA_12, x, y, text);
}

void outputSSSS(float x, float y, const char* text)
{
    output(GLUT_BITMAP_TIMES_ROMAN_24, x, y, text);
}

const char* sourceTitle(int source)
{
    static const char* const titles[brainSourceCount] = {
        "Left CH 1",
        "Right CH 2",
        "Left CH 3",
        "Right CH 4",
        "Coherence CH 1 & CH 2",
        "Coherence CH 3 & CH 4",
        "Coherence CH 1 & CH 3",
        "Coherence CH 2 & CH 4",
        "Coherence CH 1 & CH 4",
        "Coherence CH 2 & CH 3",
    };
    return source >= 0 && source < brainSourceCount ? titles[source] : nullptr;
}

void labelSphereBig(float x, float y, float z, int source)
{
    nudgeRaster();
    glTranslatef(x, y, z);
    glPushMatrix();
    if (const char* title = sourceTitle(source)) {
        groen_CtextureNX(0, 1);
        outputSSSS(0.0f, 0.0f, title);
        groen_CtextureNX(150, 1);
        if (source == 4)
            outputSSSS(0.3f, 0.8f, title);
        else
            outputSSSS(0.1f, 0.5f, title);
    }
    glPopMatrix();
    glTranslatef(-x, -y, -z);
}

void labelfftBig(float x, float y, float, int code, int channel)
{
    glPushMatrix();
    glColor3f(0.0f, 0.0f, 0.0f);
    nudgeRaster();
    if (code >= 0 && code <= 9) {
        const LabelEntry& e = rulerLabels[code];
        if (e.number)
            numberAt(x, y + e.dy, e.number);
        const float ly = fftp512Band.load(std::memory_order_relaxed) != 0 ? e.ly512 : e.lyLinear;
        outputSS(x + e.lx, y + ly, e.letter);
    } else if (code >= 10 && code <= 18) {
        const char digit[2] = {char('0' + code - 10), 0};
        numberAt(x, y + 1.0f, digit);
    } else if (code >= 20 && code <= 22) {
        powerNumberDraw(x - 1.0f, y - 1.0f, channel, code - 20, 0);
    } else if (code >= 30 && code <= 32) {
        powerNumberDraw(x - 1.0f, y - 1.0f, channel, code - 30, 1);
    } else if (code == 40 || code == 41) {
        outputSSS(x - 1.0f, y - 1.0f, code == 40 ? "Left brain" : " Right brain");
    } else if (code >= 50 && code <= 66) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", code == 66 ? 90 : 60 * (code - 49));
        numberAt(x, y, text);
    }
    glPopMatrix();
}

void drawCharInFFT(int code, int row, int colourMode, float palette, float variantPalette)
{
    if (float(row) + fDisplayDA > izzz && code != 9)
        return;
    if (colourMode == 0)
        groen_CtextureNX(int((64 - row) * 2.5f + sceneInputs().display.ColorOffsetBSMixSliderX),
                         int(palette));
    else if (colourMode == 1)
        groen_CBtextureNX(int(float(64 - row) * sceneInputs().display.ColorGainBSMixSliderX), 100,
                          int(variantPalette));
    labelfftBig(-3.0f, float(row), 0.0f, code, 0);
    izzz = float(row);
}

void powerNumberDraw(float x, float y, int channel, int level, int coherence)
{
    // Callers pass a channel 0..3; another reads as CH 3.
    const std::string text = powerNumberText(channel >= 0 && channel <= 3 ? channel : 2, level, coherence);
    if (!text.empty())
        outputSS(x, y, text.c_str());
}

std::string timeText(long samples)
{
    return timeStampText(int(std::max(samples, 0L)), SampleSpeed.load(std::memory_order_relaxed))
        .toStdString();
}

std::string ageText(long samples)
{
    const Clock c = clockOf(samples < 0 ? 0 : samples);
    const long minutes = (c.secs % 3600) / 60;
    char text[80];
    if (minutes != 0)
        std::snprintf(text, sizeof text, "%02ld:%02ld.%03ld", -minutes, c.secs % 60, c.ms);
    else
        std::snprintf(text, sizeof text, "%02ld.%03ld", -(c.secs % 60), c.ms);
    return text;
}

void printTimeRec(float x, float y, int k)
{
    if (timeRowInRange(k))
        outputSS(x, y, timeText(timeRec[8 * k].load(std::memory_order_relaxed)).c_str());
}

void printTimeXRec(float x, float y, int k)
{
    if (!timeRowInRange(k))
        return;
    const long age = long(timeRec[0].load(std::memory_order_relaxed)) -
                     long(timeRec[8 * k].load(std::memory_order_relaxed));
    outputSS(x, y, ageText(age).c_str());
}

}  // namespace nupo
