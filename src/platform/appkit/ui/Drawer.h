#pragma once

#include "platform/appkit/DrawerArrangement.h"

#include <QMargins>
#include <QPointer>
#include <QSizeF>
#include <QWidget>

#include <functional>
#include <vector>

class QScrollArea;

namespace nupo {

// A drawer: a panel that slides out beside a window's left, bottom or right edge and follows the
// window as it moves and resizes. Its depth (the width of a side drawer, the height of a bottom one)
// comes from the content size, limited by the minimum and maximum content sizes; its length is the
// window's edge less the leading and trailing offsets (measured from the top for side drawers, from
// the left for the bottom drawer), and a side drawer whose content needs more grows down past the
// window's bottom into the free screen. Opening and closing pass through the opening and closing states
// and complete on the next turn of the event loop. The user can drag the drawer's outer edge to
// resize it; the will-resize callback may change the size asked for.
//
// The open drawers of a window are laid out together, in one place (arrangeDrawers), when one opens or
// the window moves or resizes: everything on the screen and clear of the windows kept clear (the
// Control Panel, the palette). The window keeps its frame while its drawers find room on the screen
// beside it, each keeping the side it is on while it fits there (a palette in the way moves aside);
// only where none does, it moves as little as it can, and as the last drawer closes it takes back the
// frame it had before they opened (unless the user moved or resized it since). The window's picture
// keeps at least half the area it had with its drawers closed; a drawer takes the screen's room before
// it scrolls; and where nothing else fits, a drawer lies over the window's picture, clear of its
// controls, as the drawers of a maximised window do. A window the user moved or resized stays where it
// was put while its drawers find room on the screen there (the windows kept clear do not move it; its
// drawers may lie under the Control Panel). Restored from maximised, the window takes back its frame and
// its drawers their places. Controls that have no use for more height keep their natural spacing at the
// top of a drawer longer than they need.
//
// In a nib, a drawer is a child widget of the window with a string property `drawerEdge` ("left",
// "bottom", "right"); optional int properties `leadingOffset` and `trailingOffset`. The loader moves it
// into a Drawer that takes the widget's object name (the content widget is renamed "<name>Content"),
// the widget's size as content size and its minimum and maximum sizes as the limits.
class Drawer : public QWidget {
    Q_OBJECT
public:
    using Edge = DrawerEdge;
    enum class State { Closed = 0, Opening = 1, Open = 2, Closing = 3 };
    using WillResizeContents = std::function<QSizeF(Drawer* drawer, const QSizeF& requested)>;

    explicit Drawer(QWidget* parentWindow, Edge preferredEdge = Edge::Left);

    QWidget* parentWindow() const { return parentWindow_; }
    void setParentWindow(QWidget* window);

    // The drawer takes ownership of its content.
    void setContentView(QWidget* content);
    QWidget* contentView() const { return content_; }

    Edge preferredEdge() const { return preferredEdge_; }
    void setPreferredEdge(Edge edge) { preferredEdge_ = edge; }
    // The edge it is open on (or last was).
    Edge edge() const { return edge_; }

    QSizeF contentSize() const { return contentSize_; }
    // Sets the content size (limited to the minimum and maximum sizes) without asking the callback.
    void setContentSize(const QSizeF& size);
    QSizeF minContentSize() const { return minContentSize_; }
    void setMinContentSize(const QSizeF& size);
    QSizeF maxContentSize() const { return maxContentSize_; }
    void setMaxContentSize(const QSizeF& size);

    double leadingOffset() const { return leadingOffset_; }
    void setLeadingOffset(double offset);
    double trailingOffset() const { return trailingOffset_; }
    void setTrailingOffset(double offset);

    State state() const { return state_; }
    bool isOpenOrOpening() const { return state_ == State::Open || state_ == State::Opening; }
    // Open on the preferred or the given edge; a side drawer opens on the opposite side instead when only
    // that side has room on the screen and no other drawer of the window is in its way.
    void open();
    void openOnEdge(Edge edge);
    void close();
    // Closes a drawer that is open or opening; opens any other on its preferred edge.
    void toggle();

