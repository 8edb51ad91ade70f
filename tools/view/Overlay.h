// Draws lines of text over the host's canvas, after the screens were
// painted: a dark, half-transparent panel along the top left with the lines
// in a light monospaced font, through the host's own fonts and rasterizer,
// in canvas pixels whatever the screen's size.
#pragma once

#include <string>
#include <vector>

#include "ReferenceHost.h"

namespace tarn {
namespace kova {
namespace view {

class Overlay {
public:
    static const char* const kFont;  // "DejaVuSansMono 12"

    // How many characters of the font fit across the canvas.
    static int columns(host::ReferenceHost& host);
    static void draw(host::ReferenceHost& host, const std::vector<std::string>& lines);

private:
    static float advance(host::ReferenceHost& host, int font);
    static void fill(host::Rasterizer& rasterizer, const Rectangle& canvas, float left, float top,
                     float right, float bottom, const Color& color);
    static void text(host::ReferenceHost& host, host::Rasterizer& rasterizer,
                     const Rectangle& canvas, int font, const std::string& line, float x,
                     float baseline);
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
