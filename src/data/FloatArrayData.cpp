#include "kova/data.h"

namespace tarn {
namespace kova {

FloatArrayData::FloatArrayData(float* array, int count, const char* name)
    : Data(name), array_(array), count_(count) {}

// Indexes outside the array are ignored; the write still reports true.
bool FloatArrayData::set(System&, int index, float value) {
    if (array_ && index >= 0 && index < count_) array_[index] = value;
    return true;
}

bool FloatArrayData::set(System& system, int index, const char* text) {
    return set(system, index, text ? Memory::stringToFloat(text) : 0.0f);
}

float FloatArrayData::value(System&, int index) {
    return array_ && index >= 0 && index < count_ ? array_[index] : 0.0f;
}

// The elements have no text form.
int FloatArrayData::character(System&, int, int) {
    return 0;
}

int FloatArrayData::indexCount(System&) {
    return count_;
}

void FloatArrayData::setArray(float* array, int count) {
    array_ = array;
    count_ = count;
}

}  // namespace kova
}  // namespace tarn
