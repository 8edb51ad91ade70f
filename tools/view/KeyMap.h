// Which of the engine's buttons a key or a pad button stands for. The keys
// are those a player expects on a keyboard; the pad buttons follow the
// usual layout of a game pad (the lower face button selects, the right one
// cancels). Keys and pad buttons that are not listed press nothing.
#pragma once

#include <SDL.h>

namespace tarn {
namespace kova {
namespace view {

struct KeyBinding {
    SDL_Keycode key;
    Uint16 modifiers;  // 0, or the modifier keys (KMOD_SHIFT, ...) one of which is held
    int button;        // the engine's button number (Button::Select, ...)
};

struct PadBinding {
    SDL_GameControllerButton padButton;
    int button;
};

class KeyMap {
public:
    // The whole tables, for whoever wants to list or check them.
    static const KeyBinding* keys(int& count);
    static const PadBinding* padButtons(int& count);

    // The engine's button of a key (with the modifier keys held) or a pad
    // button; Button::NoButton (0) for one that is not bound. A binding with
    // modifiers comes before the same key's plain one.
    static int buttonForKey(SDL_Keycode key, Uint16 modifiers = 0);
    static int buttonForPad(int padButton);
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
