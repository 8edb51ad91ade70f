// Notices that files changed, by asking for their modification times and
// sizes when told to (once every few frames): no threads, no notifications
// from the system. A file that appears or disappears counts as changed.
#pragma once

#include <string>
#include <vector>

namespace tarn {
namespace kova {
namespace view {

class SourceWatcher {
public:
    // Watches path from its state now on; watching it again does nothing.
    void watch(const std::string& path);
    void clear() { files_.clear(); }
    std::size_t size() const { return files_.size(); }

    // True when a watched file changed since it was watched or last
    // checked; each change is reported once.
    bool changed();

private:
    struct State {
        bool exists = false;
        long long time = 0;  // nanoseconds
        long long size = 0;
        bool operator==(const State& other) const {
            return exists == other.exists && time == other.time && size == other.size;
        }
    };
    struct File {
        std::string path;
        State state;
    };

    static State stateOf(const std::string& path);

    std::vector<File> files_;
};

}  // namespace view
}  // namespace kova
}  // namespace tarn
