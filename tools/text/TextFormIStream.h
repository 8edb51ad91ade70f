// Reads the text form of an object file into engine objects. Each field
// operation the classes call checks the label written in the text against
// the one asked for and reads the value after it; object fields create,
// share or load objects the way the engine's loader does.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "TextCursor.h"
#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace text {

class TextFormIStream : public IStream {
public:
    // The stream reads its own copy of the text; textName starts every error
    // message.
    TextFormIStream(const std::string& text, const std::string& textName);

    // Reads the one root record the text holds into root (which the caller
    // then owns). The root is named by the name the text gives it, or else by
    // rootName, the way a loaded file's root is named by its stream name.
    // False with error() set when the text is malformed or a class refuses
    // its fields.
    bool readRoot(System& system, Object*& root, const char* rootName);

    // "file:line:column: message" for the first problem met.
    const std::string& error() const { return cursor_.error(); }

    // Named stream owners the text defined in full, in the order met (never
    // the root): each of them belongs in an object file of its own.
    const std::vector<Object*>& ownFileObjects() const { return ownFiles_; }

    // "name:line:column" of the record that made the root or an own-file
    // object, for messages about writing them; empty for other objects.
    std::string locate(Object* object) const;

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
    bool streamStaticString(System& system, char* buffer, int maxLength,
                            const char* label) override;

private:
    using Mark = TextCursor::Mark;
    class DepthScope;

    // Where a record stands, for messages: a field or an entry of a list.
    struct Slot {
        const char* label;
        bool inList;
        RuntimeClass* requiredClass;
    };

    bool field(const char* label);
    bool readWordValue(const char* label, const char* what, std::string& word, Mark& at);
    bool readInteger(const char* label, long long lowest, long long highest, long long& value);
    bool readTextValue(const char* label, std::vector<TextPiece>& pieces, Mark& at);
    bool readBytesValue(const char* label, std::string& bytes, Mark& at);
    bool readResourceName(const char* label, std::string& name);

    bool readRecord(System& system, Object*& reference, const Slot& slot);
    bool readByName(System& system, Object*& reference, const Slot& slot);
    bool checkNameParts(const std::string& name, const Mark& at);
    bool readClassToken(RuntimeClass*& cls, const Slot& slot);
    bool readFullRecord(System& system, Object*& reference, const Slot& slot, RuntimeClass* cls,
                        const Mark& at, bool isRoot, const char* defaultName);
    bool readFields(System& system, Object* object, RuntimeClass* cls, const Mark& at);
    bool fits(RuntimeClass* cls, const Slot& slot, const std::string& what, const Mark& at);
    bool fail(const Mark& at, const std::string& message) { return cursor_.fail(at, message); }

    std::string text_;
    TextCursor cursor_;
    int depth_ = 0;
    std::vector<Object*> ownFiles_;
    std::map<Object*, Mark> madeAt_;  // the root and the own-file objects
};

}  // namespace text
}  // namespace kova
}  // namespace tarn
