// The image the host draws into: width x height pixels of four floats (red,
// green, blue, alpha from 0 to 1, straight alpha), row 0 at the top. Floats
// keep blending exact until the image is written as 8-bit PNG.
#pragma once

#include <string>
#include <vector>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace host {

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    void clear(const Color& color);
    // The four channels of one pixel; the caller keeps x and y inside.
    float* at(int x, int y) { return &pixels_[index(x, y)]; }
    const float* at(int x, int y) const { return &pixels_[index(x, y)]; }
    // One pixel as 0xRRGGBBAA, each channel rounded to 8 bits.
    unsigned int rgba(int x, int y) const;

    // The whole image as 8-bit RGBA, and as a PNG file. A screen shows the
    // colours only, so both are opaque unless keepAlpha asks for the alpha
    // that blending left (which the blend functions of "Dest alpha" read).
    std::vector<unsigned char> rgba8(bool keepAlpha = false) const;
    bool writePng(const std::string& path, std::string& error, bool keepAlpha = false) const;

private:
    std::size_t index(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)) *
               4;
    }

    int width_;
    int height_;
    std::vector<float> pixels_;
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
