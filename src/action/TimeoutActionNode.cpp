#include "kova/action.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(TimeoutActionNode, ActionNode)

// The action runs on the timer only.
bool TimeoutActionNode::onEvent(System&, Rectangle&, Mode&, EventData&) {
    return false;
}

bool TimeoutActionNode::onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    advanceTimeout(system, rect, mode, elapsed, elapsedTime_, timeoutTime_);
    return true;
}

bool TimeoutActionNode::onStream(System& system, Stream& stream) {
    return ActionNode::onStream(system, stream) && stream.streamFloat(timeoutTime_, "Timeout time");
}

}  // namespace kova
}  // namespace tarn
