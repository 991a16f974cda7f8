#include "platform/appkit/ui/PopUpButton.h"

#include <QComboBox>

namespace nupo {

namespace {

QComboBox* comboOf(const QObject* popup)
{
    return qobject_cast<QComboBox*>(const_cast<QObject*>(popup));
}

}  // namespace

int PopUpButton::indexOfSelectedItem(const QObject* popup)
{
    const QComboBox* combo = comboOf(popup);
    return combo ? combo->currentIndex() : -1;
}

void PopUpButton::selectItemAtIndex(QObject* popup, int index)
{
    QComboBox* combo = comboOf(popup);
    if (!combo || combo->count() == 0)
        return;
    if (index < 0 || index >= combo->count())
        index = combo->count() - 1;
    combo->setCurrentIndex(index);
}

QString PopUpButton::titleOfSelectedItem(const QObject* popup)
{
    const QComboBox* combo = comboOf(popup);
    return combo ? combo->currentText() : QString();
}

int PopUpButton::numberOfItems(const QObject* popup)
{
    const QComboBox* combo = comboOf(popup);
    return combo ? combo->count() : 0;
}

void PopUpButton::removeAllItems(QObject* popup)
{
    if (QComboBox* combo = comboOf(popup))
        combo->clear();
}

void PopUpButton::addItemWithTitle(QObject* popup, const QString& title)
{
    if (QComboBox* combo = comboOf(popup))
        combo->addItem(title);
}

void PopUpButton::addItemsWithTitles(QObject* popup, const QStringList& titles)
{
    if (QComboBox* combo = comboOf(popup))
        combo->addItems(titles);
}

}  // namespace nupo
