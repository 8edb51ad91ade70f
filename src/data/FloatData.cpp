#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(FloatData, Data)
KOVA_IMPLEMENT_CLASS(FloatRefData, Data)

FloatData::FloatData(float value, const char* name)
    : Data(name), value_(value), textValue_(value) {}

FloatData::~FloatData() {
    Memory::stringDelete(text_);
}

bool FloatData::set(System&, float value) {
    value_ = value;
    return true;
}

bool FloatData::set(System& system, const char* text) {
    return set(system, text ? Memory::stringToFloat(text) : 0.0f);
}

float FloatData::value(System&) {
    return value_;
}

int FloatData::character(System&, int position) {
    return floatTextCharacter(value_, textValue_, text_, position);
}

bool FloatData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamFloat(value_, "Value <do not edit>");
}

FloatRefData::FloatRefData(float* reference, const char* name)
    : Data(name), reference_(reference ? reference : &ownValue_), textValue_(*reference_) {}

FloatRefData::~FloatRefData() {
    Memory::stringDelete(text_);
}

bool FloatRefData::set(System&, float value) {
    *reference_ = value;
    return true;
}

bool FloatRefData::set(System& system, const char* text) {
    return set(system, text ? Memory::stringToFloat(text) : 0.0f);
}

float FloatRefData::value(System&) {
    return *reference_;
}

int FloatRefData::character(System&, int position) {
    return floatTextCharacter(*reference_, textValue_, text_, position);
}

}  // namespace kova
}  // namespace tarn
