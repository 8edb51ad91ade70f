#include "kova/event.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(TypeEvent, Event)

bool TypeEvent::onCheck(System& system, EventData& data) {
    return Event::onCheck(system, data) && data.type == type_;
}

bool TypeEvent::onStream(System& system, Stream& stream) {
    return Event::onStream(system, stream) &&
           stream.streamIndex(type_, &TypeEvent::nextIndex, &Event::name, "Event type");
}

// Every type of the table is a valid choice.
int TypeEvent::nextIndex(int i) {
    return Event::name(i) ? i + 1 : 0;
}

}  // namespace kova
}  // namespace tarn
