#include "plots/frame/ui/PlotControls.h"

#include "platform/appkit/ui/ColorWell.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/RadioMatrix.h"

#include <QVariant>
#include <QWidget>

namespace nupo::PlotControls {

int selectedIndex(QObject* popup)
{
    return PopUpButton::indexOfSelectedItem(popup);
}

void selectItem(QObject* popup, int index)
{
    PopUpButton::selectItemAtIndex(popup, index);
}

void setItems(QObject* popup, const QStringList& titles)
{
    PopUpButton::removeAllItems(popup);
    PopUpButton::addItemsWithTitles(popup, titles);
}

int itemCount(QObject* popup)
{
    return PopUpButton::numberOfItems(popup);
}

float floatValue(QObject* control)
{
    return static_cast<float>(Control::floatValue(control));
}

void setFloatValue(QObject* control, float value)
{
    Control::setFloatValue(control, value);
}

int intValue(QObject* control)
{
    return Control::intValue(control);
}

void setIntValue(QObject* control, int value)
{
    Control::setIntValue(control, value);
}

int selectedTag(QObject* matrix)
{
    const int tag = RadioMatrix::selectedTag(matrix);
    return tag < 0 ? 0 : tag;
}

void selectTag(QObject* matrix, int tag)
{
    RadioMatrix::selectCellWithTag(matrix, tag);
}

RGBAColor wellColour(QObject* well)
{
    return Control::color(well);
}

void setWellColour(QObject* well, const RGBAColor& colour)
{
    Control::setColor(well, colour);
}

void takeNibColours(QObject* root)
{
    if (!root)
        return;
    for (ColorWell* well : root->findChildren<ColorWell*>()) {
        const QStringList parts = well->property("colour").toString().split(' ', Qt::SkipEmptyParts);
        if (parts.size() == 4)
            well->setColor(RGBAColor::fromRGBA(parts[0].toDouble(), parts[1].toDouble(), parts[2].toDouble(),
                                               parts[3].toDouble()));
    }
}

void setHidden(QObject* widget, bool hidden)
{
    Control::setHidden(widget, hidden);
}

bool isHidden(QObject* widget)
{
    auto* w = qobject_cast<QWidget*>(widget);
    return w ? w->isHidden() : true;
}

void setText(QObject* field, const QString& text)
{
    Control::setStringValue(field, text);
}

QString text(QObject* field)
{
    return Control::stringValue(field);
}

QString fixedPoint(double value, int right)
{
    return QString::number(value, 'f', right);
}

}  // namespace nupo::PlotControls
