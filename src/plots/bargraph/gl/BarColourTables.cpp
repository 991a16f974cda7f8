#include "plots/bargraph/gl/BarColourTables.h"

namespace nupo {

void resetColor2DBar(int style)
{
    buildColourTables(style, difmatA2DBar, difambA2DBar);
    if (style >= 1 && style <= 5)
        difmatA2DBarStyle = style;
}

void resetBColor2DBar(int)
{
    for (int e = 0; e < 256; ++e) {
        float red = 0.0f;
        if (e >= 243)
            red = 1.0f;
        else if (e >= 225)
            red = static_cast<float>(e - 225) * 0.055555556f;
        const float green = static_cast<float>(255 - e) * 0.00390625f;
        const float blue = static_cast<float>(255 - e) * 0.003515625f;
        for (int c = 0; c <= 100; ++c) {
            const float level = static_cast<float>(c) / 50.0f;
            difmatFA2DBar[e][c][0] = red * level;
            difmatFA2DBar[e][c][1] = green * level;
            difmatFA2DBar[e][c][2] = blue * level;
            difmatFA2DBar[e][c][3] = 1.0f;
        }
    }
}

}  // namespace nupo
