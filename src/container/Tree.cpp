#include <climits>

#include "kova/container.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Tree, Object)

// Handle n is slot n - 1. A free slot holds no item and the handle of the
// next free slot, so freed handles are given out again first.
struct Tree::HandleSlot {
    TreeObject* item;
    int nextFree;
};

namespace {
const int kFirstSlotCapacity = 16;
}  // namespace

Tree::~Tree() {
    Memory::stringDelete(name_);
    Memory::operator delete(slots_);
}

// The copy is made first, so a tree can be given its own name back.
bool Tree::setName(const char* name) {
    char* copy = Memory::stringDuplicate(name);
    Memory::stringDelete(name_);
    name_ = copy;
    return true;
}

int Tree::copyDescription(System&, int, char* buffer, int size) {
    if (buffer && size > 0) buffer[0] = 0;
    return 0;
}

TreeObject* Tree::createTreeObject(System& system, TreeObject* parent, TreeObject* previous,
                                   TreeObject* next, TreeObject* child) {
    void* memory = Memory::operator new(sizeof(TreeObject));
    if (!memory) return nullptr;
    return adoptItem(system, new (memory) TreeObject(parent, previous, next, child));
}

TreeObject* Tree::adoptItem(System& system, TreeObject* item) {
    Object* counted = nullptr;
    if (!item || !Object::create(system, counted, item)) {
        if (item) item->kill();
        return nullptr;
    }
    return static_cast<TreeObject*>(counted);
}

void Tree::deleteTreeObject(System&, TreeObject*& item) {
    RuntimeObject::destroy(item);
}

// ---- Handles -----------------------------------------------------------------

TreeObject* Tree::treeObject(int handle) {
    if (handle < 1 || handle > slotsUsed_) return nullptr;
    return slots_[handle - 1].item;
}

bool Tree::assignHandle(TreeObject* item) {
    int handle = freeHandle_;
    if (handle) {
        freeHandle_ = slots_[handle - 1].nextFree;
    } else {
        if (slotsUsed_ == slotCapacity_) {
            // Handles are ints, and the table's size in bytes must fit too.
            if (slotCapacity_ > INT_MAX / 2 / static_cast<int>(sizeof(HandleSlot))) return false;
            int capacity = slotCapacity_ ? slotCapacity_ * 2 : kFirstSlotCapacity;
            void* memory = Memory::operator new(sizeof(HandleSlot) * capacity);
            if (!memory) return false;
            Memory::memoryCopy(memory, slots_, sizeof(HandleSlot) * slotsUsed_);
            Memory::operator delete(slots_);
            slots_ = static_cast<HandleSlot*>(memory);
            slotCapacity_ = capacity;
        }
        handle = ++slotsUsed_;
    }
    slots_[handle - 1].item = item;
    slots_[handle - 1].nextFree = 0;
    item->handle_ = handle;
    return true;
}

void Tree::releaseHandle(int handle) {
    if (!treeObject(handle)) return;
    slots_[handle - 1].item = nullptr;
    slots_[handle - 1].nextFree = freeHandle_;
    freeHandle_ = handle;
}

// ---- Making and deleting items ------------------------------------------------

// A new item linked between previous and next in parent's level. Which item
// is current stays the caller's business.
TreeObject* Tree::makeItem(System& system, TreeObject* parent, TreeObject* previous,
                           TreeObject* next) {
    TreeObject* item = createTreeObject(system, parent, previous, next, nullptr);
    if (!item) return nullptr;
    if (!assignHandle(item)) {
        deleteTreeObject(system, item);
        return nullptr;
    }
    if (previous) previous->next_ = item;
    if (next) next->previous_ = item;
    return item;
}

void Tree::discardItem(System& system, TreeObject* item) {
    releaseHandle(item->handle_);
    item->handle_ = 0;
    deleteTreeObject(system, item);
}

