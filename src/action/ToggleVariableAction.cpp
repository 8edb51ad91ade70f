#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ToggleVariableAction, Action)

// Any value but 0 counts as set, so an IntData holding 5 toggles to 0.
bool ToggleVariableAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (variable_) variable_->set(system, variable_->value(system) == 0.0f ? 1.0f : 0.0f);
    return false;
}

bool ToggleVariableAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamData(system, variable_, "Variable", nullptr);
}

}  // namespace kova
}  // namespace tarn
