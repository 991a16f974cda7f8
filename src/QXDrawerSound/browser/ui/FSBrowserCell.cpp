#include "QXDrawerSound/browser/ui/FSBrowserCell.h"

#include "QXDrawerSound/browser/FSBrowserModel.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>

namespace nupo {

namespace {

// Icons by kind: folders, and files by the type their name's suffix gives (asking for each file's own
// icon is too slow for columns of thousands, and would read the file system on the main thread).
QIcon kindIcon(const QString& name, bool directory)
{
    static QFileIconProvider provider;
    static QHash<QString, QIcon> bySuffix;
    if (directory)
        return provider.icon(QFileIconProvider::Folder);
    const QString key = QFileInfo(name).suffix().toLower();
    auto found = bySuffix.find(key);
    if (found == bySuffix.end()) {
        const QMimeType type = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
        QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
        if (icon.isNull())
            icon = provider.icon(QFileIconProvider::File);
        found = bySuffix.insert(key, icon);
    }
    return *found;
}

}  // namespace

FSBrowserCell::FSBrowserCell(QObject* parent) : QStyledItemDelegate(parent) {}
FSBrowserCell::~FSBrowserCell() = default;

QPixmap FSBrowserCell::linkArrowImage(int side)
{
    QPixmap arrow(side, side);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = side;
    QPainterPath path;  // a small curved arrow in the lower left corner
    path.moveTo(0.08 * s, 0.92 * s);
    path.lineTo(0.08 * s, 0.62 * s);
    path.quadTo(0.08 * s, 0.5 * s, 0.25 * s, 0.5 * s);
    path.lineTo(0.3 * s, 0.5 * s);
    path.lineTo(0.3 * s, 0.38 * s);
    path.lineTo(0.5 * s, 0.6 * s);
    path.lineTo(0.3 * s, 0.82 * s);
    path.lineTo(0.3 * s, 0.7 * s);
    path.lineTo(0.25 * s, 0.7 * s);
    path.quadTo(0.22 * s, 0.7 * s, 0.22 * s, 0.75 * s);
    path.lineTo(0.22 * s, 0.92 * s);
    path.closeSubpath();
    painter.fillPath(path, Qt::white);
    painter.setPen(QPen(Qt::black, std::max(1.0, s / 32.0)));
    painter.drawPath(path);
    return arrow;
}

QPixmap FSBrowserCell::defaultIconImage(int side)
{
    QPixmap icon(side, side);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    const double s = side;
    const QRectF sheet(0.2 * s, 0.08 * s, 0.6 * s, 0.84 * s);
    painter.fillRect(sheet, QColor(250, 250, 250));
    painter.setPen(QPen(QColor(90, 90, 90), std::max(1.0, s / 32.0)));
    painter.drawRect(sheet);
    return icon;
}

QPixmap FSBrowserCell::iconImageOfSize(const QString& path, int side, bool directory, bool link)
{
    const QIcon icon = kindIcon(path, directory);
    QPixmap image = icon.isNull() ? QPixmap() : icon.pixmap(side, side);
    if (image.isNull())
        image = defaultIconImage(side);
    if (image.size() != QSize(side, side))
        image = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (link) {
        QPixmap composite(side, side);
        composite.fill(Qt::transparent);
        QPainter painter(&composite);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawPixmap(0, 0, image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawPixmap(0, 0, linkArrowImage(side));
        return composite;
    }
    return image;
}

void FSBrowserCell::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const bool link = index.data(FSBrowserModel::IsLinkRole).toBool();
    const bool readable = index.data(FSBrowserModel::IsReadableRole).toBool();
    cell.font.setUnderline(link);
    if (!readable)
        cell.state &= ~QStyle::State_Enabled;
    QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    if (index.data(FSBrowserModel::IsMessageRole).toBool()) {
        // Why the folder shows no entries: dimmed words, no icon.
        cell.font.setItalic(true);
        cell.textElideMode = Qt::ElideLeft;  // the folder's name and the reason, in a narrow column
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
        return;
    }
    cell.icon = QIcon(iconImageOfSize(index.data(FSBrowserModel::PathRole).toString(), iconSide,
                                      index.data(FSBrowserModel::IsDirectoryRole).toBool(), link));
    cell.decorationSize = QSize(iconSide, iconSide);
    cell.features |= QStyleOptionViewItem::HasDecoration;
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
}

QSize FSBrowserCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const int text = cell.fontMetrics.horizontalAdvance(cell.text);
    return {text + iconSide + 8 + 8, rowHeight};
}

}  // namespace nupo
