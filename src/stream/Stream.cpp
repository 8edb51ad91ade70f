#include "kova/stream.h"
#include "kova/system.h"

#include "kova/action.h"
#include "kova/container.h"
#include "kova/data.h"
#include "kova/effect.h"
#include "kova/event.h"
#include "kova/node.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

bool Stream::streamUbyte(unsigned char&, const char*) {
    return stream();
}
bool Stream::streamSbyte(signed char&, const char*) {
    return stream();
}
bool Stream::streamUshort(unsigned short&, const char*) {
    return stream();
}
bool Stream::streamSshort(short&, const char*) {
    return stream();
}
bool Stream::streamUlong(unsigned int&, const char*) {
    return stream();
}
bool Stream::streamSlong(int&, const char*) {
    return stream();
}
bool Stream::streamFloat(float&, const char*) {
    return stream();
}
bool Stream::streamBool(bool&, const char*) {
    return stream();
}
bool Stream::streamInt(int&, const char*) {
    return stream();
}
bool Stream::streamString(char*&, const char*) {
    return stream();
}
bool Stream::streamWstring(unsigned short*&, const char*) {
    return stream();
}
bool Stream::streamWchar(unsigned short&, const char*) {
    return stream();
}
bool Stream::streamPicture(System&, int&, const char*) {
    return stream();
}
bool Stream::streamFont(System&, int&, const char*) {
    return stream();
}
bool Stream::streamSound(System&, int&, const char*) {
    return stream();
}
// Every entry's reference is visited as an object field, so a visiting
// stream reaches the objects a list holds.
bool Stream::streamList(System& system, List& list, const char*) {
    return list.streamAll(system, *this);
}
bool Stream::streamIndex(int&, int (*)(int), const char* (*)(int), const char*) {
    return stream();
}
bool Stream::streamObject(System&, Object*&, const char*, RuntimeClass*) {
    return stream();
}

namespace {

// Every typed reference goes through streamObject; a missing required class
// documents the reference's own type. The field itself is empty while the
// stream works on the object, as it would be through an Object*& to it: a
// releasing pass that comes back to the same field through a loop of shared
// objects then finds it already let go. An object of another family that a
// damaged file puts into the field is let go too: the field is typed, and
// using the object as that type would be unsafe.
template <class T>
bool streamTyped(Stream& stream, System& system, T*& reference, const char* label,
                 RuntimeClass* requiredClass) {
    T* original = reference;
    Object* object = original;
    reference = nullptr;
    bool ok = stream.streamObject(system, object, label,
                                  requiredClass ? requiredClass : T::absoluteClass());
    if (object && object != original && !object->actualClass()->is(T::absoluteClass())) {
        system.printf("Kova: Error: Loading: Class %s cannot stand in field '%s'\r\n",
                      object->actualClass()->name(), label ? label : "");
        Object::clear(system, object);
    }
    reference = static_cast<T*>(object);
    return ok;
}

}  // namespace

bool Stream::streamEvent(System& system, Event*& reference, const char* label,
                         RuntimeClass* requiredClass) {
    return streamTyped(*this, system, reference, label, requiredClass);
}
bool Stream::streamAction(System& system, Action*& reference, const char* label,
                          RuntimeClass* requiredClass) {
    return streamTyped(*this, system, reference, label, requiredClass);
}
bool Stream::streamData(System& system, Data*& reference, const char* label,
                        RuntimeClass* requiredClass) {
    return streamTyped(*this, system, reference, label, requiredClass);
}
bool Stream::streamEffect(System& system, Effect*& reference, const char* label,
                          RuntimeClass* requiredClass) {
    return streamTyped(*this, system, reference, label, requiredClass);
}
bool Stream::streamFunction(System& system, Function*& reference, const char* label,
                            RuntimeClass* requiredClass) {
    return streamTyped(*this, system, reference, label, requiredClass);
}
bool Stream::streamNode(System& system, Node*& reference, const char* label,
                        RuntimeClass* requiredClass) {
    return streamTyped(*this, system, reference, label, requiredClass);
}
bool Stream::streamStyle(System& system, Style*& reference, const char* label,
                         RuntimeClass* requiredClass) {
    return streamTyped(*this, system, reference, label, requiredClass);
}
bool Stream::streamTree(System& system, Tree*& reference, const char* label,
                        RuntimeClass* requiredClass) {
    return streamTyped(*this, system, reference, label, requiredClass);
}
bool Stream::streamChildNode(System& system, Node*& reference, const char* label,
                             RuntimeClass* requiredClass) {
    return streamNode(system, reference, label, requiredClass);
}
bool Stream::streamNextNode(System& system, Node*& reference, const char* label,
                            RuntimeClass* requiredClass) {
    return streamNode(system, reference, label, requiredClass);
}

}  // namespace kova
}  // namespace tarn
