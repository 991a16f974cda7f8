#include "platform/viewhost/gl/ViewHost.h"
#include "platform/viewhost/gl/ViewObject.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QThread>

#include <thread>

namespace nupo {
namespace {

class FakeHost : public ViewHost {
public:
    void viewNeedsDisplay() override
    {
        ++redraws;
        onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    void viewDetached(ViewObject* view) override { detached.push_back(view); }

    int redraws = 0;
    bool onMainThread = true;
    std::vector<ViewObject*> detached;
};

void processEvents()
{
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
}

TEST(ViewObject, RedrawRequestsReachTheHostOnTheMainThread)
{
    FakeHost host;
    ViewObject view(QRectF(5, 6, 200, 100));
    EXPECT_EQ(view.bounds(), QRectF(0, 0, 200, 100));

    // Without a host a request only sets the flag.
    view.setNeedsDisplay(true);
    EXPECT_TRUE(view.needsDisplay());
    view.attachHost(&host);
    view.setNeedsDisplay(true);
    EXPECT_EQ(host.redraws, 1);
    view.setNeedsDisplay(false);
    EXPECT_FALSE(view.needsDisplay());
    EXPECT_EQ(host.redraws, 1);

    // From another thread: queued, several requests make one redraw, run on the main thread.
    std::thread worker([&view] {
        for (int i = 0; i < 5; ++i)
            view.setNeedsDisplay(true);
    });
    worker.join();
    EXPECT_EQ(host.redraws, 1);
    EXPECT_TRUE(view.needsDisplay());
    processEvents();
    EXPECT_EQ(host.redraws, 2);
    EXPECT_TRUE(host.onMainThread);

    // After the queued redraw ran, a new request from a thread is queued again.
    std::thread([&view] { view.setNeedsDisplay(true); }).join();
    processEvents();
    EXPECT_EQ(host.redraws, 3);
}

TEST(ViewObject, QueuedRequestOfAViewThatIsGoneIsDropped)
{
    FakeHost host;
    auto view = std::make_unique<ViewObject>();
    view->attachHost(&host);
    std::thread([&view] { view->setNeedsDisplay(true); }).join();
    ViewObject* gone = view.get();
    view.reset();
    ASSERT_EQ(host.detached.size(), 1u);
    EXPECT_EQ(host.detached[0], gone);
    processEvents();
    EXPECT_EQ(host.redraws, 0);
}

TEST(ViewObject, AViewHasOneHostAtATime)
{
    FakeHost first;
    FakeHost second;
    ViewObject view;
    view.attachHost(&first);
    view.attachHost(&second);
    ASSERT_EQ(first.detached.size(), 1u);
    EXPECT_EQ(view.host(), &second);
    view.setNeedsDisplay(true);
    EXPECT_EQ(first.redraws, 0);
    EXPECT_EQ(second.redraws, 1);

    // A host that lets go of another host's view changes nothing.
    view.detachHost(&first);
    EXPECT_EQ(view.host(), &second);
    view.detachHost(&second);
    EXPECT_EQ(view.host(), nullptr);
    view.setNeedsDisplay(true);
    EXPECT_EQ(second.redraws, 1);
    EXPECT_TRUE(second.detached.empty());
}

}  // namespace
}  // namespace nupo
