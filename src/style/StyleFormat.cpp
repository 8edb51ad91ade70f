// Formatted painting. The narrow form follows the C library's printf. The
// wide form reads a 16-bit format with the same conversions; only texts and
// characters differ: %s takes a narrow text, %ls a 16-bit text and %lc a
// 16-bit character, because the platform's wide characters need not be 16
// bits wide. Numbers are formatted by the C library one conversion at a
// time. %n stores nothing, and a malformed conversion ends the text there.
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "kova/data.h"
#include "kova/style.h"

namespace tarn {
namespace kova {

namespace {

// Collects units, always terminated; what does not fit is cut.
class WideOutput {
public:
    WideOutput(unsigned short* buffer, int size) : buffer_(buffer), size_(size) { buffer_[0] = 0; }
    void put(unsigned short unit) {
        if (length_ < size_ - 1) buffer_[length_++] = unit;
        buffer_[length_] = 0;
    }
    // Narrow text widens by zero-extending each byte.
    void putNarrow(const char* text, int count) {
        for (int i = 0; i < count; ++i)
            put(static_cast<unsigned char>(text[i]));
    }
    void pad(int count) {
        for (int i = 0; i < count && length_ < size_ - 1; ++i)
            put(' ');
    }

private:
    unsigned short* buffer_;
    int size_;
    int length_ = 0;
};

enum Size { Plain, Char, Short, Long, LongLong, Max, SizeT, Diff, LongDouble };

// One conversion, rewritten as a narrow format for the C library.
struct Conversion {
    char text[32] = {'%'};
    int length = 1;
    bool bad = false;
    bool left = false;
    int width = 0;
    int precision = -1;
    Size size = Plain;
    char type = 0;

