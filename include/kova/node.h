// Kova node tree, modes and input routing.
#pragma once

#include "kova/container.h"
#include "kova/event.h"
#include "kova/geometry.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Iterator;
class Node;

// The interaction state of a region: a target level with the pointer-inside
// flag and a current level with the focus flag. Each field stores its flag in
// the sign: v >= 0 is level v with the flag clear, v < 0 is level -(v + 1)
// with the flag set. Levels: 0 disabled, 1 normal, 2 focused, 3 pressed,
// 4 sticky.
class KOVA_API Mode {
public:
    Mode(float targetLevel = 1.0f, float currentLevel = 1.0f, bool inside = false);

    void set(Mode& other) { *this = other; }
    bool setFocus(System& system, bool focus);
    bool isLockedFocus(System& system);
    float paintDirection(System& system, Node* node);

    void update(System& system, Node* speedNode, Node* subtree, Rectangle& rect, float elapsed,
                bool inside, bool enabled);
    void update(System& system, Node* speedNode, Node* subtree, Rectangle& rect, float elapsed,
                bool inside, bool enabled, float level);

    float targetLevel() const { return levelOf(target_); }
    float currentLevel() const { return levelOf(current_); }
    bool isInside() const { return target_ < 0.0f; }
    bool hasFocus() const { return current_ < 0.0f; }
    void setTargetLevel(float level) { target_ = encode(level, isInside()); }
    void setCurrentLevel(float level) { current_ = encode(level, hasFocus()); }
    void setInside(bool inside) { target_ = encode(targetLevel(), inside); }

    // The stored floats, flags included.
    float storedTarget() const { return target_; }
    float storedCurrent() const { return current_; }

    // -1 - stored rather than -(stored + 1), so level 0 reads +0, never -0.
    static float levelOf(float stored) { return stored < 0.0f ? -1.0f - stored : stored; }
    static float encode(float level, bool flag) { return flag ? -(level + 1.0f) : level; }

private:
    void animate(float elapsed);
    void disable(System& system, Node* subtree, Rectangle& rect, bool inside);
    void send(System& system, Node* subtree, Rectangle& rect, int type);
    static bool pointerMoved(System& system);

    float target_;
    float current_;
};

// Guards the recursive node walks. A damaged file can make a node its own
// descendant through a shared named node, and host-built chains can be
// longer than the stack allows; a walk stops descending past the limit and
// says so once. Every override of a walk enters one before going deeper.
class KOVA_API NodeWalkScope {
public:
    enum { DeepestWalk = 4096 };

    // Inline (defined in system.h): every node of every walk enters one.
    inline explicit NodeWalkScope(System& system);
    inline ~NodeWalkScope();
    NodeWalkScope(const NodeWalkScope&) = delete;
    NodeWalkScope& operator=(const NodeWalkScope&) = delete;

    bool tooDeep() const { return tooDeep_; }

private:
    static void reportTooDeep(System& system);

    System& system_;
    bool tooDeep_;
};

// Base of every screen element. Plain nodes form chains through their next
// node; node classes that contain others add slots of their own.
class KOVA_API Node : public Object {
    KOVA_RUNTIME_CLASS(Node)
public:
    Node() = default;

    virtual int nextNodeCount() { return 1; }
    virtual Node*& nextNode(int index);
    virtual RuntimeClass* nextNodeClassRequirement(int index);
    virtual void setNextNode(int index, Node* node);
    virtual void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator);
    virtual void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                              EffectPipe& pipe);
    virtual bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed);
    virtual Mode* mode() { return nullptr; }
    virtual bool onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed);
    virtual void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                         EffectPipe& pipe);
    virtual bool onEvent(System& system, Rectangle& rect, Mode& mode, EventData& data);
    virtual bool onEvent(System& system, EventData& data);
    virtual bool onButtonPress(System& system, Rectangle& rect, Mode& mode, int button,
                               int inputIndex, int repeatCount);
    virtual bool onButtonRelease(System& system, Rectangle& rect, Mode& mode, int button,
                                 int inputIndex);
    virtual bool onButtonReleaseOutside(System& system, Rectangle& rect, Mode& mode, int button,
                                        int inputIndex);
    virtual bool onUnicodePress(System& system, Rectangle& rect, Mode& mode, int character,
                                int inputIndex, int repeatCount);
    virtual bool onUnicodeRelease(System& system, Rectangle& rect, Mode& mode, int character,
                                  int inputIndex);
    virtual bool onUnicodeReleaseOutside(System& system, Rectangle& rect, Mode& mode, int character,
                                         int inputIndex);
    virtual bool onPointerIn(System& system, Rectangle& rect, Mode& mode);
    virtual bool onPointerOut(System& system, Rectangle& rect, Mode& mode);
    virtual bool onPointerMove(System& system, Rectangle& rect, Mode& mode);
    virtual bool onPointerMoveOutside(System& system, Rectangle& rect, Mode& mode);
    virtual bool onPreHide(System& system, Rectangle& rect, Mode& mode);
    virtual bool onPostHide(System& system, Rectangle& rect, Mode& mode);
    virtual bool onPreShow(System& system, Rectangle& rect, Mode& mode);
    virtual bool onPreWaitShow(System& system, Rectangle& rect, Mode& mode);
    virtual bool onPreWaitHide(System& system, Rectangle& rect, Mode& mode);
    virtual bool onPostShow(System& system, Rectangle& rect, Mode& mode);
    virtual bool onGainFocus(System& system, Rectangle& rect, Mode& mode);
    virtual bool onLostFocus(System& system, Rectangle& rect, Mode& mode);
    virtual bool onEnable(System& system, Rectangle& rect, Mode& mode);
    virtual bool onDisable(System& system, Rectangle& rect, Mode& mode);
    bool onStream(System& system, Stream& stream) override;

    static bool create(System& system, Node*& ref, RuntimeClass* cls);
    static bool clear(System& system, Node*& ref);

    // Levels per second at which a mode's current level follows its target.
    // It reads no node state, so a mode may ask it without a node.
    static float modeSpeed(float target, float current);

