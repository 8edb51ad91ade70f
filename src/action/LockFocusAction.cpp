#include "kova/action.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(LockFocusAction, Action)
KOVA_IMPLEMENT_CLASS(UnlockFocusAction, Action)

// The lock is a count: each lock that fires must be paired with an unlock.
// Only a first press locks, so held buttons and releases do not add up.
bool LockFocusAction::onEvent(System& system, Rectangle&, Mode&, EventData& data) {
    if (data.second == 1.0f) system.increaseLockCount();
    return false;
}

bool UnlockFocusAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    system.decreaseLockCount();
    return false;
}

}  // namespace kova
}  // namespace tarn
