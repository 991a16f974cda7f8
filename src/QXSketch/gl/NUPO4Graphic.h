#pragma once

#include "platform/colour/RGBAColor.h"

#include <QRectF>
#include <QString>

#include <memory>
#include <optional>

namespace nupo {

class GraphicsContext;

// Strokes the four edges of a rectangle as one path in the current stroke colour and width.
void strokeOutline(GraphicsContext& context, const QRectF& rect);

// The graphic kinds of a brain-note drawing: the brain-switch rectangle and the live-view placeholders
// (a place on the drawing that stands for one of the program's views).
enum class GraphicKind { Rectangle, RawwaveView, BarGraphView, WaterfallView, SpectrumView3D };

// One graphic of a brain-note drawing. Bounds are in drawing coordinates (origin top left, y downward).
class NUPO4Graphic {
public:
    virtual ~NUPO4Graphic() = default;

    // A new graphic of a kind: a rectangle or the placeholder of a view.
    static std::unique_ptr<NUPO4Graphic> make(GraphicKind kind, const QRectF& bounds);
    // The kind whose kindName() is name, if any.
    static std::optional<GraphicKind> kindNamed(const QString& name);
    static constexpr int kindCount = 5;

    GraphicKind kind() const { return kind_; }
    // "Rectangle", "Rawwave View", ...: what the canvas writes on a placeholder and tests print.
    QString kindName() const { return nameOfKind(kind_); }
    static QString nameOfKind(GraphicKind kind);

    QRectF bounds() const { return bounds_; }
    // Normalised (a negative width or height flips the origin); width and height at least 1.
    void setBounds(const QRectF& bounds);
    // Each replaces one component of the bounds and keeps the others.
    void setXPosition(double x);
    void setYPosition(double y);
    void setWidth(double width);
    void setHeight(double height);
    double xPosition() const { return bounds_.x(); }
    double yPosition() const { return bounds_.y(); }
    double width() const { return bounds_.width(); }
    double height() const { return bounds_.height(); }

    // The fill colour; it becomes the plot windows' background `windowColor` (and windowColourTaken
    // tells the windows that take it up), and brain-switch colour observers hear "WaterfallBSupdate".
    RGBAColor fillColor() const { return fillColor_; }
    void setFillColor(const RGBAColor& colour);

    // Brain channel: the source 1..10 the graphic stands for; view: the view selection 0..19 (view
    // modes 0..9, window entries 10..19). Placeholders hand them to their view as its next view mode and
    // second number. Out of range: nothing changes, logged once, false.
    int brainChannel() const { return brainChannel_; }
    bool setBrainChannel(int channel);
    int view() const { return view_; }
    bool setView(int view);
    static bool brainChannelInRange(int channel) { return channel >= 1 && channel <= 10; }
    static bool viewInRange(int view) { return view >= 0 && view <= 19; }

    // Takes the fill colour, brain channel and view a saved drawing had, as they stand and without
    // handing them on: the shared window colour, the notification and the views' selections stay as the
    // rest of the document set them. Channel and view are clamped to their ranges.
    void restoreState(const RGBAColor& fill, int channel, int view);

    // Installed by the window layer: the 3D window takes up `windowColor` (setWindowColorValue).
    static inline void (*windowColourTaken)() = nullptr;

    bool isPlaceholder() const { return kind_ != GraphicKind::Rectangle; }
    // Fills the bounds and strokes the outline (the placeholders with their name) in drawing coordinates.
    virtual void draw(GraphicsContext& context) const;

protected:
    NUPO4Graphic(GraphicKind kind, const QRectF& bounds);

private:
    GraphicKind kind_;
    QRectF bounds_;
    RGBAColor fillColor_ = RGBAColor::fromRGBA(0.55, 0.75, 1.0, 0.45);
    int brainChannel_ = 1;
    int view_ = 0;
};

// A brain-switch rectangle.
class NUPO4Rectangle : public NUPO4Graphic {
public:
    explicit NUPO4Rectangle(const QRectF& bounds) : NUPO4Graphic(GraphicKind::Rectangle, bounds) {}
};

// A live-view placeholder of the raw-wave, bar-graph, waterfall or 3D view.
class NUPO4LiveView : public NUPO4Graphic {
public:
    NUPO4LiveView(GraphicKind kind, const QRectF& bounds) : NUPO4Graphic(kind, bounds) {}
    void draw(GraphicsContext& context) const override;
};

}  // namespace nupo
