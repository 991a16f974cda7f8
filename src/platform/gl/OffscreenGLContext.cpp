#include "platform/gl/OffscreenGLContext.h"

#include <QDebug>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <link.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

namespace nupo {

namespace {

PFNEGLGETPLATFORMDISPLAYEXTPROC platformDisplayFunction()
{
    return reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
}

// The surfaceless display is initialised once and kept for the life of the process: terminating it
// would pull the ground from under every other context made on it.
struct SurfacelessDisplay {
    EGLDisplay display = EGL_NO_DISPLAY;
    bool noConfigContext = false;
    QString error;
};

const SurfacelessDisplay& surfacelessDisplay()
{
    static const SurfacelessDisplay instance = [] {
        SurfacelessDisplay result;
        const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
        if (!clientExtensions || !std::strstr(clientExtensions, "EGL_MESA_platform_surfaceless")) {
            result.error = QStringLiteral("EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)");
            return result;
        }
        auto getPlatformDisplay = platformDisplayFunction();
        if (!getPlatformDisplay) {
            result.error = QStringLiteral("eglGetPlatformDisplayEXT is missing");
            return result;
        }
        EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0;
        EGLint minor = 0;
        if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
            result.error = QStringLiteral("cannot initialise the surfaceless EGL display (error 0x%1)")
                               .arg(eglGetError(), 0, 16);
            return result;
        }
        const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
        if (!extensions || !std::strstr(extensions, "EGL_KHR_surfaceless_context")) {
            result.error = QStringLiteral("EGL_KHR_surfaceless_context is missing");
            return result;
        }
        result.noConfigContext = std::strstr(extensions, "EGL_KHR_no_config_context") != nullptr;
        result.display = display;
        return result;
    }();
    return instance;
}

// Keeps the driver libraries that EGL has loaded (Mesa's dri/ modules) loaded for the life of the process.
// Ending the last display of a driver would unload it, only to load it again for the next window; and
// the little the driver keeps past eglTerminate would then lie in a module no longer mapped.
void keepDriverModulesLoaded()
{
    static std::once_flag pinned;
    std::call_once(pinned, [] {
        dl_iterate_phdr(
            [](dl_phdr_info* info, size_t, void*) {
                if (info->dlpi_name && std::strstr(info->dlpi_name, "/dri/"))
                    dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
                return 0;
            },
            nullptr);
    });
}

// A driver instance of its own: an EGL display on an X connection of its own (EGL keeps one display, and
// Mesa one driver instance, per native display).
struct OwnInstance {
    ::Display* connection = nullptr;
    EGLDisplay display = EGL_NO_DISPLAY;
    bool noConfigContext = false;
};

// Made for each context of its own and ended with it: an instance holds the driver's screen, and with
// it the software renderer's threads (llvmpipe's rasterisers, its shader cache's queue), so that a
// closed window leaves none of them behind. Made and ended one at a time (Xlib and the driver's
// loading).
class OwnInstances {
public:
    static OwnInstances& pool()
    {
        static OwnInstances instances;  // lives to process end
        return instances;
    }

    std::optional<OwnInstance> take(QString* error)
    {
        std::lock_guard lock(mutex_);
        return make(error);
    }

    // With no context of the instance left, and none current on the calling thread.
    void end(const OwnInstance& instance)
    {
        std::lock_guard lock(mutex_);
        eglTerminate(instance.display);
        eglReleaseThread();
        XCloseDisplay(instance.connection);
    }

private:
    static std::optional<OwnInstance> make(QString* error)
    {
        const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
        if (!clientExtensions || !std::strstr(clientExtensions, "EGL_EXT_platform_x11")) {
            *error = QStringLiteral("EGL has no X11 platform (EGL_EXT_platform_x11)");
            return std::nullopt;
        }
        auto getPlatformDisplay = platformDisplayFunction();
        if (!getPlatformDisplay) {
            *error = QStringLiteral("eglGetPlatformDisplayEXT is missing");
            return std::nullopt;
        }
        OwnInstance instance;
        instance.connection = XOpenDisplay(nullptr);
        if (!instance.connection) {
            *error = QStringLiteral("no X display to connect to");
            return std::nullopt;
        }
        instance.display = getPlatformDisplay(EGL_PLATFORM_X11_EXT, instance.connection, nullptr);
        EGLint major = 0;
        EGLint minor = 0;
        if (instance.display == EGL_NO_DISPLAY || !eglInitialize(instance.display, &major, &minor)) {
            *error = QStringLiteral("cannot initialise an EGL display on the X connection (error 0x%1)")
                         .arg(eglGetError(), 0, 16);
            XCloseDisplay(instance.connection);
            return std::nullopt;
        }
        const char* extensions = eglQueryString(instance.display, EGL_EXTENSIONS);
        if (!extensions || !std::strstr(extensions, "EGL_KHR_surfaceless_context")) {
            *error = QStringLiteral("EGL_KHR_surfaceless_context is missing on the X11 platform");
            eglTerminate(instance.display);
            XCloseDisplay(instance.connection);
            return std::nullopt;
        }
        instance.noConfigContext = std::strstr(extensions, "EGL_KHR_no_config_context") != nullptr;
        keepDriverModulesLoaded();
        return instance;
    }

