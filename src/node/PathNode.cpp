#include "kova/node.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(PathNode, NameNode)

namespace {

NameNode* asScreen(Node* node) {
    if (!node || !node->actualClass()->is(NameNode::absoluteClass())) return nullptr;
    return static_cast<NameNode*>(node);
}

// 1 / |time|; a time of exactly 0 is instant and has no rate. A time that is
// no number counts as instant too, so a damaged file cannot stall a path.
float rateOf(float time) {
    if (time == 0.0f || time != time) return 0.0f;
    return 1.0f / (time < 0.0f ? -time : time);
}

}  // namespace

bool PathNode::setPath(NameNode* node, float inTime, float outTime, float inWaitTime,
                       float outWaitTime, bool paintOutOverIn) {
    if (node == target_) return true;
    target_ = node;
    inWaitRate_ = rateOf(inWaitTime);
    inRate_ = rateOf(inTime);
    outWaitRate_ = rateOf(outWaitTime);
    outRate_ = rateOf(outTime);
    paintOutOverIn_ = paintOutOverIn;
    return true;
}

RuntimeClass* PathNode::nextNodeClassRequirement(int) {
    return NameNode::absoluteClass();
}

// Only screens may stand in the slot; any other node is refused and the slot
// keeps what it had.
void PathNode::setNextNode(int, Node* node) {
    if (node && !asScreen(node)) return;
    next_ = node;
    target_ = asScreen(node);
    outNode_ = nullptr;
}

// Both screens hear their show and hide events under the in mode; none of
// these events asks the mode anything, and the out mode is being brought back
// to normal meanwhile.
void PathNode::sendShowEvent(System& system, Node*& subtree, Rectangle& rect, int type) {
    EventData data{type, 0, 0.0f, 0.0f, 0.0f};
    EventIterator iterator(data);
    iterator.iterate(system, subtree, rect, inMode_);
}

// The screen shown so far becomes the one to hide. A hide still running is
// finished first, and so is the show of the screen that now leaves, so every
// screen hears each of its events once and in order.
void PathNode::startSwitch(System& system, Rectangle& rect) {
    if (next_) {
        if (outNode_) {
            if (outPosition_ < -1.0f) sendShowEvent(system, outNode_, rect, Event::PreWaitHide);
            if (outPosition_ < 0.0f) sendShowEvent(system, outNode_, rect, Event::PreHide);
            if (outPosition_ < 1.0f) sendShowEvent(system, outNode_, rect, Event::PostHide);
            MovedOutIterator movedOut;
            movedOut.iterate(system, outNode_, rect, outMode_);
        }
        if (inPosition_ < -1.0f) sendShowEvent(system, next_, rect, Event::PreWaitShow);
        if (inPosition_ < 0.0f) sendShowEvent(system, next_, rect, Event::PreShow);
        if (inPosition_ < 1.0f) sendShowEvent(system, next_, rect, Event::PostShow);
        outPosition_ = -2.0f;
        outNode_ = next_;
        outMode_.set(inMode_);
        outMode_.setTargetLevel(1.0f);
        outMode_.setInside(false);
    }
    inPosition_ = target_ ? -2.0f : 1.0f;
    inMode_.setCurrentLevel(1.0f);
    next_ = target_;
}

// A wait that ends with a rate of its own starts the hide in the next frame;
// without a wait both steps run in this one.
void PathNode::advanceOut(System& system, Rectangle& rect, float elapsed) {
    float p = outPosition_;
    if (p < 0.0f) {
        if (outPosition_ < -1.0f) {
            MovingOutIterator movingOut;
            movingOut.iterate(system, outNode_, rect, outMode_);
            outPosition_ = -1.0f;
            sendShowEvent(system, outNode_, rect, Event::PreWaitHide);
        }
        if (outWaitRate_ == 0.0f) {
            outPosition_ = 0.0f;
            p = 0.0f;
        } else {
            outPosition_ += elapsed * outWaitRate_;
        }
        if (outPosition_ >= 0.0f) sendShowEvent(system, outNode_, rect, Event::PreHide);
    }
    if (p >= 0.0f) {
        if (outRate_ == 0.0f) {
            outPosition_ = 1.0f;
        } else {
            outPosition_ += elapsed * outRate_;
        }
        if (outPosition_ >= 1.0f) {
            MovedOutIterator movedOut;
            movedOut.iterate(system, outNode_, rect, outMode_);
            sendShowEvent(system, outNode_, rect, Event::PostHide);
            outNode_ = nullptr;
        }
    }
}

void PathNode::advanceIn(System& system, Rectangle& rect, float elapsed) {
    float p = inPosition_;
    if (p < 0.0f) {
        if (inPosition_ < -1.0f) {
            inPosition_ = -1.0f;
            sendShowEvent(system, next_, rect, Event::PreWaitShow);
        }
        if (inWaitRate_ == 0.0f) {
            inPosition_ = 0.0f;
            p = 0.0f;
        } else {
            inPosition_ += elapsed * inWaitRate_;
        }
        if (inPosition_ >= 0.0f) sendShowEvent(system, next_, rect, Event::PreShow);
    }
    if (p >= 0.0f) {
        if (inRate_ == 0.0f) {
            inPosition_ = 1.0f;
        } else {
            inPosition_ += elapsed * inRate_;
        }
        if (inPosition_ >= 1.0f) sendShowEvent(system, next_, rect, Event::PostShow);
    }
}

