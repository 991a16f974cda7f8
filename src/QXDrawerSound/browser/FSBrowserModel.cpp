#include "QXDrawerSound/browser/FSBrowserModel.h"

#include "QXDrawerSound/browser/FolderLister.h"

#include <QDir>
#include <QPointer>

#include <algorithm>

namespace nupo {

namespace {

quint64 nextTicket = 1;  // main thread

}  // namespace

struct FSBrowserModel::Entry {
    QString name;  // "/" for the root
    Entry* parent = nullptr;
    int row = 0;
    DirectoryEntry info;
    bool listed = false;
    bool message = false;  // not an entry: why its folder shows none ("/x does not answer")
    quint64 ticket = 0;    // of the listing in flight (0: none)
    bool relist = false;   // list again once the listing in flight is in
    std::vector<std::function<void()>> whenListed;
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
    root->info.directory = true;
    root->info.readable = true;
    endResetModel();
}

void FSBrowserModel::list(Entry* entry, std::function<void()> then) const
{
    const bool waits = bool(then);
    if (then)
        entry->whenListed.push_back(std::move(then));
    if (entry->ticket != 0) {
        // The listing in flight may have read the folder before what the caller waits for came: it is
        // listed once more after it.
        entry->relist = entry->relist || waits;
        return;
    }
    entry->ticket = nextTicket++;
    auto* self = const_cast<FSBrowserModel*>(this);
    if (self->listingsInFlight_++ == 0)
        emit self->busyChanged(true);
    FolderLister::list(entry->path(), false,
                       [model = QPointer<FSBrowserModel>(self), path = entry->path(), ticket = entry->ticket](
                           FolderLister::Listing listing, const QString& failure) {
                           if (model)
                               model->listed(path, ticket, std::move(listing), failure);
                       });
}

void FSBrowserModel::listed(const QString& path, quint64 ticket, std::vector<DirectoryEntry> listing,
                            const QString& failure)
{
    Entry* entry = listedEntryAt(path);
    if (entry && entry->ticket == ticket) {
        entry->ticket = 0;
        const QModelIndex folder = indexOf(entry);
        // A folder that was not listed shows why, in one row of its own where its entries would be. One
        // that showed its entries keeps them when it is not listed again (other folders may hold every
        // worker): what the user saw stays, and the lister has said why.
        const bool keepsEntries = !failure.isEmpty() && entry->listed && !entry->children.empty() &&
                                  !entry->children.front()->message;
        if (!failure.isEmpty() && !keepsEntries)
            listing.assign(1, DirectoryEntry{failure});
        const bool same =
            keepsEntries ||
            (entry->listed && std::equal(listing.begin(), listing.end(), entry->children.begin(),
                                         entry->children.end(), [&](const auto& a, const auto& b) {
                                             return a.name == b->name && b->message == !failure.isEmpty();
                                         }));
        // What waited for a folder of the old listing goes on with the new one (it finds its folder by
        // path again).
        std::vector<std::function<void()>> orphaned;
        if (!same) {
            for (const auto& child : entry->children)
                for (auto& step : child->whenListed)
                    orphaned.push_back(std::move(step));
            if (!entry->children.empty()) {
                beginRemoveRows(folder, 0, int(entry->children.size()) - 1);
                entry->children.clear();
                endRemoveRows();
            }
            std::vector<std::unique_ptr<Entry>> fresh;
            int row = 0;
            for (DirectoryEntry& found : listing) {
                auto child = std::make_unique<Entry>();
                child->name = found.name;
                child->info = std::move(found);
                child->message = !failure.isEmpty();
                child->parent = entry;
                child->row = row++;
                fresh.push_back(std::move(child));
            }
            if (!fresh.empty()) {
                beginInsertRows(folder, 0, int(fresh.size()) - 1);
                entry->children = std::move(fresh);
                endInsertRows();
            }
        }
        entry->listed = true;
        if (entry->relist) {
            entry->relist = false;
            list(entry);
        }
        std::vector<std::function<void()>> then;
        if (entry->ticket == 0)
            then.swap(entry->whenListed);
        for (const auto& step : then)
            step();
        for (const auto& step : orphaned)
            step();
    }
    if (--listingsInFlight_ == 0)
        emit busyChanged(false);
}

void FSBrowserModel::refreshFolder(const QModelIndex& folder, std::function<void()> then)
{
    Entry* entry = entryOf(folder);
    if (!entry->info.directory || !entry->listed) {
        if (then)
            then();
        return;
    }
    list(entry, std::move(then));
}

FSBrowserModel::Entry* FSBrowserModel::entryOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Entry*>(index.internalPointer()) : root.get();
}

