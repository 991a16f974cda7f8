#pragma once

#include "platform/colour/RGBAColor.h"

#include <QColorDialog>
#include <QPointer>
#include <QPushButton>

namespace nupo {

// A colour well: a button showing a colour swatch. Clicking it opens a colour dialog (with alpha);
// choosing a colour there sets the well and emits colorPicked, which sends the well's action. In a
// nib, promote a QPushButton to `nupo::ColorWell`.
class ColorWell : public QPushButton {
    Q_OBJECT
public:
    explicit ColorWell(QWidget* parent = nullptr);

    RGBAColor color() const { return color_; }
    // Sets the shown colour (clamped to 0..1); sends no action.
    void setColor(const RGBAColor& color);

    // The dialog while it is open (for tests and for closing it with the window).
    QColorDialog* colorDialog() const { return dialog_; }

signals:
    void colorPicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openColorDialog();
    void takeColor(const QColor& color);

    RGBAColor color_ = RGBAColor::fromRGBA(0.0, 0.0, 0.0, 1.0);
    QPointer<QColorDialog> dialog_;
};

}  // namespace nupo
