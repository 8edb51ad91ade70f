#include "kova/geometry.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

bool Coordinate2::stream(Stream& stream, const char* labelX, const char* labelY) {
    return stream.streamFloat(x, labelX) && stream.streamFloat(y, labelY);
}

// The depth is not a stored property of an area; nodes set it while painting.
bool Rectangle::stream(Stream& stream) {
    Coordinate2 corner{x, y};
    Coordinate2 size{width, height};
    bool ok = corner.stream(stream, "X", "Y") && size.stream(stream, "Width", "Height");
    x = corner.x;
    y = corner.y;
    width = size.x;
    height = size.y;
    return ok;
}

// Touching rectangles overlap, so a clip that shares only an edge leaves a
// zero-wide area instead of nothing.
bool Rectangle::clipTo(const Rectangle& other) {
    if (x + width < other.x || y + height < other.y || other.x + other.width < x ||
        other.y + other.height < y) {
        return false;
    }
    float d = other.x - x;
    if (d > 0.0f) {
        width -= d;
        x = other.x;
    }
    d = other.y - y;
    if (d > 0.0f) {
        height -= d;
        y = other.y;
    }
    d = (x + width) - (other.x + other.width);
    if (d > 0.0f) width -= d;
    d = (y + height) - (other.y + other.height);
    if (d > 0.0f) height -= d;
    return true;
}

bool Color::stream(Stream& stream) {
    return stream.streamFloat(red, "Red") && stream.streamFloat(green, "Green") &&
           stream.streamFloat(blue, "Blue") && stream.streamFloat(alpha, "Alpha");
}

void Color::fadeTo(Color& out, float t, float toRed, float toGreen, float toBlue,
                   float toAlpha) const {
    float keep = 1.0f - t;
    out.red = red * keep + toRed * t;
    out.green = green * keep + toGreen * t;
    out.blue = blue * keep + toBlue * t;
    out.alpha = alpha * keep + toAlpha * t;
}

// The texture coordinate stays: a host cutting at the clip rectangle works
// out u and v from the picture itself.
void Vertex::calculateClip(Vertex& a, Vertex& b, float t) {
    x = a.x + (b.x - a.x) * t;
    y = a.y + (b.y - a.y) * t;
    z = a.z + (b.z - a.z) * t;
    red = a.red + (b.red - a.red) * t;
    green = a.green + (b.green - a.green) * t;
    blue = a.blue + (b.blue - a.blue) * t;
    alpha = a.alpha + (b.alpha - a.alpha) * t;
}

}  // namespace kova
}  // namespace tarn
