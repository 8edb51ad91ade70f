#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SetStringAction, Action)

// The text goes through a buffer on the stack, so copying allocates nothing
// of its own; the variable makes whatever copy it keeps.
bool SetStringAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (!variable_ || !data_) return false;
    char text[TextSize];
    data_->stringCopy(system, text, TextSize);
    variable_->set(system, text);
    return false;
}

bool SetStringAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamData(system, variable_, "Variable", nullptr) &&
           stream.streamData(system, data_, "Data", nullptr);
}

}  // namespace kova
}  // namespace tarn
