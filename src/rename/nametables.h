#pragma once

#include <QHashFunctions>
#include <QList>
#include <QStringList>
#include <QStringView>

#include <climits>

// Tables of names for the rename preview, which looks tens of thousands of names up per
// keystroke: flat arrays of small slots, probed in turn, that take a name's text as it stands
// in a path, without copying it out, and its hash worked out beforehand.

inline size_t nameHash(QStringView name)
{
    return qHash(name, QHashSeed::globalSeed());
}

// A set of names, made once from a folder's listing.
class NameSet {
public:
    NameSet() = default;
    explicit NameSet(QStringList names);

    bool contains(QStringView name, size_t hash) const;
    bool contains(QStringView name) const { return contains(name, nameHash(name)); }
    qsizetype size() const { return names_.size(); }

private:
    struct Slot {
        quint32 hash = 0;
        quint32 index = 0;   // of the name, plus one; 0 while free
    };
    QStringList names_;
    QList<Slot> slots_;
};

// A mark for each name, kept as views: the texts they look into must outlive the table.
class NameMarks {
public:
    static constexpr int Unmarked = INT_MIN;

    // Room for that many names without growing, or for that many more.
    void reserve(qsizetype names);
    void makeRoom(qsizetype more) { reserve(used_ + more); }
    // The mark of the name, Unmarked for a name met for the first time. Good until the table
    // grows, which it does not while fewer names than reserved are in it.
    int &mark(QStringView name, size_t hash);
    // Asks the processor to fetch the name's slot ahead of its use.
    void prefetch(size_t hash) const;

private:
    struct Slot {
        const QChar *name = nullptr;   // null while free
        qint32 size = 0;
        quint32 hash = 0;
        int value = Unmarked;
    };
    qsizetype findSlot(QStringView name, quint32 hash) const;
    void rehash(qsizetype size);

    QList<Slot> slots_;
    qsizetype used_ = 0;
};
