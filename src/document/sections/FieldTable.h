#pragma once

// Tables that tie a section's keys to process-wide variables, so that a section names its fields once and
// writes, stages and applies them all alike.

#include "document/DocumentSection.h"
#include "midi/common/SetupArray.h"

#include <atomic>
#include <optional>
#include <variant>
#include <vector>

namespace nupo {

// A scalar setting: written as a number, read back clamped to low..high.
struct ScalarField {
    using Target = std::variant<int*, float*, double*, std::atomic<int>*>;
    QString key;
    Target target;
    double low;
    double high;
};

class ScalarFields {
public:
    explicit ScalarFields(std::vector<ScalarField> fields) : fields(std::move(fields)) {}

    void write(PlistDictionary& section) const;
    bool stage(SectionInput& input);
    void apply();

private:
    std::vector<ScalarField> fields;
    std::vector<std::optional<double>> staged;
};

// A field of a setup table: one array entry for each of the 128 setups, written as an array of 128
// numbers (or names, cut to nameLength).
struct SetupField {
    using Target = std::variant<SetupArray<int>*, SetupArray<float>*, SetupNames*>;
    QString key;
    Target target;
    double low = 0;
    double high = 0;
    int nameLength = maxSetupNameLength;
    QString (*storedName)(const QString&) = nullptr;  // how the table stores a name (ASCII, bounded)
};

class SetupFields {
public:
    explicit SetupFields(std::vector<SetupField> fields) : fields(std::move(fields)) {}

    void write(PlistDictionary& section) const;
    bool stage(SectionInput& input);
    void apply();

private:
    struct Staged {
        std::vector<double> numbers;
        std::vector<QString> names;
        bool present = false;
    };
    std::vector<SetupField> fields;
    std::vector<Staged> staged;
};

}  // namespace nupo
