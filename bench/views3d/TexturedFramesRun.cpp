// Textured frames of the 3D band-spectrum view with a set of eight pictures, as a window opened again
// after Load Images… draws them: the view at its default size in the offscreen context, the surfaces in
// the image texture mode, every camera preset in turn (the ten-frame move and some frames at rest), then
// from each preset turning continuously up through a quarter turn and then left through a half, the image
// stepping every frame (so that the views pass close to edge-on). Run once with 512 x 512 and once with
// 2048 x 2048 pictures; every frame is timed (the synchronisation step, the frame and glFinish).
//
//   bench_3d_textured_frames [frames at rest per preset (default 5)] [turning frames (default 60)]
//
// NUPO_BENCH_SNAPSHOTS=<folder> saves the last frame at each preset and after each turning there.
//
// Prints the worst frame of each preset and of the turning for each picture size, with the most CPU time
// one frame took (the rasteriser's threads included; a busy machine lengthens frames but not that), and
// as its last line the worst frame of them all: "worst textured 3D frame: N ms". A picture size whose
// frame runs past a minute is left there (its worst frame is then at least that long).

#include "platform/gl/OffscreenGLContext.h"
#include "views3d/QX3DSpectrumGLView.h"
#include "views3d/spectrum/gl/QX3DSpectrumGLDrawing.h"
#include "views3d/textures/gl/ImageSources.h"
#include "views3d/textures/gl/SpritePicture.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

using namespace nupo;

namespace {

using Clock = std::chrono::steady_clock;

// The view's size in the window's default frame.
constexpr int viewWidth = 642;
constexpr int viewHeight = 400;
constexpr int pictureCount = 8;
constexpr double giveUpSeconds = 60.0;
constexpr const char* presetNames[] = {"Front", "Top", "Side", "Angle", "Back"};

// Photo-like pictures (gradients, rings and fine noise), each a little different, so that the encoder
// cannot shrink them to nothing and every mipmap level has detail.
QStringList writePictures(const QTemporaryDir& folder, int side)
{
    QStringList paths;
    for (int n = 0; n < pictureCount; ++n) {
        QImage image(side, side, QImage::Format_RGB32);
        for (int y = 0; y < side; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < side; ++x) {
                const double u = double(x) / side, v = double(y) / side;
                const int ring =
                    static_cast<int>(127 + 120 * std::sin(40.0 * std::hypot(u - 0.5, v - 0.5) + n));
                line[x] = qRgb(int(255 * u) ^ (n * 29), int(255 * v), ring ^ ((x * 7 + y * 13 + n) & 15));
            }
        }
        const QString path = QDir(folder.path()).filePath(QStringLiteral("picture-%1.png").arg(n));
        if (!image.save(path))
            return {};
        paths << path;
    }
    return paths;
}

struct Run {
    double worst = 0.0;     // seconds
    double worstCpu = 0.0;  // CPU seconds of the process (the rasteriser's threads included) in one frame
    bool gaveUp = false;
};

double processSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Times one frame of the drawing into worst and the run's worst; a frame past the give-up time ends the
// run.
void frame(QX3DSpectrumGLDrawing& drawing, double& worst, Run& run)
{
    const auto start = Clock::now();
    const double cpuStart = processSeconds();
    drawing.synchronizeFrame();
    drawing.drawRect(drawing.bounds());
    glFinish();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.worstCpu = std::max(run.worstCpu, processSeconds() - cpuStart);
    worst = std::max(worst, seconds);
    run.worst = std::max(run.worst, seconds);
    run.gaveUp = run.gaveUp || seconds > giveUpSeconds;
}

// Where NUPO_BENCH_SNAPSHOTS names a folder, the last frame of each preset and of the turning is saved
// there, to see what was drawn.
void snapshot(OffscreenGLContext& context, int side, const char* what)
{
    const QString folder = qEnvironmentVariable("NUPO_BENCH_SNAPSHOTS");
    if (!folder.isEmpty())
        context.readPixels().save(QDir(folder).filePath(QStringLiteral("%1-%2.png").arg(side).arg(what)));
}

