// Runs once per screen size (see CMakeLists.txt): the raw-wave and bar-graph windows in their view modes,
// Movie Properties and Sound Properties, as they open. Every caption names a control shown beside it, no
// caption stands twice in a window, and every text is whole on the window's picture, clear of its edges.
#include <gtest/gtest.h>

#include "QXDrawerSound/movie/QXMovieController.h"
#include "QXDrawerSound/movie/ui/QXMovieWindowController.h"
#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/ui/QXSoundWindowController.h"
#include "platform/appkit/ui/NibLoader.h"
#include "plots/bargraph/ui/QX2DBarGraphController.h"
#include "plots/rawwave/ui/QXRawwaveGraphController.h"
#include "shared/CoreState.h"
#include "shared/Utilities.h"
#include "support/TestMedia.h"
#include "support/TestSupport.h"

#include "PlacementTestSupport.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QRegion>
#include <QStyle>

#include <map>

using namespace nupo;

namespace {

// Keeps this far from the edges of its window (or of the sheet it scrolls on).
constexpr int edgeMargin = 4;

QString named(const QLabel* label)
{
    return QStringLiteral("%1 \"%2\"").arg(label->objectName(), label->text());
}

QList<QLabel*> shownLabels(QWidget* window)
{
    QList<QLabel*> labels;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->isVisibleTo(window) && label->window() == window && !label->text().trimmed().isEmpty())
            labels.append(label);
    return labels;
}

// What a label's edges are measured against: the sheet it scrolls on, else its window.
const QWidget* sheetOf(QWidget* widget)
{
    QWidget* below = widget;
    for (QWidget* up = widget->parentWidget(); up != nullptr && !up->isWindow(); up = up->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(up->parentWidget());
            area && area->viewport() == up)
            return below;
        below = up;
    }
    return widget->window();
}

