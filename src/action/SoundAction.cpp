#include "kova/action.h"
#include "kova/stream.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SoundAction, Action)
KOVA_IMPLEMENT_CLASS(VolumedSoundAction, SoundAction)

// Sound handles are the host's (from soundHandle when a file is read); the
// engine passes them on untouched and only takes 0 to mean no sound. The
// host's result is not passed on: a sound never consumes an event.
bool SoundAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (sound_ != 0) system.soundPlay(sound_, 1.0f);
    return false;
}

bool SoundAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) && stream.streamSound(system, sound_, "Sound");
}

bool VolumedSoundAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (sound_ != 0) system.soundPlay(sound_, volume_);
    return false;
}

bool VolumedSoundAction::onStream(System& system, Stream& stream) {
    return SoundAction::onStream(system, stream) && stream.streamFloat(volume_, "Volume (0-1)");
}

}  // namespace kova
}  // namespace tarn
