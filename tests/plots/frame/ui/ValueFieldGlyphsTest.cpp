#include <gtest/gtest.h>

#include "platform/appkit/ui/GlyphCache.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "plots/frame/ui/ValueFieldFrame.h"
#include "plots/rawwave/ui/QXRawwaveGraphController.h"
#include "shared/AnalysisState.h"
#include "shared/CoreState.h"
#include "support/EventCounter.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QTextLayout>
#include <QWidget>

#include <functional>
#include <memory>

using namespace nupo;

namespace {

const char* const valueTexts[] = {
    "00:00:18.708", "31.244", "-12.5", "0.000",       "Frames/s",          "8192",
    "120",          "100.0",  "1e-05", "Peak-peak L", "Amplitude span (s)"};

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Counts the paints that reach a label past its frame: installed before the frame's filter, it sees
// only what the frame leaves to the label.
struct LabelPaints : EventCounter {
    explicit LabelPaints(QLabel& label) : EventCounter(label, QEvent::Paint) {}
};

// The label as painted with cached glyphs and as it paints itself (on an opaque background).
struct BothWays {
    QImage cached;
    QImage own;
};

QImage rendered(QLabel& label)
{
    QImage image(label.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(250, 240, 230));
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

BothWays renderBothWays(QLabel& label)
{
    BothWays both;
    both.cached = rendered(label);
    ValueFieldFrame::setCachedGlyphs(false);
    both.own = rendered(label);
    ValueFieldFrame::setCachedGlyphs(true);
    return both;
}

// Pixels that differ between two images of the same size.
int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

int inkPixels(const QImage& image)
{
    const QRgb background = QColor(250, 240, 230).rgb();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != background;
    return count;
}

// One value field in a grid cell, as the plot windows hold them; the paint counter comes first.
struct Field {
    QWidget window;
    QLabel* label;
    std::unique_ptr<LabelPaints> paints;
    explicit Field(const QFont& font, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter,
                   const std::function<void(QLabel&)>& setUp = {})
    {
        auto* grid = new QGridLayout(&window);
        grid->addWidget(new QLabel(QStringLiteral("Name")), 0, 0);
        label = new QLabel(QStringLiteral("0"));
        label->setFont(font);
        label->setAlignment(align);
        if (setUp)
            setUp(*label);
        grid->addWidget(label, 0, 1);
        paints = std::make_unique<LabelPaints>(*label);
        ValueFieldFrame::setText(label, QStringLiteral("0000000000000000000"));  // room for all texts
        window.show();
        settle();
    }
};

QFont fontOf(int pointSize, bool bold)
{
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace

TEST(ValueFieldGlyphs, CachedGlyphsPaintExactlyAsTheLabel)
{
    const QFont fonts[] = {QApplication::font(), fontOf(11, true), fontOf(9, false),
                           QFontDatabase::systemFont(QFontDatabase::FixedFont)};
    const Qt::Alignment aligns[] = {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
                                    Qt::AlignHCenter | Qt::AlignTop, Qt::AlignLeft | Qt::AlignBottom,
                                    Qt::AlignCenter};
    for (const QFont& font : fonts)
        for (Qt::Alignment align : aligns) {
            Field field(font, align);
            for (const char* text : valueTexts) {
                const QString shown = QString::fromLatin1(text);
                ValueFieldFrame::setText(field.label, shown);
                const int before = field.paints->count;
                const BothWays both = renderBothWays(*field.label);
                SCOPED_TRACE(font.toString().toStdString() + " align " + std::to_string(align) + " " + text);
                EXPECT_EQ(field.paints->count, before + 1);  // only the label's own paint reached it
                EXPECT_EQ(differingPixels(both.cached, both.own), 0);
                EXPECT_GT(inkPixels(both.cached), 10);
            }
        }
}

TEST(ValueFieldGlyphs, MarginIndentFrameAndStateAsTheLabel)
{
    auto check = [](Field& field, const char* what) {
        for (const char* text : {"31.244", "-12.5", "00:00:18.708"}) {
            ValueFieldFrame::setText(field.label, QString::fromLatin1(text));
            const int before = field.paints->count;
            const BothWays both = renderBothWays(*field.label);
            SCOPED_TRACE(std::string(what) + " " + text);
            EXPECT_EQ(field.paints->count, before + 1);
            EXPECT_EQ(differingPixels(both.cached, both.own), 0);
            EXPECT_GT(inkPixels(both.cached), 10);
        }
    };
    const QFont font = QApplication::font();
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    Field margin(font, left, [](QLabel& label) { label.setMargin(3); });
    check(margin, "margin");
    Field indent(font, right, [](QLabel& label) { label.setIndent(7); });
    check(indent, "indent right");
    Field box(font, right, [](QLabel& label) {
        label.setFrameStyle(QFrame::Box | QFrame::Plain);
        label.setLineWidth(2);
    });
    check(box, "framed, half an x indent");
    Field panel(font, left, [](QLabel& label) { label.setFrameStyle(QFrame::Panel | QFrame::Sunken); });
    check(panel, "sunken panel");

    // An own palette gives its colour, a disabled label the disabled one.
    Field coloured(font, left, [](QLabel& label) {
        QPalette palette = label.palette();
        palette.setColor(QPalette::Active, QPalette::WindowText, QColor(200, 20, 20));
        palette.setColor(QPalette::Inactive, QPalette::WindowText, QColor(200, 20, 20));
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(20, 180, 20));
        label.setPalette(palette);
    });
    check(coloured, "red");
    auto hasInk = [](const QImage& image, QColor colour) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (QColor(image.pixel(x, y)) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasInk(renderBothWays(*coloured.label).cached, QColor(200, 20, 20)));
    coloured.label->setEnabled(false);
    check(coloured, "disabled");
    const QImage disabled = renderBothWays(*coloured.label).cached;
    EXPECT_TRUE(hasInk(disabled, QColor(20, 180, 20)));
    EXPECT_FALSE(hasInk(disabled, QColor(200, 20, 20)));
}

TEST(ValueFieldGlyphs, UnusualLabelsPaintThemselves)
{
    Field field(QApplication::font());
    QLabel& label = *field.label;
    auto paintsItself = [&](const QString& text) {
        ValueFieldFrame::setText(&label, text);
        const int before = field.paints->count;
        const BothWays both = renderBothWays(label);
        EXPECT_EQ(field.paints->count, before + 2) << text.toStdString();
        EXPECT_EQ(differingPixels(both.cached, both.own), 0) << text.toStdString();
    };
    paintsItself(QStringLiteral("<b>12.5</b>"));
    paintsItself(QStringLiteral("12\t5"));
    paintsItself(QString::fromUtf8("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d 3"));  // right to left
    label.setWordWrap(true);
    paintsItself(QStringLiteral("31.244"));
    label.setWordWrap(false);

    // Wider than the field (in a window that cannot grow): the label clips it as it always did.
    Field narrow(QApplication::font());
    narrow.window.setFixedSize(90, 40);
    ValueFieldFrame::setText(narrow.label, QStringLiteral("00:00:18.708"));
    settle();
    ASSERT_LT(narrow.label->width(),
              QFontMetrics(narrow.label->font()).horizontalAdvance(narrow.label->text()));
    const int before = narrow.paints->count;
    const BothWays both = renderBothWays(*narrow.label);
    EXPECT_EQ(narrow.paints->count, before + 2);
    EXPECT_EQ(differingPixels(both.cached, both.own), 0);
    EXPECT_GT(inkPixels(both.cached), 10);
}

TEST(ValueFieldGlyphs, CacheGivesWhatTheTextLayoutGives)
{
    for (const QFont& font : {QApplication::font(), fontOf(14, true)}) {
        GlyphCache& cache = GlyphCache::of(font, nullptr);
        EXPECT_EQ(&GlyphCache::of(font, nullptr), &cache);
        const QFontMetricsF metrics(font);
        int laidOut = 0;
        for (const char* text : {"00:00:18.708", "31.244", "-12.5", "Frames/s", "AVATAR", "Toffee fi",
                                 "WAVY Ty.", "iiii", "MMMM", "1,5 %"}) {
            const QString shown = QString::fromLatin1(text);
            SCOPED_TRACE(text);
            EXPECT_DOUBLE_EQ(cache.advance(shown), metrics.horizontalAdvance(shown));
            GlyphCache::Line line;
            if (!cache.layOut(shown, line))
                continue;  // a pair kerns or joins in this font
            ++laidOut;
            QTextLayout layout(shown, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            ASSERT_EQ(runs.size(), 1);
            EXPECT_EQ(line.glyphs, runs[0].glyphIndexes());
            QList<QPointF> positions = runs[0].positions();
            const QPointF baseline(0.0, positions[0].y());  // the cache puts it at 0
            for (QPointF& p : positions)
                p -= baseline;
            EXPECT_EQ(line.positions, positions);
            EXPECT_DOUBLE_EQ(line.width, metrics.horizontalAdvance(shown));
        }
        EXPECT_GE(laidOut, 4);  // the numbers at least
    }
    GlyphCache::Line line;
    EXPECT_FALSE(GlyphCache::of(QApplication::font(), nullptr).layOut(QStringLiteral("a\tb"), line));
}

TEST(ValueFieldGlyphs, WiderTextOfFewerCharactersGrowsTheField)
{
    Field field(QApplication::font());
    QLabel& label = *field.label;
    QWidget* frame = label.parentWidget();
    const QString narrow(40, QLatin1Char('i'));
    const QString wide(30, QLatin1Char('W'));
    ASSERT_GT(label.fontMetrics().horizontalAdvance(wide), label.fontMetrics().horizontalAdvance(narrow));
    ValueFieldFrame::setText(&label, narrow);
    settle();
    const int narrowHint = frame->sizeHint().width();
    ValueFieldFrame::setText(&label, wide);
    settle();
    EXPECT_GT(frame->sizeHint().width(), narrowHint);
    EXPECT_GE(frame->sizeHint().width(), label.sizeHint().width());
    EXPECT_GE(label.width(), label.sizeHint().width());
}

TEST(ValueFieldGlyphs, PlotWindowFieldsPaintAsTheirLabels)
{
    DeviceConfig = 3;
    SampleSpeed = 120;
    fftp = 256;
    auto* c =
        dynamic_cast<QXRawwaveGraphController*>(NibLoader::loadNibNamed(QStringLiteral("QXRawwaveGraph")));
    ASSERT_NE(c, nullptr);
    c->tickTimer().stop();
    QWidget* window = c->windowWidget();
    WindowHandle(window).makeKeyAndOrderFront();
    ploop = 2245;
    FPSXXRawwave = 31.244 * OpenRawwave;
    ARawwavePP = 12.5;
    c->timerUpdate();
    settle();
    int compared = 0;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->objectName().startsWith(QStringLiteral("displayHere")) || !label->isVisible() ||
            label->text().isEmpty())
            continue;
        SCOPED_TRACE(label->objectName().toStdString() + " " + label->text().toStdString());
        const BothWays both = renderBothWays(*label);
        EXPECT_EQ(differingPixels(both.cached, both.own), 0);
        EXPECT_GT(inkPixels(both.cached), 5);
        ++compared;
    }
    EXPECT_GE(compared, 5);
    WindowHandle(window).close();
}
