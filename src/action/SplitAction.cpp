#include "kova/action.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SplitAction, Action)

// Both run whatever the first one reported.
bool SplitAction::onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) {
    bool first = Action::run(system, action1_, rect, mode, data);
    bool second = Action::run(system, action2_, rect, mode, data);
    return first || second;
}

bool SplitAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamAction(system, action1_, "Action 1", nullptr) &&
           stream.streamAction(system, action2_, "Action 2", nullptr);
}

}  // namespace kova
}  // namespace tarn
