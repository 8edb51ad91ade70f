#include "kova/event.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(DynamicIndexPointer, Pointer)

// Input indexes outside 1 to 4 (0, a keyboard, anything unknown) are not pads:
// they are treated like input index 0, so they are posted as player 1 and
// never index the pad table.

DynamicIndexPointer::DynamicIndexPointer() {
    for (int& player : indexOrder_)
        player = NoPlayer;
}

int DynamicIndexPointer::playerOfPad(int pad) const {
    return pad >= 0 && pad < PadCount ? indexOrder_[pad] : static_cast<int>(NoPlayer);
}

// The pad (or none, for -1) becomes the only assigned one, as player 1.
void DynamicIndexPointer::assignOnly(int pad) {
    for (int& player : indexOrder_)
        player = NoPlayer;
    assignedCount_ = 0;
    if (pad >= 0 && pad < PadCount) {
        indexOrder_[pad] = 1;
        assignedCount_ = 1;
    }
}

bool DynamicIndexPointer::onButtonPress(System& system, int button, int inputIndex,
                                        int repeatCount) {
    bool pad = isPad(inputIndex);
    lastPadIndex_ = pad ? inputIndex - 1 : 0;
    int player = 1;
    if (locked_ && pad) {
        int& assigned = indexOrder_[lastPadIndex_];
        if (assigned == NoPlayer) assigned = ++assignedCount_;
        player = assigned;
    } else {
        assignOnly(pad ? lastPadIndex_ : -1);
    }
    system.postMessage(Event::ButtonPress, player, static_cast<float>(button),
                       static_cast<float>(repeatCount), 0.0f);
    return true;
}

// A pad that never pressed while locked has no player and is posted as 100.
bool DynamicIndexPointer::onButtonRelease(System& system, int button, int inputIndex) {
    int player = locked_ && isPad(inputIndex) ? indexOrder_[inputIndex - 1] : 1;
    system.postMessage(Event::ButtonRelease, player, static_cast<float>(button), 0.0f, 0.0f);
    return true;
}

void DynamicIndexPointer::lock(bool locked) {
    assignOnly(-1);
    locked_ = locked;
}

bool DynamicIndexPointer::removeLockedPadIndex(int pad) {
    if (pad < 0 || pad >= PadCount || indexOrder_[pad] == NoPlayer) return true;
    int removed = indexOrder_[pad];
    for (int& player : indexOrder_) {
        if (player != NoPlayer && player > removed) --player;
    }
    indexOrder_[pad] = NoPlayer;
    if (assignedCount_ > 0) --assignedCount_;
    return true;
}

int DynamicIndexPointer::padIndex(int player) {
    for (int pad = 0; pad < PadCount; ++pad) {
        if (indexOrder_[pad] == player + 1) return pad;
    }
    return 0;
}

bool DynamicIndexPointer::onRegister(System& system, Stream& stream) {
    if (!Pointer::onRegister(system, stream)) return false;
    for (int& player : indexOrder_) {
        if (!stream.streamInt(player, "Index order")) return false;
    }
    return stream.streamBool(locked_, "Is locked");
}

}  // namespace kova
}  // namespace tarn
