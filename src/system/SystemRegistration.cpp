#include "kova/container.h"
#include "kova/data.h"
#include "kova/stream.h"
#include "kova/style.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

namespace {

// A null directory is written as an empty text in the "(%s %s)" error lines,
// so the line still shows the object's name followed by a space.
const char* shownDirectory(const char* directory) {
    return directory ? directory : "";
}

// The directory step of registration, with its log line on failure.
bool enterNamedObject(System& system, Object* object, const char* directory) {
    NameTree* tree = system.nameTree();
    if (tree && tree->addObject(system, object, directory)) return true;
    system.printf("Kova: Error: Adding named object to nodetree (%s %s)\r\n", object->name(),
                  shownDirectory(directory));
    return false;
}

// The directory, "/" and the name, or the name alone for the root. A full
// name that does not fit is refused: a cut name could find another object.
bool joinFullName(const char* directory, const char* name, char* buffer, unsigned int size) {
    unsigned int directoryLength = directory ? Memory::stringLength(directory) : 0;
    unsigned int nameLength = Memory::stringLength(name);
    unsigned int length = directoryLength ? directoryLength + 1 + nameLength : nameLength;
    if (length >= size) return false;
    buffer[0] = 0;
    if (directoryLength) {
        Memory::stringCopy(buffer, directory);
        Memory::stringConcatenate(buffer, "/");
    }
    Memory::stringConcatenate(buffer, name);
    return true;
}

const char* lastSeparator(const char* path) {
    const char* last = nullptr;
    for (const char* at = path; *at; ++at) {
        if (*at == '/' || *at == '\\') last = at;
    }
    return last;
}

}  // namespace

// Registration is the creation step of host-made objects: the host does not
// call Object::create for them, so onCreate runs and counting happens here.
Object* System::registerObject(Object* object, const char* directory) {
    if (!object) {
        printf("Kova: Error: Cannot register null pointers\r\n");
        return nullptr;
    }
    const char* name = object->name();
    if (!name) {
        printf("Kova: Error: Cannot register objects without name\r\n");
        return nullptr;
    }
    if (!object->onCreate(*this)) {
        printf("Kova: Error: register onCreate returned false (%s %s)\r\n", name,
               shownDirectory(directory));
        return nullptr;
    }
    if (!enterNamedObject(*this, object, directory)) return nullptr;
    object->actualClass()->increaseClassInstance();
    return object;
}

Data* System::registerData(Data* data, const char* directory) {
    return static_cast<Data*>(registerObject(data, directory));
}

Function* System::registerFunction(Function* function, const char* directory) {
    return static_cast<Function*>(registerObject(function, directory));
}

Style* System::registerStyle(Style* style, const char* directory) {
    return static_cast<Style*>(registerObject(style, directory));
}

// The creation step runs once. When creationDone is false this call creates
// and counts the object itself; if nothing is registered under the name yet,
// the object is then only entered in the directory, not created a second
// time. With creationDone true and nothing to replace, the object goes
// through registerObject as a fresh registration. Re-registering an object
// under the name it is already registered with replaces nothing and keeps it.
Object* System::reRegisterObject(Object* object, const char* directory, bool destroyOld,
                                 bool creationDone) {
    if (!object) {
        printf("Kova: Error: Cannot reregister null pointers\r\n");
        return nullptr;
    }
    const char* name = object->name();
    if (!name) {
        printf("Kova: Error: Cannot reregister objects without name\r\n");
        return nullptr;
    }
    if (!creationDone) {
        if (!object->onCreate(*this)) {
            printf("Kova: Error: reRegister onCreate returned false (%s %s)\r\n", name,
                   shownDirectory(directory));
            return nullptr;
        }
        object->actualClass()->increaseClassInstance();
    }
    // What this call counted is given back whenever it fails or adds nothing.
    auto refuse = [&]() -> Object* {
        if (!creationDone) object->actualClass()->decreaseClassInstance();
        return nullptr;
    };

    char fullName[256];
    if (!joinFullName(directory, name, fullName, sizeof(fullName))) return refuse();
    Object* old = findNamedObject(fullName);
    if (!old) {
        if (creationDone) return registerObject(object, directory);
        return enterNamedObject(*this, object, directory) ? object : refuse();
    }
    if (old == object) {
        refuse();
        return object;
    }

    nameTree_->removeObject(*this, old);
    RegisterStream registering(old, object);
    if (!registering.check(*this)) return refuse();
    nameTree_->addObject(*this, object, directory);
    if (!destroyOld) return old;

    ClearStream clearing(false);
    old->onClear(*this, clearing);
    RuntimeObject::destroy(old);
    return nullptr;
}

bool System::addNamedObject(Object* object, const char* directory) {
    return nameTree_ && nameTree_->addObject(*this, object, directory);
}

bool System::removeNamedObject(Object* object) {
    return nameTree_ && nameTree_->removeObject(*this, object);
}

Object* System::findNamedObject(const char* fullName) {
    return nameTree_ ? nameTree_->findObjectHierarchical(*this, fullName) : nullptr;
}

bool System::copyObjectFullName(Object* object, char* buffer, int size) {
    if (nameTree_) return nameTree_->copyObjectFullName(object, buffer, size);
    if (buffer && size > 0) buffer[0] = 0;
    return false;
}

bool System::isNameableObject(Object* object) {
    if (!object) return false;
    if (object->name()) return true;
    return object->setName(nullptr);
}

// The directory part of the path is limited to 255 characters; a longer one
// is refused and nothing changes.
bool System::setObjectName(Object* object, const char* path) {
    if (!object || !isNameableObject(object) || !nameTree_) return false;
    bool hadName = object->name() != nullptr;
    if (!path) return !hadName;

    char directoryPath[256];
    directoryPath[0] = 0;
    const char* newName = path;
    if (const char* separator = lastSeparator(path)) {
        unsigned int length = static_cast<unsigned int>(separator - path);
        if (length >= sizeof(directoryPath)) return false;
        Memory::memoryCopy(directoryPath, path, length);
        directoryPath[length] = 0;
        newName = separator + 1;
    }
    DirectoryLink* directory = nameTree_->addDirectory(*this, directoryPath);
    if (!directory) directory = nameTree_;
    if (NameLink* link = directory->findLink(newName)) return link->object() == object;

    // The path may point into the object's current name, which setName frees.
    char* copy = hadName ? Memory::stringDuplicate(newName) : nullptr;
    if (hadName && !copy) return false;
    if (hadName) removeNamedObject(object);
    object->setName(copy ? copy : newName);
    Memory::stringDelete(copy);
    directory->addObject(*this, object, nullptr);
    return true;
}

// No log line: the host asks, and the answer is the result.
bool System::callFunction(const char* fullName) {
    Object* object = findNamedObject(fullName);
    if (!object || !object->actualClass()->is(Function::absoluteClass())) return false;
    return static_cast<Function*>(object)->call(*this);
}

}  // namespace kova
}  // namespace tarn
