#include "document/sections/AnalysisSection.h"

#include "analysis/SetFFTController.h"
#include "shared/AnalysisState.h"

#include <iterator>

namespace nupo {

namespace {

const QString pointsKey = QStringLiteral("fftp");
const QString logKey = QStringLiteral("LOGpowerONed");
const QString averagingKey = QStringLiteral("averageFFTX");
const QString mainsKey = QStringLiteral("mainsFrequencyX");

QString gainKey(int channel)
{
    return QStringLiteral("setGain%1Number").arg(channel + 1);
}

// The index of value among choices, or -1.
template <std::size_t N>
int indexOf(const int (&choices)[N], int value)
{
    for (std::size_t i = 0; i < N; ++i)
        if (choices[i] == value)
            return int(i);
    return -1;
}

}  // namespace

std::optional<PlistDictionary> AnalysisSection::write()
{
    PlistDictionary section;
    section.insert(pointsKey,
                   integerValue(SetFFTController::pointChoices[SetFFTController::fftPointIndex()]));
    for (int c = 0; c < 4; ++c)
        section.insert(gainKey(c), integerValue(SetFFTController::gainNumber(c)));
    section.insert(logKey, integerValue(LOGpowerONed.load() != 0 ? 1 : 0));
    section.insert(averagingKey, integerValue(averageFFTX.load()));
    section.insert(mainsKey, integerValue(mainsFrequencyX.load()));
    return section;
}

bool AnalysisSection::stage(SectionInput& input)
{
    staged = Contents{};
    if (const auto points = input.integer(pointsKey, 0, SetFFTController::pointChoices[6]); points) {
        staged.pointIndex = indexOf(SetFFTController::pointChoices, *points);
        if (*staged.pointIndex < 0)
            input.fail(pointsKey, QStringLiteral("%1 is not an FFT size (128, 256, 512, 1024, 2048, 4096 "
                                                 "or 8192 points)")
                                      .arg(*points));
    }
    for (int c = 0; c < 4; ++c)
        staged.gains[std::size_t(c)] = input.integer(gainKey(c), 0, 8);
    staged.logPower = input.integer(logKey, 0, 1);
    if (const auto count = input.integer(averagingKey, 1, 16); count) {
        staged.averagingIndex = indexOf(SetFFTController::averagingChoices, *count);
        if (*staged.averagingIndex < 0)
            input.fail(
                averagingKey,
                QStringLiteral("%1 is not a number of spectra averaged (1, 2, 4, 8 or 16)").arg(*count));
    }
    if (const auto hz = input.integer(mainsKey, 0, 1000); hz) {
        staged.mains = *hz;
        if (*hz != 50 && *hz != 60)
            input.fail(mainsKey, QStringLiteral("the mains frequency is 50 or 60 Hz, not %1").arg(*hz));
    }
    return !input.failed();
}

void AnalysisSection::apply(const DocumentReadContext&)
{
    SetFFTController& settings = SetFFTController::sharedSetFFTController();
    if (staged.pointIndex && fftp.load() != SetFFTController::pointChoices[*staged.pointIndex])
        settings.setFFTpoint(*staged.pointIndex);
    for (int c = 0; c < 4; ++c)
        if (const auto& gain = staged.gains[std::size_t(c)])
            settings.setGainNumber(c, *gain);
    if (staged.logPower)
        settings.setLOGpowerON(*staged.logPower);
    if (staged.averagingIndex)
        settings.setAveragingIndex(*staged.averagingIndex);
    if (staged.mains)
        settings.setMainsFrequency(*staged.mains);
    staged = Contents{};
}

}  // namespace nupo
