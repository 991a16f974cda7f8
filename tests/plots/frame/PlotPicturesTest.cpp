// The quick way of drawing a plot frame gives the picture of the plain way: every mode of the raw-wave
// and bar-graph views, at 256 and 8192 points, drawn plainly (each entry its own stroke, the background
// and grid drawn each time) and quickly (a column at a time where entries outnumber pixel columns, the
// background and grid kept as a picture), compared pixel by pixel.
#include <gtest/gtest.h>

#include "analysis/QXFFT.h"
#include "platform/quartz/gl/PainterGraphicsContext.h"
#include "plots/bargraph/gl/BarColourTables.h"
#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/frame/gl/PlotDrawing.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "plots/settings/DisplaySettings.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "shared/RecordingBuffers.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

using namespace nupo;

namespace {

// The views' size in their window nibs.
const QRectF viewRect(0, 0, 720, 330);

using Frame = std::function<void(GraphicsContext&)>;

QImage draw(const Frame& frame, bool quick)
{
    plotColumnMerging = quick;
    QImage image(viewRect.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    const auto drawing =
        quick ? PainterGraphicsContext::Drawing::Batched : PainterGraphicsContext::Drawing::Direct;
    // Twice, so that the quick frame shows its kept background and grid.
    for (int pass = 0; pass < 2; ++pass) {
        QPainter painter(&image);
        PainterGraphicsContext context(painter, viewRect.height(), drawing);
        frame(context);
    }
    plotColumnMerging = true;
    return image;
}

// What is allowed to differ between the two ways: how much of a pixel each ink covers. Where a plain
// frame draws many thin antialiased strokes into one pixel column, each shades part of the pixels it
// crosses (over the ground and over each other); drawn a column at a time, the pixels they reach take
// the ink whole. So a pixel of either picture may mix the ground (the same frame without traces or bars)
// with the inks the other picture has at or next to that pixel, in any shares; and wherever one picture
// inks clearly, the other inks within a pixel.
struct Apart {
    double otherInk = 0.0;  // share of pixels mixing in an ink the other picture has nowhere near
    double missing = 0.0;   // share of clearly inked pixels with no ink in the other picture nearby
};

using Vector = std::array<double, 3>;

Vector minus(QRgb a, QRgb b)
{
    return {double(qRed(a) - qRed(b)), double(qGreen(a) - qGreen(b)), double(qBlue(a) - qBlue(b))};
}

double dot(const Vector& a, const Vector& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double distance(QRgb a, QRgb b)
{
    const Vector d = minus(a, b);
    return std::sqrt(dot(d, d));
}

// How far colour p lies from every mix of ground g with inks c1 and c2 (the plane through the three).
double offTheMix(QRgb p, QRgb g, QRgb c1, QRgb c2)
{
    Vector v = minus(p, g);
    // Gram-Schmidt: take out of v its parts along the (orthogonalised) ink directions.
    Vector a = minus(c1, g), b = minus(c2, g);
    const double aa = dot(a, a);
    if (aa > 1.0) {
        const double t = dot(v, a) / aa, u = dot(b, a) / aa;
        for (int i = 0; i < 3; ++i) {
            v[i] -= t * a[i];
            b[i] -= u * a[i];
        }
    }
    const double bb = dot(b, b);
    if (bb > 1.0) {
        const double t = dot(v, b) / bb;
        for (int i = 0; i < 3; ++i)
            v[i] -= t * b[i];
    }
    return std::sqrt(dot(v, v));
}

Apart compare(const QImage& plain, const QImage& quick, const QImage& ground)
{
    constexpr double shade = 40.0, clearInk = 96.0;
    auto neighbours = [](const QImage& image, int x, int y) {
        std::vector<QRgb> colours;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < image.width() && ny < image.height())
                    colours.push_back(image.pixel(nx, ny));
            }
        return colours;
    };
    // Whether colour p is a mix of the ground with inks of `other` around (x, y).
    auto explained = [&](QRgb p, const QImage& other, int x, int y) {
        const QRgb g = ground.pixel(x, y);
        const std::vector<QRgb> inks = neighbours(other, x, y);
        for (std::size_t i = 0; i < inks.size(); ++i)
            for (std::size_t j = i; j < inks.size(); ++j)
                if (offTheMix(p, g, inks[i], inks[j]) <= shade)
                    return true;
        return false;
    };
    auto inkedNearby = [&](const QImage& image, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < image.width() && ny < image.height() &&
                    distance(image.pixel(nx, ny), ground.pixel(nx, ny)) > shade)
                    return true;
            }
        return false;
    };
    long otherInk = 0, missing = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb p = plain.pixel(x, y), q = quick.pixel(x, y), g = ground.pixel(x, y);
            if (distance(p, q) <= shade)
                continue;
            if (!explained(p, quick, x, y) || !explained(q, plain, x, y))
                ++otherInk;
            if ((distance(p, g) > clearInk && !inkedNearby(quick, x, y)) ||
                (distance(q, g) > clearInk && !inkedNearby(plain, x, y)))
                ++missing;
        }
    const double pixels = double(plain.width()) * plain.height();
    return {otherInk / pixels, missing / pixels};
}

