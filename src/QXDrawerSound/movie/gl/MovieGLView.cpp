#include "QXDrawerSound/movie/gl/MovieGLView.h"

#include "platform/appkit/MainThread.h"
#include "platform/media/MediaPlayer.h"

#include <EGL/egl.h>
#include <GL/gl.h>
#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <QOpenGLContext>

#ifndef GL_DRAW_FRAMEBUFFER_BINDING
#define GL_DRAW_FRAMEBUFFER_BINDING 0x8CA6
#endif

namespace nupo {

namespace {

// GL functions for libmpv: through Qt's context when one is current, else through EGL (the offscreen
// contexts of tests and benchmarks).
void* procAddress(void*, const char* name)
{
    if (QOpenGLContext* context = QOpenGLContext::currentContext())
        return reinterpret_cast<void*>(context->getProcAddress(name));
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

}  // namespace

MovieGLView::MovieGLView(MediaPlayer* player) : player_(player), self_(std::make_shared<MovieGLView*>(this))
{
}

MovieGLView::~MovieGLView()
{
    *self_ = nullptr;
    releaseRenderContext();
}

void MovieGLView::setPlayer(MediaPlayer* player)
{
    if (player == player_)
        return;
    releaseRenderContext();
    player_ = player;
}

bool MovieGLView::createRenderContext()
{
    if (context_ != nullptr)
        return true;
    if (player_ == nullptr || player_->nativeHandle() == nullptr)
        return false;
    char api[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_opengl_init_params init{procAddress, nullptr};
    int advanced = 0;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
                                 {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&context_, player_->nativeHandle(), params) < 0) {
        context_ = nullptr;
        return false;
    }
    // New frames arrive on libmpv's threads; the redraw is asked for on the main thread.
    token_ = self_;
    mpv_render_context_set_update_callback(
        context_,
        [](void* data) {
            auto* token = static_cast<std::weak_ptr<MovieGLView*>*>(data);
            performOnMainThread([weak = *token] {
                if (auto alive = weak.lock(); alive && *alive)
                    (*alive)->setNeedsDisplay(true);
            });
        },
        &token_);
    // A file opened before there was a render context has had its video switched off: bring it back.
    player_->reloadVideo();
    return true;
}

void MovieGLView::releaseRenderContext()
{
    if (context_ == nullptr)
        return;
    makeCurrentContext();
    mpv_render_context_set_update_callback(context_, nullptr, nullptr);
    mpv_render_context_free(context_);
    context_ = nullptr;
}

void MovieGLView::prepareOpenGL()
{
    // A new GL context (the host's first, or a new one after reparenting) needs a new render context.
    if (context_ != nullptr) {
        mpv_render_context_set_update_callback(context_, nullptr, nullptr);
        mpv_render_context_free(context_);
        context_ = nullptr;
    }
    createRenderContext();
}

void MovieGLView::drawRect(const QRectF&)
{
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (context_ == nullptr || viewport[2] <= 0 || viewport[3] <= 0) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    GLint framebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer);
    mpv_opengl_fbo fbo{framebuffer, viewport[2], viewport[3], 0};
    int flipY = 1;  // GL framebuffers have their origin at the lower left
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(context_, params);
    ++framesDrawn_;
}

}  // namespace nupo
