// What the layout nodes with a mode of their own share: the pointer test
// that drives the mode and the pipe element they paint their region through.
#pragma once

#include "kova/geometry.h"
#include "kova/node.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

// Edges count as inside, so a pointer on a region's border still reaches it.
inline bool pointerWithin(System& system, const Rectangle& area) {
    Coordinate2& at = system.pointerPosition();
    return area.x <= at.x && at.x <= area.x + area.width && area.y <= at.y &&
           at.y <= area.y + area.height;
}

// A new element that tells the effects outside in which direction and at
// which level the own mode runs. Only a received element with an effect gets
// one; without effects nobody reads the mode state, and the received element
// is passed on as it is.
inline EffectPipe ownModeElement(System& system, EffectPipe& received, Mode& own, Node* speedNode) {
    EffectPipe element;
    element.next = &received;
    element.effect = nullptr;
    element.showDirection = received.showDirection;
    element.showLevel = received.showLevel;
    element.modeDirection = own.paintDirection(system, speedNode);
    element.modeLevel = own.currentLevel();
    element.effectLevel = 1.0f;
    return element;
}

}  // namespace kova
}  // namespace tarn
