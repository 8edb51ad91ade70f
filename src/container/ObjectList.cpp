#include <climits>
#include <new>

#include "kova/container.h"

namespace tarn {
namespace kova {

ObjectList::ObjectList(RuntimeClass* requiredClass) : requiredClass_(requiredClass) {}

ObjectList::~ObjectList() {
    freeEntries();
}

bool ObjectList::clear(System& system) {
    for (ObjectListEntry* entry = first_; entry; entry = entry->next) {
        if (entry->object && !Object::clear(system, entry->object)) return false;
    }
    freeEntries();
    focus_ = 0;
    return true;
}

int ObjectList::firstHandle() {
    return first_ ? first_->handle : 0;
}

int ObjectList::lastHandle() {
    return last_ ? last_->handle : 0;
}

int ObjectList::nextHandle(int handle) {
    ObjectListEntry* entry = findEntry(handle);
    return entry && entry->next ? entry->next->handle : 0;
}

int ObjectList::previousHandle(int handle) {
    ObjectListEntry* entry = findEntry(handle);
    return entry && entry->previous ? entry->previous->handle : 0;
}

// Every entry counts, including those holding null.
int ObjectList::objectCount() {
    int count = 0;
    for (ObjectListEntry* entry = first_; entry; entry = entry->next)
        ++count;
    return count;
}

Object* ObjectList::objectFromHandle(int handle) {
    ObjectListEntry* entry = findEntry(handle);
    return entry ? entry->object : nullptr;
}

// Any object is stored: the class check is made on insertion only.
bool ObjectList::setObjectFromHandle(int handle, Object* object) {
    ObjectListEntry* entry = findEntry(handle);
    if (!entry) return false;
    entry->object = object;
    return true;
}

bool ObjectList::appendObject(System&, Object* object) {
    if (!accepts(object)) return false;
    ObjectListEntry* entry = newEntry(object);
    if (!entry) return false;
    if (!first_) {
        first_ = entry;
        focus_ = entry->handle;
    } else {
        last_->next = entry;
        entry->previous = last_;
    }
    last_ = entry;
    return true;
}

// Inserts before the entry named by handle; a handle that is not in the list
// is refused, since there is no place to insert at.
bool ObjectList::addObject(System& system, int handle, Object* object) {
    if (!accepts(object)) return false;
    if (handle == 0) return appendObject(system, object);
    ObjectListEntry* before = findEntry(handle);
    if (!before) return false;
    ObjectListEntry* entry = newEntry(object);
    if (!entry) return false;
    entry->next = before;
    entry->previous = before->previous;
    if (before->previous) {
        before->previous->next = entry;
    } else {
        first_ = entry;
    }
    before->previous = entry;
    return true;
}

void ObjectList::remove(System&, int handle) {
    ObjectListEntry* entry = findEntry(handle);
    if (!entry) return;
    if (entry == first_) first_ = entry->next;
    if (entry == last_) last_ = entry->previous;
    if (entry->handle == focus_) focus_ = first_ ? first_->handle : 0;
    if (entry->previous) entry->previous->next = entry->next;
    if (entry->next) entry->next->previous = entry->previous;
    if (cursor_ == entry) cursor_ = nullptr;
    Memory::operator delete(entry);
}

bool ObjectList::onLoad(System& system, IStream& in) {
    bool loaded = List::onLoad(system, in);
    focus_ = firstHandle();
    return loaded;
}

bool ObjectList::accepts(Object* object) {
    return object && object->actualClass()->is(requiredClass_);
}

ObjectListEntry* ObjectList::newEntry(Object* object) {
    void* memory = Memory::operator new(sizeof(ObjectListEntry));
    if (!memory) return nullptr;
    ObjectListEntry* entry = new (memory) ObjectListEntry();
    entry->object = object;
    entry->handle = newHandle();
    return entry;
}

// Starts with the entry last looked up and its successor, which makes the
// usual forward walk with nextHandle cost one step per entry.
ObjectListEntry* ObjectList::findEntry(int handle) {
    if (handle == 0) return nullptr;
    if (cursor_) {
        if (cursor_->handle == handle) return cursor_;
        if (cursor_->next && cursor_->next->handle == handle) return cursor_ = cursor_->next;
    }
    for (ObjectListEntry* entry = first_; entry; entry = entry->next) {
        if (entry->handle == handle) return cursor_ = entry;
    }
    return nullptr;
}

int ObjectList::newHandle() {
    for (;;) {
        int handle = handleCounter_;
        if (handleCounter_ == INT_MAX) {
            handleCounter_ = 1;
            handlesWrapped_ = true;
        } else {
            ++handleCounter_;
        }
        if (!handlesWrapped_ || !findEntry(handle)) return handle;
    }
}

void ObjectList::freeEntries() {
    ObjectListEntry* entry = first_;
    while (entry) {
        ObjectListEntry* next = entry->next;
        Memory::operator delete(entry);
        entry = next;
    }
    first_ = nullptr;
    last_ = nullptr;
    cursor_ = nullptr;
}

}  // namespace kova
}  // namespace tarn
