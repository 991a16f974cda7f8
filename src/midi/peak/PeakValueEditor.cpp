#include "midi/peak/PeakValueEditor.h"

#include "midi/common/SenderValue.h"
#include "midi/peak/PeakMidiMap.h"
#include "midi/peak/SetMIDI.h"

#include <cmath>

namespace nupo {

namespace {

QString formatted(double value)
{
    return QString::number(value, 'f', 3);
}

}  // namespace

struct PeakValueEditor::RangeSetter {
    SetupArray<float>& field;
    SetMIDIOutlet slider;
    SetMIDIOutlet display;
    SetMIDIOutlet edit;
    bool bandEdge;
    Measure remap;
};

#define NUPO_RANGE_SETTER(Name, measure, band)                                                           \
    PeakValueEditor::RangeSetter                                                                         \
    {                                                                                                    \
        Name##X, O::set##Name##Slider, O::displayHere##Name##Slider, O::Name##SliderField, band, measure \
    }

void PeakValueEditor::setInputFCalc(float f)
{
    mapPeakInput(shownPeakSetup(), Measure::F, f);
}

void PeakValueEditor::setInputVCalc(float v)
{
    mapPeakInput(shownPeakSetup(), Measure::V, v);
}

void PeakValueEditor::showNumber(SetMIDIOutlet outlet, double value)
{
    mapper.showText(outlet, formatted(value));
}

void PeakValueEditor::showInput(Measure m, float input, float output)
{
    const bool isF = m == Measure::F;
    mapper.showState(isF ? O::setInputFSlider : O::setInputVSlider, input);
    showNumber(isF ? O::displayHereInputFSlider : O::displayHereInputVSlider, input);
    mapper.setFieldFormat(isF ? O::InputFSliderField : O::InputVSliderField, 3, 3);
    mapper.showState(isF ? O::setOutputFSlider : O::setOutputVSlider, output);
    showNumber(isF ? O::displayHereOutputFSlider : O::displayHereOutputVSlider, output);
    mapper.setFieldFormat(isF ? O::OutputFSliderField : O::OutputVSliderField, 3, 3);
}

void PeakValueEditor::inputSlider(Measure m, float value)
{
    const int s = shownPeakSetup();
    mapPeakInput(s, m, value);
    const bool isF = m == Measure::F;
    showInput(m, (isF ? InputFX : InputVX)[s], (isF ? OutputFX : OutputVX)[s]);
    mapper.sendMIDIData(s, 0);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::setInputFSlider_(float f)
{
    inputSlider(Measure::F, f);
}

void PeakValueEditor::setInputVSlider_(float v)
{
    inputSlider(Measure::V, v);
}

void PeakValueEditor::setInputFSliderX(float f)
{
    const int s = shownPeakSetup();
    showInput(Measure::F, f, mapIntoOutputRange(f, LowFX[s], HighFX[s], LowFNX[s], HighFNX[s]));
}

void PeakValueEditor::setInputVSliderX(float v)
{
    const int s = shownPeakSetup();
    showInput(Measure::V, v, mapIntoOutputRange(v, LowVX[s], HighVX[s], LowVNX[s], HighVNX[s]));
}

void PeakValueEditor::changeInputFSlider(QObject* sender)
{
    setInputFSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeInputVSlider(QObject* sender)
{
    setInputVSlider_(senderFloatValue(sender));
}

void PeakValueEditor::needUpdateInputDataQ()
{
    const int s = shownPeakSetup();
    if (ONInputX[s] != 0) {
        setInputFSliderX(InputFX[s]);
        setInputVSliderX(InputVX[s]);
    }
    mapper.setNeedsDisplay();
}

double PeakValueEditor::SetMIDItiming(int index)
{
    return timingInterval(index, TempoX[shownPeakSetup()]);
}

void PeakValueEditor::initTempo()
{
    for (int s = 0; s < maxSetupNumber; ++s)
        tlongX[s] = SendMIDItimingX[s] == 0 ? 0.0 : timingInterval(13, TempoX[s]);
}

const PeakValueEditor::RangeSetter (&PeakValueEditor::rangeSetters())[8]
{
    static const RangeSetter setters[8] = {
        NUPO_RANGE_SETTER(LowF, Measure::F, true),   NUPO_RANGE_SETTER(HighF, Measure::F, true),
        NUPO_RANGE_SETTER(LowFN, Measure::F, false), NUPO_RANGE_SETTER(HighFN, Measure::F, false),
        NUPO_RANGE_SETTER(LowV, Measure::V, false),  NUPO_RANGE_SETTER(HighV, Measure::V, false),
        NUPO_RANGE_SETTER(LowVN, Measure::V, false), NUPO_RANGE_SETTER(HighVN, Measure::V, false),
    };
    return setters;
}

void PeakValueEditor::showRangeEnd(const RangeSetter& setter, float value)
{
    mapper.showState(setter.slider, value);
    showNumber(setter.display, value);
    mapper.setFieldFormat(setter.edit, 3, 3);
}

void PeakValueEditor::setRangeEnd(const RangeSetter& setter, float value)
{
    const int s = shownPeakSetup();
    if (std::isfinite(value))
        setter.field[s] = value;
    showRangeEnd(setter, setter.field[s]);
    if (setter.bandEdge)
        reSetsetInputFSlider();
    if (setter.remap == Measure::F)
        setInputFSlider_(InputFX[s]);
    else
        setInputVSlider_(InputVX[s]);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::setLowFSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(LowF, Measure::F, true), v);
}

void PeakValueEditor::setHighFSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(HighF, Measure::F, true), v);
}

