#pragma once

// Lists folders away from the main thread: a folder on a slow or hung file system (a network or FUSE
// mount) holds up only itself, never a window or another folder's listing. Each listing runs on a worker
// of its own from a small pool and is handed to the main thread. A listing that has not come back within
// the answer bound is given up: its folder is named as not answering, and its worker is left to finish on
// its own (a thread in a hung system call cannot be stopped), never waited for, also not as the program
// ends. Main thread.

#include "QXDrawerSound/browser/FSNodeInfo.h"

#include <QString>

#include <chrono>
#include <functional>
#include <vector>

namespace nupo {

class FolderLister {
public:
    using Listing = std::vector<DirectoryEntry>;
    using ListFunction = std::function<Listing(const QString& path, bool withHidden)>;
    // The entries, or why there are none: "<folder> does not answer" when the listing was given up.
    using Done = std::function<void(Listing listing, QString failure)>;

    // How long a listing may take before its folder is named as not answering.
    static constexpr std::chrono::milliseconds defaultAnswerBound{10000};
    // Listings that run at once (more wait for a worker), and workers in all: those stuck in folders that
    // do not answer count, and once every one is, further listings are refused (saying so) until one
    // comes back.
    static constexpr int maxListingsAtOnce = 4;
    static constexpr int maxWorkers = 12;

    // Lists the folder at path (directoryEntries); done runs once on the main thread, never before list
    // returns, with its entries or the failure. A folder whose listing is still stuck is not listed again:
    // it is named as not answering at once.
    static void list(const QString& path, bool withHidden, Done done);
    // Listings asked for whose entries or failure have not been handed over yet.
    static int pending();
    // Workers whose listing was given up and has not come back.
    static int stuckWorkers();

    // What a worker runs to list a folder: directoryEntries, or (for tests) a stand-in, such as a
    // listing that takes its time or never returns. An empty function restores directoryEntries.
    static void setListFunction(ListFunction function);
    // The answer bound (defaultAnswerBound; shorter in tests), also for the listings running.
    static void setAnswerBound(std::chrono::milliseconds bound);
};

}  // namespace nupo
