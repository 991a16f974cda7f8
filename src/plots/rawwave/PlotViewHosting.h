#pragma once

#include "platform/viewhost/OpenGLView.h"
#include "platform/viewhost/OpenGLViewHost.h"
#include "platform/viewhost/QuartzView.h"
#include "platform/viewhost/QuartzViewHost.h"

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

inline OpenGLViewHost* hostPlotView(QWidget* placeholder, OpenGLView& view)
{
    return hostViewIn<OpenGLViewHost>(placeholder, view);
}

}  // namespace nupo