void PeakValueEditor::setLowFNSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(LowFN, Measure::F, false), v);
}

void PeakValueEditor::setHighFNSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(HighFN, Measure::F, false), v);
}

void PeakValueEditor::setLowVSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(LowV, Measure::V, false), v);
}

void PeakValueEditor::setHighVSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(HighV, Measure::V, false), v);
}

void PeakValueEditor::setLowVNSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(LowVN, Measure::V, false), v);
}

void PeakValueEditor::setHighVNSlider_(float v)
{
    setRangeEnd(NUPO_RANGE_SETTER(HighVN, Measure::V, false), v);
}

void PeakValueEditor::changeLowFSlider(QObject* sender)
{
    setInputFrequencyRange_(10);
    setLowFSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeHighFSlider(QObject* sender)
{
    setInputFrequencyRange_(10);
    setHighFSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeLowFNSlider(QObject* sender)
{
    setLowFNSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeHighFNSlider(QObject* sender)
{
    setHighFNSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeLowVSlider(QObject* sender)
{
    setLowVSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeHighVSlider(QObject* sender)
{
    setHighVSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeLowVNSlider(QObject* sender)
{
    setLowVNSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeHighVNSlider(QObject* sender)
{
    setHighVNSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeOutputFSlider(QObject* sender)
{
    setOutputFSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeOutputVSlider(QObject* sender)
{
    setOutputVSlider_(senderFloatValue(sender));
}

void PeakValueEditor::changeTempoSlider(QObject* sender)
{
    setTempoSlider_(senderFloatValue(sender));
}

void PeakValueEditor::setOutputSlider(Measure m, float value)
{
    const int s = shownPeakSetup();
    const bool isF = m == Measure::F;
    mapper.showState(isF ? O::setOutputFSlider : O::setOutputVSlider, value);
    if (std::isfinite(value))
        (isF ? OutputFX : OutputVX)[s] = value;
    showNumber(isF ? O::displayHereOutputFSlider : O::displayHereOutputVSlider, value);
    mapper.setFieldFormat(isF ? O::OutputFSliderField : O::OutputVSliderField, 3, 3);
    SetupArray<float>& input = isF ? InputFX : InputVX;
    input[s] = isF ? mapBackToInput(OutputFX[s], LowFX[s], HighFX[s], LowFNX[s], HighFNX[s], InputFX[s])
                   : mapBackToInput(OutputVX[s], LowVX[s], HighVX[s], LowVNX[s], HighVNX[s], InputVX[s]);
    showNumber(isF ? O::displayHereInputFSlider : O::displayHereInputVSlider, input[s]);
    mapper.showState(isF ? O::setInputFSlider : O::setInputVSlider, input[s]);
    mapper.setFieldFormat(isF ? O::InputFSliderField : O::InputVSliderField, 3, 3);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::setOutputFSlider_(float v)
{
    setOutputSlider(Measure::F, v);
}

void PeakValueEditor::setOutputVSlider_(float v)
{
    setOutputSlider(Measure::V, v);
}

void PeakValueEditor::setTempoSlider_(float t)
{
    const int s = shownPeakSetup();
    t = clampTempo(t);
    mapper.showState(O::setTempoSlider, t);
    TempoX[s] = t;
    SendMIDItimingX[s] = 13;
    tlongX[s] = SetMIDItiming(13);
    mapper.setSendMIDItiming(13);
    mapper.showText(O::displayHereTempo, QString::number(t));
    mapper.setNeedsDisplay();
}

void PeakValueEditor::setRangeFromText(const RangeSetter& setter, QObject* sender, bool freeBand)
{
    const float value = senderFloatValue(sender);
    showNumber(setter.display, value);
    setRangeEnd(setter, value);
    if (freeBand)
        setInputFrequencyRange_(10);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::sendTextLowFSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(LowF, Measure::F, true), sender, true);
}

void PeakValueEditor::sendTextHighFSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(HighF, Measure::F, true), sender, true);
}

void PeakValueEditor::sendTextLowFNSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(LowFN, Measure::F, false), sender, false);
}

void PeakValueEditor::sendTextHighFNSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(HighFN, Measure::F, false), sender, false);
}

void PeakValueEditor::sendTextLowVSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(LowV, Measure::V, false), sender, false);
}

void PeakValueEditor::sendTextHighVSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(HighV, Measure::V, false), sender, false);
}