    void add(char c) {
        if (length >= static_cast<int>(sizeof(text)) - 1) {
            bad = true;
            return;
        }
        text[length++] = c;
        text[length] = 0;
    }
    void addNumber(int value) {
        char digits[16];
        std::snprintf(digits, sizeof(digits), "%d", value);
        for (char* d = digits; *d; ++d)
            add(*d);
    }
};

bool isUnit(unsigned short unit, const char* set) {
    for (; *set; ++set)
        if (unit == static_cast<unsigned char>(*set)) return true;
    return false;
}

// Widths and precisions are capped, as no output is longer than the buffer.
int capped(int value) {
    return value < 100000 ? value : 100000;
}

// Digits of a width or precision.
int readDigits(const unsigned short*& format, Conversion& c) {
    int value = 0;
    while (*format >= '0' && *format <= '9') {
        value = capped(value * 10 + (*format - '0'));
        c.add(static_cast<char>(*format++));
    }
    return value;
}

void readSize(const unsigned short*& format, Conversion& c) {
    struct Modifier {
        const char* text;
        Size size;
    };
    static const Modifier modifiers[] = {{"hh", Char}, {"h", Short},     {"ll", LongLong},
                                         {"l", Long},  {"j", Max},       {"z", SizeT},
                                         {"t", Diff},  {"L", LongDouble}};
    for (const Modifier& m : modifiers) {
        bool match = format[0] == static_cast<unsigned char>(m.text[0]) &&
                     (!m.text[1] || format[1] == static_cast<unsigned char>(m.text[1]));
        if (!match) continue;
        for (const char* t = m.text; *t; ++t, ++format)
            c.add(*t);
        c.size = m.size;
        return;
    }
}

// Reads the conversion after its '%'; stars take their int arguments.
Conversion readConversion(const unsigned short*& format, va_list* args) {
    Conversion c;
    while (isUnit(*format, "-+ #0")) {
        if (*format == '-') c.left = true;
        c.add(static_cast<char>(*format++));
    }
    if (*format == '*') {
        ++format;
        int width = va_arg(*args, int);
        c.addNumber(width);  // a negative width is the '-' flag
        c.left = c.left || width < 0;
        c.width = width < 0 ? capped(-(width + 1)) + 1 : capped(width);
    } else {
        c.width = readDigits(format, c);
    }
    if (*format == '.') {
        ++format;
        if (*format == '*') {
            ++format;
            int precision = va_arg(*args, int);
            if (precision >= 0) {  // a negative precision counts as none
                c.add('.');
                c.addNumber(precision);
                c.precision = precision;
            }
        } else {
            c.add('.');
            c.precision = readDigits(format, c);
        }
    }
    readSize(format, c);
    if (*format == 0 || *format > 127) {
        c.bad = true;
        return c;
    }
    c.type = static_cast<char>(*format++);
    c.add(c.type);
    return c;
}

template <class T>
void putNumber(WideOutput& out, const Conversion& c, T value) {
    char piece[Style::FormatSize];
    int count = std::snprintf(piece, sizeof(piece), c.text, value);
    if (count < 0) return;
    out.putNarrow(piece, count < static_cast<int>(sizeof(piece))
                             ? count
                             : static_cast<int>(sizeof(piece)) - 1);
}

void putSigned(WideOutput& out, const Conversion& c, va_list* args) {
    switch (c.size) {
        case Long:
            return putNumber(out, c, va_arg(*args, long));
        case LongLong:
            return putNumber(out, c, va_arg(*args, long long));
        case Max:
            return putNumber(out, c, va_arg(*args, std::intmax_t));
        case SizeT:
            return putNumber(out, c, va_arg(*args, std::make_signed_t<std::size_t>));
        case Diff:
            return putNumber(out, c, va_arg(*args, std::ptrdiff_t));
        default:
            return putNumber(out, c, va_arg(*args, int));
    }
}

void putUnsigned(WideOutput& out, const Conversion& c, va_list* args) {
    switch (c.size) {
        case Long:
            return putNumber(out, c, va_arg(*args, unsigned long));
        case LongLong:
            return putNumber(out, c, va_arg(*args, unsigned long long));
        case Max:
            return putNumber(out, c, va_arg(*args, std::uintmax_t));
        case SizeT:
            return putNumber(out, c, va_arg(*args, std::size_t));
        case Diff:
            return putNumber(out, c, va_arg(*args, std::make_unsigned_t<std::ptrdiff_t>));
        default:
            return putNumber(out, c, va_arg(*args, unsigned int));
    }
}

// A 16-bit text with the width and precision of the conversion.
void putWide(WideOutput& out, const Conversion& c, const unsigned short* text, int count) {
    int shown = 0;
    while (shown < count && text[shown] && (c.precision < 0 || shown < c.precision))
        ++shown;
    if (!c.left) out.pad(c.width - shown);
    for (int i = 0; i < shown; ++i)
        out.put(text[i]);
    if (c.left) out.pad(c.width - shown);
}

void putText(WideOutput& out, const Conversion& c, va_list* args) {
    if (c.size == Long) {
        const unsigned short* text = va_arg(*args, const unsigned short*);
        const unsigned short empty = 0;
        putWide(out, c, text ? text : &empty, Style::FormatSize);
    } else {
        const char* text = va_arg(*args, const char*);
        putNumber(out, c, text ? text : "");
    }
}

void putCharacter(WideOutput& out, const Conversion& c, va_list* args) {
    if (c.size == Long) {
        unsigned short unit = static_cast<unsigned short>(va_arg(*args, unsigned int));
        putWide(out, c, &unit, 1);
    } else {
        putNumber(out, c, va_arg(*args, int));
    }
}

// False ends the text: the conversion was malformed.
bool putConversion(WideOutput& out, const Conversion& c, va_list* args) {
    if (c.bad) return false;
    switch (c.type) {
        case '%':
            out.put('%');
            return true;
        case 'd':
        case 'i':
            putSigned(out, c, args);
            return true;
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            putUnsigned(out, c, args);
            return true;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            if (c.size == LongDouble)
                putNumber(out, c, va_arg(*args, long double));
            else
                putNumber(out, c, va_arg(*args, double));
            return true;
        case 'c':
            putCharacter(out, c, args);
            return true;
        case 's':
            putText(out, c, args);
            return true;
        case 'p':
            putNumber(out, c, va_arg(*args, void*));
            return true;
        case 'n':
            va_arg(*args, void*);
            return true;
        default:
            return false;
    }
}

void formatWide(unsigned short* buffer, int size, const unsigned short* format, va_list* args) {
    WideOutput out(buffer, size);
    while (*format) {
        if (*format != '%') {
            out.put(*format++);
            continue;
        }
        ++format;
        Conversion c = readConversion(format, args);
        if (!putConversion(out, c, args)) return;
    }
}

}  // namespace

void Style::paintf(System& system, Style* style, Rectangle& area, Rectangle* clip, EffectPipe& pipe,
                   const char* format, ...) {
    if (!format) return;
    char text[FormatSize];
    va_list args;
    va_start(args, format);
    int count = std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    if (count < 0) text[0] = 0;  // an encoding error leaves nothing to paint
    paint(system, style, area, clip, pipe, text);
}

void Style::paintf(System& system, Style* style, Rectangle& area, Rectangle* clip, EffectPipe& pipe,
                   const unsigned short* format, ...) {
    if (!format) return;
    unsigned short text[FormatSize];
    va_list args;
    va_start(args, format);
    formatWide(text, FormatSize, format, &args);
    va_end(args);
    paint(system, style, area, clip, pipe, text);
}

}  // namespace kova
}  // namespace tarn
