#include "kova/action.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(RemoveEventAction, Action)

// Consumes whatever it is given, so the press goes no further.
bool RemoveEventAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    return true;
}

}  // namespace kova
}  // namespace tarn
