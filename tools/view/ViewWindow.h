// The viewer's window through SDL: the host's canvas is copied into a
// streaming texture and presented, in step with the display (vertical sync)
// when SDL can. The window may be resized; the picture keeps its aspect and
// mouse positions arrive in canvas pixels.
//
// Headless, SDL runs its offscreen video driver (chosen before SDL starts),
// with a hidden window and software rendering: the same steps without a
// display, and what was presented can be read back exactly.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "Canvas.h"

namespace tarn {
namespace kova {
namespace view {

class ViewWindow {
public:
    ViewWindow() = default;
    ~ViewWindow();
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    // Starts SDL (with game controllers, unless headless) and opens a
    // window for a canvas of width x height; false with SDL's reason.
    bool open(const std::string& title, int width, int height, bool headless, std::string& error);

    // Shows the canvas. With shown, also reads back what is shown, as RGBA
    // rows from the top.
    bool present(const host::Canvas& canvas, std::vector<unsigned char>* shown = nullptr);

    // Whether presenting waits for the display; when not, the caller paces
    // its frames itself.
    bool synced() const { return synced_; }

    // The next waiting event; false when there is none.
    bool poll(SDL_Event& event) { return started_ && SDL_PollEvent(&event) == 1; }

private:
    bool started_ = false;
    bool synced_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
