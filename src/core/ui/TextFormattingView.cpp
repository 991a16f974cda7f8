#include "core/ui/TextFormattingView.h"

#include "midi/band/SetMIDIband.h"
#include "platform/appkit/ui/ColorWell.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace nupo {

void TextFormattingView::setTextColor(QObject* sender)
{
    recolour(SetMIDIband::sharedSetMIDIband().bandField1(), sender);
}

bool TextFormattingView::recolour(QObject* field, const QObject* colourWell)
{
    auto* widget = qobject_cast<QWidget*>(field);
    const auto* well = qobject_cast<const ColorWell*>(colourWell);
    if (widget == nullptr || well == nullptr)
        return false;
    const RGBAColor c = well->color();
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgbF(c.red, c.green, c.blue, c.alpha));
    palette.setColor(QPalette::Text, QColor::fromRgbF(c.red, c.green, c.blue, c.alpha));
    widget->setPalette(palette);
    return true;
}

}  // namespace nupo
