#include "midi/ui/SetMIDIbandPanel.h"

#include "midi/ui/MidiPanelControls.h"
#include "platform/appkit/ui/NibLoader.h"

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

// A radio matrix: check the button with the tag, clear the others.
void selectCell(QObject* matrix, int tag)
{
    for (QAbstractButton* cell : matrix->findChildren<QAbstractButton*>()) {
        const QSignalBlocker block(cell);
        const QVariant cellTag = cell->property("tag");
        cell->setAutoExclusive(false);
        cell->setChecked(cellTag.isValid() && cellTag.toInt() == tag);
        cell->setAutoExclusive(true);
    }
}

}  // namespace

SetMIDIbandPanel::SetMIDIbandPanel()
{
    declareOutlets();
    declareActions();
}

void SetMIDIbandPanel::declareOutlets()
{
    for (int i = 0; i < int(BandOutlet::count); ++i) {
        const auto kind = BandOutlet(i);
        const int bands = isBandFamily(kind) ? bandCount : 1;
        for (int b = 1; b <= bands; ++b) {
            const int k = key(kind, b);
            outlet(bandOutletName(kind, b), [this, k](QObject* object) { outlets.insert(k, object); });
        }
    }
}

void SetMIDIbandPanel::declareActions()
{
    using Action = void (SetMIDIband::*)(QObject*);
    static const std::pair<const char*, Action> actions[] = {
        {"SetToDefault", &SetMIDIband::SetToDefault},
        {"Set", &SetMIDIband::Set},
        {"Cancel", &SetMIDIband::Cancel},
        {"selectSetupN", &SetMIDIband::selectSetupN},
        {"SetCount", &SetMIDIband::SetCount},
        {"Solo", &SetMIDIband::Solo},
        {"MIDIoutON", &SetMIDIband::MIDIoutON},
        {"ONInput", &SetMIDIband::ONInput},
        {"NoteOnOff", &SetMIDIband::NoteOnOff},
        {"NoteOffOn", &SetMIDIband::NoteOffOn},
        {"PeakPower", &SetMIDIband::PeakPower},
        {"AveragePower", &SetMIDIband::AveragePower},
        {"CHto1to8", &SetMIDIband::CHto1to8},
        {"CHto9to16", &SetMIDIband::CHto9to16},
        {"selectSendMIDItiming", &SetMIDIband::selectSendMIDItiming},
        {"selectBSchannel", &SetMIDIband::selectBSchannel},
        {"SetBSCH", &SetMIDIband::SetBSCH},
        {"selectNUPOchannel", &SetMIDIband::selectNUPOchannel},
        {"selectUsePeakMode", &SetMIDIband::selectUsePeakMode},
        {"MIDIoff", &SetMIDIband::MIDIoff},
        {"ResetMIDI", &SetMIDIband::ResetMIDI},
        {"selectMIDIport", &SetMIDIband::selectMIDIport},
        {"SetMIDIchannel", &SetMIDIband::SetMIDIchannel},
        {"SetMIDIprogramC", &SetMIDIband::SetMIDIprogramC},
        {"changeGainNoteSlider", &SetMIDIband::changeGainNoteSlider},
        {"sendTextSetupNinputField", &SetMIDIband::sendTextSetupNinputField},
        {"sendTextSetupNstringField", &SetMIDIband::sendTextSetupNstringField},
    };
    for (const auto& [name, function] : actions)
        action(QString::fromLatin1(name),
               [this, function = function](QObject* sender) { (this->*function)(sender); });

    // The band families: one action of each kind per band, named with the band number.
    using FamilyAction = void (*)(BandFamilies&, int band, QObject* sender);
    static const std::pair<const char*, FamilyAction> families[] = {
        {"changeLowFSlider%1", [](BandFamilies& f, int b, QObject* s) { f.changeEdge(b, false, s); }},
        {"changeHighFSlider%1", [](BandFamilies& f, int b, QObject* s) { f.changeEdge(b, true, s); }},
        {"sendTextLowFSliderField%1",
         [](BandFamilies& f, int b, QObject* s) { f.sendTextEdge(b, false, s); }},
        {"sendTextHighFSliderField%1",
         [](BandFamilies& f, int b, QObject* s) { f.sendTextEdge(b, true, s); }},
        {"changebandSlider%1", [](BandFamilies& f, int b, QObject* s) { f.changeBandValue(b, s); }},
        {"selectMIDIchannel%1", [](BandFamilies& f, int b, QObject* s) { f.selectChannel(b, s); }},
        {"sendTextMIDIchannelField%1", [](BandFamilies& f, int b, QObject* s) { f.sendTextChannel(b, s); }},
        {"SetMIDIchannel%1", [](BandFamilies& f, int b, QObject* s) { f.stepChannel(b, s); }},
    };
    for (const auto& [name, function] : families)
        for (int b = 1; b <= bandCount; ++b)
            action(QString::fromLatin1(name).arg(b),
                   [this, function = function, b](QObject* sender) { function(bandFamilies(), b, sender); });
}

