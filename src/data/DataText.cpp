// The text operations of Data and the number texts its classes keep.
#include <climits>

#include "kova/data.h"

namespace tarn {
namespace kova {

namespace {
// Room for any float: a sign, 39 integer digits, the point, the fraction
// digits and the terminator.
const int kScratchSize = 64;
const int kMaxDigits = 20;

// The byte at position of a text of at most size bytes, sign-extended; 0 at
// and past the terminator.
int cachedTextCharacter(const char* text, int size, int position) {
    if (position < 0 || position >= size) return 0;
    for (int i = 0; i < position; ++i)
        if (text[i] == 0) return 0;
    return static_cast<signed char>(text[position]);
}
}  // namespace

int Data::stringLength(System& system) {
    int length = 0;
    while (length < INT_MAX && character(system, length) != 0)
        ++length;
    return length;
}

int Data::stringLength(System& system, int index) {
    int length = 0;
    while (length < INT_MAX && character(system, index, length) != 0)
        ++length;
    return length;
}

int Data::stringCopy(System& system, char* buffer, int size) {
    if (!buffer || size < 1) return 0;
    for (int position = 0; position < size; ++position) {
        buffer[position] = static_cast<char>(character(system, position));
        if (buffer[position] == 0) return position;
    }
    buffer[size - 1] = 0;
    return size;
}

int Data::stringCopy(System& system, unsigned short* buffer, int size) {
    if (!buffer || size < 1) return 0;
    for (int position = 0; position < size; ++position) {
        buffer[position] = static_cast<unsigned short>(character(system, position));
        if (buffer[position] == 0) return position;
    }
    buffer[size - 1] = 0;
    return size;
}

int Data::stringCopy(System& system, int index, char* buffer, int size) {
    if (!buffer || size < 1) return 0;
    for (int position = 0; position < size; ++position) {
        buffer[position] = static_cast<char>(character(system, index, position));
        if (buffer[position] == 0) return position;
    }
    buffer[size - 1] = 0;
    return size;
}

int Data::stringCopy(System& system, int index, unsigned short* buffer, int size) {
    if (!buffer || size < 1) return 0;
    for (int position = 0; position < size; ++position) {
        buffer[position] = static_cast<unsigned short>(character(system, index, position));
        if (buffer[position] == 0) return position;
    }
    buffer[size - 1] = 0;
    return size;
}

// A missing other reads as an empty text.
int Data::stringCompare(System& system, Data* other) {
    for (int position = 0; position < INT_MAX; ++position) {
        int mine = character(system, position);
        int theirs = other ? other->character(system, position) : 0;
        if (mine == 0) return -theirs;
        if (theirs == 0 || mine != theirs) return mine - theirs;
    }
    return 0;
}

int Data::intTextCharacter(int value, int& textValue, char*& text, int position) {
    if (!text) {
        text = Memory::stringCreate(IntTextSize);
        if (!text) return 0;
        Memory::intToString(value, text);
        textValue = value;
    } else if (value != textValue) {
        Memory::intToString(value, text);
        textValue = value;
    }
    return cachedTextCharacter(text, IntTextSize, position);
}

// NaN never equals the kept value, so its text is remade on every read.
int Data::floatTextCharacter(float value, float& textValue, char*& text, int position) {
    if (!text) {
        text = Memory::stringCreate(FloatTextSize);
        if (!text) return 0;
        formatFloat(value, FloatTextDigits, text, FloatTextSize);
        textValue = value;
    } else if (value != textValue) {
        formatFloat(value, FloatTextDigits, text, FloatTextSize);
        textValue = value;
    }
    return cachedTextCharacter(text, FloatTextSize, position);
}

void Data::formatFloat(float value, int digits, char* buffer, int size) {
    if (!buffer || size < 1) return;
    char scratch[kScratchSize];
    Memory::floatToString(value, digits < kMaxDigits ? digits : kMaxDigits, scratch);
    int length = 0;
    while (length < size - 1 && scratch[length]) {
        buffer[length] = scratch[length];
        ++length;
    }
    buffer[length] = 0;
}

}  // namespace kova
}  // namespace tarn
