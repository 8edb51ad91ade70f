// Input for a run without a person: a script of one command per line,
// replayed against the frame clock. Commands, with INDEX the input index of
// the device or player (optional, 0 when left out):
//
//   press BUTTON [INDEX]     a button goes down; BUTTON is the engine's name
//   release BUTTON [INDEX]   for it (Button::buttonName), quoted when it
//                            holds spaces: Select, Downwards, "Scroll up"
//   type "TEXT" [INDEX]      each character of the UTF-8 text is pressed and
//                            released (escapes \" \\ \n \t)
//   move X Y                 the pointer moves to the screen position X, Y
//                            (the engine's coordinates: origin at the centre
//                            of the screen, y down)
//   wait SECONDS             later commands happen that much later
//   reload                   the screens are reloaded from their sources
//                            (kova view acts on it; other runners pass
//                            over it)
//
// "#" starts a comment that runs to the end of the line. Commands before
// the first wait happen at time 0. A line that cannot be read fails the
// whole script with "FILE:LINE: expected ...".
#pragma once

#include <string>
#include <vector>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace host {

struct InputCommand {
    enum Kind { Press, Release, Character, Move, Reload };
    Kind kind = Press;
    double time = 0.0;  // seconds from the start of the run
    int code = 0;       // the button or the character
    int inputIndex = 0;
    float x = 0.0f, y = 0.0f;  // Move
    int line = 0;              // where the script says it
};

class InputScript {
public:
    // Reads a script; on failure error is "FILE:LINE: expected ..." and the
    // script is left empty.
    bool parse(const std::string& text, const std::string& fileName, std::string& error);
    bool load(const std::string& path, std::string& error);

    const std::vector<InputCommand>& commands() const { return commands_; }
    // The time of the last command, and of the waits after it.
    double duration() const { return duration_; }

    // Gives one command to the engine (a character is pressed and released;
    // a reload is not the engine's to do, and is passed over).
    static void send(System& system, const InputCommand& command);
    // The code points of UTF-8 text; false for bytes that are not UTF-8.
    static bool decodeUtf8(const std::string& text, std::vector<int>& characters);

private:
    bool parseLine(const std::string& line, int number, double& time, std::string& problem);

    std::vector<InputCommand> commands_;
    double duration_ = 0.0;
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
