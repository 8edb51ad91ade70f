#include "kova/container.h"

namespace tarn {
namespace kova {

namespace {

// Builds a full name into a caller's buffer. Text that does not fit is
// counted but not written, so the buffer is never overrun and the caller can
// tell afterwards whether the whole name fitted.
class NameBuilder {
public:
    NameBuilder(char* buffer, int size) : buffer_(buffer), size_(size) { buffer_[0] = 0; }

    void append(const char* text) {
        for (; text && *text; ++text, ++length_) {
            if (length_ < size_ - 1) buffer_[length_] = *text;
        }
        terminate();
    }
    int length() const { return length_; }
    void cutTo(int length) {
        length_ = length;
        terminate();
    }
    bool fits() const { return length_ < size_; }

private:
    void terminate() { buffer_[length_ < size_ - 1 ? length_ : size_ - 1] = 0; }

    char* buffer_;
    int size_;
    int length_ = 0;
};

bool isTarget(NameLink* link, NameLink* target, Object* object) {
    if (target) return link == target;
    return !link->isDirectory() && link->object() == object;
}

// Depth-first, children before the next sibling: the same order in which
// entries are found and removed.
bool buildPath(NameLink* link, NameLink* target, Object* object, NameBuilder& name) {
    for (; link; link = link->nextSibling()) {
        if (isTarget(link, target, object)) {
            name.append(link->text());
            return true;
        }
        if (!link->isDirectory() || !link->childLink()) continue;
        int mark = name.length();
        name.append(link->text());
        name.append("/");
        if (buildPath(link->childLink(), target, object, name)) return true;
        name.cutTo(mark);
    }
    return false;
}

// A name that does not fit its buffer is refused whole: false and an empty
// buffer, as for an entry that is not in the directory, rather than a cut
// name that would find something else.
bool copyName(NameLink* first, NameLink* target, Object* object, char* buffer, int size) {
    if (!buffer || size <= 0) return false;
    NameBuilder name(buffer, size);
    if (!target && !object) return false;
    if (buildPath(first, target, object, name) && name.fits()) return true;
    buffer[0] = 0;
    return false;
}

}  // namespace

// Named objects release each other before any of them is destroyed.
bool NameTree::deleteAll(System& system) {
    return clearAll(system) && DirectoryLink::deleteAll(system);
}

bool NameTree::copyObjectFullName(Object* object, char* buffer, int size) {
    return copyName(childLink(), nullptr, object, buffer, size);
}

bool NameTree::copyPath(NameLink* link, char* buffer, int size) {
    return copyName(childLink(), link, nullptr, buffer, size);
}

bool NameTree::saveAll(System& system) {
    NameLink* first = childLink();
    return first ? first->save(system) : true;
}

}  // namespace kova
}  // namespace tarn
