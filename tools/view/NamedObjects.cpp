#include "NamedObjects.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

// The directory hands each of its objects to streamObject.
class Collector : public Stream {
public:
    Collector(System& system, std::vector<NamedObject>& objects)
        : system_(system), objects_(objects) {}

    bool streamObject(System&, Object*& reference, const char*, RuntimeClass*) override {
        char fullName[256];
        if (reference && system_.copyObjectFullName(reference, fullName, sizeof(fullName))) {
            objects_.push_back(NamedObject{fullName, reference});
        }
        return true;
    }

private:
    System& system_;
    std::vector<NamedObject>& objects_;
};

}  // namespace

std::vector<NamedObject> namedObjects(System& system) {
    std::vector<NamedObject> objects;
    if (!system.nameTree()) return objects;
    Collector collector(system, objects);
    system.nameTree()->streamAll(system, collector);
    return objects;
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
