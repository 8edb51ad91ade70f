#include "kova/node.h"

#include "kova/container.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Node, Object)

Node*& Node::nextNode(int) {
    return next_;
}

RuntimeClass* Node::nextNodeClassRequirement(int) {
    return Node::absoluteClass();
}

void Node::setNextNode(int, Node* node) {
    next_ = node;
}

void NodeWalkScope::reportTooDeep(System& system) {
    system.recordNesting().nodeWalkReported = true;
    system.printf("Kova: Error: Node tree deeper than %d nodes; is a node its own descendant?\r\n",
                  static_cast<int>(DeepestWalk));
}

void Node::iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    iterator.iterateNext(system, next_, rect, mode);
}

void Node::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                        EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    onPaint(system, mode, rect, clip, pipe);
    if (next_) next_->iteratePaint(system, mode, rect, clip, pipe);
}

bool Node::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;  // the part beyond the limit is left alone
    if (!onUpdate(system, mode, rect, elapsed)) return false;
    return next_ ? next_->iterateUpdate(system, mode, rect, elapsed) : true;
}

bool Node::onUpdate(System&, Mode&, Rectangle&, float) {
    return true;
}

void Node::onPaint(System&, Mode&, Rectangle&, Rectangle*, EffectPipe&) {}

// Parameters reach the handlers truncated toward zero; types without a
// handler of their own (No event, Quit, Update, unknown) go to the catch-all.
bool Node::onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) {
    int first = truncateToInt(data.first);
    int second = truncateToInt(data.second);
    switch (data.type) {
        case Event::ButtonPress:
            return onButtonPress(system, rect, mode, first, data.inputIndex, second);
        case Event::ButtonRelease:
            return onButtonRelease(system, rect, mode, first, data.inputIndex);
        case Event::ButtonReleaseOutside:
            return onButtonReleaseOutside(system, rect, mode, first, data.inputIndex);
        case Event::UnicodePress:
            return onUnicodePress(system, rect, mode, first, data.inputIndex, second);
        case Event::UnicodeRelease:
            return onUnicodeRelease(system, rect, mode, first, data.inputIndex);
        case Event::UnicodeReleaseOutside:
            return onUnicodeReleaseOutside(system, rect, mode, first, data.inputIndex);
        case Event::GainFocus:
            return onGainFocus(system, rect, mode);
        case Event::LostFocus:
            return onLostFocus(system, rect, mode);
        case Event::PointerIn:
            return onPointerIn(system, rect, mode);
        case Event::PointerOut:
            return onPointerOut(system, rect, mode);
        case Event::PointerMove:
            return onPointerMove(system, rect, mode);
        case Event::PointerMoveOut:
            return onPointerMoveOutside(system, rect, mode);
        case Event::PreShow:
            return onPreShow(system, rect, mode);
        case Event::PostShow:
            return onPostShow(system, rect, mode);
        case Event::PreHide:
            return onPreHide(system, rect, mode);
        case Event::PostHide:
            return onPostHide(system, rect, mode);
        case Event::PreWaitShow:
            return onPreWaitShow(system, rect, mode);
        case Event::PreWaitHide:
            return onPreWaitHide(system, rect, mode);
        case Event::Disable:
            return onDisable(system, rect, mode);
        case Event::Enable:
            return onEnable(system, rect, mode);
        default:
            return onEvent(system, data);
    }
}

bool Node::onEvent(System&, EventData&) {
    return false;
}
bool Node::onButtonPress(System&, Rectangle&, Mode&, int, int, int) {
    return false;
}
bool Node::onButtonRelease(System&, Rectangle&, Mode&, int, int) {
    return false;
}
bool Node::onButtonReleaseOutside(System&, Rectangle&, Mode&, int, int) {
    return false;
}
bool Node::onUnicodePress(System&, Rectangle&, Mode&, int, int, int) {
    return false;
}
bool Node::onUnicodeRelease(System&, Rectangle&, Mode&, int, int) {
    return false;
}
bool Node::onUnicodeReleaseOutside(System&, Rectangle&, Mode&, int, int) {
    return false;
}
bool Node::onPointerIn(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onPointerOut(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onPointerMove(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onPointerMoveOutside(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onPreHide(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onPostHide(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onPreShow(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onPreWaitShow(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onPreWaitHide(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onPostShow(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onGainFocus(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onLostFocus(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onEnable(System&, Rectangle&, Mode&) {
    return false;
}
bool Node::onDisable(System&, Rectangle&, Mode&) {
    return false;
}

bool Node::onStream(System& system, Stream& stream) {
    return Object::onStream(system, stream) &&
           stream.streamNextNode(system, next_, "Next node", nullptr);
}

bool Node::create(System& system, Node*& ref, RuntimeClass* cls) {
    if (!cls || !cls->is(Node::absoluteClass())) return false;
    return Object::create(system, ref, cls);
}

bool Node::clear(System& system, Node*& ref) {
    return Object::clear(system, ref);
}

float Node::modeSpeed(float target, float current) {
    if (target > current) return 3.0f;
    if (target < current) return -3.0f;
    return 0.0f;
}

}  // namespace kova
}  // namespace tarn
