#include "ViewWindow.h"

namespace tarn {
namespace kova {
namespace view {

ViewWindow::~ViewWindow() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    if (started_) SDL_Quit();
}

bool ViewWindow::open(const std::string& title, int width, int height, bool headless,
                      std::string& error) {
    // The driver is chosen over any SDL_VIDEODRIVER of the environment, so a
    // headless run never looks for a display; and its window's pixels stay in
    // memory, where SDL would otherwise start a graphics driver to hold them.
    if (headless) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
    }
    Uint32 systems = SDL_INIT_VIDEO | (headless ? 0 : SDL_INIT_GAMECONTROLLER);
    started_ = SDL_Init(systems) == 0;
    Uint32 flags = headless ? SDL_WINDOW_HIDDEN : SDL_WINDOW_RESIZABLE;
    if (started_) {
        window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   width, height, flags);
    }
    if (window_ && !headless) {
        renderer_ =
            SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    }
    if (window_ && !renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_) {
        SDL_RenderSetLogicalSize(renderer_, width, height);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING,
                                     width, height);
    }
    if (!texture_) {
        error = std::string("SDL: ") + SDL_GetError();
        return false;
    }
    SDL_RendererInfo info;
    synced_ =
        SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    // The canvas is opaque; copying it must not blend with what was there.
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    width_ = width;
    height_ = height;
    return true;
}

// RGBA32 lies in memory as red, green, blue, alpha bytes, as the canvas's
// bytes do, on any machine.
bool ViewWindow::present(const host::Canvas& canvas, std::vector<unsigned char>* shown) {
    if (!texture_ || canvas.width() != width_ || canvas.height() != height_) return false;
    std::vector<unsigned char> rgba = canvas.rgba8();
    bool ok = SDL_UpdateTexture(texture_, nullptr, rgba.data(), width_ * 4) == 0 &&
              SDL_RenderClear(renderer_) == 0 &&
              SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) == 0;
    // Read before presenting: afterwards the back buffer is undefined.
    if (ok && shown) {
        shown->assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4, 0);
        ok = SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGBA32, shown->data(),
                                  width_ * 4) == 0;
    }
    SDL_RenderPresent(renderer_);
    return ok;
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
