#include <cmath>

#include "LayoutSupport.h"
#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SliderNode, Node)

// Slot 1 is the cursor node; every other index names the next node.
Node*& SliderNode::nextNode(int index) {
    return index == 1 ? cursorNode_ : next_;
}

void SliderNode::setNextNode(int index, Node* node) {
    (index == 1 ? cursorNode_ : next_) = node;
}

// The cursor is as wide as "Number visible" units of the range. A minimum
// above the maximum makes a reversed slider: the cursor width uses the size
// of the range and the unit comes out negative, so the left end of the track
// stands for the minimum, the right end for the maximum, and dragging
// rightwards lowers the value. A slider whose maximum equals its minimum has
// no range to choose from: its cursor covers the whole track and it never
// writes its variable. Neither does a slider whose cursor leaves no room to
// move (unit 0) or whose numbers are not finite.
SliderNode::Geometry SliderNode::sliderWidth(float trackWidth) const {
    if (maximum_ == minimum_) return Geometry{trackWidth, 0.0f, false};
    float range = maximum_ >= minimum_ ? maximum_ - minimum_ : minimum_ - maximum_;
    float width = trackWidth / range * numberVisible_;
    float unit = (trackWidth - width) / (maximum_ - minimum_);
    return Geometry{width, unit, std::isfinite(unit) && unit != 0.0f};
}

Rectangle SliderNode::calculateCursorRectangleFromNodeRect(const Rectangle& rect) const {
    Rectangle cursor = rect;
    cursor.x += cursorPosition_;
    cursor.width = sliderWidth(rect.width).width;
    return cursor;
}

// A position that cannot be worked out (NaN numbers from a file) puts the
// cursor at the left end rather than nowhere.
void SliderNode::alignValue(System& system, float trackWidth) {
    if (!data_) return;
    float position = (data_->value(system) - minimum_) * sliderWidth(trackWidth).unit;
    cursorPosition_ = std::isfinite(position) ? position : 0.0f;
}

// Idle, the cursor follows the variable; dragging, the variable follows the
// cursor, which follows the pointer inside the track.
bool SliderNode::onUpdate(System& system, Mode& mode, Rectangle& rect, float) {
    if (!data_) return true;
    if (!mode.isLockedFocus(system)) {
        alignValue(system, rect.width);
        return true;
    }
    Geometry geometry = sliderWidth(rect.width);
    float room = rect.width - geometry.width;
    cursorPosition_ = (system.pointerPosition().x - rect.x) - grabDistance_;
    if (cursorPosition_ < 0.0f) cursorPosition_ = 0.0f;
    if (cursorPosition_ > room) cursorPosition_ = room;
    if (geometry.writable) data_->set(system, cursorPosition_ / geometry.unit + minimum_);
    return true;
}

// Select takes hold of the cursor where the pointer is. Beside the cursor,
// the press first moves it by pages of its own width until the pointer lies
// over it, stopping at either end of the track. The pages are counted at once
// rather than stepped, so a hair-thin cursor cannot stall the frame and a
// pointer beyond the track's end simply leaves the cursor at that end.
bool SliderNode::onButtonPress(System& system, Rectangle& rect, Mode& mode, int button, int,
                               int repeatCount) {
    if (mode.isLockedFocus(system) || button != Button::Select || repeatCount != 1) return false;
    system.increaseLockCount();
    holdsLock_ = true;
    const float pointer = system.pointerPosition().x - rect.x;
    const float width = sliderWidth(rect.width).width;
    grabDistance_ = pointer - cursorPosition_;
    if (width > 0.0f && std::isfinite(width)) {
        if (grabDistance_ < 0.0f) {
            float pages = std::ceil(-grabDistance_ / width);
            cursorPosition_ -= pages * width;
            grabDistance_ += pages * width;
            if (cursorPosition_ < 0.0f) {
                cursorPosition_ = 0.0f;
                grabDistance_ = pointer;
            }
        } else if (grabDistance_ > width) {
            float pages = std::ceil(grabDistance_ / width - 1.0f);
            cursorPosition_ += pages * width;
            grabDistance_ -= pages * width;
            if (cursorPosition_ + width >= rect.width) {
                cursorPosition_ = rect.width - width;
                grabDistance_ = pointer - (rect.width - width);
            }
        }
    }
    onUpdate(system, mode, rect, 0.0f);
    return true;
}

// Only the slider that took the lock with its press gives it back: a release
// that follows a press some other node took (or a repeat) must not unbalance
// the count, which would freeze the focus for good. The release is not taken,
// so other nodes hear it too.
void SliderNode::endDrag(System& system, Rectangle& rect, int button) {
    if (button != Button::Select || !holdsLock_) return;
    holdsLock_ = false;
    system.decreaseLockCount();
    alignValue(system, rect.width);
}

bool SliderNode::onButtonRelease(System& system, Rectangle& rect, Mode&, int button, int) {
    endDrag(system, rect, button);
    return false;
}

bool SliderNode::onButtonReleaseOutside(System& system, Rectangle& rect, Mode&, int button, int) {
    endDrag(system, rect, button);
    return false;
}

// The cursor mode is driven by the pointer over the cursor rectangle; the
// node is its own speed node.
bool SliderNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;  // the part beyond the limit is left alone
    Rectangle cursor = calculateCursorRectangleFromNodeRect(rect);
    bool inside = mode.isInside() && pointerWithin(system, cursor);
    bool enabled = mode.targetLevel() >= 1.0f;
    cursorMode_.update(system, this, cursorNode_, cursor, elapsed, inside, enabled);
    if (cursorNode_ && !cursorNode_->iterateUpdate(system, cursorMode_, cursor, elapsed)) {
        return false;
    }
    return Node::iterateUpdate(system, mode, rect, elapsed);
}

// The cursor goes under the slider's own look and its next chain.
void SliderNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                              EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    if (cursorNode_) {
        Rectangle cursor = calculateCursorRectangleFromNodeRect(rect);
        EffectPipe element = ownModeElement(system, pipe, cursorMode_, this);
        cursorNode_->iteratePaint(system, cursorMode_, cursor, clip, pipe.effect ? element : pipe);
    }
    Node::iteratePaint(system, mode, rect, clip, pipe);
}

void SliderNode::iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    Rectangle cursor = calculateCursorRectangleFromNodeRect(rect);
    iterator.iterateChild(system, cursorNode_, cursor, cursorMode_);
    iterator.iterateNext(system, next_, rect, mode);
}

// A slider that goes away in mid-drag gives the focus lock back.
bool SliderNode::onClear(System& system, Stream& stream) {
    if (holdsLock_) {
        holdsLock_ = false;
        system.decreaseLockCount();
    }
    return Node::onClear(system, stream);
}

bool SliderNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamChildNode(system, cursorNode_, "Cursor node", nullptr) &&
           stream.streamData(system, data_, "Data", nullptr) &&
           stream.streamFloat(minimum_, "Minimum value") &&
           stream.streamFloat(maximum_, "Maximum value") &&
           stream.streamFloat(numberVisible_, "Number visible");
}

}  // namespace kova
}  // namespace tarn
