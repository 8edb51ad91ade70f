#include "PngFile.h"

#include <png.h>

#include <cstring>

namespace tarn {
namespace kova {
namespace host {

// libpng's simplified interface reports errors through the image record
// instead of a long jump, so no C++ object is ever skipped over.
bool PngFile::read(const std::string& path, int& width, int& height,
                   std::vector<unsigned char>& rgba, std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    if (static_cast<long long>(image.width) * image.height > kMaxPixels) {
        error =
            "too large (" + std::to_string(image.width) + "x" + std::to_string(image.height) + ")";
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    rgba.swap(pixels);
    return true;
}

bool PngFile::write(const std::string& path, int width, int height, const unsigned char* rgba,
                    std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba, 0, nullptr)) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
