#pragma once

#include "platform/viewhost/gl/OpenGLView.h"
#include "platform/viewhost/ui/ViewHostWidget.h"

#include <QOpenGLWidget>

namespace nupo {

// The widget that shows a GL view in a compatibility-profile context with a depth buffer: runs the
// view's prepareOpenGL when the context is ready, setFrameSize and reshape on resizes and drawRect for
// each frame, and forwards mouse, wheel and key events. The host does not own the view; either may be
// destroyed first.
class OpenGLViewHost : public ViewHostWidget<QOpenGLWidget, OpenGLView> {
    Q_OBJECT
public:
    explicit OpenGLViewHost(OpenGLView* view, QWidget* parent = nullptr);

    // Whether the window system can give GL views a context at all (not so on the offscreen platform
    // without a display). Tried once.
    static bool isSupported();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    bool makeViewContextCurrent() override;

    bool prepared_ = false;
};

}  // namespace nupo