protected:
    Node* next_ = nullptr;
};

// Sends one event to the nodes a mode governs: the first node and everything
// below it, but not below a nested node that has a mode of its own.
class KOVA_API ToModeIterator : public Iterator {
public:
    explicit ToModeIterator(EventData& data) : Iterator(SearchAll), data_(data) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

private:
    EventData data_;
    bool firstNode_ = true;
};

// Starts bringing a leaving screen's focused or pressed regions back to normal.
class KOVA_API MovingOutIterator : public Iterator {
public:
    MovingOutIterator() : Iterator(SearchAll) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;
};

// Brings a left screen's regions back to normal at once.
class KOVA_API MovedOutIterator : public Iterator {
public:
    MovedOutIterator() : Iterator(SearchAll) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;
};

// Raises the focused path to the pressed level when Select goes down.
class KOVA_API SelectIterator : public Iterator {
public:
    SelectIterator() : Iterator(SearchAll) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;
};

// Returns pressed regions of the whole tree to the focused level.
class KOVA_API DeselectIterator : public Iterator {
public:
    DeselectIterator() : Iterator(SearchAll) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;
};

// Offers a press to the focused nodes, innermost first, until one takes it.
class KOVA_API ButtonPressIterator : public Iterator {
public:
    ButtonPressIterator(int button, int inputIndex, int repeatCount)
        : Iterator(SearchFocused),
          button_(button),
          inputIndex_(inputIndex),
          repeatCount_(repeatCount) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

private:
    int button_;
    int inputIndex_;
    int repeatCount_;
    bool handled_ = false;
};

// Delivers a release to every focused node, innermost first; it arrives as
// "ButtonReleaseOutside" where the pointer is not over the region.
class KOVA_API ButtonReleaseIterator : public Iterator {
public:
    ButtonReleaseIterator(int button, int inputIndex)
        : Iterator(SearchAll), button_(button), inputIndex_(inputIndex) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

private:
    int button_;
    int inputIndex_;
};

// Delivers a typed character to every focused node, innermost first.
class KOVA_API UnicodePressIterator : public Iterator {
public:
    UnicodePressIterator(int character, int inputIndex, int repeatCount)
        : Iterator(SearchAll),
          character_(character),
          inputIndex_(inputIndex),
          repeatCount_(repeatCount) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

private:
    int character_;
    int inputIndex_;
    int repeatCount_;
};

// Delivers a character release to every focused node, innermost first; it
// arrives as "UnicodeReleaseOutside" where the pointer is not over the region.
class KOVA_API UnicodeReleaseIterator : public Iterator {
public:
    UnicodeReleaseIterator(int character, int inputIndex)
        : Iterator(SearchAll), character_(character), inputIndex_(inputIndex) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

private:
    int character_;
    int inputIndex_;
};

// Logical button numbers 0 to 28 and their names.
class KOVA_API Button {
public:
    enum {
        NoButton = 0,
        Select = 1,
        Cancel = 2,
        Back = 3,
        Edit = 4,
        Leftwards = 5,
        Upwards = 6,
        Rightwards = 7,
        Downwards = 8,
        Home = 9,
        End = 10,
        PageUp = 11,
        PageDown = 12,
        Insert = 13,
        Delete = 14,
        Backspace = 15,
        Tab = 16,
        Start = 17,
        Enter = 18,
        ScrollUp = 19,
        ScrollDown = 20,
        UserFunction1 = 21,
        UserFunction8 = 28,
        Count = 29
    };
    static const char* buttonName(int button);
};

// One queued input report.
struct KOVA_API Message {
    Message(int type = 0, int inputIndex = 0, float first = 0.0f, float second = 0.0f,
            float third = 0.0f)
        : type(type), inputIndex(inputIndex), first(first), second(second), third(third) {}

    Message* next = nullptr;
    int type;
    int inputIndex;
    float first;
    float second;
    float third;
};

// The queue of posted input. Records are recycled through a free list, so a
// steady stream of input allocates nothing.
class KOVA_API MessageManager {
public:
    explicit MessageManager(int count);
    ~MessageManager();
    MessageManager(const MessageManager&) = delete;
    MessageManager& operator=(const MessageManager&) = delete;

