#pragma once

#include "platform/viewhost/ViewEventHost.h"
#include "platform/viewhost/ViewHost.h"

#include <QOpenGLWidget>

namespace nupo {

class OpenGLView;

// The widget that shows a GL view in a compatibility-profile context with a depth buffer: runs the
// view's prepareOpenGL when the context is ready, setFrameSize and reshape on resizes and drawRect for
// each frame, and forwards mouse, wheel and key events. The host does not own the view; either may be
// destroyed first.
class OpenGLViewHost : public ViewEventHost<QOpenGLWidget>, private ViewHost {
    Q_OBJECT
public:
    explicit OpenGLViewHost(OpenGLView* view, QWidget* parent = nullptr);
    ~OpenGLViewHost() override;

    OpenGLView* view() const { return view_; }
    QSize sizeHint() const override;

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

    ViewObject* hostedView() const override;

private:
    void viewNeedsDisplay() override;
    void viewDetached(ViewObject* view) override;
    bool makeViewContextCurrent() override;

    OpenGLView* view_;
    bool prepared_ = false;
};

}  // namespace nupo
