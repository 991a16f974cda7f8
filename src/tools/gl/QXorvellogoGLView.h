#pragma once

#include "platform/viewhost/gl/OpenGLView.h"

#include <array>

namespace nupo {

// The about window's logo animation: the letters of the program's name fly in on curved paths and settle
// into the word. `progress` is the share of the way still to go: 1.0 at a (re)start, down to 0.0 when the
// letters stand in place. Main thread.
struct LogoAnimation {
    static constexpr int letterCount = 5;  // "NUPO4"
    struct Path {
        float startX = 0.0f;  // where the letter starts, relative to its place, in logo units
        float startY = 0.0f;
        float bend = 0.0f;  // sideways bulge of the curve
    };
    double progress = 1.0;
    std::array<Path, letterCount> paths{};
    unsigned restarts = 0;  // how many times the animation was restarted
};
LogoAnimation& logoAnimation();

// Restarts the logo animation: progress back to 1.0 and new random paths for the letters.
void restretOpen();

// Where letter `index` stands at `progress` (1.0: at its path's start; 0.0: in place), in logo units.
void logoLetterPosition(const LogoAnimation& animation, int index, float& x, float& y);

// The view of the logo: a dark field with the name in large bitmap letters. Each frame advances the
// animation by one step (a restart's flight takes two seconds at 30 frames a second).
class QXorvellogoGLView : public OpenGLView {
public:
    using OpenGLView::OpenGLView;
    void drawRect(const QRectF& rect) override;
};

}  // namespace nupo
