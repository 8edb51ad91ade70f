#include "kova/container.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

bool List::clear(System& system) {
    for (;;) {
        int handle = firstHandle();
        if (handle == 0) return true;
        Object* object = objectFromHandle(handle);
        remove(system, handle);
        // An entry holding null ends the list here; entries after it stay.
        if (!object) return true;
        if (!Object::clear(system, object)) return false;
    }
}

int List::lastHandle() {
    int handle = firstHandle();
    if (handle == 0) return 0;
    for (int next = nextHandle(handle); next != 0; next = nextHandle(handle))
        handle = next;
    return handle;
}

// 0 has no predecessor, as with every other handle that is not in the list.
int List::previousHandle(int handle) {
    if (handle == 0) return 0;
    for (int h = firstHandle(); h != 0; h = nextHandle(h)) {
        if (nextHandle(h) == handle) return h;
    }
    return 0;
}

int List::objectCount() {
    int count = 0;
    for (int h = firstHandle(); h != 0 && objectFromHandle(h); h = nextHandle(h))
        ++count;
    return count;
}

// A handle that is not in the list counts every entry.
int List::objectCountBeforeHandle(int handle) {
    if (handle == 0) return 0;
    int count = 0;
    for (int h = firstHandle(); h != 0 && h != handle; h = nextHandle(h))
        ++count;
    return count;
}

int List::objectCountAfterHandle(int handle) {
    if (handle == 0) return 0;
    int count = 0;
    for (int h = nextHandle(handle); h != 0 && objectFromHandle(h); h = nextHandle(h))
        ++count;
    return count;
}

Object* List::objectFromIndex(int index) {
    return objectFromHandle(handleFromIndex(index));
}

int List::indexFromHandle(int handle) {
    if (handle == 0) return -1;
    int index = 0;
    for (int h = firstHandle(); h != 0; h = nextHandle(h), ++index) {
        if (h == handle) return index;
    }
    return -1;
}

int List::handleFromIndex(int index) {
    if (index < 0) return 0;
    int handle = firstHandle();
    for (; handle != 0 && index > 0; --index)
        handle = nextHandle(handle);
    return handle;
}

int List::handleFromObject(Object* object) {
    for (int h = firstHandle(); h != 0; h = nextHandle(h)) {
        if (objectFromHandle(h) == object) return h;
    }
    return 0;
}

RuntimeClass* List::validClass() {
    return Object::absoluteClass();
}

const char* List::string(System&, int handle) {
    Object* object = objectFromHandle(handle);
    if (!object) return "<empty>";
    if (const char* name = object->name()) return name;
    return object->actualClass()->name();
}

bool List::onLoad(System& system, IStream& in) {
    for (;;) {
        Object* object = nullptr;
        if (!Object::load(system, object, in)) {
            // A record that failed half-way still hands over what it made.
            Object::clear(system, object);
            return false;
        }
        if (!object) return true;  // the end record
        // A record the list refuses would otherwise be lost with nobody to
        // release it; a named one lives on in the name directory.
        if (!appendObject(system, object)) Object::clear(system, object);
    }
}

bool List::onSave(System& system, OStream& out) {
    for (int h = firstHandle(); h != 0; h = nextHandle(h)) {
        Object* object = objectFromHandle(h);
        if (!object) break;
        if (!Object::save(system, object, out)) return false;
    }
    Object* end = nullptr;
    return Object::save(system, end, out);
}

bool List::streamAll(System& system, Stream& stream) {
    int handle = firstHandle();
    while (handle != 0) {
        Object* before = objectFromHandle(handle);
        Object* object = before;
        if (!stream.streamObject(system, object, "Object", nullptr)) return false;
        if (object != before) setObjectFromHandle(handle, object);
        int next = nextHandle(handle);
        if (!object) remove(system, handle);
        handle = next;
    }
    return true;
}

}  // namespace kova
}  // namespace tarn
