#pragma once

// How the media browser draws an entry: its icon (16 x 16, with an arrow over the icons of symbolic
// links) at the left, its name beside it, underlined for links and dimmed when the entry cannot be read;
// every row 20 high. Also the icon of a path at any size, for the inspector.

#include <QIcon>
#include <QStyledItemDelegate>

class QFileIconProvider;

namespace nupo {

class FSBrowserCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int iconSide = 16;
    static constexpr int rowHeight = 20;

    explicit FSBrowserCell(QObject* parent = nullptr);
    ~FSBrowserCell() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The icon of the entry at path, a folder or a file of the kind its name gives (the default icon when
    // nothing does), with the link arrow laid over it for a symbolic link, at side x side pixels. Reads
    // nothing from the file system.
    static QPixmap iconImageOfSize(const QString& path, int side, bool directory, bool link);
    // The two images the browser draws itself: the link arrow and the default icon.
    static QPixmap linkArrowImage(int side);
    static QPixmap defaultIconImage(int side);
};

}  // namespace nupo
