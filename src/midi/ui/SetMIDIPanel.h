#pragma once

#include "midi/peak/SetMIDI.h"
#include "platform/appkit/ui/NibController.h"

#include <array>

class QWidget;

namespace nupo {

// The peak-to-MIDI panel loaded from the nib "SetMIDI": a further instance of the mapper whose control
// updates reach the panel's widgets. It shows the current setup and edits its edited copy.
class SetMIDIPanel : public NibController, public SetMIDI {
    Q_OBJECT
public:
    SetMIDIPanel();

    void awakeFromNib() override;

    // A new panel's widget for the MIDI tab of the preferences window; null when the nib fails.
    static QWidget* makePanel();
    // Loads a new panel from its nib; its widget is the root of the nib (not shown yet). Null on failure.
    static SetMIDIPanel* loadPanel();

    QObject* control(SetMIDIOutlet outlet) const { return outlets[std::size_t(outlet)]; }

protected:
    void showState(SetMIDIOutlet outlet, double value) override;
    void showText(SetMIDIOutlet outlet, const QString& text) override;
    void selectItem(SetMIDIOutlet outlet, int index) override;
    void setItems(SetMIDIOutlet outlet, const QStringList& items) override;
    void replaceItem(SetMIDIOutlet outlet, int index, const QString& text) override;
    void setLimits(SetMIDIOutlet outlet, double minimum, double maximum) override;
    void setShown(SetMIDIOutlet outlet, bool shown) override;
    void setFieldFormat(SetMIDIOutlet outlet, int integerDigits, int fractionDigits) override;
    void setNeedsDisplay() override;
    void smallWindowChanged(int value) override;

private:
    void declareActions();
    void fillPanelLists();
    void firstOpen();
    void connectSteppers();

    std::array<QObject*, std::size_t(SetMIDIOutlet::count)> outlets{};
};

}  // namespace nupo
