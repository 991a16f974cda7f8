#pragma once

#include "platform/viewhost/gl/ViewObject.h"

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace nupo {

// What a window hands over as its views retire (ViewObject::retire): objects released together, in the
// order they were added (a drawing before the view state it draws, for instance).
class RetiredObjects {
public:
    RetiredObjects() = default;
    RetiredObjects(const RetiredObjects&) = delete;
    RetiredObjects& operator=(const RetiredObjects&) = delete;
    ~RetiredObjects()
    {
        for (std::shared_ptr<void>& object : objects_)
            object.reset();
    }

    template <class T>
    void add(std::unique_ptr<T> object)
    {
        if (object)
            objects_.emplace_back(std::move(object));
    }

private:
    std::vector<std::shared_ptr<void>> objects_;
};

// ViewObject::retire for a controller that owns its views and what their frames read through unique
// pointers: takes them over (the members are null afterwards) and releases them in the order given once
// no frame of those views is in flight. The first thing in the controller's destructor, e.g.
//   retireViews({drawing.get()}, drawing, viewState);
template <class... Owned>
void retireViews(std::initializer_list<ViewObject*> views, std::unique_ptr<Owned>&... owned)
{
    auto retired = std::make_shared<RetiredObjects>();
    (retired->add(std::move(owned)), ...);
    ViewObject::retire(views, std::move(retired));
}

}  // namespace nupo
