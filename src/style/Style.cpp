#include "kova/style.h"

#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Style, Object)

Style::Style(const char* name, int fontHandle)
    : fontHandle_(fontHandle), name_(Memory::stringDuplicate(name)) {}

Style::~Style() {
    Memory::stringDelete(name_);
}

bool Style::setName(const char* name) {
    char* copy = Memory::stringDuplicate(name);
    Memory::stringDelete(name_);
    name_ = copy;
    return true;
}

bool Style::onStream(System& system, Stream& stream) {
    return Object::onStream(system, stream) &&
           stream.streamFont(system, fontHandle_, "Font handle");
}

}  // namespace kova
}  // namespace tarn
