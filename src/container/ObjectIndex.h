// Which entry of a name directory holds an object: a hash table from object
// to entry, kept by the directory's root. Saving asks for the full name of
// every object it writes, named or not, and this answers without walking the
// whole directory.
//
// An object filed more than once is counted, and its entry is then not known
// here: the caller walks the directory, which settles which entry comes
// first. A table that has fallen out of step with the directory (a whole
// directory removed, chains linked by hand, memory run out) is marked stale
// and read again from the directory when next asked.
#pragma once

#include "kova/container.h"

namespace tarn {
namespace kova {

class ObjectIndex {
public:
    ObjectIndex() = default;
    ~ObjectIndex();
    ObjectIndex(const ObjectIndex&) = delete;
    ObjectIndex& operator=(const ObjectIndex&) = delete;

    void add(Object* object, NameLink* link);
    void remove(Object* object);
    void markStale() { stale_ = true; }

    // How many entries under root hold object (0 for null); link is set to
    // the entry when there is exactly one. -1 when the table cannot be had
    // (out of memory): the caller walks the directory.
    int lookup(DirectoryLink* root, Object* object, NameLink*& link);

private:
    struct Slot {
        Object* object;
        NameLink* link;  // null once the object is filed more than once
        int count;
    };

    int slotOf(Object* object) const;
    bool reserve(int wanted);
    void refill(DirectoryLink* root);
    void addAll(NameLink* first);

    Slot* slots_ = nullptr;
    int capacity_ = 0;  // a power of two, or 0
    int used_ = 0;
    bool stale_ = true;  // nothing has been read yet
};

}  // namespace kova
}  // namespace tarn
