#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ActionFunction, Function)

ActionFunction::ActionFunction(const char* name, Action* action)
    : Function(name), action_(action) {}

// The action sees a first press of Select on the whole screen; what it
// reports does not matter to the caller.
bool ActionFunction::call(System& system) {
    EventData select{Event::ButtonPress, 0, static_cast<float>(Button::Select), 1.0f, 0.0f};
    Action::run(system, action_, system.clipRect(), system.mode(), select);
    return true;
}

bool ActionFunction::onStream(System& system, Stream& stream) {
    return Function::onStream(system, stream) &&
           stream.streamAction(system, action_, "Action", nullptr);
}

}  // namespace kova
}  // namespace tarn