    void setWillResizeContents(WillResizeContents callback) { willResize_ = std::move(callback); }
    // A resize as the user's drag asks it: through the callback, then the limits.
    void requestContentSize(const QSizeF& size);

    // Where the drawer sits for the parent's current frame (Qt screen coordinates).
    QRect placement() const;
    // The depth it takes when the screen has room: its content size, and no less than its content needs
    // besides the strip for the resize drag.
    int naturalDepth() const;
    // Whether it is squeezed below its natural depth for want of room (its content scrolls).
    bool isSqueezed() const { return squeezedDepth_ > 0; }

    // Arranges the open drawers of the window on the screen. `opening` (a drawer opens, the window shows
    // or is maximised or restored): the window may shrink and move to make room, clear of the Control
    // Panel and the palette. A window the user moved or resized since (seen here as a frame other than
    // the one last arranged) stays where it was put while its drawers find room on the screen there.
    static void arrangeDrawersOf(QWidget* window, bool opening);

signals:
    void stateChanged(nupo::Drawer::State state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setState(State state);
    void finishTransition(int generation);
    void place();
    QSizeF limited(const QSizeF& size) const;
    bool onOuterEdge(const QPoint& position) const;
    bool isSideEdge() const { return isSideEdge(edge_); }
    static bool isSideEdge(Edge edge) { return edge != Edge::Bottom; }
    int shownDepth() const { return squeezedDepth_ > 0 ? squeezedDepth_ : naturalDepth(); }
    // The least depth it may be squeezed to: the scroll bars and the drag strip.
    int leastDepth() const;
    // Arranges the window's drawers, or places this one alone while it is closed.
    void rearrange(bool opening);
    // The length its content needs along a side edge (0 for the bottom drawer).
    int neededLength() const;
    int scrollBarExtent() const;
    static std::vector<DrawerNeed> needsOf(const QList<Drawer*>& drawers);
    // Takes the edges, depths and places the arrangement gives the drawers.
    static void placeAsArranged(const QList<Drawer*>& drawers, const DrawerArrangement& arranged);
    // Lays the drawers of a maximised window over its plot.
    static void arrangeOverMaximised(QWidget* window, const QList<Drawer*>& drawers);
    // A window restored from maximised takes back its frame and its drawers their places; false where
    // nothing is to be restored (a drawer opened while maximised is arranged anew).
    static bool restoreNormal(QWidget* window, const QList<Drawer*>& drawers);
    // Just after a restore, a frame the window manager tells from before it took the restore is answered
    // by the restored frame again (a few times at most); true where it was.
    static bool settleRestore(QWidget* window, const QList<Drawer*>& drawers);
    // As the last of its drawers closes, the window takes back the frame it had before they opened.
    static void takeClosedFrameBack(QWidget* window);

    QPointer<QWidget> parentWindow_;
    QPointer<QWidget> content_;
    QScrollArea* scroller_ = nullptr;
    Edge preferredEdge_;
    Edge edge_;
    Edge askedEdge_;         // the edge the last open asked for
    int squeezedDepth_ = 0;  // the depth it is squeezed to; 0 when it has room
    QRect arranged_;         // where it lies as last arranged, relative to its window's frame corner
    // How it stood while its window was last not maximised: restored, the window takes its frame back and
    // the drawer this edge and depth.
    bool hasNormal_ = false;
    Edge normalEdge_;
    int normalSqueezed_ = 0;
    QRect normalArranged_;
    State state_ = State::Closed;
    int generation_ = 0;
    QSizeF contentSize_{100.0, 100.0};
    QSizeF minContentSize_{0.0, 0.0};
    QSizeF maxContentSize_{1.0e6, 1.0e6};
    double leadingOffset_ = 0.0;
    double trailingOffset_ = 0.0;
    WillResizeContents willResize_;
    bool dragging_ = false;
    QPoint dragStart_;
    QSizeF sizeAtDragStart_;
};

}  // namespace nupo
