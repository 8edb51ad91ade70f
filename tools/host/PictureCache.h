// Pictures: PNG files named like streams, relative to the root directory
// ("Pictures/Logo.png"). A picture is read once, when its name is first
// asked for; a missing or damaged file logs one line and the picture then
// has no size and draws nothing. The empty name is handle 0, no picture (the
// host draws it as a plain quad in its vertex colours).
#pragma once

#include <string>
#include <vector>

#include "HostLog.h"
#include "NameTable.h"
#include "Rasterizer.h"

namespace tarn {
namespace kova {
namespace host {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;  // straight alpha, rows from the top

    Texture texture() const {
        return Texture{width, height, 4, rgba.empty() ? nullptr : rgba.data()};
    }
};

class PictureCache {
public:
    PictureCache(HostLog& log, std::string root) : log_(log), root_(std::move(root)) {
        pictures_.emplace_back();
    }

    // The handle of a picture name; its file is read the first time.
    int handle(const char* name);
    // The name of a handle; null when unknown.
    const char* name(int handle) const { return names_.name(handle); }
    // The picture of a handle; an empty picture for unknown handles.
    const Picture& picture(int handle) const;

private:
    void read(const char* name, Picture& picture);

    HostLog& log_;
    std::string root_;
    NameTable names_;
    std::vector<Picture> pictures_;  // by handle
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
