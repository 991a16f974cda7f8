#include "document/gl/StoredWindowFrame.h"

#include "plots/frame/gl/PlotWindowState.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace nupo {

namespace {

constexpr double maxCoordinate = 100000.0;

PlistValue rectValue(const QRectF& r)
{
    return PlistValue::Array{numberValue(r.x()), numberValue(r.y()), numberValue(r.width()),
                             numberValue(r.height())};
}

std::optional<QRectF> stageRect(SectionInput& input, const QString& key)
{
    const auto r = input.numbers(key, 4, -maxCoordinate, maxCoordinate);
    if (!r)
        return std::nullopt;
    if (r->size() != 4) {
        input.fail(key, QStringLiteral("a frame is four numbers: x, y, width and height"));
        return std::nullopt;
    }
    return QRectF((*r)[0], (*r)[1], std::max(0.0, (*r)[2]), std::max(0.0, (*r)[3]));
}

}  // namespace

QStringList storedFrameKeys(const QString& boundsKey)
{
    return {boundsKey, boundsKey + QStringLiteral("Normal"), boundsKey + QStringLiteral("Maximised")};
}

void writeStoredFrame(PlistDictionary& section, const QString& boundsKey, const PlotWindowState& state)
{
    const QStringList keys = storedFrameKeys(boundsKey);
    const bool maximised = state.maximised != 0 && !state.normalBounds.isEmpty();
    section.insert(keys[0], rectValue(state.bounds));
    section.insert(keys[1], rectValue(maximised ? state.normalBounds : state.bounds));
    section.insert(keys[2], integerValue(maximised ? 1 : 0));
}

StagedWindowFrame stageStoredFrame(SectionInput& input, const QString& boundsKey)
{
    const QStringList keys = storedFrameKeys(boundsKey);
    StagedWindowFrame staged;
    staged.bounds = stageRect(input, keys[0]);
    staged.normal = stageRect(input, keys[1]);
    staged.maximised = input.integer(keys[2], 0, 1);
    return staged;
}

void applyStoredFrame(const StagedWindowFrame& staged, const std::optional<QSizeF>& savedScreen,
                      PlotWindowState& state)
{
    if (!staged.bounds || staged.bounds->isEmpty())
        return;
    const QRectF bounds = storedFrameOnThisScreen(*staged.bounds, savedScreen);
    const QRectF normal = staged.normal && !staged.normal->isEmpty()
                              ? storedFrameOnThisScreen(*staged.normal, savedScreen)
                              : bounds;
    const bool maximised = staged.maximised.value_or(0) != 0;
    state.bounds = bounds;
    state.normalBounds = normal;
    state.maximised = maximised ? 1 : 0;
    state.maximiseNext = state.maximised;
    // A maximised window opens at its normal frame, then is maximised: restored, it goes back there.
    state.setWframe(maximised ? normal : bounds);
}

void dropStoredFrame(PlotWindowState& state)
{
    state.bounds = QRectF();
    state.normalBounds = QRectF();
    state.maximised = 0;
    state.maximiseNext = 0;
    state.pendingFrameSet = 0;
}

void writeStoredScreen(PlistDictionary& section)
{
    if (const auto screen = screenOfStoredFrames())
        section.insert(storedScreenKey,
                       PlistValue::Array{numberValue(screen->width()), numberValue(screen->height())});
}

std::optional<QSizeF> stageStoredScreen(SectionInput& input)
{
    const auto size = input.numbers(storedScreenKey, 2, 0, maxCoordinate);
    if (!size)
        return std::nullopt;
    if (size->size() != 2) {
        input.fail(storedScreenKey, QStringLiteral("a screen size is two numbers: width and height"));
        return std::nullopt;
    }
    // A size of nothing says nothing of where the frames were.
    if ((*size)[0] < 1 || (*size)[1] < 1)
        return std::nullopt;
    return QSizeF((*size)[0], (*size)[1]);
}

std::optional<QSizeF> screenOfStoredFrames()
{
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen || screen->geometry().isEmpty())
        return std::nullopt;
    return QSizeF(screen->geometry().size());
}

QRectF storedFrameOnThisScreen(const QRectF& stored, const std::optional<QSizeF>& savedScreen)
{
    const std::optional<QSizeF> screen = screenOfStoredFrames();
    if (!savedScreen || !screen)
        return stored;
    // y is the distance of the frame's bottom from the screen's bottom: the same distance of its top
    // from the screen's top is y grown by what the screen grew.
    return stored.translated(0.0, screen->height() - savedScreen->height());
}

}  // namespace nupo