Run runWithPictures(OffscreenGLContext& context, int side, int restFrames, int turningFrames)
{
    Run run;
    QTemporaryDir folder;
    const QStringList paths = writePictures(folder, side);
    std::vector<RefusedPicture> refused;
    const SharedPictureSet set = paths.isEmpty() ? nullptr : loadPictureSet(paths, &refused);
    if (!set || set->loaded() != pictureCount) {
        std::fprintf(stderr, "the %d x %d pictures could not be made\n", side, side);
        std::exit(2);
    }

    // As the window opens again once a set of eight has loaded: image mode, eight images.
    maxImageN = pictureCount;
    QX3DSpectrumGLView view;
    view.setUpTextureMode = 2;
    QX3DSpectrumGLDrawing drawing(view);
    drawing.setFrameSize(QSizeF(viewWidth, viewHeight));
    drawing.prepareOpenGL();
    drawing.showImages(set);
    // The one-time set-up and the textures' upload.
    for (int k = 0; k < 2; ++k) {
        const auto start = Clock::now();
        drawing.synchronizeFrame();
        drawing.drawRect(drawing.bounds());
        glFinish();
        std::printf("  set-up frame %d: %.1f ms\n", k + 1,
                    1000.0 * std::chrono::duration<double>(Clock::now() - start).count());
    }
    for (int preset = 0; preset < 5; ++preset) {
        view.setRunTextureX(0);
        view.setRotateSpeedUpXX(0.0f);
        view.setRotateSpeedLeftXX(0.0f);
        view.setResetPositionX(preset);
        double worst = 0.0;
        for (int k = 0; k < presetMoveFrames + restFrames && !run.gaveUp; ++k)
            frame(drawing, worst, run);
        snapshot(context, side, presetNames[preset]);
        // Turning from the preset, up through a quarter turn and then to the left through a half turn,
        // with the images stepping every frame.
        double turning = 0.0;
        view.setRunTextureX(1);
        view.setRotateSpeedUpXX(90.0f / float(std::max(turningFrames, 1)));
        for (int k = 0; k < turningFrames && !run.gaveUp; ++k)
            frame(drawing, turning, run);
        view.setRotateSpeedUpXX(0.0f);
        view.setRotateSpeedLeftXX(180.0f / float(std::max(turningFrames, 1)));
        for (int k = 0; k < turningFrames && !run.gaveUp; ++k)
            frame(drawing, turning, run);
        snapshot(context, side, QByteArray(presetNames[preset]).append("-turned").constData());
        std::printf("  %-6s worst %6.1f ms, turning from it %6.1f ms\n", presetNames[preset], 1000.0 * worst,
                    1000.0 * turning);
        std::fflush(stdout);
        if (run.gaveUp)
            break;
    }
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    // The overlays' text needs the fonts of a GUI application; no window is opened.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int restFrames = argc > 1 ? std::max(0, std::atoi(argv[1])) : 5;
    const int turningFrames = argc > 2 ? std::max(0, std::atoi(argv[2])) : 60;

    OffscreenGLContext context(QSize(viewWidth, viewHeight));
    if (!context.isValid()) {
        std::fprintf(stderr, "no offscreen GL context: %s\n", qUtf8Printable(context.errorString()));
        return 2;
    }
    installMeshLinks();
    double worst = 0.0;
    bool gaveUp = false;
    for (const int side : {512, 2048}) {
        std::printf("%d x %d pictures:\n", side, side);
        std::fflush(stdout);
        const Run run = runWithPictures(context, side, restFrames, turningFrames);
        if (run.gaveUp)
            std::printf("  a frame ran past %.0f s: left there\n", giveUpSeconds);
        std::printf("  worst frame %.1f ms, %.1f ms of CPU in one frame at most\n", 1000.0 * run.worst,
                    1000.0 * run.worstCpu);
        worst = std::max(worst, run.worst);
        gaveUp = gaveUp || run.gaveUp;
    }
    std::printf("worst textured 3D frame: %.0f ms%s\n", 1000.0 * worst, gaveUp ? " (or more)" : "");
    return 0;
}
