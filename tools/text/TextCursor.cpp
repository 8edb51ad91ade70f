#include "TextCursor.h"

#include <cstdio>
#include <cstring>

namespace tarn {
namespace kova {
namespace text {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Bytes that end a word: blanks, the brackets and quotes of the syntax, the
// comment sign, and control bytes.
bool isWordByte(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || isBlank(c)) return false;
    return !std::strchr("{}[]\"#@", c);
}

// Bytes that end a bare label.
bool endsBareLabel(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\t') return false;
    return byte < 0x20 || byte == 0x7F || std::strchr(":\"#{}[]", c);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string trimmed(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.substr(0, end);
}

}  // namespace

// Messages stay on one line: control bytes are shown as escapes.
std::string quoteForMessage(const std::string& text) {
    const std::size_t kLongest = 40;
    std::size_t cut = text.size();
    if (cut > kLongest) {
        cut = kLongest;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;  // never split a character
    }
    std::string shown = "'";
    for (std::size_t i = 0; i < cut; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\x%02X", c);
            shown += escape;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown + (cut < text.size() ? "...'" : "'");
}

TextCursor::TextCursor(const std::string& text, const std::string& textName)
    : text_(text), textName_(textName) {}

void TextCursor::advance() {
    if (atEnd()) return;
    char c = text_[at_.offset++];
    if (c == '\n') {
        ++at_.line;
        at_.column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
        ++at_.column;
    }
}

void TextCursor::skipBlank() {
    while (!atEnd()) {
        char c = peek();
        if (isBlank(c)) {
            advance();
        } else if (c == '#') {
            while (!atEnd() && peek() != '\n')
                advance();
        } else {
            return;
        }
    }
}

std::string TextCursor::readWord() {
    std::string word;
    while (!atEnd() && isWordByte(peek())) {
        word += peek();
        advance();
    }
    return word;
}

bool TextCursor::readQuoted(std::vector<TextPiece>& pieces) {
    pieces.clear();
    Mark start = at_;
    advance();  // the opening quote
    for (;;) {
        if (atEnd() || peek() == '\n' || peek() == '\r') {
            return fail(start, "text not closed on its line (write \\n for a line break)");
        }
        Mark here = at_;
        char c = peek();
        advance();
        if (c == '"') return true;
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\t') {
            char message[64];
            std::snprintf(message, sizeof(message),
                          "control character 0x%02X inside a text (write \\x%02X)", byte, byte);
            return fail(here, message);
        }
        if (c != '\\') {
            pieces.push_back(TextPiece{TextPiece::Literal, byte});
            continue;
        }
        if (atEnd()) return fail(start, "text not closed on its line");
        char kind = peek();
        advance();
        const char* simple = std::strchr("\"\\nrt", kind);
        if (simple && kind) {
            static const char kValues[] = {'"', '\\', '\n', '\r', '\t'};
            pieces.push_back(TextPiece{TextPiece::Literal,
                                       static_cast<unsigned char>(kValues[simple - "\"\\nrt"])});
            continue;
        }
        if (kind != 'x' && kind != 'u') {
            std::string shown = "\\";
            if (kind >= 0x20 && kind < 0x7F) shown += kind;
            return fail(here, "unknown escape '" + shown +
                                  "' (use \\\" \\\\ \\n \\r \\t \\xHH or "
                                  "\\uHHHH)");
        }
        int digits = kind == 'x' ? 2 : 4;
        unsigned int value = 0;
        for (int i = 0; i < digits; ++i) {
            int digit = hexDigit(peek());
            if (atEnd() || digit < 0) {
                return fail(here,
                            kind == 'x' ? "\\x needs two hex digits" : "\\u needs four hex digits");
            }
            value = (value << 4) | static_cast<unsigned int>(digit);
            advance();
        }
        pieces.push_back(
            TextPiece{kind == 'x' ? TextPiece::EscapedByte : TextPiece::EscapedUnit, value});
    }
}

bool TextCursor::readQuotedBytes(std::string& bytes) {
    Mark start = at_;
    std::vector<TextPiece> pieces;
    if (!readQuoted(pieces)) return false;
    std::string why;
    if (!piecesToBytes(pieces, bytes, why)) return fail(start, why);
    return true;
}

std::string TextCursor::bareLabelAhead() const {
    std::size_t end = at_.offset;
    while (end < text_.size() && !endsBareLabel(text_[end]))
        ++end;
    return trimmed(text_.substr(at_.offset, end - at_.offset));
}

bool TextCursor::readLabel(std::string& label) {
    if (peek() == '"') {
        if (!readQuotedBytes(label)) return false;
    } else {
        label = bareLabelAhead();
        if (label.empty()) return false;
        for (std::size_t i = 0; i < label.size(); ++i)
            advance();
    }
    while (peek() == ' ' || peek() == '\t')
        advance();
    return true;
}

bool TextCursor::skipBlock() {
    Mark start = at_;
    int depth = 0;
    for (;;) {
        skipBlank();
        if (atEnd()) return fail(start, "record not closed: '{' without its '}'");
        char c = peek();
        if (c == '"') {
            std::vector<TextPiece> ignored;
            if (!readQuoted(ignored)) return false;
            continue;
        }
        advance();
        if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return true;
        }
    }
}

std::string TextCursor::describeNext() {
    if (atEnd()) return "end of text";
    char c = peek();
    if (std::strchr("{}[]@", c)) return std::string("'") + c + "'";
    std::string label = bareLabelAhead();
    if (!label.empty()) return quoteForMessage(label);
    if (c == '"') {
        std::size_t end = text_.find_first_of("\"\r\n", at_.offset + 1);
        if (end == std::string::npos) {
            end = text_.size();
        } else if (text_[end] == '"') {
            ++end;
        }
        return quoteForMessage(text_.substr(at_.offset, end - at_.offset));
    }
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "character 0x%02X",
                  static_cast<unsigned int>(static_cast<unsigned char>(c)));
    return buffer;
}

std::string TextCursor::locate(const Mark& at) const {
    return textName_ + ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
}

bool TextCursor::fail(const Mark& at, const std::string& message) {
    if (error_.empty()) error_ = locate(at) + ": " + message;
    return false;
}

}  // namespace text
}  // namespace kova
}  // namespace tarn
