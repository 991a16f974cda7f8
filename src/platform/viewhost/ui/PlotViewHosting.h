#pragma once

#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/viewhost/gl/OpenGLView.h"
#include "platform/viewhost/gl/QuartzView.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"
#include "platform/viewhost/ui/QuartzViewHost.h"
#include "platform/viewhost/ui/ThreadedGLViewHost.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

namespace nupo {

// Shows a plot view inside a placeholder widget of a nib: a host widget fills the placeholder (a
// QuartzViewHost for 2D views, an OpenGLViewHost for GL views).
template <class Host, class View>
Host* hostViewIn(QWidget* placeholder, View& view)
{
    if (!placeholder)
        return nullptr;
    WindowPlacement::markPicture(placeholder);
    auto* host = new Host(&view, placeholder);
    auto* layout = new QVBoxLayout(placeholder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(host);
    view.setFrameSize(QSizeF(placeholder->size()));
    return host;
}

inline QuartzViewHost* hostPlotView(QWidget* placeholder, QuartzView& view)
{
    return hostViewIn<QuartzViewHost>(placeholder, view);
}

// GL views draw as the program set for plot windows (OpenGLViewHost::plotDrawing) unless told otherwise:
// the host is an OpenGLViewHost or a ThreadedGLViewHost. Where the window system has no GL, the
// placeholder says so instead (a GL widget in a window there brings Qt down when the window is drawn).
inline QWidget* hostPlotView(QWidget* placeholder, OpenGLView& view,
                             OpenGLViewHost::Drawing drawing = OpenGLViewHost::plotDrawing())
{
    if (!placeholder || OpenGLViewHost::isSupported()) {
        if (drawing == OpenGLViewHost::Drawing::OnOwnThread)
            return hostViewIn<ThreadedGLViewHost>(placeholder, view);
        return hostViewIn<OpenGLViewHost>(placeholder, view);
    }
    WindowPlacement::markPicture(placeholder);
    auto* layout = new QVBoxLayout(placeholder);
    auto* note =
        new QLabel(QStringLiteral("OpenGL is not available: this view cannot be drawn."), placeholder);
    note->setAlignment(Qt::AlignCenter);
    layout->addWidget(note);
    view.setFrameSize(QSizeF(placeholder->size()));
    return nullptr;
}

}  // namespace nupo
