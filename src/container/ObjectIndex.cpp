#include "ObjectIndex.h"

#include <cstdint>
#include <new>

namespace tarn {
namespace kova {

ObjectIndex::~ObjectIndex() {
    delete[] slots_;
}

// Objects lie at least 8 bytes apart; the multiplication spreads the
// remaining bits over the whole word.
int ObjectIndex::slotOf(Object* object) const {
    std::uint64_t key = reinterpret_cast<std::uintptr_t>(object) >> 3;
    key *= 0x9E3779B97F4A7C15ull;
    return static_cast<int>(key >> 32) & (capacity_ - 1);
}

// The table is kept at most half full, so probe runs stay short.
bool ObjectIndex::reserve(int wanted) {
    if (wanted * 2 <= capacity_) return true;
    int capacity = capacity_ ? capacity_ * 2 : 64;
    while (wanted * 2 > capacity)
        capacity *= 2;
    Slot* slots = new (std::nothrow) Slot[static_cast<std::size_t>(capacity)];
    if (!slots) return false;
    for (int i = 0; i < capacity; ++i)
        slots[i] = Slot{nullptr, nullptr, 0};
    Slot* old = slots_;
    int oldCapacity = capacity_;
    slots_ = slots;
    capacity_ = capacity;
    for (int i = 0; i < oldCapacity; ++i) {
        if (!old[i].object) continue;
        int at = slotOf(old[i].object);
        while (slots_[at].object)
            at = (at + 1) & (capacity_ - 1);
        slots_[at] = old[i];
    }
    delete[] old;
    return true;
}

void ObjectIndex::add(Object* object, NameLink* link) {
    if (stale_ || !object) return;
    if (!reserve(used_ + 1)) {
        stale_ = true;
        return;
    }
    int at = slotOf(object);
    while (slots_[at].object && slots_[at].object != object)
        at = (at + 1) & (capacity_ - 1);
    Slot& slot = slots_[at];
    if (slot.object) {
        slot.link = nullptr;  // a second entry: the walk decides which is first
        ++slot.count;
        return;
    }
    slot = Slot{object, link, 1};
    ++used_;
}

// Linear probing without markers: the slots after a freed one move back
// into it when their probe run passes over it.
void ObjectIndex::remove(Object* object) {
    if (stale_ || !object || !capacity_) return;
    int at = slotOf(object);
    while (slots_[at].object && slots_[at].object != object)
        at = (at + 1) & (capacity_ - 1);
    Slot& slot = slots_[at];
    if (!slot.object) return;
    if (slot.count > 1) {
        // Which entry is left is not known here; the walk will tell.
        --slot.count;
        slot.link = nullptr;
        return;
    }
    int hole = at;
    for (int next = (hole + 1) & (capacity_ - 1); slots_[next].object;
         next = (next + 1) & (capacity_ - 1)) {
        int home = slotOf(slots_[next].object);
        // Move the slot back when its home does not lie in (hole, next].
        bool between = hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (between) continue;
        slots_[hole] = slots_[next];
        hole = next;
    }
    slots_[hole] = Slot{nullptr, nullptr, 0};
    --used_;
}

int ObjectIndex::lookup(DirectoryLink* root, Object* object, NameLink*& link) {
    link = nullptr;
    if (!object) return 0;
    if (stale_) refill(root);
    if (stale_) return -1;
    if (!capacity_) return 0;
    int at = slotOf(object);
    while (slots_[at].object && slots_[at].object != object)
        at = (at + 1) & (capacity_ - 1);
    if (!slots_[at].object) return 0;
    link = slots_[at].link;
    return slots_[at].count;
}

void ObjectIndex::refill(DirectoryLink* root) {
    for (int i = 0; i < capacity_; ++i)
        slots_[i] = Slot{nullptr, nullptr, 0};
    used_ = 0;
    stale_ = false;
    addAll(root->childLink());
}

// Every object entry below the chain, depth-first; a failed add leaves the
// table stale.
void ObjectIndex::addAll(NameLink* first) {
    for (NameLink* link = first; link && !stale_; link = link->nextSibling()) {
        if (link->isDirectory()) {
            addAll(link->childLink());
        } else {
            add(link->object(), link);
        }
    }
}

}  // namespace kova
}  // namespace tarn