void PeakValueEditor::sendTextLowVNSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(LowVN, Measure::V, false), sender, false);
}

void PeakValueEditor::sendTextHighVNSliderField(QObject* sender)
{
    setRangeFromText(NUPO_RANGE_SETTER(HighVN, Measure::V, false), sender, false);
}

void PeakValueEditor::sendTextInputFSliderField(QObject* sender)
{
    const float value = senderFloatValue(sender);
    showNumber(O::displayHereInputFSlider, value);
    setInputFSlider_(value);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::sendTextInputVSliderField(QObject* sender)
{
    const float value = senderFloatValue(sender);
    showNumber(O::displayHereInputVSlider, value);
    setInputVSlider_(value);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::sendTextOutputFSliderField(QObject* sender)
{
    const float value = senderFloatValue(sender);
    showNumber(O::displayHereOutputFSlider, value);
    setOutputFSlider_(value);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::sendTextOutputVSliderField(QObject* sender)
{
    const float value = senderFloatValue(sender);
    showNumber(O::displayHereOutputVSlider, value);
    setOutputVSlider_(value);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::sendTextTempoField(QObject* sender)
{
    const float tempo = clampTempo(senderFloatValue(sender));
    mapper.showText(O::displayHereTempo, QString::number(tempo));
    setTempoSlider_(tempo);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::selectInputFrequencyRange(QObject* sender)
{
    setInputFrequencyRange_(senderSelectedTag(sender));
}

void PeakValueEditor::setInputFrequencyRange_(int tag)
{
    static const float bands[10][2] = {{0, 40},  {0, 1},   {2, 3},   {4, 7},   {8, 12},
                                       {13, 15}, {16, 20}, {21, 30}, {13, 30}, {31, 40}};
    mapper.selectItem(O::setInputFrequencyRange, tag);
    InputFrequencyRangeX[shownPeakSetup()] = tag;
    if (tag != 10) {
        const int band = tag >= 0 && tag < 10 ? tag : 0;
        setLowFSlider_(bands[band][0]);
        setHighFSlider_(bands[band][1]);
    }
    mapper.setNeedsDisplay();
}

void PeakValueEditor::selectUsePeakMode(QObject* sender)
{
    setUsePeakMode_(senderSelectedTag(sender));
}

void PeakValueEditor::setUsePeakMode_(int mode)
{
    const int s = shownPeakSetup();
    UsePeakModeX[s] = mode;
    showUsePeakMode(mode);
    if (mode >= 0 && mode <= 3) {
        InputVX[s] = 50.0f;
        setInputVSlider_(50.0f);
    }
    reSetsetInputFSlider();
    mapper.setNeedsDisplay();
}

void PeakValueEditor::showUsePeakMode(int mode)
{
    const int s = shownPeakSetup();
    mapper.selectItem(O::setUsePeakMode, mode);
    mapper.setShown(O::setAveragePower, mode != 0);
    mapper.setShown(O::setPlay3Peaks, mode != 1);

    const int channel = NUPOchannelX[s];
    QStringList labels;
    double limit = -1.0;
    if (mode == 0 || mode == 1) {
        limit = 100.0;
        if (channel >= 0 && channel <= 3)
            labels = {"100 microV", "Peak Power microV", "0 microV", "0 to 100", "microV"};
        else if (channel >= 4 && channel <= 9)
            labels = {"100 %", "Peak Coherence %", "0 %", "0 to 100", "%"};
    } else if (mode == 2 || mode == 3) {
        limit = 64.0;
        labels = {"64", "Peak Total Count", "0", "0 to 64", ""};
    }
    if (!labels.isEmpty()) {
        const SetMIDIOutlet fields[5] = {O::displayHereMaxInput, O::displayHereName, O::displayHereMiniInput,
                                         O::displayHereInputName, O::displayHereInputUnit};
        for (int i = 0; i < 5; ++i)
            mapper.showText(fields[i], labels.at(i));
    }
    if (limit > 0.0) {
        for (SetMIDIOutlet slider : {O::setInputVSlider, O::setLowVSlider, O::setHighVSlider})
            mapper.setLimits(slider, 0.0, limit);
    }
}

void PeakValueEditor::showSetupValues(int n)
{
    if (!validSetup(n))
        return;
    // The limits first, so that the sliders can show the values inside them.
    showUsePeakMode(UsePeakModeX[n]);
    reSetsetInputFSlider();
    for (const RangeSetter& setter : rangeSetters())
        showRangeEnd(setter, setter.field[n]);
    showInput(Measure::F, InputFX[n], OutputFX[n]);
    showInput(Measure::V, InputVX[n], OutputVX[n]);
    mapper.selectItem(O::setInputFrequencyRange, InputFrequencyRangeX[n]);
    mapper.sendMIDIData(n, 0);
    mapper.setNeedsDisplay();
}

void PeakValueEditor::reSetsetInputFSlider()
{
    const int s = shownPeakSetup();
    if (UsePeakModeX[s] == 1) {
        mapper.setLimits(O::setInputFSlider, LowFX[s], HighFX[s]);
        showNumber(O::displayHereMaxFInput, HighFX[s]);
        showNumber(O::displayHereMiniFInput, LowFX[s]);
        mapper.setFieldFormat(O::MaxFInputField, 2, 1);
        mapper.setFieldFormat(O::MiniFInputField, 2, 1);
    } else {
        mapper.setLimits(O::setInputFSlider, 0.0, 60.0);
        mapper.showText(O::displayHereMaxFInput, QStringLiteral("60"));
        mapper.showText(O::displayHereMiniFInput, QStringLiteral("0"));
    }
}

}  // namespace nupo