// Inked pixels of a picture against its ground, to be sure a frame drew something.
long inked(const QImage& image, const QImage& ground)
{
    long count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += distance(image.pixel(x, y), ground.pixel(x, y)) > 40.0;
    return count;
}

// The plain and the quick picture of a frame and how far they are apart; `ground` draws the frame
// without its entries.
struct Pictures {
    QImage plain, quick, ground;
    Apart apart;
};

Pictures picturesOf(const Frame& frame, const Frame& ground, const Frame& quickFrame = {})
{
    Pictures p;
    p.plain = draw(frame, false);
    p.quick = draw(quickFrame ? quickFrame : frame, true);
    p.ground = draw(ground, false);
    p.apart = compare(p.plain, p.quick, p.ground);
    return p;
}

void expectSamePicture(const Frame& frame, const Frame& ground, const std::string& what)
{
    const Pictures p = picturesOf(frame, ground);
    EXPECT_LT(p.apart.otherInk, 0.005) << what;
    EXPECT_LT(p.apart.missing, 0.001) << what;
    EXPECT_GT(inked(p.quick, p.ground), 2000) << what;
    if (::testing::Test::HasFailure()) {
        p.plain.save(QString::fromStdString("/tmp/nupo-plain-" + what + ".png"));
        p.quick.save(QString::fromStdString("/tmp/nupo-quick-" + what + ".png"));
    }
}

// EEG-like traces (a rhythm, a slower wave and noise) in the recording of CH 1..CH 4, and in datarawF.
void fillRecording(double amplitude = 1.0)
{
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0.0, 12.0);
    maxploop = 20000;
    RecordingBuffers& recording = RecordingBuffers::sharedRecordingBuffers();
    recording.allocate();
    for (int c = 1; c <= 4; ++c)
        for (int i = 0; i < 9000; ++i)
            recording.putIntToBuffer(
                c, i,
                int(amplitude * (30 * std::sin(i * 0.5 / c) + 20 * std::sin(i * 0.013 * c) + noise(random))));
    for (int i = 0; i < 8192; ++i)
        datarawF[i] = int(amplitude * (25 * std::sin(i * 0.3) + noise(random)));
    ploop = 9000;
}

// Spectra with peaks over a falling floor, and peak-hold marks above and below the bars.
void fillSpectra(double amplitude = 1.0)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> jitter(0.0, 1.0);
    for (int c = 0; c < 4; ++c) {
        for (int i = 0; i < 8192; ++i) {
            const double value = 3.0 / (1.0 + i * 0.01) +
                                 4.0 * std::exp(-std::pow((i % 700 - 90 * (c + 1)) / 15.0, 2)) +
                                 jitter(random);
            QXFFT::sharedQXFFT().putcomplexDoubleToBuffer(spectrumBufferOfChannel(c), i,
                                                          {amplitude * value, 0.0});
            peakHold[c][i] = 10.0 * value * (0.6 + 0.8 * jitter(random));
            peakHoldZ[c][i] = 0.0;
        }
        PeakHoldModeZ[c] = 0;
    }
}

}  // namespace

TEST(PlotPictures, RawWaveDrawnQuicklyLooksTheSameInEveryModeAndSize)
{
    GridColorY[0] = 0.3f;
    GridColorY[1] = 0.3f;
    GridColorY[2] = 0.3f;
    GridColorY[3] = 1.0f;
    for (int points : {256, 8192}) {
        fftp = points;
        for (int mode = 0; mode <= 8; ++mode) {
            QXRawwaveGraphView view(viewRect);
            view.setgrid(1);
            view.setgridSlider(10);
            view.setCursorColor(RGBAColor::fromRGBA(1, 0, 0, 1));
            view.setDemoNumber(mode);
            // The ground: flat traces (a line along each centre).
            expectSamePicture(
                [&](GraphicsContext& context) {
                    fillRecording();
                    view.drawRect(context, viewRect);
                },
                [&](GraphicsContext& context) {
                    fillRecording(0.0);
                    view.drawRect(context, viewRect);
                },
                "rawwave-" + std::to_string(mode) + "-" + std::to_string(points));
        }
    }
}

