#include "QXSketch/ui/NUPO4DrawWindowController.h"

#include "QXDrawerSound/player/QXSoundController.h"
#include "QXDrawerSound/player/SoundSlotTables.h"
#include "QXSketch/gl/NUPO4Drawing.h"
#include "QXSketch/gl/NUPO4GraphicView.h"
#include "QXSketch/gl/SketchState.h"
#include "platform/appkit/ui/Control.h"
#include "platform/appkit/ui/NibLoader.h"
#include "platform/appkit/ui/PopUpButton.h"
#include "platform/appkit/ui/WindowHandle.h"
#include "platform/appkit/ui/WindowPlacement.h"
#include "platform/viewhost/ui/QuartzViewHost.h"
#include "plots/bargraph/ui/QX2DBarGraphController.h"
#include "plots/rawwave/ui/QXRawwaveGraphController.h"
#include "plots/settings/DisplaySettings.h"
#include "plots/waterfall/ui/QX2DSpectrumAppController.h"
#include "shared/CoreState.h"
#include "views3d/spectrum/ui/QX3DSpectrumAppController.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <vector>

namespace nupo {

namespace {

// The drawing windows' controllers that live (main thread). Never destroyed, so that a controller
// ending after static destruction began still finds it.
std::vector<NUPO4DrawWindowController*>& liveControllers()
{
    static auto* controllers = new std::vector<NUPO4DrawWindowController*>;
    return *controllers;
}

}  // namespace

NUPO4DrawWindowController::NUPO4DrawWindowController()
    : drawing_(std::make_unique<NUPO4Drawing>()), canvas_(std::make_unique<NUPO4GraphicView>(drawing_.get()))
{
    liveControllers().push_back(this);
    outlet("sourcePopup", sourcePopup);
    outlet("historyBox", historyBox);
    outlet("fillColorWell", fillColorWell);
    outlet("undoButton", undoButton);
    outlet("redoButton", redoButton);
    outlet("statusField", statusField);
    outlet("canvasArea", canvasArea);
    action("selectSource", &NUPO4DrawWindowController::selectSource);
    action("showHistory", &NUPO4DrawWindowController::showHistory);
    action("changeFillColor", &NUPO4DrawWindowController::changeFillColor);
    action("undoEdit", &NUPO4DrawWindowController::undoEdit);
    action("redoEdit", &NUPO4DrawWindowController::redoEdit);
    NUPO4Graphic::windowColourTaken = [] {
        QX3DSpectrumAppController::sharedQX3DSpectrumAppController().setWindowColorValue();
    };
    // The first drawing window of a run sets the sound slots' tables to their defaults again, unless a
    // sound bank has filled them already: its sounds would play on but be missing from the next save.
    if (firstTimeRunAplication.exchange(0) != 0 && firsttimeQXSoundController == 0)
        QXSoundController::sharedQXSoundController().initSoundNSStr();
    drawing_->changed = [this] { drawingChanged(); };
    // Undo and Redo follow the stack once it has moved (a command runs before the stack's index moves).
    connect(&drawing_->undoStack(), &QUndoStack::indexChanged, this, [this] { drawingChanged(); });
}

NUPO4DrawWindowController::~NUPO4DrawWindowController()
{
    std::erase(liveControllers(), this);
    // The drawing outlives the canvas by a moment and clears its stack on the way: nothing may call back.
    drawing_->changed = nullptr;
    drawing_->undoStack().disconnect(this);
}

void NUPO4DrawWindowController::showDrawWindow(QObject* owner)
{
    NibLoader::loadNibNamed(QStringLiteral("NUPO4DrawWindow"), owner);
}

QWidget* NUPO4DrawWindowController::canvasWidget() const
{
    return host;
}

void NUPO4DrawWindowController::awakeFromNib()
{
    PopUpButton::removeAllItems(sourcePopup);
    for (int s = 0; s < 10; ++s)
        PopUpButton::addItemWithTitle(sourcePopup, sourceName(s));
    PopUpButton::selectItemAtIndex(sourcePopup, canvas_->source() - 1);
    Control::setState(historyBox, canvas_->showsHistory() ? 1 : 0);
    if (canvasArea) {
        auto* scroll = new QScrollArea(canvasArea);
        host = new QuartzViewHost(canvas_.get());
        host->setFixedSize(int(NUPO4GraphicView::drawingWidth), int(NUPO4GraphicView::drawingHeight));
        scroll->setWidget(host);
        host->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(host, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
            // The canvas is as large as the drawing, so its widget points are drawing points.
            if (QMenu* menu = graphicMenu(QPointF(at))) {
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(host->mapToGlobal(at));
            }
        });
        auto* layout = new QVBoxLayout(canvasArea);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroll);
    }
    if (QWidget* window = nibWindow()) {
        auto* undoAction = new QAction(window);
        undoAction->setShortcut(QKeySequence::Undo);
        connect(undoAction, &QAction::triggered, this, [this] { undoEdit(nullptr); });
        auto* redoAction = new QAction(window);
        redoAction->setShortcut(QKeySequence::Redo);
        connect(redoAction, &QAction::triggered, this, [this] { redoEdit(nullptr); });
        window->addActions({undoAction, redoAction});
        window->installEventFilter(this);
        const float* frame = DrawingWindowFrameR;
        if (drawingFrameFromDocument && frame[2] > 0.0f && frame[3] > 0.0f) {
            // The document's window set-up opens the window where it was saved.
            drawingFrameFromDocument = false;
            WindowPlacement::keepChosenFrame(window);
            WindowHandle(window).setFrame(QRectF(frame[0], frame[1], frame[2], frame[3]));
        } else {
            // On a screen with room for it, the window shows the whole drawing (once laid out and shown).
            QTimer::singleShot(0, window, [window, area = canvasArea] {
                const QScreen* screen = window->screen();
                if (!area || !screen)
                    return;
                const QSize room = screen->availableGeometry().size() - QSize(40, 80);
                const QSize whole =
                    window->size() - area->size() +
                    QSize(int(NUPO4GraphicView::drawingWidth), int(NUPO4GraphicView::drawingHeight)) +
                    QSize(24, 24);
                if (whole.width() <= room.width() && whole.height() <= room.height())
                    window->resize(whole);
            });
        }
    }
    statusTimer = new QTimer(this);
    connect(statusTimer, &QTimer::timeout, this, &NUPO4DrawWindowController::statusTick);
    statusTimer->start(100);
    drawing_->makeFront();
    drawingChanged();
}

