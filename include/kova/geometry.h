// Kova geometry and paint records: plain float values copied by value. Screen
// coordinates grow downwards; the root rectangle is centred on the origin.
#pragma once

#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Effect;

struct KOVA_API Coordinate2 {
    float x = 0.0f;
    float y = 0.0f;
};

struct KOVA_API Coordinate3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// An axis-aligned area plus the depth given to everything painted inside it.
struct KOVA_API Rectangle {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float z = 0.0f;
};

struct KOVA_API Color {
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;
};

// One corner of a painted quadrilateral.
struct KOVA_API Vertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float u = 0.0f;
    float v = 0.0f;
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;
};

// The record handed to the host for one glyph or one picture. Vertices run
// top left, top right, bottom right, bottom left.
struct KOVA_API PaintData {
    Rectangle* clipRect = nullptr;
    int sourceBlendFunc = 7;
    int destinationBlendFunc = 8;
    Vertex vertex[4];
    bool hasUV = false;
};

// One element of the chain of effects active at a point of the paint walk.
// Elements live on the stack of the node that installs them and point
// outwards to the enclosing node's element.
struct KOVA_API EffectPipe {
    EffectPipe* next = nullptr;
    Effect* effect = nullptr;
    float showDirection = 0.0f;
    float showLevel = 1.0f;
    float modeDirection = 0.0f;
    float modeLevel = 1.0f;
    float effectLevel = 1.0f;

    bool charPaint(System& system, int character, int font, int index, PaintData& data);
    bool picturePaint(System& system, int picture, PaintData& data);
};

}  // namespace kova
}  // namespace tarn
