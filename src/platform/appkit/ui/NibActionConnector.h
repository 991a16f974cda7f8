#pragma once

#include "platform/appkit/ui/NibController.h"

#include <QObject>
#include <QString>

class QWidget;

namespace nupo {

// Connects the controls of a loaded nib to their controller's actions. A control names its action in
// the dynamic property `action`; the action runs with the control as sender when the user works it:
// buttons and check boxes when clicked, popups when an item is chosen, sliders when moved (not when
// set from code), line edits and spin boxes when editing ends, menu actions when triggered, colour
// wells when a colour is picked. A container with an `action` (a radio matrix) sends it, with itself
// as sender, when one of its buttons that has no action of its own is clicked.
class NibActionConnector {
public:
    static void connectAll(QWidget* root, NibController* controller, const QString& nibName);
    // Connects one control; returns false when the control is of no kind that sends actions.
    static bool connectControl(QObject* control, NibController* controller,
                               const NibController::Action& action);
    // Ends the editing in every window's focused field as Return would: a value typed and not yet taken
    // sends its field's action now (before a save, say, which must hold it). Main thread.
    static void commitTypedValues();
};

}  // namespace nupo
