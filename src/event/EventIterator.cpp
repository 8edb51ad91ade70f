#include "kova/event.h"
#include "kova/node.h"

namespace tarn {
namespace kova {

// The node hears the record before its children; nobody can stop the walk.
// Each node gets its own copy, so a handler that edits its record cannot
// change what the rest of the walk receives.
void EventIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node) return;
    EventData data = data_;
    sendEvent(system, node, rect, mode, data);
    node->iterateIterator(system, mode, rect, *this);
}

}  // namespace kova
}  // namespace tarn
