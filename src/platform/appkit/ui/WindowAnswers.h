#pragma once

// A window manager's answers to the program's requests for a window that settled (see
// WindowPlacement::isSettling): under load an old request may be answered after the window settled, and
// would put it back on a spot or at a size it held while settling. Such an answer is told apart from a
// move that counts (the user's, or one the program asked for) and undone. Main thread only.
#include <QPoint>
#include <QSize>

class QWidget;

namespace nupo::windowAnswers {

// As long as a window may take to settle, and as long after it settled as an answer may come late.
inline constexpr int longestSettlingMs = 5000;

// Notes the window's client area as it moved or was resized: one it held while settling, and where the
// program moved it (not the display telling of a move), the area last asked for.
void noteArea(QWidget* window, bool settling, bool told);
// Notes that the window settled now. The move event `tellSettled` sends to say so is no request.
void noteSettled(QWidget* window, void (*tellSettled)(QWidget*));
// The size last asked for, else the given one.
QSize askedSize(const QWidget* window, const QSize& otherwise);
// Answers a move or resize the display told of a window that settled: an old request answered late
// puts it back where it was last asked to stand; any other move is where it stands from now on.
void answerTold(QWidget* window);

// A window shown before the window manager framed it has its client area put inside a decoration guessed
// (see WindowPlacement's first show): notes the guess's offset of the client from the frame's corner.
void noteClientPlaced(QWidget* window, const QPoint& guessedOffset);
// The window manager maximised such a window before framing it: as its normal frame it keeps the client
// area the window was mapped at, off the frame corner `spot` by what the guess was wrong.
void noteMaximisedUnframed(QWidget* window, const QPoint& spot);
// Restored from there (its client where it was mapped), the window goes to the spot, once.
void answerRestored(QWidget* window);

}  // namespace nupo::windowAnswers
