// Carries the screens that path nodes show from one load of the screens to
// the next: a named path node of the new load shows the screen that the node
// of the same name showed (or was switching to), with the same stack of
// earlier screens behind it, so Cancel still goes back the way it came. The
// screens are found by their full names in the new load. The switch happens
// at the next update without transitions, so the author sees the screen at
// once instead of its entrance.
#pragma once

#include <string>
#include <vector>

#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace view {

class PathCarrier {
public:
    // The screens a path node shows, by full name: its stack from the
    // bottom, then the screen shown or coming in. Screens without a name
    // are "?".
    static std::vector<std::string> screens(System& system, PathNode& node);

    // Every named path node of from, carried into to; what could not be
    // carried is added to notes.
    static void carry(System& from, System& to, std::vector<std::string>& notes);

private:
    static bool show(System& system, PathNode& node, const std::vector<std::string>& screens,
                     std::string& missing);
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
