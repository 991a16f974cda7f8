#include "plots/frame/ui/ValueFieldFrame.h"

#include "plots/frame/ui/PlotControls.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QLabel>
#include <QLayout>
#include <QLayoutItem>
#include <QPainter>

#include <cstring>
#include <memory>

namespace nupo {

namespace {

bool glyphsCached = true;

// Reaches the frame drawing a label does first in its paint.
struct LabelFrameDrawing : QLabel {
    using QFrame::drawFrame;
};

}  // namespace

void ValueFieldFrame::setCachedGlyphs(bool on)
{
    glyphsCached = on;
}

bool ValueFieldFrame::cachedGlyphs()
{
    return glyphsCached;
}

ValueFieldFrame::ValueFieldFrame(QLabel& label) : label(label)
{
    setSizePolicy(label.sizePolicy());
    hint = label.sizeHint();
    minimumHint = label.minimumSizeHint();
    widestAdvance = textAdvance();
}

ValueFieldFrame* ValueFieldFrame::holding(QLabel& label)
{
    if (auto* frame = dynamic_cast<ValueFieldFrame*>(label.parentWidget()))
        return frame;
    QWidget* parent = label.parentWidget();
    QLayout* layout = parent ? parent->layout() : nullptr;
    if (!layout)
        return nullptr;
    auto* frame = new ValueFieldFrame(label);
    const std::unique_ptr<QLayoutItem> replaced(layout->replaceWidget(&label, frame));
    if (!replaced) {
        delete frame;
        return nullptr;
    }
    const bool hidden =
        label.testAttribute(Qt::WA_WState_ExplicitShowHide) && label.testAttribute(Qt::WA_WState_Hidden);
    frame->setObjectName(label.objectName() + QStringLiteral("Frame"));
    // A label not laid out yet (its window not shown) has the default size of a new widget, not its own.
    const QRect place =
        label.testAttribute(Qt::WA_Resized) ? label.geometry() : QRect(label.pos(), frame->hint);
    frame->setGeometry(place);
    label.setParent(frame);
    label.setFixedSize(place.size());
    label.move(0, 0);
    label.setVisible(!hidden);
    frame->setVisible(!hidden);
    label.installEventFilter(frame);
    return frame;
}

void ValueFieldFrame::setText(QObject* field, const QString& text)
{
    auto* label = qobject_cast<QLabel*>(field);
    if (!label || label->text() == text) {
        PlotControls::setText(field, text);
        return;
    }
    ValueFieldFrame* frame = holding(*label);
    PlotControls::setText(label, text);
    if (frame)
        frame->takeLabelHints();
}

qreal ValueFieldFrame::textAdvance() const
{
    if (glyphsCached)
        return GlyphCache::of(label.font(), &label).advance(label.text());
    return QFontMetricsF(label.font(), &label).horizontalAdvance(label.text());
}

void ValueFieldFrame::takeLabelHints()
{
    const qreal advance = textAdvance();
    if (advance <= widestAdvance)
        return;
    widestAdvance = advance;
    const QSize wanted = hint.expandedTo(label.sizeHint());
    const QSize wantedMinimum = minimumHint.expandedTo(label.minimumSizeHint());
    if (wanted == hint && wantedMinimum == minimumHint)
        return;
    hint = wanted;
    minimumHint = wantedMinimum;
    updateGeometry();
}

bool ValueFieldFrame::styleDrawsPlainText()
{
    QStyle* style = label.style();
    if (style != checkedStyle) {
        // Fusion draws a label's text in the palette's text colour of the label's state and nothing
        // more; a style sheet or another style may draw it otherwise.
        checkedStyle = style;
        plainTextStyle = style && std::strcmp(style->metaObject()->className(), "QFusionStyle") == 0;
    }
    return plainTextStyle;
}

bool ValueFieldFrame::paintLabel()
{
    const QString text = label.text();
    if (text.isEmpty() || label.wordWrap() || label.buddy() || label.movie() ||
        (label.textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard)) ||
        label.textFormat() == Qt::RichText || label.textFormat() == Qt::MarkdownText ||
        (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(text)) || !styleDrawsPlainText())
        return false;
    const int align = QStyle::visualAlignment(Qt::LeftToRight, label.alignment());
    if (align & Qt::AlignJustify)
        return false;
    GlyphCache& glyphs = GlyphCache::of(label.font(), &label);
    if (!glyphs.layOut(text, line))
        return false;

    // The text's rectangle: the contents less the margin, and the indent on the aligned side (half an
    // x when a framed label sets none).
    const int margin = label.margin();
    QRect r = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    int indent = label.indent();
    if (indent < 0 && label.frameWidth())
        indent = label.fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin;
    if (indent > 0) {
        if (align & Qt::AlignLeft)
            r.setLeft(r.left() + indent);
        if (align & Qt::AlignRight)
            r.setRight(r.right() - indent);
        if (align & Qt::AlignTop)
            r.setTop(r.top() + indent);
        if (align & Qt::AlignBottom)
            r.setBottom(r.bottom() - indent);
    }
    const QFontMetricsF& metrics = glyphs.metrics();
    const qreal height = metrics.ascent() + metrics.descent();
    if (line.width > r.width() || height > r.height())
        return false;  // clipped: the label knows how
    qreal x = 0.0;
    qreal y = 0.0;
    if (align & Qt::AlignRight)
        x = r.width() - line.width;
    else if (align & Qt::AlignHCenter)
        x = (r.width() - line.width) / 2;
    if (align & Qt::AlignBottom)
        y = r.height() - height;
    else if (align & Qt::AlignVCenter)
        y = (r.height() - height) / 2;

    QPainter painter(&label);
    if (label.frameShape() != QFrame::NoFrame)
        (label.*(&LabelFrameDrawing::drawFrame))(&painter);
    painter.setPen(QPen(label.palette().brush(label.foregroundRole()), 1.0));
    QGlyphRun run;
    run.setRawFont(glyphs.rawFont());
    run.setGlyphIndexes(line.glyphs);
    run.setPositions(line.positions);
    painter.drawGlyphRun(QPointF(r.x() + x, r.y() + y + metrics.ascent()), run);
    return true;
}

bool ValueFieldFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &label && event->type() == QEvent::Paint && glyphsCached && paintLabel())
        return true;
    if (watched == &label && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        setVisible(event->type() == QEvent::ShowToParent);
    return QWidget::eventFilter(watched, event);
}

void ValueFieldFrame::resizeEvent(QResizeEvent* event)
{
    label.setFixedSize(size());
    QWidget::resizeEvent(event);
}

}  // namespace nupo
