// A window manager's late answers to a settled window (see WindowAnswers.h).
#include "platform/appkit/ui/WindowAnswers.h"

#include "platform/appkit/ui/WindowDecoration.h"
#include "platform/appkit/ui/WindowPlacement.h"

#include <QDateTime>
#include <QRect>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace nupo {

namespace {

// The client areas a window held while it settled (the size it was mapped at, the spots it was put on),
// the client area last asked for (by the program, or since it settled by the user), and when it settled.
const char* heldWhileSettlingProperty = "nupoHeldWhileSettling";
const char* askedAreaProperty = "nupoAskedArea";
const char* settledAtProperty = "nupoSettledAt";
// The offset of the client from the frame's corner guessed as it was first shown, and the frame corner a
// window maximised before it was framed restores to.
const char* guessedOffsetProperty = "nupoGuessedOffset";
const char* restoreSpotProperty = "nupoRestoreSpot";

// The most client areas kept of a window settling (it is moved a few times at most).
constexpr qsizetype heldAreasKept = 16;

// The window whose settling is being told (main thread only).
const QWidget* tellingSettled = nullptr;

bool settledMomentsAgo(const QWidget* window)
{
    const QVariant settledAt = window->property(settledAtProperty);
    return settledAt.isValid() &&
           QDateTime::currentMSecsSinceEpoch() - settledAt.toLongLong() <= windowAnswers::longestSettlingMs;
}

// Whether the window was just put on a spot or at a size it held while settling, other than the ones
// last asked for: an old request answered late.
bool putBackLate(const QWidget* window)
{
    const QRect asked = window->property(askedAreaProperty).toRect();
    const QRect now = window->geometry();
    if (!asked.isValid() || now == asked)
        return false;
    const QVariantList held = window->property(heldWhileSettlingProperty).toList();
    return std::any_of(held.begin(), held.end(), [&](const QVariant& area) {
        const QRect old = area.toRect();
        return (now.topLeft() != asked.topLeft() && now.topLeft() == old.topLeft()) ||
               (now.size() != asked.size() && now.size() == old.size());
    });
}

}  // namespace

void windowAnswers::noteArea(QWidget* window, bool settling, bool told)
{
    const QVariant area = window->geometry();
    if (settling) {
        QVariantList held = window->property(heldWhileSettlingProperty).toList();
        if (held.size() < heldAreasKept && !held.contains(area))
            held.append(area);
        window->setProperty(heldWhileSettlingProperty, held);
    }
    if (!told && window != tellingSettled)
        window->setProperty(askedAreaProperty, area);
}

void windowAnswers::noteSettled(QWidget* window, void (*tellSettled)(QWidget*))
{
    window->setProperty(settledAtProperty, QDateTime::currentMSecsSinceEpoch());
    // It may stand where a late answer left it: being told so asks for nothing.
    tellingSettled = window;
    tellSettled(window);
    tellingSettled = nullptr;
}

QSize windowAnswers::askedSize(const QWidget* window, const QSize& otherwise)
{
    const QVariant asked = window->property(askedAreaProperty);
    return asked.isValid() ? asked.toRect().size() : otherwise;
}

void windowAnswers::answerTold(QWidget* window)
{
    if (!settledMomentsAgo(window))
        return;
    if (putBackLate(window)) {
        // Back in one request by its client area; the move events it makes note it as asked.
        window->setGeometry(window->property(askedAreaProperty).toRect());
    } else {
        // Moved by the user (or as asked): answers put it there from now on.
        window->setProperty(askedAreaProperty, window->geometry());
    }
}

void windowAnswers::noteClientPlaced(QWidget* window, const QPoint& guessedOffset)
{
    window->setProperty(guessedOffsetProperty, guessedOffset);
}

void windowAnswers::noteMaximisedUnframed(QWidget* window, const QPoint& spot)
{
    if (window->property(guessedOffsetProperty).isValid())
        window->setProperty(restoreSpotProperty, spot);
}

void windowAnswers::answerRestored(QWidget* window)
{
    const QVariant spot = window->property(restoreSpotProperty);
    // Until the restored frame is told, the window stands as large as when maximised (or its client at the
    // maximised corner): it is known restored where its client stands as it was mapped.
    if (!spot.isValid() || WindowPlacement::standsMaximised(window) || WindowPlacement::fillsArea(window))
        return;
    const QMargins decoration = windowDecoration::knownDecoration(window);
    const QPoint mapped = spot.toPoint() + window->property(guessedOffsetProperty).toPoint();
    if (decoration.isNull() || window->geometry().topLeft() != mapped)
        return;
    window->setProperty(restoreSpotProperty, QVariant());
    window->setGeometry(QRect(spot.toPoint() + QPoint(decoration.left(), decoration.top()), window->size()));
}

}  // namespace nupo
