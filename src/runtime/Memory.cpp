#include "kova/runtime.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tarn {
namespace kova {

namespace {
void reverse(char* first, char* last) {
    for (; first < last; ++first, --last) {
        char t = *first;
        *first = *last;
        *last = t;
    }
}
// Writes the exact decimal digits of a float's whole part (up to 39 of
// them): the mantissa's digits, doubled once for each binary exponent step,
// so large values come out exactly as stored rather than as a double
// division would round them.
char* writeWholeDigits(float whole, char* out) {
    int exponent = 0;
    float fraction = std::frexp(whole, &exponent);
    unsigned long long mantissa =
        static_cast<unsigned long long>(std::ldexp(static_cast<double>(fraction), 24));
    int shift = exponent - 24;
    if (shift < 0) mantissa >>= -shift;  // a whole number: the shifted-out bits are 0
    unsigned char digits[48];            // least significant first
    int count = 0;
    do {
        digits[count++] = static_cast<unsigned char>(mantissa % 10);
        mantissa /= 10;
    } while (mantissa);
    for (; shift > 0; --shift) {
        int carry = 0;
        for (int i = 0; i < count; ++i) {
            int doubled = digits[i] * 2 + carry;
            digits[i] = static_cast<unsigned char>(doubled % 10);
            carry = doubled / 10;
        }
        if (carry) digits[count++] = static_cast<unsigned char>(carry);
    }
    while (count)
        *out++ = static_cast<char>('0' + digits[--count]);
    return out;
}

}  // namespace

void* Memory::operator new(std::size_t size) {
    return ::operator new(size, std::nothrow);
}

void* Memory::operator new[](std::size_t size) {
    return ::operator new[](size, std::nothrow);
}

void Memory::operator delete(void* p) {
    ::operator delete(p);
}

void Memory::operator delete[](void* p) {
    ::operator delete[](p);
}

void Memory::memoryCopy(void* dst, const void* src, std::size_t n) {
    if (n) std::memcpy(dst, src, n);
}

void Memory::memoryMove(void* dst, void* src, std::size_t n) {
    if (n) std::memmove(dst, src, n);
}

char* Memory::stringCreate(std::size_t n) {
    return static_cast<char*>(Memory::operator new[](n));
}

void Memory::stringDelete(char*& s) {
    Memory::operator delete[](s);
    s = nullptr;
}

unsigned int Memory::stringLength(const char* s) {
    return static_cast<unsigned int>(std::strlen(s));
}

char* Memory::stringDuplicate(const char* s) {
    if (!s) return nullptr;
    std::size_t size = std::strlen(s) + 1;
    char* copy = stringCreate(size);
    if (copy) std::memcpy(copy, s, size);
    return copy;
}

void Memory::stringCopy(char* dst, const char* src) {
    std::strcpy(dst, src);
}

void Memory::stringCopy(char* dst, const unsigned short* src) {
    while (*src)
        *dst++ = static_cast<char>(*src++ & 0xFF);
    *dst = 0;
}

void Memory::stringCopy(unsigned short* dst, const char* src) {
    while (*src)
        *dst++ = static_cast<unsigned char>(*src++);
    *dst = 0;
}

void Memory::stringConcatenate(char* dst, const char* src) {
    std::strcat(dst, src);
}

int Memory::stringCompare(const char* a, const char* b) {
    int result = std::strcmp(a, b);  // strcmp compares as unsigned char
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int Memory::stringCompareNcs(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    while (*x && std::tolower(*x) == std::tolower(*y)) {
        ++x;
        ++y;
    }
    return std::tolower(*x) - std::tolower(*y);
}

char* Memory::stringChar(const char* s, int c) {
    return const_cast<char*>(std::strchr(s, c));
}

char* Memory::stringCharReverse(const char* s, int c) {
    return const_cast<char*>(std::strrchr(s, c));
}

int Memory::stringCharReplace(char* s, int from, int to) {
    if (!s) return 0;
    int replaced = 0;
    for (; *s; ++s) {
        if (*s == static_cast<char>(from)) {
            *s = static_cast<char>(to);
            ++replaced;
        }
    }
    return replaced;
}

unsigned short* Memory::wstringCreate(std::size_t n) {
    return static_cast<unsigned short*>(Memory::operator new[](n * sizeof(unsigned short)));
}

void Memory::wstringDelete(unsigned short*& s) {
    Memory::operator delete[](s);
    s = nullptr;
}

unsigned int Memory::wstringLength(const unsigned short* s) {
    if (!s) return 0;
    unsigned int length = 0;
    while (s[length])
        ++length;
    return length;
}

unsigned short* Memory::wstringDuplicate(const unsigned short* s) {
    unsigned int length = wstringLength(s);
    if (length == 0) return nullptr;  // empty wide strings are kept as null
    unsigned short* copy = wstringCreate(length + 1);
    if (copy) std::memcpy(copy, s, (length + 1) * sizeof(unsigned short));
    return copy;
}

float Memory::stringToFloat(const char* s) {
    return std::strtof(s, nullptr);
}

float Memory::wstringToFloat(const unsigned short* s) {
    char narrow[64];
    int i = 0;
    for (; i < 63 && s[i]; ++i)
        narrow[i] = static_cast<char>(s[i] & 0xFF);
    narrow[i] = 0;
    return stringToFloat(narrow);
}

void Memory::floatToString(float value, int decimals, char* out) {
    if (std::isnan(value)) {
        stringCopy(out, "nan");
        return;
    }
    if (value < 0.0f) {
        *out++ = '-';
        value = -value;
    }
    if (std::isinf(value)) {
        stringCopy(out, "inf");
        return;
    }
    out = writeWholeDigits(std::trunc(value), out);
    if (decimals != 0) *out++ = '.';
    // In double the fraction of a float stays exact while it is multiplied
    // by 10, so the digits are those of the stored value: 0.1f shows as
    // 0.100000001, where float arithmetic would round it to 0.100000000.
    double fraction = static_cast<double>(value) - std::trunc(static_cast<double>(value));
    for (int i = 0; i < decimals; ++i) {
        fraction *= 10.0;
        int digit = static_cast<int>(fraction);
        *out++ = static_cast<char>('0' + digit % 10);
        fraction -= digit;
    }
    *out = 0;
}

void Memory::intToString(int value, char* out) {
    unsigned int magnitude =
        value < 0 ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
    if (value < 0) *out++ = '-';
    char* start = out;
    do {
        *out++ = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    *out = 0;
    reverse(start, out - 1);
}

}  // namespace kova
}  // namespace tarn
