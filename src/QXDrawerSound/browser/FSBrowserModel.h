#pragma once

// The file system as the media browser's columns show it: from "/" down, each folder's visible entries
// in listing order (by name; hidden entries left out). A folder is listed when its column is first
// shown and kept until the model is reloaded, so that columns of many thousands of entries stay quick;
// what the cells show (link, readable) is read when a cell is drawn.

#include <QAbstractItemModel>

#include <memory>
#include <vector>

namespace nupo {

class FSBrowserModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole + 1, IsDirectoryRole, IsLinkRole, IsReadableRole };

    explicit FSBrowserModel(QObject* parent = nullptr);
    ~FSBrowserModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The absolute path of an item ("/" for the invisible root).
    QString pathOf(const QModelIndex& index) const;
    // The item of an absolute path, listing the folders on the way; invalid when it is hidden or missing.
    QModelIndex indexOfPath(const QString& path);
    // Lists a folder again, so that its column shows what came and went since; the rest stays.
    void refreshFolder(const QModelIndex& folder);
    // Forgets every listing (the columns are loaded again).
    void reloadData();

private:
    struct Entry;
    Entry* entryOf(const QModelIndex& index) const;
    void list(Entry* entry) const;
    static std::vector<std::unique_ptr<Entry>> entriesOf(Entry* folder);

    std::unique_ptr<Entry> root;
};

}  // namespace nupo
