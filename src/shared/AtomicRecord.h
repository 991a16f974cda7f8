#pragma once

#include <atomic>

namespace nupo {

// A record shared between threads is the twin of a plain record with every field an atomic. Storing and
// loading go field by field with relaxed order: each field is always whole, and a record read while
// another thread stores it may combine the two, nothing worse.
//
// A twin derives from AtomicRecord<Twin, Plain> and names its fields once, after its definition:
//
//     template <>
//     struct AtomicRecordFields<SharedX> : RecordFields<RecordField<&SharedX::a, &X::a>, ...> {};

// One field: the twin's atomic member and the plain record's member it holds.
template <auto SharedMember, auto PlainMember>
struct RecordField {
};

template <class... Fields>
struct RecordFields;

template <auto... SharedMembers, auto... PlainMembers>
struct RecordFields<RecordField<SharedMembers, PlainMembers>...> {
    template <class Shared, class Plain>
    static void store(Shared& shared, const Plain& plain)
    {
        ((shared.*SharedMembers).store(plain.*PlainMembers, std::memory_order_relaxed), ...);
    }
    template <class Plain, class Shared>
    static Plain load(const Shared& shared)
    {
        Plain plain;
        ((plain.*PlainMembers = (shared.*SharedMembers).load(std::memory_order_relaxed)), ...);
        return plain;
    }
};

// Specialised for each twin (see above).
template <class Shared>
struct AtomicRecordFields;

template <class Shared, class Plain>
struct AtomicRecord {
    void store(const Plain& record)
    {
        AtomicRecordFields<Shared>::store(static_cast<Shared&>(*this), record);
    }
    Plain load() const
    {
        return AtomicRecordFields<Shared>::template load<Plain>(static_cast<const Shared&>(*this));
    }
};

}  // namespace nupo