    void postMessage(System& system, Message& message);
    bool processMessages(System& system);

    int freeCount() const;
    int queuedCount() const;

protected:
    void buttonPress(System& system, int button, int inputIndex, int repeatCount);
    void buttonRelease(System& system, int button, int inputIndex);
    void unicodePress(System& system, int character, int inputIndex, int repeatCount);
    void unicodeRelease(System& system, int character, int inputIndex);

private:
    static Message* newRecord();
    static void freeChain(Message* first);

    Message* free_ = nullptr;
    Message* head_ = nullptr;
    Message* tail_ = nullptr;
};

// ---- Text and picture nodes ------------------------------------------------
// Leaves that put content into the area the walk hands them. They keep the
// single next-node slot of Node and take no input.
class Data;
class Style;

// Paints the text of a variable with a style, or with the system style when
// it has none. The variable and the style are only referred to.
class KOVA_API TextNode : public Node {
    KOVA_RUNTIME_CLASS(TextNode)
public:
    TextNode() = default;

    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override;
    bool onStream(System& system, Stream& stream) override;

    Style*& style() { return style_; }
    Data*& string() { return string_; }

private:
    Style* style_ = nullptr;
    Data* string_ = nullptr;
};

// Paints a whole picture of the host's into the area.
class KOVA_API PictureNode : public Node {
    KOVA_RUNTIME_CLASS(PictureNode)
public:
    explicit PictureNode(int picture = 0) : picture_(picture) {}

    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override;
    bool onStream(System& system, Stream& stream) override;

    int& pictureHandle() { return picture_; }

private:
    int picture_;
};

// Paints a part of a picture into the area: the part starting at uv and
// extending by size, in the texture units the host's picturePaint expects.
class KOVA_API PictureUVNode : public Node {
    KOVA_RUNTIME_CLASS(PictureUVNode)
public:
    explicit PictureUVNode(int picture = 0) : picture_(picture) {}

    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override;
    bool onStream(System& system, Stream& stream) override;

    int& pictureHandle() { return picture_; }
    Coordinate2& uv() { return uv_; }
    Coordinate2& size() { return size_; }

private:
    int picture_;
    Coordinate2 uv_;
    Coordinate2 size_;
};

// ---- Path nodes ------------------------------------------------------------
// A menu is a set of screens; a path node is the place in the tree where one
// screen replaces another, hiding the old one while the new one is shown.

// A node that carries its own name: the unit a path node switches between.
// Every screen root is one, and a named one keeps an object file of its own.
class KOVA_API NameNode : public Node {
    KOVA_RUNTIME_CLASS(NameNode)
public:
    explicit NameNode(const char* name = nullptr);
    ~NameNode() override;

    const char* name() override { return name_; }
    bool setName(const char* name) override;
    bool mustHaveName() override { return true; }
    bool isStreamOwner() override { return true; }

private:
    char* name_ = nullptr;
};

// Shows one screen, its next node (the current screen), and runs timed
// transitions when told to show another. Each side's position runs from -2
// (just switched) through -1 ... 0 (waiting) and 0 ... 1 (transition) to 1
// (done). Search modes: SearchAll hands the screen being hidden and then the
// current one to a visitor, SearchFocused only the current one,
// SearchHidden only the one being hidden.
class KOVA_API PathNode : public NameNode {
    KOVA_RUNTIME_CLASS(PathNode)
public:
    PathNode() = default;

    // Takes effect at the next update; a node that is already the target
    // changes nothing, not even the times.
    virtual bool setPath(NameNode* node, float inTime, float outTime, float inWaitTime,
                         float outWaitTime, bool paintOutOverIn);

    RuntimeClass* nextNodeClassRequirement(int index) override;
    void setNextNode(int index, Node* node) override;
    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    Mode* mode() override { return &inMode_; }
    bool onPostHide(System& system, Rectangle& rect, Mode& mode) override;
    bool onLoad(System& system, IStream& stream) override;
    bool onClear(System& system, Stream& stream) override;
    bool onRegister(System& system, Stream& stream) override;

    Node*& path() { return next_; }
    NameNode* getNodeIn() { return target_; }
    Node* getNodeOut() { return outNode_; }
    Mode& outMode() { return outMode_; }
    float inPosition() const { return inPosition_; }
    float outPosition() const { return outPosition_; }
    bool paintOutOverIn() const { return paintOutOverIn_; }

private:
    void startSwitch(System& system, Rectangle& rect);
    void advanceOut(System& system, Rectangle& rect, float elapsed);
    void advanceIn(System& system, Rectangle& rect, float elapsed);
    void sendShowEvent(System& system, Node*& subtree, Rectangle& rect, int type);
    void paintOut(System& system, Rectangle& rect, Rectangle* clip, EffectPipe& pipe);
    void paintIn(System& system, Rectangle& rect, Rectangle* clip, EffectPipe& pipe);

    NameNode* target_ = nullptr;
    Node* outNode_ = nullptr;
    Mode inMode_{1.0f, 1.0f, false};
    Mode outMode_{1.0f, 1.0f, false};
    float inPosition_ = 0.0f;
    float inWaitRate_ = 0.0f;
    float inRate_ = 0.0f;
    float outPosition_ = 0.0f;
    float outWaitRate_ = 0.0f;
    float outRate_ = 0.0f;
    bool paintOutOverIn_ = true;
};

