#include "kova/data.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(FocusLockedData, Data)

FocusLockedData::FocusLockedData(const char* name) : Data(name) {}

float FocusLockedData::value(System& system) {
    return static_cast<float>(system.focusLockCount());
}

int FocusLockedData::character(System& system, int position) {
    return BoolData::boolToString(system.focusLockCount() != 0, position);
}

}  // namespace kova
}  // namespace tarn
