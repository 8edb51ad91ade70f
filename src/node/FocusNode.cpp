#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(FocusNode, Node)

namespace {

// Puts the system pointer at the focus variables' values for one walk and
// back where it was afterwards, whatever the walk did to it.
class FocusedPointer {
public:
    FocusedPointer(System& system, Data* x, Data* y)
        : system_(system), saved_(system.pointerPosition()) {
        if (x) system.pointerPosition().x = x->value(system);
        if (y) system.pointerPosition().y = y->value(system);
    }
    ~FocusedPointer() { system_.pointerPosition() = saved_; }
    FocusedPointer(const FocusedPointer&) = delete;
    FocusedPointer& operator=(const FocusedPointer&) = delete;

private:
    System& system_;
    Coordinate2 saved_;
};

}  // namespace

void FocusNode::iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    FocusedPointer focused(system, focusX_, focusY_);
    Node::iterateIterator(system, mode, rect, iterator);
}

void FocusNode::iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                             EffectPipe& pipe) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return;
    FocusedPointer focused(system, focusX_, focusY_);
    Node::iteratePaint(system, mode, rect, clip, pipe);
}

bool FocusNode::iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    NodeWalkScope scope(system);
    if (scope.tooDeep()) return true;  // the part beyond the limit is left alone
    FocusedPointer focused(system, focusX_, focusY_);
    return Node::iterateUpdate(system, mode, rect, elapsed);
}

bool FocusNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamData(system, focusX_, "Focus X", nullptr) &&
           stream.streamData(system, focusY_, "Focus Y", nullptr);
}

}  // namespace kova
}  // namespace tarn
