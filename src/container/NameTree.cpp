#include <cstring>

#include "kova/container.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

namespace {

// Copies the first component of a path into buffer; false when it does not
// fit, so an overlong name is refused rather than cut.
bool copyComponent(const char* path, const char* separator, char* buffer, std::size_t size) {
    std::size_t length = separator ? static_cast<std::size_t>(separator - path) : std::strlen(path);
    if (length >= size) return false;
    std::memcpy(buffer, path, length);
    buffer[length] = 0;
    return true;
}

}  // namespace

// The sibling chain is released in a loop, so long directories cannot
// exhaust the stack.
NameLink::~NameLink() {
    NameLink* link = next_;
    while (link) {
        NameLink* after = link->next_;
        link->next_ = nullptr;
        delete link;
        link = after;
    }
}

bool NameLink::addObject(System&, Object*, const char*) {
    return false;
}
DirectoryLink* NameLink::addDirectory(System&, const char*) {
    return nullptr;
}
bool NameLink::deleteAll(System&) {
    return false;
}
bool NameLink::clearAll(System&) {
    return false;
}
Object* NameLink::findObjectHierarchical(System&, const char*) {
    return nullptr;
}
NameLink* NameLink::findLink(const char*) {
    return nullptr;
}

const char* NameLink::pathSeparator(const char* text) {
    if (!text) return nullptr;
    for (; *text; ++text) {
        if (*text == '/' || *text == '\\') return text;
    }
    return nullptr;
}

const char* ObjectLink::text() {
    return object_ ? object_->name() : nullptr;
}

bool ObjectLink::setText(const char* text) {
    if (!text || !object_) return false;
    object_->setName(text);
    return true;
}

bool ObjectLink::clearAll(System& system) {
    ClearStream clearing(true);
    if (object_ && !clearing.streamObject(system, object_, "Object", nullptr)) return false;
    return nextSibling() ? nextSibling()->clearAll(system) : true;
}

bool ObjectLink::deleteAll(System& system) {
    RuntimeObject::destroy(object_);
    return nextSibling() ? nextSibling()->deleteAll(system) : true;
}

Object* ObjectLink::findObjectHierarchical(System& system, const char* fullName) {
    const char* own = text();
    if (!fullName || pathSeparator(fullName) || !own) return nullptr;
    int order = Memory::stringCompare(own, fullName);
    if (order == 0) return object_;
    if (order < 0 && nextSibling()) return nextSibling()->findObjectHierarchical(system, fullName);
    return nullptr;
}

DirectoryLink::DirectoryLink(const char* text) : text_(Memory::stringDuplicate(text)) {}

DirectoryLink::~DirectoryLink() {
    delete child_;
    Memory::stringDelete(text_);
}

bool DirectoryLink::setText(const char* text) {
    if (!text) return false;
    char* copy = Memory::stringDuplicate(text);
    Memory::stringDelete(text_);
    text_ = copy;
    return true;
}

bool DirectoryLink::addObject(System& system, Object* object, const char* directoryPath) {
    if (!object || !object->name()) return false;
    if (directoryPath && *directoryPath) {
        DirectoryLink* directory = addDirectory(system, directoryPath);
        return directory && directory->addObject(system, object, nullptr);
    }
    // Directories first, then objects sorted by name; equal names keep order.
    NameLink* before = nullptr;
    NameLink* at = child_;
    for (; at; before = at, at = at->nextSibling()) {
        if (at->isDirectory()) continue;
        const char* text = at->text();
        if (text && Memory::stringCompare(text, object->name()) > 0) break;
    }
    ObjectLink* link = new (std::nothrow) ObjectLink(object);
    if (!link) return false;
    link->setNextSibling(at);
    if (before) {
        before->setNextSibling(link);
    } else {
        child_ = link;
    }
    return true;
}

DirectoryLink* DirectoryLink::addDirectory(System& system, const char* path) {
    if (!path || !*path) return nullptr;
    const char* separator = pathSeparator(path);
    char component[260];
    if (!copyComponent(path, separator, component, sizeof(component))) return nullptr;
    const char* rest = separator ? separator + 1 : nullptr;
    NameLink* before = nullptr;
    NameLink* at = child_;
    for (; at; before = at, at = at->nextSibling()) {
        const char* text = at->text();
        int order = text ? Memory::stringCompare(text, component) : -1;
        if (order == 0) {
            if (!at->isDirectory()) return nullptr;  // an object already has that name
            DirectoryLink* found = static_cast<DirectoryLink*>(at);
            return rest && *rest ? found->addDirectory(system, rest) : found;
        }
        if (order > 0 || !at->isDirectory()) break;
    }
    // An object entry further on may hold the same name.
    for (NameLink* later = at; later; later = later->nextSibling()) {
        const char* text = later->text();
        if (!later->isDirectory() && text && Memory::stringCompare(text, component) == 0) {
            return nullptr;
        }
    }
    DirectoryLink* directory = new (std::nothrow) DirectoryLink(component);
    if (!directory) return nullptr;
    directory->setNextSibling(at);
    if (before) {
        before->setNextSibling(directory);
    } else {
        child_ = directory;
    }
    return rest && *rest ? directory->addDirectory(system, rest) : directory;
}

bool DirectoryLink::clearAll(System& system) {
    if (child_ && !child_->clearAll(system)) return false;
    return nextSibling() ? nextSibling()->clearAll(system) : true;
}

// Named objects release each other before any of them is destroyed.
bool NameTree::deleteAll(System& system) {
    return clearAll(system) && DirectoryLink::deleteAll(system);
}

bool DirectoryLink::deleteAll(System& system) {
    if (child_ && !child_->deleteAll(system)) return false;
    return nextSibling() ? nextSibling()->deleteAll(system) : true;
}

Object* DirectoryLink::findObjectHierarchical(System& system, const char* fullName) {
    if (!fullName) return nullptr;
    if (child_) {
        if (!text_) {
            if (Object* found = child_->findObjectHierarchical(system, fullName)) return found;
        } else if (const char* separator = pathSeparator(fullName)) {
            char component[128];
            if (copyComponent(fullName, separator, component, sizeof(component)) &&
                Memory::stringCompare(component, text_) == 0) {
                if (Object* found = child_->findObjectHierarchical(system, separator + 1)) {
                    return found;
                }
            }
        }
    }
    return nextSibling() ? nextSibling()->findObjectHierarchical(system, fullName) : nullptr;
}

NameLink* DirectoryLink::findLink(const char* text) {
    if (!text) return nullptr;
    for (NameLink* at = child_; at; at = at->nextSibling()) {
        const char* own = at->text();
        if (own && Memory::stringCompare(own, text) == 0) return at;
    }
    return nullptr;
}

}  // namespace kova
}  // namespace tarn
