#pragma once

#include <QPointer>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>

namespace nupo {

// A light, non-owning handle on a top-level window with the operations controllers use. Every
// operation on a null handle (a shared controller has no window) does nothing and reads as empty.
//
// Frames are in unflipped screen coordinates, as documents store them: the origin is the lower-left
// corner of the primary screen and y grows upwards; a frame is the whole window, title bar included.
class WindowHandle {
public:
    WindowHandle(QWidget* window = nullptr) : window_(window ? window->window() : nullptr) {}

    QWidget* widget() const { return window_; }
    explicit operator bool() const { return window_ != nullptr; }

    // Transparency, 0 (invisible) to 1 (opaque).
    void setAlphaValue(double alpha);
    double alphaValue() const;

    // The status-window level keeps the window above ordinary windows.
    void setStatusWindowLevel(bool on);
    bool isAtStatusWindowLevel() const;

    QRectF frame() const;
    // `display` and `animate` are accepted for the callers' sake; the window is moved at once.
    void setFrame(const QRectF& frame, bool display = true, bool animate = false);
    // The frame to keep for a document: that of a shown window standing settled. None for a hidden
    // window (or none), one the window manager is still framing, or one of no size.
    std::optional<QRectF> frameToKeep() const;
    // Keeps frameToKeep() in a document's x, y, width, height; without one it is left as it was.
    void storeShownFrame(float (&stored)[4]) const;

    // Writes the frame to the settings under "WindowFrames/<name>" as "x y width height".
    void saveFrameUsingName(const QString& name) const;

    bool isVisible() const;
    // Whether the window is maximised or full screen (as asked, whether or not a window manager did it).
    bool isMaximised() const;
    // Shows the window, raises it and gives it the keyboard focus.
    void makeKeyAndOrderFront();
    // Closes the window as the close box does: the controller's windowWillClose runs.
    void close();

    // Conversions between unflipped screen rectangles and Qt's (origin top-left, y down).
    static QRectF toQt(const QRectF& unflipped);
    static QRectF fromQt(const QRectF& qtRect);

private:
    QPointer<QWidget> window_;
};

}  // namespace nupo
