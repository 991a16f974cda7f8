// A plot window's value fields as they tick: a new text set and the field painted, the way the
// labels shape and draw their text themselves (last argument 0) and from cached glyphs (1), side by
// side. The fields are painted into an image, so the figures leave out the flush to the screen.
#include <benchmark/benchmark.h>

#include "plots/frame/ui/ValueFieldFrame.h"

#include <QApplication>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QStringList>
#include <QWidget>

using namespace nupo;

namespace {

// Texts like those of the fields while the demo plays: the time, frames per second, a peak value.
QStringList tickTexts(int field)
{
    QStringList texts;
    for (int i = 0; i < 1000; ++i) {
        const int ms = 18708 + i * 33;
        switch (field) {
            case 0:
                texts << QString::asprintf("00:%02d:%02d.%03d", ms / 60000, ms / 1000 % 60, ms % 1000);
                break;
            case 1:
                texts << QString::number(29.5 + (i % 17) * 0.137, 'f', 3);
                break;
            default:
                texts << QString::number(-12.5 + (i % 41) * 0.61, 'f', 1);
        }
    }
    return texts;
}

// field: 0 the time, 1 frames per second, 2 a peak value; cached: 0 the label's own way, 1 cached glyphs.
void ValueFieldTick(benchmark::State& state)
{
    const QStringList texts = tickTexts(static_cast<int>(state.range(0)));
    ValueFieldFrame::setCachedGlyphs(state.range(1) != 0);
    QWidget window;
    auto* grid = new QGridLayout(&window);
    grid->addWidget(new QLabel(QStringLiteral("Time")), 0, 0);
    auto* field = new QLabel(QStringLiteral("0"));
    grid->addWidget(field, 0, 1);
    window.show();
    QApplication::processEvents();
    ValueFieldFrame::setText(field, QStringLiteral("00:00:00.000"));
    QApplication::processEvents();
    QImage image(field->size(), QImage::Format_ARGB32_Premultiplied);
    qsizetype next = 0;
    for (auto _ : state) {
        ValueFieldFrame::setText(field, texts[next]);
        next = (next + 1) % texts.size();
        image.fill(Qt::white);
        field->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    }
    ValueFieldFrame::setCachedGlyphs(true);
}
BENCHMARK(ValueFieldTick)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
