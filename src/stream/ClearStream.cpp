#include "kova/stream.h"

namespace tarn {
namespace kova {

bool ClearStream::streamList(System&, List&, const char*) {
    // Lists are released with the list container.
    return true;
}

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
