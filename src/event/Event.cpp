#include "kova/event.h"

#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(Event, Object)

bool Event::onCheck(System&, EventData& data) {
    return inputIndex_ == 0 || inputIndex_ == data.inputIndex;
}

bool Event::onStream(System& system, Stream& stream) {
    return Object::onStream(system, stream) &&
           stream.streamUbyte(inputIndex_, "Input index (0 == all indexes)");
}

bool Event::check(System& system, Event* event, EventData& data) {
    return event ? event->onCheck(system, data) : false;
}

const char* Event::name(int type) {
    static const char* const names[TypeCount] = {"No event",
                                                 "ButtonPress",
                                                 "ButtonRelease",
                                                 "ButtonReleaseOutside",
                                                 "UnicodePress",
                                                 "UnicodeRelease",
                                                 "UnicodeReleaseOutside",
                                                 "GainFocus",
                                                 "LostFocus",
                                                 "PointerIn",
                                                 "PointerOut",
                                                 "PointerMove",
                                                 "PointerMoveOut",
                                                 "PreShow",
                                                 "PostShow",
                                                 "PreHide",
                                                 "PostHide",
                                                 "PreWaitShow",
                                                 "PreWaitHide",
                                                 "Quit",
                                                 "Disable",
                                                 "Enable",
                                                 "Update"};
    return type >= 0 && type < TypeCount ? names[type] : nullptr;
}

}  // namespace kova
}  // namespace tarn
