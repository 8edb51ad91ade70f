// Kova actions: what screens do in response to events, and the action nodes
// that place actions in the node tree and decide when they run.
#pragma once

#include "kova/container.h"
#include "kova/event.h"
#include "kova/geometry.h"
#include "kova/node.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Data;
class Function;

// Base of actions: a persisted piece of behaviour run with one event record.
// The result true means the action consumed the event.
class KOVA_API Action : public Object {
    KOVA_RUNTIME_CLASS(Action)
public:
    Action() = default;

    virtual bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data);

    // Runs action when there is one; a missing action does nothing and
    // consumes nothing.
    static bool run(System& system, Action* action, Rectangle& rect, Mode& mode, EventData& data);
};

// Runs its actions in order until one consumes the event.
class KOVA_API ActionListAction : public Action {
    KOVA_RUNTIME_CLASS(ActionListAction)
public:
    ActionListAction();

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    ObjectList& actionList() { return actionList_; }

private:
    ObjectList actionList_;
};

// Runs both of its actions; consumes when either did.
class KOVA_API SplitAction : public Action {
    KOVA_RUNTIME_CLASS(SplitAction)
public:
    SplitAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Action*& action1() { return action1_; }
    Action*& action2() { return action2_; }

private:
    Action* action1_ = nullptr;
    Action* action2_ = nullptr;
};

// Asks the host to play a sound at full volume. A sound never consumes.
class KOVA_API SoundAction : public Action {
    KOVA_RUNTIME_CLASS(SoundAction)
public:
    explicit SoundAction(int sound = 0) : sound_(sound) {}

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    int sound() const { return sound_; }
    void setSound(int sound) { sound_ = sound; }

protected:
    // The host's handle; 0 is no sound.
    int sound_;
};

// A sound at a volume from 0 (silent) to 1 (full).
class KOVA_API VolumedSoundAction : public SoundAction {
    KOVA_RUNTIME_CLASS(VolumedSoundAction)
public:
    explicit VolumedSoundAction(int sound = 0, float volume = 1.0f)
        : SoundAction(sound), volume_(volume) {}

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    float volume() const { return volume_; }
    void setVolume(float volume) { volume_ = volume; }

private:
    float volume_;
};

// Calls a function; the call never consumes the event.
class KOVA_API CallFunctionAction : public Action {
    KOVA_RUNTIME_CLASS(CallFunctionAction)
public:
    CallFunctionAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Function*& function() { return function_; }

protected:
    Function* function_ = nullptr;
};

// Calls a function and leaves its outcome in a variable: 1.0 for true, 0.0
// for false.
class KOVA_API CallFunctionVariableAction : public CallFunctionAction {
    KOVA_RUNTIME_CLASS(CallFunctionVariableAction)
public:
    CallFunctionVariableAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& resultData() { return resultData_; }

private:
    Data* resultData_ = nullptr;
};

// ---- Path actions -------------------------------------------------------------
// Switch the screen of a path node. None of them consumes the event.

// Tells a path node to show the destination (a null or non-screen
// destination empties it) with the given times in seconds.
class KOVA_API SetPathAction : public Action {
    KOVA_RUNTIME_CLASS(SetPathAction)
public:
    SetPathAction() : SetPathAction(nullptr, nullptr) {}
    SetPathAction(PathNode* pathNode, NameNode* destination);

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    void setTimes(float in, float out, float inWait, float outWait);
    void setPaintOutOverIn(bool paintOutOverIn) { paintOutOverIn_ = paintOutOverIn; }

    Node*& pathNode() { return pathNode_; }
    Node*& destination() { return destination_; }
    float inTime() const { return inTime_; }
    float outTime() const { return outTime_; }
    float inWaitTime() const { return inWaitTime_; }
    float outWaitTime() const { return outWaitTime_; }
    bool paintOutOverIn() const { return paintOutOverIn_; }

protected:
    // The path node when it is of the class, else null.
    PathNode* pathOfClass(RuntimeClass* cls);
    NameNode* destinationScreen();
    bool streamTimes(Stream& stream);

    Node* pathNode_;
    Node* destination_;
    float inTime_ = 1.0f;
    float outTime_ = 1.0f;
    float inWaitTime_ = 0.0f;
    float outWaitTime_ = 0.0f;
    bool paintOutOverIn_ = false;
};

// Shows the destination on a stack path node, remembering the screen it
// replaces.
class KOVA_API PushPathAction : public SetPathAction {
    KOVA_RUNTIME_CLASS(PushPathAction)
public:
    PushPathAction() : SetPathAction(nullptr, nullptr) {}
    PushPathAction(StackPathNode* pathNode, NameNode* destination);

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;
};

