#include "kova/node.h"

namespace tarn {
namespace kova {

// The walks that deliver input continue below a node before the node's own
// delivery, so the innermost focused element hears a report first.

void SelectIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node) return;
    float target = mode.targetLevel();
    if (target != 2.0f && target != 3.0f) return;
    mode.setTargetLevel(3.0f);
    node->iterateIterator(system, mode, rect, *this);
}

void DeselectIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node) return;
    if (mode.targetLevel() == 3.0f) mode.setTargetLevel(2.0f);
    node->iterateIterator(system, mode, rect, *this);
}

// Once a node has taken the press, the rest of the walk delivers nothing.
void ButtonPressIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node || !mode.hasFocus()) return;
    node->iterateIterator(system, mode, rect, *this);
    if (handled_) return;
    EventData data{Event::ButtonPress, inputIndex_, static_cast<float>(button_),
                   static_cast<float>(repeatCount_), 0.0f};
    handled_ = sendEvent(system, node, rect, mode, data);
}

void ButtonReleaseIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node || !mode.hasFocus()) return;
    node->iterateIterator(system, mode, rect, *this);
    int type = mode.isInside() ? Event::ButtonRelease : Event::ButtonReleaseOutside;
    EventData data{type, inputIndex_, static_cast<float>(button_), 0.0f, 0.0f};
    sendEvent(system, node, rect, mode, data);
}

void UnicodePressIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node || !mode.hasFocus()) return;
    node->iterateIterator(system, mode, rect, *this);
    EventData data{Event::UnicodePress, inputIndex_, static_cast<float>(character_),
                   static_cast<float>(repeatCount_), 0.0f};
    sendEvent(system, node, rect, mode, data);
}

void UnicodeReleaseIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node || !mode.hasFocus()) return;
    node->iterateIterator(system, mode, rect, *this);
    int type = mode.isInside() ? Event::UnicodeRelease : Event::UnicodeReleaseOutside;
    EventData data{type, inputIndex_, static_cast<float>(character_), 0.0f, 0.0f};
    sendEvent(system, node, rect, mode, data);
}

}  // namespace kova
}  // namespace tarn