void NUPO4DrawWindowController::windowWillClose(QObject* window)
{
    if (statusTimer)
        statusTimer->stop();
    // The drawing in front before this one is saved from now on, with its window's frame.
    drawing_->leaveFront();
    for (NUPO4DrawWindowController* other : liveControllers())
        if (other != this && &other->drawing() == NUPO4Drawing::frontDrawing())
            other->storeFrame();
    NibController::windowWillClose(window);
}

void NUPO4DrawWindowController::windowDidMove(QObject*)
{
    storeFrame();
}

void NUPO4DrawWindowController::windowDidResize(QObject*)
{
    storeFrame();
}

void NUPO4DrawWindowController::storeFrame()
{
    WindowHandle(nibWindow()).storeShownFrame(DrawingWindowFrameR);
}

bool NUPO4DrawWindowController::eventFilter(QObject* watched, QEvent* event)
{
    // The front drawing is the one saved, with its window's frame.
    if (watched == nibWindow() && event->type() == QEvent::WindowActivate) {
        drawing_->makeFront();
        storeFrame();
    }
    return NibController::eventFilter(watched, event);
}

void NUPO4DrawWindowController::selectSource(QObject*)
{
    const int source = PopUpButton::indexOfSelectedItem(sourcePopup);
    if (source < 0 || !postSourceSelection(source))
        return;
    canvas_->setSource(source + 1);
}

void NUPO4DrawWindowController::showHistory(QObject*)
{
    canvas_->setShowsHistory(Control::state(historyBox) != 0);
}

void NUPO4DrawWindowController::changeFillColor(QObject*)
{
    drawing_->setGraphicFill(drawing_->selectedIndex(), Control::color(fillColorWell));
}

void NUPO4DrawWindowController::undoEdit(QObject*)
{
    drawing_->undoStack().undo();
}

void NUPO4DrawWindowController::redoEdit(QObject*)
{
    drawing_->undoStack().redo();
}

