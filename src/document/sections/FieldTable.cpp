#include "document/sections/FieldTable.h"

#include <cmath>

namespace nupo {

namespace {

constexpr auto relaxed = std::memory_order_relaxed;

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

void ScalarFields::write(PlistDictionary& section) const
{
    for (const ScalarField& field : fields) {
        PlistValue value = std::visit(
            Overloaded{[](int* v) { return integerValue(*v); }, [](float* v) { return floatValue(*v); },
                       [](double* v) { return numberValue(*v); },
                       [](std::atomic<int>* v) { return integerValue(v->load(relaxed)); }},
            field.target);
        section.insert(field.key, std::move(value));
    }
}

bool ScalarFields::stage(SectionInput& input)
{
    staged.assign(fields.size(), std::nullopt);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        staged[i] = input.number(fields[i].key, fields[i].low, fields[i].high);
        if (input.failed())
            return false;
    }
    return true;
}

void ScalarFields::apply()
{
    for (std::size_t i = 0; i < fields.size() && i < staged.size(); ++i) {
        if (!staged[i])
            continue;
        const double value = *staged[i];
        std::visit(Overloaded{[value](int* v) { *v = int(std::lround(value)); },
                              [value](float* v) { *v = float(value); }, [value](double* v) { *v = value; },
                              [value](std::atomic<int>* v) { v->store(int(std::lround(value)), relaxed); }},
                   fields[i].target);
    }
    staged.clear();
}

void SetupFields::write(PlistDictionary& section) const
{
    for (const SetupField& field : fields) {
        PlistValue::Array items;
        items.reserve(maxSetupNumber);
        std::visit(Overloaded{[&items](SetupArray<int>* a) {
                                  for (const auto& v : *a)
                                      items.push_back(integerValue(v.load(relaxed)));
                              },
                              [&items](SetupArray<float>* a) {
                                  for (const auto& v : *a)
                                      items.push_back(floatValue(v.load(relaxed)));
                              },
                              [&items](SetupNames* a) {
                                  for (const QString& name : *a)
                                      items.push_back(name);
                              }},
                   field.target);
        section.insert(field.key, std::move(items));
    }
}

bool SetupFields::stage(SectionInput& input)
{
    staged.assign(fields.size(), Staged{});
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const SetupField& field = fields[i];
        Staged& s = staged[i];
        if (std::holds_alternative<SetupNames*>(field.target)) {
            if (auto names = input.names(field.key, maxSetupNumber, field.nameLength)) {
                s.names = std::move(*names);
                s.present = true;
            }
        } else if (auto numbers = input.numbers(field.key, maxSetupNumber, field.low, field.high)) {
            s.numbers = std::move(*numbers);
            s.present = true;
        }
        if (input.failed())
            return false;
    }
    return true;
}

void SetupFields::apply()
{
    for (std::size_t i = 0; i < fields.size() && i < staged.size(); ++i) {
        const Staged& s = staged[i];
        if (!s.present)
            continue;
        std::visit(Overloaded{[&s](SetupArray<int>* a) {
                                  for (std::size_t k = 0; k < s.numbers.size(); ++k)
                                      (*a)[k].store(int(std::lround(s.numbers[k])), relaxed);
                              },
                              [&s](SetupArray<float>* a) {
                                  for (std::size_t k = 0; k < s.numbers.size(); ++k)
                                      (*a)[k].store(float(s.numbers[k]), relaxed);
                              },
                              [&s, &field = fields[i]](SetupNames* a) {
                                  for (std::size_t k = 0; k < s.names.size(); ++k)
                                      (*a)[k] = field.storedName ? field.storedName(s.names[k]) : s.names[k];
                              }},
                   fields[i].target);
    }
    staged.clear();
}

}  // namespace nupo
