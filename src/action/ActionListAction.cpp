#include "kova/action.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ActionListAction, Action)

ActionListAction::ActionListAction() : actionList_(Action::absoluteClass()) {}

// The list admits actions only, so every entry can be run as one. Entries
// holding nothing are passed over.
bool ActionListAction::onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) {
    for (int handle = actionList_.firstHandle(); handle; handle = actionList_.nextHandle(handle)) {
        Action* action = static_cast<Action*>(actionList_.objectFromHandle(handle));
        if (Action::run(system, action, rect, mode, data)) return true;
    }
    return false;
}

bool ActionListAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamList(system, actionList_, "Action list");
}

}  // namespace kova
}  // namespace tarn
