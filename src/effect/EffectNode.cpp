#include "kova/data.h"
#include "kova/effect.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(EffectNode, Node)
KOVA_IMPLEMENT_CLASS(VariableEffectNode, EffectNode)

// The installed effect advances once a frame with its node.
bool EffectNode::onUpdate(System& system, Mode&, Rectangle&, float elapsed) {
    return Effect::update(system, effect_, elapsed);
}

void EffectNode::paintApplying(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                               EffectPipe& pipe, bool apply, float level) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    if (!apply || !effect_) {
        Node::iteratePaint(system, mode, rect, clip, pipe);
        return;
    }
    EffectPipe element = pipe;  // the show and mode state carry on unchanged
    element.next = &pipe;
    element.effect = effect_;
    element.effectLevel = level;
    Node::iteratePaint(system, mode, rect, clip, element);
}

// A borrowed element is handed back exactly as it came, its level included,
// so a sibling painted through it later sees nothing of this node.
void EffectNode::paintReusing(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                              EffectPipe& pipe, float level) {
    if (pipe.effect || !effect_) {
        paintApplying(system, mode, rect, clip, pipe, true, level);
        return;
    }
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    float receivedLevel = pipe.effectLevel;
    pipe.effect = effect_;
    pipe.effectLevel = level;
    Node::iteratePaint(system, mode, rect, clip, pipe);
    pipe.effect = nullptr;
    pipe.effectLevel = receivedLevel;
}

void EffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                              EffectPipe& pipe) {
    paintReusing(system, mode, rect, clip, pipe, 1.0f);
}

bool EffectNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamEffect(system, effect_, "Effect", nullptr);
}

// The variable's value is passed on as it is: effects take levels outside 0
// to 1 (and NaN) without harm, and some make use of them.
void VariableEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                                      EffectPipe& pipe) {
    float level = levelVariable_ ? levelVariable_->value(system) : 1.0f;
    paintReusing(system, mode, rect, clip, pipe, level);
}

bool VariableEffectNode::onStream(System& system, Stream& stream) {
    return EffectNode::onStream(system, stream) &&
           stream.streamData(system, levelVariable_, "Effect level", nullptr);
}

}  // namespace kova
}  // namespace tarn