void SetMIDIbandPanel::connectSteppers()
{
    // Steppers act on every step, like the arrows they stand for.
    auto connectStepper = [this](BandOutlet kind, int band, std::function<void(QObject*)> act) {
        auto* stepper = qobject_cast<QSpinBox*>(outletObject(kind, band));
        if (stepper != nullptr)
            connect(stepper, &QSpinBox::valueChanged, this, [stepper, act] { act(stepper); });
    };
    connectStepper(BandOutlet::setSetCountX, 0, [this](QObject* s) { SetCount(s); });
    connectStepper(BandOutlet::setSetBSCH, 0, [this](QObject* s) { SetBSCH(s); });
    connectStepper(BandOutlet::setSetMIDIchannel, 0, [this](QObject* s) { SetMIDIchannel(s); });
    connectStepper(BandOutlet::setSetMIDIprogramC, 0, [this](QObject* s) { SetMIDIprogramC(s); });
    for (int b = 1; b <= bandCount; ++b)
        connectStepper(BandOutlet::setSetMIDIchannelBand, b,
                       [this, b](QObject* s) { bandFamilies().stepChannel(b, s); });
}

void SetMIDIbandPanel::awakeFromNib()
{
    connectSteppers();
    init();
    awakeFromNibWork();
    const int shown = shownBandSetup();
    showText(BandOutlet::displayHereSetupN, 0, QString::number(shown + 1));
    showText(BandOutlet::displayHereSetupNinput, 0, QString::number(shown + 1));
    showText(BandOutlet::displayHereSetupNstring, 0, strEX[std::size_t(shown)]);
    showState(BandOutlet::setSetCountX, 0, shown);
}

QWidget* SetMIDIbandPanel::makePanel()
{
    SetMIDIbandPanel* panel = loadPanel();
    return panel ? panel->nibWindow() : nullptr;
}

SetMIDIbandPanel* SetMIDIbandPanel::loadPanel()
{
    return dynamic_cast<SetMIDIbandPanel*>(NibLoader::loadNibNamed(QStringLiteral("SetMIDIband")));
}

QObject* SetMIDIbandPanel::outletObject(BandOutlet outlet, int band) const
{
    return outlets.value(key(outlet, band), nullptr);
}

void SetMIDIbandPanel::showState(BandOutlet outlet, int band, double value)
{
    showControlValue(outletObject(outlet, band), value);
}

void SetMIDIbandPanel::showText(BandOutlet outlet, int band, const QString& text)
{
    showControlText(outletObject(outlet, band), text);
}

void SetMIDIbandPanel::selectItem(BandOutlet outlet, int band, int index)
{
    QObject* object = outletObject(outlet, band);
    if (object == nullptr)
        return;
    if (auto* popup = qobject_cast<QComboBox*>(object)) {
        const QSignalBlocker block(popup);
        popup->setCurrentIndex(index >= 0 && index < popup->count() ? index : -1);
    } else {
        selectCell(object, index);
    }
}

void SetMIDIbandPanel::setItems(BandOutlet outlet, int band, const QStringList& items)
{
    if (auto* popup = qobject_cast<QComboBox*>(outletObject(outlet, band))) {
        const QSignalBlocker block(popup);
        popup->clear();
        popup->addItems(items);
    }
}

void SetMIDIbandPanel::replaceItem(BandOutlet outlet, int band, int index, const QString& text)
{
    if (auto* popup = qobject_cast<QComboBox*>(outletObject(outlet, band));
        popup && index >= 0 && index < popup->count())
        popup->setItemText(index, text);
}

void SetMIDIbandPanel::setShown(BandOutlet outlet, int band, bool shown)
{
    if (auto* widget = qobject_cast<QWidget*>(outletObject(outlet, band)))
        widget->setVisible(shown);
}

void SetMIDIbandPanel::setFieldFormat(BandOutlet outlet, int band)
{
    auto* field = qobject_cast<QLineEdit*>(outletObject(outlet, band));
    if (field != nullptr && field->validator() == nullptr)
        field->setValidator(new QDoubleValidator(-1000.0, 1000.0, 3, field));
}

void SetMIDIbandPanel::setNeedsDisplay()
{
    if (QWidget* window = nibWindow())
        window->update();
}

}  // namespace nupo
