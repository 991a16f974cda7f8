#pragma once

#include "platform/appkit/ui/NibController.h"

#include <QPointer>

#include <memory>

class QMenu;
class QTimer;
class QWidget;

namespace nupo {

class NUPO4Drawing;
class NUPO4GraphicView;
class QuartzViewHost;

// A brain-note drawing window (nib "NUPO4DrawWindow"): the canvas in a scroll view, the source popup
// (whose changes tell the 3D window through the "didchange…" notifications), the brain-graph history
// box, the fill-colour well of the selected graphic, Undo and Redo, and a status line. The window's
// drawing becomes the front drawing when the window is opened or activated. A 0.1 s status timer
// redraws the live brain graph and, while `AlwaysUpdateBSX` is on, keeps rectangles 1..8 on the
// source's brain-switch windows.
class NUPO4DrawWindowController : public NibController {
    Q_OBJECT
public:
    NUPO4DrawWindowController();
    ~NUPO4DrawWindowController() override;

    static void showDrawWindow(QObject* owner);

    void awakeFromNib() override;
    void windowWillClose(QObject* window) override;
    void windowDidMove(QObject* window) override;
    void windowDidResize(QObject* window) override;

    // Actions.
    void selectSource(QObject* sender);
    void showHistory(QObject* sender);
    void changeFillColor(QObject* sender);
    void undoEdit(QObject* sender);
    void redoEdit(QObject* sender);

    // The status timer's step.
    void statusTick();

    // The context menu of the graphic at a point of the canvas (drawing coordinates): it selects that
    // graphic and offers its brain channel and view. Null where no graphic is.
    QMenu* graphicMenu(const QPointF& point);

    NUPO4Drawing& drawing() { return *drawing_; }
    NUPO4GraphicView& canvas() { return *canvas_; }
    QWidget* canvasWidget() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Keeps the window's frame in DrawingWindowFrameR while it is shown.
    void storeFrame();
    void drawingChanged();

    std::unique_ptr<NUPO4Drawing> drawing_;
    std::unique_ptr<NUPO4GraphicView> canvas_;
    QPointer<QuartzViewHost> host;
    QTimer* statusTimer = nullptr;

    QObject* sourcePopup = nullptr;
    QObject* historyBox = nullptr;
    QObject* fillColorWell = nullptr;
    QObject* undoButton = nullptr;
    QObject* redoButton = nullptr;
    QObject* statusField = nullptr;
    QWidget* canvasArea = nullptr;
};

}  // namespace nupo
