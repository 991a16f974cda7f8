#pragma once

#include <QList>
#include <QMargins>
#include <QObject>
#include <QRect>

#include <functional>
#include <optional>

class QWidget;

namespace nupo {

// Where the program's top-level windows open. Every window opens inside the available area of its
// screen: a nib position, a saved frame or a layout frame that lies (partly) off screen is moved in,
// and a window larger than the area is shrunk to it (not below its minimum size). A new window that
// would open exactly on top of a shown window of the same title is cascaded down and to the right.
// A window opening where it would cover shown windows opens instead, at its size, where it covers the
// least of their controls, then of them (none, where the screen has room); a window whose frame its
// caller chose (a frame stored in a document) keeps that frame.
//
// A window that floats above the others (the drawing tool palette) would hide what lies under it for
// good: marked with keepClear(), it is one that other windows open clear of. No window can be made
// larger than the available area of its screen.
//
// watchTopLevelWindows() installs this once for the whole application: every top-level window is
// placed at its first show, whoever creates it, and the first-show hooks run on it (the main menu
// gives every window its menu bar this way).
class WindowPlacement : public QObject {
public:
    using FirstShowHook = std::function<void(QWidget* window)>;

    // Installs the application-wide watcher (once; later calls do nothing). Needs a QApplication.
    static void watchTopLevelWindows();
    // Runs for every ordinary top-level window (not popups, tool windows or dialogs) at its first show.
    static void addFirstShowHook(FirstShowHook hook);

    // The available area (screen minus panels) of the screen the window is on, else the primary one.
    static QRect availableArea(const QWidget* window);
    // The window's decoration (title bar, borders). Before the window manager has framed the window,
    // the decoration of another framed window of the program stands in for it, or before any is framed
    // a usual X title bar, so that a frame set early and read back later keeps its size.
    static QMargins decorationOf(const QWidget* window);
    // Whether a window manager runs that frames the program's windows: on X one that announces itself
    // (every usual one does); elsewhere, or unknown, whether one has framed a shown window already.
    static bool windowManagerRuns();
    // Moves (and if need be shrinks) the window so that its whole frame lies in the available area.
    static void keepOnScreen(QWidget* window);
    // Offsets the window while a shown window of the same title has its top-left corner at the same spot.
    static void cascade(QWidget* window);
    // The step of cascade().
    static constexpr int cascadeStep = 24;
    // Whether the window is shown but still being framed by the window manager and placed again: its
    // frame is then no frame to keep (it may stand a title bar off, or at the size it was mapped at).
    // It settles when first painted or activated where it stands, or a second after its frame is told
    // (five after its first show at the latest); it then gets a move event of its own. For as long again,
    // a window manager's late answer that puts it back where it stood or at a size it had while settling
    // is undone.
    static bool isSettling(const QWidget* window);
    // Notes where the window's frame corner was put: where it goes again, should the window manager
    // frame it elsewhere, and where cascade() finds it. A client size given is the size it takes again
    // then (a window manager framing a window may answer with the size it was mapped at).
    static void noteSpot(QWidget* window, const QPoint& frameCorner, const QSize& clientSize = QSize());
    // Moves the window's frame corner to `corner` (also while the window manager is still framing it).
    static void moveFrame(QWidget* window, const QPoint& corner);
    // Marks a window whose frame its caller chose before its first show: it is not moved away from
    // the windows it covers (it is still kept on the screen and clear of the windows kept clear).
    static void keepChosenFrame(QWidget* window);
    static bool keepsChosenFrame(const QWidget* window);
    // Marks a window that opens at the size its panel needs (a dialog, a panel): the placement of new
    // windows picks where it goes, never shrinks it (it may cover other windows). Dialogs are so marked.
    static void keepOwnSize(QWidget* window);
    static bool keepsOwnSize(const QWidget* window);
    // Moves a window that keeps its own size (a dialog, a panel), at that size, to where it stands whole
    // on the screen: the nearest spot clear of the windows kept clear; else the nearest spot clear of
    // those that never give way, the others moving aside for it; else the spot that covers the least of
    // their controls (it then lies over them). Returns false, leaving the window where it is, when the
    // screen's available area cannot hold it whole.
    static bool placeWhole(QWidget* window);
    // Keeps the window on the screen and moves it clear of the windows kept clear, unless its caller
    // chose its frame and that frame lies on the screen: a frame the user chose comes back as it was.
    static void placeOnScreenClear(QWidget* window);
    // Moves the window, at its size, to the spot of the available area where it covers the least of
    // the shown windows' controls, then of the shown windows, and none of the windows kept clear nor the
    // place given by openClearOf() (openingSpot); leaves it where it is when it covers nothing. Where no
    // spot holds it whole clear of the shown windows, it takes the largest free area instead, shrunk,
    // when that holds at least half of it.
    static void openClearOfShownWindows(QWidget* window);
    // Gives a window, before its first show, a place (screen coordinates) it opens clear of as of the
    // windows kept clear: the row of buttons that opens it.
    static void openClearOf(QWidget* window, const QRect& place);
    // The places of a shown window's controls in screen coordinates: its title bar, its menu bar and
    // the buttons, fields, sliders, lists and texts of its content; not its plots and pictures.
    static QList<QRect> controlsOf(const QWidget* window);

