// What GL windows leave behind and how they wait: a closed window's drawing thread, context and the
// software renderer's threads go with it, and windows whose frames only wait their turn are not paused.
#include <gtest/gtest.h>

#include "QXDrawerSound/browser/FolderLister.h"
#include "QXDrawerSound/browser/ui/AppControllerB.h"
#include "core/ui/QXAppController.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/gl/OffscreenGLContext.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/WindowTestSupport.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/PictureLoader.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointer>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

using namespace nupo;
using namespace nupo::test;

namespace {

// The nibs of the windows whose GL views draw on threads of their own.
const char* const threadedNibs[] = {"QX2DSpectrum", "QX3DSpectrum", "QXnewave"};

// The process's threads by name (as the system shows them).
std::map<QString, int> threadsByName()
{
    std::map<QString, int> names;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly))
            ++names[QString::fromUtf8(comm.readAll()).trimmed()];
    }
    return names;
}

int threadsNamed(const QString& prefix)
{
    int count = 0;
    for (const auto& [name, number] : threadsByName())
        if (name.startsWith(prefix))
            count += number;
    return count;
}

QString threadList()
{
    QString list;
    for (const auto& [name, number] : threadsByName())
        list += QStringLiteral("%1 x%2, ").arg(name).arg(number);
    return list;
}

std::vector<ThreadedGLViewHost*> shownThreadedHosts()
{
    std::vector<ThreadedGLViewHost*> hosts;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            for (auto* host : window->findChildren<ThreadedGLViewHost*>())
                if (host->isVisible())
                    hosts.push_back(host);
    return hosts;
}

class GLWindowLifetime : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!onScreen())
            GTEST_SKIP() << "no X display: GL views draw no frames";
        OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
        static bool started = false;
        if (!started) {
            startWithDemo();
            started = true;
        }
        // The main thread's first GL context (made once, for good) comes before the counts.
        ASSERT_TRUE(OpenGLViewHost::isSupported());
        ASSERT_TRUE(processEventsUntil([] { return GLRenderThread::threadsLeftToEnd() == 0; }));
    }

    // Waits until the views that went have left: their threads ended, their contexts freed.
    static void waitForClosedViewsToGo()
    {
        ASSERT_TRUE(processEventsUntil([] { return GLRenderThread::threadsLeftToEnd() == 0; }));
    }

    // Closes every window with a GL view drawn on a thread of its own, and waits until they have gone:
    // a closed window keeps no host (hidden or not), no thread and no context.
    static void closeGLWindows()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && !window->findChildren<ThreadedGLViewHost*>().isEmpty())
                WindowHandle(window).close();
        ASSERT_TRUE(processEventsUntil([] { return hostsAlive() == 0; })) << hostsAlive();
        waitForClosedViewsToGo();
    }
    // Opens a window of every kind drawn on a thread of its own, and waits for their first frames.
    static void openEveryKind()
    {
        for (const char* nib : threadedNibs)
            ASSERT_NE(NibLoader::loadNibNamed(QLatin1String(nib), &QXAppController::sharedQXAppController()),
                      nullptr);
        ASSERT_TRUE(processEventsUntil([&] {
            const std::vector<ThreadedGLViewHost*> hosts = shownThreadedHosts();
            return hosts.size() >= std::size(threadedNibs) &&
                   std::all_of(hosts.begin(), hosts.end(),
                               [](const ThreadedGLViewHost* host) { return host->framesShown() >= 1; });
        }));
    }
    static int hostsAlive()
    {
        int hosts = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            hosts += int(window->findChildren<ThreadedGLViewHost*>().size());
        return hosts;
    }
};

}  // namespace

