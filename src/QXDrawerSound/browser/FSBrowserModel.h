#pragma once

// The file system as the media browser's columns show it: from "/" down, each folder's visible entries
// in listing order (by name; hidden entries left out). A folder is listed when its column is first
// shown and kept until the model is reloaded, so that columns of many thousands of entries stay quick.
// Folders are listed on the folder worker (FolderLister): a column is empty while its folder is being
// listed and fills when the listing comes back, and what the cells show (folder, link, readable) comes
// with the listing, so the main thread never waits for a file system. A folder that does not answer
// shows so in one dimmed row that cannot be chosen; it is listed again when it is clicked again.

#include "QXDrawerSound/browser/FSNodeInfo.h"

#include <QAbstractItemModel>

#include <functional>
#include <memory>
#include <vector>

namespace nupo {

class FSBrowserModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // IsMessageRole: the row is no entry but says why its folder shows none (its folder does not answer).
    enum Role { PathRole = Qt::UserRole + 1, IsDirectoryRole, IsLinkRole, IsReadableRole, IsMessageRole };

    explicit FSBrowserModel(QObject* parent = nullptr);
    ~FSBrowserModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The folder's entries listed so far, without a row that says why there are none.
    int entryCount(const QModelIndex& folder) const;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The absolute path of an item ("/" for the invisible root).
    QString pathOf(const QModelIndex& index) const;
    // The item of an absolute path among the folders listed so far; invalid when it is not (yet) listed,
    // hidden or missing.
    QModelIndex indexOfPath(const QString& path) const;
    // Lists the folders on the way to path as needed, then gives found its item (invalid when it is
    // hidden or missing), on the main thread, never before reveal returns.
    void reveal(const QString& path, std::function<void(QModelIndex)> found);
    // Lists a folder again, so that its column shows what came and went since; the rest stays. then
    // runs once the new listing is in.
    void refreshFolder(const QModelIndex& folder, std::function<void()> then = {});
    // Forgets every listing (the columns are loaded again).
    void reloadData();
    // Whether a listing is in flight.
    bool isBusy() const { return listingsInFlight_ > 0; }

signals:
    void busyChanged(bool busy);

private:
    struct Entry;
    Entry* entryOf(const QModelIndex& index) const;
    QModelIndex indexOf(Entry* entry) const;
    Entry* listedEntryAt(const QString& path) const;
    // Has the folder listed on the worker; then (where given) runs after its entries are in.
    void list(Entry* entry, std::function<void()> then = {}) const;
    void listed(const QString& path, quint64 ticket, std::vector<DirectoryEntry> listing,
                const QString& failure);
    void stepTowards(QStringList parts, QModelIndex at, std::function<void(QModelIndex)> found,
                     bool refreshed);

    std::unique_ptr<Entry> root;
    int listingsInFlight_ = 0;
};

}  // namespace nupo
