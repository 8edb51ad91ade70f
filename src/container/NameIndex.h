// The children of one directory of the name directory, in the order of its
// chain, kept in an array beside the chain.
//
// While the children stand in sorted order (directories by text, then object
// entries by name, every entry with a text) a name is found by halving the
// array instead of walking the chain. The answers are the ones the walk gives:
// the walk, too, stops at the first entry that sorts after the name, so on a
// sorted chain both land on the same entry. The order is checked again after
// every change the directory hears of (an entry renamed through the entry, a
// chain linked by hand); a chain out of order is walked as before. An object
// renamed through its own setName is not heard of: its directory goes on
// halving, which answers as the walk does as long as the new name keeps the
// entry in order.
#pragma once

#include "kova/container.h"

namespace tarn {
namespace kova {

class NameIndex {
public:
    NameIndex() = default;
    ~NameIndex();
    NameIndex(const NameIndex&) = delete;
    NameIndex& operator=(const NameIndex&) = delete;

    // Whether the array still holds the chain, entry for entry.
    bool current() const { return current_; }
    // The chain was changed without the index: it is read again when next needed.
    void forget() { current_ = false; }
    // A child's text changed: the order is checked again when next needed.
    void textsChanged() { orderKnown_ = false; }
    // Reads the chain that starts at first; false when memory runs out.
    bool rebuild(NameLink* first);

    // Keep the array in step with a change the caller makes to the chain. A
    // failed insert leaves the index forgotten rather than wrong.
    void insert(int position, NameLink* link);
    void erase(int position);

    // True when the chain is in the sorted order described above.
    bool sorted();

    int count() const { return count_; }
    int directoryCount() const { return directories_; }
    NameLink* at(int position) const { return links_[position]; }
    // Position of the entry itself, or -1.
    int find(NameLink* link) const;

    // On a sorted index: the first directory whose text is not below text
    // (directoryCount() when none), and the first object entry whose name is
    // not below / is above name (count() when none).
    int lowerDirectory(const char* text);
    int lowerObject(const char* name);
    int upperObject(const char* name);

private:
    bool reserve(int wanted);
    bool checkOrder();
    void shiftHints(int from, int by);

    NameLink** links_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
    int directories_ = 0;  // the leading directory entries
    // Where the last searches among the directories / object entries ended,
    // the latest first; only ever guesses, checked before they are used.
    int directoryHints_[2] = {};
    int objectHints_[2] = {};
    bool current_ = false;
    bool orderKnown_ = false;
    bool ordered_ = false;
};

}  // namespace kova
}  // namespace tarn
