#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(CallFunctionAction, Action)
KOVA_IMPLEMENT_CLASS(CallFunctionVariableAction, CallFunctionAction)

// Calling a function never consumes the event, whatever the call reported.
bool CallFunctionAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (function_) function_->call(system);
    return false;
}

bool CallFunctionAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamFunction(system, function_, "Function", nullptr);
}

// Without a function there is no outcome, so the result data keeps its value.
bool CallFunctionVariableAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (!function_) return false;
    bool outcome = function_->call(system);
    if (resultData_) resultData_->set(system, outcome ? 1.0f : 0.0f);
    return false;
}

bool CallFunctionVariableAction::onStream(System& system, Stream& stream) {
    return CallFunctionAction::onStream(system, stream) &&
           stream.streamData(system, resultData_, "Result data", nullptr);
}

}  // namespace kova
}  // namespace tarn
