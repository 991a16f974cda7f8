#include "plots/waterfall/gl/WaterfallText.h"

#include "analysis/SpectrumMath.h"
#include "platform/gl/Glut.h"
#include "plots/waterfall/WaterfallState.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"

#include <GL/gl.h>

#include <cstdio>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

void output(GlutBitmapFont font, float x, float y, const char* text)
{
    glRasterPos2f(x, y);
    glutBitmapString(font, text);
}

std::string microvolts(int value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d microV", value);
    return text;
}

// A quotient shown as a whole number, truncated toward zero, kept inside int.
int wholeNumber(double value)
{
    return value > 2.0e9 ? 2000000000 : (value < -2.0e9 ? -2000000000 : static_cast<int>(value));
}

struct BandLabel {
    float numberDy;
    const char* number;
    const char* name;
    float nameDx512, nameDy512, nameDxLinear, nameDyLinear;
};

constexpr BandLabel bandLabels[10] = {
    {0, "0", "Eye", -3, -3, -3, 0},       {-1, "2", "Delta", -3, -4, -3, -2},
    {0, "4", "Theta", -3, -4, -3, -2.4f}, {0, "8", "Alpha", -3, -3, -3, -1},
    {1, "12", "BetaL", -3, -1, -3, 0},    {1, "15", "BetaM", -3, -1, -3, -1},
    {1, "20", "BetaH", -3, -1, -3, -4},   {1, "30", "Gamma", -3, -2, -3, 0},
    {1, "45", "AC", -3, -2, -3, -4},      {1, "60", "Hz", -1, -2, -1, -2}};

}  // namespace

void outputSZ(float x, float y, const char* text)
{
    output(GLUT_BITMAP_TIMES_ROMAN_10, x, y, text);
}

void outputBig(float x, float y, const char* text)
{
    output(GLUT_BITMAP_TIMES_ROMAN_24, x, y, text);
}

void outputSSZ(float x, float y, const char* text)
{
    const GlutBitmapFont font = xsizeZ < 800    ? GLUT_BITMAP_HELVETICA_10
                                : xsizeZ < 1300 ? GLUT_BITMAP_HELVETICA_12
                                                : GLUT_BITMAP_HELVETICA_18;
    output(font, x, y, text);
}

std::string powerNumberText(int channel, int step, int kind)
{
    if (step < 0 || step > 2)
        return {};
    if (kind != 0) {
        static const char* const percent[3] = {"0 %", "50 %", "100 %"};
        return percent[step];
    }
    if (LOGpowerONed.load(relaxed) != 0) {
        static const char* const logTexts[3] = {"0.1 microV", "1 microV", "10 microV"};
        return logTexts[step];
    }
    return microvolts(step == 0 ? 0 : wholeNumber(10.0 * step / displayGainOfChannel(channel)));
}

void powerNumberDrawZ(float x, float y, int channel, int step, int kind)
{
    const std::string text = powerNumberText(channel, step, kind);
    outputSSZ(x, y, text.c_str());
}

void labelfftBigZ(float x, float y, float z, int label, int channel)
{
    glPushMatrix();
    glColor3f(0.0f, 0.0f, 0.0f);
    if (label >= 0 && label <= 9) {
        const BandLabel& b = bandLabels[label];
        const bool band512 = fftp512Band.load(relaxed) != 0;
        if (label != 9 || band512)
            output(GLUT_BITMAP_HELVETICA_18, x, y + b.numberDy, b.number);
        float dy = band512 ? b.nameDy512 : b.nameDyLinear;
        if (label == 9 && !band512 && SampleSpeed.load(relaxed) != 120)
            dy = -4.0f;
        outputSSZ(x + (band512 ? b.nameDx512 : b.nameDxLinear), y + dy, b.name);
    } else if (label >= 20 && label <= 22) {
        glTranslatef(0.0f, 0.0f, z);
        powerNumberDrawZ(x - 1, y - 1, channel, label - 20, 0);
    } else if (label >= 30 && label <= 32) {
        glTranslatef(0.0f, 0.0f, z);
        powerNumberDrawZ(x - 1, y - 1, channel, label - 30, 1);
    } else if (label >= 50 && label <= 66) {
        const int hertz = label == 66 ? 90 : 60 * (label - 49);
        output(GLUT_BITMAP_HELVETICA_18, x, y, std::to_string(hertz).c_str());
    }
    glPopMatrix();
}

std::string labelfftBigXText(int label, int channel)
{
    const bool band512 = fftp512Band.load(relaxed) != 0;
    const bool logPower = LOGpowerONed.load(relaxed) != 0;
    switch (label) {
        case 0:
            return "Eye 0..1Hz";
        case 1:
            return "Delta 2..3Hz";
        case 2:
            return "Theta 4..7Hz";
        case 3:
            return "Alpha 8..12 Hz";
        case 4:
            return band512 ? "BetaL 13..19Hz" : "BetaL 13..15Hz";
        case 5:
            return "BetaM 16..20Hz";
        case 6:
            return band512 ? "BetaH 20..28Hz" : "BetaH 21..28Hz";
        case 7:
            return "Gamma 29..40Hz";
        case 8:
            return "ACnoise 50..60Hz";
        case 10:
            return microvolts(logPower ? 1 : wholeNumber(10.0 / displayGainOfChannel(channel)));
        case 11:
            return microvolts(logPower ? 10 : wholeNumber(20.0 / displayGainOfChannel(channel)));
        case 12:
            return "50 %";
        case 13:
            return "100 %";
        case 20:
            return "CH 1 L <Real time> CH 2 R";
        case 21:
            return "CH 3 L <Real time> CH 4 R";
        case 22:
            return "CH 1 L <Relative> CH 2 R";
        case 23:
            return "CH 3 L <Relative> CH 4 R";
        case 24:
            return "CH 1 L <Average> CH 2 R";
        case 25:
            return "CH 3 L <Average> CH 4 R";
        case 26:
            return "CH 1 L <Average %> CH 2 R";
        case 27:
            return "CH 3 L <Average %> CH 4 R";
        default:
            return {};
    }
}

void labelfftBigX(float x, float y, float, int label, int channel)
{
    glPushMatrix();
    glColor3f(0.0f, 0.0f, 0.0f);
    const std::string text = labelfftBigXText(label, channel);
    if (!text.empty())
        outputSZ(x, y, text.c_str());
    glPopMatrix();
}

}  // namespace nupo
