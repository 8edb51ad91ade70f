#include "kova/node.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(TransitionalEffectNode, EffectNode)
KOVA_IMPLEMENT_CLASS(ShowEffectNode, EffectNode)
KOVA_IMPLEMENT_CLASS(TransitionalShowEffectNode, EffectNode)
KOVA_IMPLEMENT_CLASS(TransitionalHideEffectNode, EffectNode)

// A screen that stands fully shown has show level exactly 1; any other level
// means a path or cull node above is showing or hiding it.
void TransitionalEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect,
                                          Rectangle* clip, EffectPipe& pipe) {
    paintApplying(system, mode, rect, clip, pipe, pipe.showLevel != 1.0f, pipe.showLevel);
}

void ShowEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                                  EffectPipe& pipe) {
    paintApplying(system, mode, rect, clip, pipe, pipe.showLevel != 1.0f, pipe.showLevel);
}

namespace {

// Every ShowEffectNode made or loaded says so once.
void warnDeprecated(System& system) {
    system.printf(
        "Kova: Warning: ShowEffectNode is deprecated and will be removed, use "
        "TransitionalEffectNode instead!\r\n");
}

}  // namespace

bool ShowEffectNode::onCreate(System& system) {
    if (!EffectNode::onCreate(system)) return false;
    warnDeprecated(system);
    return true;
}

bool ShowEffectNode::onLoad(System& system, IStream& stream) {
    warnDeprecated(system);
    return EffectNode::onLoad(system, stream);
}

// Path nodes paint the incoming screen with show direction +1 and the leaving
// one with -1.
void TransitionalShowEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect,
                                              Rectangle* clip, EffectPipe& pipe) {
    bool coming = pipe.showLevel != 1.0f && pipe.showDirection == 1.0f;
    paintApplying(system, mode, rect, clip, pipe, coming, pipe.showLevel);
}

void TransitionalHideEffectNode::iteratePaint(System& system, Mode& mode, Rectangle& rect,
                                              Rectangle* clip, EffectPipe& pipe) {
    bool leaving = pipe.showLevel != 1.0f && pipe.showDirection == -1.0f;
    paintApplying(system, mode, rect, clip, pipe, leaving, pipe.showLevel);
}

}  // namespace kova
}  // namespace tarn
