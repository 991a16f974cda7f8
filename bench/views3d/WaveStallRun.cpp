// A long run of the wave-surface view in the offscreen context: the sheet goes through every reset shape
// and then through every effect code the brain drive can send (shapes, texture modes, rotations, camera
// reset, stop), first with "Run by brain" off and then on, and every frame is timed. The software
// rasteriser has stalled for seconds, or for good, on some frames of this window; the run fails (exit
// status 1) when any frame takes longer than a second, in time and in CPU time (so that a frame that
// merely waited for a busy machine does not count).
//
//   bench_wave_stalls [seconds (default 60)] [width height (default 800 600)] [seed]
//   bench_wave_stalls --replay <record file> [unguarded]
//
// The second form draws the first frame of a slow-frame record (NUPO_WAVE_SLOW_FRAMES) again, three
// times, and prints how long each took; with "unguarded" the edge-on triangles are drawn as the others
// (which may stall for good).
//
// It prints the number of frames, their mean and longest time, how many took over 0.1 s and 1 s, and how
// many had triangles seen so nearly edge-on that the tunnel drew them without anisotropic filtering.

#include "platform/gl/OffscreenGLContext.h"
#include "views3d/wave/gl/QXnewave.h"
#include "views3d/wave/gl/QXnewaveGLView.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <random>

using namespace nupo;

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    long frames = 0;
    double total = 0.0;
    double longest = 0.0;
    long over100ms = 0;
    long over1s = 0;
    long edgeOn = 0;  // frames that drew edge-on triangles without anisotropic filtering
};

// CPU time of the whole process (the rasteriser's threads included), seconds.
double processSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double timedFrame(QXnewaveGLView& view, Figures& figures, const char* what)
{
    const auto start = Clock::now();
    const double cpuStart = processSeconds();
    view.synchronizeFrame();
    view.drawRect(view.bounds());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = processSeconds() - cpuStart;
    ++figures.frames;
    if (QXnewave::sharedQXnewave().edgeOnTriangles > 0)
        ++figures.edgeOn;
    figures.total += seconds;
    figures.longest = std::max(figures.longest, seconds);
    if (seconds > 0.1)
        ++figures.over100ms;
    // A frame the rasteriser stalls on burns CPU all the while; one that only waited for a busy machine
    // does not, and is listed but not counted.
    if (seconds > 1.0) {
        const bool stalled = cpu > 1.0;
        figures.over1s += stalled;
        std::printf("  frame of %.2f s, %.2f s of CPU (%s)%s\n", seconds, cpu, what,
                    stalled ? "" : ", not counted");
        std::fflush(stdout);
    }
    return seconds;
}

void report(const char* what, const Figures& f)
{
    std::printf(
        "%-28s %7ld frames, mean %6.2f ms, longest %8.3f s, over 0.1 s: %ld, over 1 s: %ld, with edge-on "
        "triangles: %ld\n",
        what, f.frames, f.frames ? 1000.0 * f.total / static_cast<double>(f.frames) : 0.0, f.longest,
        f.over100ms, f.over1s, f.edgeOn);
    std::fflush(stdout);
}

// The value after `key ` in a line of `name value` pairs.
float valueOf(const QString& line, const QString& key)
{
    const QStringList words = line.split(' ', Qt::SkipEmptyParts);
    const qsizetype at = words.indexOf(key);
    return at >= 0 && at + 1 < words.size() ? words[at + 1].toFloat() : 0.0f;
}

