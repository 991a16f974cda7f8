#pragma once

// The movie-frame view: opens the movie resource "Sample.mov", lets it draw its current frame into an
// offscreen picture of the movie's size, steps through it one video frame at a time, and on every redraw
// shows the frame, the same frame again at 0.4 opacity, a frame counter ("Frame #n") in the corner and
// the background picture "orvel1.jpg" at 0.2 opacity. Its controller `MyObject` steps it.

#include "platform/media/MediaPlayer.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace nupo {

// The movie the view opened last (used by the view and its controller alone).
inline MediaPlayer* qtMovieX = nullptr;

class MyQuickDrawView : public QWidget {
    Q_OBJECT
public:
    explicit MyQuickDrawView(QWidget* parent = nullptr);
    ~MyQuickDrawView() override;

    // Opens the resource movie and background picture and draws the first frame.
    void awakeFromNib();
    // Opens a movie file (null, with a line on standard output, when it cannot be played).
    MediaPlayer* createQTMovieFromMovieFilePath(const QString& path);
    void normalizeMovieRect();
    float normalizedMovieRectWidth() const { return static_cast<float>(movieBox.width()); }
    float normalizedMovieRectHeight() const { return static_cast<float>(movieBox.height()); }
    QImage makeGWorldForMovie() const;
    // The video frames plus one (the search past the last frame is counted too).
    unsigned int countMovieFrames() const;
    // The movie draws its current frame into the offscreen picture.
    void drawFrame();
    // One step: to the next video frame (the first step from the beginning lands on the first frame
    // itself), so the counter reaches the frame count on the last frame; the step after that goes back to
    // the beginning. The picture follows once the movie has decoded the frame.
    void nextFrame();
    // Back to the first frame with the counter at 1.
    void goToBeginning();
    // The offscreen picture as an image with alpha.
    QImage gworldToNSImage(const QImage& world) const;
    void freeAllocatedObjects();

    unsigned int frameNumber() const { return movieFrameNumber; }
    unsigned int frameCount() const { return movieFrameCount; }
    const QImage& offscreenPicture() const { return srcGWorld; }
    MediaPlayer* movie() const { return movieObject.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawFrameCounter(QPainter& painter) const;
    void drawBackgroundImage(QPainter& painter) const;
    static void fail(const char* message);

    std::unique_ptr<MediaPlayer> movieObject;
    QImage srcGWorld;
    long movieTime = 0;  // the frame the last step went to, counted from 0
    QRect movieBox;
    unsigned int movieFrameCount = 0;
    unsigned int movieFrameNumber = 1;
    QImage backgroundImage;
};

}  // namespace nupo
