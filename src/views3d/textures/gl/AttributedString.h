#pragma once

#include "platform/colour/RGBAColor.h"

#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace nupo {

// Text attributes of a run: its font and, optionally, its own colour.
struct TextAttributes {
    QFont font;
    std::optional<RGBAColor> foregroundColor;

    // A font of the family at a size in pixels (a point of the original screens).
    static TextAttributes withFont(const QString& family, int pixelSize, bool bold = false,
                                   std::optional<RGBAColor> colour = std::nullopt);

    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

// Styled text: runs of text, each with its attributes; "\n" starts a new line.
class AttributedString {
public:
    struct Run {
        QString text;
        TextAttributes attributes;

        friend bool operator==(const Run&, const Run&) = default;
    };

    AttributedString() = default;
    AttributedString(const QString& text, const TextAttributes& attributes);

    void append(const QString& text, const TextAttributes& attributes);
    QString string() const;
    bool isEmpty() const { return runs_.empty(); }

    // Size the text takes when drawn.
    QSizeF size() const;
    // Draws the text with its top left at topLeft; runs without a colour of their own take colour.
    void draw(QPainter& painter, const QPointF& topLeft, const RGBAColor& colour) const;

    friend bool operator==(const AttributedString&, const AttributedString&) = default;

private:
    std::vector<Run> runs_;
};

}  // namespace nupo
