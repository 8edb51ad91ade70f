#include "kova/data.h"

namespace tarn {
namespace kova {

StaticFunction::StaticFunction(bool (*callback)(void), const char* name)
    : Function(name), callback_(callback) {}

// The callback and its name are the host's. Callers pass a callback; one made
// without it fails its calls rather than crashing. A static function does not
// log its calls.
bool StaticFunction::call(System&) {
    return callback_ ? callback_() : false;
}

}  // namespace kova
}  // namespace tarn
