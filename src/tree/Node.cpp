#include "kova/node.h"

#include "kova/container.h"
#include "kova/stream.h"

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

void Node::iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) {
    iterator.iterateNext(system, next_, rect, mode);
}

void Node::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                        EffectPipe& pipe) {
    onPaint(system, mode, rect, clip, pipe);
    if (next_) next_->iteratePaint(system, mode, rect, clip, pipe);
}

bool Node::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    if (!onUpdate(system, mode, rect, elapsed)) return false;
    return next_ ? next_->iterateUpdate(system, mode, rect, elapsed) : true;
}

bool Node::onUpdate(System&, Mode&, Rectangle&, float) {
    return true;
}

void Node::onPaint(System&, Mode&, Rectangle&, Rectangle*, EffectPipe&) {}

bool Node::onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) {
    int first = static_cast<int>(data.first);
    int second = static_cast<int>(data.second);
    switch (data.type) {
        case 1:
            return onButtonPress(system, rect, mode, first, data.inputIndex, second);
        case 2:
            return onButtonRelease(system, rect, mode, first, data.inputIndex);
        case 3:
            return onButtonReleaseOutside(system, rect, mode, first, data.inputIndex);
        case 4:
            return onUnicodePress(system, rect, mode, first, data.inputIndex, second);
        case 5:
            return onUnicodeRelease(system, rect, mode, first, data.inputIndex);
        case 6:
            return onUnicodeReleaseOutside(system, rect, mode, first, data.inputIndex);
        case 7:
            return onGainFocus(system, rect, mode);
        case 8:
            return onLostFocus(system, rect, mode);
        case 9:
            return onPointerIn(system, rect, mode);
        case 10:
            return onPointerOut(system, rect, mode);
        case 11:
            return onPointerMove(system, rect, mode);
        case 12:
            return onPointerMoveOutside(system, rect, mode);
        case 13:
            return onPreShow(system, rect, mode);
        case 14:
            return onPostShow(system, rect, mode);
        case 15:
            return onPreHide(system, rect, mode);
        case 16:
            return onPostHide(system, rect, mode);
        case 17:
            return onPreWaitShow(system, rect, mode);
        case 18:
            return onPreWaitHide(system, rect, mode);
        case 20:
            return onDisable(system, rect, mode);
        case 21:
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
