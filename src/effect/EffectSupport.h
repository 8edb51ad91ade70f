// Helpers shared by the effect sources; not part of the public interface.
#pragma once

#include "kova/geometry.h"

namespace tarn {
namespace kova {

// Runs passOn with the record's clip pointing at clip, then puts the clip in
// force before back, so the substitute never outlives the call.
template <class PassOn>
bool passOnClipped(PaintData& data, Rectangle* clip, PassOn passOn) {
    Rectangle* saved = data.clipRect;
    data.clipRect = clip;
    bool ok = passOn();
    data.clipRect = saved;
    return ok;
}

}  // namespace kova
}  // namespace tarn
