#include "kova/event.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(AnyKeyEvent, Event)

// A kind covers the button and the Unicode form of the same step.
bool AnyKeyEvent::onCheck(System& system, EventData& data) {
    if (!Event::onCheck(system, data)) return false;
    switch (kind_) {
        case 1:
            return data.type == ButtonPress || data.type == UnicodePress;
        case 2:
            return data.type == ButtonRelease || data.type == UnicodeRelease;
        case 3:
            return data.type == ButtonReleaseOutside || data.type == UnicodeReleaseOutside;
        default:
            return false;
    }
}

bool AnyKeyEvent::onStream(System& system, Stream& stream) {
    return Event::onStream(system, stream) &&
           stream.streamIndex(kind_, &AnyKeyEvent::nextIndex, &AnyKeyEvent::string, "Event type");
}

int AnyKeyEvent::nextIndex(int i) {
    return i >= 0 && i <= 2 ? i + 1 : 0;
}

const char* AnyKeyEvent::string(int kind) {
    switch (kind) {
        case 1:
            return "pressed";
        case 2:
            return "released";
        case 3:
            return "released outside";
        default:
            return nullptr;
    }
}

}  // namespace kova
}  // namespace tarn
