// Kova events and pointers: the event record every handler receives, event
// matchers, and the pointer that turns host input into queued messages.
#pragma once

#include "kova/container.h"
#include "kova/geometry.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Node;

// One event: its type (0 to 22), the input index of the device or player, and
// three parameters whose meaning depends on the type. Event type numbers are
// stored in object files and never change.
struct KOVA_API EventData {
    int type = 0;
    int inputIndex = 0;
    float first = 0.0f;
    float second = 0.0f;
    float third = 0.0f;
};

// Base of the event matchers: a stored description that incoming records are
// tested against. Input index 0 matches every device or player.
class KOVA_API Event : public Object {
    KOVA_RUNTIME_CLASS(Event)
public:
    enum Type {
        NoEvent = 0,
        ButtonPress = 1,
        ButtonRelease = 2,
        ButtonReleaseOutside = 3,
        UnicodePress = 4,
        UnicodeRelease = 5,
        UnicodeReleaseOutside = 6,
        GainFocus = 7,
        LostFocus = 8,
        PointerIn = 9,
        PointerOut = 10,
        PointerMove = 11,
        PointerMoveOut = 12,
        PreShow = 13,
        PostShow = 14,
        PreHide = 15,
        PostHide = 16,
        PreWaitShow = 17,
        PreWaitHide = 18,
        Quit = 19,
        Disable = 20,
        Enable = 21,
        Update = 22,
        TypeCount = 23
    };

    explicit Event(int inputIndex = 0) : inputIndex_(static_cast<unsigned char>(inputIndex)) {}

    virtual bool onCheck(System& system, EventData& data);
    bool onStream(System& system, Stream& stream) override;

    int inputIndex() const { return inputIndex_; }

    // A missing event never matches.
    static bool check(System& system, Event* event, EventData& data);
    static const char* name(int type);

protected:
    unsigned char inputIndex_;
};

// Matches one event type.
class KOVA_API TypeEvent : public Event {
    KOVA_RUNTIME_CLASS(TypeEvent)
public:
    explicit TypeEvent(int inputIndex = 0, int type = ButtonPress)
        : Event(inputIndex), type_(type) {}

    bool onCheck(System& system, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    int type() const { return type_; }

    static int nextIndex(int i);

protected:
    int type_;
};

// Matches any button or character: kind 1 pressed, 2 released, 3 released
// outside.
class KOVA_API AnyKeyEvent : public Event {
    KOVA_RUNTIME_CLASS(AnyKeyEvent)
public:
    explicit AnyKeyEvent(int inputIndex = 0) : Event(inputIndex) {}

    bool onCheck(System& system, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    int kind() const { return kind_; }
    void setKind(int kind) { kind_ = kind; }

    static int nextIndex(int i);
    static const char* string(int kind);

protected:
    int kind_ = 1;
};

// Matches one button event (types 1 to 3) of one logical button. It keeps its
// type where TypeEvent does but streams its own narrower list of types.
class KOVA_API ButtonEvent : public TypeEvent {
    KOVA_RUNTIME_CLASS(ButtonEvent)
public:
    explicit ButtonEvent(int inputIndex = 0, int type = ButtonPress, int button = 1)
        : TypeEvent(inputIndex, type), button_(button) {}

    bool onCheck(System& system, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    int button() const { return button_; }

    static int eventNextIndex(int i);
    static int buttonNextIndex(int i);

protected:
    int button_;
};

// A ButtonEvent that also requires one repeat count. Its run-time parent is
// TypeEvent, so a class test for ButtonEvent does not accept it.
class KOVA_API ExtendedButtonEvent : public ButtonEvent {
    KOVA_RUNTIME_CLASS(ExtendedButtonEvent)
public:
    explicit ExtendedButtonEvent(int inputIndex = 0, int type = ButtonPress, int button = 1)
        : ButtonEvent(inputIndex, type, button) {}

    bool onCheck(System& system, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    int repeatCount() const { return repeatCount_; }

protected:
    // Object files set it; until then the event matches the first press.
    int repeatCount_ = 1;
};

// Matches one Unicode event (types 4 to 6) of one character.
class KOVA_API UnicodeEvent : public TypeEvent {
    KOVA_RUNTIME_CLASS(UnicodeEvent)
public:
    explicit UnicodeEvent(int inputIndex = 0, int type = UnicodePress, unsigned short character = 0)
        : TypeEvent(inputIndex, type), character_(character) {}

