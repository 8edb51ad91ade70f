#include "NamePath.h"
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
}

bool DirectoryLink::setText(const char* text) {
    if (!text) return false;
    char* copy = Memory::stringDuplicate(text);
    if (!copy) return false;
    Memory::stringDelete(text_);
    text_ = copy;
    return true;
}

void DirectoryLink::insertChild(NameLink* before, NameLink* link) {
    if (before) {
        link->setNextSibling(before->nextSibling());
        before->setNextSibling(link);
    } else {
        link->setNextSibling(child_);
        child_ = link;
    }
}

void DirectoryLink::unlinkChild(NameLink* before, NameLink* link) {
    if (before) {
        before->setNextSibling(link->nextSibling());
    } else {
        child_ = link->nextSibling();
    }
    link->setNextSibling(nullptr);
    delete link;
}

// No check is made that the object is present already: the same object must
// not be added twice, since deleting the directory would destroy it twice.
bool DirectoryLink::addObject(System& system, Object* object, const char* directoryPath) {
    if (!object || !object->name()) return false;
    if (directoryPath && *directoryPath) {
        DirectoryLink* directory = addDirectory(system, directoryPath);
        return directory && directory->addObject(system, object, nullptr);
    }
    // After the directories, and after every object entry of an equal name.
    NameLink* before = nullptr;
    for (NameLink* at = child_; at; before = at, at = at->nextSibling()) {
        if (at->isDirectory()) continue;
        const char* text = at->text();
        if (text && Memory::stringCompare(text, object->name()) > 0) break;
    }
    ObjectLink* link = new (std::nothrow) ObjectLink(object);
    if (!link) return false;
    insertChild(before, link);
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
            return true;
        }
        if (at->childLink() && at->removeDirectory(system, link)) return true;
    }
    return false;
}

NameLink* DirectoryLink::findLink(const char* text) {
    if (!text) return nullptr;
    for (NameLink* at = child_; at; at = at->nextSibling()) {
        const char* own = at->text();
        if (own && Memory::stringCompare(own, text) == 0) return at;
    }
    return nullptr;
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
