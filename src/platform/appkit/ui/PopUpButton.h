#pragma once

#include <QString>
#include <QStringList>

class QObject;

namespace nupo {

// The popup-menu operations controllers use on a QComboBox; safe on null and on other controls.
// Selecting from code never sends the popup's action.
class PopUpButton {
public:
    // The selected index, or -1 when nothing is selected (or there is no popup).
    static int indexOfSelectedItem(const QObject* popup);
    // Selects item index; an index outside the items selects the last item. An empty popup stays empty.
    static void selectItemAtIndex(QObject* popup, int index);
    static QString titleOfSelectedItem(const QObject* popup);
    static int numberOfItems(const QObject* popup);

    static void removeAllItems(QObject* popup);
    static void addItemWithTitle(QObject* popup, const QString& title);
    static void addItemsWithTitles(QObject* popup, const QStringList& titles);
};

}  // namespace nupo
