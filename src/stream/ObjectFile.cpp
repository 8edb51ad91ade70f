#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

namespace {

// Own files open further own files on demand; a chain this deep comes only
// from files that refer to each other without ever naming their roots.
const int kDeepestFile = 32;

class FileNestingScope {
public:
    explicit FileNestingScope(System& system) : nesting_(system.recordNesting()) {
        ++nesting_.files;
    }
    ~FileNestingScope() { --nesting_.files; }
    bool tooDeep() const { return nesting_.files > kDeepestFile; }

private:
    System::RecordNesting& nesting_;
};

}  // namespace

bool Object::saveNewStream(System& system, Object*& ref) {
    if (!ref || !ref->isStreamOwner() || !ref->name()) return true;
    char fullName[256];
    if (!system.copyObjectFullName(ref, fullName, sizeof(fullName))) fullName[0] = 0;
    OStream* host = system.createOStream(fullName);
    if (!host) {
        system.printf("Kova: Error: Creating ostream \"%s\"\r\n", fullName);
        return false;
    }
    ClassOStream out(host);
    if (!out.streamStaticString(system, ref->actualClass()->fullName(), "Class name") ||
        !ref->onSave(system, out) || !out.streamFinished(system)) {
        system.printf("Kova: Error: Writing to stream \"%s\"\r\n", fullName);
        return false;
    }
    return true;
}

bool Object::loadNewStream(System& system, Object*& ref, const char* name) {
    if (!name) return false;
    clear(system, ref);
    ref = system.findNamedObject(name);
    if (ref) return true;
    FileNestingScope scope(system);
    if (scope.tooDeep()) {
        system.printf("Kova: Error: Loading \"%s\": files nested deeper than %d\r\n", name,
                      kDeepestFile);
        return false;
    }
    IStream* in = system.createObjectIStream(name);
    if (!in) {
        system.printf("Kova: Error: Unable to open istream \"%s\"\r\n", name);
        return false;
    }
    {
        ClassIStream file(in);
        if (file.readHeader(system)) return loadNew(system, ref, file, name);
    }
    // The ClassIStream destroyed the first stream; old-format files are read
    // again from their start, with their texts stored in place.
    system.printf("Kova: Info: Trying old format \"%s\"\r\n", name);
    in = system.createObjectIStream(name);
    if (!in) {
        system.printf("Kova: Error: Unable to open istream \"%s\"\r\n", name);
        return false;
    }
    bool loaded = loadNew(system, ref, *in, name);
    system.deleteIStream(in);
    return loaded;
}

bool Object::loadNew(System& system, Object*& ref, IStream& in, const char* name) {
    char className[64];
    if (!in.streamStaticString(system, className, sizeof(className) - 1, "Class name")) {
        system.printf("Kova: Error: Reading from istream \"%s\"\r\n", name);
        return false;
    }
    RuntimeClass* cls = RuntimeClass::findClass(className);
    if (!cls) {
        system.printf("Kova: Error: Class '%s' not found\r\n", className);
        return false;
    }
    if (!cls->is(Object::absoluteClass())) {
        system.printf("Kova: Error: Loading class '%s' need to be inherited from object\r\n",
                      className);
        return false;
    }
    system.printf("Kova: Loading: %s\r\n", name);
    RuntimeObject* object = cls->create();
    if (!object) return false;
    ref = static_cast<Object*>(object);
    cls->increaseClassInstance();
    system.setObjectName(ref, name);
    if (!ref->onLoad(system, in)) {
        system.printf("Kova: Error: Reading from istream \"%s(%s)\"\r\n", className, name);
        return false;
    }
    return true;
}

}  // namespace kova
}  // namespace tarn
