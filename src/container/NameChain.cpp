// The passes over sibling chains of the name directory. Object entries and
// directories share them: each pass loops over the chain that starts at the
// entry it is called on and descends into each directory's children through
// the children's own operation, so the stack grows with nesting only, never
// with the length of a directory.
#include "NamePath.h"
#include "kova/container.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

namespace {

// Saving does not stop at a failure: every object gets its chance.
bool saveChain(System& system, NameLink* link) {
    bool ok = true;
    for (; link; link = link->nextSibling()) {
        if (link->isDirectory()) {
            NameLink* child = link->childLink();
            if (child && !child->save(system)) ok = false;
        } else if (Object* object = link->object()) {
            // A copy: saving never changes what the entry holds.
            if (!Object::saveNewStream(system, object)) ok = false;
        }
    }
    return ok;
}

bool existsInChain(NameLink* link, Object* object) {
    if (!object) return false;
    for (; link; link = link->nextSibling()) {
        if (link->isDirectory()) {
            NameLink* child = link->childLink();
            if (child && child->exists(object)) return true;
        } else if (link->object() == object) {
            return true;
        }
    }
    return false;
}

// Named objects release what they own but stay alive and in the directory.
bool clearChain(System& system, NameLink* link) {
    ClearStream clearing(true);
    for (; link; link = link->nextSibling()) {
        if (link->isDirectory()) {
            NameLink* child = link->childLink();
            if (child && !child->clearAll(system)) return false;
            continue;
        }
        Object* object = link->object();
        if (!object) continue;
        bool ok = clearing.streamObject(system, object, "Object", nullptr);
        link->setObject(object);
        if (!ok) return false;
    }
    return true;
}

bool deleteChain(System& system, NameLink* link) {
    for (; link; link = link->nextSibling()) {
        if (link->isDirectory()) {
            NameLink* child = link->childLink();
            if (child && !child->deleteAll(system)) return false;
            continue;
        }
        Object* object = link->object();
        bool ok = RuntimeObject::destroy(object);
        link->setObject(object);
        if (!ok) return false;
    }
    return true;
}

// True when fullName starts with text followed by a separator; rest then
// points after the separator. The leading component is copied into a
// 128-byte buffer: a longer one never matches.
bool matchesDirectory(const char* fullName, const char* text, const char*& rest) {
    const char* separator = NameLink::pathSeparator(fullName);
    if (!separator) return false;
    char component[128];
    if (!name_path::copyComponent(fullName, separator, component, sizeof(component))) return false;
    if (Memory::stringCompare(component, text) != 0) return false;
    rest = separator + 1;
    return true;
}

Object* findInChain(System& system, NameLink* link, const char* fullName) {
    if (!fullName) return nullptr;
    fullName = name_path::skipSeparators(fullName);
    for (; link; link = link->nextSibling()) {
        if (link->isDirectory()) {
            NameLink* child = link->childLink();
            if (!child) continue;
            const char* rest = fullName;  // the root searches with the whole name
            const char* text = link->text();
            if (text && !matchesDirectory(fullName, text, rest)) continue;
            // A directory of the engine's own searches its children through its index.
            DirectoryLink* directory = link->directory();
            Object* found = directory ? directory->findObjectBelow(system, rest)
                                      : child->findObjectHierarchical(system, rest);
            if (found) return found;
            continue;
        }
        // Only object entries follow, and none of them holds a path.
        if (NameLink::pathSeparator(fullName)) return nullptr;
        const char* own = link->text();
        if (!own) continue;
        int order = Memory::stringCompare(own, fullName);
        if (order == 0) return link->object();
        if (order > 0) return nullptr;  // sorted: no later entry can match
    }
    return nullptr;
}

NameLink* findLinkInChain(System& system, NameLink* link, Object* object) {
    if (!object) return nullptr;
    for (; link; link = link->nextSibling()) {
        if (link->isDirectory()) {
            NameLink* child = link->childLink();
            NameLink* found = child ? child->findObjectLinkHierarchical(system, object) : nullptr;
            if (found) return found;
        } else if (link->object() == object) {
            return link;
        }
    }
    return nullptr;
}

bool streamChain(System& system, NameLink* link, Stream& stream) {
    for (; link; link = link->nextSibling()) {
        if (link->isDirectory()) {
            NameLink* child = link->childLink();
            if (child && !child->streamAll(system, stream)) return false;
            continue;
        }
        Object* object = link->object();
        if (!object) continue;
        bool ok = stream.streamObject(system, object, "Object", nullptr);
        link->setObject(object);
        if (!ok) return false;
    }
    return true;
}

}  // namespace

bool ObjectLink::save(System& system) {
    return saveChain(system, this);
}
bool ObjectLink::exists(Object* object) {
    return existsInChain(this, object);
}
bool ObjectLink::clearAll(System& system) {
    return clearChain(system, this);
}
bool ObjectLink::deleteAll(System& system) {
    return deleteChain(system, this);
}
Object* ObjectLink::findObjectHierarchical(System& system, const char* fullName) {
    return findInChain(system, this, fullName);
}
NameLink* ObjectLink::findObjectLinkHierarchical(System& system, Object* object) {
    return findLinkInChain(system, this, object);
}
bool ObjectLink::streamAll(System& system, Stream& stream) {
    return streamChain(system, this, stream);
}

bool DirectoryLink::save(System& system) {
    return saveChain(system, this);
}
bool DirectoryLink::exists(Object* object) {
    return existsInChain(this, object);
}
bool DirectoryLink::clearAll(System& system) {
    return clearChain(system, this);
}
bool DirectoryLink::deleteAll(System& system) {
    return deleteChain(system, this);
}
Object* DirectoryLink::findObjectHierarchical(System& system, const char* fullName) {
    return findInChain(system, this, fullName);
}
NameLink* DirectoryLink::findObjectLinkHierarchical(System& system, Object* object) {
    return findLinkInChain(system, this, object);
}
bool DirectoryLink::streamAll(System& system, Stream& stream) {
    return streamChain(system, this, stream);
}

}  // namespace kova
}  // namespace tarn
