#include "TextFormOStream.h"

#include "TextSyntax.h"

namespace tarn {
namespace kova {
namespace text {

namespace {

// Nesting beyond the engine's own record limit cannot be saved either.
const int kDeepestRecord = 1024;

std::string labelToken(const char* label) {
    return isBareLabel(label) ? std::string(label) : quoteBytes(label);
}

}  // namespace

void TextFormOStream::indent() {
    text_.append(static_cast<std::size_t>(depth_) * 4, ' ');
}

void TextFormOStream::beginField(const char* label) {
    indent();
    text_ += labelToken(label);
    text_ += ": ";
}

bool TextFormOStream::field(const char* label, const std::string& value) {
    if (!error_.empty()) return false;
    beginField(label);
    text_ += value;
    text_ += '\n';
    return true;
}

bool TextFormOStream::fail(const std::string& message) {
    if (error_.empty()) error_ = message;
    return false;
}

bool TextFormOStream::streamUbyte(unsigned char& value, const char* label) {
    return field(label, std::to_string(value));
}
bool TextFormOStream::streamSbyte(signed char& value, const char* label) {
    return field(label, std::to_string(value));
}
bool TextFormOStream::streamUshort(unsigned short& value, const char* label) {
    return field(label, std::to_string(value));
}
bool TextFormOStream::streamSshort(short& value, const char* label) {
    return field(label, std::to_string(value));
}
bool TextFormOStream::streamUlong(unsigned int& value, const char* label) {
    return field(label, std::to_string(value));
}
bool TextFormOStream::streamSlong(int& value, const char* label) {
    return field(label, std::to_string(value));
}
bool TextFormOStream::streamInt(int& value, const char* label) {
    return field(label, std::to_string(value));
}
bool TextFormOStream::streamFloat(float& value, const char* label) {
    return field(label, formatFloat(value));
}
bool TextFormOStream::streamBool(bool& value, const char* label) {
    return field(label, value ? "true" : "false");
}
bool TextFormOStream::streamString(char*& value, const char* label) {
    return field(label, quoteBytes(value));
}
bool TextFormOStream::streamWstring(unsigned short*& value, const char* label) {
    return field(label, quoteUnits(value));
}

// A printable character in quotes, anything else (controls, surrogates, 0)
// as its number.
bool TextFormOStream::streamWchar(unsigned short& value, const char* label) {
    bool printable =
        value >= 0x20 && !(value >= 0x7F && value <= 0x9F) && !(value >= 0xD800 && value <= 0xDFFF);
    if (!printable) return field(label, std::to_string(value));
    unsigned short units[2] = {value, 0};
    return field(label, quoteUnits(units));
}

bool TextFormOStream::streamPicture(System& system, int& handle, const char* label) {
    return field(label, quoteBytes(system.pictureName(handle)));
}
bool TextFormOStream::streamFont(System& system, int& handle, const char* label) {
    return field(label, quoteBytes(system.fontName(handle)));
}
bool TextFormOStream::streamSound(System& system, int& handle, const char* label) {
    return field(label, quoteBytes(system.soundName(handle)));
}

bool TextFormOStream::streamIndex(int& value, int (*toIndex)(int), const char* (*toName)(int),
                                  const char* label) {
    return field(label, indexToken(value, toIndex, toName));
}

bool TextFormOStream::streamStaticString(System&, const char* text, const char* label) {
    return field(label, quoteBytes(text));
}

int TextFormOStream::writeBuffer(const void*, int) {
    fail("a class wrote raw bytes, which have no text form");
    return 0;
}

// The leading entries up to the first empty one, as a saved list holds them.
bool TextFormOStream::streamList(System& system, List& list, const char* label) {
    if (!error_.empty()) return false;
    beginField(label);
    int handle = list.firstHandle();
    if (!handle || !list.objectFromHandle(handle)) {
        text_ += "[]\n";
        return true;
    }
    text_ += "[\n";
    ++depth_;
    for (; handle; handle = list.nextHandle(handle)) {
        Object* object = list.objectFromHandle(handle);
        if (!object) break;
        indent();
        if (!writeRecord(system, object, nullptr, false)) return false;
        text_ += '\n';
    }
    --depth_;
    indent();
    text_ += "]\n";
    return true;
}

bool TextFormOStream::streamObject(System& system, Object*& reference, const char* label,
                                   RuntimeClass*) {
    if (!error_.empty()) return false;
    beginField(label);
    if (!writeRecord(system, reference, nullptr, false)) return false;
    text_ += '\n';
    return true;
}

// null, @"name" for a named object written already (or a stream owner kept
// in its own file), else Class ["name"] { fields }.
bool TextFormOStream::writeRecord(System& system, Object* object, const char* impliedName,
                                  bool isRoot) {
    if (!object) {
        text_ += "null";
        return true;
    }
    char fullName[256];
    if (!system.copyObjectFullName(object, fullName, sizeof(fullName))) fullName[0] = 0;
    std::string name = fullName;
    bool byName = written_.count(object) || (object->isStreamOwner() && !inlineOwnFiles_);
    if (!name.empty() && !isRoot && byName) {
        text_ += "@" + quoteBytes(name);
        return true;
    }
    // Only records count, as in the readers: a list's brackets indent but do
    // not nest a record deeper.
    if (records_ >= kDeepestRecord) {
        return fail("records nested deeper than " + std::to_string(kDeepestRecord));
    }
    RuntimeClass* cls = object->actualClass();
    text_ += classToken(cls);
    if (!name.empty() && !(impliedName && name == impliedName)) text_ += " " + quoteBytes(name);
    if (!name.empty()) written_.insert(object);
    text_ += " {\n";
    std::size_t fieldsStart = text_.size();
    ++depth_;
    ++records_;
    bool saved = object->onSave(system, *this);
    --records_;
    --depth_;
    if (!error_.empty()) return false;
    if (!saved) return fail("class " + classToken(cls) + " could not write its fields");
    if (text_.size() == fieldsStart) {
        text_.back() = '}';  // no fields: "Class {}"
    } else {
        indent();
        text_ += '}';
    }
    return true;
}

bool TextFormOStream::writeRoot(System& system, Object* root, const char* impliedName) {
    text_.clear();
    error_.clear();
    written_.clear();
    depth_ = 0;
    records_ = 0;
    if (!root) return fail("there is no root object to write");
    if (!writeRecord(system, root, impliedName, true)) return false;
    text_ += '\n';
    return true;
}

}  // namespace text
}  // namespace kova
}  // namespace tarn
