// Every object of a system's name directory, with its full name: what the
// viewer carries from one load of the screens to the next, and what the
// overlay tells about.
#pragma once

#include <string>
#include <vector>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace view {

struct NamedObject {
    std::string fullName;
    Object* object = nullptr;
};

// In the directory's own order.
std::vector<NamedObject> namedObjects(System& system);

}  // namespace view
}  // namespace kova
}  // namespace tarn