TEST(PlotPictures, BarGraphDrawnQuicklyLooksTheSameInEveryModeAndSize)
{
    ShowPeakHoldX = 1;
    PeakHoldModeX = 2;  // marks where fillSpectra put them; the first frame only sums
    ShowGrid2DBarX = 1;
    GridColorX[0] = 0.2f;
    GridColorX[1] = 0.2f;
    GridColorX[2] = 0.6f;
    GridColorX[3] = 1.0f;
    for (int points : {256, 8192}) {
        fftp = points;
        for (int mode = 0; mode <= 9; ++mode) {
            QX2DBarGraphView view(viewRect);
            view.setBackgroundColor(RGBAColor::fromRGBA(0.867824, 0.759038, 0.869565, 1));
            view.setCursorColor(RGBAColor::fromRGBA(0, 0, 1, 1));
            view.setDemoNumber(mode);
            // Each picture starts from the same marks: one frame of each way, from the same state.
            expectSamePicture(
                [&](GraphicsContext& context) {
                    fillSpectra();
                    ShowPeakHoldX = 1;
                    view.drawRect(context, viewRect);
                },
                [&](GraphicsContext& context) {  // the ground: no bars, no marks
                    fillSpectra(0.0);
                    ShowPeakHoldX = 0;
                    view.drawRect(context, viewRect);
                },
                "bars-" + std::to_string(mode) + "-" + std::to_string(points));
        }
    }
}

// The comparison notices real changes: bars half as tall again, or traces in other colours.
TEST(PlotPictures, TheComparisonSeesChangedPictures)
{
    fftp = 8192;
    ShowPeakHoldX = 0;
    QX2DBarGraphView bars(viewRect);
    bars.setDemoNumber(8);
    const Pictures taller = picturesOf(
        [&](GraphicsContext& context) {
            fillSpectra();
            bars.drawRect(context, viewRect);
        },
        [&](GraphicsContext& context) {
            fillSpectra(0.0);
            bars.drawRect(context, viewRect);
        },
        [&](GraphicsContext& context) {
            fillSpectra(1.5);
            bars.drawRect(context, viewRect);
        });
    EXPECT_GT(taller.apart.missing, 0.005);

    QXRawwaveGraphView traces(viewRect);
    traces.setDemoNumber(6);
    ColourTable kept;
    std::copy(&difmatA[0][0], &difmatA[0][0] + 256 * 4, &kept[0][0]);
    const Pictures recoloured = picturesOf(
        [&](GraphicsContext& context) {
            fillRecording();
            traces.drawRect(context, viewRect);
        },
        [&](GraphicsContext& context) {
            fillRecording(0.0);
            traces.drawRect(context, viewRect);
        },
        [&](GraphicsContext& context) {
            for (int i = 0; i < 256; ++i)  // the table turned a quarter round
                std::copy(kept[(i + 64) % 256], kept[(i + 64) % 256] + 4, difmatA[i]);
            fillRecording();
            traces.drawRect(context, viewRect);
            std::copy(&kept[0][0], &kept[0][0] + 256 * 4, &difmatA[0][0]);
        });
    EXPECT_GT(recoloured.apart.otherInk, 0.01);
}

// The windows paint no background under the graph views, so a frame must cover every pixel of the
// view with opaque paint, also with a see-through background colour and with the grid off.
TEST(PlotPictures, GraphViewsCoverEveryPixel)
{
    fillRecording();
    fillSpectra();
    fftp = 256;
    const auto uncovered = [](QuartzView& view) {
        QImage image(viewRect.size().toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            PainterGraphicsContext context(painter, viewRect.height());
            view.drawRect(context, viewRect);
        }
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += qAlpha(image.pixel(x, y)) != 255;
        return count;
    };
    const RGBAColor seeThrough = RGBAColor::fromRGBA(0.2, 0.4, 0.9, 0.3);
    for (int grid : {0, 1}) {
        QXRawwaveGraphView rawWave(viewRect);
        rawWave.setgrid(grid);
        rawWave.setBackgroundColor(seeThrough);
        EXPECT_EQ(uncovered(rawWave), 0) << "raw wave, grid " << grid;
        ShowGrid2DBarX = grid;
        QX2DBarGraphView bars(viewRect);
        bars.setBackgroundColor(seeThrough);
        EXPECT_EQ(uncovered(bars), 0) << "bar graph, grid " << grid;
    }
}