// Goes back one screen on a stack path node; the destination is not used.
class KOVA_API PopPathAction : public SetPathAction {
    KOVA_RUNTIME_CLASS(PopPathAction)
public:
    PopPathAction() : SetPathAction(nullptr, nullptr) {}
    explicit PopPathAction(StackPathNode* pathNode);

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;
};

// ---- Action nodes -----------------------------------------------------------

// Places an action in the node tree. It takes every event delivered to the
// node in place of the node's handlers, gives itself one "Update" event per
// frame, and reports the action's result as its own.
class KOVA_API ActionNode : public Node {
    KOVA_RUNTIME_CLASS(ActionNode)
public:
    ActionNode() = default;

    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    bool onStream(System& system, Stream& stream) override;

    Action*& action() { return action_; }

protected:
    bool runAction(System& system, Rectangle& rect, Mode& mode, EventData& data) {
        return Action::run(system, action_, rect, mode, data);
    }
    // The timeout step of the timed nodes: adds the frame's time and, once
    // the timeout is reached, runs the action with an empty record and starts
    // again from 0 (the overshoot of the frame that fired is dropped).
    void advanceTimeout(System& system, Rectangle& rect, Mode& mode, float elapsed,
                        float& elapsedTime, float timeoutTime);

    Action* action_ = nullptr;
};

// Runs for events that match: the action while the variable is not 0 (or
// when there is none), the else action while it is 0.
class KOVA_API IfElseEventActionNode : public ActionNode {
    KOVA_RUNTIME_CLASS(IfElseEventActionNode)
public:
    IfElseEventActionNode() = default;

    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& variable() { return variable_; }
    Action*& elseAction() { return elseAction_; }
    Event*& event() { return event_; }

private:
    Data* variable_ = nullptr;
    Action* elseAction_ = nullptr;
    Event* event_ = nullptr;
};

// Runs its action every timeout time seconds of elapsed update time, with a
// "No event" record; events never reach the action.
class KOVA_API TimeoutActionNode : public ActionNode {
    KOVA_RUNTIME_CLASS(TimeoutActionNode)
public:
    TimeoutActionNode() = default;

    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    bool onStream(System& system, Stream& stream) override;

    float elapsedTime() const { return elapsedTime_; }
    float timeoutTime() const { return timeoutTime_; }
    void setTimeoutTime(float seconds) { timeoutTime_ = seconds; }

private:
    float elapsedTime_ = 0.0f;
    float timeoutTime_ = 30.0f;
};

// Read from old files only: runs for one event type and one first parameter.
// CullEventActionNode replaces it.
class KOVA_API CullActionNode : public ActionNode {
    KOVA_RUNTIME_CLASS(CullActionNode)
public:
    CullActionNode() = default;

    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;
    bool onLoad(System& system, IStream& stream) override;

    int eventType() const { return eventType_; }
    int eventData() const { return eventData_; }
    void setEventType(int type) { eventType_ = static_cast<unsigned char>(type); }
    void setEventData(int value) { eventData_ = value; }

private:
    unsigned char eventType_ = 1;
    int eventData_ = 1;
};

// Runs its action for events that match.
class KOVA_API CullEventActionNode : public ActionNode {
    KOVA_RUNTIME_CLASS(CullEventActionNode)
public:
    CullEventActionNode() = default;

    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Event*& event() { return event_; }

protected:
    Event* event_ = nullptr;
};

// Runs its action while the variable is not 0 (or when there is none).
class KOVA_API CullVariableActionNode : public ActionNode {
    KOVA_RUNTIME_CLASS(CullVariableActionNode)
public:
    CullVariableActionNode() = default;

    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& variable() { return variable_; }

private:
    Data* variable_ = nullptr;
};

// Runs its action for events that match while the variable is not 0 (or
// when there is none).
class KOVA_API CullVariableAndEventActionNode : public ActionNode {
    KOVA_RUNTIME_CLASS(CullVariableAndEventActionNode)
public:
    CullVariableAndEventActionNode() = default;

    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& variable() { return variable_; }
    Event*& event() { return event_; }

private:
    Data* variable_ = nullptr;
    Event* event_ = nullptr;
};

// Runs its action, with a "No event" record, after timeout time seconds
// without a matching event. Matching events only restart the wait.
class KOVA_API CullEventTimeoutActionNode : public CullEventActionNode {
    KOVA_RUNTIME_CLASS(CullEventTimeoutActionNode)
public:
    CullEventTimeoutActionNode() = default;

