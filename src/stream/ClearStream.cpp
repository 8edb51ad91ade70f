#include "kova/container.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

bool ClearStream::streamList(System& system, List& list, const char*) {
    return list.clear(system);
}

// The object is out of its reference while it clears itself, so a chain of
// named objects that refer to each other ends instead of going round.
bool ClearStream::streamObject(System& system, Object*& reference, const char*, RuntimeClass*) {
    if (!reference) return true;
    Object* object = reference;
    reference = nullptr;
    bool named = object->name() != nullptr;
    if (named && !clearNamedObjects_) return true;  // the name directory keeps it
    if (!object->onClear(system, *this)) return false;
    if (named) {
        reference = object;
        return true;
    }
    RuntimeObject* released = object;
    return destroyObject(released);
}

bool ClearStream::destroyObject(RuntimeObject*& reference) {
    return RuntimeObject::destroy(reference);
}

}  // namespace kova
}  // namespace tarn
