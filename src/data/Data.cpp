#include "kova/data.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Data, Object)

namespace {
// Wide text handed to a class that only takes narrow text is narrowed on the
// stack, so writing a variable allocates nothing.
const int kNarrowBufferSize = 512;
}  // namespace

Data::Data(const char* name) : name_(Memory::stringDuplicate(name)) {}

Data::~Data() {
    Memory::stringDelete(name_);
}

// The copy is made first, so a data object can be given its own name back.
bool Data::setName(const char* name) {
    char* copy = Memory::stringDuplicate(name);
    Memory::stringDelete(name_);
    name_ = copy;
    return true;
}

bool Data::set(System& system, int, float value) {
    set(system, value);
    return true;
}

bool Data::set(System& system, int, const unsigned short* text) {
    set(system, text);
    return true;
}

bool Data::set(System& system, int, const char* text) {
    set(system, text);
    return true;
}

bool Data::set(System&, float) {
    return true;
}

// A missing text is passed on as missing.
bool Data::set(System& system, const unsigned short* text) {
    if (!text) {
        set(system, static_cast<const char*>(nullptr));
        return true;
    }
    char narrow[kNarrowBufferSize];
    int length = 0;
    while (length < kNarrowBufferSize - 1 && text[length]) {
        narrow[length] = static_cast<char>(text[length] & 0xFF);
        ++length;
    }
    if (text[length]) system.printf("Kova: Warning: Data::set, string is longer than buffer\r\n");
    narrow[length] = 0;
    set(system, static_cast<const char*>(narrow));
    return true;
}

bool Data::set(System&, const char*) {
    return true;
}

float Data::value(System& system, int) {
    return value(system);
}

float Data::value(System&) {
    return 0.0f;
}

int Data::character(System& system, int, int position) {
    return character(system, position);
}

int Data::character(System&, int) {
    return 0;
}

int Data::indexCount(System&) {
    return 1;
}

Data* Data::dataAt(int index) {
    return index == 0 ? this : nullptr;
}

}  // namespace kova
}  // namespace tarn