// A path node that remembers where it came from, so screens can be pushed
// and popped. A plain setPath forgets the history.
class KOVA_API StackPathNode : public PathNode {
    KOVA_RUNTIME_CLASS(StackPathNode)
public:
    // One remembered screen; the stack owns its elements, never the screens.
    struct KOVA_API PathStack {
        NameNode* node = nullptr;
        PathStack* next = nullptr;

        // False only when no element could be had; a null node or the node
        // already on top is not pushed again.
        static bool insert(System& system, PathStack*& top, NameNode* node);
        static NameNode* remove(PathStack*& top);
        static void clear(PathStack*& top);
        static int count(PathStack* top);
    };

    StackPathNode() = default;
    ~StackPathNode() override;

    bool setPath(NameNode* node, float inTime, float outTime, float inWaitTime, float outWaitTime,
                 bool paintOutOverIn) override;
    virtual bool insertPath(System& system, NameNode* node, float inTime, float outTime,
                            float inWaitTime, float outWaitTime, bool paintOutOverIn);
    virtual bool removePath(float inTime, float outTime, float inWaitTime, float outWaitTime,
                            bool paintOutOverIn, int count);
    bool onClear(System& system, Stream& stream) override;
    bool onRegister(System& system, Stream& stream) override;

    PathStack* stack() { return stack_; }

private:
    PathStack* stack_ = nullptr;
};

// ---- Layout nodes ----------------------------------------------------------
// They place, stack and clip the subtrees below them: the rectangle a layout
// node hands on decides where its subtrees appear. Every sub-tree is shown to
// visitors of every search mode; nothing in a layout is hidden.

class Data;

// A second branch, walked before the node's own chain: slot 1 of the next
// nodes.
class KOVA_API SplitNode : public Node {
    KOVA_RUNTIME_CLASS(SplitNode)
public:
    SplitNode() = default;

    int nextNodeCount() override { return 2; }
    Node*& nextNode(int index) override;
    void setNextNode(int index, Node* node) override;
    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    bool onStream(System& system, Stream& stream) override;

    Node*& splitNode() { return split_; }

private:
    Node* split_ = nullptr;
};

// Walks its next chain deeper by the value of a variable.
class KOVA_API ZoomNode : public Node {
    KOVA_RUNTIME_CLASS(ZoomNode)
public:
    ZoomNode() = default;

    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& z() { return z_; }

private:
    Rectangle zoomed(System& system, const Rectangle& rect);

    Data* z_ = nullptr;
};

// Keeps the painting of its next chain inside its own area.
class KOVA_API ClipNode : public Node {
    KOVA_RUNTIME_CLASS(ClipNode)
public:
    ClipNode() = default;

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
};

// Moves itself and its next chain by two variables, under a mode of its own.
class KOVA_API TranslateNode : public Node {
    KOVA_RUNTIME_CLASS(TranslateNode)
public:
    TranslateNode() = default;

    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    Mode* mode() override { return &ownMode_; }
    bool onStream(System& system, Stream& stream) override;

    Data*& x() { return x_; }
    Data*& y() { return y_; }

private:
    Rectangle moved(System& system, const Rectangle& rect);

    Data* x_ = nullptr;
    Data* y_ = nullptr;
    Mode ownMode_{1.0f, 1.0f, false};
};

// Places its transformed node at a position and size of its own, relative to
// the top left corner of the area it receives, under a mode of its own. The
// transformed node is slot 1 of the next nodes.
class KOVA_API TransformNode : public Node {
    KOVA_RUNTIME_CLASS(TransformNode)
public:
    TransformNode() = default;

    int nextNodeCount() override { return 2; }
    Node*& nextNode(int index) override;
    void setNextNode(int index, Node* node) override;
    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    Mode* mode() override { return &ownMode_; }
    bool onStream(System& system, Stream& stream) override;

    Node*& transformedNode() { return transformed_; }
    Coordinate2& position() { return position_; }
    Coordinate2& size() { return size_; }

protected:
    Rectangle childArea(const Rectangle& rect) const;

private:
    Node* transformed_ = nullptr;
    Coordinate2 position_{0.0f, 0.0f};
    Coordinate2 size_{20.0f, 20.0f};
    Mode ownMode_{1.0f, 1.0f, false};
};

// A transform that screens treat as a window.
class KOVA_API WindowNode : public TransformNode {
    KOVA_RUNTIME_CLASS(WindowNode)
public:
    WindowNode() = default;
};

// A window the player drags with the pointer while Select is held.
class KOVA_API DragWindowNode : public WindowNode {
    KOVA_RUNTIME_CLASS(DragWindowNode)
public:
    DragWindowNode() = default;

    bool onButtonPress(System& system, Rectangle& rect, Mode& mode, int button, int inputIndex,
                       int repeatCount) override;
    bool onButtonRelease(System& system, Rectangle& rect, Mode& mode, int button,
                         int inputIndex) override;
    bool onPointerMove(System& system, Rectangle& rect, Mode& mode) override;
    bool onPointerMoveOutside(System& system, Rectangle& rect, Mode& mode) override;

