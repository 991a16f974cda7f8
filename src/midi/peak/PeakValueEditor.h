#pragma once

#include "midi/peak/PeakMidiWorker.h"
#include "midi/peak/SetMIDIOutlets.h"

class QObject;

namespace nupo {

class SetMIDI;

// Editing the shown peak setup's ranges and values: the band edges and output ranges of F and V, the
// input and output sliders with their linear maps, the tempo, the band presets and the source mode.
// Writes the edited copy and shows the result on the mapper's controls.
class PeakValueEditor {
public:
    explicit PeakValueEditor(SetMIDI& owner) : mapper(owner) {}

    void setInputFCalc(float f);
    void setInputVCalc(float v);
    void setInputFSlider_(float f);
    void setInputVSlider_(float v);
    void setInputFSliderX(float f);
    void setInputVSliderX(float v);
    void changeInputFSlider(QObject* sender);
    void changeInputVSlider(QObject* sender);
    void needUpdateInputDataQ();
    double SetMIDItiming(int index);
    void initTempo();
    void setLowFSlider_(float v);
    void setHighFSlider_(float v);
    void setLowFNSlider_(float v);
    void setHighFNSlider_(float v);
    void setLowVSlider_(float v);
    void setHighVSlider_(float v);
    void setLowVNSlider_(float v);
    void setHighVNSlider_(float v);
    void changeLowFSlider(QObject* sender);
    void changeHighFSlider(QObject* sender);
    void changeLowFNSlider(QObject* sender);
    void changeHighFNSlider(QObject* sender);
    void changeLowVSlider(QObject* sender);
    void changeHighVSlider(QObject* sender);
    void changeLowVNSlider(QObject* sender);
    void changeHighVNSlider(QObject* sender);
    void changeOutputFSlider(QObject* sender);
    void changeOutputVSlider(QObject* sender);
    void changeTempoSlider(QObject* sender);
    void setOutputFSlider_(float v);
    void setOutputVSlider_(float v);
    void setTempoSlider_(float t);
    void sendTextLowFSliderField(QObject* sender);
    void sendTextHighFSliderField(QObject* sender);
    void sendTextLowFNSliderField(QObject* sender);
    void sendTextHighFNSliderField(QObject* sender);
    void sendTextLowVSliderField(QObject* sender);
    void sendTextHighVSliderField(QObject* sender);
    void sendTextLowVNSliderField(QObject* sender);
    void sendTextHighVNSliderField(QObject* sender);
    void sendTextInputFSliderField(QObject* sender);
    void sendTextInputVSliderField(QObject* sender);
    void sendTextOutputFSliderField(QObject* sender);
    void sendTextOutputVSliderField(QObject* sender);
    void sendTextTempoField(QObject* sender);
    void selectInputFrequencyRange(QObject* sender);
    void setInputFrequencyRange_(int tag);
    void selectUsePeakMode(QObject* sender);
    void setUsePeakMode_(int mode);
    void reSetsetInputFSlider();
    // Shows setup n's ranges, inputs, outputs, band preset and source mode as they are stored, changing
    // none of them (the setters remap the outputs and start the V input at 50); a setup that is on sends
    // its values once. Setup n is the shown setup.
    void showSetupValues(int n);

private:
    using Measure = PeakMeasure;
    using O = SetMIDIOutlet;
    struct RangeSetter;

    static const RangeSetter (&rangeSetters())[8];

    void showNumber(SetMIDIOutlet outlet, double value);
    void showRangeEnd(const RangeSetter& setter, float value);
    // The source mode's cell, boxes, labels and V limits, for the shown setup's data channel.
    void showUsePeakMode(int mode);
    void showInput(Measure measure, float input, float output);
    void inputSlider(Measure measure, float value);
    void setRangeEnd(const RangeSetter& setter, float value);
    void setOutputSlider(Measure measure, float value);
    void setRangeFromText(const RangeSetter& setter, QObject* sender, bool freeBand);

    SetMIDI& mapper;
};

}  // namespace nupo
