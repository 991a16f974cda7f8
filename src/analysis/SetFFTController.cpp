#include "analysis/SetFFTController.h"

#include "analysis/FFTMath.h"
#include "analysis/QX3DSpectrum.h"
#include "analysis/SpectrumMath.h"
#include "shared/AnalysisState.h"

namespace nupo {

namespace {

std::atomic<int>* gainIndexVariable(int channel)
{
    static std::atomic<int>* const variables[4] = {&setGain1Number, &setGain2Number, &setGain3Number,
                                                   &setGain4Number};
    return (channel >= 0 && channel < 4) ? variables[channel] : nullptr;
}

constexpr int unityGainIndex = 5;

}  // namespace

SetFFTController& SetFFTController::sharedSetFFTController()
{
    static SetFFTController* instance = new SetFFTController;  // lives to process end
    return *instance;
}

void SetFFTController::setWindowSetup(QObject*)
{
    fftp.store(validFFTSize(fftp.load()));
    for (int c = 0; c < 4; ++c)
        setGainNumber(c, gainNumber(c));
    emit settingsChanged();
}

void SetFFTController::setFFTpoint(int index)
{
    if (index >= 0 && index < 7)
        fftp.store(pointChoices[index]);
    initbitrevAndFFT();
    QX3DSpectrum::sharedQX3DSpectrum().initPosition();
    emit settingsChanged();
}

int SetFFTController::fftPointIndex()
{
    const int points = validFFTSize(fftp.load());
    for (int i = 0; i < 7; ++i)
        if (pointChoices[i] == points)
            return i;
    return 1;
}

void SetFFTController::setGainNumber(int channel, int index)
{
    std::atomic<int>* variable = gainIndexVariable(channel);
    if (!variable)
        return;
    const int valid = (index >= 0 && index <= 8) ? index : unityGainIndex;
    variable->store(valid);
    displayGainX[channel].store(gainIndexToDisplayGain(valid));
    emit settingsChanged();
}

int SetFFTController::gainNumber(int channel)
{
    const int index = gainIndexOfChannel(channel);
    return (index >= 0 && index <= 8) ? index : unityGainIndex;
}

void SetFFTController::setLOGpowerON(int on)
{
    LOGpowerONed.store(on != 0 ? 1 : 0);
    emit settingsChanged();
}

void SetFFTController::setAveragingIndex(int index)
{
    averageFFTX.store((index >= 0 && index < 5) ? averagingChoices[index] : 1);
    emit settingsChanged();
}

int SetFFTController::averagingIndex()
{
    const int count = averageFFTX.load();
    for (int i = 0; i < 5; ++i)
        if (averagingChoices[i] == count)
            return i;
    return 0;
}

void SetFFTController::setMainsFrequency(int hz)
{
    if (hz != 50 && hz != 60)
        return;
    mainsFrequencyX.store(hz);
    emit settingsChanged();
}

}  // namespace nupo