// Destroys the level of start (start and its siblings) with everything below
// it: the loop descends to the first item of each level and deletes items
// from the left, so every item is deleted after its children. Each item runs
// its onClear first; a refusal stops the pass when asked, leaving a tree
// whose links are all still sound.
bool Tree::destroyLevel(System& system, Stream& stream, TreeObject* start, bool stopOnRefusal) {
    TreeObject* top = start->parent_;
    TreeObject* item = firstOf(start);
    while (item != top) {
        if (item->child_) {
            item = firstOf(item->child_);
            continue;
        }
        if (!item->onClear(system, stream) && stopOnRefusal) return false;
        TreeObject* next = item->next_;
        TreeObject* parent = item->parent_;
        if (next) next->previous_ = nullptr;
        if (currentChild(parent) == item) setCurrentChild(parent, next);
        discardItem(system, item);
        item = next ? next : parent;
    }
    return true;
}

// ---- Reading the structure ----------------------------------------------------

void Tree::setCurrentChild(TreeObject* parent, TreeObject* item) {
    if (parent) {
        parent->child_ = item;
    } else {
        root_ = item;
    }
}

TreeObject* Tree::firstOf(TreeObject* item) {
    while (item && item->previous_)
        item = item->previous_;
    return item;
}

TreeObject* Tree::lastOf(TreeObject* item) {
    while (item && item->next_)
        item = item->next_;
    return item;
}

int Tree::nextSibling(int handle) {
    TreeObject* item = treeObject(handle);
    return item ? handleOf(item->next_) : 0;
}

int Tree::previousSibling(int handle) {
    TreeObject* item = treeObject(handle);
    return item ? handleOf(item->previous_) : 0;
}

int Tree::child(int handle) {
    TreeObject* item = treeObject(handle);
    return item ? handleOf(item->child_) : 0;
}

int Tree::parent(int handle) {
    TreeObject* item = treeObject(handle);
    return item ? handleOf(item->parent_) : 0;
}

int Tree::firstSibling(int handle) {
    return handleOf(firstOf(treeObject(handle)));
}

int Tree::lastSibling(int handle) {
    return handleOf(lastOf(treeObject(handle)));
}

// ---- Inserting and removing ---------------------------------------------------

// An empty level gets the new item as its current one; otherwise it goes to
// the level's start or end and the current item stays.
int Tree::insertChildItem(System& system, int handle, bool first) {
    TreeObject* parent = treeObject(handle);
    if (handle && !parent) return 0;
    TreeObject* current = currentChild(parent);
    TreeObject* item = nullptr;
    if (!current) {
        item = makeItem(system, parent, nullptr, nullptr);
        if (item) setCurrentChild(parent, item);
    } else if (first) {
        item = makeItem(system, parent, nullptr, firstOf(current));
    } else {
        item = makeItem(system, parent, lastOf(current), nullptr);
    }
    return handleOf(item);
}

int Tree::insertChildItemFirst(System& system, int handle) {
    return insertChildItem(system, handle, true);
}

int Tree::insertChildItemLast(System& system, int handle) {
    return insertChildItem(system, handle, false);
}

int Tree::insertItemAfter(System& system, int handle) {
    TreeObject* item = treeObject(handle);
    if (!item) return 0;
    return handleOf(makeItem(system, item->parent_, item, item->next_));
}

int Tree::insertItemBefore(System& system, int handle) {
    TreeObject* item = treeObject(handle);
    if (!item) return 0;
    return handleOf(makeItem(system, item->parent_, item->previous_, item));
}

// The item is out of the tree before its subtree goes, so it is deleted even
// when one of its objects refuses to be cleared.
bool Tree::removeHandle(System& system, int handle) {
    TreeObject* item = treeObject(handle);
    if (!item) return true;
    takeOut(item);
    ClearStream clearing(false);
    destroyLevel(system, clearing, item, false);
    return true;
}

}  // namespace kova
}  // namespace tarn