    bool isDragging() const { return dragging_; }

private:
    Coordinate2 lastPointer_;
    bool dragging_ = false;
};

// ---- Gating nodes ----------------------------------------------------------
// They switch the chain below them (their next node) by variables: fade it
// in and out, disable it, or hold it at the sticky level. The chain stays
// attached; only updating, painting and the visitors' walks are gated.

// Shows its chain while its variable is not 0 (or when it has none) and hides
// it while the variable is 0, with timed fades and the show and hide events a
// screen change sends. The position runs -1 (hidden) ... 0 ... 1 (shown, hide
// under way) and 2 (shown, settled).
class KOVA_API CullNode : public Node {
    KOVA_RUNTIME_CLASS(CullNode)
public:
    CullNode() = default;

    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& data() { return data_; }
    float& inTime() { return inTime_; }
    float& outTime() { return outTime_; }
    float position() const { return position_; }

private:
    bool wantsShown(System& system);
    void send(System& system, Mode& mode, Rectangle& rect, int type);

    Data* data_ = nullptr;
    float inTime_ = 0.0f;
    float outTime_ = 0.0f;
    float position_ = -1.0f;
};

// Takes its chain's mode to the disabled level while its variable is 0 and
// hides the chain from the focused and hidden searches meanwhile.
class KOVA_API DisableNode : public Node {
    KOVA_RUNTIME_CLASS(DisableNode)
public:
    DisableNode() = default;

    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    Mode* mode() override { return &ownMode_; }
    bool onLoad(System& system, IStream& stream) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& disableData() { return disableData_; }
    bool isEnabled() const { return enabled_; }

private:
    void recomputeEnabled(System& system);

    Data* disableData_ = nullptr;
    bool enabled_ = true;
    Mode ownMode_{1.0f, 1.0f, false};
};

// Holds its chain's mode at the sticky level 4 while a variable equals a
// value, and lets it follow the pointer like any region otherwise.
class KOVA_API StickyNode : public Node {
    KOVA_RUNTIME_CLASS(StickyNode)
public:
    StickyNode() = default;

    bool dataEqualsValue(System& system);

    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    Mode* mode() override { return &ownMode_; }
    bool onLoad(System& system, IStream& stream) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& variable() { return variable_; }
    Data*& data() { return data_; }
    bool equalAtLoad() const { return equalAtLoad_; }

private:
    Data* variable_ = nullptr;
    Data* data_ = nullptr;
    bool equalAtLoad_ = false;
    Mode ownMode_{1.0f, 1.0f, false};
};

// ---- Effect nodes ----------------------------------------------------------
// They put an effect into the pipe for everything painted below them (their
// own painting and their next chain) and decide how strongly it acts: always,
// by a variable, during screen transitions, or by the level and focus of the
// mode they are painted with. A node without an effect paints plainly.

// Applies its effect at full strength. It takes over a received element that
// holds no effect instead of making one of its own.
class KOVA_API EffectNode : public Node {
    KOVA_RUNTIME_CLASS(EffectNode)
public:
    explicit EffectNode(Effect* effect = nullptr) : effect_(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    bool onStream(System& system, Stream& stream) override;

    Effect*& nodeEffect() { return effect_; }

protected:
    // Paints through a new element that applies the effect at level when
    // apply is set (and there is an effect), else through the received one.
    void paintApplying(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                       EffectPipe& pipe, bool apply, float level);
    // Lends the effect to a received element that has none for the duration
    // of the painting; an element that has one gets a new element outside it.
    void paintReusing(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe, float level);
    // True for a current level from low up to, not including, low + 1.
    static bool between(float level, float low) { return low <= level && level < low + 1.0f; }

    Effect* effect_;
};

// Applies its effect at the value of a variable (full strength without one).
class KOVA_API VariableEffectNode : public EffectNode {
    KOVA_RUNTIME_CLASS(VariableEffectNode)
public:
    explicit VariableEffectNode(Effect* effect = nullptr) : EffectNode(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& levelVariable() { return levelVariable_; }

private:
    Data* levelVariable_ = nullptr;
};

// Applies its effect at the show level while a screen comes or goes.
class KOVA_API TransitionalEffectNode : public EffectNode {
    KOVA_RUNTIME_CLASS(TransitionalEffectNode)
public:
    explicit TransitionalEffectNode(Effect* effect = nullptr) : EffectNode(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
};

// The old name of TransitionalEffectNode; it warns whenever one is made.
class KOVA_API ShowEffectNode : public EffectNode {
    KOVA_RUNTIME_CLASS(ShowEffectNode)
public:
    explicit ShowEffectNode(Effect* effect = nullptr) : EffectNode(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool onCreate(System& system) override;
    bool onLoad(System& system, IStream& stream) override;
    using EffectNode::onCreate;
};

// Applies its effect at the show level only while a screen comes in.
class KOVA_API TransitionalShowEffectNode : public EffectNode {
    KOVA_RUNTIME_CLASS(TransitionalShowEffectNode)
public:
    explicit TransitionalShowEffectNode(Effect* effect = nullptr) : EffectNode(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
};

// Applies its effect at the show level only while a screen leaves.
class KOVA_API TransitionalHideEffectNode : public EffectNode {
    KOVA_RUNTIME_CLASS(TransitionalHideEffectNode)
public:
    explicit TransitionalHideEffectNode(Effect* effect = nullptr) : EffectNode(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
};

// Applies its effect in full while a region has the focus.
class KOVA_API FocusEffectNode : public EffectNode {
    KOVA_RUNTIME_CLASS(FocusEffectNode)
public:
    explicit FocusEffectNode(Effect* effect = nullptr) : EffectNode(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
};

// Applies its effect in full while a region does not have the focus.
class KOVA_API NotFocusEffectNode : public EffectNode {
    KOVA_RUNTIME_CLASS(NotFocusEffectNode)
public:
    explicit NotFocusEffectNode(Effect* effect = nullptr) : EffectNode(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
};

// Applies its effect at current level - 1 while a region's level lies on its
// way between normal (1) and focused (2), 2 excluded.
class KOVA_API NormalToFocusEffectNode : public EffectNode {
    KOVA_RUNTIME_CLASS(NormalToFocusEffectNode)
public:
    explicit NormalToFocusEffectNode(Effect* effect = nullptr) : EffectNode(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
};

// Between normal and focused, like its parent, with the strength running from
// min value to max value instead of from 0 to 1.
class KOVA_API ExtendedNormalToFocusEffectNode : public NormalToFocusEffectNode {
    KOVA_RUNTIME_CLASS(ExtendedNormalToFocusEffectNode)
public:
    explicit ExtendedNormalToFocusEffectNode(Effect* effect = nullptr, float minValue = 0.0f,
                                             float maxValue = 1.0f)
        : NormalToFocusEffectNode(effect), minValue_(minValue), maxValue_(maxValue) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool onStream(System& system, Stream& stream) override;