    using Node::onEvent;
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    bool onStream(System& system, Stream& stream) override;

    float elapsedTime() const { return elapsedTime_; }
    float timeoutTime() const { return timeoutTime_; }
    void setTimeoutTime(float seconds) { timeoutTime_ = seconds; }

private:
    float elapsedTime_ = 0.0f;
    float timeoutTime_ = 30.0f;
};

// ---- Variable actions -------------------------------------------------------

// Actions that write data objects. None of them consumes an event, and each
// does nothing while a reference it needs is missing.

// Writes data's number into the variable.
class KOVA_API SetVariableAction : public Action {
    KOVA_RUNTIME_CLASS(SetVariableAction)
public:
    SetVariableAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& variable() { return variable_; }
    Data*& data() { return data_; }

protected:
    Data* variable_ = nullptr;
    Data* data_ = nullptr;
};

// Writes data's number into one element of the variable, chosen by the
// index data's value truncated to a whole number.
class KOVA_API SetVariableArrayAction : public SetVariableAction {
    KOVA_RUNTIME_CLASS(SetVariableArrayAction)
public:
    SetVariableArrayAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& index() { return index_; }

private:
    Data* index_ = nullptr;
};

// Writes data's text into the variable; texts longer than TextSize - 1
// characters are cut.
class KOVA_API SetStringAction : public Action {
    KOVA_RUNTIME_CLASS(SetStringAction)
public:
    enum { TextSize = 1024 };

    SetStringAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& variable() { return variable_; }
    Data*& data() { return data_; }

private:
    Data* variable_ = nullptr;
    Data* data_ = nullptr;
};

// Writes 1 while the variable reads 0, and 0 otherwise.
class KOVA_API ToggleVariableAction : public Action {
    KOVA_RUNTIME_CLASS(ToggleVariableAction)
public:
    ToggleVariableAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& variable() { return variable_; }

private:
    Data* variable_ = nullptr;
};

// Adds the modify value to the variable. The limit caps the result in the
// direction of the step, also when the value was already past it.
class KOVA_API ModifyVariableAction : public Action {
    KOVA_RUNTIME_CLASS(ModifyVariableAction)
public:
    ModifyVariableAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& variable() { return variable_; }
    float modifyValue() const { return modifyValue_; }
    float limitValue() const { return limitValue_; }
    void setModifyValue(float value) { modifyValue_ = value; }
    void setLimitValue(float value) { limitValue_ = value; }

private:
    Data* variable_ = nullptr;
    float modifyValue_ = 0.0f;
    float limitValue_ = 0.0f;
};

// Glides the variable towards data's value at speed units per second, one
// step per "Update" record; other records are ignored. The variable is read
// afresh every frame, so the glide goes on from wherever others put it.
class KOVA_API SetVariableSoftAction : public SetVariableAction {
    KOVA_RUNTIME_CLASS(SetVariableSoftAction)
public:
    SetVariableSoftAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    float speed() const { return speed_; }
    void setSpeed(float speed) { speed_ = speed; }

protected:
    // Reads the variable and the target; false when a reference is missing
    // or the two are equal (or not comparable), so there is nothing to move.
    bool glideFrom(System& system, float& current, float& target);
    // Moves current by step towards target without passing it, and writes it.
    void glideStep(System& system, float current, float target, float step);

    float speed_ = 100.0f;
};

// A glide that slows down within the braking distance of the target, easing
// in on it; a braking distance of 0 never brakes.
class KOVA_API SetVariableSineAction : public SetVariableSoftAction {
    KOVA_RUNTIME_CLASS(SetVariableSineAction)
public:
    SetVariableSineAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    float brakingDistance() const { return brakingDistance_; }
    void setBrakingDistance(float distance) { brakingDistance_ = distance; }

private:
    float brakingDistance_ = 0.0f;
};

// The old name of SetVariableSineAction; it warns whenever one is made.
class KOVA_API SetVariableSinusAction : public SetVariableSineAction {
    KOVA_RUNTIME_CLASS(SetVariableSinusAction)
public:
    SetVariableSinusAction() = default;

    bool onCreate(System& system) override;
    bool onLoad(System& system, IStream& stream) override;
    using SetVariableSineAction::onCreate;
};

// ---- Player input actions ---------------------------------------------------

// Starts a fresh player assignment on a DynamicIndexPointer: pads become
// players in the order they are first pressed. With any other pointer it
// does nothing. It never consumes an event.
class KOVA_API LockPointerAction : public Action {
    KOVA_RUNTIME_CLASS(LockPointerAction)
public:
    LockPointerAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& inputIndexData() { return inputIndexData_; }

private:
    // Kept with the object file only; locking does not read it.
    Data* inputIndexData_ = nullptr;
};

