#include "kova/action.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ActionNode, Node)

bool ActionNode::onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) {
    return runAction(system, rect, mode, data);
}

// The frame's "Update" record goes through the virtual dispatcher, so every
// gate of a subclass sees it. The record lives on the stack: nothing is
// allocated per frame.
bool ActionNode::onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    if (!Node::onUpdate(system, mode, rect, elapsed)) return false;
    EventData update{Event::Update, 0, elapsed, 0.0f, 0.0f};
    onEvent(system, rect, mode, update);
    return true;
}

bool ActionNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamAction(system, action_, "Action", nullptr);
}

void ActionNode::advanceTimeout(System& system, Rectangle& rect, Mode& mode, float elapsed,
                                float& elapsedTime, float timeoutTime) {
    elapsedTime += elapsed;
    if (elapsedTime < timeoutTime) return;
    elapsedTime = 0.0f;
    EventData none{Event::NoEvent, 0, 0.0f, 0.0f, 0.0f};
    runAction(system, rect, mode, none);
}

}  // namespace kova
}  // namespace tarn
