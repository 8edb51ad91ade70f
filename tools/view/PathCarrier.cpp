#include "PathCarrier.h"

#include <algorithm>

#include "NamedObjects.h"

namespace tarn {
namespace kova {
namespace view {

namespace {

std::string fullNameOf(System& system, Node* node) {
    char fullName[256];
    if (!node || !system.copyObjectFullName(node, fullName, sizeof(fullName))) return "?";
    return fullName;
}

NameNode* asScreen(Object* object) {
    if (!object || !object->actualClass()->is(NameNode::absoluteClass())) return nullptr;
    return static_cast<NameNode*>(object);
}

}  // namespace

std::vector<std::string> PathCarrier::screens(System& system, PathNode& node) {
    std::vector<std::string> names;
    if (node.actualClass()->is(StackPathNode::absoluteClass())) {
        StackPathNode& stacked = static_cast<StackPathNode&>(node);
        for (StackPathNode::PathStack* at = stacked.stack(); at; at = at->next)
            names.push_back(fullNameOf(system, at->node));
        std::reverse(names.begin(), names.end());
    }
    if (node.getNodeIn()) names.push_back(fullNameOf(system, node.getNodeIn()));
    return names;
}

void PathCarrier::carry(System& from, System& to, std::vector<std::string>& notes) {
    for (const NamedObject& named : namedObjects(from)) {
        if (!named.object->actualClass()->is(PathNode::absoluteClass())) continue;
        std::vector<std::string> shown = screens(from, static_cast<PathNode&>(*named.object));
        if (shown.empty()) continue;
        Object* target = to.findNamedObject(named.fullName.c_str());
        std::string missing;
        if (!target || target->actualClass() != named.object->actualClass()) {
            notes.push_back("the path node '" + named.fullName +
                            "' is gone; its screens are not kept");
        } else if (!show(to, static_cast<PathNode&>(*target), shown, missing)) {
            notes.push_back("the screen '" + missing + "' of the path node '" + named.fullName +
                            "' is gone; the path stops before it");
        }
    }
}

// The node first drops any switch its load started (a screen's "show the
// title" action, say) by going back to what it shows, so the screens below
// are taken with the times given here and not ignored as the target already.
bool PathCarrier::show(System& system, PathNode& node, const std::vector<std::string>& screens,
                       std::string& missing) {
    bool stacked = node.actualClass()->is(StackPathNode::absoluteClass());
    std::vector<NameNode*> found;
    for (const std::string& name : screens) {
        NameNode* screen = asScreen(system.findNamedObject(name.c_str()));
        if (!screen) {
            missing = name;
            break;
        }
        found.push_back(screen);
    }
    if (found.empty()) return false;
    node.setPath(asScreen(node.path()), 0.0f, 0.0f, 0.0f, 0.0f, false);
    node.setPath(found[0], 0.0f, 0.0f, 0.0f, 0.0f, false);
    for (std::size_t i = 1; i < found.size() && stacked; ++i) {
        static_cast<StackPathNode&>(node).insertPath(system, found[i], 0.0f, 0.0f, 0.0f, 0.0f,
                                                     false);
    }
    return missing.empty();
}

}  // namespace view
}  // namespace kova
}  // namespace tarn
