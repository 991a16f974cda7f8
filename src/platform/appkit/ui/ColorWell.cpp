#include "platform/appkit/ui/ColorWell.h"

#include <QColorDialog>
#include <QPainter>

namespace nupo {

namespace {

QColor toQColor(const RGBAColor& c)
{
    return QColor::fromRgbF(c.red, c.green, c.blue, c.alpha);
}

}  // namespace

ColorWell::ColorWell(QWidget* parent) : QPushButton(parent)
{
    setMinimumSize(44, 24);
    connect(this, &QPushButton::clicked, this, &ColorWell::openColorDialog);
}

void ColorWell::setColor(const RGBAColor& color)
{
    color_ = color.clamped();
    update();
}

void ColorWell::openColorDialog()
{
    if (dialog_) {
        dialog_->raise();
        return;
    }
    dialog_ = new QColorDialog(toQColor(color_), this);
    dialog_->setOption(QColorDialog::ShowAlphaChannel);
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog_, &QColorDialog::colorSelected, this, &ColorWell::takeColor);
    dialog_->open();
}

void ColorWell::takeColor(const QColor& color)
{
    setColor(RGBAColor::fromRGBA(color.redF(), color.greenF(), color.blueF(), color.alphaF()));
    emit colorPicked();
}

void ColorWell::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(6, 5, -6, -5);
    // A checkerboard under the swatch shows how transparent the colour is.
    painter.fillRect(swatch, QBrush(Qt::white));
    const int cell = 4;
    for (int y = swatch.top(); y <= swatch.bottom(); y += cell) {
        for (int x = swatch.left() + ((y - swatch.top()) / cell % 2) * cell; x <= swatch.right();
             x += 2 * cell)
            painter.fillRect(QRect(x, y, cell, cell).intersected(swatch), Qt::lightGray);
    }
    painter.fillRect(swatch, toQColor(color_));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

}  // namespace nupo
