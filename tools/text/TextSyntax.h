// Spelling of single values in the text form of object files: quoted texts
// with their escapes, numbers, and the words that stand for classes and
// index names. Writer and reader share these so every value reads back as
// exactly the bits it was written from.
#pragma once

#include <string>
#include <vector>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace text {

// One element of a quoted text as the reader met it. Literal bytes are kept
// as bytes (8-bit texts take them unchanged, 16-bit texts decode them as
// UTF-8); "\xHH" is one byte or one 16-bit unit; "\uHHHH" is one code unit
// (UTF-8 encoded into 8-bit texts, stored as it stands in 16-bit texts).
struct TextPiece {
    enum Kind { Literal, EscapedByte, EscapedUnit };
    Kind kind = Literal;
    unsigned int value = 0;
};

// "..." for 8-bit text: quote, backslash, line breaks and tabs escaped,
// other control bytes and bytes that are not part of valid UTF-8 as "\xHH";
// valid UTF-8 stays as it is so hand-written accents read naturally. A null
// text is written as "" (both are stored as length 0).
std::string quoteBytes(const char* text);
std::string quoteBytes(const std::string& text);

// "..." for 16-bit text: surrogate pairs and other characters are written as
// UTF-8; controls and lone surrogates as "\uHHHH".
std::string quoteUnits(const unsigned short* units);

// The pieces of a quoted text as 8-bit bytes or as 16-bit units. False with
// a reason when the text cannot be stored (a zero byte or unit, invalid
// UTF-8 in a 16-bit text, a surrogate escape in an 8-bit text).
bool piecesToBytes(const std::vector<TextPiece>& pieces, std::string& bytes, std::string& why);
bool piecesToUnits(const std::vector<TextPiece>& pieces, std::u16string& units, std::string& why);

// Floats are written in the shortest decimal form that reads back to the
// same bits; infinities as "inf" and "-inf"; the usual quiet NaN as "nan"
// and any other NaN as "nan(0xXXXXXXXX)" with its bit pattern.
std::string formatFloat(float value);
bool parseFloat(const std::string& word, float& value);

// Plain decimal integers, optionally negative; false for anything else or
// for magnitudes beyond what any field can hold.
bool parseInteger(const std::string& word, long long& value);

// Labels written without quotes: no leading or trailing blank, no control
// bytes, and none of the characters that end a label or start a comment.
bool isBareLabel(const char* label);

// Words written without quotes: an identifier, with "::" allowed in class
// names. Such a word never reads as a number or as one of the value words.
bool isBareWord(const std::string& word, bool allowColons);

// A class as the text names it: its short name when that finds the same
// class, its full name otherwise; quoted when it is not a plain word.
std::string classToken(RuntimeClass* cls);

// Index fields: the names a class gives its numbers are looked up along
// the class's enumeration (0, then each next valid number).
bool findIndexByName(const char* name, int (*toIndex)(int), const char* (*toName)(int), int& value);
std::string indexToken(int value, int (*toIndex)(int), const char* (*toName)(int));

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, unsigned int codePoint);

}  // namespace text
}  // namespace kova
}  // namespace tarn
