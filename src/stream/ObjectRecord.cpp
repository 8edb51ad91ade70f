#include "kova/container.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

namespace {

// Object graphs nest through their records (a chain of nodes is one record
// inside the next). Deeper nesting than this comes only from damaged or
// hostile files, or from a cycle of named objects that are saved in full.
const int kDeepestRecord = 1024;

// Records passed over by their length may be read again when a damaged
// length points backwards; this bounds the work one load can be made to do.
const long long kMostRecordsPerLoad = 1 << 20;

// Keeps the nesting count right on every way out of a record.
class NestingScope {
public:
    explicit NestingScope(System& system) : nesting_(system.recordNesting()) { ++nesting_.records; }
    ~NestingScope() { --nesting_.records; }
    bool tooDeep() const { return nesting_.records > kDeepestRecord; }

private:
    System::RecordNesting& nesting_;
};

bool createLoaded(RuntimeClass* cls, Object*& ref) {
    RuntimeObject* object = cls->create();
    ref = static_cast<Object*>(object);
    return object != nullptr;
}

bool derivesFromObject(RuntimeClass* cls) {
    return cls->is(Object::absoluteClass());
}

}  // namespace

bool Object::save(System& system, Object*& ref, OStream& out) {
    NestingScope scope(system);
    if (scope.tooDeep()) {
        system.printf("Kova: Error: Writing: objects nested deeper than %d records\r\n",
                      kDeepestRecord);
        return false;
    }
    int start = out.position();
    unsigned int length = 0;
    if (!out.streamUlong(length, "Ulong")) return false;
    if (!ref) {
        if (!out.streamStaticString(system, nullptr, "Object name") ||
            !out.streamStaticString(system, nullptr, "Class name")) {
            return false;
        }
    } else {
        char fullName[256];
        if (!system.copyObjectFullName(ref, fullName, sizeof(fullName))) fullName[0] = 0;
        if (!out.streamStaticString(system, fullName, "Object name")) return false;
        if (fullName[0] && ref->isStreamOwner()) {
            // A by-name reference: the object's own file holds its fields.
            if (!out.streamStaticString(system, nullptr, "Class name")) return false;
        } else {
            const char* className = ref->actualClass()->fullName();
            if (!out.streamStaticString(system, className, "Class name")) return false;
            if (!ref->onSave(system, out)) {
                system.printf("Kova: Error: Writing to ostream \"%s\"\r\n", className);
                return false;
            }
        }
    }
    int end = out.position();
    length = static_cast<unsigned int>(end - start);
    return out.setPosition(start) && out.streamUlong(length, "Ulong") && out.setPosition(end);
}

bool Object::load(System& system, Object*& ref, IStream& in) {
    clear(system, ref);
    NestingScope scope(system);
    System::RecordNesting& nesting = system.recordNesting();
    if (nesting.records == 1 && nesting.files == 0) nesting.recordsRead = 0;
    if (scope.tooDeep() || ++nesting.recordsRead > kMostRecordsPerLoad) {
        system.printf("Kova: Error: Loading: records nested deeper than %d or more than %lld\r\n",
                      kDeepestRecord, kMostRecordsPerLoad);
        return false;
    }
    int start = in.position();
    unsigned int length = 0;
    char name[128];
    char className[64];
    if (!in.streamUlong(length, "Ulong") ||
        !in.streamStaticString(system, name, sizeof(name) - 1, "Object name") ||
        !in.streamStaticString(system, className, sizeof(className) - 1, "Class name")) {
        return false;
    }
    // A record holds at least its own length and two name fields; a shorter
    // length is damaged, and honouring it could send the reader in circles.
    int header = in.position() - start;
    if (header <= 0) {
        system.printf("Kova: Error: Loading: the stream does not report its position\r\n");
        return false;
    }
    if (length < static_cast<unsigned int>(header) ||
        length > 0x7FFFFFFFu - static_cast<unsigned int>(start < 0 ? 0 : start)) {
        system.printf("Kova: Error: Loading: damaged record length %u\r\n", length);
        return false;
    }
    int end = start + static_cast<int>(length);

    if (name[0]) {
        // A named object that already exists is shared; its copy is skipped.
        ref = system.findNamedObject(name);
        if (!ref && !className[0]) {
            loadNewStream(system, ref, name);
        } else if (!ref) {
            RuntimeClass* cls = RuntimeClass::findClass(className);
            if (!cls || !derivesFromObject(cls)) {
                system.printf("Kova: Error: Loading: Unknown class: %s\r\n", className);
            } else if (createLoaded(cls, ref)) {
                cls->increaseClassInstance();
                system.setObjectName(ref, name);
                if (!ref->onLoad(system, in)) {
                    system.printf("Kova: Error reading from istream \"%s\"\r\n", className);
                }
            }
            if (in.position() != end) {
                system.printf("Kova: Warning: reading differs from saved file \"%s\"\r\n",
                              className);
            }
        }
    } else if (className[0]) {
        RuntimeClass* cls = RuntimeClass::findClass(className);
        if (!cls) {
            system.printf("Kova: Error: Loading: Unknown class: %s\r\n", className);
        } else if (derivesFromObject(cls) && createLoaded(cls, ref)) {
            cls->increaseClassInstance();
            if (!ref->onLoad(system, in)) {
                system.printf("Kova: Error: Reading from istream \"%s\"\r\n", className);
                return false;
            }
            if (in.position() != end) {
                system.printf("Kova: Warning: Reading differs from saved file \"%s\"\r\n",
                              className);
            }
        }
    }
    in.skip(end - in.position());
    return true;
}

}  // namespace kova
}  // namespace tarn
