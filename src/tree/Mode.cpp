#include "kova/node.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

Mode::Mode(float targetLevel, float currentLevel, bool inside)
    : target_(encode(targetLevel, inside)), current_(encode(currentLevel, false)) {}

bool Mode::setFocus(System& system, bool focus) {
    if (system.focusLockCount() != 0 || hasFocus() == focus) return false;
    current_ = encode(currentLevel(), focus);
    return true;
}

bool Mode::isLockedFocus(System& system) {
    return system.focusLockCount() != 0 && hasFocus();
}

float Mode::paintDirection(System&, Node*) {
    return Node::modeSpeed(targetLevel(), currentLevel());
}

bool Mode::pointerMoved(System& system) {
    Coordinate2& now = system.pointerPosition();
    Coordinate2& before = system.pointerOldPosition();
    return now.x != before.x || now.y != before.y;
}

void Mode::send(System& system, Node* subtree, Rectangle& rect, int type) {
    if (!subtree) return;
    EventData data{type, 0, 0.0f, 0.0f, 0.0f};
    ToModeIterator iterator(data);
    iterator.iterate(system, subtree, rect, *this);
}

// Moves the current level toward the target without overshooting it. A NaN
// elapsed time counts as no time, so a bad frame cannot poison the level.
void Mode::animate(float elapsed) {
    if (elapsed != elapsed) elapsed = 0.0f;
    float target = targetLevel();
    float current = currentLevel();
    float rate = Node::modeSpeed(target, current);
    float next = current + rate * elapsed;
    if ((rate < 0.0f && next <= target) || (rate > 0.0f && next >= target)) next = target;
    setCurrentLevel(next);
}

// The disabling step shared by both updates.
void Mode::disable(System& system, Node* subtree, Rectangle& rect, bool inside) {
    if (hasFocus()) {
        setFocus(system, false);  // the lock may keep the focus; LostFocus is sent anyway
        send(system, subtree, rect, Event::LostFocus);
    }
    if (targetLevel() != 0.0f) send(system, subtree, rect, Event::Disable);
    target_ = encode(0.0f, inside);
}

void Mode::update(System& system, Node*, Node* subtree, Rectangle& rect, float elapsed, bool inside,
                  bool enabled) {
    animate(elapsed);
    if (!enabled) {
        disable(system, subtree, rect, inside);
        return;
    }
    if (targetLevel() == 0.0f) {
        send(system, subtree, rect, Event::Enable);
        setTargetLevel(1.0f);
    }
    if (setFocus(system, inside)) {
        if (inside) {
            send(system, subtree, rect, Event::GainFocus);
        } else {
            send(system, subtree, rect, Event::LostFocus);
            if (targetLevel() == 2.0f) setTargetLevel(1.0f);
        }
    }
    bool pressed = targetLevel() == 3.0f;
    if (inside) {
        if (isInside()) {
            if (!pressed) setTargetLevel(2.0f);
            if (pointerMoved(system)) send(system, subtree, rect, Event::PointerMove);
        } else {
            target_ = encode(pressed ? 3.0f : 2.0f, true);
            send(system, subtree, rect, Event::PointerIn);
        }
        return;
    }
    if (isInside()) {
        target_ = encode(pressed ? 3.0f : 1.0f, false);
        send(system, subtree, rect, Event::PointerOut);
    } else if (hasFocus()) {
        if (!pressed) setTargetLevel(1.0f);
        if (pointerMoved(system)) send(system, subtree, rect, Event::PointerMoveOut);
    }
}

void Mode::update(System& system, Node*, Node* subtree, Rectangle& rect, float elapsed, bool inside,
                  bool enabled, float level) {
    animate(elapsed);
    if (!enabled) {
        disable(system, subtree, rect, inside);
        return;
    }
    if (setFocus(system, inside))
        send(system, subtree, rect, inside ? Event::GainFocus : Event::LostFocus);
    bool wasInside = isInside();
    if (inside) {
        if (!wasInside) {
            send(system, subtree, rect, Event::PointerIn);
        } else if (pointerMoved(system)) {
            send(system, subtree, rect, Event::PointerMove);
        }
    } else if (wasInside) {
        send(system, subtree, rect, Event::PointerOut);
    } else if (hasFocus() && pointerMoved(system)) {
        send(system, subtree, rect, Event::PointerMoveOut);
    }
    target_ = encode(level, inside);
}

}  // namespace kova
}  // namespace tarn
