#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(LastInputIndexAction, Action)

// Computed in float, so no input index can overflow on the way.
bool LastInputIndexAction::onEvent(System& system, Rectangle&, Mode&, EventData& data) {
    if (lastInputIndex_ && data.inputIndex != 0)
        lastInputIndex_->set(system, static_cast<float>(data.inputIndex) - 1.0f);
    return false;
}

bool LastInputIndexAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamData(system, lastInputIndex_, "Last input index", nullptr);
}

}  // namespace kova
}  // namespace tarn
