#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>

class QLayout;
class QScrollArea;
class QWidget;

namespace nupo {

// Gives a plot window's view the space when the window is short. The controls below the view sit in a
// scroll area; at every resize the area is capped so that the view keeps `viewShare` of the window's
// height (up to `usableViewHeight`, tall enough to read a plot), and the controls scroll. A window tall
// enough for both shows the controls whole and gives the view the rest. Short of room, the controls
// shrink to what their scroll bar needs. A window narrower than its controls has their sideways scroll
// bar below them, never over their last row.
class ViewFirstSizing : public QObject {
public:
    static constexpr int usableViewHeight = 300;

    // Attaches itself to `window` (and is deleted with it); `view` is one of the window's view placeholders.
    // Does nothing when any of them is null.
    static void attach(QWidget* window, QWidget* view, QScrollArea* controls, double viewShare = 0.5);

    // The controls' height for a window `windowHeight` high: `others` is what the window's layout needs
    // besides the view and the controls, `viewMinimum` the view's minimum height, `controlsMinimum`
    // and `controlsNatural` the controls' minimum and whole heights.
    static int controlsHeight(int windowHeight, int others, int viewMinimum, int controlsMinimum,
                              int controlsNatural, double viewShare);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ViewFirstSizing(QWidget* window, QWidget* view, QScrollArea* controls, double viewShare);
    void fit(const QSize& windowSize);

    QPointer<QWidget> window_;
    QPointer<QWidget> view_;
    QPointer<QScrollArea> controls_;
    double viewShare_;
    int minimumHeight_ = -1;  // the window's minimum height before this raised it
};

}  // namespace nupo
