#include "Canvas.h"

#include "PngFile.h"

namespace tarn {
namespace kova {
namespace host {

namespace {

unsigned char toByte(float channel) {
    if (!(channel > 0.0f)) return 0;  // NaN too
    if (channel >= 1.0f) return 255;
    return static_cast<unsigned char>(channel * 255.0f + 0.5f);
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4, 0.0f) {}

void Canvas::clear(const Color& color) {
    for (std::size_t i = 0; i < pixels_.size(); i += 4) {
        pixels_[i] = color.red;
        pixels_[i + 1] = color.green;
        pixels_[i + 2] = color.blue;
        pixels_[i + 3] = color.alpha;
    }
}

unsigned int Canvas::rgba(int x, int y) const {
    const float* pixel = at(x, y);
    return static_cast<unsigned int>(toByte(pixel[0])) << 24 |
           static_cast<unsigned int>(toByte(pixel[1])) << 16 |
           static_cast<unsigned int>(toByte(pixel[2])) << 8 | toByte(pixel[3]);
}

std::vector<unsigned char> Canvas::rgba8(bool keepAlpha) const {
    std::vector<unsigned char> bytes(pixels_.size());
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        bytes[i] = i % 4 == 3 && !keepAlpha ? 255 : toByte(pixels_[i]);
    }
    return bytes;
}

bool Canvas::writePng(const std::string& path, std::string& error, bool keepAlpha) const {
    if (width_ == 0 || height_ == 0) {
        error = "the image is empty";
        return false;
    }
    std::vector<unsigned char> bytes = rgba8(keepAlpha);
    return PngFile::write(path, width_, height_, bytes.data(), error);
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
