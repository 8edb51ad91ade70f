#include "kova/runtime.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Object, RuntimeObject)

bool Object::onCreate(System&) {
    return true;
}
bool Object::onClear(System& system, Stream& stream) {
    return onStream(system, stream);
}
bool Object::onStream(System&, Stream&) {
    return true;
}
bool Object::onLoad(System& system, IStream& stream) {
    return onStream(system, stream);
}
bool Object::onSave(System& system, OStream& stream) {
    return onStream(system, stream);
}
bool Object::onRegister(System& system, Stream& stream) {
    return onStream(system, stream);
}

bool Object::canHaveName(System& system) {
    return system.isNameableObject(this);
}

bool Object::create(System& system, Object*& ref, RuntimeClass* cls) {
    if (cls && !cls->is(Object::absoluteClass())) {
        RuntimeObject::destroy(ref);
        return false;
    }
    RuntimeObject* object = ref;
    bool created = RuntimeObject::create(object, cls);
    ref = static_cast<Object*>(object);
    if (!created) return false;
    if (!ref->onCreate(system)) {
        clear(system, ref);
        return false;
    }
    return true;
}

bool Object::create(System& system, Object*& ref, Object* object) {
    RuntimeObject::destroy(ref);
    if (!object) return false;
    object->actualClass()->increaseClassInstance();
    if (!object->onCreate(system)) {
        // The caller keeps the refused object, so it is no longer counted.
        object->actualClass()->decreaseClassInstance();
        return false;
    }
    ref = object;
    return true;
}

bool Object::clear(System& system, Object*& ref) {
    ClearStream clearing(false);
    return clearing.streamObject(system, ref, "Object", nullptr);
}

}  // namespace kova
}  // namespace tarn
