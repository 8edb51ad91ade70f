#include "SourceWatcher.h"

#include <sys/stat.h>

namespace tarn {
namespace kova {
namespace view {

void SourceWatcher::watch(const std::string& path) {
    for (const File& file : files_) {
        if (file.path == path) return;
    }
    files_.push_back(File{path, stateOf(path)});
}

bool SourceWatcher::changed() {
    bool any = false;
    for (File& file : files_) {
        State now = stateOf(file.path);
        if (now == file.state) continue;
        file.state = now;
        any = true;
    }
    return any;
}

SourceWatcher::State SourceWatcher::stateOf(const std::string& path) {
    State state;
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return state;
    state.exists = true;
    state.time = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    state.size = static_cast<long long>(info.st_size);
    return state;
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
