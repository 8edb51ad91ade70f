// The viewer's log: the last lines of the engine's and the hosts' logs and
// the viewer's own notes ("KovaView: ..."), for the overlay. All but the
// engine's routine lines can also go to a terminal as they come.
#pragma once

#include <cstdio>
#include <deque>
#include <string>

namespace tarn {
namespace kova {
namespace view {

class ViewLog {
public:
    // How many lines are kept; older ones are dropped.
    static const std::size_t kKept = 200;

    // echo, when not null, receives the engine's errors and warnings, and
    // every line of the host's and the viewer's own.
    explicit ViewLog(std::FILE* echo = nullptr) : echo_(echo) {}

    void add(const std::string& line);
    // A note of the viewer's own: "KovaView: " and the text.
    void note(const std::string& text) { add("KovaView: " + text); }

    const std::deque<std::string>& lines() const { return lines_; }

private:
    std::FILE* echo_;
    std::deque<std::string> lines_;
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
