#include "plots/frame/ui/ValueFieldFrame.h"

#include "plots/frame/ui/PlotControls.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLayout>
#include <QLayoutItem>

#include <memory>

namespace nupo {

ValueFieldFrame::ValueFieldFrame(QLabel& label) : label(label)
{
    setSizePolicy(label.sizePolicy());
    hint = label.sizeHint();
    minimumHint = label.minimumSizeHint();
    widestAdvance = QFontMetricsF(label.font()).horizontalAdvance(label.text());
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
    frame->setGeometry(label.geometry());
    label.setParent(frame);
    label.setFixedSize(label.size());
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

void ValueFieldFrame::takeLabelHints()
{
    const qreal advance = QFontMetricsF(label.font()).horizontalAdvance(label.text());
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

bool ValueFieldFrame::eventFilter(QObject* watched, QEvent* event)
{
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
