#include "kova/event.h"
#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(ButtonEvent, TypeEvent)
KOVA_IMPLEMENT_CLASS(ExtendedButtonEvent, TypeEvent)

bool ButtonEvent::onCheck(System& system, EventData& data) {
    return Event::onCheck(system, data) && data.type == type_ &&
           data.first == static_cast<float>(button_);
}

// The type is streamed here rather than through TypeEvent, so a file can only
// name button event types.
bool ButtonEvent::onStream(System& system, Stream& stream) {
    return Event::onStream(system, stream) &&
           stream.streamIndex(type_, &ButtonEvent::eventNextIndex, &Event::name, "Event type") &&
           stream.streamIndex(button_, &ButtonEvent::buttonNextIndex, &Button::buttonName,
                              "Button type");
}

int ButtonEvent::eventNextIndex(int i) {
    return i >= 0 && i <= 2 ? i + 1 : 0;
}

int ButtonEvent::buttonNextIndex(int i) {
    return Button::buttonName(i) ? i + 1 : 0;
}

bool ExtendedButtonEvent::onCheck(System& system, EventData& data) {
    return ButtonEvent::onCheck(system, data) && data.second == static_cast<float>(repeatCount_);
}

bool ExtendedButtonEvent::onStream(System& system, Stream& stream) {
    return ButtonEvent::onStream(system, stream) && stream.streamInt(repeatCount_, "Repeat count");
}

}  // namespace kova
}  // namespace tarn
