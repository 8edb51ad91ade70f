// Turns the window's events into the engine's input:
// - keys of the KeyMap press and release their buttons (a key held down
//   repeats with growing repeat counts, 2, 3, ...); typed text arrives as
//   Unicode characters, each pressed and released;
// - the mouse moves the pointer; its left button is Select, its right one
//   Cancel, its back button Back, and its wheel presses "Scroll up" and
//   "Scroll down";
// - game pads press their buttons of the KeyMap and move with the left
//   stick, each pad with its own input index (PadSet); pads come and go
//   while the viewer runs.
// The keyboard and the mouse are input index 1, the first player: the
// engine's edit fields listen to that index only, and the sample's scripts
// play the first player with it. So a keyboard and a first pad act as the
// same player, as in most single-player games.
//
// F1, F5 and closing the window are the viewer's own, not the engine's.
#pragma once

#include <SDL.h>

#include <map>

#include "PadSet.h"
#include "ReferenceHost.h"
#include "ViewLog.h"

namespace tarn {
namespace kova {
namespace view {

class InputRouter {
public:
    static const int kKeyboardIndex = 1;

    // What the viewer itself is asked to do.
    enum Command { None, ToggleOverlay, Reload, Quit };

    InputRouter(PadSet& pads, ViewLog& log) : pads_(pads), log_(log) {}

    // Gives one event to the engine of host; mouse positions are pixels of
    // the host's canvas.
    Command route(const SDL_Event& event, host::ReferenceHost& host);

private:
    Command key(const SDL_KeyboardEvent& event, System& system);
    void text(const char* utf8, System& system);
    void pointer(int x, int y, host::ReferenceHost& host);
    void mouseButton(const SDL_MouseButtonEvent& event, host::ReferenceHost& host);
    void padAdded(int deviceIndex);
    void padRemoved(SDL_JoystickID instance, System& system);
    void padButton(const SDL_ControllerButtonEvent& event, System& system);
    void padAxis(const SDL_ControllerAxisEvent& event, System& system);

    PadSet& pads_;
    ViewLog& log_;
    int repeats_[Button::Count] = {};  // per button, the repeat count of the key held
    std::map<SDL_Keycode, int> held_;  // per key down, the button it pressed
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