// Returns a DynamicIndexPointer to the unlocked mode, in which every pad acts
// as player 1. With any other pointer it does nothing. It never consumes.
class KOVA_API UnlockPointerAction : public Action {
    KOVA_RUNTIME_CLASS(UnlockPointerAction)
public:
    UnlockPointerAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// ---- Navigation, focus and event actions -----------------------------------
// They move the user's position rather than change values: through a
// navigate tree, between tab stops, or by locking the focus. Apart from
// RemoveEventAction none of them consumes an event.

class NavigateTree;
class Tree;

// Base of the actions that move through a navigate tree; it does nothing
// itself. The tree is usually a named one, shared with the views that show
// it; any other tree class in the slot leaves every variant idle.
class KOVA_API NavigateAction : public Action {
    KOVA_RUNTIME_CLASS(NavigateAction)
public:
    NavigateAction() = default;

    bool onStream(System& system, Stream& stream) override;

    Tree*& actionTree() { return actionTree_; }

protected:
    // The tree when it is a navigate tree, else null.
    NavigateTree* navigateTree();

    Tree* actionTree_ = nullptr;
};

// Makes the next item of the level current.
class KOVA_API NavigateNextSiblingAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateNextSiblingAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Makes the previous item of the level current.
class KOVA_API NavigatePreviousSiblingAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigatePreviousSiblingAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Moves the cursor up one level.
class KOVA_API NavigateParentAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateParentAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Moves the cursor into its current item.
class KOVA_API NavigateChildAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateChildAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Makes the first item of the level current.
class KOVA_API NavigateFirstSiblingAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateFirstSiblingAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Makes the last item of the level current.
class KOVA_API NavigateLastSiblingAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateLastSiblingAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Makes the item at index (from the first of the level) current.
class KOVA_API NavigateSiblingIndexAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateSiblingIndexAction)
public:
    NavigateSiblingIndexAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    int& index() { return index_; }

private:
    int index_ = 0;
};

// Runs the action of the cursor's item.
class KOVA_API NavigateRunAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateRunAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Runs the action of the cursor's item, then moves the cursor into it.
class KOVA_API NavigateRunAndChildAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateRunAndChildAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Moves the cursor into its current item and, when it moved, runs that
// item's action.
class KOVA_API NavigateChildAndRunAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateChildAndRunAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Moves the cursor up one level and, when it moved, runs that item's action.
class KOVA_API NavigateParentAndRunAction : public NavigateAction {
    KOVA_RUNTIME_CLASS(NavigateParentAndRunAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Moves the pointer, and with it the focus, to (x, y); a missing variable
// keeps that coordinate of the pointer.
class KOVA_API SetFocusAction : public Action {
    KOVA_RUNTIME_CLASS(SetFocusAction)
public:
    SetFocusAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& x() { return x_; }
    Data*& y() { return y_; }

private:
    Data* x_ = nullptr;
    Data* y_ = nullptr;
};

// Adds one to the focus lock on the first press of a button or key.
class KOVA_API LockFocusAction : public Action {
    KOVA_RUNTIME_CLASS(LockFocusAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Takes one from the focus lock on every record it receives, so screens put
// it behind a gate that admits only the matching event.
class KOVA_API UnlockFocusAction : public Action {
    KOVA_RUNTIME_CLASS(UnlockFocusAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Moves the pointer to the tab stop whose number in walk order (disabled ones
// counted) is the index variable's value; 0 without a variable.
class KOVA_API SetTabstopAction : public Action {
    KOVA_RUNTIME_CLASS(SetTabstopAction)
public:
    SetTabstopAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& tabstopIndex() { return tabstopIndex_; }

private:
    Data* tabstopIndex_ = nullptr;
};

// Swallows the event: input routing offers it to no further node.
class KOVA_API RemoveEventAction : public Action {
    KOVA_RUNTIME_CLASS(RemoveEventAction)
public:
    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
};

// Writes which input device acted last into a variable, counted from 0
// (input index 1 is stored as 0). Records without an input index leave it.
class KOVA_API LastInputIndexAction : public Action {
    KOVA_RUNTIME_CLASS(LastInputIndexAction)
public:
    LastInputIndexAction() = default;

    bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& lastInputIndex() { return lastInputIndex_; }

private:
    Data* lastInputIndex_ = nullptr;
};

}  // namespace kova
}  // namespace tarn
