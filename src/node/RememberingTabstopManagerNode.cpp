#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(RememberingTabstopManagerNode, TabstopManagerNode)
KOVA_IMPLEMENT_CLASS(ExtendedRememberingTabstopManagerNode, TabstopManagerNode)

// The show and hide events alternate the shown flag: showing restores the
// remembered tab stop, hiding saves the one under the pointer, and a repeated
// event of the same kind is ignored. Gaining the focus always restores.

bool RememberingTabstopManagerNode::onPreWaitShow(System& system, Rectangle& rect, Mode& mode) {
    if (!shown_) {
        shown_ = true;
        onGainFocus(system, rect, mode);
    }
    return false;
}

bool RememberingTabstopManagerNode::onGainFocus(System& system, Rectangle& rect, Mode& mode) {
    restoreFocus(system, rect, mode, index_);
    return false;
}

// Remembers -1 too when the pointer was on no tab stop of a screen without
// any; restoring then goes to the first one.
bool RememberingTabstopManagerNode::onPreHide(System& system, Rectangle& rect, Mode& mode) {
    if (shown_) {
        shown_ = false;
        index_ = focusedIndex(system, rect, mode);
    }
    return false;
}

void RememberingTabstopManagerNode::onIndexSet(System&, int index) {
    if (index != -1) index_ = index;
}

// The variable holds the index as a number, read truncated toward zero.

bool ExtendedRememberingTabstopManagerNode::onPreWaitShow(System& system, Rectangle& rect,
                                                          Mode& mode) {
    if (indexVariable_ && !shown_) {
        shown_ = true;
        onGainFocus(system, rect, mode);
    }
    return false;
}

bool ExtendedRememberingTabstopManagerNode::onGainFocus(System& system, Rectangle& rect,
                                                        Mode& mode) {
    if (indexVariable_)
        restoreFocus(system, rect, mode, truncateToInt(indexVariable_->value(system)));
    return false;
}

bool ExtendedRememberingTabstopManagerNode::onPreHide(System& system, Rectangle& rect, Mode& mode) {
    if (indexVariable_ && shown_) {
        shown_ = false;
        indexVariable_->set(system, static_cast<float>(focusedIndex(system, rect, mode)));
    }
    return false;
}

void ExtendedRememberingTabstopManagerNode::onIndexSet(System& system, int index) {
    if (indexVariable_ && index != -1) indexVariable_->set(system, static_cast<float>(index));
}

bool ExtendedRememberingTabstopManagerNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) &&
           stream.streamData(system, indexVariable_, "Index", nullptr);
}

}  // namespace kova
}  // namespace tarn
