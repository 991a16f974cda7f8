#pragma once

// The picture of a movie: libmpv's render API draws the current video frame of a player into whatever
// GL framebuffer is bound when the view draws (a movie window's GL host, or an offscreen context in
// tests). The view does not own the player; the player must outlive the view's render context
// (releaseRenderContext, or the view's destruction, ends it).

#include "platform/viewhost/gl/OpenGLView.h"

#include <memory>

struct mpv_render_context;

namespace nupo {

class MediaPlayer;

class MovieGLView : public OpenGLView {
public:
    explicit MovieGLView(MediaPlayer* player = nullptr);
    ~MovieGLView() override;

    // The player whose video is drawn (one with the videoOutput option); null draws black.
    void setPlayer(MediaPlayer* player);
    MediaPlayer* player() const { return player_; }

    // Makes the render context in the current GL context (prepareOpenGL does this), and ends it. A player
    // that opened its file before the render context existed gets its video back.
    bool createRenderContext();
    void releaseRenderContext();
    bool hasRenderContext() const { return context_ != nullptr; }

    void prepareOpenGL() override;
    void drawRect(const QRectF& rect) override;

    // Frames drawn so far (for the window's display and tests).
    long framesDrawn() const { return framesDrawn_; }

private:
    MediaPlayer* player_ = nullptr;
    mpv_render_context* context_ = nullptr;
    std::shared_ptr<MovieGLView*> self_;  // what the update callback queued to the main thread checks
    std::weak_ptr<MovieGLView*> token_;   // the update callback's copy of it
    long framesDrawn_ = 0;
};

}  // namespace nupo
