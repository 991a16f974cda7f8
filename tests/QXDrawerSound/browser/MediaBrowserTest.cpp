// The browser's file-system side: nodes (paths, hidden entries, links, types, names that are not UTF-8),
// the columns' model (listed on the folder worker: listing order, hidden entries, folders and leaves),
// the kinds of names and the folder listing that the sound slots take, and folders that never answer.
#include "QXDrawerSound/browser/FSBrowserModel.h"
#include "QXDrawerSound/browser/FSNodeInfo.h"
#include "QXDrawerSound/browser/FolderLister.h"
#include "QXDrawerSound/browser/MediaBrowser.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>

namespace nupo {
namespace {

QString makeFolder(const QStringList& files, const QStringList& folders = {})
{
    const QString root = test::tempFolder();
    for (const QString& name : files) {
        QFile file(QDir(root).filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write("x");
    }
    for (const QString& name : folders)
        QDir(root).mkpath(name);
    return root;
}

std::vector<QString> names(const std::vector<FSNodeInfo>& nodes)
{
    std::vector<QString> out;
    for (const FSNodeInfo& node : nodes)
        out.push_back(node.lastPathComponent());
    return out;
}

TEST(FSNodeInfo, PathsHiddenEntriesLinksAndTypes)
{
    const QString root = makeFolder({"b.wav", ".hidden", "a.WAV", "C.png"}, {"sub", ".git"});
    QFile::link(QDir(root).filePath("sub"), QDir(root).filePath("link"));
    const FSNodeInfo node(nullptr, root);
    EXPECT_EQ(names(node.subNodes()),
              (std::vector<QString>{".git", ".hidden", "a.WAV", "b.wav", "C.png", "link", "sub"}));
    const std::vector<FSNodeInfo> visible = node.visibleSubNodes();
    EXPECT_EQ(names(visible), (std::vector<QString>{"a.WAV", "b.wav", "C.png", "link", "sub"}));

    const FSNodeInfo& link = visible[3];
    EXPECT_EQ(link.absolutePath(), root + "/link");
    EXPECT_TRUE(link.isLink());
    EXPECT_TRUE(link.isDirectory());
    EXPECT_EQ(link.fsType(), "Directory");
    EXPECT_EQ(selectDirectory, 1);
    EXPECT_FALSE(visible[2].isLink());
    EXPECT_EQ(visible[2].fsType(), "Non-Directory");
    EXPECT_EQ(selectDirectory, 0);

    const FSNodeInfo top(nullptr, "/");
    const FSNodeInfo child(&top, "tmp");
    EXPECT_EQ(child.absolutePath(), "/tmp");
    const FSNodeInfo missing(nullptr, root + "/nothing.mov");
    EXPECT_TRUE(missing.subNodes().empty());
    EXPECT_FALSE(missing.isDirectory());
    EXPECT_FALSE(FSNodeInfo(nullptr, root + "/").isVisible());  // an empty name
}

// The item of a path once the folders on the way are listed (on the folder worker).
QModelIndex revealed(FSBrowserModel& model, const QString& path)
{
    std::optional<QModelIndex> found;
    model.reveal(path, [&found](QModelIndex item) { found = item; });
    EXPECT_TRUE(test::processEventsUntil([&found] { return found.has_value(); }));
    return found.value_or(QModelIndex());
}

TEST(FSBrowserModel, ColumnsListVisibleEntriesByNameWithFoldersAsBranches)
{
    const QString root = makeFolder({"z.mov", ".secret", "a.wav"}, {"m"});
    FSBrowserModel model;
    // The root "/" is listed on the worker: empty until its entries come, the model busy meanwhile.
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(model.isBusy());
    EXPECT_TRUE(test::processEventsUntil([&model] { return !model.isBusy(); }));
    EXPECT_GT(model.rowCount(), 0);
    const QModelIndex folder = revealed(model, root);
    ASSERT_TRUE(folder.isValid());
    EXPECT_EQ(model.indexOfPath(root), folder);
    EXPECT_EQ(model.pathOf(folder), root);
    EXPECT_EQ(model.rowCount(folder), 0);  // its column asks for it: listed on the worker
    EXPECT_TRUE(test::processEventsUntil([&model] { return !model.isBusy(); }));
    ASSERT_EQ(model.rowCount(folder), 3);
    EXPECT_EQ(model.index(0, 0, folder).data().toString(), "a.wav");
    EXPECT_EQ(model.index(1, 0, folder).data().toString(), "m");
    EXPECT_EQ(model.index(2, 0, folder).data().toString(), "z.mov");
    EXPECT_TRUE(model.hasChildren(model.index(1, 0, folder)));
    EXPECT_TRUE(model.index(1, 0, folder).data(FSBrowserModel::IsDirectoryRole).toBool());
    EXPECT_FALSE(model.hasChildren(model.index(0, 0, folder)));
    model.rowCount(model.index(1, 0, folder));
    EXPECT_TRUE(test::processEventsUntil([&model] { return !model.isBusy(); }));
    EXPECT_EQ(model.rowCount(model.index(1, 0, folder)), 0);  // an empty folder is an empty column
    EXPECT_EQ(model.parent(model.index(2, 0, folder)), folder);
    EXPECT_FALSE(revealed(model, root + "/.secret").isValid());
    EXPECT_FALSE(revealed(model, root + "/missing").isValid());

    // A new file shows once its folder is listed again, or after a reload.
    QFile file(QDir(root).filePath("b.wav"));
    file.open(QIODevice::WriteOnly);
    file.close();
    EXPECT_EQ(model.rowCount(model.indexOfPath(root)), 3);
    bool refreshed = false;
    model.refreshFolder(model.indexOfPath(root), [&refreshed] { refreshed = true; });
    EXPECT_TRUE(test::processEventsUntil([&refreshed] { return refreshed; }));
    EXPECT_EQ(model.rowCount(model.indexOfPath(root)), 4);
    QFile::remove(QDir(root).filePath("b.wav"));
    model.reloadData();
    EXPECT_FALSE(model.indexOfPath(root).isValid());
    const QModelIndex again = revealed(model, root);
    model.rowCount(again);
    EXPECT_TRUE(test::processEventsUntil([&model] { return !model.isBusy(); }));
    EXPECT_EQ(model.rowCount(again), 3);
}

TEST(FSNodeInfo, NamesThatAreNotUtf8AreListedEscapedAndMarkedUnopenable)
{
    const QString root = makeFolder({"plain.png"});
    const QByteArray odd = QFile::encodeName(root) + "/caf\xE9 \xC3\xA9.png";
    FILE* made = std::fopen(odd.constData(), "w");
    ASSERT_NE(made, nullptr);
    std::fclose(made);
    const std::vector<DirectoryEntry> entries = directoryEntries(root, false);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, QString::fromUtf8("caf\\xE9 \u00e9.png"));
    EXPECT_FALSE(entries[0].openable);
    EXPECT_EQ(entries[1].name, "plain.png");
    EXPECT_TRUE(entries[1].openable);
    EXPECT_TRUE(entries[1].readable);

    // The hand-over lists take only what can be opened, and say what was left out.
    QStringList unopenable;
    EXPECT_EQ(takeFolderListing(root, entries, &unopenable), 1);
    EXPECT_EQ(soundNameArrayS.first(), "plain.png");
    EXPECT_EQ(unopenable, QStringList{QString::fromUtf8("caf\\xE9 \u00e9.png")});
}

TEST(MediaBrowser, KindsOfNamesAndFoldersAndTheListingTheSlotsTake)
{
    EXPECT_EQ(extensionOfName("a.b.WAV"), "WAV");
    EXPECT_EQ(extensionOfName("data"), "data");
    EXPECT_EQ(mediaKindOfExtension("WAV"), MediaKind::Sound);
    EXPECT_EQ(mediaKindOfExtension("Wav"), MediaKind::None);  // case matters
    EXPECT_EQ(mediaKindOfExtension("qtz"), MediaKind::Movie);
    EXPECT_EQ(mediaKindOfExtension("pdf"), MediaKind::Image);
    EXPECT_EQ(mediaKindOfExtension("data"), MediaKind::Data);
    EXPECT_EQ(mediaKindOfExtension("txt"), MediaKind::None);

    soundNameArrayX = QStringList{"old0", "old1", "old2", "old3"};
    soundNameArrayS = QStringList{"o0", "o1", "o2", "o3"};
    const QString sounds = makeFolder({"2.WAV", "1.WAV", ".DS_Store"});
    EXPECT_EQ(kindOfSelection(true, sounds, takeFolderListing(sounds, directoryEntries(sounds, false))),
              MediaKind::Sound);
    EXPECT_EQ(LastRowsCount, 2);
    EXPECT_EQ(RowsCount, 2);
    EXPECT_EQ(soundNameArrayX.mid(0, 2), (QStringList{sounds + "/1.WAV", sounds + "/2.WAV"}));
    EXPECT_EQ(soundNameArrayS.at(1), "2.WAV");
    EXPECT_EQ(soundNameArrayS.at(2), "o2");  // older entries stay behind the count

    // A folder of hidden entries only opens nothing, whatever was listed before.
    const QString hidden = makeFolder({".a.wav"});
    EXPECT_EQ(kindOfSelection(true, hidden, takeFolderListing(hidden, directoryEntries(hidden, false))),
              MediaKind::None);
    EXPECT_EQ(LastRowsCount, 0);
    EXPECT_EQ(kindOfSelection(false, "clip.MOV", 0), MediaKind::Movie);

    EXPECT_EQ(clampedImageCount(0, 256), 1);
    EXPECT_EQ(clampedImageCount(5000, 256), 256);
    EXPECT_EQ(clampedImageCount(5000, 1000), 999);
    EXPECT_EQ(clampedImageCount(-3, 1000), 1);
}

// Listings that block, as a folder on a hung mount does, until the test lets them go: those of the paths
// the hold takes. However the test ends, they are let go.
class HungFolders {
public:
    explicit HungFolders(std::function<bool(const QString&)> holds) : state_(std::make_shared<State>())
    {
        FolderLister::setListFunction([state = state_, holds](const QString& path, bool withHidden) {
            if (holds(path)) {
                std::unique_lock lock(state->mutex);
                ++state->held;
                state->opened.wait(lock, [&] { return state->open; });
                --state->held;
            }
            return directoryEntries(path, withHidden);
        });
    }
    ~HungFolders()
    {
        release();
        FolderLister::setAnswerBound(FolderLister::defaultAnswerBound);
    }
    void release()
    {
        FolderLister::setListFunction({});
        {
            std::lock_guard lock(state_->mutex);
            state_->open = true;
        }
        state_->opened.notify_all();
    }
    // Listings held now.
    int held() const
    {
        std::lock_guard lock(state_->mutex);
        return state_->held;
    }

private:
    struct State {
        mutable std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
        int held = 0;
    };
    std::shared_ptr<State> state_;
};

struct Answer {
    std::optional<FolderLister::Listing> listing;
    QString failure;
    bool answered() const { return listing.has_value(); }
};

std::shared_ptr<Answer> listed(const QString& path)
{
    auto answer = std::make_shared<Answer>();
    FolderLister::list(path, false, [answer](FolderLister::Listing listing, const QString& failure) {
        answer->listing = std::move(listing);
        answer->failure = failure;
    });
    return answer;
}

// A folder that never answers holds up only itself: the others are listed meanwhile, it is named as not
// answering once its bound has passed, its worker is left to it, and it is listed again once it answers.
TEST(FolderLister, AFolderThatNeverAnswersHoldsUpOnlyItself)
{
    const QString root = makeFolder({"a.wav"}, {"hung", "etc"});
    const QString hung = QDir(root).filePath("hung");
    const QString other = QDir(root).filePath("etc");
    QFile(QDir(other).filePath("x.png")).open(QIODevice::WriteOnly);
    FolderLister::setAnswerBound(std::chrono::minutes(10));
    HungFolders folders([hung](const QString& path) { return path == hung; });

    const auto stuck = listed(hung);
    ASSERT_TRUE(test::processEventsUntil([&] { return folders.held() == 1; }));
    const auto meanwhile = listed(other);
    ASSERT_TRUE(test::processEventsUntil([&] { return meanwhile->answered(); }));
    EXPECT_EQ(folders.held(), 1) << "the hung listing is still held";
    EXPECT_FALSE(stuck->answered());
    ASSERT_EQ(meanwhile->listing->size(), 1u);
    EXPECT_EQ(meanwhile->listing->front().name, "x.png");
    EXPECT_TRUE(meanwhile->failure.isEmpty());

    // Past the bound its folder is named; asked again while still held, it is named at once, without
    // another worker stuck in it; the model's column for it shows why it is empty.
    FolderLister::setAnswerBound(std::chrono::milliseconds(50));
    ASSERT_TRUE(test::processEventsUntil([&] { return stuck->answered(); }));
    const auto named = listed(hung);
    ASSERT_TRUE(test::processEventsUntil([&] { return named->answered(); }));
    EXPECT_EQ(stuck->failure, hung + " does not answer");
    EXPECT_EQ(named->failure, hung + " does not answer");
    EXPECT_TRUE(stuck->listing->empty());
    EXPECT_EQ(FolderLister::stuckWorkers(), 1);
    EXPECT_EQ(folders.held(), 1);
    FSBrowserModel model;
    const QModelIndex folder = revealed(model, hung);
    ASSERT_TRUE(folder.isValid());
    model.rowCount(folder);
    ASSERT_TRUE(test::processEventsUntil([&model] { return !model.isBusy(); }));
    ASSERT_EQ(model.rowCount(folder), 1);
    const QModelIndex message = model.index(0, 0, folder);
    EXPECT_EQ(message.data().toString(), hung + " does not answer");
    EXPECT_TRUE(message.data(FSBrowserModel::IsMessageRole).toBool());
    EXPECT_FALSE(model.flags(message) & Qt::ItemIsSelectable);
    EXPECT_FALSE(model.hasChildren(message));
    EXPECT_EQ(model.entryCount(folder), 0);
    EXPECT_EQ(model.entryCount(model.indexOfPath(root)), 3);
    EXPECT_FALSE(revealed(model, hung + " does not answer").isValid());

    // Once it answers, its worker comes back and the folder is listed as any other.
    folders.release();
    ASSERT_TRUE(test::processEventsUntil([] { return FolderLister::stuckWorkers() == 0; }));
    FolderLister::setAnswerBound(std::chrono::minutes(10));
    const auto answered = listed(hung);
    ASSERT_TRUE(test::processEventsUntil([&] { return answered->answered(); }));
    EXPECT_TRUE(answered->failure.isEmpty());
    bool refreshed = false;
    model.refreshFolder(folder, [&refreshed] { refreshed = true; });
    ASSERT_TRUE(test::processEventsUntil([&refreshed] { return refreshed; }));
    EXPECT_EQ(model.rowCount(folder), 0);
    EXPECT_EQ(FolderLister::pending(), 0);
}

// Workers stuck in folders that do not answer are bounded: once every worker is, further listings are
// refused, saying so, and go on again once the folders answer. A column listed before keeps its entries
// when its refresh is refused.
TEST(FolderLister, TheWorkersStuckInFoldersThatDoNotAnswerAreBounded)
{
    const QString root = makeFolder({"a.wav"});
    FSBrowserModel model;
    const QModelIndex shown = revealed(model, root);
    ASSERT_TRUE(shown.isValid());
    model.rowCount(shown);
    ASSERT_TRUE(test::processEventsUntil([&model] { return !model.isBusy(); }));
    ASSERT_EQ(model.entryCount(shown), 1);
    const QString hung = QStringLiteral("/hung-");
    HungFolders folders([hung](const QString& path) { return path.startsWith(hung); });
    FolderLister::setAnswerBound(std::chrono::milliseconds(20));
    std::vector<std::shared_ptr<Answer>> stuck;
    for (int n = 0; n < FolderLister::maxWorkers; ++n)
        stuck.push_back(listed(hung + QString::number(n)));
    ASSERT_TRUE(test::processEventsUntil([&] {
        return std::all_of(stuck.begin(), stuck.end(), [](const auto& a) { return a->answered(); });
    }));
    for (const auto& answer : stuck)
        EXPECT_TRUE(answer->failure.endsWith(" does not answer")) << answer->failure.toStdString();
    EXPECT_EQ(FolderLister::stuckWorkers(), FolderLister::maxWorkers);
    const auto refused = listed(root);
    ASSERT_TRUE(test::processEventsUntil([&] { return refused->answered(); }));
    EXPECT_EQ(refused->failure, QStringLiteral("%1 is not listed while %2 folders do not answer")
                                    .arg(root)
                                    .arg(FolderLister::maxWorkers));
    bool refreshed = false;
    model.refreshFolder(shown, [&refreshed] { refreshed = true; });
    ASSERT_TRUE(test::processEventsUntil([&refreshed] { return refreshed; }));
    ASSERT_EQ(model.rowCount(shown), 1);
    EXPECT_EQ(model.index(0, 0, shown).data().toString(), "a.wav");
    EXPECT_FALSE(model.index(0, 0, shown).data(FSBrowserModel::IsMessageRole).toBool());

    folders.release();
    ASSERT_TRUE(test::processEventsUntil([] { return FolderLister::stuckWorkers() == 0; }));
    const auto listedAgain = listed(root);
    ASSERT_TRUE(test::processEventsUntil([&] { return listedAgain->answered(); }));
    EXPECT_TRUE(listedAgain->failure.isEmpty());
    EXPECT_EQ(listedAgain->listing->size(), 1u);
}

}  // namespace
}  // namespace nupo
