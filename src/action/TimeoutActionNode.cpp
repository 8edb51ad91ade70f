#include "kova/action.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(TimeoutActionNode, ActionNode)

// The action runs on the timer only.
bool TimeoutActionNode::onEvent(System&, Rectangle&, Mode&, EventData&) {
    return false;
}

// The wait starts again from 0 rather than from the overshoot, so the rest of
// the frame that fired is dropped.
bool TimeoutActionNode::onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    elapsedTime_ += elapsed;
    if (elapsedTime_ < timeoutTime_) return true;
    elapsedTime_ = 0.0f;
    EventData none{Event::NoEvent, 0, 0.0f, 0.0f, 0.0f};
    runAction(system, rect, mode, none);
    return true;
}

bool TimeoutActionNode::onStream(System& system, Stream& stream) {
    return ActionNode::onStream(system, stream) && stream.streamFloat(timeoutTime_, "Timeout time");
}

}  // namespace kova
}  // namespace tarn
