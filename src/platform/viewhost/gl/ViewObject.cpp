#include "platform/viewhost/gl/ViewObject.h"

#include "platform/appkit/MainThread.h"
#include "platform/viewhost/gl/ViewHost.h"

#include <QCoreApplication>

namespace nupo {

ViewObject::ViewObject(const QRectF& frame) : frame_(frame) {}

ViewObject::~ViewObject()
{
    // The host forgets the view (waiting for a frame it may be drawing) before the link is cut.
    if (ViewHost* host = link_->host) {
        host->viewDetached(this);
        link_->host = nullptr;
    }
}

void ViewObject::setFrameSize(const QSizeF& size)
{
    frame_.setSize(size);
}

ViewHost* ViewObject::host() const
{
    return link_->host;
}

void ViewObject::setNeedsDisplay(bool needsDisplay)
{
    needsDisplay_.store(needsDisplay, std::memory_order_relaxed);
    if (!needsDisplay)
        return;
    if (isMainThread()) {
        if (link_->host)
            link_->host->viewNeedsDisplay();
        return;
    }
    if (!QCoreApplication::instance() || link_->redrawQueued.exchange(true))
        return;
    performOnMainThread([weakLink = std::weak_ptr<HostLink>(link_)] {
        const std::shared_ptr<HostLink> link = weakLink.lock();
        if (!link)
            return;  // the view is gone
        link->redrawQueued.store(false);
        if (link->host)
            link->host->viewNeedsDisplay();
    });
}

void ViewObject::attachHost(ViewHost* host)
{
    if (link_->host == host)
        return;
    if (ViewHost* previous = link_->host) {
        previous->viewDetached(this);
        link_->host = nullptr;
    }
    link_->host = host;
}

void ViewObject::detachHost(ViewHost* host)
{
    if (link_->host == host)
        link_->host = nullptr;
}

}  // namespace nupo