// Every GL view has one drawing thread and one context, on a driver instance of its own whose threads
// (the software renderer's) go with it: after 30 rounds of opening and closing every kind of GL window,
// and 20 picture loads into them, the process has as many of each as views are open.
TEST_F(GLWindowLifetime, ClosedWindowsLeaveNoDrawingThreadsContextsOrRendererThreadsBehind)
{
    // A first round, before the counts: what the process makes once for good (its own GL context on the
    // main thread's display, with the renderer's threads for it) is there by then.
    openEveryKind();
    closeGLWindows();
    // A reaped drawing thread's system thread ends a moment later: none is left once all have gone.
    ASSERT_TRUE(processEventsUntil([] { return threadsNamed(QStringLiteral("GL view")) == 0; }))
        << threadList().toStdString();
    const int contextsBefore = OffscreenGLContext::liveContexts();
    const int drawingThreadsBefore = threadsNamed(QStringLiteral("GL view"));
    const int rendererThreadsBefore = threadsNamed(QStringLiteral("llvmpipe"));
    int drawingThreadsPerView = -1;
    int rendererThreadsPerView = -1;
    // The threads of a view that went end a moment after it is reaped: the counts are waited for.
    const auto drawingThreads = [&] {
        return threadsNamed(QStringLiteral("GL view")) - drawingThreadsBefore;
    };
    const auto rendererThreads = [&] {
        return threadsNamed(QStringLiteral("llvmpipe")) - rendererThreadsBefore;
    };
    const auto expectCountsFor = [&](int views) {
        SCOPED_TRACE(views);
        if (drawingThreadsPerView < 0 && views > 0) {
            // The same for every view: its drawing thread and the threads the driver starts from it.
            ASSERT_TRUE(processEventsUntil([&] {
                return OffscreenGLContext::liveContexts() == contextsBefore + views &&
                       drawingThreads() % views == 0 && rendererThreads() % views == 0;
            })) << "contexts "
                << OffscreenGLContext::liveContexts() - contextsBefore << ", " << threadList().toStdString();
            drawingThreadsPerView = drawingThreads() / views;
            rendererThreadsPerView = rendererThreads() / views;
            EXPECT_GE(drawingThreadsPerView, 1);
        }
        const int perView = std::max(drawingThreadsPerView, 0);
        const int rendererPerView = std::max(rendererThreadsPerView, 0);
        EXPECT_TRUE(processEventsUntil([&] {
            return OffscreenGLContext::liveContexts() == contextsBefore + views &&
                   drawingThreads() == perView * views && rendererThreads() == rendererPerView * views;
        })) << "contexts "
            << OffscreenGLContext::liveContexts() - contextsBefore << ", " << threadList().toStdString();
    };

    for (int cycle = 0; cycle < 30; ++cycle) {
        SCOPED_TRACE(cycle);
        openEveryKind();
        waitForClosedViewsToGo();
        if (cycle % 10 == 0)
            expectCountsFor(int(std::size(threadedNibs)));
        closeGLWindows();
        expectCountsFor(0);
        if (HasFailure())
            return;
    }

    // Picture sets loaded into wave surfaces and 3D windows, whose views make textures of them.
    // A load into a 3D window closes the browser, as its buttons do: the next load opens it again.
    QPointer<AppControllerB> browser;
    const QDir folder(tempFolder());
    for (int n = 0; n < 3; ++n) {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(n * 100, 255, 255));
        ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("%1.png").arg(n))));
    }
    for (int load = 0; load < 20; ++load) {
        SCOPED_TRACE(load);
        if (!browser)
            browser = dynamic_cast<AppControllerB*>(NibLoader::loadNibNamed(QStringLiteral("MainMenuB")));
        ASSERT_NE(browser, nullptr);
        std::optional<bool> found;
        browser->selectPath(folder.path(), [&found](bool was) { found = was; });
        ASSERT_TRUE(processEventsUntil([&found] { return found.has_value(); }) && *found);
        LoadTextuerF = load % 2;
        browser->setMXTextureX(1);
        ASSERT_TRUE(processEventsUntil([] {
            const std::vector<ThreadedGLViewHost*> hosts = shownThreadedHosts();
            return FolderLister::pending() == 0 && PictureLoader::pending() == 0 && !hosts.empty() &&
                   std::all_of(hosts.begin(), hosts.end(),
                               [](const ThreadedGLViewHost* host) { return host->framesShown() >= 2; });
        }));
        waitForClosedViewsToGo();
        expectCountsFor(int(shownThreadedHosts().size()));
        if (load % 5 == 4) {
            closeGLWindows();
            expectCountsFor(0);
        }
        if (HasFailure())
            return;
    }
    closeGLWindows();
    expectCountsFor(0);
}

// Frames of views of one class draw one at a time: ten wave surfaces take turns at every beat. A frame
// waiting for its turn has not stopped responding: none of the windows is paused while each draws its
// frames.
TEST_F(GLWindowLifetime, TenWaveSurfacesDrawInTurnsWithoutAPause)
{
    auto& app = QXAppController::sharedQXAppController();
    for (int n = 0; n < 10; ++n)
        app.showSelectQXnewave(nullptr);
    ASSERT_TRUE(processEventsUntil([] { return shownThreadedHosts().size() == 10; }));
    const std::vector<QPointer<ThreadedGLViewHost>> hosts = [] {
        std::vector<QPointer<ThreadedGLViewHost>> shown;
        for (ThreadedGLViewHost* host : shownThreadedHosts())
            shown.emplace_back(host);
        return shown;
    }();
    std::vector<quint64> firstShown;
    for (const auto& host : hosts)
        firstShown.push_back(host->framesShown());
    bool paused = false;
    QString pausedWindow;
    EXPECT_TRUE(processEventsUntil([&] {
        bool allDrew = true;
        for (std::size_t i = 0; i < hosts.size(); ++i) {
            if (!hosts[i])
                return true;  // closed: the check below fails
            if (!paused &&
                (hosts[i]->frameStalled() || ThreadedGLViewHost::drawingStateOf(hosts[i]->window()) ==
                                                 ThreadedGLViewHost::DrawingState::Stalled)) {
                paused = true;
                pausedWindow = hosts[i]->window()->windowTitle();
            }
            allDrew = allDrew && hosts[i]->framesShown() >= firstShown[i] + 40;
        }
        return allDrew;
    }));
    EXPECT_FALSE(paused) << pausedWindow.toStdString();
    for (const auto& host : hosts)
        EXPECT_TRUE(host) << "a window went";
    closeGLWindows();
}
