#pragma once

#include <QString>

class QLabel;

namespace nupo {

// A one-line label whose text may be longer than its window is wide (a file name, a failure): it shows
// as much as fits, its beginning and its end with an ellipsis between (so a failure's reason stays in
// sight), and the whole text in its tool tip. Its text no longer sets how wide the window must be.
// Control's text reads and writes go through the whole text.
class ElidedLabel {
public:
    static void install(QLabel* label);
    static bool isInstalled(const QLabel* label);

    // The whole text of an eliding label (its shown text if it does not elide).
    static QString text(const QLabel* label);
    static void setText(QLabel* label, const QString& text);
};

}  // namespace nupo
