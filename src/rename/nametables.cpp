#include "rename/nametables.h"

#include <bit>

namespace {

// Room for twice the names, in a power of two so that a hash picks its first slot by a mask.
qsizetype tableSize(qsizetype names)
{
    return qsizetype(std::bit_ceil(size_t(qMax<qsizetype>(names, 16) * 2)));
}

} // namespace

NameSet::NameSet(QStringList names) : names_(std::move(names))
{
    slots_.resize(tableSize(names_.size()));
    const size_t mask = size_t(slots_.size() - 1);
    for (qsizetype i = 0; i < names_.size(); ++i) {
        const size_t hash = nameHash(names_[i]);
        size_t at = hash & mask;
        while (slots_[at].index != 0)
            at = (at + 1) & mask;
        slots_[at] = {quint32(hash), quint32(i + 1)};
    }
}

bool NameSet::contains(QStringView name, size_t hash) const
{
    if (slots_.isEmpty())
        return false;
    const size_t mask = size_t(slots_.size() - 1);
    for (size_t at = hash & mask; slots_[at].index != 0; at = (at + 1) & mask) {
        if (slots_[at].hash == quint32(hash) && names_[slots_[at].index - 1] == name)
            return true;
    }
    return false;
}

qsizetype NameMarks::findSlot(QStringView name, quint32 hash) const
{
    const size_t mask = size_t(slots_.size() - 1);
    size_t at = hash & mask;
    for (;; at = (at + 1) & mask) {
        const Slot &slot = slots_[at];
        if (!slot.name || (slot.hash == hash && QStringView(slot.name, slot.size) == name))
            return qsizetype(at);
    }
}

void NameMarks::reserve(qsizetype names)
{
    if (names * 2 > slots_.size())
        rehash(tableSize(names));
}

int &NameMarks::mark(QStringView name, size_t hash)
{
    if ((used_ + 1) * 2 > slots_.size())
        rehash(tableSize(qMax<qsizetype>(used_ * 2, 16)));
    Slot &slot = slots_[findSlot(name, quint32(hash))];
    if (!slot.name) {
        // A name may be empty, but it is never null: it points into its path.
        slot.name = name.isNull() ? reinterpret_cast<const QChar *>(u"") : name.data();
        slot.size = qint32(name.size());
        slot.hash = quint32(hash);
        ++used_;
    }
    return slot.value;
}

void NameMarks::prefetch(size_t hash) const
{
    if (!slots_.isEmpty())
        __builtin_prefetch(slots_.constData() + (hash & size_t(slots_.size() - 1)));
}

void NameMarks::rehash(qsizetype size)
{
    QList<Slot> old = std::exchange(slots_, QList<Slot>(size));
    for (const Slot &slot : std::as_const(old)) {
        if (slot.name)
            slots_[findSlot(QStringView(slot.name, slot.size), slot.hash)] = slot;
    }
}
