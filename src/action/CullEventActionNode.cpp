#include "kova/action.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(CullEventActionNode, ActionNode)
KOVA_IMPLEMENT_CLASS(CullEventTimeoutActionNode, CullEventActionNode)

bool CullEventActionNode::onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) {
    if (!action_ || !Event::check(system, event_, data)) return false;
    return runAction(system, rect, mode, data);
}

bool CullEventActionNode::onStream(System& system, Stream& stream) {
    return ActionNode::onStream(system, stream) &&
           stream.streamEvent(system, event_, "Event", nullptr);
}

// A matching event only restarts the wait; it never runs the action.
bool CullEventTimeoutActionNode::onEvent(System& system, Rectangle&, Mode&, EventData& data) {
    if (Event::check(system, event_, data)) elapsedTime_ = 0.0f;
    return false;
}

// The frame's "Update" record passes the gate first, so an event matching
// "Update" keeps the timer from ever firing.
bool CullEventTimeoutActionNode::onUpdate(System& system, Mode& mode, Rectangle& rect,
                                          float elapsed) {
    if (!ActionNode::onUpdate(system, mode, rect, elapsed)) return false;
    advanceTimeout(system, rect, mode, elapsed, elapsedTime_, timeoutTime_);
    return true;
}

bool CullEventTimeoutActionNode::onStream(System& system, Stream& stream) {
    return CullEventActionNode::onStream(system, stream) &&
           stream.streamFloat(timeoutTime_, "Timeout time");
}

}  // namespace kova
}  // namespace tarn
