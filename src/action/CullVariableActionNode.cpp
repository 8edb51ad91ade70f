#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(CullVariableActionNode, ActionNode)
KOVA_IMPLEMENT_CLASS(CullVariableAndEventActionNode, ActionNode)

namespace {

// A missing variable counts as true.
bool variableAllows(System& system, Data* variable) {
    return !variable || variable->value(system) != 0.0f;
}

}  // namespace

bool CullVariableActionNode::onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) {
    if (!action_ || !variableAllows(system, variable_)) return false;
    return runAction(system, rect, mode, data);
}

bool CullVariableActionNode::onStream(System& system, Stream& stream) {
    return ActionNode::onStream(system, stream) &&
           stream.streamData(system, variable_, "Variable", nullptr);
}

bool CullVariableAndEventActionNode::onEvent(System& system, Rectangle& rect, Mode& mode,
                                             EventData& data) {
    if (!action_ || !variableAllows(system, variable_)) return false;
    if (!Event::check(system, event_, data)) return false;
    return runAction(system, rect, mode, data);
}

bool CullVariableAndEventActionNode::onStream(System& system, Stream& stream) {
    return ActionNode::onStream(system, stream) &&
           stream.streamData(system, variable_, "Variable", nullptr) &&
           stream.streamEvent(system, event_, "Event", nullptr);
}

}  // namespace kova
}  // namespace tarn
