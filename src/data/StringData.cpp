// The narrow text classes: a text of its own, a text of the host's, and a
// text in a fixed buffer of the host's.
#include <cstring>

#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(StringData, Data)
KOVA_IMPLEMENT_CLASS(StringRefData, Data)

namespace {
// The byte at position as an unsigned value; 0 for a missing text and at or
// past the terminator.
int textByte(const char* text, int position) {
    if (!text || position < 0) return 0;
    if (std::memchr(text, 0, static_cast<std::size_t>(position))) return 0;
    return static_cast<unsigned char>(text[position]);
}

// The bytes a text takes, terminator included; 0 for none.
int bufferSize(const char* text) {
    return text ? static_cast<int>(std::strlen(text)) + 1 : 0;
}

float textNumber(const char* text) {
    return text ? Memory::stringToFloat(text) : 0.0f;
}
}  // namespace

StringData::StringData(const char* text, const char* name)
    : Data(name),
      text_(Memory::stringDuplicate(text)),
      size_(bufferSize(text_)),
      length_(size_ ? size_ - 1 : 0) {}

StringData::~StringData() {
    Memory::stringDelete(text_);
}

bool StringData::set(System& system, float value) {
    char text[NumberTextSize];
    formatFloat(value, NumberTextDigits, text, NumberTextSize);
    return set(system, static_cast<const char*>(text));
}

// A text that fits the buffer already held is copied into it, so a shown
// value that the game changes every frame costs no allocation (memmove, since
// the text may be part of the data's own). Otherwise the copy is made first,
// so the data's own text can be written back.
bool StringData::set(System&, const char* text) {
    int size = bufferSize(text);
    if (text && text_ && size <= size_) {
        std::memmove(text_, text, static_cast<std::size_t>(size));
        length_ = size - 1;
        return true;
    }
    char* copy = Memory::stringDuplicate(text);
    Memory::stringDelete(text_);
    text_ = copy;
    size_ = bufferSize(text_);
    length_ = size_ ? size_ - 1 : 0;
    return true;
}

float StringData::value(System&) {
    return textNumber(text_);
}

// 0 for a missing text and at or past the terminator.
int StringData::character(System&, int position) {
    if (position < 0 || position >= length_) return 0;
    return static_cast<unsigned char>(text_[position]);
}

// A stream may replace or free the text; its length is then all that is known
// of the buffer.
bool StringData::onStream(System& system, Stream& stream) {
    bool ok = Data::onStream(system, stream) && stream.streamString(text_, "String <do not edit>");
    size_ = bufferSize(text_);
    length_ = size_ ? size_ - 1 : 0;
    return ok;
}

StringRefData::StringRefData(char** reference, const char* name)
    : Data(name), reference_(reference ? reference : &ownText_) {}

// The host's text stays with the host's variable; a text of its own is this
// object's to free.
StringRefData::~StringRefData() {
    if (reference_ == &ownText_) Memory::stringDelete(ownText_);
}

bool StringRefData::set(System& system, float value) {
    char text[NumberTextSize];
    formatFloat(value, NumberTextDigits, text, NumberTextSize);
    return set(system, static_cast<const char*>(text));
}

bool StringRefData::set(System&, const char* text) {
    char* copy = Memory::stringDuplicate(text);
    Memory::stringDelete(*reference_);
    *reference_ = copy;
    return true;
}

float StringRefData::value(System&) {
    return textNumber(*reference_);
}

int StringRefData::character(System&, int position) {
    return textByte(*reference_, position);
}

StaticStringData::StaticStringData(char* buffer, int size, const char* name)
    : Data(name), buffer_(buffer), size_(size) {}

bool StaticStringData::set(System& system, float value) {
    char text[NumberTextSize];
    formatFloat(value, NumberTextDigits, text, NumberTextSize);
    return set(system, static_cast<const char*>(text));
}

// Copied front to back, so a text taken from further on in the buffer itself
// survives. A missing text empties the buffer.
bool StaticStringData::set(System&, const char* text) {
    if (!buffer_ || size_ < 1) return true;
    int length = 0;
    if (text) {
        while (length < size_ - 1 && text[length]) {
            buffer_[length] = text[length];
            ++length;
        }
    }
    buffer_[length] = 0;
    return true;
}

// The host's buffer need not be terminated: the number is read from a
// terminated copy of at most its first 63 bytes.
float StaticStringData::value(System&) {
    char text[64];
    int length = 0;
    while (buffer_ && length < size_ && length < 63 && buffer_[length]) {
        text[length] = buffer_[length];
        ++length;
    }
    text[length] = 0;
    return Memory::stringToFloat(text);
}

// Positions stop at the buffer's end even when the host left no terminator.
int StaticStringData::character(System&, int position) {
    if (!buffer_ || position >= size_) return 0;
    return textByte(buffer_, position);
}

}  // namespace kova
}  // namespace tarn
