#include "PadSet.h"

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace view {

PadSet::~PadSet() {
    closeAll();
}

int PadSet::open(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return 0;
    SDL_JoystickID instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (find(instance)) {
        SDL_GameControllerClose(controller);  // SDL counts opens; give this one back
        return 0;
    }
    Pad pad;
    pad.controller = controller;
    pad.instance = instance;
    pad.inputIndex = 1;
    while (taken(pad.inputIndex))
        ++pad.inputIndex;
    pads_.push_back(pad);
    return pad.inputIndex;
}

std::vector<int> PadSet::close(SDL_JoystickID instance, int& inputIndex) {
    std::vector<int> held;
    inputIndex = 0;
    for (std::size_t i = 0; i < pads_.size(); ++i) {
        if (pads_[i].instance != instance) continue;
        for (int button = 0; button < 32; ++button) {
            if (pads_[i].held & (1u << button)) held.push_back(button);
        }
        inputIndex = pads_[i].inputIndex;
        SDL_GameControllerClose(pads_[i].controller);
        pads_.erase(pads_.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
    return held;
}

void PadSet::closeAll() {
    for (Pad& pad : pads_)
        SDL_GameControllerClose(pad.controller);
    pads_.clear();
}

int PadSet::inputIndex(SDL_JoystickID instance) const {
    for (const Pad& pad : pads_) {
        if (pad.instance == instance) return pad.inputIndex;
    }
    return 0;
}

bool PadSet::hold(SDL_JoystickID instance, int button, bool down) {
    Pad* pad = find(instance);
    if (!pad || button <= 0 || button >= 32) return false;
    unsigned bit = 1u << button;
    if (((pad->held & bit) != 0) == down) return false;
    pad->held = down ? pad->held | bit : pad->held & ~bit;
    return true;
}

// The stick leaves the centre past kStickPushed and comes back below half
// of it, so a stick held near the edge does not flicker between the two.
void PadSet::moveStick(SDL_JoystickID instance, int axis, int value, int& released, int& pressed) {
    released = pressed = Button::NoButton;
    Pad* pad = find(instance);
    if (!pad || axis < 0 || axis > 1) return;
    int& side = pad->stick[axis];
    int now = side;
    if (value >= kStickPushed) {
        now = 1;
    } else if (value <= -kStickPushed) {
        now = -1;
    } else if (value < kStickPushed / 2 && value > -kStickPushed / 2) {
        now = 0;
    }
    if (now == side) return;
    static const int kDirections[2][2] = {{Button::Leftwards, Button::Rightwards},
                                          {Button::Upwards, Button::Downwards}};
    if (side != 0) released = kDirections[axis][side > 0];
    if (now != 0) pressed = kDirections[axis][now > 0];
    side = now;
    // Held like the pad's buttons, so pulling the pad out lets go of them.
    if (released && !hold(instance, released, false)) released = Button::NoButton;
    if (pressed && !hold(instance, pressed, true)) pressed = Button::NoButton;
}

bool PadSet::taken(int inputIndex) const {
    for (const Pad& pad : pads_) {
        if (pad.inputIndex == inputIndex) return true;
    }
    return false;
}

PadSet::Pad* PadSet::find(SDL_JoystickID instance) {
    for (Pad& pad : pads_) {
        if (pad.instance == instance) return &pad;
    }
    return nullptr;
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
