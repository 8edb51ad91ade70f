#include "kova/action.h"
#include "kova/data.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SetTabstopAction, Action)

// Counts every tab stop of the shown screens, disabled ones too, so a screen
// can name a stop by its place whatever is enabled; an index past the last
// one leaves the pointer where it is.
bool SetTabstopAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    int index = tabstopIndex_ ? truncateToInt(tabstopIndex_->value(system)) : 0;
    TabstopIndexIterator search(system, index);
    search.iterate(system, system.firstNode(), system.clipRect(), system.mode());
    return false;
}

bool SetTabstopAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamData(system, tabstopIndex_, "Tabstop index", nullptr);
}

}  // namespace kova
}  // namespace tarn
