#include "kova/node.h"

namespace tarn {
namespace kova {

// The first node is the governed chain itself; below it, a node with a mode
// of its own hears the event but its mode speaks for the nodes it governs.
void ToModeIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node) return;
    EventData data = data_;  // a handler may edit its record; the next node gets a fresh one
    sendEvent(system, node, rect, mode, data);
    if (firstNode_) {
        firstNode_ = false;
        node->iterateIterator(system, mode, rect, *this);
    } else if (!node->mode()) {
        node->iterateIterator(system, mode, rect, *this);
    }
}

// The current level is left to fall over the next frames.
void MovingOutIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node) return;
    float target = mode.targetLevel();
    if (target == 2.0f || target == 3.0f) {
        mode.setTargetLevel(1.0f);
        mode.setInside(false);
    }
    node->iterateIterator(system, mode, rect, *this);
}

// Nothing animates: the region is back to normal at once, focus kept.
void MovedOutIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node) return;
    float target = mode.targetLevel();
    if (target == 2.0f || target == 3.0f) {
        mode.setTargetLevel(1.0f);
        mode.setInside(false);
        mode.setCurrentLevel(1.0f);
    } else if (target == 1.0f && mode.currentLevel() != 1.0f) {
        mode.setCurrentLevel(1.0f);
    }
    node->iterateIterator(system, mode, rect, *this);
}

}  // namespace kova
}  // namespace tarn
