// Draws the engine's quads into a Canvas, as a graphics card would: each
// quad is the two triangles (0, 1, 2) and (0, 2, 3) of its vertices, filled
// by edge functions over pixel centres with the top-left rule, so two
// triangles that share an edge cover each pixel along it exactly once.
// Positions are snapped to 1/256 pixel and the edge functions are exact
// integers. Texture coordinates and vertex colours are interpolated
// linearly across each triangle; textures are sampled at the nearest texel.
//
// Conventions of this host:
// - The engine's screen rectangle (System::clipRect(), centred on the origin,
//   y down) covers the whole canvas.
// - Texture coordinates run from 0 to 1 across the picture or glyph (0, 0 at
//   its top left). Without hasUV the whole texture is mapped: vertex 0 gets
//   (0, 0), 1 (1, 0), 2 (1, 1) and 3 (0, 1). Outside 0..1 the edge texels
//   repeat.
// - The colour drawn is the texel times the vertex colour, blended with the
//   canvas as source x sourceFactor + destination x destinationFactor, for
//   all four channels alike, then clamped to 0..1. The factors are the
//   engine's blend-function numbers 1 to 11 ("Zero" ... "Source alpha
//   saturate"); any other number refuses the quad.
// - A clip rectangle keeps the pixels whose centres lie inside it (left and
//   top edges inclusive, right and bottom exclusive).
// - Quads with a corner further than 2^20 pixels from the canvas, or with a
//   coordinate that is not a number, are not drawn.
#pragma once

#include "Canvas.h"
#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace host {

// What a quad shows: width x height texels, rows from the top.
struct Texture {
    int width = 0;
    int height = 0;
    int channels = 4;  // 4: straight RGBA bytes; 1: coverage bytes, white at that alpha
    const unsigned char* pixels = nullptr;
};

class Rasterizer {
public:
    explicit Rasterizer(Canvas& canvas) : canvas_(canvas) {}

    // Draws one quad; false when a blend-function number is not 1 to 11.
    // A texture without texels draws nothing and is no failure.
    bool drawQuad(const Rectangle& screen, const PaintData& data, const Texture& texture);

private:
    struct Corner {
        long long x, y;  // canvas position in 1/256 pixel
        float u, v;
        float color[4];
    };
    struct Bounds {
        int left, top, right, bottom;  // pixels, right and bottom exclusive
    };

    void drawTriangle(Corner a, Corner b, Corner c, const Bounds& bounds, const Texture& texture,
                      int sourceBlend, int destinationBlend);
    void shade(int x, int y, const float source[4], int sourceBlend, int destinationBlend);

    Canvas& canvas_;
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
