#include "kova/node.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

namespace {

// Continues a routing walk below a node.
void descend(System& system, Node* node, Rectangle& rect, Mode& mode, Iterator& iterator) {
    node->iterateIterator(system, mode, rect, iterator);
}

// Raises the focused path to the pressed level.
class SelectIterator : public Iterator {
public:
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        if (!node) return;
        float target = mode.targetLevel();
        if (target != 2.0f && target != 3.0f) return;
        mode.setTargetLevel(3.0f);
        descend(system, node, rect, mode, *this);
    }
};

// Returns pressed regions of the whole tree to the focused level.
class DeselectIterator : public Iterator {
public:
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        if (!node) return;
        if (mode.targetLevel() == 3.0f) mode.setTargetLevel(2.0f);
        descend(system, node, rect, mode, *this);
    }
};

// Offers a press to the focused nodes, innermost first, until one takes it.
class ButtonPressIterator : public Iterator {
public:
    ButtonPressIterator(int button, int inputIndex, int repeatCount)
        : Iterator(SearchFocused),
          button_(button),
          inputIndex_(inputIndex),
          repeatCount_(repeatCount) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        if (!node || !mode.hasFocus()) return;
        descend(system, node, rect, mode, *this);
        if (handled_) return;
        EventData data{1, inputIndex_, static_cast<float>(button_),
                       static_cast<float>(repeatCount_), 0.0f};
        handled_ = sendEvent(system, node, rect, mode, data);
    }

private:
    int button_;
    int inputIndex_;
    int repeatCount_;
    bool handled_ = false;
};

// Delivers a release or Unicode report to every focused node, innermost
// first. A release becomes its "outside" type when the pointer is elsewhere.
class DeliverIterator : public Iterator {
public:
    DeliverIterator(int insideType, int outsideType, int inputIndex, int value, int repeatCount)
        : insideType_(insideType),
          outsideType_(outsideType),
          inputIndex_(inputIndex),
          value_(value),
          repeatCount_(repeatCount) {}
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        if (!node || !mode.hasFocus()) return;
        descend(system, node, rect, mode, *this);
        EventData data{mode.isInside() ? insideType_ : outsideType_, inputIndex_,
                       static_cast<float>(value_), static_cast<float>(repeatCount_), 0.0f};
        sendEvent(system, node, rect, mode, data);
    }

private:
    int insideType_;
    int outsideType_;
    int inputIndex_;
    int value_;
    int repeatCount_;
};

void walk(System& system, Iterator& iterator) {
    iterator.iterate(system, system.firstNode(), system.clipRect(), system.mode());
}

}  // namespace

MessageManager::MessageManager(int count) {
    for (int i = 0; i <= count; ++i) {
        Message* record = newRecord();
        record->next = free_;
        free_ = record;
    }
}

MessageManager::~MessageManager() {
    freeChain(free_);
    freeChain(head_);
}

Message* MessageManager::newRecord() {
    void* memory = Memory::operator new(sizeof(Message));
    return new (memory) Message();
}

void MessageManager::freeChain(Message* first) {
    while (first) {
        Message* next = first->next;
        first->~Message();
        Memory::operator delete(first);
        first = next;
    }
}

void MessageManager::postMessage(System&, Message& message) {
    Message* record = free_;
    if (record) {
        free_ = record->next;
    } else {
        record = newRecord();
    }
    *record = message;
    record->next = nullptr;
    if (tail_) {
        tail_->next = record;
    } else {
        head_ = record;
    }
    tail_ = record;
}

// Messages posted by handlers while the queue is worked off are appended and
// handled in the same call.
bool MessageManager::processMessages(System& system) {
    while (head_) {
        Message* message = head_;
        int first = static_cast<int>(message->first);
        int second = static_cast<int>(message->second);
        switch (message->type) {
            case 1:
                buttonPress(system, first, message->inputIndex, second);
                break;
            case 2:
                buttonRelease(system, first, message->inputIndex);
                break;
            case 4:
                unicodePress(system, first, message->inputIndex, second);
                break;
            case 5:
                unicodeRelease(system, first, message->inputIndex);
                break;
            default:
                break;
        }
        if (Node* root = system.firstNode()) {
            root->iterateUpdate(system, system.mode(), system.clipRect(), 0.0f);
        }
        head_ = message->next;
        message->next = free_;
        free_ = message;
    }
    tail_ = nullptr;
    return true;
}

int MessageManager::freeCount() const {
    int count = 0;
    for (Message* m = free_; m; m = m->next)
        ++count;
    return count;
}

int MessageManager::queuedCount() const {
    int count = 0;
    for (Message* m = head_; m; m = m->next)
        ++count;
    return count;
}

void MessageManager::buttonPress(System& system, int button, int inputIndex, int repeatCount) {
    if (repeatCount == 1 && button == Button::Select && system.focusLockCount() == 0) {
        SelectIterator select;
        walk(system, select);
    }
    ButtonPressIterator press(button, inputIndex, repeatCount);
    walk(system, press);
}

void MessageManager::buttonRelease(System& system, int button, int inputIndex) {
    DeliverIterator release(2, 3, inputIndex, button, 0);
    walk(system, release);
    if (button == Button::Select) {
        DeselectIterator deselect;
        walk(system, deselect);
    }
}

void MessageManager::unicodePress(System& system, int character, int inputIndex, int repeatCount) {
    DeliverIterator press(4, 4, inputIndex, character, repeatCount);
    walk(system, press);
}

void MessageManager::unicodeRelease(System& system, int character, int inputIndex) {
    DeliverIterator release(5, 6, inputIndex, character, 0);
    walk(system, release);
}

}  // namespace kova
}  // namespace tarn
