#pragma once

#include "platform/appkit/ui/GlyphCache.h"

#include <QPointer>
#include <QSize>
#include <QStyle>
#include <QWidget>

class QLabel;

namespace nupo {

// Holds a value field (a label whose text changes every tick) in its layout cell, so that a new text
// repaints the field alone instead of relaying out the whole window: the label fills the frame at a
// fixed size (a widget whose smallest and largest sizes are equal does not invalidate its parent's
// layout), and the frame stands in the layout with the label's size hint. That hint is the largest the
// label has asked for so far: it grows (and the window is laid out again) only when a text needs more
// room, so no text is ever clipped. The label keeps its name and stays below the same window.
//
// New texts are measured and the label is painted from the font's cached glyphs (no shaping of the
// text each time): the frame paints a plain one-line text label itself, as the label would, and leaves
// anything else (rich text, wrapping, a character or pair the cache does not place, a text larger
// than the field, a style that draws text its own way) to the label.
class ValueFieldFrame : public QWidget {
public:
    // Shows text in field. A label in a layout is first moved into a frame in its place (once); other
    // fields just take the text.
    static void setText(QObject* field, const QString& text);

    // Whether the frames measure and paint with cached glyphs (the default) or leave both to the
    // label's own text layout (kept to compare against).
    static void setCachedGlyphs(bool on);
    static bool cachedGlyphs();

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
    // The advance of the label's text, as its text layout measures it.
    qreal textAdvance() const;
    // Paints the label's text from cached glyphs as the label would; false when the label should.
    bool paintLabel();
    bool styleDrawsPlainText();

    QLabel& label;
    GlyphCache::Line line;  // kept to reuse its storage
    QPointer<QStyle> checkedStyle;
    bool plainTextStyle = false;  // of checkedStyle
    QSize hint;
    QSize minimumHint;
    qreal widestAdvance = 0.0;  // of the widest text whose hints were taken
};

}  // namespace nupo
