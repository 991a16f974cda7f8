#include "midi/ui/SetMIDIPanel.h"

#include "midi/output/MidiOutput.h"
#include "midi/output/MidiSynth.h"
#include "midi/ui/MidiPanelControls.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/synth/GeneralMidi.h"
#include "platform/synth/ui/InstrumentPickerDialog.h"
#include "shared/CoreState.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QDoubleValidator>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QWidget>

#include <cmath>

namespace nupo {

namespace {

using O = SetMIDIOutlet;

// A radio matrix: the button inside with the tag.
QAbstractButton* cellWithTag(QObject* matrix, int tag)
{
    for (QAbstractButton* cell : matrix->findChildren<QAbstractButton*>()) {
        const QVariant cellTag = cell->property("tag");
        if (cellTag.isValid() && cellTag.toInt() == tag)
            return cell;
    }
    return nullptr;
}

void selectCell(QObject* matrix, int tag)
{
    const auto cells = matrix->findChildren<QAbstractButton*>();
    QAbstractButton* chosen = cellWithTag(matrix, tag);
    for (QAbstractButton* cell : cells) {
        const QSignalBlocker block(cell);
        cell->setAutoExclusive(false);
        cell->setChecked(cell == chosen);
        cell->setAutoExclusive(true);
    }
}

}  // namespace

SetMIDIPanel::SetMIDIPanel()
{
    for (int i = 0; i < int(SetMIDIOutlet::count); ++i) {
        const auto index = std::size_t(i);
        outlet(setMIDIOutletName(SetMIDIOutlet(i)),
               [this, index](QObject* object) { outlets[index] = object; });
    }
    declareActions();
}

void SetMIDIPanel::declareActions()
{
    using Action = void (SetMIDI::*)(QObject*);
    static const std::pair<const char*, Action> actions[] = {
        {"changeInputFSlider", &SetMIDI::changeInputFSlider},
        {"changeInputVSlider", &SetMIDI::changeInputVSlider},
        {"SimpleSetup", &SetMIDI::SimpleSetup},
        {"selectMIDIport", &SetMIDI::selectMIDIport},
        {"SetToDefault", &SetMIDI::SetToDefault},
        {"selectSetupN", &SetMIDI::selectSetupN},
        {"SetCount", &SetMIDI::SetCount},
        {"sendTextSetupNinputField", &SetMIDI::sendTextSetupNinputField},
        {"sendTextSetupNstringField", &SetMIDI::sendTextSetupNstringField},
        {"Set", &SetMIDI::Set},
        {"Cancel", &SetMIDI::Cancel},
        {"Solo", &SetMIDI::Solo},
        {"MIDIoff", &SetMIDI::MIDIoff},
        {"ResetMIDI", &SetMIDI::ResetMIDI},
        {"MIDIoutON", &SetMIDI::MIDIoutON},
        {"selectMIDIchannel", &SetMIDI::selectMIDIchannel},
        {"SetMIDIchannel", &SetMIDI::SetMIDIchannel},
        {"sendTextMIDIchannelField", &SetMIDI::sendTextMIDIchannelField},
        {"selectProgramChange", &SetMIDI::selectProgramChange},
        {"SetMIDIprogramC", &SetMIDI::SetMIDIprogramC},
        {"sendTextMIDIprogramchangeField", &SetMIDI::sendTextMIDIprogramchangeField},
        {"Instrument", &SetMIDI::Instrument},
        {"selectBSchannel", &SetMIDI::selectBSchannel},
        {"SetBSCH", &SetMIDI::SetBSCH},
        {"selectNUPOchannel", &SetMIDI::selectNUPOchannel},
        {"selectSendMIDItiming", &SetMIDI::selectSendMIDItiming},
        {"UseQTMIDI", &SetMIDI::UseQTMIDI},
        {"Play3Peaks", &SetMIDI::Play3Peaks},
        {"ONInput", &SetMIDI::ONInput},
        {"PlayOnlyNoteChanged", &SetMIDI::PlayOnlyNoteChanged},
        {"NoteOnOff", &SetMIDI::NoteOnOff},
        {"NoteOffOn", &SetMIDI::NoteOffOn},
        {"PeakPower", &SetMIDI::PeakPower},
        {"AveragePower", &SetMIDI::AveragePower},
        {"SmallWindow", &SetMIDI::SmallWindow},
        {"MIDInoteF", &SetMIDI::MIDInoteF},
        {"MIDIvelocityF", &SetMIDI::MIDIvelocityF},
        {"MIDIchannelF", &SetMIDI::MIDIchannelF},
        {"MIDIprogramchangeF", &SetMIDI::MIDIprogramchangeF},
        {"MIDIpitchbendF", &SetMIDI::MIDIpitchbendF},
        {"MIDIcontrolchangeVF", &SetMIDI::MIDIcontrolchangeVF},
        {"MIDIcontrolchangeNF", &SetMIDI::MIDIcontrolchangeNF},
        {"MIDInoteV", &SetMIDI::MIDInoteV},
        {"MIDIvelocityV", &SetMIDI::MIDIvelocityV},
        {"MIDIchannelV", &SetMIDI::MIDIchannelV},
        {"MIDIprogramchangeV", &SetMIDI::MIDIprogramchangeV},
        {"MIDIpitchbendV", &SetMIDI::MIDIpitchbendV},
        {"MIDIcontrolchangeVV", &SetMIDI::MIDIcontrolchangeVV},
        {"MIDIcontrolchangeNV", &SetMIDI::MIDIcontrolchangeNV},
        {"changeLowFSlider", &SetMIDI::changeLowFSlider},
        {"changeHighFSlider", &SetMIDI::changeHighFSlider},
        {"changeLowFNSlider", &SetMIDI::changeLowFNSlider},
        {"changeHighFNSlider", &SetMIDI::changeHighFNSlider},
        {"changeLowVSlider", &SetMIDI::changeLowVSlider},
        {"changeHighVSlider", &SetMIDI::changeHighVSlider},
        {"changeLowVNSlider", &SetMIDI::changeLowVNSlider},
        {"changeHighVNSlider", &SetMIDI::changeHighVNSlider},
        {"changeOutputFSlider", &SetMIDI::changeOutputFSlider},
        {"changeOutputVSlider", &SetMIDI::changeOutputVSlider},
        {"changeTempoSlider", &SetMIDI::changeTempoSlider},
        {"sendTextLowFSliderField", &SetMIDI::sendTextLowFSliderField},
        {"sendTextHighFSliderField", &SetMIDI::sendTextHighFSliderField},
        {"sendTextLowFNSliderField", &SetMIDI::sendTextLowFNSliderField},
        {"sendTextHighFNSliderField", &SetMIDI::sendTextHighFNSliderField},
        {"sendTextLowVSliderField", &SetMIDI::sendTextLowVSliderField},
        {"sendTextHighVSliderField", &SetMIDI::sendTextHighVSliderField},
        {"sendTextLowVNSliderField", &SetMIDI::sendTextLowVNSliderField},
        {"sendTextHighVNSliderField", &SetMIDI::sendTextHighVNSliderField},
        {"sendTextInputFSliderField", &SetMIDI::sendTextInputFSliderField},
        {"sendTextInputVSliderField", &SetMIDI::sendTextInputVSliderField},
        {"sendTextOutputFSliderField", &SetMIDI::sendTextOutputFSliderField},
        {"sendTextOutputVSliderField", &SetMIDI::sendTextOutputVSliderField},
        {"sendTextTempoField", &SetMIDI::sendTextTempoField},
        {"selectInputFrequencyRange", &SetMIDI::selectInputFrequencyRange},
        {"selectUsePeakMode", &SetMIDI::selectUsePeakMode},
    };
    for (const auto& [name, function] : actions)
        action(QString::fromLatin1(name),
               [this, function = function](QObject* sender) { (this->*function)(sender); });
}

void SetMIDIPanel::connectSteppers()
{
    // Steppers act on every step, like the arrows they stand for.
    const std::pair<SetMIDIOutlet, void (SetMIDI::*)(QObject*)> steppers[] = {
        {SetMIDIOutlet::setSetCountX, &SetMIDI::SetCount},
        {SetMIDIOutlet::setSetMIDIchannel, &SetMIDI::SetMIDIchannel},
        {SetMIDIOutlet::setSetMIDIprogramC, &SetMIDI::SetMIDIprogramC},
        {SetMIDIOutlet::setSetBSCH, &SetMIDI::SetBSCH},
    };
    for (const auto& [outlet, function] : steppers) {
        auto* stepper = qobject_cast<QSpinBox*>(control(outlet));
        if (stepper == nullptr)
            continue;
        connect(stepper, &QSpinBox::valueChanged, this,
                [this, stepper, function = function] { (this->*function)(stepper); });
    }
}

void SetMIDIPanel::awakeFromNib()
{
    InstrumentPickerDialog::install();
    connectSteppers();
    init();
    SetupNX = SetupPopupShownX.load();
    fillPanelLists();
    firstOpen();
    // The number fields start on the setup shown.
    const QString shown = QString::number(SetupNX + 1);
    showText(SetMIDIOutlet::displayHereSetupN, shown);
    showText(SetMIDIOutlet::displayHereSetupNinput, shown);
    showText(SetMIDIOutlet::displayHereSetupNstring, strX[SetupNX]);
    showState(SetMIDIOutlet::setSetCountX, SetupNX);
}

// Fills the popups as the nib load does: the lists, then the shown setup's selections.
void SetMIDIPanel::fillPanelLists()
{
    const int s = shownPeakSetup();
    QStringList ports;
    for (int i = 1; i <= maxMidiPortNames; ++i)
        ports.append(QStringLiteral("MIDI port %1").arg(i));
    setItems(O::popupMIDIport, ports);
    setItems(O::popupSendMIDItiming, timingItems());
    selectItem(O::popupSendMIDItiming, SendMIDItimingX[s]);
    QStringList channels;
    for (int c = 1; c <= 16; ++c)
        channels.append(QString::number(c));
    setItems(O::popupMIDIchannel, channels);
    selectItem(O::popupMIDIchannel, MIDIchannelX[s]);
    setItems(O::popupProgramChange, generalMidiProgramNames());
    selectItem(O::popupProgramChange, ProgramChangeXXX[s]);
    QStringList switchSlots;
    for (int b = 0; b <= 8; ++b)
        switchSlots.append(QString::number(b));
    setItems(O::popupBSchannel, switchSlots);
    selectItem(O::popupBSchannel, BSchannelX[s]);
    setItems(O::popupNUPOchannel, dataChannelItems(DeviceConfig));
    selectItem(O::popupNUPOchannel, NUPOchannelX[s]);
}

// The first-open work, then the shown setup loaded into the controls.
void SetMIDIPanel::firstOpen()
{
    if (itsOpend == 0)
        setSetToDefault_(1);
    if (itsOpend == 0 && itsOpendE == 0)
        setResetMIDI_(1);
    if (itsOpend == 0)
        itsOpend = 1;
    setSetupPopup();
    selectItem(O::popupSetupN, shownPeakSetup());
    setGetOutMIDIPort();
    setMIDIsetupWindow(shownPeakSetup());
}

QWidget* SetMIDIPanel::makePanel()
{
    SetMIDIPanel* panel = loadPanel();
    return panel ? panel->nibWindow() : nullptr;
}

SetMIDIPanel* SetMIDIPanel::loadPanel()
{
    return dynamic_cast<SetMIDIPanel*>(NibLoader::loadNibNamed(QStringLiteral("SetMIDI")));
}

void SetMIDIPanel::showState(SetMIDIOutlet outlet, double value)
{
    showControlValue(control(outlet), value);
}

void SetMIDIPanel::showText(SetMIDIOutlet outlet, const QString& text)
{
    showControlText(control(outlet), text);
}

void SetMIDIPanel::selectItem(SetMIDIOutlet outlet, int index)
{
    QObject* object = control(outlet);
    if (object == nullptr)
        return;
    if (auto* popup = qobject_cast<QComboBox*>(object)) {
        const QSignalBlocker block(popup);
        popup->setCurrentIndex(index >= 0 && index < popup->count() ? index : -1);
    } else {
        selectCell(object, index);
    }
}

void SetMIDIPanel::setItems(SetMIDIOutlet outlet, const QStringList& items)
{
    if (auto* popup = qobject_cast<QComboBox*>(control(outlet))) {
        const QSignalBlocker block(popup);
        popup->clear();
        popup->addItems(items);
    }
}

void SetMIDIPanel::replaceItem(SetMIDIOutlet outlet, int index, const QString& text)
{
    if (auto* popup = qobject_cast<QComboBox*>(control(outlet));
        popup && index >= 0 && index < popup->count())
        popup->setItemText(index, text);
}

void SetMIDIPanel::setLimits(SetMIDIOutlet outlet, double minimum, double maximum)
{
    if (auto* slider = qobject_cast<QAbstractSlider*>(control(outlet))) {
        const QSignalBlocker block(slider);
        const double scale = scaleOf(slider);
        slider->setRange(int(std::lround(std::min(minimum, maximum) * scale)),
                         int(std::lround(std::max(minimum, maximum) * scale)));
    }
}

void SetMIDIPanel::setShown(SetMIDIOutlet outlet, bool shown)
{
    if (auto* widget = qobject_cast<QWidget*>(control(outlet)))
        widget->setVisible(shown);
}

void SetMIDIPanel::setFieldFormat(SetMIDIOutlet outlet, int integerDigits, int fractionDigits)
{
    auto* field = qobject_cast<QLineEdit*>(control(outlet));
    if (field == nullptr)
        return;
    // Called on every display refresh: a field keeps its validator while the format stays the same.
    const double limit = std::pow(10.0, integerDigits);
    const auto* current = qobject_cast<const QDoubleValidator*>(field->validator());
    if (current != nullptr && current->bottom() == -limit && current->top() == limit &&
        current->decimals() == fractionDigits)
        return;
    field->setValidator(new QDoubleValidator(-limit, limit, fractionDigits, field));
    if (current != nullptr && current->parent() == field)
        delete current;
}

void SetMIDIPanel::setNeedsDisplay()
{
    if (QWidget* window = nibWindow())
        window->update();
}

void SetMIDIPanel::smallWindowChanged(int)
{
    // The preferences window keeps one size for every panel.
}

}  // namespace nupo
