#include "KeyMap.h"

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

// Enter selects on both the main keys and the keypad; typed characters are
// not keys here, they arrive as text. The engine tells Cancel (leave what is
// being done) from Back (go to the screen before), and screens use both:
// Escape cancels, and Shift+Escape or a keyboard's own Back key goes back.
const KeyBinding kKeys[] = {
    {SDLK_UP, 0, Button::Upwards},
    {SDLK_DOWN, 0, Button::Downwards},
    {SDLK_LEFT, 0, Button::Leftwards},
    {SDLK_RIGHT, 0, Button::Rightwards},
    {SDLK_RETURN, 0, Button::Select},
    {SDLK_KP_ENTER, 0, Button::Select},
    {SDLK_ESCAPE, KMOD_SHIFT, Button::Back},
    {SDLK_ESCAPE, 0, Button::Cancel},
    {SDLK_AC_BACK, 0, Button::Back},
    {SDLK_BACKSPACE, 0, Button::Backspace},
    {SDLK_DELETE, 0, Button::Delete},
    {SDLK_TAB, 0, Button::Tab},
    {SDLK_HOME, 0, Button::Home},
    {SDLK_END, 0, Button::End},
    {SDLK_PAGEUP, 0, Button::PageUp},
    {SDLK_PAGEDOWN, 0, Button::PageDown},
    {SDLK_INSERT, 0, Button::Insert},
};

// The shoulder buttons page, as they do through long lists in most games.
const PadBinding kPadButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, Button::Upwards},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, Button::Downwards},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, Button::Leftwards},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Button::Rightwards},
    {SDL_CONTROLLER_BUTTON_A, Button::Select},
    {SDL_CONTROLLER_BUTTON_B, Button::Cancel},
    {SDL_CONTROLLER_BUTTON_X, Button::Edit},
    {SDL_CONTROLLER_BUTTON_BACK, Button::Back},
    {SDL_CONTROLLER_BUTTON_START, Button::Start},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, Button::PageUp},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, Button::PageDown},
};

}  // namespace

const KeyBinding* KeyMap::keys(int& count) {
    count = static_cast<int>(sizeof(kKeys) / sizeof(kKeys[0]));
    return kKeys;
}

const PadBinding* KeyMap::padButtons(int& count) {
    count = static_cast<int>(sizeof(kPadButtons) / sizeof(kPadButtons[0]));
    return kPadButtons;
}

int KeyMap::buttonForKey(SDL_Keycode key, Uint16 modifiers) {
    for (const KeyBinding& binding : kKeys) {
        bool held = binding.modifiers == 0 || (modifiers & binding.modifiers) != 0;
        if (binding.key == key && held) return binding.button;
    }
    return Button::NoButton;
}

int KeyMap::buttonForPad(int padButton) {
    for (const PadBinding& binding : kPadButtons) {
        if (binding.padButton == padButton) return binding.button;
    }
    return Button::NoButton;
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
