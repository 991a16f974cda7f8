// Resident memory over picture loads, as a long session makes them (not a Google benchmark: it prints
// the figures). 100 loads rotating four sets (three large JPEGs; GIFs and BMPs of 8 to 1500 pixels with a
// truncated and an empty file; 40 PNGs; the program's own wave-surface images) into wave surfaces, each
// load's older wave surfaces closed; then 30 loads of the sets into 3D windows, the older ones closed.
// Resident memory after loads 10 and 100, and after 3D loads 10 and 30. Needs an X display.
//
//   DISPLAY=:NN build/bench/views3d/bench_picture_memory
#include "QXDrawerSound/browser/FolderLister.h"
#include "QXDrawerSound/browser/ui/AppControllerB.h"
#include "app/Wiring.h"
#include "platform/appkit/MemoryReturn.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"
#include "support/WindowTestSupport.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/PictureLoader.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>
#include <vector>

using namespace nupo;
using namespace nupo::test;

namespace {

QImage stripes(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int x = 0; x < width; x += 16)
        painter.fillRect(QRect(x, 0, 16, height), QColor::fromHsv((x / 16 * 37 + seed * 53) % 360, 200, 230));
    return image;
}

QStringList makeSets(const QDir& root)
{
    QStringList folders;
    const auto folder = [&](const QString& name) {
        root.mkpath(name);
        folders << root.filePath(name);
        return QDir(root.filePath(name));
    };
    const QDir jpegs = folder(QStringLiteral("jpegs"));
    for (int n = 0; n < 3; ++n)
        stripes(4000, 3000, n).save(jpegs.filePath(QStringLiteral("%1.jpg").arg(n)), "JPEG", 90);
    const QDir odd = folder(QStringLiteral("odd"));
    const int sides[] = {8, 33, 200, 640, 1024, 1500};
    for (int n = 0; n < 6; ++n)
        stripes(sides[n], sides[5 - n], n)
            .save(odd.filePath(QStringLiteral("%1.%2").arg(n).arg(n % 2 ? "bmp" : "gif")));
    QFile original(odd.filePath(QStringLiteral("3.bmp")));
    original.open(QIODevice::ReadOnly);
    QFile truncated(odd.filePath(QStringLiteral("truncated.bmp")));
    truncated.open(QIODevice::WriteOnly);
    truncated.write(original.readAll().left(2000));
    QFile(odd.filePath(QStringLiteral("empty.gif"))).open(QIODevice::WriteOnly);
    const QDir pngs = folder(QStringLiteral("pngs"));
    for (int n = 0; n < 40; ++n)
        stripes(640, 480, n).save(pngs.filePath(QStringLiteral("%1.png").arg(n)));
    folders << sourcePath(QStringLiteral("resources/Images"));
    return folders;
}

void closeAlerts()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
            box->close();
}

bool allShowFrames()
{
    for (QWidget* window : windowsWithGLViews())
        for (ThreadedGLViewHost* host : window->findChildren<ThreadedGLViewHost*>())
            if (host->isVisible() && host->framesShown() < 3)
                return false;
    return true;
}

// Loads folder into a new window of that scene (0 wave surface, 1 3D window) and closes the windows
// with GL views that were open before.
bool loadAndCloseTheOthers(QPointer<AppControllerB>& browser, const QString& folder, int scene)
{
    const std::vector<QWidget*> before = windowsWithGLViews();
    if (!browser)
        browser = dynamic_cast<AppControllerB*>(NibLoader::loadNibNamed(QStringLiteral("MainMenuB")));
    if (!browser)
        return false;
    std::optional<bool> found;
    browser->selectPath(folder, [&found](bool was) { found = was; });
    if (!processEventsUntil([&found] { return found.has_value(); }) || !*found)
        return false;
    LoadTextuerF = scene;
    browser->setMXTextureX(1);
    if (!processEventsUntil([] { return FolderLister::pending() == 0 && PictureLoader::pending() == 0; }))
        return false;
    closeAlerts();
    if (!processEventsUntil(allShowFrames))
        return false;
    for (QWidget* window : before)
        if (window->isVisible())
            WindowHandle(window).close();
    closeAlerts();
    return processEventsUntil([&] { return windowsWithGLViews().size() <= 1 && allShowFrames(); });
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
    OpenGLViewHost::setPlotDrawing(OpenGLViewHost::Drawing::OnOwnThread);
    startWithDemo();
    QTemporaryDir root;
    const QStringList sets = makeSets(QDir(root.path()));
    QPointer<AppControllerB> browser;
    std::printf("start: %.0f MiB\n", residentMiB());
    for (int load = 1; load <= 100; ++load) {
        if (!loadAndCloseTheOthers(browser, sets[load % sets.size()], 0)) {
            std::fprintf(stderr, "wave load %d did not finish\n", load);
            return 1;
        }
        if (load == 10 || load == 50 || load == 100)
            std::printf("wave surface loads %d: %.0f MiB\n", load, residentMiB());
        std::fflush(stdout);
    }
    for (int load = 1; load <= 30; ++load) {
        if (!loadAndCloseTheOthers(browser, sets[load % sets.size()], 1)) {
            std::fprintf(stderr, "3D load %d did not finish\n", load);
            return 1;
        }
        if (load == 10 || load == 30)
            std::printf("3D loads %d: %.0f MiB\n", load, residentMiB());
        std::fflush(stdout);
    }
    trimFreeMemory();
    std::printf("after malloc_trim: %.0f MiB\n", residentMiB());
    std::fflush(stdout);
    std::_Exit(0);
}
