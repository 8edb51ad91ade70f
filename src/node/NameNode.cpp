#include "kova/node.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(NameNode, Node)

NameNode::NameNode(const char* name) {
    setName(name);
}

NameNode::~NameNode() {
    Memory::stringDelete(name_);
}

// A name that cannot be copied leaves the old one in place.
bool NameNode::setName(const char* name) {
    char* copy = Memory::stringDuplicate(name);
    if (name && !copy) return false;
    Memory::stringDelete(name_);
    name_ = copy;
    return true;
}

}  // namespace kova
}  // namespace tarn
