// Read-only views of texts on the caller's stack. They take part in no file
// and no registration; only their characters are read.
#include <cstring>

#include "kova/data.h"

namespace tarn {
namespace kova {

StackData::StackData(const char* text) : Data(nullptr), text_(text) {}

// Sign-extended, as a plain char reads: a byte 0xE9 gives -23.
int StackData::character(System&, int position) {
    if (!text_ || position < 0) return 0;
    if (std::memchr(text_, 0, static_cast<std::size_t>(position))) return 0;
    return static_cast<signed char>(text_[position]);
}

WstackData::WstackData(const unsigned short* text) : Data(nullptr), text_(text) {}

int WstackData::character(System&, int position) {
    if (!text_ || position < 0) return 0;
    for (int i = 0; i < position; ++i)
        if (text_[i] == 0) return 0;
    return text_[position];
}

}  // namespace kova
}  // namespace tarn
