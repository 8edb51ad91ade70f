#include "Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarn {
namespace kova {
namespace host {

namespace {

const double kSubpixels = 256.0;
const long long kHalfPixel = 128;
const double kFarthest = 1048576.0;  // 2^20 pixels keeps every edge product inside 64 bits

enum BlendFunction {
    Zero = 1,
    One,
    SourceColor,
    OneMinusSourceColor,
    DestColor,
    OneMinusDestColor,
    SourceAlpha,
    OneMinusSourceAlpha,
    DestAlpha,
    OneMinusDestAlpha,
    SourceAlphaSaturate
};

bool validBlend(int function) {
    return function >= Zero && function <= SourceAlphaSaturate;
}

// The four factors of one blend function for one pixel.
void blendFactors(int function, const float* source, const float* destination, float* factor) {
    for (int i = 0; i < 4; ++i) {
        switch (function) {
            case Zero:
                factor[i] = 0.0f;
                break;
            case One:
                factor[i] = 1.0f;
                break;
            case SourceColor:
                factor[i] = source[i];
                break;
            case OneMinusSourceColor:
                factor[i] = 1.0f - source[i];
                break;
            case DestColor:
                factor[i] = destination[i];
                break;
            case OneMinusDestColor:
                factor[i] = 1.0f - destination[i];
                break;
            case SourceAlpha:
                factor[i] = source[3];
                break;
            case OneMinusSourceAlpha:
                factor[i] = 1.0f - source[3];
                break;
            case DestAlpha:
                factor[i] = destination[3];
                break;
            case OneMinusDestAlpha:
                factor[i] = 1.0f - destination[3];
                break;
            default:  // SourceAlphaSaturate: colour only; alpha passes whole
                factor[i] = i == 3 ? 1.0f : std::min(source[3], 1.0f - destination[3]);
                break;
        }
    }
}

float clamp01(float value) {
    if (!(value > 0.0f)) return 0.0f;
    return value < 1.0f ? value : 1.0f;
}

// Twice the signed area of (a, b, p): positive when p lies to the right of
// a -> b on a screen whose y grows downwards.
template <class P>
long long edge(const P& a, const P& b, long long px, long long py) {
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

// In a triangle wound clockwise on screen, the top edge runs exactly
// rightwards and the left edges run upwards. Pixels exactly on such an edge
// belong to this triangle; on any other edge, to the neighbour.
template <class P>
long long edgeBias(const P& from, const P& to) {
    long long dx = to.x - from.x, dy = to.y - from.y;
    bool topLeft = dy < 0 || (dy == 0 && dx > 0);
    return topLeft ? 0 : 1;
}

long long floorDiv(long long value, long long divisor) {
    long long quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

int clampInt(double value, int low, int high) {
    if (!(value > low)) return low;
    return value < high ? static_cast<int>(value) : high;
}

const float* texel(const Texture& texture, float u, float v, float* white) {
    int x = clampInt(std::floor(static_cast<double>(u) * texture.width), 0, texture.width - 1);
    int y = clampInt(std::floor(static_cast<double>(v) * texture.height), 0, texture.height - 1);
    std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(texture.width) +
                     static_cast<std::size_t>(x);
    if (texture.channels == 1) {
        white[3] = texture.pixels[at] / 255.0f;
    } else {
        for (int i = 0; i < 4; ++i)
            white[i] = texture.pixels[at * 4 + static_cast<std::size_t>(i)] / 255.0f;
    }
    return white;
}

}  // namespace

bool Rasterizer::drawQuad(const Rectangle& screen, const PaintData& data, const Texture& texture) {
    if (!validBlend(data.sourceBlendFunc) || !validBlend(data.destinationBlendFunc)) return false;
    if (!texture.pixels || texture.width <= 0 || texture.height <= 0) return true;
    if (!(screen.width > 0.0f) || !(screen.height > 0.0f)) return true;
    double scaleX = canvas_.width() / static_cast<double>(screen.width);
    double scaleY = canvas_.height() / static_cast<double>(screen.height);

    Bounds bounds{0, 0, canvas_.width(), canvas_.height()};
    if (data.clipRect) {
        const Rectangle& clip = *data.clipRect;
        double left = (clip.x - screen.x) * scaleX, top = (clip.y - screen.y) * scaleY;
        double right = left + clip.width * scaleX, bottom = top + clip.height * scaleY;
        // The first pixel whose centre is at or past an edge.
        bounds.left = clampInt(std::ceil(left - 0.5), 0, canvas_.width());
        bounds.top = clampInt(std::ceil(top - 0.5), 0, canvas_.height());
        bounds.right = clampInt(std::ceil(right - 0.5), 0, canvas_.width());
        bounds.bottom = clampInt(std::ceil(bottom - 0.5), 0, canvas_.height());
    }
    if (bounds.left >= bounds.right || bounds.top >= bounds.bottom) return true;

    static const float kWholeU[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    static const float kWholeV[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    Corner corners[4];
    for (int i = 0; i < 4; ++i) {
        const Vertex& vertex = data.vertex[i];
        double x = (vertex.x - screen.x) * scaleX, y = (vertex.y - screen.y) * scaleY;
        if (!(std::fabs(x) <= kFarthest) || !(std::fabs(y) <= kFarthest)) return true;
        corners[i].x = std::llround(x * kSubpixels);
        corners[i].y = std::llround(y * kSubpixels);
        corners[i].u = data.hasUV ? vertex.u : kWholeU[i];
        corners[i].v = data.hasUV ? vertex.v : kWholeV[i];
        corners[i].color[0] = vertex.red;
        corners[i].color[1] = vertex.green;
        corners[i].color[2] = vertex.blue;
        corners[i].color[3] = vertex.alpha;
    }
    drawTriangle(corners[0], corners[1], corners[2], bounds, texture, data.sourceBlendFunc,
                 data.destinationBlendFunc);
    drawTriangle(corners[0], corners[2], corners[3], bounds, texture, data.sourceBlendFunc,
                 data.destinationBlendFunc);
    return true;
}

void Rasterizer::drawTriangle(Corner a, Corner b, Corner c, const Bounds& bounds,
                              const Texture& texture, int sourceBlend, int destinationBlend) {
    long long area = edge(a, b, c.x, c.y);
    if (area == 0) return;
    if (area < 0) {  // wind every triangle the same way, so the fill rule is one rule
        std::swap(b, c);
        area = -area;
    }
    long long biasA = edgeBias(b, c), biasB = edgeBias(c, a), biasC = edgeBias(a, b);
    const long long kPixel = static_cast<long long>(kSubpixels);
    long long left = std::max<long long>(bounds.left, floorDiv(std::min({a.x, b.x, c.x}), kPixel));
    long long right =
        std::min<long long>(bounds.right - 1, floorDiv(std::max({a.x, b.x, c.x}), kPixel));
    long long top = std::max<long long>(bounds.top, floorDiv(std::min({a.y, b.y, c.y}), kPixel));
    long long bottom =
        std::min<long long>(bounds.bottom - 1, floorDiv(std::max({a.y, b.y, c.y}), kPixel));

    for (long long y = top; y <= bottom; ++y) {
        long long py = y * kPixel + kHalfPixel;
        for (long long x = left; x <= right; ++x) {
            long long px = x * kPixel + kHalfPixel;
            long long wA = edge(b, c, px, py), wB = edge(c, a, px, py), wC = edge(a, b, px, py);
            if (wA < biasA || wB < biasB || wC < biasC) continue;
            // Barycentric weights of the three corners at this pixel centre.
            double la = static_cast<double>(wA) / area, lb = static_cast<double>(wB) / area;
            double lc = static_cast<double>(wC) / area;
            float u = static_cast<float>(la * a.u + lb * b.u + lc * c.u);
            float v = static_cast<float>(la * a.v + lb * b.v + lc * c.v);
            float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
            const float* sample = texel(texture, u, v, white);
            float source[4];
            for (int i = 0; i < 4; ++i) {
                source[i] = sample[i] *
                            static_cast<float>(la * a.color[i] + lb * b.color[i] + lc * c.color[i]);
            }
            shade(static_cast<int>(x), static_cast<int>(y), source, sourceBlend, destinationBlend);
        }
    }
}

void Rasterizer::shade(int x, int y, const float source[4], int sourceBlend, int destinationBlend) {
    float* destination = canvas_.at(x, y);
    float sourceFactor[4], destinationFactor[4];
    blendFactors(sourceBlend, source, destination, sourceFactor);
    blendFactors(destinationBlend, source, destination, destinationFactor);
    for (int i = 0; i < 4; ++i) {
        destination[i] =
            clamp01(source[i] * sourceFactor[i] + destination[i] * destinationFactor[i]);
    }
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