    float& minValue() { return minValue_; }
    float& maxValue() { return maxValue_; }

private:
    float minValue_;
    float maxValue_;
};

// Applies its effect at current level - 2 while a region's level lies on its
// way between focused (2) and pressed (3), 3 excluded.
class KOVA_API FocusToPressedEffectNode : public EffectNode {
    KOVA_RUNTIME_CLASS(FocusToPressedEffectNode)
public:
    explicit FocusToPressedEffectNode(Effect* effect = nullptr) : EffectNode(effect) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
};

// Between focused and pressed, like its parent, with the strength running
// from min value to max value instead of from 0 to 1.
class KOVA_API ExtendedFocusToPressedEffectNode : public FocusToPressedEffectNode {
    KOVA_RUNTIME_CLASS(ExtendedFocusToPressedEffectNode)
public:
    explicit ExtendedFocusToPressedEffectNode(Effect* effect = nullptr, float minValue = 0.0f,
                                              float maxValue = 1.0f)
        : FocusToPressedEffectNode(effect), minValue_(minValue), maxValue_(maxValue) {}

    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool onStream(System& system, Stream& stream) override;

    float& minValue() { return minValue_; }
    float& maxValue() { return maxValue_; }

private:
    float minValue_;
    float maxValue_;
};

// ---- Widget nodes ----------------------------------------------------------
// The nodes a player works with directly: a text field, a slider and the
// breadcrumb of a navigation tree.

// A one-line field that edits the text of a variable in place, from typed
// characters or from a pad alone. Select switches editing on and off; while
// editing, the node holds one count of the focus lock so the direction
// buttons edit instead of moving the focus.
class KOVA_API EditNode : public Node {
    KOVA_RUNTIME_CLASS(EditNode)
public:
    EditNode() = default;

    bool onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override;
    bool onButtonPress(System& system, Rectangle& rect, Mode& mode, int button, int inputIndex,
                       int repeatCount) override;
    bool onUnicodePress(System& system, Rectangle& rect, Mode& mode, int character, int inputIndex,
                        int repeatCount) override;
    bool onClear(System& system, Stream& stream) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& string() { return string_; }
    int& font() { return font_; }
    int& maxCharacters() { return maxCharacters_; }
    int scrollStart() const { return scrollStart_; }
    int cursor() const { return cursor_; }
    float blink() const { return blink_; }
    bool isEditing() const { return editing_; }

protected:
    void scrollToCursor(System& system, Rectangle& rect);

private:
    bool mayInsert(int length) const;
    void clampCursor(int length);
    void cycleCharacter(System& system, int step);
    void removeCharacter(System& system, int at);
    void paintCursor(System& system, float x, Rectangle& rect, Rectangle* clip, EffectPipe& pipe);

    Data* string_ = nullptr;
    int font_ = 0;
    int maxCharacters_ = -1;
    int scrollStart_ = 0;
    int cursor_ = 0;
    float blink_ = -0.4f;
    bool editing_ = false;
};

// A horizontal slider bound to a variable. Its area is the track; the cursor
// node is updated and painted in a cursor rectangle that moves along the
// track with the value, under a mode of its own. The cursor's width shows
// how many units of the range are visible. Select held with the pointer
// drags the cursor and writes the value; the cursor node is slot 1 of the
// next nodes.
class KOVA_API SliderNode : public Node {
    KOVA_RUNTIME_CLASS(SliderNode)
public:
    SliderNode() = default;

