#pragma once

#include "platform/viewhost/QuartzView.h"
#include "platform/viewhost/ui/QuartzViewHost.h"

#include <QVBoxLayout>
#include <QWidget>

namespace nupo {

// Shows a 2D plot view inside a placeholder widget of a nib: a host widget fills the placeholder.
inline QuartzViewHost* hostPlotView(QWidget* placeholder, QuartzView& view)
{
    if (!placeholder)
        return nullptr;
    auto* host = new QuartzViewHost(&view, placeholder);
    auto* layout = new QVBoxLayout(placeholder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(host);
    view.setFrameSize(QSizeF(placeholder->size()));
    return host;
}

}  // namespace nupo
