#include <new>

#include "kova/node.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(StackPathNode, PathNode)

bool StackPathNode::PathStack::insert(System&, PathStack*& top, NameNode* node) {
    if (!node || (top && top->node == node)) return true;
    void* memory = Memory::operator new(sizeof(PathStack));
    if (!memory) return false;
    PathStack* element = new (memory) PathStack();
    element->node = node;
    element->next = top;
    top = element;
    return true;
}

NameNode* StackPathNode::PathStack::remove(PathStack*& top) {
    if (!top) return nullptr;
    PathStack* element = top;
    NameNode* node = element->node;
    top = element->next;
    element->~PathStack();
    Memory::operator delete(element);
    return node;
}

void StackPathNode::PathStack::clear(PathStack*& top) {
    while (top)
        remove(top);
}

int StackPathNode::PathStack::count(PathStack* top) {
    int n = 0;
    for (; top; top = top->next)
        ++n;
    return n;
}

StackPathNode::~StackPathNode() {
    PathStack::clear(stack_);
}

// Going somewhere directly starts a new history.
bool StackPathNode::setPath(NameNode* node, float inTime, float outTime, float inWaitTime,
                            float outWaitTime, bool paintOutOverIn) {
    PathStack::clear(stack_);
    return PathNode::setPath(node, inTime, outTime, inWaitTime, outWaitTime, paintOutOverIn);
}

// The screen shown, or about to be shown, is remembered. When it cannot be
// remembered the push does not happen at all: the way back would be lost.
bool StackPathNode::insertPath(System& system, NameNode* node, float inTime, float outTime,
                               float inWaitTime, float outWaitTime, bool paintOutOverIn) {
    if (!PathStack::insert(system, stack_, getNodeIn())) return false;
    return PathNode::setPath(node, inTime, outTime, inWaitTime, outWaitTime, paintOutOverIn);
}

// Goes back count screens, or to the bottom of the stack when it holds fewer.
bool StackPathNode::removePath(float inTime, float outTime, float inWaitTime, float outWaitTime,
                               bool paintOutOverIn, int count) {
    int stacked = PathStack::count(stack_);
    int n = count < stacked ? count : stacked;
    if (n <= 0) return false;
    NameNode* node = nullptr;
    for (int i = 0; i < n; ++i)
        node = PathStack::remove(stack_);
    return PathNode::setPath(node, inTime, outTime, inWaitTime, outWaitTime, paintOutOverIn);
}

// A cleared path has no history; the stack never owned its screens.
bool StackPathNode::onClear(System& system, Stream& stream) {
    PathStack::clear(stack_);
    return PathNode::onClear(system, stream);
}

// Remembered screens are visited too, so replacing a registered screen never
// leaves the old one on the stack.
bool StackPathNode::onRegister(System& system, Stream& stream) {
    if (!PathNode::onRegister(system, stream)) return false;
    for (PathStack* element = stack_; element; element = element->next) {
        Node* node = element->node;
        element->node = nullptr;
        bool ok = stream.streamNode(system, node, "Stacked node", NameNode::absoluteClass());
        element->node = node && node->actualClass()->is(NameNode::absoluteClass())
                            ? static_cast<NameNode*>(node)
                            : nullptr;
        if (!ok) return false;
    }
    return true;
}

}  // namespace kova
}  // namespace tarn
