// Writes engine objects in the text form of object files: one field per line,
// "label: value", nested records in braces and indented, lists in brackets.
#pragma once

#include <set>
#include <string>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace text {

class TextFormOStream : public OStream {
public:
    // With inlineOwnFiles, a named stream owner is written in full where it
    // is first met (so a build writes its own file again); without, it is
    // written by name, as the object file itself stores it.
    explicit TextFormOStream(bool inlineOwnFiles = false) : inlineOwnFiles_(inlineOwnFiles) {}

    // Writes root as the text's one root record. Its name is left out when
    // it equals impliedName (a file's root is named by the file).
    bool writeRoot(System& system, Object* root, const char* impliedName);

    const std::string& text() const { return text_; }
    // Why writing stopped; empty while all is well.
    const std::string& error() const { return error_; }

    bool streamUbyte(unsigned char& value, const char* label) override;
    bool streamSbyte(signed char& value, const char* label) override;
    bool streamUshort(unsigned short& value, const char* label) override;
    bool streamSshort(short& value, const char* label) override;
    bool streamUlong(unsigned int& value, const char* label) override;
    bool streamSlong(int& value, const char* label) override;
    bool streamFloat(float& value, const char* label) override;
    bool streamBool(bool& value, const char* label) override;
    bool streamInt(int& value, const char* label) override;
    bool streamString(char*& value, const char* label) override;
    bool streamWstring(unsigned short*& value, const char* label) override;
    bool streamWchar(unsigned short& value, const char* label) override;
    bool streamPicture(System& system, int& handle, const char* label) override;
    bool streamFont(System& system, int& handle, const char* label) override;
    bool streamSound(System& system, int& handle, const char* label) override;
    bool streamList(System& system, List& list, const char* label) override;
    bool streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                     const char* label) override;
    bool streamObject(System& system, Object*& reference, const char* label,
                      RuntimeClass* requiredClass) override;
    bool streamStaticString(System& system, const char* text, const char* label) override;

    // Raw bytes have no text form: a class that writes them cannot be dumped.
    int writeBuffer(const void*, int) override;

private:
    bool field(const char* label, const std::string& value);
    void beginField(const char* label);
    void indent();
    bool writeRecord(System& system, Object* object, const char* impliedName, bool isRoot);
    bool fail(const std::string& message);

    std::string text_;
    std::string error_;
    int depth_ = 0;    // indentation: records and list brackets
    int records_ = 0;  // records open, the depth the readers limit
    bool inlineOwnFiles_;
    std::set<Object*> written_;  // named objects written in full so far
};

}  // namespace text
}  // namespace kova
}  // namespace tarn
