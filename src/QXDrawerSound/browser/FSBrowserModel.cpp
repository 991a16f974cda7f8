#include "QXDrawerSound/browser/FSBrowserModel.h"

#include "QXDrawerSound/browser/FSNodeInfo.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace nupo {

struct FSBrowserModel::Entry {
    QString name;  // "/" for the root
    Entry* parent = nullptr;
    int row = 0;
    bool directory = false;
    bool listed = false;
    std::vector<std::unique_ptr<Entry>> children;

    QString path() const
    {
        if (!parent)
            return name;
        const QString base = parent->path();
        return (base == QLatin1String("/") ? QString() : base) + QLatin1Char('/') + name;
    }
};

FSBrowserModel::FSBrowserModel(QObject* parent) : QAbstractItemModel(parent)
{
    reloadData();
}

FSBrowserModel::~FSBrowserModel() = default;

void FSBrowserModel::reloadData()
{
    beginResetModel();
    root = std::make_unique<Entry>();
    root->name = QStringLiteral("/");
    root->directory = true;
    endResetModel();
}

std::vector<std::unique_ptr<FSBrowserModel::Entry>> FSBrowserModel::entriesOf(Entry* folder)
{
    std::vector<std::unique_ptr<Entry>> entries;
    int row = 0;
    for (DirectoryEntry& listed : directoryEntries(folder->path(), false)) {
        auto child = std::make_unique<Entry>();
        child->name = std::move(listed.name);
        child->parent = folder;
        child->row = row++;
        child->directory = listed.directory;
        entries.push_back(std::move(child));
    }
    return entries;
}

void FSBrowserModel::list(Entry* entry) const
{
    if (entry->listed)
        return;
    entry->listed = true;
    entry->children = entriesOf(entry);
}

void FSBrowserModel::refreshFolder(const QModelIndex& folder)
{
    Entry* entry = entryOf(folder);
    if (!entry->directory || !entry->listed)
        return;
    std::vector<std::unique_ptr<Entry>> fresh = entriesOf(entry);
    const bool same = std::equal(fresh.begin(), fresh.end(), entry->children.begin(), entry->children.end(),
                                 [](const auto& a, const auto& b) { return a->name == b->name; });
    if (same)
        return;
    if (!entry->children.empty()) {
        beginRemoveRows(folder, 0, int(entry->children.size()) - 1);
        entry->children.clear();
        endRemoveRows();
    }
    if (!fresh.empty()) {
        beginInsertRows(folder, 0, int(fresh.size()) - 1);
        entry->children = std::move(fresh);
        endInsertRows();
    }
}

FSBrowserModel::Entry* FSBrowserModel::entryOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Entry*>(index.internalPointer()) : root.get();
}

QModelIndex FSBrowserModel::index(int row, int column, const QModelIndex& parent) const
{
    Entry* entry = entryOf(parent);
    list(entry);
    if (column != 0 || row < 0 || row >= int(entry->children.size()))
        return {};
    return createIndex(row, 0, entry->children[std::size_t(row)].get());
}

QModelIndex FSBrowserModel::parent(const QModelIndex& child) const
{
    Entry* entry = entryOf(child);
    if (!child.isValid() || !entry->parent || entry->parent == root.get())
        return {};
    return createIndex(entry->parent->row, 0, entry->parent);
}

int FSBrowserModel::rowCount(const QModelIndex& parent) const
{
    Entry* entry = entryOf(parent);
    if (!entry->directory)
        return 0;
    list(entry);
    return int(entry->children.size());
}

int FSBrowserModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool FSBrowserModel::hasChildren(const QModelIndex& parent) const
{
    // A folder has a column, even an empty one.
    return entryOf(parent)->directory;
}

QVariant FSBrowserModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Entry* entry = entryOf(index);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return role == Qt::DisplayRole ? entry->name : entry->path();
        case PathRole:
            return entry->path();
        case IsDirectoryRole:
            return entry->directory;
        case IsLinkRole:
            return QFileInfo(entry->path()).isSymLink();
        case IsReadableRole:
            return QFileInfo(entry->path()).isReadable();
        default:
            return {};
    }
}

Qt::ItemFlags FSBrowserModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!entryOf(index)->directory)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}

QString FSBrowserModel::pathOf(const QModelIndex& index) const
{
    return entryOf(index)->path();
}

QModelIndex FSBrowserModel::indexOfPath(const QString& path)
{
    const QStringList parts = QDir::cleanPath(path).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QModelIndex current;
    for (const QString& part : parts) {
        Entry* entry = entryOf(current);
        list(entry);
        const auto find = [&] {
            return std::find_if(entry->children.begin(), entry->children.end(),
                                [&](const auto& child) { return child->name == part; });
        };
        auto found = find();
        if (found == entry->children.end()) {
            // It may have come since the folder was listed.
            refreshFolder(current);
            found = find();
        }
        if (found == entry->children.end())
            return {};
        current = createIndex((*found)->row, 0, found->get());
    }
    return current;
}

}  // namespace nupo
