#pragma once

// The two copies of a mapper's setup table: the edited copy (names ending in X) that the panel writes
// and the worker reads, and the committed copy (ending in XZ) that changes only through the defaults
// and Set; Cancel copies it back. A mapper lists its fields once, with their defaults and which of the
// two copy steps skip them.

#include "midi/common/SetupArray.h"

#include <type_traits>
#include <vector>

namespace nupo {

template <class T>
struct SetupField {
    using Array = std::conditional_t<std::is_same_v<T, QString>, SetupNames, SetupArray<T>>;
    Array& edited;
    Array& committed;
    T defaultValue;
    bool hasDefault = true;
    bool copiedBySet = true;
    bool copiedByCancel = true;
};

class SetupCopies {
public:
    std::vector<SetupField<float>> floats;
    std::vector<SetupField<double>> doubles;
    std::vector<SetupField<int>> ints;
    std::vector<SetupField<QString>> names;

    // Writes the defaults into both copies of every setup.
    void writeDefaults() const;
    // Set: the edited fields of setup s into its committed copy.
    void commit(int s) const;
    // Cancel: the committed fields of setup s back into its edited copy.
    void revert(int s) const;
};

}  // namespace nupo
