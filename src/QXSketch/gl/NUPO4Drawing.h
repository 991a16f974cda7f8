#pragma once

#include "QXSketch/gl/NUPO4Graphic.h"

#include <QUndoStack>

#include <functional>
#include <memory>
#include <vector>

namespace nupo {

// The graphics of one brain-note drawing, in drawing order, with the selection and the undo stack of
// the user's edits (add, delete, move or resize, fill colour). One drawing is the front drawing: the one
// the program's own scripting of rectangles (moveRectangle, setBSrectangle) reaches and documents save.
// When it goes (its window closes), the drawing that was in front before it is the front one again.
class NUPO4Drawing {
public:
    NUPO4Drawing();
    ~NUPO4Drawing();
    NUPO4Drawing(const NUPO4Drawing&) = delete;
    NUPO4Drawing& operator=(const NUPO4Drawing&) = delete;

    static NUPO4Drawing* frontDrawing();
    void makeFront();
    // No longer a candidate for the front (its window is closing); the drawing in front before it, if
    // any, is the front drawing now.
    void leaveFront();

    int count() const { return int(graphics.size()); }
    NUPO4Graphic* graphic(int index) const;
    int indexOf(const NUPO4Graphic* graphic) const;
    // The topmost graphic whose bounds hold the point, or -1.
    int graphicAt(const QPointF& point) const;
    // The k-th rectangle (1-based, in drawing order) or null.
    NUPO4Graphic* rectangle(int k) const;
    int rectangleCount() const;

    int selectedIndex() const { return selected; }
    NUPO4Graphic* selectedGraphic() const { return graphic(selected); }
    void select(int index);

    // Undoable edits; each returns false (and changes nothing) for an index out of range.
    void addGraphic(std::unique_ptr<NUPO4Graphic> graphic);
    bool removeGraphic(int index);
    bool setGraphicBounds(int index, const QRectF& bounds);
    bool setGraphicFill(int index, const RGBAColor& colour);
    // The brain channel (1..10) and the view (0..19) a graphic hands to its view; out of range or a
    // missing graphic: nothing changes, false.
    bool setGraphicBrainChannel(int index, int channel);
    bool setGraphicView(int index, int view);
    QUndoStack& undoStack() { return undo; }

    // The drawing of a document just opened: its graphics replace these, with the given selection (-1
    // for none), and the undo stack starts clean. Not an undoable edit.
    void replaceGraphics(std::vector<std::unique_ptr<NUPO4Graphic>> newGraphics, int selection);

    // Moves and resizes rectangle k (1-based) to (x, y, w, h) in drawing coordinates. A k without a
    // rectangle changes nothing, is logged once and gives false. Not an undoable edit: it follows the
    // brain-switch settings.
    bool moveRectangle(int k, double x, double y, double w, double h);
    // Sets the brain channel or the view of rectangle k (1-based), as its remote setters do. Not undoable.
    // A k without a rectangle is logged once and gives false, as does a value out of range.
    bool setRectangleBrainChannel(int k, int channel);
    bool setRectangleView(int k, int view);

    // Rectangles 1..8 take the frames of the brain-switch windows 8..1 of source 0..9 (rectangle k
    // stands for window 9 − k), as setBSrectangle frames them. Nothing for a source out of range.
    void followBrainSwitches(int source);

    // Called after every change (the canvas redraws).
    std::function<void()> changed;

private:
    friend class DrawingEditCommand;
    void notify();
    std::unique_ptr<NUPO4Graphic> take(int index);
    bool setGraphicNumber(int index, int value, bool channel);
    NUPO4Graphic* rectangleOrReport(int k) const;
    void insert(int index, std::unique_ptr<NUPO4Graphic> graphic);

    std::vector<std::unique_ptr<NUPO4Graphic>> graphics;
    int selected = -1;
    QUndoStack undo;
};

// moveRectangle on the front drawing; false (logged once) when there is none.
bool moveRectangle(int k, double x, double y, double w, double h);

// The rectangle setters above on the front drawing; false (logged once) when there is none.
bool setRectangleBrainChannel(int k, int channel);
bool setRectangleView(int k, int view);

// Makes setBSrectangle move the front drawing's rectangles natively while scripts are on. Moves asked
// for on another thread run on the main thread, in order.
void installNativeRectangleMover();

}  // namespace nupo
