#include "ViewLog.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

}  // namespace

// The engine's own lines are echoed when they are errors or warnings; its
// routine ones ("Kova: Loading: ...", "Kova: Info: ...") are not.
void ViewLog::add(const std::string& line) {
    lines_.push_back(line);
    while (lines_.size() > kKept)
        lines_.pop_front();
    bool routine = startsWith(line, "Kova: ") && !startsWith(line, "Kova: Error") &&
                   !startsWith(line, "Kova: Warning");
    if (echo_ && !routine) std::fprintf(echo_, "%s\n", line.c_str());
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
