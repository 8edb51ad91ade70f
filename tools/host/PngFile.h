// PNG files as 8-bit RGBA with straight (not premultiplied) alpha, read and
// written through libpng. Every PNG colour type is converted on reading.
#pragma once

#include <string>
#include <vector>

namespace tarn {
namespace kova {
namespace host {

class PngFile {
public:
    // Pictures larger than this many pixels are refused, so a damaged file
    // cannot ask for gigabytes.
    static const long long kMaxPixels = 8192LL * 8192LL;

    // Reads a whole file; false with a reason in error.
    static bool read(const std::string& path, int& width, int& height,
                     std::vector<unsigned char>& rgba, std::string& error);
    // Writes width x height RGBA pixels, rows from the top.
    static bool write(const std::string& path, int width, int height, const unsigned char* rgba,
                      std::string& error);
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
