#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SetFocusAction, Action)

// Moving the pointer is what moves the focus: the regions under the new
// position take it at the next update.
bool SetFocusAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    Coordinate2 at = system.pointerPosition();
    if (x_) at.x = x_->value(system);
    if (y_) at.y = y_->value(system);
    system.pointerMove(at.x, at.y);
    return false;
}

bool SetFocusAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) && stream.streamData(system, x_, "x", nullptr) &&
           stream.streamData(system, y_, "y", nullptr);
}

}  // namespace kova
}  // namespace tarn