    bool onCheck(System& system, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    unsigned short character() const { return character_; }

    static int eventNextIndex(int i);

protected:
    unsigned short character_;
};

// A UnicodeEvent that also requires one repeat count. Its run-time parent is
// TypeEvent, so a class test for UnicodeEvent does not accept it.
class KOVA_API ExtendedUnicodeEvent : public UnicodeEvent {
    KOVA_RUNTIME_CLASS(ExtendedUnicodeEvent)
public:
    explicit ExtendedUnicodeEvent(int inputIndex = 0, int type = UnicodePress,
                                  unsigned short character = 0)
        : UnicodeEvent(inputIndex, type, character) {}

    bool onCheck(System& system, EventData& data) override;
    bool onStream(System& system, Stream& stream) override;

    int repeatCount() const { return repeatCount_; }

protected:
    // Object files set it; until then the event matches the first press.
    int repeatCount_ = 1;
};

// Delivers one record to a node and everything below it, a parent before its
// children. Handler results do not stop the walk.
class KOVA_API EventIterator : public Iterator {
public:
    explicit EventIterator(EventData& data) : Iterator(SearchAll), data_(data) {}

    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override;

private:
    EventData data_;
};

// Stands between the host's raw input and the message queue, keeps the
// on-screen pointer position and paints an optional node that draws it.
class KOVA_API Pointer : public Object {
    KOVA_RUNTIME_CLASS(Pointer)
public:
    Pointer() = default;
    ~Pointer() override;

    virtual bool onPaint(System& system);
    virtual bool onUpdate(System& system, float elapsed);
    virtual bool onMove(System& system, float x, float y);
    virtual bool onButtonPress(System& system, int button, int inputIndex, int repeatCount);
    virtual bool onButtonRelease(System& system, int button, int inputIndex);
    virtual bool onUnicodePress(System& system, int character, int inputIndex, int repeatCount);
    virtual bool onUnicodeRelease(System& system, int character, int inputIndex);
    bool onClear(System& system, Stream& stream) override;

    void setGraphicalNode(System& system, Node* node);
    Node* graphicalNode() { return graphicalNode_; }
    float width() const { return width_; }
    float height() const { return height_; }

    static bool paint(System& system, Pointer* pointer);
    static bool update(System& system, Pointer* pointer, float elapsed);
    static bool move(System& system, Pointer* pointer, float x, float y);
    static bool buttonPress(System& system, Pointer* pointer, int button, int inputIndex,
                            int repeatCount);
    static bool buttonRelease(System& system, Pointer* pointer, int button, int inputIndex);
    static bool unicodePress(System& system, Pointer* pointer, int character, int inputIndex,
                             int repeatCount);
    static bool unicodeRelease(System& system, Pointer* pointer, int character, int inputIndex);
    static bool clear(System& system, Pointer*& pointer);

protected:
    Rectangle pointerRect(System& system);

    float width_ = 20.0f;
    float height_ = 20.0f;
    Node* graphicalNode_ = nullptr;
};

// The pointer for several controllers. Pads are input indexes 1 to 4; while
// locked, each pad gets the next player number when it is first pressed and
// its input reaches the screens under that number. Unlocked, every pad is
// player 1 and the pad pressed last is the only assigned one.
class KOVA_API DynamicIndexPointer : public Pointer {
    KOVA_RUNTIME_CLASS(DynamicIndexPointer)
public:
    enum { PadCount = 4, NoPlayer = 100 };

    DynamicIndexPointer();

    bool onButtonPress(System& system, int button, int inputIndex, int repeatCount) override;
    bool onButtonRelease(System& system, int button, int inputIndex) override;
    bool onRegister(System& system, Stream& stream) override;

    void lock(bool locked);
    bool removeLockedPadIndex(int pad);
    int padIndex(int player);
    int lastPadIndex() { return lastPadIndex_; }
    void unlockPadIndex() { reserved_ = 0; }
    void lockPadIndex(int) {}

    bool isLocked() const { return locked_; }
    int assignedCount() const { return assignedCount_; }
    // The player number of a zero-based pad; NoPlayer when it has none or the
    // pad does not exist.
    int playerOfPad(int pad) const;

private:
    static bool isPad(int inputIndex) { return inputIndex >= 1 && inputIndex <= PadCount; }
    void assignOnly(int pad);

    bool locked_ = false;
    int indexOrder_[PadCount];
    int assignedCount_ = 0;
    int lastPadIndex_ = 0;
    // Kept for the layout of the pointer's state; unlockPadIndex resets it and
    // nothing reads it.
    int reserved_ = 0;
};

}  // namespace kova
}  // namespace tarn
