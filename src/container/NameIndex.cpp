#include "NameIndex.h"

#include <new>

namespace tarn {
namespace kova {

namespace {

// The order of Memory::stringCompare (bytes as unsigned), inline: names are
// short and differ early, and a search compares several of them.
int compareText(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    while (*x && *x == *y) {
        ++x;
        ++y;
    }
    return static_cast<int>(*x) - static_cast<int>(*y);
}

// Whether the entry at position sorts before the place a search for key ends
// at: below key, or not above it when equal entries are passed over.
bool before(NameLink* const* links, int position, const char* key, bool passEqual) {
    int order = compareText(links[position]->text(), key);
    return order < 0 || (passEqual && order == 0);
}

// Where the search ends when that is the hint or one of its neighbours; -1
// otherwise. At most three comparisons.
int nearHint(NameLink* const* links, int from, int to, int hint, const char* key, bool passEqual) {
    if (hint < from || hint > to) return -1;
    if (hint < to && before(links, hint, key, passEqual)) {
        return hint + 1 == to || !before(links, hint + 1, key, passEqual) ? hint + 1 : -1;
    }
    if (hint == from || before(links, hint - 1, key, passEqual)) return hint;
    return hint - 1 == from || before(links, hint - 2, key, passEqual) ? hint - 1 : -1;
}

// The first position in [from, to) whose entry does not sort before key
// (passing equal entries over or not); to when there is none. The range must
// be sorted. Names often come in order (a file's records, a game's
// registrations) or alternate between two places (a style shared by a row's
// texts), so the places where the last two searches ended are tried first.
int bound(NameLink* const* links, int from, int to, const char* key, bool passEqual, int* hints) {
    int position = nearHint(links, from, to, hints[0], key, passEqual);
    if (position < 0) position = nearHint(links, from, to, hints[1], key, passEqual);
    if (position < 0) {
        while (from < to) {
            int middle = from + (to - from) / 2;
            if (before(links, middle, key, passEqual)) {
                from = middle + 1;
            } else {
                to = middle;
            }
        }
        position = from;
    }
    if (position != hints[0]) {
        hints[1] = hints[0];
        hints[0] = position;
    }
    return position;
}

}  // namespace

NameIndex::~NameIndex() {
    delete[] links_;
}

bool NameIndex::reserve(int wanted) {
    if (wanted <= capacity_) return true;
    int capacity = capacity_ ? capacity_ : 8;
    while (capacity < wanted)
        capacity *= 2;
    NameLink** links = new (std::nothrow) NameLink*[static_cast<std::size_t>(capacity)];
    if (!links) return false;
    if (count_) Memory::memoryCopy(links, links_, sizeof(NameLink*) * count_);
    delete[] links_;
    links_ = links;
    capacity_ = capacity;
    return true;
}

bool NameIndex::rebuild(NameLink* first) {
    current_ = false;
    orderKnown_ = false;
    count_ = 0;
    directories_ = 0;
    bool leading = true;
    for (NameLink* link = first; link; link = link->nextSibling()) {
        if (!reserve(count_ + 1)) return false;
        links_[count_++] = link;
        leading = leading && link->isDirectory();
        if (leading) ++directories_;
    }
    current_ = true;
    return true;
}

void NameIndex::insert(int position, NameLink* link) {
    if (!current_ || !reserve(count_ + 1)) {
        current_ = false;
        return;
    }
    Memory::memoryMove(links_ + position + 1, links_ + position,
                       sizeof(NameLink*) * (count_ - position));
    links_[position] = link;
    ++count_;
    if (position <= directories_ && link->isDirectory()) ++directories_;
    shiftHints(position, 1);
}

void NameIndex::erase(int position) {
    if (!current_) return;
    if (position < directories_) --directories_;
    Memory::memoryMove(links_ + position, links_ + position + 1,
                       sizeof(NameLink*) * (count_ - position - 1));
    --count_;
    shiftHints(position + 1, -1);
}

// Entries from position on moved by the given count, and so did the places
// of searches that ended there.
void NameIndex::shiftHints(int from, int by) {
    for (int i = 0; i < 2; ++i) {
        if (directoryHints_[i] >= from) directoryHints_[i] += by;
        if (objectHints_[i] >= from) objectHints_[i] += by;
    }
}

int NameIndex::find(NameLink* link) const {
    for (int i = 0; i < count_; ++i) {
        if (links_[i] == link) return i;
    }
    return -1;
}

bool NameIndex::sorted() {
    if (!current_) return false;
    if (!orderKnown_) {
        ordered_ = checkOrder();
        orderKnown_ = true;
    }
    return ordered_;
}

// Directories strictly ascending (the walk that adds a directory stops at an
// equal one, so two never share a text), object entries ascending, every
// entry with a text and no directory after an object entry.
bool NameIndex::checkOrder() {
    const char* previous = nullptr;
    for (int i = 0; i < count_; ++i) {
        NameLink* link = links_[i];
        bool directory = i < directories_;
        const char* text = link->text();
        if (!text || link->isDirectory() != directory) return false;
        if (directory && link->directory() != link) return false;
        if (i == directories_) previous = nullptr;  // the objects start over
        if (previous) {
            int order = Memory::stringCompare(previous, text);
            if (order > 0 || (directory && order == 0)) return false;
        }
        previous = text;
    }
    return true;
}

int NameIndex::lowerDirectory(const char* text) {
    return bound(links_, 0, directories_, text, false, directoryHints_);
}

int NameIndex::lowerObject(const char* name) {
    return bound(links_, directories_, count_, name, false, objectHints_);
}

int NameIndex::upperObject(const char* name) {
    return bound(links_, directories_, count_, name, true, objectHints_);
}

}  // namespace kova
}  // namespace tarn
