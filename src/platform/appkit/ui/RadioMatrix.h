#pragma once

#include <QList>

class QAbstractButton;
class QObject;

namespace nupo {

// A radio matrix is a container widget (QGroupBox or QWidget) whose buttons are its cells; each cell
// carries an int property `tag` (a cell without one is tagged by its position, counted from 0).
// Safe on null. Selecting from code never sends the matrix's action.
class RadioMatrix {
public:
    // The cells in creation order.
    static QList<QAbstractButton*> cells(const QObject* matrix);
    // The tag of the selected cell, or -1 when none is selected. Given a single cell (a button that
    // sent its own action), its tag when it is checked.
    static int selectedTag(const QObject* matrix);
    // Selects the cell with that tag and unselects the others; false (selection unchanged) when no
    // cell has the tag.
    static bool selectCellWithTag(QObject* matrix, int tag);
    static int tagOfCell(const QAbstractButton* cell, int position);
};

}  // namespace nupo
