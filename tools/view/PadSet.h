// The game pads plugged in while the viewer runs, through SDL's game
// controller interface. Each pad gets the lowest input index from 1 up that
// no other pad holds, and keeps it until it is pulled out; a pad plugged in
// later takes the freed index. So the first pad is input index 1, the
// index the engine's edit fields listen to and a DynamicIndexPointer knows
// as pad 1, and two pads are 1 and 2 however often they were replugged.
//
// The set also remembers which engine buttons each pad holds down, so a pad
// pulled out in the middle of a press can let go of them, and where its left
// stick points, so the stick presses a direction once as it leaves the
// centre and releases it as it comes back.
#pragma once

#include <SDL.h>

#include <vector>

namespace tarn {
namespace kova {
namespace view {

class PadSet {
public:
    // A stick counts as pushed beyond this much of its travel (of 32767),
    // and as back in the centre below half of it.
    static const int kStickPushed = 16384;

    PadSet() = default;
    ~PadSet();
    PadSet(const PadSet&) = delete;
    PadSet& operator=(const PadSet&) = delete;

    // Opens the pad SDL lists at deviceIndex; its input index, or 0 when it
    // cannot be opened or is open already.
    int open(int deviceIndex);
    // Closes a pad by its SDL instance; the engine buttons it still held.
    std::vector<int> close(SDL_JoystickID instance, int& inputIndex);
    void closeAll();

    // The input index of a pad, 0 for one that is not open.
    int inputIndex(SDL_JoystickID instance) const;
    int count() const { return static_cast<int>(pads_.size()); }

    // Notes a button going down or up; false when the pad is unknown or the
    // button already was in that state (nothing to tell the engine).
    bool hold(SDL_JoystickID instance, int button, bool down);
    // Moves the stick's position on one axis (0: x, 1: y) and gives the
    // direction buttons to release and to press (0 for none).
    void moveStick(SDL_JoystickID instance, int axis, int value, int& released, int& pressed);

private:
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID instance = -1;
        int inputIndex = 0;
        unsigned held = 0;      // bit b: engine button b is down
        int stick[2] = {0, 0};  // -1, 0 or 1 per axis
    };

    Pad* find(SDL_JoystickID instance);
    bool taken(int inputIndex) const;

    std::vector<Pad> pads_;
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
