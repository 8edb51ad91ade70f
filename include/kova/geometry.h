// Kova geometry and paint records: plain float values copied by value. Screen
// coordinates grow downwards; the root rectangle is centred on the origin.
#pragma once

#include <climits>

#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Effect;

// Truncates toward zero like a cast, but a NaN gives 0 and values beyond the
// int range give the nearest limit, so hostile floats from files or hosts
// never reach an undefined conversion.
inline int truncateToInt(float value) {
    if (value != value) return 0;
    if (value >= 2147483648.0f) return INT_MAX;
    if (value < -2147483648.0f) return INT_MIN;
    return static_cast<int>(value);
}

// A point or a size in 2D.
struct KOVA_API Coordinate2 {
    float x = 0.0f;
    float y = 0.0f;

    bool stream(Stream& stream, const char* labelX, const char* labelY);
};

struct KOVA_API Coordinate3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// An axis-aligned area plus the depth given to everything painted inside it.
// The depth is set while painting and never persisted.
struct KOVA_API Rectangle {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float z = 0.0f;

    bool stream(Stream& stream);
    bool clipTo(const Rectangle& other);
};

// Channels run from 0 to 1; a new colour is opaque white.
struct KOVA_API Color {
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;

    bool stream(Stream& stream);
    void fadeTo(Color& out, float t, float red, float green, float blue, float alpha) const;
};

// One corner of a painted quadrilateral. u and v only count when the record
// says it carries texture coordinates.
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

    // For hosts that cut a quadrilateral at the clip rectangle.
    void calculateClip(Vertex& a, Vertex& b, float t);
};

// The record handed to the host for one glyph or one picture. Vertices run
// top left, top right, bottom right, bottom left. Blend functions are indexes
// into the table of blendFuncName; the engine only passes them on.
struct KOVA_API PaintData {
    Rectangle* clipRect = nullptr;
    int sourceBlendFunc = 7;
    int destinationBlendFunc = 8;
    Vertex vertex[4];
    bool hasUV = false;

    static const char* blendFuncName(int index);
    void averageCoordinate(Coordinate3& out);
    void rotateZ(const Coordinate2& centre, float angle);
    void stretchZ(const Coordinate2& d);
    void flipHorizontal();
    void flipVertical();
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
