// Resource names interned to the int handles the engine stores. The empty
// name is handle 0, so a handle nobody asked for still has a name, and a
// name always comes back as the same handle.
#pragma once

#include <deque>
#include <map>
#include <string>

namespace tarn {
namespace kova {
namespace host {

class NameTable {
public:
    NameTable() { names_.push_back(""); }

    // The handle of a name (null counts as empty), and whether it is new.
    int handle(const char* name, bool* added = nullptr);
    // The name of a handle; null for a handle that was never given out.
    const char* name(int handle) const;
    int size() const { return static_cast<int>(names_.size()); }

private:
    std::deque<std::string> names_;  // a deque keeps the texts in place
    std::map<std::string, int> handles_{{"", 0}};
};

}  // namespace host
}  // namespace kova
}  // namespace tarn
