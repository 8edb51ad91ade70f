#include "NameTable.h"

namespace tarn {
namespace kova {
namespace host {

int NameTable::handle(const char* name, bool* added) {
    std::string text = name ? name : "";
    auto found = handles_.find(text);
    if (added) *added = found == handles_.end();
    if (found != handles_.end()) return found->second;
    int handle = static_cast<int>(names_.size());
    names_.push_back(text);
    handles_[text] = handle;
    return handle;
}

const char* NameTable::name(int handle) const {
    if (handle < 0 || handle >= size()) return nullptr;
    return names_[static_cast<std::size_t>(handle)].c_str();
}

}  // namespace host
}  // namespace kova
}  // namespace tarn