// The out mode governs the leaving screen: the events its update sends (the
// focus it gives up, for one) reach that screen, not the one coming in,
// which inherits the focus without hearing of it again.
bool PathNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;  // the part beyond the limit is left alone
    // As for modes, a frame whose time is no number passes no time.
    if (elapsed != elapsed) elapsed = 0.0f;
    // A hide finished from outside (onPostHide) lets its screen go here, after
    // the walk that finished it has reached that screen too.
    if (outNode_ && outPosition_ >= 1.0f) outNode_ = nullptr;
    if (target_ != next_) startSwitch(system, rect);
    if (outPosition_ < 1.0f) advanceOut(system, rect, elapsed);
    if (inPosition_ < 1.0f) advanceIn(system, rect, elapsed);

    inMode_.update(system, this, next_, rect, elapsed, mode.isInside(), mode.targetLevel() >= 1.0f);
    if (outNode_) {
        outMode_.update(system, outNode_, outNode_, rect, elapsed, false,
                        inMode_.targetLevel() >= 1.0f);
        if (outNode_ && !outNode_->iterateUpdate(system, outMode_, rect, elapsed)) return false;
    }
    if (next_ && !next_->iterateUpdate(system, inMode_, rect, elapsed)) return false;
    return true;
}

void PathNode::paintOut(System& system, Rectangle& rect, Rectangle* clip, EffectPipe& pipe) {
    if (!outNode_ || outPosition_ >= 1.0f) return;
    if (outPosition_ <= 0.0f) {
        outNode_->iteratePaint(system, outMode_, rect, clip, pipe);
        return;
    }
    EffectPipe element = pipe;
    element.next = &pipe;
    element.effect = nullptr;
    element.showDirection = -1.0f;
    element.showLevel = 1.0f - pipe.showLevel * outPosition_;
    element.effectLevel = 1.0f;
    outNode_->iteratePaint(system, outMode_, rect, clip, element);
}

// Until the next update has made the switch, the screen shown so far stays
// as it is.
void PathNode::paintIn(System& system, Rectangle& rect, Rectangle* clip, EffectPipe& pipe) {
    if (target_ != next_ || inPosition_ >= 1.0f) {
        Node::iteratePaint(system, inMode_, rect, clip, pipe);
        return;
    }
    if (inPosition_ <= 0.0f) return;
    EffectPipe element = pipe;
    element.next = &pipe;
    element.effect = nullptr;
    element.showDirection = pipe.showDirection >= 0.0f ? 1.0f : pipe.showDirection;
    element.showLevel = pipe.showLevel * inPosition_;
    element.effectLevel = 1.0f;
    Node::iteratePaint(system, inMode_, rect, clip, element);
}

void PathNode::iteratePaint(System& system, Mode&, Rectangle& rect, Rectangle* clip,
                            EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    if (paintOutOverIn_) {
        paintOut(system, rect, clip, pipe);
        paintIn(system, rect, clip, pipe);
    } else {
        paintIn(system, rect, clip, pipe);
        paintOut(system, rect, clip, pipe);
    }
}

void PathNode::iterateIterator(System& system, Mode&, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    switch (iterator.searchMode()) {
        case Iterator::SearchAll:
            iterator.iterateNext(system, outNode_, rect, outMode_);
            iterator.iterateNext(system, next_, rect, inMode_);
            break;
        case Iterator::SearchFocused:
            iterator.iterateNext(system, next_, rect, inMode_);
            break;
        case Iterator::SearchHidden:
            iterator.iterateNext(system, outNode_, rect, outMode_);
            break;
        default:
            break;
    }
}

// Hidden as a whole: whatever was under way is over, and a pending screen is
// simply the current one. The screen still hiding is let go at the next
// update, so the walk that brought this event still reaches it.
bool PathNode::onPostHide(System&, Rectangle&, Mode&) {
    next_ = target_;
    inPosition_ = 1.0f;
    outPosition_ = 1.0f;
    inWaitRate_ = inRate_ = outWaitRate_ = outRate_ = 0.0f;
    return false;
}

// A loaded path shows its first screen at once. A node of another class in
// the screen slot, which only a damaged file can hold, is let go.
bool PathNode::onLoad(System& system, IStream& stream) {
    if (!NameNode::onLoad(system, stream)) return false;
    if (next_ && !asScreen(next_)) {
        system.printf("Kova: Error: Loading: Class %s cannot stand in field '%s'\r\n",
                      next_->actualClass()->name(), "Next node");
        Node::clear(system, next_);
    }
    target_ = asScreen(next_);
    outNode_ = nullptr;
    inPosition_ = outPosition_ = 1.0f;
    inWaitRate_ = inRate_ = outWaitRate_ = outRate_ = 0.0f;
    return true;
}

// A pending screen is released with the node; the screen being hidden is
// only let go, as the path never owned it alone.
bool PathNode::onClear(System& system, Stream& stream) {
    bool pending = target_ != next_;
    if (!NameNode::onClear(system, stream)) return false;
    outNode_ = nullptr;
    if (!pending) {
        target_ = asScreen(next_);
        return true;
    }
    Node* in = target_;
    target_ = nullptr;
    bool ok = stream.streamNode(system, in, "In node", NameNode::absoluteClass());
    target_ = asScreen(in);
    return ok;
}

// The screen being hidden is visited too while there is one, so replacing
// a registered screen never leaves the path holding the old one.
bool PathNode::onRegister(System& system, Stream& stream) {
    if (!NameNode::onRegister(system, stream)) return false;
    Node* in = target_;
    target_ = nullptr;
    bool ok = stream.streamNode(system, in, "In node", NameNode::absoluteClass());
    target_ = asScreen(in);
    if (!ok || !outNode_) return ok;
    return stream.streamNode(system, outNode_, "Out node", NameNode::absoluteClass());
}

}  // namespace kova
}  // namespace tarn
