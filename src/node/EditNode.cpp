#include <climits>

#include "PictureQuad.h"
#include "kova/data.h"
#include "kova/node.h"
#include "kova/stream.h"
#include "kova/style.h"
#include "kova/system.h"

namespace tarn {
namespace kova {

KOVA_IMPLEMENT_CLASS(EditNode, Node)

namespace {

const float BlinkHalfPeriod = 0.4f;  // seconds on, then as long off
const float CursorWidth = 2.0f;
const int FirstPrintable = ' ';
const int LastPrintable = 'z';
const char AboveEnd = 64;  // Down turns it into 'A', the first letter

// A working copy of the edited text with room for one more character. It
// lives for one edit; the variable's own set makes a copy of its own anyway.
// The length is what was copied: a character whose low byte is 0 ends the
// copy, as it would end any narrow text.
class TextCopy {
public:
    TextCopy(System& system, Data& data) {
        int length = data.stringLength(system);
        if (length <= INT_MAX - 2)
            text = Memory::stringCreate(static_cast<std::size_t>(length) + 2);
        if (!text) return;
        int copied = data.stringCopy(system, text, length + 1);
        this->length = copied < length ? copied : length;
        text[this->length] = 0;
    }
    ~TextCopy() { Memory::stringDelete(text); }
    TextCopy(const TextCopy&) = delete;
    TextCopy& operator=(const TextCopy&) = delete;

    // at lies in 0 ... length; the room for one more character was made.
    void insert(int at, char character) {
        for (int i = length + 1; i > at; --i)
            text[i] = text[i - 1];
        text[at] = character;
        ++length;
    }
    // at lies in 0 ... length - 1.
    void remove(int at) {
        for (int i = at; i < length; ++i)
            text[i] = text[i + 1];
        --length;
    }

