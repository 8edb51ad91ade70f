#include "kova/data.h"
#include "kova/stream.h"

#include <climits>

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(IntData, Data)

IntData::IntData(int value, const char* name) : Data(name), value_(value), textValue_(value) {}

IntData::~IntData() {
    Memory::stringDelete(text_);
}

bool IntData::set(System&, float value) {
    value_ = roundToInt(value);
    return true;
}

bool IntData::set(System& system, const char* text) {
    return set(system, text ? Memory::stringToFloat(text) : 0.0f);
}

float IntData::value(System&) {
    return static_cast<float>(value_);
}

int IntData::character(System&, int position) {
    return intTextCharacter(value_, textValue_, text_, position);
}

bool IntData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamInt(value_, "Value <do not edit>");
}

// Half away from zero: 2.5 gives 3, -2.5 gives -3. Numbers an int cannot
// hold stop at its limits and NaN gives 0, where a plain conversion would be
// undefined.
int IntData::roundToInt(float value) {
    float rounded = value < 0.0f ? value - 0.5f : value + 0.5f;
    if (rounded != rounded) return 0;
    if (rounded >= 2147483648.0f) return INT_MAX;
    if (rounded < -2147483648.0f) return INT_MIN;
    return static_cast<int>(rounded);
}

IntRefData::IntRefData(int* reference, const char* name)
    : Data(name), reference_(reference ? reference : &ownValue_), textValue_(*reference_) {}

IntRefData::~IntRefData() {
    Memory::stringDelete(text_);
}

bool IntRefData::set(System&, float value) {
    *reference_ = IntData::roundToInt(value);
    return true;
}

bool IntRefData::set(System& system, const char* text) {
    return set(system, text ? Memory::stringToFloat(text) : 0.0f);
}

float IntRefData::value(System&) {
    return static_cast<float>(*reference_);
}

// The host may change its variable at any time; the text follows it.
int IntRefData::character(System&, int position) {
    return intTextCharacter(*reference_, textValue_, text_, position);
}

}  // namespace kova
}  // namespace tarn
