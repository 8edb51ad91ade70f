// The record picture nodes send: the area's four corners, white, opaque and
// blended with source alpha.
#pragma once

#include "kova/geometry.h"

namespace tarn {
namespace kova {

inline void pictureQuad(PaintData& data, const Rectangle& area, Rectangle* clip) {
    data.clipRect = clip;
    const float right = area.x + area.width;
    const float bottom = area.y + area.height;
    const float xs[4] = {area.x, right, right, area.x};
    const float ys[4] = {area.y, area.y, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        data.vertex[i].x = xs[i];
        data.vertex[i].y = ys[i];
        data.vertex[i].z = area.z;
    }
}

}  // namespace kova
}  // namespace tarn
