#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace nupo {

// A legacy (compatibility-profile) OpenGL context that needs no window: EGL rendering into a framebuffer
// object of a given size with colour and depth. Engines draw into it exactly as into a view's context;
// tests and benchmarks read the pixels back, the views' drawing threads hand the pixels to their windows.
//
// Driver::Shared makes the context on Mesa's surfaceless platform, one driver instance for every such
// context of the process. Driver::OwnInstance gives the context a driver instance no other living context
// uses (an EGL display on an X connection of its own, ended with the context, with the driver's threads
// for it), so that threads drawing at once never meet inside the driver: Mesa's software rasteriser is
// shared by all the contexts of one instance and is not safe for that. Without an X display it falls back
// to Shared.
//
// The context is current on the constructing thread after a successful construction.
class OffscreenGLContext {
public:
    enum class Driver { Shared, OwnInstance };

    explicit OffscreenGLContext(QSize size, Driver driver = Driver::Shared);
    ~OffscreenGLContext();
    OffscreenGLContext(const OffscreenGLContext&) = delete;
    OffscreenGLContext& operator=(const OffscreenGLContext&) = delete;

    bool isValid() const;
    // Why the context could not be made; empty when it is valid.
    QString errorString() const { return error_; }
    QSize size() const { return size_; }
    // Whether other contexts may use the same driver instance (Driver::Shared, or its fallback).
    bool sharesDriver() const;
    // How many such contexts the process has now (made and not yet destroyed), on any thread.
    static int liveContexts();

    // Gives the framebuffer a new size (contents undefined), with the context current afterwards and the
    // viewport over it. False when the context is not valid or the framebuffer cannot take that size.
    bool resize(QSize size);

    // Makes the context current on the calling thread with its framebuffer bound and the viewport set to
    // the whole framebuffer. Returns false when the context is not valid or EGL refuses.
    bool makeCurrent();
    void doneCurrent();

    // The framebuffer's pixels as an image, top row first. Finishes pending drawing first.
    QImage readPixels();

    // The GL_RENDERER string of the context (for example "llvmpipe ..."); empty when not valid.
    QString renderer();

private:
    bool allocateFramebuffer(QSize size);

    struct Private;
    std::unique_ptr<Private> d_;
    QSize size_;
    QString error_;
};

}  // namespace nupo