    // The cursor's width and the track distance per unit of value for a
    // track of the given width. A value can be chosen with the cursor only
    // where the unit is a finite number other than 0.
    struct Geometry {
        float width;
        float unit;
        bool writable;
    };
    Geometry sliderWidth(float trackWidth) const;
    Rectangle calculateCursorRectangleFromNodeRect(const Rectangle& rect) const;
    void alignValue(System& system, float trackWidth);

    int nextNodeCount() override { return 2; }
    Node*& nextNode(int index) override;
    void setNextNode(int index, Node* node) override;
    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    Mode* mode() override { return &cursorMode_; }
    bool onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    bool onButtonPress(System& system, Rectangle& rect, Mode& mode, int button, int inputIndex,
                       int repeatCount) override;
    bool onButtonRelease(System& system, Rectangle& rect, Mode& mode, int button,
                         int inputIndex) override;
    bool onButtonReleaseOutside(System& system, Rectangle& rect, Mode& mode, int button,
                                int inputIndex) override;
    bool onClear(System& system, Stream& stream) override;
    bool onStream(System& system, Stream& stream) override;

    Node*& cursorNode() { return cursorNode_; }
    Data*& data() { return data_; }
    float& minimumValue() { return minimum_; }
    float& maximumValue() { return maximum_; }
    float& numberVisible() { return numberVisible_; }
    float cursorPosition() const { return cursorPosition_; }
    float grabDistance() const { return grabDistance_; }
    bool isDragging() const { return holdsLock_; }

private:
    void endDrag(System& system, Rectangle& rect, int button);

    float grabDistance_ = 0.0f;
    float cursorPosition_ = 0.0f;
    float minimum_ = 0.0f;
    float maximum_ = 1.0f;
    float numberVisible_ = 1.0f;
    Data* data_ = nullptr;
    Node* cursorNode_ = nullptr;
    Mode cursorMode_{1.0f, 1.0f, false};
    bool holdsLock_ = false;  // this slider took the focus lock with a press
};

// Paints the breadcrumb of a navigation tree on one line, centred: the
// descriptions of the current items from the top level down, joined by
// " - ", with the item under the tree's cursor in yellow and underlined.
class KOVA_API NavigateViewNode : public Node {
    KOVA_RUNTIME_CLASS(NavigateViewNode)
public:
    NavigateViewNode() = default;

    bool onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    void onPaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                 EffectPipe& pipe) override;
    bool onPreHide(System& system, Rectangle& rect, Mode& mode) override;
    bool onPostHide(System& system, Rectangle& rect, Mode& mode) override;
    bool onStream(System& system, Stream& stream) override;

    Tree*& tree() { return tree_; }
    int& font() { return font_; }
    int shownItem() const { return shownItem_; }
    bool isHiding() const { return hiding_; }

private:
    NavigateTree* navigateTree();

    Tree* tree_ = nullptr;
    int font_ = 0;
    int shownItem_ = 0;
    bool hiding_ = false;
};

// ---- Focus and tab stops ---------------------------------------------------
// The focus is where the system pointer stands, so moving the focus means
// moving the pointer from one tab stop to another. A tab stop's position is
// the centre of the rectangle the walk hands it.

// Marks a focusable place. The area is the rectangle of the last update.
class KOVA_API TabstopNode : public Node {
    KOVA_RUNTIME_CLASS(TabstopNode)
public:
    TabstopNode() = default;

    virtual bool isEnabled(System& system);
    bool onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;

    Rectangle& area() { return area_; }

    // Whether node counts as a tab stop (null does not).
    static bool isTabstop(Node* node);
    static Coordinate2 centre(const Rectangle& rect);

private:
    Rectangle area_;
};

// A tab stop that can be chosen only while its variable is not 0; without a
// variable it never can. Tab stops below it are found either way.
class KOVA_API VariableTabstopNode : public TabstopNode {
    KOVA_RUNTIME_CLASS(VariableTabstopNode)
public:
    VariableTabstopNode() = default;

    bool isEnabled(System& system) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& variable() { return variable_; }

private:
    Data* variable_ = nullptr;
};

// Moves the pointer to the nearest tab stop of its next chain in the
// direction pressed, or to the following one on Tab.
class KOVA_API TabstopManagerNode : public Node {
    KOVA_RUNTIME_CLASS(TabstopManagerNode)
public:
    TabstopManagerNode() = default;

