#pragma once

#include "platform/viewhost/ViewEventHost.h"
#include "platform/viewhost/ViewHost.h"

#include <QWidget>

namespace nupo {

class QuartzView;

// The widget that shows a 2D view: paints it through the 2D drawing context over the whole bounds and
// forwards resize, mouse, wheel and key events. The host does not own the view; either may be destroyed
// first.
class QuartzViewHost : public ViewEventHost<QWidget>, private ViewHost {
    Q_OBJECT
public:
    explicit QuartzViewHost(QuartzView* view, QWidget* parent = nullptr);
    ~QuartzViewHost() override;

    QuartzView* view() const { return view_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    ViewObject* hostedView() const override;

private:
    void viewNeedsDisplay() override;
    void viewDetached(ViewObject* view) override;

    QuartzView* view_;
};

}  // namespace nupo
