#include "TextSyntax.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarn {
namespace kova {
namespace text {

namespace {

const unsigned int kQuietNan = 0x7FC00000u;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the strict UTF-8 sequence at p (no overlong forms, no encoded
// surrogates, nothing above U+10FFFF), or 0 when the bytes are not one.
int utf8Sequence(const unsigned char* p, std::size_t left, unsigned int& codePoint) {
    unsigned char b = p[0];
    if (b < 0x80) {
        codePoint = b;
        return 1;
    }
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (left < static_cast<std::size_t>(length)) return 0;
    if (p[1] < low || p[1] > high) return 0;
    for (int i = 2; i < length; ++i) {
        if (!isContinuation(p[i])) return 0;
    }
    unsigned int value = b & (0x7F >> length);
    for (int i = 1; i < length; ++i)
        value = (value << 6) | (p[i] & 0x3F);
    codePoint = value;
    return length;
}

void appendHexEscape(std::string& out, char kind, unsigned int value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), "\\%c%0*X", kind, digits, value);
    out += buffer;
}

// The escapes both kinds of text share; false when the character needs no
// escape of this kind.
bool appendCommonEscape(std::string& out, unsigned int c) {
    switch (c) {
        case '"':
            out += "\\\"";
            return true;
        case '\\':
            out += "\\\\";
            return true;
        case '\n':
            out += "\\n";
            return true;
        case '\r':
            out += "\\r";
            return true;
        case '\t':
            out += "\\t";
            return true;
        default:
            return false;
    }
}

bool isSurrogate(unsigned int unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

bool isControl(unsigned int c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

unsigned int floatBits(float value) {
    unsigned int bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

float bitsFloat(unsigned int bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

bool isNanBits(unsigned int bits) {
    return (bits & 0x7F800000u) == 0x7F800000u && (bits & 0x007FFFFFu) != 0;
}

bool parseNanBits(const std::string& word, unsigned int& bits) {
    const std::string prefix = "nan(0x";
    if (word.size() < prefix.size() + 2 || word.compare(0, prefix.size(), prefix) != 0 ||
        word.back() != ')') {
        return false;
    }
    std::string digits = word.substr(prefix.size(), word.size() - prefix.size() - 1);
    if (digits.empty() || digits.size() > 8) return false;
    unsigned int value = 0;
    for (char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return false;
        }
        value = (value << 4) | static_cast<unsigned int>(digit);
    }
    bits = value;
    return isNanBits(value);
}

// Plain decimal with an optional fraction and exponent; no hex floats, no
// words, nothing after the number.
bool isDecimalNumber(const std::string& word) {
    std::size_t i = 0;
    if (i < word.size() && word[i] == '-') ++i;
    int digits = 0;
    while (i < word.size() && word[i] >= '0' && word[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < word.size() && word[i] == '.') {
        ++i;
        while (i < word.size() && word[i] >= '0' && word[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        ++i;
        if (i < word.size() && (word[i] == '+' || word[i] == '-')) ++i;
        int exponentDigits = 0;
        while (i < word.size() && word[i] >= '0' && word[i] <= '9') {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) return false;
    }
    return i == word.size();
}

bool isValueWord(const std::string& word) {
    return word == "null" || word == "true" || word == "false" || word == "inf" || word == "nan";
}

}  // namespace

void appendUtf8(std::string& out, unsigned int c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string quoteBytes(const std::string& text) {
    std::string out = "\"";
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t size = text.size();
    for (std::size_t i = 0; i < size;) {
        unsigned char c = bytes[i];
        if (appendCommonEscape(out, c)) {
            ++i;
            continue;
        }
        unsigned int codePoint = 0;
        int length = utf8Sequence(bytes + i, size - i, codePoint);
        if (length == 0 || isControl(codePoint)) {
            appendHexEscape(out, 'x', c, 2);
            ++i;
            continue;
        }
        out.append(text, i, static_cast<std::size_t>(length));
        i += static_cast<std::size_t>(length);
    }
    return out + "\"";
}

std::string quoteBytes(const char* text) {
    return quoteBytes(std::string(text ? text : ""));
}

std::string quoteUnits(const unsigned short* units) {
    std::string out = "\"";
    for (std::size_t i = 0; units && units[i]; ++i) {
        unsigned int unit = units[i];
        unsigned int next = units[i + 1];
        if (unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else if (appendCommonEscape(out, unit)) {
        } else if (isSurrogate(unit) || isControl(unit)) {
            appendHexEscape(out, 'u', unit, 4);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out + "\"";
}

bool piecesToBytes(const std::vector<TextPiece>& pieces, std::string& bytes, std::string& why) {
    bytes.clear();
    for (const TextPiece& piece : pieces) {
        if (piece.value == 0) {
            why = "a text cannot hold a zero character";
            return false;
        }
        if (piece.kind != TextPiece::EscapedUnit) {
            bytes += static_cast<char>(piece.value);
        } else if (isSurrogate(piece.value)) {
            why = "a surrogate escape only fits a 16-bit text";
            return false;
        } else {
            appendUtf8(bytes, piece.value);
        }
    }
    return true;
}

bool piecesToUnits(const std::vector<TextPiece>& pieces, std::u16string& units, std::string& why) {
    units.clear();
    std::size_t i = 0;
    while (i < pieces.size()) {
        if (pieces[i].kind != TextPiece::Literal) {
            if (pieces[i].value == 0) {
                why = "a text cannot hold a zero character";
                return false;
            }
            units += static_cast<char16_t>(pieces[i].value);
            ++i;
            continue;
        }
        std::string run;
        while (i < pieces.size() && pieces[i].kind == TextPiece::Literal)
            run += static_cast<char>(pieces[i++].value);
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(run.data());
        for (std::size_t at = 0; at < run.size();) {
            unsigned int codePoint = 0;
            int length = utf8Sequence(bytes + at, run.size() - at, codePoint);
            if (length == 0 || codePoint == 0) {
                why = "a 16-bit text must be valid UTF-8";
                return false;
            }
            if (codePoint >= 0x10000) {
                codePoint -= 0x10000;
                units += static_cast<char16_t>(0xD800 + (codePoint >> 10));
                units += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
            } else {
                units += static_cast<char16_t>(codePoint);
            }
            at += static_cast<std::size_t>(length);
        }
    }
    return true;
}

namespace {

// Significant digits d1 d2 d3... of the value d1.d2d3... x 10^exponent,
// written as people write numbers (10, 200, 0.001, -1.5); an exponent only
// outside 1e-6 .. 1e15, where positional digits would run long ("1.5e-7",
// "3e20").
std::string placeDecimalPoint(const std::string& digits, int exponent) {
    int count = static_cast<int>(digits.size());
    if (exponent < -6 || exponent > 15) {
        std::string mantissa = digits.substr(0, 1);
        if (count > 1) mantissa += "." + digits.substr(1);
        return mantissa + "e" + std::to_string(exponent);
    }
    if (exponent < 0)
        return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    if (exponent >= count - 1)
        return digits + std::string(static_cast<std::size_t>(exponent - count + 1), '0');
    return digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
           digits.substr(static_cast<std::size_t>(exponent) + 1);
}

}  // namespace

std::string formatFloat(float value) {
    unsigned int bits = floatBits(value);
    if (isNanBits(bits)) {
        if (bits == kQuietNan) return "nan";
        char buffer[32];
        std::snprintf(buffer, sizeof(buffer), "nan(0x%08X)", bits);
        return buffer;
    }
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    // The fewest significant digits that read back to the same bits (nine
    // always do), taken from the "d.ddde+x" form.
    char buffer[64];
    for (int precision = 1; precision <= 9; ++precision) {
        std::snprintf(buffer, sizeof(buffer), "%.*e", precision - 1, static_cast<double>(value));
        if (floatBits(std::strtof(buffer, nullptr)) == bits) break;
    }
    std::string digits;
    const char* at = buffer;
    bool negative = *at == '-';
    if (negative) ++at;
    for (; *at != 'e'; ++at) {
        if (*at != '.') digits += *at;
    }
    int exponent = std::atoi(at + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string sign = negative ? "-" : "";
    return sign + placeDecimalPoint(digits, exponent);
}

bool parseFloat(const std::string& word, float& value) {
    if (word == "inf" || word == "-inf") {
        value = word[0] == '-' ? -HUGE_VALF : HUGE_VALF;
        return true;
    }
    unsigned int bits = 0;
    if (word == "nan" || parseNanBits(word, bits)) {
        value = bitsFloat(word == "nan" ? kQuietNan : bits);
        return true;
    }
    if (!isDecimalNumber(word)) return false;
    char* end = nullptr;
    float parsed = std::strtof(word.c_str(), &end);
    if (end != word.c_str() + word.size() || std::isinf(parsed)) return false;
    value = parsed;
    return true;
}

bool parseInteger(const std::string& word, long long& value) {
    std::size_t i = 0;
    bool negative = !word.empty() && word[0] == '-';
    if (negative) ++i;
    if (i == word.size() || word.size() - i > 18) return false;
    long long result = 0;
    for (; i < word.size(); ++i) {
        if (word[i] < '0' || word[i] > '9') return false;
        result = result * 10 + (word[i] - '0');
    }
    value = negative ? -result : result;
    return true;
}

bool isBareLabel(const char* label) {
    if (!label || !*label) return false;
    std::size_t size = std::strlen(label);
    if (label[0] == ' ' || label[size - 1] == ' ') return false;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(label);
    for (std::size_t i = 0; i < size;) {
        unsigned char c = bytes[i];
        if (c < 0x20 || c == 0x7F || std::strchr(":\"#{}[]", c)) return false;
        unsigned int codePoint = 0;
        int length = utf8Sequence(bytes + i, size - i, codePoint);
        if (length == 0 || isControl(codePoint)) return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

bool isBareWord(const std::string& word, bool allowColons) {
    if (word.empty() || isValueWord(word)) return false;
    char first = word[0];
    if (!(first == '_' || (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z'))) {
        return false;
    }
    for (char c : word) {
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        bool digit = c >= '0' && c <= '9';
        if (!letter && !digit && c != '_' && !(allowColons && c == ':')) return false;
    }
    return true;
}

std::string classToken(RuntimeClass* cls) {
    if (RuntimeClass::findClass(cls->name()) == cls && isBareWord(cls->name(), false)) {
        return cls->name();
    }
    if (RuntimeClass::findClass(cls->fullName()) == cls && isBareWord(cls->fullName(), true)) {
        return cls->fullName();
    }
    return quoteBytes(cls->fullName());
}

bool findIndexByName(const char* name, int (*toIndex)(int), const char* (*toName)(int),
                     int& value) {
    if (!name || !toName) return false;
    // Without an enumeration the first numbers are searched.
    const int kMostSteps = 65536;
    int candidate = 0;
    for (int step = 0; step < kMostSteps; ++step) {
        const char* text = toName(candidate);
        if (text && std::strcmp(text, name) == 0) {
            value = candidate;
            return true;
        }
        int next = toIndex ? toIndex(candidate) : (candidate < 1023 ? candidate + 1 : 0);
        if (next <= candidate) break;
        candidate = next;
    }
    return false;
}

std::string indexToken(int value, int (*toIndex)(int), const char* (*toName)(int)) {
    const char* name = toName ? toName(value) : nullptr;
    int found = 0;
    if (name && *name && findIndexByName(name, toIndex, toName, found) && found == value) {
        return isBareWord(name, false) ? std::string(name) : quoteBytes(name);
    }
    return std::to_string(value);
}

}  // namespace text
}  // namespace kova
}  // namespace tarn
