#pragma once

#include "platform/viewhost/gl/OpenGLView.h"
#include "platform/viewhost/ui/ViewHostWidget.h"

#include <QOpenGLWidget>

namespace nupo {

// The widget that shows a GL view in a compatibility-profile context with a depth buffer, drawing on the
// main thread: runs the view's prepareOpenGL when the context is ready, setFrameSize and reshape on
// resizes and drawRect for each frame, and forwards mouse, wheel and key events. The host does not own
// the view; either may be destroyed first. (ThreadedGLViewHost draws a view on a thread of its own.)
class OpenGLViewHost : public ViewHostWidget<QOpenGLWidget, OpenGLView> {
    Q_OBJECT
public:
    // Where a plot window's GL view draws (see hostPlotView).
    enum class Drawing { OnMainThread, OnOwnThread };

    explicit OpenGLViewHost(OpenGLView* view, QWidget* parent = nullptr);

    // Whether the window system can give GL views a context at all (not so on the offscreen platform
    // without a display). Tried once.
    static bool isSupported();

    // How the plot windows' GL views draw: on the main thread unless the program sets otherwise at
    // start-up (or the environment has NUPO_GL_THREADS=1).
    static Drawing plotDrawing();
    static void setPlotDrawing(Drawing drawing);

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    bool makeViewContextCurrent() override;

    bool prepared_ = false;
};

}  // namespace nupo
