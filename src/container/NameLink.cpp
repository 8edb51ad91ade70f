#include "kova/container.h"

namespace tarn {
namespace kova {

NameLink::~NameLink() {
    releaseChildren(next_);
}

// Releases a chain and everything below it in one loop: a directory's
// children are moved into the chain before the directory goes, so neither
// long directories nor deep nesting cost stack. Each entry is cut loose from
// its directory first, so nothing reports to a directory already gone.
void NameLink::releaseChildren(NameLink* link) {
    while (link) {
        NameLink* after = link->next_;
        link->next_ = nullptr;
        link->parent_ = nullptr;
        if (NameLink* child = link->childLink()) {
            link->setChildLink(nullptr);
            NameLink* last = child;
            while (last->next_)
                last = last->next_;
            last->next_ = after;
            after = child;
        }
        delete link;  // alone now: its destructors release nothing further
        link = after;
    }
}

void NameLink::setNextSibling(NameLink* next) {
    next_ = next;
    if (parent_) parent_->childrenRelinked();
}

bool NameLink::save(System&) {
    return false;
}
bool NameLink::exists(Object*) {
    return false;
}
bool NameLink::addObject(System&, Object*, const char*) {
    return false;
}
DirectoryLink* NameLink::addDirectory(System&, const char*) {
    return nullptr;
}
bool NameLink::removeObject(System&, Object*) {
    return false;
}
bool NameLink::removeDirectory(System&, NameLink*) {
    return false;
}
bool NameLink::clearAll(System&) {
    return false;
}
bool NameLink::deleteAll(System&) {
    return false;
}
Object* NameLink::findObjectHierarchical(System&, const char*) {
    return nullptr;
}
NameLink* NameLink::findObjectLinkHierarchical(System&, Object*) {
    return nullptr;
}
NameLink* NameLink::findLink(const char*) {
    return nullptr;
}
DirectoryLink* NameLink::findObjectDirectory(Object*) {
    return nullptr;
}
bool NameLink::copyObjectFullName(Object*, char*, int) {
    return true;
}
bool NameLink::copyPath(NameLink*, char*, int) {
    return true;
}
bool NameLink::streamAll(System&, Stream&) {
    return false;
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

// The object keeps its name, so this renames the object; the entry stays
// where it is, and its directory checks its order again.
bool ObjectLink::setText(const char* text) {
    if (!text || !object_) return false;
    object_->setName(text);
    if (DirectoryLink* parent = parentDirectory()) parent->childRenamed();
    return true;
}

void ObjectLink::setObject(Object* object) {
    if (object == object_) return;
    Object* before = object_;
    object_ = object;
    if (DirectoryLink* parent = parentDirectory()) parent->childObjectChanged(this, before, object);
}

}  // namespace kova
}  // namespace tarn