void NUPO4DrawWindowController::statusTick()
{
    // Following the brain switches tells the 3D windows (their frames draw from their own copies).
    if (AlwaysUpdateBSX != 0 && canvas_->source() > 0)
        drawing_->followBrainSwitches(canvas_->source() - 1);
    canvas_->setNeedsDisplay(true);
}

namespace {

// A Brain Channel entry names what its number makes the graphic's window show: the entry of that number
// in the window's display-mode menu for the channels in use (the 3D window's for a rectangle). A number
// that menu holds only as a dash, or not at all, is named as the four-channel menu names it.
QString brainChannelEntry(GraphicKind kind, int channel)
{
    QStringList (*titles)(int) = &QX3DSpectrumAppController::viewModeTitles;
    if (kind == GraphicKind::RawwaveView)
        titles = &QXRawwaveGraphController::viewModeTitles;
    else if (kind == GraphicKind::BarGraphView)
        titles = &QX2DBarGraphController::viewModeTitles;
    else if (kind == GraphicKind::WaterfallView)
        titles = &QX2DSpectrumAppController::viewModeTitles;
    const auto named = [channel](const QStringList& list) {
        const QString title = channel < list.size() ? list[channel] : QString();
        return title.count(QLatin1Char('-')) == title.size() ? QString() : title;
    };
    QString title = named(titles(DeviceConfig.load(std::memory_order_relaxed)));
    if (title.isEmpty())
        title = named(titles(3));
    return title.isEmpty() ? QStringLiteral("%1: no display mode").arg(channel)
                           : QStringLiteral("%1: %2").arg(channel).arg(title);
}

}  // namespace

QMenu* NUPO4DrawWindowController::graphicMenu(const QPointF& point)
{
    const int index = drawing_->graphicAt(point);
    drawing_->select(index);
    const NUPO4Graphic* g = drawing_->selectedGraphic();
    if (!g)
        return nullptr;
    auto* menu = new QMenu(canvasWidget());
    // One checkable entry per value; choosing one is an undoable edit of the graphic.
    auto addChoices = [this, menu, index](const QString& title, int first, int last, int current, auto name,
                                          bool channel) {
        QMenu* sub = menu->addMenu(title);
        auto* group = new QActionGroup(sub);
        for (int value = first; value <= last; ++value) {
            // "&" in a title is text, not the mark of a shortcut letter.
            QString shown = name(value);
            QAction* entry = sub->addAction(shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
            entry->setCheckable(true);
            entry->setChecked(value == current);
            group->addAction(entry);
            connect(entry, &QAction::triggered, this, [this, index, value, channel] {
                channel ? drawing_->setGraphicBrainChannel(index, value)
                        : drawing_->setGraphicView(index, value);
            });
        }
    };
    addChoices(
        QStringLiteral("Brain Channel"), 1, 10, g->brainChannel(),
        [kind = g->kind()](int channel) { return brainChannelEntry(kind, channel); }, true);
    addChoices(
        QStringLiteral("View"), 0, 19, g->view(),
        [](int view) {
            return view < 10 ? QStringLiteral("Mode %1").arg(view)
                             : QStringLiteral("Window %1").arg(view - 10);
        },
        false);
    return menu;
}

void NUPO4DrawWindowController::drawingChanged()
{
    canvas_->setNeedsDisplay(true);
    const NUPO4Graphic* selected = drawing_->selectedGraphic();
    if (selected)
        Control::setColor(fillColorWell, selected->fillColor());
    Control::setEnabled(fillColorWell, selected != nullptr);
    Control::setEnabled(undoButton, drawing_->undoStack().canUndo());
    Control::setEnabled(redoButton, drawing_->undoStack().canRedo());
    QString status =
        QStringLiteral("%1 graphics, %2 rectangles").arg(drawing_->count()).arg(drawing_->rectangleCount());
    if (selected) {
        const QRectF b = selected->bounds();
        status += QStringLiteral("; %1 at x %2, y %3, %4 × %5")
                      .arg(selected->kindName())
                      .arg(b.x())
                      .arg(b.y())
                      .arg(b.width())
                      .arg(b.height());
    }
    Control::setStringValue(statusField, status);
}

}  // namespace nupo