    // Marks the widget that shows a window's picture (a plot view's place): as drawers open, the window
    // keeps at least half of its area.
    static void markPicture(QWidget* widget);
    // The largest shown picture of the window (not of its drawers); none in a window of controls.
    static const QWidget* pictureOf(const QWidget* window);

    // The window's frame (decoration included) in screen coordinates: as the window manager has framed
    // it, or as it will be framed.
    static QRect frameOf(const QWidget* window);
    // Marks a window that floats above the others: windows opening under it are moved clear of it.
    static void keepClear(QWidget* window);
    // Marks a window kept clear that moves aside (as a floating palette may) where nothing else makes
    // room: see giveWayTo().
    static void letGiveWay(QWidget* window);
    // The frames of the shown windows marked with keepClear(), but for the given window.
    static QList<QRect> keptClearFrames(const QWidget* except);
    // The same of the windows kept clear that never give way.
    static QList<QRect> fixedFrames(const QWidget* except);
    // The windows that give way and lie on the owner or on the windows that belong to it (its drawers and
    // panels) move aside: clear of them where the screen has room, else where they cover the least of the
    // owner's controls; never onto a window kept clear. The owner maximised, one stays where it is unless
    // it hides the owner's or its drawers' controls, and then takes the nearest corner of the screen that
    // hides none (see cornerSpot), never the middle of the picture; where there is none it hides. The
    // owner a dialog or panel at its own size (see keepOwnSize), one without room clear of it does the same.
    static void giveWayTo(QWidget* owner);
    // The windows that gave way to the owner go back where they were once the owner is hidden or not
    // maximised, where their old spot lies clear of it and of its own windows (its drawers closed); one
    // that cannot go back yet keeps clear of the owner as it now stands. Restored from maximised, the
    // owner has them go back where they stood as it was maximised. One hidden for a dialog or panel shows
    // again once that one is hidden or leaves the spot it stood on. One the user moved since stays where
    // the user put it.
    static void comeBack(QWidget* owner);
    // Moves the window, if its frame overlaps one of the given frames, to the first spot of the
    // available area (scanning from the top left, rows first) where it overlaps none; where no spot
    // holds it whole, to the spot that holds the most of it, shrunk to fit (not below its minimum
    // size). Returns false, leaving the window as it is, when no spot holds even its minimum size.
    // Which spot holding the whole window moveClearOf() and clearSpot() take: the first (scanning from
    // the top left, rows first), or the nearest to where the window stands (a window growing in place).
    enum class Prefer { FirstSpot, Nearest };
    static bool moveClearOf(QWidget* window, const QList<QRect>& frames, Prefer prefer = Prefer::FirstSpot);
    // The frame moveClearOf() gives a window of frame `current` and least frame size `least`: `current`
    // itself when it overlaps none of the frames; nothing when no spot of the area holds even `least`.
    static std::optional<QRect> clearSpot(const QRect& current, const QSize& least, const QRect& area,
                                          const QList<QRect>& frames, Prefer prefer = Prefer::FirstSpot);
    // Whether the window is maximised or full screen: as the user (or the program) asked, not by its size
    // (a window the user resized to the screen's size is not maximised).
    static bool standsMaximised(const QWidget* window);
    // Whether the window's frame takes (nearly) the whole available area, as a maximised one does: the
    // window manager may tell a maximised window's new size before its new state.
    static bool fillsArea(const QWidget* window);
    // The windows that belong to the window and are shown: its drawers and panels.
    static QList<QWidget*> ownWindowsOf(const QWidget* window);
    // The smallest frame the window can take: its minimum size and its decoration.
    static QSize leastFrameSize(const QWidget* window);
    // The largest size the window may take: the available area less its decoration (never below its
    // minimum size). Set at the first show, so the user cannot drag a window past the screen.
    static void limitToArea(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowPlacement() = default;
};

}  // namespace nupo