    std::mutex mutex_;
};

// Framebuffer-object entry points, looked up once through EGL.
struct FramebufferFunctions {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;

    bool load()
    {
        lookUp(genFramebuffers, "glGenFramebuffers");
        lookUp(deleteFramebuffers, "glDeleteFramebuffers");
        lookUp(bindFramebuffer, "glBindFramebuffer");
        lookUp(genRenderbuffers, "glGenRenderbuffers");
        lookUp(deleteRenderbuffers, "glDeleteRenderbuffers");
        lookUp(bindRenderbuffer, "glBindRenderbuffer");
        lookUp(renderbufferStorage, "glRenderbufferStorage");
        lookUp(framebufferRenderbuffer, "glFramebufferRenderbuffer");
        lookUp(checkFramebufferStatus, "glCheckFramebufferStatus");
        return genFramebuffers && deleteFramebuffers && bindFramebuffer && genRenderbuffers &&
               deleteRenderbuffers && bindRenderbuffer && renderbufferStorage && framebufferRenderbuffer &&
               checkFramebufferStatus;
    }

private:
    template <typename F>
    static void lookUp(F& function, const char* name)
    {
        function = reinterpret_cast<F>(eglGetProcAddress(name));
    }
};

std::atomic<int> contextsAlive{0};

}  // namespace

struct OffscreenGLContext::Private {
    std::optional<OwnInstance> own;  // given back when the context is gone
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    FramebufferFunctions gl;
    GLuint framebuffer = 0;
    GLuint colourBuffer = 0;
    GLuint depthBuffer = 0;
};

