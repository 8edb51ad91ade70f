#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(IfElseEventActionNode, ActionNode)

// A missing variable counts as true; only exactly 0.0 takes the else branch.
bool IfElseEventActionNode::onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) {
    if (!Event::check(system, event_, data)) return false;
    if (variable_ && variable_->value(system) == 0.0f)
        return Action::run(system, elseAction_, rect, mode, data);
    return runAction(system, rect, mode, data);
}

bool IfElseEventActionNode::onStream(System& system, Stream& stream) {
    return ActionNode::onStream(system, stream) &&
           stream.streamData(system, variable_, "Variable", nullptr) &&
           stream.streamAction(system, elseAction_, "Else Action", nullptr) &&
           stream.streamEvent(system, event_, "Event", nullptr);
}

}  // namespace kova
}  // namespace tarn
