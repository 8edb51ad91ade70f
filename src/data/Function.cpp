#include "kova/data.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Function, Object)

Function::Function(const char* name) : name_(Memory::stringDuplicate(name)) {}

Function::~Function() {
    Memory::stringDelete(name_);
}

// The copy is made first, so a function can be given its own name back.
bool Function::setName(const char* name) {
    char* copy = Memory::stringDuplicate(name);
    Memory::stringDelete(name_);
    name_ = copy;
    return true;
}

bool Function::call(System& system) {
    if (name_) system.printf("Kova: FunctionCall: %s\r\n", name_);
    return true;
}

bool Function::clear(System& system, Function*& function) {
    return Object::clear(system, function);
}

}  // namespace kova
}  // namespace tarn
