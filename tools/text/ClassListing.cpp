// The class chain as "kova classes" shows it: each class with its parent,
// and the fields an object of it writes, with their labels and kinds.
#include <cstring>

#include "TextForm.h"
#include "TextSyntax.h"

namespace tarn {
namespace kova {
namespace text {

namespace {

// Records the kind and label of every field a class writes, in order,
// without looking at the values.
class FieldListStream : public OStream {
public:
    int writeBuffer(const void*, int size) override { return size; }

    bool streamUbyte(unsigned char&, const char* label) override { return add(label, "ubyte"); }
    bool streamSbyte(signed char&, const char* label) override { return add(label, "sbyte"); }
    bool streamUshort(unsigned short&, const char* label) override { return add(label, "ushort"); }
    bool streamSshort(short&, const char* label) override { return add(label, "sshort"); }
    bool streamUlong(unsigned int&, const char* label) override { return add(label, "ulong"); }
    bool streamSlong(int&, const char* label) override { return add(label, "slong"); }
    bool streamFloat(float&, const char* label) override { return add(label, "float"); }
    bool streamBool(bool&, const char* label) override { return add(label, "bool"); }
    bool streamInt(int&, const char* label) override { return add(label, "int"); }
    bool streamString(char*&, const char* label) override { return add(label, "text"); }
    bool streamWstring(unsigned short*&, const char* label) override {
        return add(label, "wide text");
    }
    bool streamWchar(unsigned short&, const char* label) override {
        return add(label, "character");
    }
    bool streamPicture(System&, int&, const char* label) override {
        return add(label, "picture name");
    }
    bool streamFont(System&, int&, const char* label) override { return add(label, "font name"); }
    bool streamSound(System&, int&, const char* label) override { return add(label, "sound name"); }
    bool streamStaticString(System&, const char*, const char* label) override {
        return add(label, "static text");
    }
    bool streamList(System&, List& list, const char* label) override {
        RuntimeClass* cls = list.validClass();
        return add(label, "list of " + classToken(cls ? cls : Object::absoluteClass()));
    }
    bool streamObject(System&, Object*&, const char* label, RuntimeClass* requiredClass) override {
        return add(label, classToken(requiredClass ? requiredClass : Object::absoluteClass()));
    }
    bool streamIndex(int&, int (*toIndex)(int), const char* (*toName)(int),
                     const char* label) override {
        return add(label, "index" + indexNames(toIndex, toName));
    }

    std::string lines;

private:
    bool add(const char* label, const std::string& kind) {
        lines += "    " + (isBareLabel(label) ? std::string(label) : quoteBytes(label)) + ": " +
                 kind + "\n";
        return true;
    }

    // The numbers along the class's enumeration that have names.
    static std::string indexNames(int (*toIndex)(int), const char* (*toName)(int)) {
        if (!toName) return "";
        const int kMostShown = 40;
        std::string names;
        int shown = 0;
        int candidate = 0;
        for (int step = 0; step < 65536; ++step) {
            const char* name = toName(candidate);
            if (name && *name) {
                if (shown == kMostShown) {
                    names += ", ...";
                    break;
                }
                names += (shown ? ", " : "") + std::to_string(candidate) + " " +
                         indexToken(candidate, toIndex, toName);
                ++shown;
            }
            int next = toIndex ? toIndex(candidate) : (candidate < 1023 ? candidate + 1 : 0);
            if (next <= candidate) break;
            candidate = next;
        }
        return names.empty() ? "" : " (" + names + ")";
    }
};

bool named(RuntimeClass* cls, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (name == cls->name() || name == cls->fullName()) return true;
    }
    return false;
}

void describeClass(System& system, RuntimeClass* cls, std::string& out) {
    out += classToken(cls);
    if (RuntimeClass* parent = cls->parentClass()) out += " : " + classToken(parent);
    if (!cls->is(Object::absoluteClass())) {
        out += " (not an object class)\n";
        return;
    }
    Object* object = nullptr;
    if (!Object::create(system, object, cls)) {
        out += " (cannot be created by name)\n";
        return;
    }
    FieldListStream fields;
    bool listed = object->onSave(system, fields);
    Object::clear(system, object);
    out += listed ? "\n" : " (its fields could not be listed)\n";
    out += fields.lines;
}

}  // namespace

bool describeClasses(System& system, const std::vector<std::string>& names, std::string& out,
                     std::string& error) {
    for (const std::string& name : names) {
        if (!RuntimeClass::findClass(name.c_str())) {
            error = "unknown class '" + name + "'";
            return false;
        }
    }
    for (RuntimeClass* cls = RuntimeClass::firstClass(nullptr); cls;
         cls = cls->nextClass(nullptr)) {
        if (names.empty() || named(cls, names)) describeClass(system, cls, out);
    }
    return true;
}

}  // namespace text
}  // namespace kova
}  // namespace tarn
