#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(BoolData, Data)

BoolData::BoolData(bool value, const char* name) : Data(name), value_(value) {}

// Only exactly 1.0 is true, so 2.0 or 0.5 read as false.
bool BoolData::set(System&, float value) {
    value_ = value == 1.0f;
    return true;
}

bool BoolData::set(System&, const char* text) {
    value_ = textToBool(text);
    return true;
}

float BoolData::value(System&) {
    return value_ ? 1.0f : 0.0f;
}

int BoolData::character(System&, int position) {
    return boolToString(value_, position);
}

bool BoolData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamBool(value_, "Value <do not edit>");
}

int BoolData::boolToString(bool value, int position) {
    const char* text = value ? "true" : "false";
    int length = value ? 4 : 5;
    return position >= 0 && position < length ? text[position] : 0;
}

// "true" in any case or exactly "1"; a missing text is false.
bool BoolData::textToBool(const char* text) {
    if (!text) return false;
    return Memory::stringCompareNcs(text, "true") == 0 || Memory::stringCompare(text, "1") == 0;
}

BoolRefData::BoolRefData(bool* reference, const char* name)
    : Data(name), reference_(reference ? reference : &ownValue_) {}

bool BoolRefData::set(System&, float value) {
    *reference_ = value == 1.0f;
    return true;
}

bool BoolRefData::set(System&, const char* text) {
    *reference_ = BoolData::textToBool(text);
    return true;
}

float BoolRefData::value(System&) {
    return *reference_ ? 1.0f : 0.0f;
}

int BoolRefData::character(System&, int position) {
    return BoolData::boolToString(*reference_, position);
}

}  // namespace kova
}  // namespace tarn
