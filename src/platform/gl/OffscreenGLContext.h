#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace nupo {

// A legacy (compatibility-profile) OpenGL context that needs no window and no X display: EGL on Mesa's
// surfaceless platform, rendering into a framebuffer object of a given size with colour and depth.
// Engines draw into it exactly as into a view's context; tests and benchmarks read the pixels back.
//
// The context is current on the constructing thread after a successful construction.
class OffscreenGLContext {
public:
    explicit OffscreenGLContext(QSize size);
    ~OffscreenGLContext();
    OffscreenGLContext(const OffscreenGLContext&) = delete;
    OffscreenGLContext& operator=(const OffscreenGLContext&) = delete;

    bool isValid() const;
    // Why the context could not be made; empty when it is valid.
    QString errorString() const { return error_; }
    QSize size() const { return size_; }

    // Makes the context current on the calling thread with its framebuffer bound and the viewport set to
    // the whole framebuffer. Returns false when the context is not valid or EGL refuses.
    bool makeCurrent();
    void doneCurrent();

    // The framebuffer's pixels as an image, top row first. Finishes pending drawing first.
    QImage readPixels();

    // The GL_RENDERER string of the context (for example "llvmpipe ..."); empty when not valid.
    QString renderer();

private:
    struct Private;
    std::unique_ptr<Private> d_;
    QSize size_;
    QString error_;
};

}  // namespace nupo
