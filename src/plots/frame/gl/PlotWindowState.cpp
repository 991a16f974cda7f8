#include "plots/frame/gl/PlotWindowState.h"

#include <QString>

namespace nupo {

void QueuedWindowCommand::queue(int newValue, int repeats)
{
    value = newValue;
    count = repeats;
}

void QueuedWindowCommand::tick(bool suppressed, const std::function<void(int)>& apply)
{
    if (suppressed) {
        didChange = 0;
        count = 0;
    }
    if (didChange == 0 && count <= 0)
        return;
    // Applying may set the flag again (a direct request does); this tick's application clears it.
    apply(value);
    didChange = 0;
    if (count > 0)
        --count;
}

std::optional<float> PlotWindowState::stepAlphaAnimation(int mode)
{
    float upper = 0.0f;
    float lower = 0.0f;
    switch (mode) {
        case AlphaFull:
            upper = 1.0f, lower = 0.0f;
            break;
        case AlphaToPointTwo:
            upper = 1.0f, lower = 0.2f;
            break;
        case AlphaMiddle:
            upper = 0.8f, lower = 0.4f;
            break;
        default:
            return std::nullopt;
    }
    const float shown = alphaValue;
    alphaValue += alphaDelta;
    if (alphaValue > upper)
        alphaDelta = -0.01f;
    if (alphaValue < lower)
        alphaDelta = 0.01f;
    return shown;
}

void PlotWindowState::runQueuedCommands(const std::function<void(int)>& applyViewMode,
                                        const std::function<void(int)>& applyViewEntry,
                                        const std::function<void()>& applyColour)
{
    const bool suppressed = suppressQueued == 1;
    viewMode.tick(suppressed, applyViewMode);
    viewEntry.tick(suppressed, applyViewEntry);
    if (suppressed) {
        colourCount = 0;
        colourChanged = 0;
    }
    if (colourChanged != 0 || colourCount > 0) {
        applyColour();
        colourChanged = 0;
        if (colourCount > 0)
            --colourCount;
    }
    suppressQueued = 0;
}

void PlotWindowState::setWframe(const QRectF& frame)
{
    pendingFrame = frame;
    pendingFrameSet = 1;
}

void PlotWindowState::setWindowColorValue()
{
    colourChanged = 1;
    colourCount = 3;
}

void PlotWindowState::handBackgroundColour(const RGBAColor& colour)
{
    handedColour = colour;
    handedColourPending = 1;
}

void PlotWindowState::windowClosed(bool clamp, int maxOpen)
{
    shown = 0;
    --openCount;
    if (clamp)
        openCount = openCount < 0 ? 0 : (openCount > maxOpen ? maxOpen : openCount);
}

QString timeStampText(int samplePoint, int sampleSpeed)
{
    const int rate = sampleSpeed < 1 ? 1 : sampleSpeed;
    const int s = samplePoint / rate;
    const int hours = s / 3600;
    const int minutes = (s % 3600) / 60;
    const int seconds = (s % 3600) % 60;
    const int millis = static_cast<int>(static_cast<long long>(samplePoint - s * rate) * 1000 / rate);
    if (samplePoint < 0 || hours > 99)
        return QString::asprintf("%02d:%02d:%02d.%03d", hours, minutes, seconds, millis);
    // The usual case, written digit by digit: the windows show it every frame.
    const auto digit = [](int value) { return QChar(u'0' + value); };
    const QChar text[12] = {digit(hours / 10),   digit(hours % 10),       u':',
                            digit(minutes / 10), digit(minutes % 10),     u':',
                            digit(seconds / 10), digit(seconds % 10),     u'.',
                            digit(millis / 100), digit(millis / 10 % 10), digit(millis % 10)};
    return QString(text, 12);
}

}  // namespace nupo
