#include "kova/action.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Action, Object)

bool Action::onEvent(System&, Rectangle&, Mode&, EventData&) {
    return false;
}

bool Action::run(System& system, Action* action, Rectangle& rect, Mode& mode, EventData& data) {
    return action ? action->onEvent(system, rect, mode, data) : false;
}

}  // namespace kova
}  // namespace tarn