int replay(const QString& path, bool unguarded)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 2;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    const auto lineOf = [&](const QString& start) {
        for (const QString& line : lines)
            if (line.startsWith(start))
                return line;
        return QString();
    };
    const QString frame = lineOf("frame:");
    const QString sheet = lineOf("sheet:");
    const QStringList viewport = lineOf("wall 0: viewport").split(' ', Qt::SkipEmptyParts);
    if (frame.isEmpty() || sheet.isEmpty() || viewport.size() < 7) {
        std::fprintf(stderr, "%s holds no frame record\n", qPrintable(path));
        return 2;
    }
    const int width = viewport[5].toInt();
    const int height = viewport[6].toInt();
    OffscreenGLContext context(QSize(width, height));
    if (!context.isValid())
        return 2;
    QXnewaveGLView view(QRectF(0, 0, width, height));
    view.synchronizeFrame();
    view.drawRect(view.bounds());  // the one-time set-up and the wall images
    QXnewave& wave = QXnewave::sharedQXnewave();
    wave.stopdn();
    const int side = static_cast<int>(valueOf(sheet, "gridd"));
    wave.setdSized(side == 15 ? 0 : side == 31 ? 1 : side == 42 ? 2 : 3);
    const qsizetype heights = lines.indexOf("heights (row i, columns j):");
    for (int i = 0; i < gridd && heights >= 0; ++i) {
        const QStringList row = lines.value(heights + 1 + i).split(' ', Qt::SkipEmptyParts);
        for (int j = 0; j < gridd && j < row.size(); ++j)
            wave.positd[i][j] = row[j].toFloat();
    }
    QXnewaveGLView::FrameOwned& camera = view.frameOwned();  // no host: no frame runs meanwhile
    camera.sphi = valueOf(frame, "displayUndn");
    camera.stheta = valueOf(frame, "sthet");
    camera.Xposition = valueOf(frame, "Xposi");
    camera.Yposition = valueOf(frame, "Yposi");
    camera.sdepth = valueOf(frame, "sdept");
    view.setDrawModeX(static_cast<int>(valueOf(frame, "displayUnn")));
    view.setTextureModeX(static_cast<int>(valueOf(frame, "texture")));
    view.setTextureEnvX(static_cast<int>(valueOf(frame, "Env")));
    if (unguarded) {
        edgeOnTexelsPerPixel = std::numeric_limits<double>::infinity();
        edgeOnPixelsToHorizon = 0.0;
    }
    for (int n = 0; n < 3; ++n) {
        Figures figures;
        const double seconds = timedFrame(view, figures, "replay");
        std::printf("replayed %d x %d frame: %.3f s, %d edge-on triangles\n", width, height, seconds,
                    wave.edgeOnTriangles);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && QString::fromLocal8Bit(argv[1]) == "--replay")
        return replay(QString::fromLocal8Bit(argv[2]),
                      argc > 3 && QString::fromLocal8Bit(argv[3]) == "unguarded");
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    const int width = argc > 3 ? std::atoi(argv[2]) : 800;
    const int height = argc > 3 ? std::atoi(argv[3]) : 600;
    const unsigned seed = argc > 4 ? static_cast<unsigned>(std::atoi(argv[4])) : 1u;

    OffscreenGLContext context(QSize(width, height));
    if (!context.isValid()) {
        std::fprintf(stderr, "no offscreen GL context: %s\n", qPrintable(context.errorString()));
        return 2;
    }
    std::printf("%s, %d x %d, %.0f s, seed %u\n", qPrintable(context.renderer()), width, height, seconds,
                seed);
    QXnewaveGLView view(QRectF(0, 0, width, height));
    view.synchronizeFrame();
    view.drawRect(view.bounds());  // the one-time set-up

    // Half the time goes to the reset shapes with the brain drive off, half to the effect codes with it on.
    const double perShape = seconds / 2.0 / 11.0;
    Figures shapes;
    for (int shape = 0; shape <= 10; ++shape) {
        view.setAutoStopX(1);
        view.setResetPositionX(1);
        view.setDrawModeX(4);
        view.setRunbyBrainswX(0);
        applyTunnelEffect(&view, shape);
        char what[32];
        std::snprintf(what, sizeof what, "shape %d", shape);
        Figures one;
        for (double spent = 0.0; spent < perShape;)
            spent += timedFrame(view, one, what);
        report(what, one);
        shapes.frames += one.frames;
        shapes.total += one.total;
        shapes.longest = std::max(shapes.longest, one.longest);
        shapes.over100ms += one.over100ms;
        shapes.over1s += one.over1s;
        shapes.edgeOn += one.edgeOn;
    }

    // The brain drive: a band change every 0.2 to 2 s of frames (6 to 60 frames at 30 a second), each
    // sending one of the twenty effect codes.
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> code(0, 19);
    std::uniform_int_distribution<int> framesPerBand(6, 60);
    view.setRunbyBrainswX(1);
    Figures brain;
    char what[32] = "brain, start";
    for (double spent = 0.0; spent < seconds / 2.0;) {
        const int effect = code(random);
        applyTunnelEffect(&view, effect);
        std::snprintf(what, sizeof what, "brain, effect %d", effect);
        for (int n = framesPerBand(random); n > 0; --n)
            spent += timedFrame(view, brain, what);
    }
    report("all shapes, brain off", shapes);
    report("effects 0..19, brain on", brain);
    return shapes.over1s + brain.over1s > 0 ? 1 : 0;
}
