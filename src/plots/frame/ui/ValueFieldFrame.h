#pragma once

#include <QSize>
#include <QWidget>

class QLabel;

namespace nupo {

// Holds a value field (a label whose text changes every tick) in its layout cell, so that a new text
// repaints the field alone instead of relaying out the whole window: the label fills the frame at a
// fixed size (a widget whose smallest and largest sizes are equal does not invalidate its parent's
// layout), and the frame stands in the layout with the label's size hint. That hint is the largest the
// label has asked for so far: it grows (and the window is laid out again) only when a text needs more
// room, so no text is ever clipped. The label keeps its name and stays below the same window.
class ValueFieldFrame : public QWidget {
public:
    // Shows text in field. A label in a layout is first moved into a frame in its place (once); other
    // fields just take the text.
    static void setText(QObject* field, const QString& text);

    QSize sizeHint() const override { return hint; }
    QSize minimumSizeHint() const override { return minimumHint; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Shows and hides the frame with its label, so that a hidden field leaves its cell empty as before.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ValueFieldFrame(QLabel& label);
    static ValueFieldFrame* holding(QLabel& label);
    // Takes the label's hints for its present text, growing the frame's when they are larger. The
    // label's hints lay the text out three times, so they are asked only for a text wider than any
    // before (its advance, one shaping, says so).
    void takeLabelHints();

    QLabel& label;
    QSize hint;
    QSize minimumHint;
    qreal widestAdvance = 0.0;  // of the widest text whose hints were taken
};

}  // namespace nupo
