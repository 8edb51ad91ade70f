#include "kova/container.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

bool RegisterStream::streamObject(System& system, Object*& reference, const char*, RuntimeClass*) {
    if (!reference) return true;
    if (reference == oldObject_) {
        reference = newObject_;
        return true;
    }
    bool named = reference->name() != nullptr;
    // Named objects are reached on their own through the directory.
    if (named && insideNamedObject_) return true;
    bool wasInside = insideNamedObject_;
    if (named) insideNamedObject_ = true;
    Object* object = reference;
    reference = nullptr;
    bool ok = object->onRegister(system, *this);
    reference = object;
    if (!ok) return false;
    insideNamedObject_ = wasInside;
    return true;
}

// Walks the old object's own references, every object in the directory, and
// the System's references, which count as inside a named object so that
// named objects are entered only from the directory.
bool RegisterStream::check(System& system) {
    if (!oldObject_) return false;
    insideNamedObject_ = false;
    if (!oldObject_->onRegister(system, *this)) return false;
    insideNamedObject_ = false;
    if (system.nameTree() && !system.nameTree()->streamAll(system, *this)) return false;
    insideNamedObject_ = true;
    return system.onRegister(system, *this);
}

}  // namespace kova
}  // namespace tarn
