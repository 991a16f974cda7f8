#include "platform/viewhost/gl/ViewObject.h"

#include "platform/appkit/MainThread.h"
#include "platform/viewhost/gl/ViewHost.h"

#include <QCoreApplication>

#include <utility>

namespace nupo {

ViewObject::ViewObject(const QRectF& frame) : frame_(frame) {}

ViewObject::~ViewObject()
{
    // The host forgets the view before the link is cut. (A view that may draw on a thread of its own
    // retires first; one that did not is waited for here, within the stall bound, by its host.)
    if (ViewHost* host = link_->host) {
        host->viewDetached(this);
        link_->host = nullptr;
    }
}

void ViewObject::retire(std::initializer_list<ViewObject*> views, std::shared_ptr<void> owned)
{
    for (ViewObject* view : views) {
        if (!view)
            continue;
        if (ViewHost* host = std::exchange(view->link_->host, nullptr))
            host->retireView(view, owned);
    }
    owned.reset();  // the last reference where no host keeps it for a frame in flight
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
