// Resident memory over rounds of opening and closing every GL window (not a Google benchmark: it prints
// the figures). Each round opens the Waterfall, WaterfallBS and Wave Surface windows as their menu keys
// do, with the demo recording playing, waits until each has shown some frames, closes them and waits
// until their views, drawing threads and contexts have gone. A first round is not counted (what the
// program makes once and keeps: the driver's compiled shaders, glyphs, the windows' nibs); the growth is
// measured over the rounds after it. Needs an X display.
//
//   DISPLAY=:NN build/bench/views3d/bench_gl_window_rounds [rounds (default 30)]
//
// Last line: "rss growth over N rounds: M MiB".
#include "app/Wiring.h"
#include "core/ui/QXAppController.h"
#include "platform/appkit/MemoryReturn.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/viewhost/ui/GLRenderThread.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace nupo;
using namespace nupo::test;

namespace {

int hostsAlive()
{
    int hosts = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        hosts += int(window->findChildren<ThreadedGLViewHost*>().size());
    return hosts;
}

// One round: the three windows opened, drawn, closed and gone.
bool round()
{
    auto& app = QXAppController::sharedQXAppController();
    app.showQX2DSpectrum(nullptr);   // Ctrl+3
    app.showFFTPanel(nullptr);       // Ctrl+4
    app.showSelectQXnewave(nullptr);  // Ctrl+5
    const bool drawn = processEventsUntil([] {
        const std::vector<QWidget*> windows = windowsWithGLViews();
        if (windows.size() < 3)
            return false;
        for (QWidget* window : windows)
            for (ThreadedGLViewHost* host : window->findChildren<ThreadedGLViewHost*>())
                if (host->isVisible() && host->framesShown() < 5)
                    return false;
        return true;
    });
    for (QWidget* window : windowsWithGLViews())
        WindowHandle(window).close();
    return drawn && processEventsUntil([] {
               return hostsAlive() == 0 && GLRenderThread::threadsLeftToEnd() == 0;
           });
}

}  // namespace

int main(int argc, char** argv)
{
    giveLargeBuffersBackToTheSystem();
    QApplication app(argc, argv);
    installLinks();
    if (!onScreen()) {
        std::fprintf(stderr, "needs an X display\n");
        return 2;
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
    startWithDemo();
    std::printf("start: %.1f MiB, %d threads\n", residentMiB(), threadCount());
    if (!round()) {
        std::fprintf(stderr, "the first round did not finish\n");
        return 1;
    }
    letItRun(500);
    const double first = residentMiB();
    std::printf("after the first round: %.1f MiB, %d threads\n", first, threadCount());
    std::fflush(stdout);
    for (int n = 1; n <= rounds; ++n) {
        if (!round()) {
            std::fprintf(stderr, "round %d did not finish\n", n);
            return 1;
        }
        if (n % 10 == 0 || n == rounds) {
            std::printf("round %d: %.1f MiB, %d threads\n", n, residentMiB(), threadCount());
            std::fflush(stdout);
        }
    }
    letItRun(500);
    const double last = residentMiB();
    std::printf("rss growth over %d rounds: %.1f MiB\n", rounds, last - first);
    std::fflush(stdout);
    std::_Exit(0);
}
