#include "kova/container.h"

namespace tarn {
namespace kova {

namespace {

// Releases a chain and everything below it in one loop: a directory's
// children are moved into the chain before the directory goes, so neither
// long directories nor deep nesting cost stack.
void releaseChain(NameLink* link) {
    while (link) {
        NameLink* after = link->nextSibling();
        link->setNextSibling(nullptr);
        if (NameLink* child = link->childLink()) {
            link->setChildLink(nullptr);
            NameLink* last = child;
            while (last->nextSibling())
                last = last->nextSibling();
            last->setNextSibling(after);
            after = child;
        }
        delete link;  // alone now: its destructors release nothing further
        link = after;
    }
}

}  // namespace

NameLink::~NameLink() {
    releaseChain(next_);
}

void NameLink::releaseChildren(NameLink* first) {
    releaseChain(first);
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
// where it is.
bool ObjectLink::setText(const char* text) {
    if (!text || !object_) return false;
    object_->setName(text);
    return true;
}

}  // namespace kova
}  // namespace tarn
