#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace nupo {

// Looks over a nib's text before Qt's form loader builds it. The form loader trusts its input: a layout
// without a class, for one, makes it crash. So a nib is built only when it is well-formed XML with a `ui`
// root, every widget and layout names a class the loader knows (Qt's own and ours), and elements are
// nested no deeper than maxDepth (the loader reads them recursively).
class NibCheck {
public:
    static constexpr int maxDepth = 256;

    // Empty when the nib may be built, else what is wrong and on which line.
    static QString problemIn(const QByteArray& nib);

    // Widget classes of ours that a nib may name (promoted widgets), built by the nib loader.
    static const QStringList& ownWidgetClasses();
};

}  // namespace nupo
