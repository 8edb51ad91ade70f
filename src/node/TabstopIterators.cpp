#include <climits>
#include <cmath>

#include "kova/node.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

namespace {

// The node as a tab stop that may be chosen, else null.
TabstopNode* enabledTabstop(System& system, Node* node) {
    if (!TabstopNode::isTabstop(node)) return nullptr;
    TabstopNode* stop = static_cast<TabstopNode*>(node);
    return stop->isEnabled(system) ? stop : nullptr;
}

}  // namespace

// ---- Direction and Tab moves -----------------------------------------------

TabstopIterator::TabstopIterator(System& system, const Coordinate2& from, int button)
    : Iterator(SearchFocused), system_(system), from_(from), result_(from), button_(button) {}

TabstopIterator::~TabstopIterator() {
    system_.pointerMove(result_.x, result_.y);
}

// Disabled tab stops are passed over, but what lies below them is searched.
void TabstopIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node) return;
    if (enabledTabstop(system, node)) {
        Coordinate2 centre = TabstopNode::centre(rect);
        if (button_ == Button::Tab)
            considerTab(centre);
        else
            considerDirection(centre);
        ++count_;
    }
    node->iterateIterator(system, mode, rect, *this);
}

// Strict comparisons: a tab stop exactly on a diagonal belongs to no
// direction, and one at the start point to none at all.
bool TabstopIterator::isCandidate(const Coordinate2& d) const {
    float ax = std::fabs(d.x);
    float ay = std::fabs(d.y);
    switch (button_) {
        case Button::Leftwards:
            return d.x < 0.0f && ay < ax;
        case Button::Upwards:
            return d.y < 0.0f && ax < ay;
        case Button::Rightwards:
            return d.x > 0.0f && ay < ax;
        case Button::Downwards:
            return d.y > 0.0f && ax < ay;
        default:
            return false;
    }
}

// The nearest candidate wins; of equally near ones the first in walk order.
void TabstopIterator::considerDirection(const Coordinate2& centre) {
    Coordinate2 d;
    d.x = centre.x - from_.x;
    d.y = centre.y - from_.y;
    if (!isCandidate(d)) return;
    float distance = std::sqrt(d.x * d.x + d.y * d.y);
    if (best_ == 0.0f || distance < best_) {
        best_ = distance;
        result_ = centre;
        bestIndex_ = count_;
    }
}

// States: 0 nothing seen, 1 the first taken, 2 the one under the pointer
// passed, 3 its follower taken. So Tab goes to the stop after the one under
// the pointer and wraps to the first from the last one or from none.
void TabstopIterator::considerTab(const Coordinate2& centre) {
    if (best_ == 0.0f) {
        result_ = centre;
        best_ = 1.0f;
    }
    if (best_ == 1.0f) {
        if (centre.x == from_.x && centre.y == from_.y) best_ = 2.0f;
    } else if (best_ == 2.0f) {
        result_ = centre;
        best_ = 3.0f;
    }
}

// ---- Selecting by number ------------------------------------------------------

// An index that cannot be counted up to (INT_MAX) is past every tab stop
// anyway, so it stays past them rather than overflowing.
TabstopIndexIterator::TabstopIndexIterator(System& system, int index)
    : Iterator(SearchFocused),
      system_(system),
      result_(system.pointerPosition()),
      remaining_(index < INT_MAX ? index + 1 : INT_MAX) {}

TabstopIndexIterator::~TabstopIndexIterator() {
    system_.pointerMove(result_.x, result_.y);
}

// A negative index can never count down to the stop it names, so it selects
// nothing; the walk ends as soon as the stop is found.
void TabstopIndexIterator::iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) {
    if (!node || remaining_ <= 0) return;
    if (TabstopNode::isTabstop(node) && --remaining_ == 0) {
        result_ = TabstopNode::centre(rect);
        return;
    }
    node->iterateIterator(system, mode, rect, *this);
}

// ---- The remembering managers' searches ---------------------------------------

FindTabstopIndexCoordinateIterator::FindTabstopIndexCoordinateIterator(System& system, int index)
    : Iterator(SearchFocused),
      wanted_(index < 0 ? 0 : index),
      coordinate_(system.pointerPosition()) {}

void FindTabstopIndexCoordinateIterator::iterateNext(System& system, Node*& node, Rectangle& rect,
                                                     Mode& mode) {
    if (!node || count_ == wanted_) return;
    if (enabledTabstop(system, node)) {
        ++count_;
        coordinate_ = TabstopNode::centre(rect);
        if (count_ == wanted_) return;
    }
    node->iterateIterator(system, mode, rect, *this);
}

FindTabstopCoordinateIndexIterator::FindTabstopCoordinateIndexIterator(
    const Coordinate2& coordinate)
    : Iterator(SearchHidden), coordinate_(coordinate) {}

void FindTabstopCoordinateIndexIterator::iterateNext(System& system, Node*& node, Rectangle& rect,
                                                     Mode& mode) {
    if (!node || found_) return;
    if (enabledTabstop(system, node)) {
        Coordinate2 centre = TabstopNode::centre(rect);
        float dx = centre.x - coordinate_.x;
        float dy = centre.y - coordinate_.y;
        if (dx * dx + dy * dy < 1.0f) found_ = true;
        ++index_;
    }
    node->iterateIterator(system, mode, rect, *this);
}

}  // namespace kova
}  // namespace tarn
