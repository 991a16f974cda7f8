#pragma once

#include "midi/band/SetMIDIband.h"
#include "platform/appkit/ui/NibController.h"

#include <QHash>

class QWidget;

namespace nupo {

// The band-to-MIDI panel loaded from the nib "SetMIDIband": a further instance of the band mapper whose
// control updates reach the panel's widgets. It shows the shown setup and edits its edited copy.
class SetMIDIbandPanel : public NibController, public SetMIDIband {
    Q_OBJECT
public:
    SetMIDIbandPanel();

    void awakeFromNib() override;

    // A new panel's widget for the "MIDI Bands" tab of the preferences window; null when the nib fails.
    static QWidget* makePanel();
    // Loads a new panel from its nib; its widget is the root of the nib (not shown yet). Null on failure.
    static SetMIDIbandPanel* loadPanel();

    QObject* outletObject(BandOutlet outlet, int band = 0) const override;

    void showState(BandOutlet outlet, int band, double value) override;
    void showText(BandOutlet outlet, int band, const QString& text) override;
    void selectItem(BandOutlet outlet, int band, int index) override;
    void setItems(BandOutlet outlet, int band, const QStringList& items) override;
    void replaceItem(BandOutlet outlet, int band, int index, const QString& text) override;
    void setShown(BandOutlet outlet, int band, bool shown) override;
    void setFieldFormat(BandOutlet outlet, int band) override;
    void setNeedsDisplay() override;

private:
    static int key(BandOutlet outlet, int band)
    {
        return int(outlet) * 16 + (isBandFamily(outlet) ? band : 0);
    }
    void declareOutlets();
    void declareActions();
    void connectSteppers();

    QHash<int, QObject*> outlets;
};

}  // namespace nupo
