#pragma once

// Lists folders away from the main thread: a folder on a slow or hung file system (a network or FUSE
// mount) holds up only the listings asked for after it, never a window. One worker thread takes the
// listings one after another and hands each to the main thread. The program does not wait for a listing
// as it ends. Main thread.

#include "QXDrawerSound/browser/FSNodeInfo.h"

#include <QString>

#include <functional>
#include <vector>

namespace nupo {

class FolderLister {
public:
    using Listing = std::vector<DirectoryEntry>;
    using ListFunction = std::function<Listing(const QString& path, bool withHidden)>;

    // Lists the folder at path (directoryEntries); done runs on the main thread with its entries, never
    // before list returns.
    static void list(const QString& path, bool withHidden, std::function<void(Listing)> done);
    // Listings asked for whose entries have not been handed over yet.
    static int pending();

    // What the worker runs to list a folder: directoryEntries, or (for tests) a stand-in, such as a
    // listing that takes its time. An empty function restores directoryEntries.
    static void setListFunction(ListFunction function);
};

}  // namespace nupo
