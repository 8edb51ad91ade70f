#include "KeyMap.h"

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

// Enter selects on both the main keys and the keypad; typed characters are
// not keys here, they arrive as text.
const KeyBinding kKeys[] = {
    {SDLK_UP, Button::Upwards},     {SDLK_DOWN, Button::Downwards},
    {SDLK_LEFT, Button::Leftwards}, {SDLK_RIGHT, Button::Rightwards},
    {SDLK_RETURN, Button::Select},  {SDLK_KP_ENTER, Button::Select},
    {SDLK_ESCAPE, Button::Cancel},  {SDLK_BACKSPACE, Button::Backspace},
    {SDLK_DELETE, Button::Delete},  {SDLK_TAB, Button::Tab},
    {SDLK_HOME, Button::Home},      {SDLK_END, Button::End},
    {SDLK_PAGEUP, Button::PageUp},  {SDLK_PAGEDOWN, Button::PageDown},
    {SDLK_INSERT, Button::Insert},
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

int KeyMap::buttonForKey(SDL_Keycode key) {
    for (const KeyBinding& binding : kKeys) {
        if (binding.key == key) return binding.button;
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