    char* text = nullptr;
    int length = 0;
};

float advanceOf(const CharacterMetrics& m) {
    return (m.width + m.after) + m.before;
}

}  // namespace

// The cursor shows while the timer is at 0 or above. A timer that is not
// below the half period (a NaN from the host included) starts the off half.
bool EditNode::onUpdate(System& system, Mode& mode, Rectangle& rect, float elapsed) {
    if (!Node::onUpdate(system, mode, rect, elapsed)) return false;
    blink_ += elapsed;
    if (!(blink_ < BlinkHalfPeriod)) blink_ = -BlinkHalfPeriod;
    return true;
}

// Only presses of input index 1 edit. A Select that ends editing is not taken,
// so an action bound to Select around the field runs when editing ends.
bool EditNode::onButtonPress(System& system, Rectangle& rect, Mode&, int button, int inputIndex,
                             int) {
    if (inputIndex != 1) return false;
    if (button == Button::Select) {
        if (editing_) {
            editing_ = false;
            system.decreaseLockCount();
            return false;
        }
        editing_ = true;
        system.increaseLockCount();
    }
    if (!editing_ || !string_) return false;
    int length = string_->stringLength(system);
    clampCursor(length);
    switch (button) {
        case Button::Leftwards:
            if (cursor_ >= 1) --cursor_;
            break;
        case Button::Rightwards:
            if (cursor_ < length) ++cursor_;
            break;
        case Button::Upwards:
            cycleCharacter(system, -1);
            break;
        case Button::Downwards:
            cycleCharacter(system, 1);
            break;
        case Button::Delete:
            if (cursor_ < length) removeCharacter(system, cursor_);
            break;
        case Button::Backspace:
            if (cursor_ >= 1) {
                removeCharacter(system, cursor_ - 1);
                --cursor_;
            }
            break;
        default:
            break;
    }
    scrollToCursor(system, rect);
    return true;
}

// A typed character is inserted by its low 8 bits. One whose low 8 bits are
// 0 would end the text at the cursor and is dropped; so is one that the
// length cap refuses. Both are still taken: the field is being typed in.
bool EditNode::onUnicodePress(System& system, Rectangle& rect, Mode&, int character, int, int) {
    if (!editing_ || !string_) return false;
    char byte = static_cast<char>(character & 0xFF);
    if (byte == 0) return true;
    TextCopy copy(system, *string_);
    if (!copy.text) return true;
    clampCursor(copy.length);
    if (mayInsert(copy.length)) {
        copy.insert(cursor_, byte);
        string_->set(system, copy.text);
        ++cursor_;
    }
    scrollToCursor(system, rect);
    return true;
}

// "Max characters" caps every edit that makes the text longer: typing and
// the character that Up or Down add at the end. Shortening is always
// allowed, also for a text that the host made longer than the cap. Any
// negative cap (-1 in files) means no limit; a cap of 0 keeps the text
// from growing at all.
bool EditNode::mayInsert(int length) const {
    return maxCharacters_ < 0 || length < maxCharacters_;
}

// The variable may have been shortened behind the field's back.
void EditNode::clampCursor(int length) {
    if (cursor_ > length) cursor_ = length;
    if (cursor_ < 0) cursor_ = 0;
}

// Up (step -1) and Down (step +1) cycle the character under the cursor
// through the printable range; at the end of the text they first add one
// (Up a space that becomes 'z', Down an '@' that becomes 'A').
void EditNode::cycleCharacter(System& system, int step) {
    TextCopy copy(system, *string_);
    if (!copy.text) return;
    clampCursor(copy.length);
    if (cursor_ == copy.length) {
        if (!mayInsert(copy.length)) return;
        copy.insert(cursor_, step < 0 ? static_cast<char>(FirstPrintable) : AboveEnd);
    }
    int character = static_cast<unsigned char>(copy.text[cursor_]) + step;
    if (step < 0 && character < FirstPrintable) character = LastPrintable;
    if (step > 0 && character > LastPrintable) character = FirstPrintable;
    copy.text[cursor_] = static_cast<char>(character);
    string_->set(system, copy.text);
}

void EditNode::removeCharacter(System& system, int at) {
    TextCopy copy(system, *string_);
    if (!copy.text || at < 0 || at >= copy.length) return;
    copy.remove(at);
    string_->set(system, copy.text);
}

// Scrolls back to a cursor left of the view; for a cursor right of it, keeps
// as many characters before the cursor as fit in the area's width.
void EditNode::scrollToCursor(System& system, Rectangle& rect) {
    if (!string_) return;
    if (cursor_ <= scrollStart_) {
        scrollStart_ = cursor_;
        return;
    }
    float room = rect.width;
    for (int i = cursor_ - 1; i >= scrollStart_; --i) {
        CharacterMetrics m;
        system.charMetrics(string_->character(system, i), font_, m);
        room -= advanceOf(m);
        if (room <= 0.0f) {
            scrollStart_ = i + 1;
            return;
        }
    }
}

// Characters from the scroll start while the pen is left of the right edge;
// one that starts inside is painted whole and the clip rectangle cuts it.
// The cursor bar stands where the pen was when it reached the cursor, so it
// is left out when the cursor lies outside the painted part.
void EditNode::onPaint(System& system, Mode&, Rectangle& rect, Rectangle* clip, EffectPipe& pipe) {
    if (!string_) return;
    const float right = rect.x + rect.width;
    const float base = rect.y + system.fontHeight(font_);
    float pen = rect.x;
    bool cursorReached = false;
    float cursorX = 0.0f;
    for (int i = scrollStart_ < 0 ? 0 : scrollStart_; i < INT_MAX; ++i) {
        if (i == cursor_) {
            cursorReached = true;
            cursorX = pen;
        }
        int character = string_->character(system, i);
        if (character == 0 || !(pen < right)) break;
        CharacterMetrics m;
        system.charMetrics(character, font_, m);
        PaintData data;
        pictureQuad(data, Rectangle{pen + m.before, base - m.ascent, m.width, m.height, rect.z},
                    clip);
        if (!pipe.charPaint(system, character, font_, i, data)) return;
        pen += advanceOf(m);
    }
    if (editing_ && blink_ >= 0.0f && cursorReached) paintCursor(system, cursorX, rect, clip, pipe);
}

// A bar one line high, drawn as picture 0.
void EditNode::paintCursor(System& system, float x, Rectangle& rect, Rectangle* clip,
                           EffectPipe& pipe) {
    PaintData data;
    pictureQuad(data, Rectangle{x, rect.y, CursorWidth, system.fontHeight(font_), rect.z}, clip);
    pipe.picturePaint(system, 0, data);
}

// A field that goes away while it is being edited gives the focus lock back;
// otherwise the focus would stay frozen for good.
bool EditNode::onClear(System& system, Stream& stream) {
    if (editing_) {
        editing_ = false;
        system.decreaseLockCount();
    }
    return Node::onClear(system, stream);
}

bool EditNode::onStream(System& system, Stream& stream) {
    return Node::onStream(system, stream) && stream.streamFont(system, font_, "Font") &&
           stream.streamData(system, string_, "String", nullptr) &&
           stream.streamInt(maxCharacters_, "Max characters(-1 = no limit)");
}

}  // namespace kova
}  // namespace tarn
