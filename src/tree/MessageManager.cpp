#include "kova/node.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

namespace {

// Every routing walk starts at the root with the root mode.
void walk(System& system, Iterator& iterator) {
    iterator.iterate(system, system.firstNode(), system.clipRect(), system.mode());
}

}  // namespace

MessageManager::MessageManager(int count) {
    for (int i = 0; i <= count; ++i) {
        Message* record = newRecord();
        if (!record) break;
        record->next = free_;
        free_ = record;
    }
}

MessageManager::~MessageManager() {
    freeChain(free_);
    freeChain(head_);
}

// Allocation is not expected to fail; if it does, the message is dropped
// rather than written through a null record.
Message* MessageManager::newRecord() {
    void* memory = Memory::operator new(sizeof(Message));
    return memory ? new (memory) Message() : nullptr;
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
        if (!record) return;
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
        int first = truncateToInt(message->first);
        int second = truncateToInt(message->second);
        switch (message->type) {
            case Event::ButtonPress:
                buttonPress(system, first, message->inputIndex, second);
                break;
            case Event::ButtonRelease:
                buttonRelease(system, first, message->inputIndex);
                break;
            case Event::UnicodePress:
                unicodePress(system, first, message->inputIndex, second);
                break;
            case Event::UnicodeRelease:
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
    ButtonReleaseIterator release(button, inputIndex);
    walk(system, release);
    if (button == Button::Select) {
        DeselectIterator deselect;
        walk(system, deselect);
    }
}

void MessageManager::unicodePress(System& system, int character, int inputIndex, int repeatCount) {
    UnicodePressIterator press(character, inputIndex, repeatCount);
    walk(system, press);
}

void MessageManager::unicodeRelease(System& system, int character, int inputIndex) {
    UnicodeReleaseIterator release(character, inputIndex);
    walk(system, release);
}

}  // namespace kova
}  // namespace tarn
