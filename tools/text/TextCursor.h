// A position in a text being read, with the line and column that error
// messages name, and the scanning steps of the text form: blanks and
// comments, words, quoted texts, labels and whole skipped records.
#pragma once

#include <string>
#include <vector>

#include "TextSyntax.h"

namespace tarn {
namespace kova {
namespace text {

class TextCursor {
public:
    // Where something starts; lines and columns count from 1, and a column
    // counts characters (UTF-8 continuation bytes do not move it).
    struct Mark {
        std::size_t offset = 0;
        int line = 1;
        int column = 1;
    };

    TextCursor(const std::string& text, const std::string& textName);

    // Spaces, tabs, line breaks, and comments from "#" to the end of the line.
    void skipBlank();
    bool atEnd() const { return at_.offset >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[at_.offset]; }
    void advance();
    Mark mark() const { return at_; }

    // The longest run of bytes that can make a value word (letters, digits,
    // signs, points, colons, parentheses...); empty when none starts here.
    std::string readWord();

    // A quoted text starting at '"'; false with an error when it is not closed
    // on its line or holds an unknown escape or a control byte.
    bool readQuoted(std::vector<TextPiece>& pieces);
    // The same, stored as 8-bit bytes.
    bool readQuotedBytes(std::string& bytes);

    // A field label here: a quoted text, or bare text up to ':' or the end of
    // the line, without trailing blanks. Nothing is consumed when no label
    // starts here; the result is then false.
    bool readLabel(std::string& label);

    // From '{' to after its matching '}', not looking at what lies between
    // beyond texts and comments.
    bool skipBlock();

    // How the next thing in the text is shown after "found" in a message.
    std::string describeNext();

    // "name:line:column" of a place in the text.
    std::string locate(const Mark& at) const;

    // Records the first error only; later ones come from the first.
    bool fail(const Mark& at, const std::string& message);
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }

private:
    std::string bareLabelAhead() const;

    const std::string& text_;
    std::string textName_;
    Mark at_;
    std::string error_;
};

// 'text' for messages, cut to a readable length.
std::string quoteForMessage(const std::string& text);

}  // namespace text
}  // namespace kova
}  // namespace tarn
