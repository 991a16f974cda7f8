#pragma once

#include "platform/viewhost/gl/QuartzView.h"
#include "platform/viewhost/ui/ViewHostWidget.h"

#include <QWidget>

namespace nupo {

// The widget that shows a 2D view: paints it through the 2D drawing context over the whole bounds and
// forwards resize, mouse, wheel and key events. The host does not own the view; either may be destroyed
// first.
class QuartzViewHost : public ViewHostWidget<QWidget, QuartzView> {
    Q_OBJECT
public:
    explicit QuartzViewHost(QuartzView* view, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace nupo
