#include "TextFormIStream.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "TextForm.h"

namespace tarn {
namespace kova {
namespace text {

namespace {

// The engine's own limits for what it reads back from an object file: object
// names of 127 bytes, resource names of 255, records nested 1024 deep.
const std::size_t kLongestObjectName = 127;
const std::size_t kLongestResourceName = 255;
const int kDeepestRecord = 1024;

const char kRootExpected[] =
    "the text must hold one full record (a class name, an optional name and '{'), found ";

std::string labelText(const char* label) {
    return label ? label : "";
}

std::string range(long long lowest, long long highest) {
    return " (" + std::to_string(lowest) + " to " + std::to_string(highest) + ")";
}

}  // namespace

TextFormIStream::TextFormIStream(const std::string& text, const std::string& textName)
    : text_(text), cursor_(text_, textName) {}

// ---- Fields ------------------------------------------------------------------

bool TextFormIStream::field(const char* label) {
    if (cursor_.failed()) return false;
    std::string expected = labelText(label);
    cursor_.skipBlank();
    Mark at = cursor_.mark();
    std::string found;
    if (!cursor_.readLabel(found)) {
        if (cursor_.failed()) return false;
        return fail(at, "expected field '" + expected + "', found " + cursor_.describeNext());
    }
    if (found != expected) {
        return fail(at, "expected field '" + expected + "', found " + quoteForMessage(found));
    }
    if (cursor_.peek() != ':') {
        return fail(cursor_.mark(),
                    "expected ':' after field '" + expected + "', found " + cursor_.describeNext());
    }
    cursor_.advance();
    return true;
}

bool TextFormIStream::readWordValue(const char* label, const char* what, std::string& word,
                                    Mark& at) {
    cursor_.skipBlank();
    at = cursor_.mark();
    word = cursor_.readWord();
    if (!word.empty()) return true;
    return fail(at, std::string("expected ") + what + " for field '" + labelText(label) +
                        "', found " + cursor_.describeNext());
}

bool TextFormIStream::readInteger(const char* label, long long lowest, long long highest,
                                  long long& value) {
    if (!field(label)) return false;
    std::string word;
    Mark at;
    if (!readWordValue(label, "a whole number", word, at)) return false;
    if (!parseInteger(word, value)) {
        return fail(at, "expected a whole number for field '" + labelText(label) + "', found " +
                            quoteForMessage(word));
    }
    if (value < lowest || value > highest) {
        return fail(at, "value " + word + " is out of range for field '" + labelText(label) + "'" +
                            range(lowest, highest));
    }
    return true;
}

bool TextFormIStream::readTextValue(const char* label, std::vector<TextPiece>& pieces, Mark& at) {
    cursor_.skipBlank();
    at = cursor_.mark();
    if (cursor_.peek() != '"') {
        return fail(at, "expected a quoted text for field '" + labelText(label) + "', found " +
                            cursor_.describeNext());
    }
    return cursor_.readQuoted(pieces);
}

bool TextFormIStream::readBytesValue(const char* label, std::string& bytes, Mark& at) {
    std::vector<TextPiece> pieces;
    if (!field(label) || !readTextValue(label, pieces, at)) return false;
    std::string why;
    if (!piecesToBytes(pieces, bytes, why)) return fail(at, why);
    return true;
}

bool TextFormIStream::readResourceName(const char* label, std::string& name) {
    Mark at;
    if (!readBytesValue(label, name, at)) return false;
    if (name.size() > kLongestResourceName) {
        return fail(at, "the name for field '" + labelText(label) + "' is longer than 255 bytes");
    }
    return true;
}

bool TextFormIStream::streamUbyte(unsigned char& value, const char* label) {
    long long read = 0;
    if (!readInteger(label, 0, UCHAR_MAX, read)) return false;
    value = static_cast<unsigned char>(read);
    return true;
}

bool TextFormIStream::streamSbyte(signed char& value, const char* label) {
    long long read = 0;
    if (!readInteger(label, SCHAR_MIN, SCHAR_MAX, read)) return false;
    value = static_cast<signed char>(read);
    return true;
}

bool TextFormIStream::streamUshort(unsigned short& value, const char* label) {
    long long read = 0;
    if (!readInteger(label, 0, USHRT_MAX, read)) return false;
    value = static_cast<unsigned short>(read);
    return true;
}

bool TextFormIStream::streamSshort(short& value, const char* label) {
    long long read = 0;
    if (!readInteger(label, SHRT_MIN, SHRT_MAX, read)) return false;
    value = static_cast<short>(read);
    return true;
}

bool TextFormIStream::streamUlong(unsigned int& value, const char* label) {
    long long read = 0;
    if (!readInteger(label, 0, UINT_MAX, read)) return false;
    value = static_cast<unsigned int>(read);
    return true;
}

bool TextFormIStream::streamSlong(int& value, const char* label) {
    long long read = 0;
    if (!readInteger(label, INT_MIN, INT_MAX, read)) return false;
    value = static_cast<int>(read);
    return true;
}

bool TextFormIStream::streamInt(int& value, const char* label) {
    return streamSlong(value, label);
}

bool TextFormIStream::streamFloat(float& value, const char* label) {
    std::string word;
    Mark at;
    if (!field(label) || !readWordValue(label, "a number", word, at)) return false;
    if (parseFloat(word, value)) return true;
    long long ignored = 0;
    bool tooLarge = !word.empty() && word.find_first_of("0123456789") != std::string::npos &&
                    (parseInteger(word, ignored) || word.find_first_of(".eE") != std::string::npos);
    if (tooLarge && word.find_first_not_of("-0123456789.eE+") == std::string::npos) {
        return fail(
            at, "number " + word + " is out of range for float field '" + labelText(label) + "'");
    }
    return fail(at, "expected a number (decimal, inf, -inf or nan) for field '" + labelText(label) +
                        "', found " + quoteForMessage(word));
}

bool TextFormIStream::streamBool(bool& value, const char* label) {
    std::string word;
    Mark at;
    if (!field(label) || !readWordValue(label, "true or false", word, at)) return false;
    if (word != "true" && word != "false") {
        return fail(at, "expected true or false for field '" + labelText(label) + "', found " +
                            quoteForMessage(word));
    }
    value = word == "true";
    return true;
}

// An empty text and a missing one are the same in an object file: null.
bool TextFormIStream::streamString(char*& value, const char* label) {
    std::string bytes;
    Mark at;
    if (!readBytesValue(label, bytes, at)) return false;
    Memory::stringDelete(value);
    if (bytes.empty()) return true;
    value = Memory::stringDuplicate(bytes.c_str());
    return value != nullptr;
}

bool TextFormIStream::streamWstring(unsigned short*& value, const char* label) {
    std::vector<TextPiece> pieces;
    Mark at;
    if (!field(label) || !readTextValue(label, pieces, at)) return false;
    std::u16string units;
    std::string why;
    if (!piecesToUnits(pieces, units, why)) return fail(at, why);
    Memory::wstringDelete(value);
    if (units.empty()) return true;
    value = Memory::wstringCreate(units.size() + 1);
    if (!value) return false;
    for (std::size_t i = 0; i < units.size(); ++i)
        value[i] = units[i];
    value[units.size()] = 0;
    return true;
}

// One character in quotes, or its number.
bool TextFormIStream::streamWchar(unsigned short& value, const char* label) {
    if (!field(label)) return false;
    cursor_.skipBlank();
    Mark at = cursor_.mark();
    if (cursor_.peek() == '"') {
        std::vector<TextPiece> pieces;
        std::u16string units;
        std::string why;
        if (!cursor_.readQuoted(pieces)) return false;
        if (!piecesToUnits(pieces, units, why)) return fail(at, why);
        if (units.size() != 1) {
            return fail(at, "field '" + labelText(label) +
                                "' takes one 16-bit character in quotes, or its number");
        }
        value = units[0];
        return true;
    }
    std::string word;
    long long read = 0;
    if (!readWordValue(label, "a character", word, at)) return false;
    if (!parseInteger(word, read) || read < 0 || read > USHRT_MAX) {
        return fail(at, "expected one character in quotes or a number from 0 to 65535 for field '" +
                            labelText(label) + "', found " + quoteForMessage(word));
    }
    value = static_cast<unsigned short>(read);
    return true;
}

bool TextFormIStream::streamPicture(System& system, int& handle, const char* label) {
    std::string name;
    if (!readResourceName(label, name)) return false;
    handle = system.pictureHandle(name.c_str());
    return true;
}

bool TextFormIStream::streamFont(System& system, int& handle, const char* label) {
    std::string name;
    if (!readResourceName(label, name)) return false;
    handle = system.fontHandle(name.c_str());
    return true;
}

bool TextFormIStream::streamSound(System& system, int& handle, const char* label) {
    std::string name;
    if (!readResourceName(label, name)) return false;
    handle = system.soundHandle(name.c_str());
    return true;
}

// A number, or one of the names the class gives its numbers (a bare word or
// a quoted text).
bool TextFormIStream::streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                                  const char* label) {
    if (!field(label)) return false;
    cursor_.skipBlank();
    Mark at = cursor_.mark();
    std::string name;
    if (cursor_.peek() == '"') {
        if (!cursor_.readQuotedBytes(name)) return false;
    } else {
        if (!readWordValue(label, "a number or a name", name, at)) return false;
        long long number = 0;
        if (parseInteger(name, number)) {
            if (number < INT_MIN || number > INT_MAX) {
                return fail(at, "value " + name + " is out of range for field '" +
                                    labelText(label) + "'" + range(INT_MIN, INT_MAX));
            }
            value = static_cast<int>(number);
            return true;
        }
    }
    if (!findIndexByName(name.c_str(), toIndex, toName, value)) {
        return fail(
            at, "unknown name " + quoteForMessage(name) + " for field '" + labelText(label) + "'");
    }
    return true;
}

bool TextFormIStream::streamStaticString(System&, char* buffer, int maxLength, const char* label) {
    Mark at;
    std::string bytes;
    if (!readBytesValue(label, bytes, at)) return false;
    if (!buffer || maxLength < 0 || bytes.size() > static_cast<std::size_t>(maxLength)) {
        return fail(at, "the text for field '" + labelText(label) + "' is longer than " +
                            std::to_string(maxLength < 0 ? 0 : maxLength) + " bytes");
    }
    std::memcpy(buffer, bytes.c_str(), bytes.size() + 1);
    return true;
}

// ---- Lists and objects -------------------------------------------------------

// "[", one record per entry, "]". Like a loaded list, an object list has its
// focus on its first entry afterwards.
bool TextFormIStream::streamList(System& system, List& list, const char* label) {
    if (!field(label)) return false;
    cursor_.skipBlank();
    Mark open = cursor_.mark();
    if (cursor_.peek() != '[') {
        return fail(open, "expected '[' to open list '" + labelText(label) + "', found " +
                              cursor_.describeNext());
    }
    cursor_.advance();
    Slot slot{label, true, list.validClass()};
    for (;;) {
        cursor_.skipBlank();
        if (cursor_.peek() == ']') break;
        if (cursor_.atEnd()) {
            return fail(open, "list '" + labelText(label) + "' not closed: '[' without its ']'");
        }
        Mark at = cursor_.mark();
        Object* object = nullptr;
        bool ok = readRecord(system, object, slot);
        if (ok && !object) return fail(at, "a list cannot hold null");
        if (object && !list.appendObject(system, object)) {
            Object::clear(system, object);
            return fail(at, "list '" + labelText(label) + "' refused the entry");
        }
        if (!ok) return false;
    }
    cursor_.advance();
    if (ObjectList* objects = dynamic_cast<ObjectList*>(&list)) {
        objects->setFocusHandle(objects->firstHandle());
    }
    return true;
}

bool TextFormIStream::streamObject(System& system, Object*& reference, const char* label,
                                   RuntimeClass* requiredClass) {
    Object::clear(system, reference);
    if (!field(label)) return false;
    return readRecord(system, reference, Slot{label, false, requiredClass});
}

bool TextFormIStream::fits(RuntimeClass* cls, const Slot& slot, const std::string& what,
                           const Mark& at) {
    if (cls->is(slot.requiredClass)) return true;
    return fail(at, what + " cannot stand in " + (slot.inList ? "list '" : "field '") +
                        labelText(slot.label) + "' (it holds " + classToken(slot.requiredClass) +
                        ")");
}

// Counts how deeply records are nested while one is being read.
class TextFormIStream::DepthScope {
public:
    explicit DepthScope(int& depth) : depth_(++depth) {}
    ~DepthScope() { --depth_; }
    bool tooDeep() const { return depth_ > kDeepestRecord; }

private:
    int& depth_;
};

// null, @"name" or a full record.
bool TextFormIStream::readRecord(System& system, Object*& reference, const Slot& slot) {
    cursor_.skipBlank();
    Mark at = cursor_.mark();
    if (cursor_.peek() == '@') return readByName(system, reference, slot);
    RuntimeClass* cls = nullptr;
    if (!readClassToken(cls, slot)) return false;
    if (!cls) return true;  // null
    return readFullRecord(system, reference, slot, cls, at, false, nullptr);
}

// A class name, or null (cls stays null).
bool TextFormIStream::readClassToken(RuntimeClass*& cls, const Slot& slot) {
    cls = nullptr;
    Mark at = cursor_.mark();
    std::string token;
    if (cursor_.peek() == '"') {
        if (!cursor_.readQuotedBytes(token)) return false;
    } else {
        token = cursor_.readWord();
        if (token == "null") return true;
        if (token.empty() && !slot.label) {
            return fail(at, std::string(kRootExpected) + cursor_.describeNext());
        }
        if (token.empty()) {
            return fail(at, std::string("expected an object (null, @\"name\" or a class name) ") +
                                (slot.inList ? "in list '" : "for field '") +
                                labelText(slot.label) + "', found " + cursor_.describeNext());
        }
    }
    cls = RuntimeClass::findClass(token.c_str());
    if (!cls) return fail(at, "unknown class " + quoteForMessage(token));
    if (!cls->is(Object::absoluteClass())) {
        return fail(at, "class " + quoteForMessage(token) + " is not an object class");
    }
    return fits(cls, slot, "class " + quoteForMessage(token), at);
}

// The directory would pass over an empty part, so "a//b" would be filed and
// found as "a/b": a text that says "a//b" most likely means something else.
bool TextFormIStream::checkNameParts(const std::string& name, const Mark& at) {
    bool empty = true;  // the part so far
    for (char c : name) {
        bool separator = c == '/' || c == '\\';
        if (separator && empty) break;
        empty = separator;
    }
    if (!empty) return true;
    return fail(at, "the object name " + quoteForMessage(name) +
                        " has an empty part (a separator at its start or end, or two in a row)");
}

// A named object: one already known (defined earlier in the text, or loaded),
// or the root of the object file of that name.
bool TextFormIStream::readByName(System& system, Object*& reference, const Slot& slot) {
    Mark at = cursor_.mark();
    cursor_.advance();
    if (cursor_.peek() != '"') {
        return fail(cursor_.mark(),
                    "expected a quoted name after '@', found " + cursor_.describeNext());
    }
    std::string name;
    if (!cursor_.readQuotedBytes(name)) return false;
    if (name.empty() || name.size() > kLongestObjectName) {
        return fail(at, "an object name has 1 to 127 bytes");
    }
    if (!checkNameParts(name, at)) return false;
    Object* object = system.findNamedObject(name.c_str());
    if (!object) {
        // A tool host keeps the log: problems in the file loaded here belong
        // to this reference.
        ToolHost* tool = dynamic_cast<ToolHost*>(&system);
        std::size_t before = tool ? problemLines(tool->logLines()).size() : 0;
        Object::loadNewStream(system, object, name.c_str());
        reference = object;  // an unnamed root is the referring object's own
        if (object && tool && problemLines(tool->logLines()).size() > before) {
            return fail(at, "object file " + quoteForMessage(name) +
                                " loaded with problems (the log shows them)");
        }
    }
    if (!object) return fail(at, "cannot find or load object " + quoteForMessage(name));
    reference = object;
    return fits(object->actualClass(), slot, "object " + quoteForMessage(name), at);
}

// Class [name] { fields }. As in the loader, a named object that exists
// already is shared and this copy of it is skipped; a new one is created
// without its creation hook, counted, named and then loaded.
bool TextFormIStream::readFullRecord(System& system, Object*& reference, const Slot& slot,
                                     RuntimeClass* cls, const Mark& at, bool isRoot,
                                     const char* defaultName) {
    cursor_.skipBlank();
    std::string name;
    if (cursor_.peek() == '"') {
        Mark nameAt = cursor_.mark();
        if (!cursor_.readQuotedBytes(name)) return false;
        if (name.size() > kLongestObjectName) {
            return fail(nameAt, "an object name has at most 127 bytes");
        }
        if (!name.empty() && !checkNameParts(name, nameAt)) return false;
        cursor_.skipBlank();
    }
    if (cursor_.peek() != '{') {
        return fail(cursor_.mark(), "expected '{' to open the " + classToken(cls) +
                                        " record, found " + cursor_.describeNext());
    }
    Object* existing = name.empty() ? nullptr : system.findNamedObject(name.c_str());
    if (existing && isRoot) {
        return fail(at, "an object named " + quoteForMessage(name) + " exists already");
    }
    if (existing) {
        reference = existing;
        return fits(existing->actualClass(), slot, "object " + quoteForMessage(name), at) &&
               cursor_.skipBlock();
    }
    DepthScope scope(depth_);
    if (scope.tooDeep()) {
        return fail(at, "records nested deeper than " + std::to_string(kDeepestRecord));
    }
    RuntimeObject* created = cls->create();
    if (!created) return fail(at, "class " + classToken(cls) + " cannot be created by name");
    cls->increaseClassInstance();
    Object* object = static_cast<Object*>(created);
    reference = object;
    const char* objectName = name.empty() ? defaultName : name.c_str();
    if (objectName && *objectName) {
        bool named = system.setObjectName(object, objectName);
        if (!named && !name.empty()) {
            return fail(
                at, "this " + classToken(cls) + " cannot take the name " + quoteForMessage(name));
        }
        // A directory part that names an object already cannot be made, and
        // the object would be filed in the root under its last part.
        char fullName[256];
        if (named && !name.empty() &&
            system.copyObjectFullName(object, fullName, sizeof(fullName)) && name != fullName) {
            return fail(at, "the name " + quoteForMessage(name) +
                                " cannot be filed: a part of its directory names an object");
        }
        if (named && !isRoot && object->isStreamOwner()) {
            ownFiles_.push_back(object);
            madeAt_[object] = at;
        }
    }
    if (isRoot) madeAt_[object] = at;
    cursor_.advance();  // the '{'
    return readFields(system, object, cls, at);
}

bool TextFormIStream::readFields(System& system, Object* object, RuntimeClass* cls,
                                 const Mark& at) {
    bool loaded = object->onLoad(system, *this);
    if (cursor_.failed()) return false;
    if (!loaded) return fail(at, "class " + classToken(cls) + " refused the record");
    cursor_.skipBlank();
    if (cursor_.peek() != '}') {
        return fail(cursor_.mark(), "expected '}' to close the " + classToken(cls) +
                                        " record, found " + cursor_.describeNext());
    }
    cursor_.advance();
    return true;
}

std::string TextFormIStream::locate(Object* object) const {
    auto found = madeAt_.find(object);
    return found == madeAt_.end() ? std::string() : cursor_.locate(found->second);
}

bool TextFormIStream::readRoot(System& system, Object*& root, const char* rootName) {
    Object::clear(system, root);
    cursor_.skipBlank();
    Mark at = cursor_.mark();
    Slot slot{nullptr, false, Object::absoluteClass()};
    if (cursor_.peek() == '@') return fail(at, std::string(kRootExpected) + cursor_.describeNext());
    RuntimeClass* cls = nullptr;
    if (!readClassToken(cls, slot)) return false;
    if (!cls) return fail(at, std::string(kRootExpected) + "'null'");
    if (!readFullRecord(system, root, slot, cls, at, true, rootName)) return false;
    cursor_.skipBlank();
    if (!cursor_.atEnd()) {
        return fail(cursor_.mark(), "expected the end of the text after the root record, found " +
                                        cursor_.describeNext());
    }
    return true;
}

}  // namespace text
}  // namespace kova
}  // namespace tarn
