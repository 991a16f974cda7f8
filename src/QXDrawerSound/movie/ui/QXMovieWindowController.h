#pragma once

// The movie window (nib "QXDrawerMovie"): the movie player whose control updates reach the widgets, and
// whose movie picture is drawn by a GL view in the nib's `movieViewObject` placeholder.

#include "QXDrawerSound/movie/QXMovieController.h"
#include "QXDrawerSound/movie/gl/MovieGLView.h"
#include "platform/appkit/ui/NibController.h"

#include <array>
#include <vector>

class QWidget;

namespace nupo {

class MovieControllerBar;
class OpenGLViewHost;

class QXMovieWindowController : public NibController, public QXMovieController {
    Q_OBJECT
public:
    QXMovieWindowController();
    ~QXMovieWindowController() override;

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;
    void windowDidMove(QObject* window) override;
    void windowDidResize(QObject* window) override;

    void movieProperties(QObject* sender);
    void newWindow(QObject* sender);
    void setTheWindow(int small);

    // The movie window to play with the recording: the one opened last that still shows its movie,
    // brought to the front, the one whose movie is being opened, or else a new one for the path in
    // `outCHAR` (null when its nib cannot be loaded); see whenOpened().
    static QXMovieWindowController* openOrReuse(QObject* owner);
    // The movie windows that show a movie, oldest first.
    static std::vector<QXMovieWindowController*> openWindows();

    QObject* control(MovieOutlet outlet) const { return outlets[std::size_t(outlet)]; }
    MovieGLView& movieView() { return view; }
    OpenGLViewHost* movieHost() const { return host; }
    // The movie view: the picture with its controller bar under it.
    QWidget* movieBox() const { return box; }
    MovieControllerBar* movieControllerBar() const { return bar; }

protected:
    void showValue(MovieOutlet outlet, double value) override;
    void showText(MovieOutlet outlet, const QString& text) override;
    void setItems(MovieOutlet outlet, const QStringList& items) override;
    void selectItem(MovieOutlet outlet, int index) override;
    void setLimits(MovieOutlet outlet, double minimum, double maximum) override;
    void setFieldFormat(MovieOutlet outlet, int left, int right) override;
    void setHidden(MovieOutlet outlet, bool hidden) override;
    void setEnabled(MovieOutlet outlet, bool enabled) override;
    void showPlayButton(bool pauseTitle) override;
    void showMovie(MediaPlayer* movie) override;
    bool resizeMovieView(double magnification, bool controllerBar) override;
    void reloadTracks() override;
    void showWindow(float alpha, bool inFront) override;
    void setWindowFrame(const float* frame) override;
    void closePropertyWindow() override;
    void alert(const QString& title, const QString& message) override;
    void movieNotOpened() override;
    int intValueOf(const QObject* sender) const override;
    double floatValueOf(const QObject* sender) const override;
    int selectedIndexOf(MovieOutlet popup, const QObject* sender) const override;
    int selectedTagOf(const QObject* sender) const override;

private:
    void declareActions();
    void storeFrame();
    void buildMovieView(QWidget* placeholder);

    std::array<QObject*, std::size_t(MovieOutlet::count)> outlets{};
    MovieGLView view;
    OpenGLViewHost* host = nullptr;
    QWidget* box = nullptr;
    MovieControllerBar* bar = nullptr;
    // Set once the window has taken its own frame: moves before that are its first placement's (clear
    // of the Control Panel, say), not the user's, and are not kept as its frame.
    bool frameTaken = false;
};

}  // namespace nupo
