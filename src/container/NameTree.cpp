#include <new>

#include "ObjectIndex.h"
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

enum Copied { NotBelow, Refused, Written };

// The full name of an entry from its directories upwards: measured first,
// then written from the end, with the outcome copyName gives for the same
// entry. NotBelow when the entry does not lie below root after all.
Copied copyUpwards(DirectoryLink* root, NameLink* link, char* buffer, int size) {
    const char* own = link->text();
    long length = own ? static_cast<long>(Memory::stringLength(own)) : 0;
    DirectoryLink* directory = link->parentDirectory();
    for (; directory && directory != root; directory = directory->parentDirectory()) {
        const char* text = directory->text();
        length += (text ? static_cast<long>(Memory::stringLength(text)) : 0) + 1;
    }
    if (directory != root) return NotBelow;
    buffer[0] = 0;
    if (length >= size) return Refused;  // refused whole, as copyName refuses it
    char* end = buffer + length;
    *end = 0;
    auto prepend = [&end](const char* text) {
        unsigned int count = text ? Memory::stringLength(text) : 0;
        end -= count;
        Memory::memoryCopy(end, text, count);
    };
    prepend(own);
    for (directory = link->parentDirectory(); directory != root;
         directory = directory->parentDirectory()) {
        *--end = '/';
        prepend(directory->text());
    }
    return Written;
}

}  // namespace

NameTree::NameTree() : DirectoryLink(nullptr) {
    objects_ = new (std::nothrow) ObjectIndex;
}

NameTree::~NameTree() {
    delete objects_;
    objects_ = nullptr;
}

// The one entry that holds the object is found through the table; an object
// filed twice is searched for depth-first, so the first entry goes.
bool NameTree::removeObject(System& system, Object* object) {
    NameLink* link = nullptr;
    int count = objects_ ? objects_->lookup(this, object, link) : -1;
    if (count == 0) return false;
    DirectoryLink* directory = link ? link->parentDirectory() : nullptr;
    if (count == 1 && directory && directory->removeEntry(link)) return true;
    return DirectoryLink::removeObject(system, object);
}

// Named objects release each other before any of them is destroyed.
bool NameTree::deleteAll(System& system) {
    return clearAll(system) && DirectoryLink::deleteAll(system);
}

// Saving asks this for every object it writes; the table answers at once
// for objects filed once and for objects not filed at all.
bool NameTree::copyObjectFullName(Object* object, char* buffer, int size) {
    if (buffer && size > 0 && object && objects_) {
        NameLink* link = nullptr;
        int count = objects_->lookup(this, object, link);
        if (count == 0) {
            buffer[0] = 0;
            return false;
        }
        Copied copied = count == 1 && link ? copyUpwards(this, link, buffer, size) : NotBelow;
        if (copied != NotBelow) return copied == Written;
    }
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
