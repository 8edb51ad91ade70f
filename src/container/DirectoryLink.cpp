#include <new>

#include "NameIndex.h"
#include "NamePath.h"
#include "ObjectIndex.h"
#include "kova/container.h"

namespace tarn {
namespace kova {

DirectoryLink::DirectoryLink(const char* text) : text_(Memory::stringDuplicate(text)) {}

// Children go first; the base destructor then releases the rest of the
// sibling chain.
DirectoryLink::~DirectoryLink() {
    NameLink* children = child_;
    child_ = nullptr;
    releaseChildren(children);
    Memory::stringDelete(text_);
    delete index_;
}

bool DirectoryLink::setText(const char* text) {
    if (!text) return false;
    char* copy = Memory::stringDuplicate(text);
    if (!copy) return false;
    Memory::stringDelete(text_);
    text_ = copy;
    if (DirectoryLink* parent = parentDirectory()) parent->childRenamed();
    return true;
}

// A chain given by hand: its entries are this directory's from now on.
void DirectoryLink::setChildLink(NameLink* link) {
    child_ = link;
    childrenRelinked();
}

void DirectoryLink::adoptChain() {
    for (NameLink* link = child_; link; link = link->next_)
        link->parent_ = this;
}

void DirectoryLink::childrenRelinked() {
    adoptChain();
    if (index_) index_->forget();
    if (ObjectIndex* objects = treeObjects()) objects->markStale();
}

void DirectoryLink::childRenamed() {
    if (index_) index_->textsChanged();
}

void DirectoryLink::childObjectChanged(NameLink* link, Object* before, Object* after) {
    if (index_) index_->textsChanged();
    if (ObjectIndex* objects = treeObjects()) {
        objects->remove(before);
        objects->add(after, link);
    }
}

ObjectIndex* DirectoryLink::treeObjects() {
    DirectoryLink* top = this;
    while (top->parent_)
        top = top->parent_;
    return top->objects_;
}

// The index when it holds the chain and the chain is in sorted order; null
// otherwise (or when memory runs out), and the caller walks the chain.
NameIndex* DirectoryLink::sortedIndex() {
    if (!index_) index_ = new (std::nothrow) NameIndex;
    if (!index_) return nullptr;
    if (!index_->current() && !index_->rebuild(child_)) return nullptr;
    return index_->sorted() ? index_ : nullptr;
}

// Links an entry in after before (first when null). Callers that do not work
// through the index tell it to read the chain again.
void DirectoryLink::insertChild(NameLink* before, NameLink* link) {
    if (before) {
        link->next_ = before->next_;
        before->next_ = link;
    } else {
        link->next_ = child_;
        child_ = link;
    }
    link->parent_ = this;
    if (!link->isDirectory()) {
        if (ObjectIndex* objects = treeObjects()) objects->add(link->object(), link);
    }
}

void DirectoryLink::unlinkChild(NameLink* before, NameLink* link) {
    if (before) {
        before->next_ = link->next_;
    } else {
        child_ = link->next_;
    }
    link->next_ = nullptr;
    link->parent_ = nullptr;
    if (ObjectIndex* objects = treeObjects()) {
        // A directory takes its whole subtree along.
        if (link->isDirectory()) {
            objects->markStale();
        } else {
            objects->remove(link->object());
        }
    }
    delete link;
}

bool DirectoryLink::removeEntry(NameLink* link) {
    NameIndex* index = index_ && (index_->current() || index_->rebuild(child_)) ? index_ : nullptr;
    if (!index) {
        NameLink* before = nullptr;
        for (NameLink* at = child_; at != link; before = at, at = at->next_) {
            if (!at) return false;
        }
        unlinkChild(before, link);
        return true;
    }
    int position = index->find(link);
    if (position < 0) return false;
    unlinkChild(position ? index->at(position - 1) : nullptr, link);
    index->erase(position);
    return true;
}

// No check is made that the object is present already: the same object must
// not be added twice, since deleting the directory would destroy it twice.
bool DirectoryLink::addObject(System& system, Object* object, const char* directoryPath) {
    if (!object || !object->name()) return false;
    if (directoryPath && *directoryPath) {
        DirectoryLink* directory = addDirectory(system, directoryPath);
        return directory && directory->addObject(system, object, nullptr);
    }
    ObjectLink* link = new (std::nothrow) ObjectLink(object);
    if (!link) return false;
    // After the directories, and after every object entry of an equal name.
    if (NameIndex* index = sortedIndex()) {
        int position = index->upperObject(object->name());
        insertChild(position ? index->at(position - 1) : nullptr, link);
        index->insert(position, link);
        return true;
    }
    NameLink* before = nullptr;
    for (NameLink* at = child_; at; before = at, at = at->nextSibling()) {
        if (at->isDirectory()) continue;
        const char* text = at->text();
        if (text && Memory::stringCompare(text, object->name()) > 0) break;
    }
    insertChild(before, link);
    if (index_) index_->forget();
    return true;
}

// Components are taken one at a time in a loop, so a long path costs no
// stack. A component of 260 bytes or more is refused (null); directories
// made for the earlier components stay. Empty components (a leading,
// trailing or doubled separator) are passed over, as lookups pass over them.
DirectoryLink* DirectoryLink::addDirectory(System&, const char* path) {
    path = name_path::skipSeparators(path);
    if (!path || !*path) return nullptr;
    DirectoryLink* directory = this;
    while (directory && path && *path) {
        const char* separator = pathSeparator(path);
        char component[260];
        if (!name_path::copyComponent(path, separator, component, sizeof(component))) {
            return nullptr;
        }
        directory = directory->findOrAddDirectory(component);
        path = separator ? name_path::skipSeparators(separator + 1) : nullptr;
    }
    return directory;
}

// The directory named component among the children, made when missing; null
// when an object entry already has that name.
DirectoryLink* DirectoryLink::findOrAddDirectory(const char* component) {
    if (NameIndex* index = sortedIndex()) {
        int position = index->lowerDirectory(component);
        if (position < index->directoryCount() &&
            Memory::stringCompare(index->at(position)->text(), component) == 0) {
            return index->at(position)->directory();
        }
        int object = index->lowerObject(component);
        if (object < index->count() &&
            Memory::stringCompare(index->at(object)->text(), component) == 0) {
            return nullptr;
        }
        DirectoryLink* directory = new (std::nothrow) DirectoryLink(component);
        if (!directory) return nullptr;
        insertChild(position ? index->at(position - 1) : nullptr, directory);
        index->insert(position, directory);
        return directory;
    }
    NameLink* before = nullptr;
    NameLink* at = child_;
    for (; at; before = at, at = at->nextSibling()) {
        const char* text = at->text();
        int order = text ? Memory::stringCompare(text, component) : -1;
        if (order == 0) {
            return at->isDirectory() ? static_cast<DirectoryLink*>(at) : nullptr;
        }
        if (order > 0 || !at->isDirectory()) break;
    }
    // The object entries are sorted by name but only compared up to the
    // first one above; one further on may still hold the name.
    for (NameLink* later = at; later; later = later->nextSibling()) {
        const char* text = later->text();
        if (!later->isDirectory() && text && Memory::stringCompare(text, component) == 0) {
            return nullptr;
        }
    }
    DirectoryLink* directory = new (std::nothrow) DirectoryLink(component);
    if (!directory) return nullptr;
    insertChild(before, directory);
    if (index_) index_->forget();
    return directory;
}

// Children are searched in order, descending into subdirectories as they
// come, so the entry removed is the one the full-name lookups report.
bool DirectoryLink::removeObject(System& system, Object* object) {
    if (!object) return false;
    NameLink* before = nullptr;
    for (NameLink* at = child_; at; before = at, at = at->nextSibling()) {
        if (!at->isDirectory()) {
            if (at->object() != object) continue;
            unlinkChild(before, at);
            if (index_) index_->forget();
            return true;
        }
        if (at->childLink() && at->removeObject(system, object)) return true;
    }
    return false;
}

bool DirectoryLink::removeDirectory(System& system, NameLink* link) {
    if (!link) return false;
    NameLink* before = nullptr;
    for (NameLink* at = child_; at; before = at, at = at->nextSibling()) {
        if (!at->isDirectory()) continue;
        if (at == link) {
            unlinkChild(before, at);
            if (index_) index_->forget();
            return true;
        }
        if (at->childLink() && at->removeDirectory(system, link)) return true;
    }
    return false;
}

// Directories come before object entries, so the first entry of that text
// is a directory when one has it.
NameLink* DirectoryLink::findLink(const char* text) {
    if (!text) return nullptr;
    if (NameIndex* index = sortedIndex()) {
        int position = index->lowerDirectory(text);
        if (position == index->directoryCount() ||
            Memory::stringCompare(index->at(position)->text(), text) != 0) {
            position = index->lowerObject(text);
        }
        if (position == index->count()) return nullptr;
        NameLink* link = index->at(position);
        return Memory::stringCompare(link->text(), text) == 0 ? link : nullptr;
    }
    for (NameLink* at = child_; at; at = at->nextSibling()) {
        const char* own = at->text();
        if (own && Memory::stringCompare(own, text) == 0) return at;
    }
    return nullptr;
}

// Only a name with a separator can enter a directory, and only a name
// without one can match an object entry. A component of 128 bytes or more
// names no directory.
Object* DirectoryLink::findObjectBelow(System& system, const char* name) {
    NameIndex* index = sortedIndex();
    if (!index) return child_ ? child_->findObjectHierarchical(system, name) : nullptr;
    name = name_path::skipSeparators(name);
    if (!name) return nullptr;
    const char* separator = pathSeparator(name);
    if (!separator) {
        int position = index->lowerObject(name);
        if (position == index->count()) return nullptr;
        NameLink* link = index->at(position);
        return Memory::stringCompare(link->text(), name) == 0 ? link->object() : nullptr;
    }
    char component[128];
    if (!name_path::copyComponent(name, separator, component, sizeof(component))) return nullptr;
    int position = index->lowerDirectory(component);
    if (position == index->directoryCount()) return nullptr;
    DirectoryLink* directory = index->at(position)->directory();
    if (Memory::stringCompare(directory->text(), component) != 0 || !directory->childLink()) {
        return nullptr;
    }
    return directory->findObjectBelow(system, separator + 1);
}

// Covers this directory and everything below it, but not the directories
// after it in its parent.
DirectoryLink* DirectoryLink::findObjectDirectory(Object* object) {
    if (!object) return nullptr;
    for (NameLink* at = child_; at; at = at->nextSibling()) {
        if (!at->isDirectory()) {
            if (at->object() == object) return this;
            continue;
        }
        if (DirectoryLink* found = at->findObjectDirectory(object)) return found;
    }
    return nullptr;
}

}  // namespace kova
}  // namespace tarn
