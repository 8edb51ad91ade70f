#include "InputRouter.h"

#include <vector>

#include "InputScript.h"
#include "KeyMap.h"

namespace tarn {
namespace kova {
namespace view {

InputRouter::Command InputRouter::route(const SDL_Event& event, host::ReferenceHost& host) {
    switch (event.type) {
        case SDL_QUIT:
            return Quit;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return key(event.key, host);
        case SDL_TEXTINPUT:
            text(event.text.text, host);
            break;
        case SDL_MOUSEMOTION:
            pointer(event.motion.x, event.motion.y, host);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            mouseButton(event.button, host);
            break;
        case SDL_MOUSEWHEEL:
            if (event.wheel.y != 0) {
                int button = event.wheel.y > 0 ? Button::ScrollUp : Button::ScrollDown;
                host.buttonPress(button, kKeyboardIndex, 1);
                host.buttonRelease(button, kKeyboardIndex);
            }
            break;
        case SDL_CONTROLLERDEVICEADDED:
            padAdded(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            padRemoved(event.cdevice.which, host);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            padButton(event.cbutton, host);
            break;
        case SDL_CONTROLLERAXISMOTION:
            padAxis(event.caxis, host);
            break;
        default:
            break;
    }
    return None;
}

InputRouter::Command InputRouter::key(const SDL_KeyboardEvent& event, System& system) {
    bool down = event.type == SDL_KEYDOWN;
    SDL_Keycode key = event.keysym.sym;
    if (down && event.repeat == 0) {
        if (key == SDLK_F1) return ToggleOverlay;
        if (key == SDLK_F5) return Reload;
        if (key == SDLK_q && (event.keysym.mod & KMOD_CTRL)) return Quit;
    }
    // A key held down repeats and lets go of the button it pressed, whatever
    // modifiers are held by then.
    auto pressed = held_.find(key);
    bool held = pressed != held_.end() && (!down || event.repeat);
    int button = held ? pressed->second : KeyMap::buttonForKey(key, event.keysym.mod);
    if (button == Button::NoButton) return None;
    if (!down) {
        if (pressed != held_.end()) held_.erase(pressed);
        repeats_[button] = 0;
        system.buttonRelease(button, kKeyboardIndex);
    } else {
        held_[key] = button;
        repeats_[button] = event.repeat ? repeats_[button] + 1 : 1;
        system.buttonPress(button, kKeyboardIndex, repeats_[button]);
    }
    return None;
}

void InputRouter::text(const char* utf8, System& system) {
    std::vector<int> characters;
    if (!host::InputScript::decodeUtf8(utf8, characters)) return;
    for (int character : characters) {
        system.unicodePress(character, kKeyboardIndex, 1);
        system.unicodeRelease(character, kKeyboardIndex);
    }
}

// The centre of the canvas pixel, in the engine's screen coordinates.
void InputRouter::pointer(int x, int y, host::ReferenceHost& host) {
    const Rectangle& screen = host.clipRect();
    float across = screen.width / static_cast<float>(host.canvas().width());
    float down = screen.height / static_cast<float>(host.canvas().height());
    host.pointerMove(screen.x + (static_cast<float>(x) + 0.5f) * across,
                     screen.y + (static_cast<float>(y) + 0.5f) * down);
}

void InputRouter::mouseButton(const SDL_MouseButtonEvent& event, host::ReferenceHost& host) {
    int button = event.button == SDL_BUTTON_LEFT    ? Button::Select
                 : event.button == SDL_BUTTON_RIGHT ? Button::Cancel
                 : event.button == SDL_BUTTON_X1    ? Button::Back
                                                    : Button::NoButton;
    if (button == Button::NoButton) return;
    pointer(event.x, event.y, host);
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        host.buttonPress(button, kKeyboardIndex, 1);
    } else {
        host.buttonRelease(button, kKeyboardIndex);
    }
}

void InputRouter::padAdded(int deviceIndex) {
    int index = pads_.open(deviceIndex);
    if (index == 0) return;
    const char* name = SDL_GameControllerNameForIndex(deviceIndex);
    log_.note("pad '" + std::string(name ? name : "?") + "' plugged in, input index " +
              std::to_string(index));
}

void InputRouter::padRemoved(SDL_JoystickID instance, System& system) {
    int index = 0;
    for (int button : pads_.close(instance, index))
        system.buttonRelease(button, index);
    if (index != 0) log_.note("pad of input index " + std::to_string(index) + " pulled out");
}

void InputRouter::padButton(const SDL_ControllerButtonEvent& event, System& system) {
    int button = KeyMap::buttonForPad(event.button);
    bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
    if (button == Button::NoButton || !pads_.hold(event.which, button, down)) return;
    int index = pads_.inputIndex(event.which);
    if (down) {
        system.buttonPress(button, index, 1);
    } else {
        system.buttonRelease(button, index);
    }
}

void InputRouter::padAxis(const SDL_ControllerAxisEvent& event, System& system) {
    if (event.axis != SDL_CONTROLLER_AXIS_LEFTX && event.axis != SDL_CONTROLLER_AXIS_LEFTY) return;
    int released = 0, pressed = 0;
    pads_.moveStick(event.which, event.axis == SDL_CONTROLLER_AXIS_LEFTX ? 0 : 1, event.value,
                    released, pressed);
    int index = pads_.inputIndex(event.which);
    if (released) system.buttonRelease(released, index);
    if (pressed) system.buttonPress(pressed, index, 1);
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
