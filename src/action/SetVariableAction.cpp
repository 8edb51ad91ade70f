#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SetVariableAction, Action)
KOVA_IMPLEMENT_CLASS(SetVariableArrayAction, SetVariableAction)

bool SetVariableAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (variable_ && data_) variable_->set(system, data_->value(system));
    return false;
}

bool SetVariableAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamData(system, variable_, "Variable", nullptr) &&
           stream.streamData(system, data_, "Data", nullptr);
}

// The index is truncated, so 2.7 writes element 2; the variable decides what
// an index outside its elements means.
bool SetVariableArrayAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (!variable_ || !data_ || !index_) return false;
    int element = truncateToInt(index_->value(system));
    variable_->set(system, element, data_->value(system));
    return false;
}

bool SetVariableArrayAction::onStream(System& system, Stream& stream) {
    return SetVariableAction::onStream(system, stream) &&
           stream.streamData(system, index_, "Index", nullptr);
}

}  // namespace kova
}  // namespace tarn
