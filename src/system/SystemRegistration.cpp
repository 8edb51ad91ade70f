#include "kova/container.h"
#include "kova/data.h"
#include "kova/style.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

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
    // A null directory is written as an empty text in the two lines below.
    const char* shownDirectory = directory ? directory : "";
    if (!object->onCreate(*this)) {
        printf("Kova: Error: register onCreate returned false (%s %s)\r\n", name, shownDirectory);
        return nullptr;
    }
    if (!nameTree_ || !nameTree_->addObject(*this, object, directory)) {
        printf("Kova: Error: Adding named object to nodetree (%s %s)\r\n", object->name(),
               shownDirectory);
        return nullptr;
    }
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

bool System::addNamedObject(Object* object, const char* directory) {
    return nameTree_ && nameTree_->addObject(*this, object, directory);
}

Object* System::findNamedObject(const char* fullName) {
    return nameTree_ ? nameTree_->findObjectHierarchical(*this, fullName) : nullptr;
}

bool System::isNameableObject(Object* object) {
    if (!object) return false;
    if (object->name()) return true;
    return object->setName(nullptr);
}

}  // namespace kova
}  // namespace tarn