    bool onButtonPress(System& system, Rectangle& rect, Mode& mode, int button, int inputIndex,
                       int repeatCount) override;
    // Told after each direction or Tab move: the index of the chosen tab stop
    // among the enabled ones, or -1 (none, or Tab).
    virtual void onIndexSet(System& system, int index);

protected:
    // The remembering managers' two steps: put the pointer straight onto the
    // index-th enabled tab stop of the next chain, without telling the host,
    // and find the index of the enabled tab stop under the pointer.
    void restoreFocus(System& system, Rectangle& rect, Mode& mode, int index);
    int focusedIndex(System& system, Rectangle& rect, Mode& mode);
};

// Remembers which tab stop had the focus when its screen hides, and puts the
// pointer back there when the screen shows again or the region gains focus.
class KOVA_API RememberingTabstopManagerNode : public TabstopManagerNode {
    KOVA_RUNTIME_CLASS(RememberingTabstopManagerNode)
public:
    RememberingTabstopManagerNode() = default;

    bool onGainFocus(System& system, Rectangle& rect, Mode& mode) override;
    bool onPreWaitShow(System& system, Rectangle& rect, Mode& mode) override;
    bool onPreHide(System& system, Rectangle& rect, Mode& mode) override;
    void onIndexSet(System& system, int index) override;

    int index() const { return index_; }
    bool isShown() const { return shown_; }

private:
    int index_ = 0;
    bool shown_ = false;  // guards against a repeated restore or save
};

// The remembering manager that keeps the index in a variable, where the host
// and other screens can read and set it. Without a variable it does nothing.
class KOVA_API ExtendedRememberingTabstopManagerNode : public TabstopManagerNode {
    KOVA_RUNTIME_CLASS(ExtendedRememberingTabstopManagerNode)
public:
    ExtendedRememberingTabstopManagerNode() = default;

    bool onGainFocus(System& system, Rectangle& rect, Mode& mode) override;
    bool onPreWaitShow(System& system, Rectangle& rect, Mode& mode) override;
    bool onPreHide(System& system, Rectangle& rect, Mode& mode) override;
    void onIndexSet(System& system, int index) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& indexVariable() { return indexVariable_; }
    bool isShown() const { return shown_; }

private:
    Data* indexVariable_ = nullptr;
    bool shown_ = false;
};

// Updates, paints and searches itself and its next chain as if the pointer
// stood at (focus x, focus y); a missing variable keeps that coordinate.
class KOVA_API FocusNode : public Node {
    KOVA_RUNTIME_CLASS(FocusNode)
public:
    FocusNode() = default;

    void iterateIterator(System& system, Mode& mode, Rectangle& rect, Iterator& iterator) override;
    void iteratePaint(System& system, Mode& mode, Rectangle& rect, Rectangle* clip,
                      EffectPipe& pipe) override;
    bool iterateUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) override;
    bool onStream(System& system, Stream& stream) override;

    Data*& focusX() { return focusX_; }
    Data*& focusY() { return focusY_; }

private:
    Data* focusX_ = nullptr;
    Data* focusY_ = nullptr;
};

// Finds the tab stop a direction button or Tab leads to. On leaving, it
// moves the pointer to the result (where it was when nothing was found).
class KOVA_API TabstopIterator : public Iterator {
public:
    TabstopIterator(System& system, const Coordinate2& from, int button);
    ~TabstopIterator() override;
    TabstopIterator(const TabstopIterator&) = delete;
    TabstopIterator& operator=(const TabstopIterator&) = delete;

    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

    const Coordinate2& result() const { return result_; }
    int bestIndex() const { return bestIndex_; }

private:
    bool isCandidate(const Coordinate2& d) const;
    void considerDirection(const Coordinate2& centre);
    void considerTab(const Coordinate2& centre);

    System& system_;
    Coordinate2 from_;
    Coordinate2 result_;
    int button_;
    float best_ = 0.0f;  // the best distance, or for Tab the state 0 to 3
    int bestIndex_ = -1;
    int count_ = 0;
};

// Selects a tab stop by its number in walk order, disabled ones counted. On
// leaving, it moves the pointer there (or leaves it when there are fewer).
class KOVA_API TabstopIndexIterator : public Iterator {
public:
    TabstopIndexIterator(System& system, int index);
    ~TabstopIndexIterator() override;
    TabstopIndexIterator(const TabstopIndexIterator&) = delete;
    TabstopIndexIterator& operator=(const TabstopIndexIterator&) = delete;

    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

    const Coordinate2& result() const { return result_; }

private:
    System& system_;
    Coordinate2 result_;
    int remaining_;
};

// The centre of the index-th enabled tab stop (the last one when there are
// fewer, the pointer position when there are none).
class KOVA_API FindTabstopIndexCoordinateIterator : public Iterator {
public:
    FindTabstopIndexCoordinateIterator(System& system, int index);

    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

    const Coordinate2& coordinate() const { return coordinate_; }

private:
    int wanted_;
    int count_ = -1;
    Coordinate2 coordinate_;
};

// The index of the first enabled tab stop within one unit of a coordinate
// (the last one's when none is, -1 when there are none). It searches the
// screen being hidden.
class KOVA_API FindTabstopCoordinateIndexIterator : public Iterator {
public:
    explicit FindTabstopCoordinateIndexIterator(const Coordinate2& coordinate);

    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

    int index() const { return index_; }

private:
    Coordinate2 coordinate_;
    int index_ = -1;
    bool found_ = false;
};

}  // namespace kova
}  // namespace tarn

// NodeWalkScope's inline body needs the whole System, which needs this file.
#include "kova/system.h"
