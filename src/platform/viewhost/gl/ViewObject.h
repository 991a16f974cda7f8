#pragma once

#include "platform/viewhost/gl/ViewEvents.h"

#include <QRectF>
#include <QSizeF>

#include <atomic>
#include <initializer_list>
#include <memory>

namespace nupo {

class ViewHost;

// The base of every view class: a plain object that holds its state and draws into a given context. It
// is never a widget itself; an on-screen instance is shown by a host widget that forwards paint, resize,
// mouse and key events to it. Instances that no host shows (the shared instances) simply draw nowhere.
//
// Event handlers do nothing by default. Everything except setNeedsDisplay runs on the main thread.
class ViewObject {
public:
    explicit ViewObject(const QRectF& frame = QRectF());
    virtual ~ViewObject();
    ViewObject(const ViewObject&) = delete;
    ViewObject& operator=(const ViewObject&) = delete;

    QRectF frame() const { return frame_; }
    // The frame's size at the origin: the rectangle the view draws in.
    QRectF bounds() const { return QRectF(QPointF(0, 0), frame_.size()); }
    // Called by the host when the widget is resized; views that follow their size override it and call
    // this version.
    virtual void setFrameSize(const QSizeF& size);

    // Marks the view for redrawing. From the main thread the host is told at once; from any other thread
    // the request is queued to the main thread (several requests before it runs make one).
    void setNeedsDisplay(bool needsDisplay);
    bool needsDisplay() const { return needsDisplay_.load(std::memory_order_relaxed); }
    // The widget showing the view, or null.
    ViewHost* host() const;

    virtual void mouseDown(const MouseEvent&) {}
    virtual void mouseDragged(const MouseEvent&) {}
    virtual void mouseUp(const MouseEvent&) {}
    virtual void rightMouseDown(const MouseEvent&) {}
    virtual void rightMouseDragged(const MouseEvent&) {}
    virtual void rightMouseUp(const MouseEvent&) {}
    virtual void otherMouseDown(const MouseEvent&) {}
    virtual void otherMouseDragged(const MouseEvent&) {}
    virtual void otherMouseUp(const MouseEvent&) {}
    virtual void scrollWheel(const ScrollEvent&) {}
    virtual void keyDown(const KeyEvent&) {}
    virtual void keyUp(const KeyEvent&) {}

    // The teardown of a window whose views may draw on threads of their own, as the first thing its
    // controller's destructor does (before any part of a view, or of what its frames read, is gone):
    // each view stops getting frames and leaves its host at once, and `owned` (the views and everything
    // else their frames read that the controller owns) is released on the main thread once no frame of
    // those hosts is in flight: at once where none is, otherwise as the last such frame ends. A frame that
    // never ends (stalled) keeps `owned` alive and reachable for good. See retireViews (ViewRetirement.h).
    // Main thread.
    static void retire(std::initializer_list<ViewObject*> views, std::shared_ptr<void> owned);

    // For host widgets: attach (detaching from any previous host), detach, and note a finished redraw.
    void attachHost(ViewHost* host);
    void detachHost(ViewHost* host);
    void didDisplay() { needsDisplay_.store(false, std::memory_order_relaxed); }

private:
    // Shared with queued redraw requests, which may outlive the view.
    struct HostLink {
        ViewHost* host = nullptr;  // main thread only
        std::atomic<bool> redrawQueued{false};
    };

    QRectF frame_;
    std::atomic<bool> needsDisplay_{false};
    const std::shared_ptr<HostLink> link_ = std::make_shared<HostLink>();
};

}  // namespace nupo
