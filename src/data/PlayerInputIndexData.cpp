#include "kova/data.h"
#include "kova/event.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(PlayerInputIndexData, Data)

PlayerInputIndexData::PlayerInputIndexData(const char* name) : Data(name) {}

// A player without a pad reads 0, the same as the player on the first pad;
// screens tell them apart by the events players send, not by this value.
float PlayerInputIndexData::value(System& system, int player) {
    Pointer* pointer = system.pointer();
    if (!pointer || player >= PlayerCount) return 0.0f;
    if (!pointer->actualClass()->is(DynamicIndexPointer::absoluteClass())) return 0.0f;
    return static_cast<float>(static_cast<DynamicIndexPointer*>(pointer)->padIndex(player));
}

int PlayerInputIndexData::character(System&, int, int) {
    return 0;
}

int PlayerInputIndexData::indexCount(System&) {
    return PlayerCount;
}

}  // namespace kova
}  // namespace tarn
