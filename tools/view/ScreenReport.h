// What the overlay tells about the running screens, as lines of text:
//   frame 16.7 ms  update 0.21 ms  paint 5.30 ms
//   nodes 412  objects 1904
//   path Menus/Path: Screens/Title > Screens/Options
//   focus TabstopNode at -110,96 220x40  pointer 0,116
//   classes TransformNode 120  TextNode 40  ...  and 31 more classes
//   error Screens/Title.txt:12:5: expected ...
//   the last lines of the log
// Counts are the live instances of the class chain: every object the
// engine holds, whatever holds it. The focused tab stop is the deepest tab
// stop on the focused path with the pointer over it, as the engine's
// tab-stop managers place the pointer.
#pragma once

#include <string>
#include <vector>

#include "ViewLog.h"
#include "kova/kova.h"

namespace tarn {
namespace kova {
namespace view {

// Milliseconds of the last frame: the time it advanced the screens by (in a
// live run, the time since the frame before), its update, its paint.
struct FrameTimes {
    double frame = 0.0;
    double update = 0.0;
    double paint = 0.0;
};

class ScreenReport {
public:
    // How many of the log's last lines are shown, and of the classes.
    static const std::size_t kLogLines = 6;
    static const std::size_t kClasses = 12;

    // The lines for system now; none longer than columns characters (long
    // ones are wrapped).
    static std::vector<std::string> lines(System& system, const FrameTimes& times,
                                          const std::string& error, const ViewLog& log,
                                          int columns);

    // "TabstopNode at X,Y WxH", or "none".
    static std::string focus(System& system);
    // The classes with the most live instances and their counts, the most
    // first, and how many other classes have live instances.
    static std::string classCounts();
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
