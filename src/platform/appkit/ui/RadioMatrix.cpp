#include "platform/appkit/ui/RadioMatrix.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QVariant>

namespace nupo {

QList<QAbstractButton*> RadioMatrix::cells(const QObject* matrix)
{
    if (!matrix || qobject_cast<const QAbstractButton*>(matrix))
        return {};
    return matrix->findChildren<QAbstractButton*>();
}

int RadioMatrix::tagOfCell(const QAbstractButton* cell, int position)
{
    const QVariant tag = cell->property("tag");
    return tag.isValid() ? tag.toInt() : position;
}

int RadioMatrix::selectedTag(const QObject* matrix)
{
    if (const auto* cell = qobject_cast<const QAbstractButton*>(matrix))
        return cell->isChecked() ? tagOfCell(cell, 0) : -1;
    const QList<QAbstractButton*> all = cells(matrix);
    for (int position = 0; position < all.size(); ++position) {
        if (all[position]->isChecked())
            return tagOfCell(all[position], position);
    }
    return -1;
}

bool RadioMatrix::selectCellWithTag(QObject* matrix, int tag)
{
    const QList<QAbstractButton*> all = cells(matrix);
    int chosen = -1;
    for (int position = 0; position < all.size() && chosen < 0; ++position) {
        if (tagOfCell(all[position], position) == tag)
            chosen = position;
    }
    if (chosen < 0)
        return false;
    for (int position = 0; position < all.size(); ++position) {
        QAbstractButton* cell = all[position];
        // Exclusive buttons refuse to uncheck themselves; lift that for the moment of the change.
        QButtonGroup* group = cell->group();
        const bool groupExclusive = group && group->exclusive();
        const bool autoExclusive = cell->autoExclusive();
        if (groupExclusive)
            group->setExclusive(false);
        cell->setAutoExclusive(false);
        cell->setChecked(position == chosen);
        cell->setAutoExclusive(autoExclusive);
        if (groupExclusive)
            group->setExclusive(true);
    }
    return true;
}

}  // namespace nupo
