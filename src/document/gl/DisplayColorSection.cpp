#include "document/gl/DisplayColorSection.h"

#include "plots/bargraph/gl/QX2DBarGraphView.h"
#include "plots/rawwave/gl/QXRawwaveGraphView.h"
#include "plots/waterfall/gl/QX2DSpectrumGLView.h"

namespace nupo {

namespace {

const QString colourKeys[3] = {QStringLiteral("Rawwave"), QStringLiteral("Bargraph"),
                               QStringLiteral("Waterfall")};

// The same two operations on each of the three shared views.
template <class F>
void forEachView(F&& f)
{
    f(0, QXRawwaveGraphView::sharedQXRawwaveGraphView());
    f(1, QX2DBarGraphView::sharedQX2DBarGraphView());
    f(2, QX2DSpectrumGLView::sharedQX2DSpectrumGLView());
}

}  // namespace

PlistDictionary DisplayColorSection::getNUPO4DisplayColor() const
{
    PlistDictionary section;
    forEachView([&section](int i, auto& view) {
        PlistValue::Array components;
        for (int c = 0; c < 4; ++c)
            components.push_back(floatValue(view.getBackgroundColor(c)));
        section.insert(colourKeys[i], std::move(components));
    });
    return section;
}

bool DisplayColorSection::stage(SectionInput& input)
{
    for (int i = 0; i < 3; ++i) {
        staged[std::size_t(i)] = input.numbers(colourKeys[i], 4, 0, 1);
        if (staged[std::size_t(i)] && staged[std::size_t(i)]->size() != 4)
            input.fail(colourKeys[i],
                       QStringLiteral("a colour is four components: red, green, blue and alpha"));
        if (input.failed())
            return false;
    }
    return true;
}

void DisplayColorSection::putNUPO4DisplayColor()
{
    forEachView([this](int i, auto& view) {
        if (const auto& components = staged[std::size_t(i)])
            for (int c = 0; c < 4; ++c)
                view.setBackgroundColorA(c, float((*components)[std::size_t(c)]));
        staged[std::size_t(i)].reset();
    });
}

}  // namespace nupo
