#include "views3d/spectrum/SpectrumOverlayTexts.h"

#include "shared/AnalysisState.h"

namespace nupo {

const QString& labelText(LabelSlot slot)
{
    static const std::array<QString, labelSlotCount> texts = {
        QStringLiteral("Left"),
        QStringLiteral("Left CH 1"),
        QStringLiteral("Left CH 3"),
        QStringLiteral("Right"),
        QStringLiteral("Right CH 2"),
        QStringLiteral("Right CH 4"),
        QStringLiteral("Coherence"),
        QStringLiteral("Coherence CH 1 & CH 2"),
        QStringLiteral("Coherence CH 3 & CH 4"),
        QStringLiteral("Coherence CH 1 & CH 3"),
        QStringLiteral("Coherence CH 2 & CH 4"),
        QStringLiteral("Coherence CH 1 & CH 4"),
        QStringLiteral("Coherence CH 2 & CH 3"),
        QStringLiteral("G: Gamma:31..40Hz"),
        QStringLiteral("H: BetaHigh:21..30Hz"),
        QStringLiteral("M: BetaMiddle:16..20Hz"),
        QStringLiteral("L: BetaLow/SMR:13..15Hz"),
        QStringLiteral("A: Alpha:8..12Hz"),
        QStringLiteral("T: Theta:5..7Hz"),
        QStringLiteral("D: Delta:2..4Hz"),
        QStringLiteral("E: Eye:0..1Hz"),
        QStringLiteral("E:Eye(0..1), D:Delta(2..4), T:Theta(5..7), A:Alpha(8..12), L:BetaLow/SMR(13..15), "
                       "M:BetaMiddle(16..20), H:BetaHigh(21..30), G:Gamma(31..40) Hz"),
    };
    const int i = static_cast<int>(slot);
    static const QString none;
    return i >= 0 && i < labelSlotCount ? texts[static_cast<std::size_t>(i)] : none;
}

std::array<QString, 10> brainSwitchCountLines(int source, bool coherence)
{
    std::array<QString, 10> lines;
    if (source < 0 || source >= brainSourceCount)
        return lines;
    const auto& table = coherence ? peakSWcoherenceCount[source] : peakSWfftCount[source];
    for (int k = 0; k <= 8; ++k) {
        const BrainSwitchRecord a = table[k][0].load(), b = table[k][1].load(), c = table[k][2].load();
        lines[static_cast<std::size_t>(k)] = QString::asprintf(
            "BS%d 1:(%d, %2.3f), 2:(%d, %2.3f), 3:(%d, %2.3f)", k, static_cast<int>(a.level), a.peakFrequency,
            static_cast<int>(b.level), b.peakFrequency, static_cast<int>(c.level), c.peakFrequency);
    }
    lines[9] = QStringLiteral("peak1:(count,Hz), peak2:(count,Hz), peak3:(count,Hz)");
    return lines;
}

std::array<QString, 10> brainSwitchBoundsLines(const float* record, int shapeChange)
{
    std::array<QString, 10> lines;
    if (!record)
        return lines;
    const bool pair = shapeChange >= 6 && shapeChange <= 11;
    const float m = pair ? 10.0f : 1.0f;
    lines[0] = pair ? QStringLiteral("BS0  :(95.0, 100.0, 0.0, 60.0)")
                    : QStringLiteral("BS0  :(0.7, 10.0, 0.0, 60.0)");
    for (int k = 1; k <= 8; ++k)
        lines[static_cast<std::size_t>(k)] =
            QString::asprintf("BS%d :(%2.1f, %2.1f, %2.1f, %2.1f)", k, m * record[17 + k], m * record[25 + k],
                              record[33 + k], record[41 + k]);
    lines[9] = pair ? QStringLiteral("BS   :( L/H coherence,  L/H Hz)")
                    : QString::fromUtf8("BS   :( L/H \xC2\xB5V,      L/H Hz)");
    return lines;
}

std::array<QString, 10> brainSwitchBoundsLines(int source, int shapeChange)
{
    if (source < 0 || source >= brainSourceCount)
        return {};
    float record[brainSwitchRecordLength];
    for (int i = 0; i < brainSwitchRecordLength; ++i)
        record[i] = brainSWX[source][i].load(std::memory_order_relaxed);
    return brainSwitchBoundsLines(record, shapeChange);
}

QString peakLine(int channel)
{
    if (channel < 0 || channel > 3)
        return QString();
    const float g = displayGainOfChannel(channel);
    const PeakRecord a = PeakfftPowerFV[channel][0][0].load(), b = PeakfftPowerFV[channel][0][1].load(),
                     c = PeakfftPowerFV[channel][0][2].load();
    return QString::fromUtf8("CH %1 peak power (\xC2\xB5V,Hz) ").arg(channel + 1) +
           QString::asprintf("1:(%2.1f, %2.1f), 2:(%2.1f, %2.1f), 3:(%2.1f, %2.1f)", a.value / g, a.frequency,
                             b.value / g, b.frequency, c.value / g, c.frequency);
}

QString infoText(double width, double height, const QString& renderer, const QString& version)
{
    return QString::asprintf("(%0.0f x %0.0f) \n", width, height) + renderer + QStringLiteral(" \n") +
           version;
}

QString cameraText(const CameraRecord& c)
{
    return QString::asprintf(
        "Camera at (%0.1f, %0.1f, %0.1f) looking at (%0.1f, %0.1f, %0.1f) with %0.1f aperture", c.viewPos.x,
        c.viewPos.y, c.viewPos.z, c.viewDir.x, c.viewDir.y, c.viewDir.z, c.aperture);
}

QString helpText()
{
    return QStringLiteral("Cmd-A: animate    Cmd-I: show info \n'h': toggle help    'c': toggle OpenGL caps");
}

QString messageText()
{
    return QStringLiteral("No messages...");
}

}  // namespace nupo