QModelIndex FSBrowserModel::indexOf(Entry* entry) const
{
    return entry == root.get() ? QModelIndex() : createIndex(entry->row, 0, entry);
}

FSBrowserModel::Entry* FSBrowserModel::listedEntryAt(const QString& path) const
{
    Entry* entry = root.get();
    for (const QString& part : QDir::cleanPath(path).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const auto found =
            std::find_if(entry->children.begin(), entry->children.end(),
                         [&](const auto& child) { return !child->message && child->name == part; });
        if (found == entry->children.end())
            return nullptr;
        entry = found->get();
    }
    return entry;
}

QModelIndex FSBrowserModel::index(int row, int column, const QModelIndex& parent) const
{
    Entry* entry = entryOf(parent);
    if (!entry->listed)
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
    if (!entry->info.directory)
        return 0;
    if (!entry->listed)
        list(entry);
    return int(entry->children.size());
}

int FSBrowserModel::entryCount(const QModelIndex& folder) const
{
    const int rows = rowCount(folder);
    const Entry* entry = entryOf(folder);
    return rows == 1 && entry->children.front()->message ? 0 : rows;
}

int FSBrowserModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool FSBrowserModel::hasChildren(const QModelIndex& parent) const
{
    // A folder has a column, even an empty one.
    return entryOf(parent)->info.directory;
}

QVariant FSBrowserModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Entry* entry = entryOf(index);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return role == Qt::DisplayRole || entry->message ? entry->name : entry->path();
        case PathRole:
            return entry->message ? QString() : entry->path();
        case IsMessageRole:
            return entry->message;
        case IsDirectoryRole:
            return entry->info.directory;
        case IsLinkRole:
            return entry->info.link;
        case IsReadableRole:
            return entry->info.readable && entry->info.openable;
        default:
            return {};
    }
}

Qt::ItemFlags FSBrowserModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (entryOf(index)->message)
        return Qt::ItemNeverHasChildren;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!entryOf(index)->info.directory)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}

QString FSBrowserModel::pathOf(const QModelIndex& index) const
{
    return entryOf(index)->path();
}

QModelIndex FSBrowserModel::indexOfPath(const QString& path) const
{
    Entry* entry = listedEntryAt(path);
    return entry ? indexOf(entry) : QModelIndex();
}

void FSBrowserModel::reveal(const QString& path, std::function<void(QModelIndex)> found)
{
    const QStringList parts = QDir::cleanPath(path).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    stepTowards(parts, {}, std::move(found), false);
}

// One folder further along the path: listed first where it is not, and listed again where the next name
// is not in it (it may have come since the folder was listed).
void FSBrowserModel::stepTowards(QStringList parts, QModelIndex at, std::function<void(QModelIndex)> found,
                                 bool refreshed)
{
    const QPointer<FSBrowserModel> self(this);
    const QString atPath = pathOf(at);
    const auto again = [self, atPath, parts, found](bool refreshedNow) {
        if (!self)
            return;
        Entry* entry = self->listedEntryAt(atPath);
        if (!entry) {
            found({});
            return;
        }
        self->stepTowards(parts, self->indexOf(entry), found, refreshedNow);
    };
    Entry* entry = entryOf(at);
    if (parts.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [found, at = QPersistentModelIndex(at)] { found(at); }, Qt::QueuedConnection);
        return;
    }
    if (!entry->info.directory) {
        QMetaObject::invokeMethod(
            this, [found] { found({}); }, Qt::QueuedConnection);
        return;
    }
    if (!entry->listed) {
        list(entry, [again] { again(false); });
        return;
    }
    const QString part = parts.takeFirst();
    const auto child = std::find_if(entry->children.begin(), entry->children.end(),
                                    [&](const auto& c) { return !c->message && c->name == part; });
    if (child != entry->children.end()) {
        stepTowards(parts, indexOf(child->get()), std::move(found), false);
        return;
    }
    if (refreshed || !isVisibleName(part)) {
        QMetaObject::invokeMethod(
            this, [found] { found({}); }, Qt::QueuedConnection);
        return;
    }
    list(entry, [again] { again(true); });
}

}  // namespace nupo
