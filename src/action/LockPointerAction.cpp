#include "kova/action.h"
#include "kova/data.h"
#include "kova/event.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(LockPointerAction, Action)
KOVA_IMPLEMENT_CLASS(UnlockPointerAction, Action)

namespace {

// The system's pointer when it assigns players to pads; null otherwise.
DynamicIndexPointer* dynamicPointer(System& system) {
    Pointer* pointer = system.pointer();
    if (!pointer || !pointer->actualClass()->is(DynamicIndexPointer::absoluteClass()))
        return nullptr;
    return static_cast<DynamicIndexPointer*>(pointer);
}

}  // namespace

bool LockPointerAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (DynamicIndexPointer* pointer = dynamicPointer(system)) pointer->lock(true);
    return false;
}

// The input index data is only carried along: what a screen keeps in it is
// the screen's affair, and locking never looks at it.
bool LockPointerAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamData(system, inputIndexData_, "Input index data", nullptr);
}

bool UnlockPointerAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (DynamicIndexPointer* pointer = dynamicPointer(system)) pointer->lock(false);
    return false;
}

}  // namespace kova
}  // namespace tarn
