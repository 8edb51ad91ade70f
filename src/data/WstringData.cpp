#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(WstringData, Data)

WstringData::WstringData(const unsigned short* text, const char* name)
    : Data(name), text_(Memory::wstringDuplicate(text)) {}

WstringData::~WstringData() {
    Memory::wstringDelete(text_);
}

bool WstringData::set(System& system, float value) {
    char text[NumberTextSize];
    formatFloat(value, NumberTextDigits, text, NumberTextSize);
    return set(system, static_cast<const char*>(text));
}

// The copy is made first, so the data's own text can be written back.
bool WstringData::set(System&, const unsigned short* text) {
    unsigned short* copy = Memory::wstringDuplicate(text);
    Memory::wstringDelete(text_);
    text_ = copy;
    return true;
}

// Each byte widens to one code unit; a missing text stays missing.
bool WstringData::set(System&, const char* text) {
    unsigned short* wide = nullptr;
    if (text) {
        wide = Memory::wstringCreate(Memory::stringLength(text) + 1);
        if (wide) Memory::stringCopy(wide, text);
    }
    Memory::wstringDelete(text_);
    text_ = wide;
    return true;
}

float WstringData::value(System&) {
    return text_ ? Memory::wstringToFloat(text_) : 0.0f;
}

int WstringData::character(System&, int position) {
    if (!text_ || position < 0) return 0;
    for (int i = 0; i < position; ++i)
        if (text_[i] == 0) return 0;
    return text_[position];
}

bool WstringData::onStream(System& system, Stream& stream) {
    return Data::onStream(system, stream) && stream.streamWstring(text_, "Wstring <do not edit>");
}

}  // namespace kova
}  // namespace tarn
