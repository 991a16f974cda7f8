#include "views3d/textures/gl/AttributedString.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

namespace nupo {

namespace {

QColor toQColor(const RGBAColor& c)
{
    const RGBAColor k = c.clamped();
    return QColor::fromRgbF(k.red, k.green, k.blue, k.alpha);
}

// A document laid out without wrapping, without margins, one block per line.
std::unique_ptr<QTextDocument> layOut(const std::vector<AttributedString::Run>& runs)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDocumentMargin(0);
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document.get());
    for (const auto& [text, attributes] : runs) {
        QTextCharFormat format;
        format.setFont(attributes.font);
        if (attributes.foregroundColor)
            format.setForeground(toQColor(*attributes.foregroundColor));
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock(QTextBlockFormat(), format);
            cursor.insertText(lines[i], format);
        }
    }
    document->setTextWidth(-1);
    return document;
}

}  // namespace

TextAttributes TextAttributes::withFont(const QString& family, int pixelSize, bool bold,
                                        std::optional<RGBAColor> colour)
{
    TextAttributes attributes;
    attributes.font = QFont(family);
    attributes.font.setPixelSize(pixelSize);
    attributes.font.setBold(bold);
    attributes.foregroundColor = colour;
    return attributes;
}

AttributedString::AttributedString(const QString& text, const TextAttributes& attributes)
{
    append(text, attributes);
}

void AttributedString::append(const QString& text, const TextAttributes& attributes)
{
    runs_.push_back({text, attributes});
}

QString AttributedString::string() const
{
    QString text;
    for (const Run& run : runs_)
        text += run.text;
    return text;
}

QSizeF AttributedString::size() const
{
    if (runs_.empty())
        return {};
    const auto document = layOut(runs_);
    return QSizeF(document->idealWidth(), document->size().height());
}

void AttributedString::draw(QPainter& painter, const QPointF& topLeft, const RGBAColor& colour) const
{
    if (runs_.empty())
        return;
    const auto document = layOut(runs_);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, toQColor(colour));
    painter.save();
    painter.translate(topLeft);
    document->documentLayout()->draw(&painter, context);
    painter.restore();
}

}  // namespace nupo
