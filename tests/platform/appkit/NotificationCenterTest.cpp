#include "platform/appkit/NotificationCenter.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace nupo {
namespace {

NotificationCenter& center()
{
    return NotificationCenter::defaultCenter();
}

TEST(NotificationCenter, MatchesObserversByNameAndObject)
{
    int sender1 = 0;
    int sender2 = 0;
    std::vector<QString> calls;
    QVariantMap seenInfo;
    ScopedObserver anyA("A", nullptr, [&](const Notification& n) {
        calls.push_back("anyA");
        seenInfo = n.userInfo;
    });
    ScopedObserver aFrom1("A", &sender1, [&](const Notification&) { calls.push_back("aFrom1"); });
    ScopedObserver anyFrom2("", &sender2,
                            [&](const Notification& n) { calls.push_back("anyFrom2:" + n.name); });
    ScopedObserver everything("", nullptr, [&](const Notification&) { calls.push_back("everything"); });

    center().postNotificationName("A", &sender1, {{"level", 3}});
    EXPECT_EQ(calls, (std::vector<QString>{"anyA", "aFrom1", "everything"}));
    EXPECT_EQ(seenInfo.value("level").toInt(), 3);

    calls.clear();
    center().postNotificationName("B", &sender2);
    EXPECT_EQ(calls, (std::vector<QString>{"anyFrom2:B", "everything"}));

    calls.clear();
    center().postNotificationName("A");  // no object: only observers of any object
    EXPECT_EQ(calls, (std::vector<QString>{"anyA", "everything"}));

    EXPECT_EQ(center().addObserver("A", nullptr, nullptr), 0u);
    EXPECT_EQ(center().observerCount(), 4u);
}

TEST(NotificationCenter, DeliversOnThePostingThreadBeforePostReturns)
{
    std::thread::id handlerThread;
    ScopedObserver observer("needUpdate", nullptr,
                            [&](const Notification&) { handlerThread = std::this_thread::get_id(); });
    std::thread::id posterThread;
    bool deliveredBeforeReturn = false;
    std::thread poster([&] {
        posterThread = std::this_thread::get_id();
        center().postNotificationName("needUpdate");
        deliveredBeforeReturn = handlerThread == posterThread;
    });
    poster.join();
    EXPECT_TRUE(deliveredBeforeReturn);
}

TEST(NotificationCenter, HandlersMayAddRemoveAndPost)
{
    int selfRemoving = 0;
    int removedByOther = 0;
    int addedLater = 0;
    int nested = 0;
    ObserverToken selfToken = 0;
    ObserverToken otherToken = 0;
    ScopedObserver added;

    selfToken = center().addObserver("N", nullptr, [&](const Notification&) {
        ++selfRemoving;
        center().removeObserver(selfToken);  // returns at once inside its own handler
    });
    ScopedObserver remover("N", nullptr, [&](const Notification&) {
        center().removeObserver(otherToken);  // registered after this one: skipped in this very post
        if (!added.isActive())
            added = ScopedObserver("N", nullptr, [&](const Notification&) { ++addedLater; });
        center().postNotificationName("Nested");
    });
    otherToken = center().addObserver("N", nullptr, [&](const Notification&) { ++removedByOther; });
    ScopedObserver nestedObserver("Nested", nullptr, [&](const Notification&) { ++nested; });

    center().postNotificationName("N");
    EXPECT_EQ(selfRemoving, 1);
    EXPECT_EQ(removedByOther, 0);
    EXPECT_EQ(addedLater, 0);  // added during the post: from the next post on
    EXPECT_EQ(nested, 1);

    center().postNotificationName("N");
    EXPECT_EQ(selfRemoving, 1);
    EXPECT_EQ(addedLater, 1);
    EXPECT_EQ(nested, 2);

    added.reset();
    center().postNotificationName("N");
    EXPECT_EQ(addedLater, 1);
}

TEST(NotificationCenter, NoCallAfterRemovalFromAnotherThreadReturns)
{
    std::atomic<int> entered{0};
    std::atomic<int> left{0};
    std::atomic<bool> posting{true};
    const ObserverToken token = center().addObserver("Level", nullptr, [&](const Notification&) {
        ++entered;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // long enough to be removed meanwhile
        ++left;
    });
    std::thread poster([&] {
        while (posting)
            center().postNotificationName("Level");
    });
    while (entered == 0)
        std::this_thread::yield();

    center().removeObserver(token);
    EXPECT_EQ(entered.load(), left.load()) << "removal returned while a call was under way";
    const int atRemoval = entered;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(entered.load(), atRemoval);
    posting = false;
    poster.join();
}

TEST(NotificationCenter, ObserversComeAndGoOnManyThreadsWhilePosting)
{
    std::atomic<int> persistentCalls{0};
    ScopedObserver persistent("Tick", nullptr, [&](const Notification&) { ++persistentCalls; });
    std::atomic<bool> running{true};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            while (running)
                center().postNotificationName("Tick");
        });
    }
    // The observers come and go only once posts are flowing (a busy machine may start the posting
    // threads late).
    while (persistentCalls.load() == 0)
        std::this_thread::yield();
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                std::atomic<int> calls{0};
                ScopedObserver transient("Tick", nullptr, [&calls](const Notification&) { ++calls; });
                std::this_thread::yield();
            }  // each transient observer's counter dies with it: a late call would touch a dead object
        });
    }
    for (std::size_t t = 3; t < threads.size(); ++t)
        threads[t].join();
    running = false;
    for (std::size_t t = 0; t < 3; ++t)
        threads[t].join();
    EXPECT_EQ(center().observerCount(), 1u);
    EXPECT_GT(persistentCalls.load(), 0);
}

}  // namespace
}  // namespace nupo
