#include "kova/runtime.h"

namespace tarn {
namespace kova {

namespace {

// The root record: no namespace in its name, no parent, and no counting.
class RootRecord : public RuntimeClass {
public:
    RootRecord() : RuntimeClass("RuntimeObject") {}
    RuntimeObject* create() override {
        void* memory = Memory::operator new(sizeof(RuntimeObject));
        return memory ? new (memory) RuntimeObject() : nullptr;
    }
};

}  // namespace

RuntimeClass* RuntimeObject::absoluteClass() {
    static RuntimeClass* record = new RootRecord();
    return record;
}

RuntimeClass* RuntimeObject::actualClass() {
    return RuntimeObject::absoluteClass();
}

int RuntimeObject::memorySize() {
    return static_cast<int>(sizeof(RuntimeObject));
}

void RuntimeObject::kill() {
    this->~RuntimeObject();
    Memory::operator delete(this);
}

namespace {
RuntimeClass* const kovaRecordOfRuntimeObject = RuntimeObject::absoluteClass();
}

bool RuntimeObject::create(RuntimeObject*& ref, RuntimeClass* cls) {
    destroy(ref);
    if (!cls) return false;
    RuntimeObject* object = cls->create();
    if (!object) return false;
    if (!object->onCreate()) {
        // Never counted, so it is released without touching the counter.
        object->onDestroy();
        object->kill();
        return false;
    }
    ref = object;
    object->actualClass()->increaseClassInstance();
    return true;
}

bool RuntimeObject::destroy(RuntimeObject*& ref) {
    if (!ref) return true;
    if (!ref->onDestroy()) {
        ref = nullptr;
        return false;
    }
    ref->actualClass()->decreaseClassInstance();
    ref->kill();
    ref = nullptr;
    return true;
}

}  // namespace kova
}  // namespace tarn
