#include "platform/viewhost/gl/DrawingClass.h"

#include <deque>
#include <map>
#include <memory>
#include <typeindex>
#include <utility>
#include <vector>

namespace nupo {

namespace {

struct ClassState {
    std::mutex drawing;     // held by a frame of the class while it draws
    std::mutex queueGuard;  // guards queue
    std::deque<std::function<void()>> queue;
};

std::mutex& registryGuard()
{
    static auto* guard = new std::mutex;
    return *guard;
}

// Lives to process end: a drawing thread left to a stuck frame may still hold its class's lock.
std::map<std::type_index, std::unique_ptr<ClassState>>& registry()
{
    static auto* classes = new std::map<std::type_index, std::unique_ptr<ClassState>>;
    return *classes;
}

ClassState& stateOf(const std::type_info& type)
{
    std::lock_guard lock(registryGuard());
    std::unique_ptr<ClassState>& state = registry()[std::type_index(type)];
    if (!state)
        state = std::make_unique<ClassState>();
    return *state;
}

// Runs the queue in order, one request at a time (a request may queue another).
void drain(ClassState& state)
{
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard lock(state.queueGuard);
            if (state.queue.empty())
                return;
            fn = std::move(state.queue.front());
            state.queue.pop_front();
        }
        fn();
    }
}

}  // namespace

std::mutex& DrawingClass::lockOf(const std::type_info& type)
{
    return stateOf(type).drawing;
}

void DrawingClass::runBetweenFrames(const std::type_info& type, std::function<void()> fn)
{
    ClassState& state = stateOf(type);
    std::unique_lock drawing(state.drawing, std::try_to_lock);
    {
        std::lock_guard lock(state.queueGuard);
        if (!drawing.owns_lock() || !state.queue.empty()) {
            state.queue.push_back(std::move(fn));
            if (!drawing.owns_lock())
                return;
            fn = {};
        }
    }
    drain(state);  // what came before it, then fn
    if (fn)
        fn();
}

void DrawingClass::runQueuedLocked(const std::type_info& type)
{
    drain(stateOf(type));
}

void DrawingClass::runQueuedWhereIdle()
{
    std::vector<ClassState*> states;
    {
        std::lock_guard lock(registryGuard());
        for (auto& [type, state] : registry())
            states.push_back(state.get());
    }
    for (ClassState* state : states) {
        std::unique_lock drawing(state->drawing, std::try_to_lock);
        if (drawing.owns_lock())
            drain(*state);
    }
}

}  // namespace nupo