OffscreenGLContext::OffscreenGLContext(QSize size, Driver driver)
    : d_(std::make_unique<Private>()), size_(size)
{
    if (size.width() <= 0 || size.height() <= 0) {
        error_ = QStringLiteral("framebuffer size %1 x %2 is empty").arg(size.width()).arg(size.height());
        return;
    }
    bool noConfigContext = false;
    QString ownError;
    if (driver == Driver::OwnInstance) {
        d_->own = OwnInstances::pool().take(&ownError);
        // The shared instance still draws, on fewer threads; the reason is kept for whoever looks.
        if (!d_->own)
            qWarning().noquote() << "A GL context draws on the shared driver instance:" << ownError;
    }
    if (d_->own) {
        d_->display = d_->own->display;
        noConfigContext = d_->own->noConfigContext;
    } else {
        const SurfacelessDisplay& surfaceless = surfacelessDisplay();
        if (surfaceless.display == EGL_NO_DISPLAY) {
            error_ =
                ownError.isEmpty() ? surfaceless.error : ownError + QStringLiteral("; ") + surfaceless.error;
            return;
        }
        d_->display = surfaceless.display;
        noConfigContext = surfaceless.noConfigContext;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = QStringLiteral("EGL cannot bind desktop OpenGL");
        return;
    }
    EGLConfig config = EGL_NO_CONFIG_KHR;
    if (!noConfigContext) {
        const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
        EGLint count = 0;
        if (!eglChooseConfig(d_->display, attributes, &config, 1, &count) || count < 1) {
            error_ = QStringLiteral("no EGL configuration renders desktop OpenGL");
            return;
        }
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    d_->context = eglCreateContext(d_->display, config, EGL_NO_CONTEXT, contextAttributes);
    if (d_->context == EGL_NO_CONTEXT) {
        // Drivers without profile selection give a compatibility context by default.
        const EGLint noAttributes[] = {EGL_NONE};
        d_->context = eglCreateContext(d_->display, config, EGL_NO_CONTEXT, noAttributes);
    }
    if (d_->context == EGL_NO_CONTEXT) {
        error_ = QStringLiteral("cannot create a compatibility-profile context (error 0x%1)")
                     .arg(eglGetError(), 0, 16);
        return;
    }
    contextsAlive.fetch_add(1, std::memory_order_relaxed);
    if (!eglMakeCurrent(d_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, d_->context)) {
        error_ = QStringLiteral("cannot make the context current (error 0x%1)").arg(eglGetError(), 0, 16);
        return;
    }
    if (!d_->gl.load()) {
        error_ = QStringLiteral("the context has no framebuffer objects");
        return;
    }
    d_->gl.genFramebuffers(1, &d_->framebuffer);
    d_->gl.bindFramebuffer(GL_FRAMEBUFFER, d_->framebuffer);
    d_->gl.genRenderbuffers(1, &d_->colourBuffer);
    d_->gl.genRenderbuffers(1, &d_->depthBuffer);
    if (!allocateFramebuffer(size))
        error_ =
            QStringLiteral("the framebuffer of %1 x %2 is incomplete").arg(size.width()).arg(size.height());
}

OffscreenGLContext::~OffscreenGLContext()
{
    if (d_->context != EGL_NO_CONTEXT) {
        if (eglMakeCurrent(d_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, d_->context) &&
            d_->gl.deleteFramebuffers) {
            d_->gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
            d_->gl.deleteFramebuffers(1, &d_->framebuffer);
            d_->gl.deleteRenderbuffers(1, &d_->colourBuffer);
            d_->gl.deleteRenderbuffers(1, &d_->depthBuffer);
        }
        eglMakeCurrent(d_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(d_->display, d_->context);
        contextsAlive.fetch_sub(1, std::memory_order_relaxed);
    }
    if (d_->own)
        OwnInstances::pool().end(*d_->own);
}

// With the context current and its framebuffer bound: storage of that size for colour and depth.
bool OffscreenGLContext::allocateFramebuffer(QSize size)
{
    // A size the driver refuses leaves the old storage and a complete framebuffer: only the error
    // tells. Errors left by earlier drawing are not this one's.
    for (int pending = 0; pending < 16 && glGetError() != GL_NO_ERROR; ++pending) {
    }
    d_->gl.bindRenderbuffer(GL_RENDERBUFFER, d_->colourBuffer);
    d_->gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width(), size.height());
    d_->gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, d_->colourBuffer);
    d_->gl.bindRenderbuffer(GL_RENDERBUFFER, d_->depthBuffer);
    d_->gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, size.width(), size.height());
    d_->gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                   d_->depthBuffer);
    if (glGetError() != GL_NO_ERROR ||
        d_->gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return false;
    size_ = size;
    glViewport(0, 0, size.width(), size.height());
    return true;
}

bool OffscreenGLContext::resize(QSize size)
{
    if (size.width() <= 0 || size.height() <= 0 || !makeCurrent())
        return false;
    if (size == size_)
        return true;
    if (allocateFramebuffer(size))
        return true;
    // Back to the size it had, so that the context stays usable.
    allocateFramebuffer(size_);
    return false;
}

int OffscreenGLContext::liveContexts()
{
    return contextsAlive.load(std::memory_order_relaxed);
}

bool OffscreenGLContext::sharesDriver() const
{
    return !d_->own;
}

bool OffscreenGLContext::isValid() const
{
    return error_.isEmpty();
}

bool OffscreenGLContext::makeCurrent()
{
    if (!isValid())
        return false;
    // A drawing thread asks before each frame, mostly with its context current already.
    if (eglGetCurrentContext() != d_->context &&
        !eglMakeCurrent(d_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, d_->context))
        return false;
    d_->gl.bindFramebuffer(GL_FRAMEBUFFER, d_->framebuffer);
    glViewport(0, 0, size_.width(), size_.height());
    return true;
}

void OffscreenGLContext::doneCurrent()
{
    if (d_->display != EGL_NO_DISPLAY && eglGetCurrentContext() == d_->context)
        eglMakeCurrent(d_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

QImage OffscreenGLContext::readPixels()
{
    if (!makeCurrent())
        return {};
    glFinish();
    QImage image(size_, QImage::Format_RGBA8888);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, size_.width(), size_.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    glPopClientAttrib();
    // GL rows run bottom-up.
    return image.mirrored(false, true);
}

QString OffscreenGLContext::renderer()
{
    if (!makeCurrent())
        return {};
    return QString::fromLatin1(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}

}  // namespace nupo
