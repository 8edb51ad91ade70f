#include "kova/event.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(UnicodeEvent, TypeEvent)
KOVA_IMPLEMENT_CLASS(ExtendedUnicodeEvent, TypeEvent)

bool UnicodeEvent::onCheck(System& system, EventData& data) {
    return Event::onCheck(system, data) && data.type == type_ &&
           data.first == static_cast<float>(character_);
}

// The type is streamed here rather than through TypeEvent, so a file can only
// name Unicode event types.
bool UnicodeEvent::onStream(System& system, Stream& stream) {
    return Event::onStream(system, stream) &&
           stream.streamIndex(type_, &UnicodeEvent::eventNextIndex, &Event::name, "Event type") &&
           stream.streamWchar(character_, "Unicode");
}

int UnicodeEvent::eventNextIndex(int i) {
    switch (i) {
        case 0:
            return UnicodePress;
        case UnicodePress:
            return UnicodeRelease;
        case UnicodeRelease:
            return UnicodeReleaseOutside;
        default:
            return 0;
    }
}

bool ExtendedUnicodeEvent::onCheck(System& system, EventData& data) {
    return UnicodeEvent::onCheck(system, data) && data.second == static_cast<float>(repeatCount_);
}

bool ExtendedUnicodeEvent::onStream(System& system, Stream& stream) {
    return UnicodeEvent::onStream(system, stream) && stream.streamInt(repeatCount_, "Repeat count");
}

}  // namespace kova
}  // namespace tarn
