#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ModifyVariableAction, Action)

// The result is written even when nothing changed (a step of 0), so writers
// that react to every write see the press.
bool ModifyVariableAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (!variable_) return false;
    float result = variable_->value(system) + modifyValue_;
    if (modifyValue_ > 0.0f && result > limitValue_) result = limitValue_;
    if (modifyValue_ < 0.0f && result < limitValue_) result = limitValue_;
    variable_->set(system, result);
    return false;
}

bool ModifyVariableAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamData(system, variable_, "Variable", nullptr) &&
           stream.streamFloat(modifyValue_, "Modify value") &&
           stream.streamFloat(limitValue_, "Limit value");
}

}  // namespace kova
}  // namespace tarn