QRect rectIn(const QWidget* widget, const QWidget* ancestor)
{
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

// The horizontal extent of what differs from the label's background in the window's picture.
std::pair<int, int> inkColumns(const QImage& picture, const QRect& area)
{
    const QRect r = area.intersected(picture.rect());
    std::map<QRgb, int> counts;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb background = 0;
    int most = -1;
    for (const auto& [colour, count] : counts)
        if (count > most)
            std::tie(background, most) = std::tie(colour, count);
    int first = -1;
    int last = -1;
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (const QRgb p = picture.pixel(x, y); std::abs(qGray(p) - qGray(background)) > 60) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

// What is wrong with the window's captions, one line each.
QStringList labelProblems(QWidget* window)
{
    QStringList problems;
    const QList<QLabel*> labels = shownLabels(window);
    QList<const QWidget*> fields;  // what captions name: controls, and labels that show values
    for (const QLabel* label : labels)
        if (label->buddy())
            fields.append(label->buddy());
    std::map<QString, const QLabel*> captions;
    const QImage picture = window->grab().toImage();
    const qreal ratio = picture.devicePixelRatio();
    for (QLabel* label : labels) {
        const QWidget* buddy = label->buddy();
        if (buddy == nullptr && !fields.contains(label)) {
            problems << named(label) + " names no control";
        } else if (buddy != nullptr) {
            if (!buddy->isVisibleTo(window)) {
                problems << named(label) + " names " + buddy->objectName() + ", which is hidden";
            } else {
                // Beside it: on its row further right, or above or below it (a caption under a picture).
                const QRect l = rectIn(label, window);
                const QRect b = rectIn(buddy, window);
                const bool onRow = b.top() < l.bottom() && b.bottom() > l.top() && b.left() >= l.left();
                const bool inColumn = b.left() < l.right() && b.right() > l.left();
                if (!onRow && !inColumn)
                    problems << named(label) + " stands apart from " + buddy->objectName();
            }
        }
        if (!fields.contains(label))
            if (const auto [at, added] = captions.emplace(label->text(), label); !added)
                problems << named(label) + " stands twice, also as " + at->second->objectName();
        if (!label->wordWrap() && label->width() < label->minimumSizeHint().width())
            problems << QStringLiteral("%1 is cut: %2 of %3 px")
                            .arg(named(label))
                            .arg(label->width())
                            .arg(label->minimumSizeHint().width());
        // The text clear of the window's left edge, and of the right edge of the window or of the sheet it
        // scrolls on.
        const QRect text = label->style()->itemTextRect(label->fontMetrics(), label->contentsRect(),
                                                        int(label->alignment()), true, label->text());
        const QWidget* sheet = sheetOf(label);
        const int left = label->mapTo(window, text.topLeft()).x();
        const int right = label->mapTo(sheet, text.topRight()).x();
        if (left < edgeMargin || right > sheet->width() - 1 - edgeMargin)
            problems << QStringLiteral("%1 touches the edge of %2 (%3 .. %4 of %5 px)")
                            .arg(named(label), sheet->objectName())
                            .arg(label->mapTo(sheet, text.topLeft()).x())
                            .arg(right)
                            .arg(sheet->width());
        // On the picture, the text is drawn whole: its ink spans about the text's width. (Text scrolled out
        // of sight is not on the picture.)
        const QRect inPicture(rectIn(label, window).topLeft() * ratio, label->size() * ratio);
        const bool inSight = sheet == window || label->visibleRegion() == QRegion(label->rect());
        if (inSight && !label->wordWrap() && label->textFormat() != Qt::RichText) {
            const auto [first, last] = inkColumns(picture, inPicture);
            const int advance = label->fontMetrics().horizontalAdvance(label->text().trimmed()) * ratio;
            if (first < 0 || last - first + 1 < advance * 8 / 10)
                problems << QStringLiteral("%1 shows %2 of %3 px of its text")
                                .arg(named(label))
                                .arg(first < 0 ? 0 : last - first + 1)
                                .arg(advance);
        }
    }
    return problems;
}

void keepPicture(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("NUPO_LABEL_PICTURES");
    if (folder.isEmpty())
        return;
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QDir().mkpath(folder);
    window->grab().save(
        QStringLiteral("%1/%2-%3x%4.png").arg(folder, name).arg(screen.width()).arg(screen.height()));
}

void expectWholeLabels(QWidget* window, const QString& name)
{
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(test::processEventsUntil([&] { return window->isVisible(); })) << name.toStdString();
    QCoreApplication::processEvents();
    keepPicture(window, name);
    const QStringList problems = labelProblems(window);
    EXPECT_TRUE(problems.isEmpty()) << name.toStdString() << " (" << test::described(window).toStdString()
                                    << "):\n  " << problems.join(QStringLiteral("\n  ")).toStdString();
}

// A properties panel opens whole on the screen, besides its labels being whole.
void expectWholePanel(QWidget* panel, const QString& name)
{
    expectWholeLabels(panel, name);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(WindowPlacement::availableArea(panel).contains(WindowPlacement::frameOf(panel)))
        << name.toStdString() << " (" << test::described(panel).toStdString() << ") leaves the screen";
}

QWidget* propertiesPanelOf(QWidget* window, const QString& title)
{
    for (QWidget* child : window->findChildren<QWidget*>())
        if (child->isWindow() && child->isVisible() && child->windowTitle() == title)
            return child;
    return nullptr;
}

TEST(Labels, EveryCaptionNamesAControlBesideItAndStaysWhole)
{
    SCOPED_TRACE(test::screenSize());
    DeviceConfig = 2;
    // The plot windows in each view mode: with two channels the level cursor lies above and below each
    // trace's middle, with one it rises from the bottom, each on a slider of its own.
    for (const char* nib : {"QXRawwaveGraph", "QX2DBarGraph"}) {
        auto* controller =
            dynamic_cast<PlotWindowController*>(NibLoader::loadNibNamed(QString::fromLatin1(nib)));
        ASSERT_NE(controller, nullptr) << nib;
        QWidget* window = controller->windowWidget();
        // Once the window ticks (its fields show the sampling rate), the view mode is chosen as a user does.
        auto* rate = window->findChild<QLabel*>(QStringLiteral("displayHereSampleSpeed"));
        ASSERT_NE(rate, nullptr);
        ASSERT_TRUE(test::processEventsUntil([&] { return rate->text() != QLatin1String("0"); })) << nib;
        auto* modes = window->findChild<QComboBox*>(QStringLiteral("popup"));
        ASSERT_NE(modes, nullptr);
        for (int mode = 0; mode < modes->count(); ++mode) {
            if (modes->itemText(mode).startsWith(QLatin1Char('-')))
                continue;  // no mode for this number of channels
            modes->setCurrentIndex(mode);
            controller->select(modes);
            expectWholeLabels(window, QStringLiteral("%1-mode%2").arg(QLatin1String(nib)).arg(mode));
        }
        window->close();
    }

    MediaPlayer::Options quiet;
    quiet.audioOutput = false;
    QXSoundController::setMediaOptions(quiet);
    QXSoundWindowController* slot = openSoundBank({test::writeTone(QStringLiteral("labels.wav"), 1.0)});
    ASSERT_NE(slot, nullptr);
    slot->movieProperties(nullptr);
    expectWholePanel(propertiesPanelOf(slot->nibWindow(), QStringLiteral("Sound Properties")),
                     QStringLiteral("SoundProperties"));

    QString why;
    const QString movie = test::makeCounterMovie(QStringLiteral("labels.mp4"), 12, 10, &why);
    if (movie.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QXMovieController::setMediaOptions(quiet);
    NSStringToC(movie);
    auto* player =
        dynamic_cast<QXMovieWindowController*>(NibLoader::loadNibNamed(QStringLiteral("QXDrawerMovie")));
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(test::processEventsUntil([&] { return !player->isOpening(); }));
    player->movieProperties(nullptr);
    expectWholePanel(propertiesPanelOf(player->nibWindow(), QStringLiteral("Movie Properties")),
                     QStringLiteral("MovieProperties"));
}

}  // namespace
