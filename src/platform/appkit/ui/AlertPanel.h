#pragma once

#include <QString>

#include <functional>

class QMessageBox;

namespace nupo {

// Alert panels: a title, a message and up to three buttons. The button pressed is reported as
// DefaultReturn, AlternateReturn or OtherReturn; Escape counts as the alternate button when there is
// one, else as the default button.
class AlertPanel {
public:
    enum Return { DefaultReturn = 1, AlternateReturn = 0, OtherReturn = -1 };

    // Shows the panel modally and returns the button pressed. An empty default button reads "OK";
    // empty alternate and other buttons are left out.
    static int run(const QString& title, const QString& message, const QString& defaultButton = {},
                   const QString& alternateButton = {}, const QString& otherButton = {});

    // Shows the panel and returns at once; done (may be empty) receives the button pressed. The panel
    // deletes itself when dismissed.
    static QMessageBox* show(const QString& title, const QString& message, const QString& defaultButton = {},
                             const QString& alternateButton = {}, const QString& otherButton = {},
                             std::function<void(int)> done = {});
};

}  // namespace nupo
