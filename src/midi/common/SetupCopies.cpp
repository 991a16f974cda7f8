#include "midi/common/SetupCopies.h"

#include <algorithm>

namespace nupo {

namespace {

template <class T>
T valueOf(const std::atomic<T>& entry)
{
    return entry.load();
}

QString valueOf(const QString& entry)
{
    return entry;
}

template <class Fields>
void writeDefaultsOf(const Fields& fields)
{
    for (const auto& field : fields) {
        if (!field.hasDefault)
            continue;
        for (int s = 0; s < maxSetupNumber; ++s) {
            field.edited[s] = field.defaultValue;
            field.committed[s] = field.defaultValue;
        }
    }
}

template <class Fields>
void commitOf(const Fields& fields, int s)
{
    for (const auto& field : fields)
        if (field.copiedBySet)
            field.committed[s] = valueOf(field.edited[s]);
}

template <class Fields>
void revertOf(const Fields& fields, int s)
{
    for (const auto& field : fields)
        if (field.copiedByCancel)
            field.edited[s] = valueOf(field.committed[s]);
}

}  // namespace

void SetupCopies::writeDefaults() const
{
    writeDefaultsOf(floats);
    writeDefaultsOf(doubles);
    writeDefaultsOf(ints);
    writeDefaultsOf(names);
}

void SetupCopies::commit(int s) const
{
    if (!validSetup(s))
        return;
    commitOf(floats, s);
    commitOf(doubles, s);
    commitOf(ints, s);
    commitOf(names, s);
}

void SetupCopies::revert(int s) const
{
    if (!validSetup(s))
        return;
    revertOf(floats, s);
    revertOf(doubles, s);
    revertOf(ints, s);
    revertOf(names, s);
}

QString storedSetupName(const QString& name)
{
    QString stored;
    stored.reserve(std::min<qsizetype>(name.size(), maxSetupNameLength));
    for (const QChar c : name) {
        if (stored.size() >= maxSetupNameLength)
            break;
        stored.append(c.unicode() < 128 ? c : QLatin1Char('?'));
    }
    return stored;
}

}  // namespace nupo
