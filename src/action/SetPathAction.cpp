#include "kova/action.h"
#include "kova/stream.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(SetPathAction, Action)
KOVA_IMPLEMENT_CLASS(PushPathAction, SetPathAction)
KOVA_IMPLEMENT_CLASS(PopPathAction, SetPathAction)

SetPathAction::SetPathAction(PathNode* pathNode, NameNode* destination)
    : pathNode_(pathNode), destination_(destination) {}

void SetPathAction::setTimes(float in, float out, float inWait, float outWait) {
    inTime_ = in;
    outTime_ = out;
    inWaitTime_ = inWait;
    outWaitTime_ = outWait;
}

PathNode* SetPathAction::pathOfClass(RuntimeClass* cls) {
    if (!pathNode_ || !pathNode_->actualClass()->is(cls)) return nullptr;
    return static_cast<PathNode*>(pathNode_);
}

NameNode* SetPathAction::destinationScreen() {
    if (!destination_ || !destination_->actualClass()->is(NameNode::absoluteClass())) {
        return nullptr;
    }
    return static_cast<NameNode*>(destination_);
}

bool SetPathAction::streamTimes(Stream& stream) {
    return stream.streamFloat(inTime_, "In time") && stream.streamFloat(outTime_, "Out time") &&
           stream.streamFloat(inWaitTime_, "In wait time") &&
           stream.streamFloat(outWaitTime_, "Out wait time") &&
           stream.streamBool(paintOutOverIn_, "Paint outnode over innode");
}

bool SetPathAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    if (PathNode* path = pathOfClass(PathNode::absoluteClass())) {
        path->setPath(destinationScreen(), inTime_, outTime_, inWaitTime_, outWaitTime_,
                      paintOutOverIn_);
    }
    return false;
}

bool SetPathAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamNode(system, pathNode_, "Path node", PathNode::absoluteClass()) &&
           stream.streamNode(system, destination_, "Destination node", NameNode::absoluteClass()) &&
           streamTimes(stream);
}

PushPathAction::PushPathAction(StackPathNode* pathNode, NameNode* destination)
    : SetPathAction(pathNode, destination) {}

bool PushPathAction::onEvent(System& system, Rectangle&, Mode&, EventData&) {
    if (PathNode* path = pathOfClass(StackPathNode::absoluteClass())) {
        static_cast<StackPathNode*>(path)->insertPath(system, destinationScreen(), inTime_,
                                                      outTime_, inWaitTime_, outWaitTime_,
                                                      paintOutOverIn_);
    }
    return false;
}

bool PushPathAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamNode(system, pathNode_, "Stack path node",
                             StackPathNode::absoluteClass()) &&
           stream.streamNode(system, destination_, "Destination node", NameNode::absoluteClass()) &&
           streamTimes(stream);
}

PopPathAction::PopPathAction(StackPathNode* pathNode) : SetPathAction(pathNode, nullptr) {}

bool PopPathAction::onEvent(System&, Rectangle&, Mode&, EventData&) {
    if (PathNode* path = pathOfClass(StackPathNode::absoluteClass())) {
        static_cast<StackPathNode*>(path)->removePath(inTime_, outTime_, inWaitTime_, outWaitTime_,
                                                      paintOutOverIn_, 1);
    }
    return false;
}

bool PopPathAction::onStream(System& system, Stream& stream) {
    return Action::onStream(system, stream) &&
           stream.streamNode(system, pathNode_, "Stack path node",
                             StackPathNode::absoluteClass()) &&
           streamTimes(stream);
}

}  // namespace kova
}  // namespace tarn
