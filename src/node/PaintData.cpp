#include <cmath>

#include "kova/geometry.h"

namespace tarn {
namespace kova {

namespace {

// Exchanges where two corners are and what colour they carry; the texture
// coordinates stay with their corner, which mirrors the image.
void swapCorners(Vertex& a, Vertex& b) {
    Vertex keep = a;
    a = b;
    a.u = keep.u;
    a.v = keep.v;
    float u = b.u;
    float v = b.v;
    b = keep;
    b.u = u;
    b.v = v;
}

}  // namespace

const char* PaintData::blendFuncName(int index) {
    static const char* const names[] = {"ERROR",
                                        "Zero",
                                        "One",
                                        "Source color",
                                        "One minus source color",
                                        "Dest color",
                                        "One minus dest color",
                                        "Source alpha",
                                        "One minus source alpha",
                                        "Dest alpha",
                                        "One minus dest alpha",
                                        "Source alpha saturate"};
    const int count = static_cast<int>(sizeof(names) / sizeof(names[0]));
    return index >= 0 && index < count ? names[index] : nullptr;
}

void PaintData::averageCoordinate(Coordinate3& out) {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    for (const Vertex& corner : vertex) {
        x += corner.x;
        y += corner.y;
        z += corner.z;
    }
    out.x = x * 0.25f;
    out.y = y * 0.25f;
    out.z = z * 0.25f;
}

// With y growing downwards a positive angle turns the picture anticlockwise
// on screen.
void PaintData::rotateZ(const Coordinate2& centre, float angle) {
    float c = std::cos(angle);
    float s = std::sin(angle);
    for (Vertex& corner : vertex) {
        float dx = corner.x - centre.x;
        float dy = corner.y - centre.y;
        corner.x = centre.x + dx * c + dy * s;
        corner.y = centre.y + dy * c - dx * s;
    }
}

void PaintData::stretchZ(const Coordinate2& d) {
    vertex[0].x -= d.x;
    vertex[0].y -= d.y;
    vertex[1].x += d.x;
    vertex[1].y -= d.y;
    vertex[2].x += d.x;
    vertex[2].y += d.y;
    vertex[3].x -= d.x;
    vertex[3].y += d.y;
}

void PaintData::flipHorizontal() {
    swapCorners(vertex[0], vertex[1]);
    swapCorners(vertex[2], vertex[3]);
}

void PaintData::flipVertical() {
    swapCorners(vertex[0], vertex[3]);
    swapCorners(vertex[1], vertex[2]);
}

}  // namespace kova
}  // namespace tarn
