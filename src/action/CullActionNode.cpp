#include "kova/action.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(CullActionNode, ActionNode)

// Old files stored the type in one byte, so only the record type's low byte
// is compared.
bool CullActionNode::onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) {
    if (!action_) return false;
    if ((data.type & 0xFF) != eventType_) return false;
    if (truncateToInt(data.first) != eventData_) return false;
    return runAction(system, rect, mode, data);
}

bool CullActionNode::onStream(System& system, Stream& stream) {
    return ActionNode::onStream(system, stream) &&
           stream.streamUbyte(eventType_, "Event type (OBS; DO NOT USE!, OLD CLASS)") &&
           stream.streamInt(eventData_, "Event data(OBS; DO NOT USE!, OLD CLASS)");
}

bool CullActionNode::onLoad(System& system, IStream& stream) {
    if (!Object::onLoad(system, stream)) return false;
    system.printf("Kova: DEPRECATED: CullActionNode\r\n");
    return true;
}

}  // namespace kova
}  // namespace tarn
