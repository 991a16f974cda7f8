#pragma once

#include "platform/viewhost/OpenGLView.h"
#include "platform/viewhost/ui/OpenGLViewHost.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

namespace nupo {

// Shows a GL view inside a placeholder widget of a nib: a host widget fills the placeholder. Where the
// window system has no GL, the placeholder says so instead (a GL widget in a window there brings Qt down
// when the window is drawn) and no host is made.
inline OpenGLViewHost* hostGLViewIn(QWidget* placeholder, OpenGLView& view)
{
    if (!placeholder)
        return nullptr;
    auto* layout = new QVBoxLayout(placeholder);
    layout->setContentsMargins(0, 0, 0, 0);
    view.setFrameSize(QSizeF(placeholder->size()));
    if (!OpenGLViewHost::isSupported()) {
        auto* note =
            new QLabel(QStringLiteral("OpenGL is not available: this view cannot be drawn."), placeholder);
        note->setAlignment(Qt::AlignCenter);
        layout->addWidget(note);
        return nullptr;
    }
    auto* host = new OpenGLViewHost(&view, placeholder);
    layout->addWidget(host);
    return host;
}

}  // namespace nupo
