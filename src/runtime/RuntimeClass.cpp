#include "TextHash.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

namespace {

const unsigned int kBuckets = 256;

unsigned int bucketOf(const char* text) {
    return text_hash::ofTail(text) % kBuckets;
}

}  // namespace

RuntimeClass*& RuntimeClass::head() {
    static RuntimeClass* first = nullptr;
    return first;
}

// The class chain's own look-up index: the loader looks a class up by name
// for every record it reads, so the chain keeps its records hashed by full
// and by short name beside the sorted order. Zero until first use, like the
// head.
RuntimeClass** RuntimeClass::buckets(bool shortNames) {
    static RuntimeClass* byFullName[kBuckets] = {};
    static RuntimeClass* byShortName[kBuckets] = {};
    return shortNames ? byShortName : byFullName;
}

RuntimeClass::RuntimeClass(const char* fullName) : fullName_(fullName) {
    const char* colon = Memory::stringCharReverse(fullName, ':');
    shortNameIndex_ = colon ? static_cast<int>(colon - fullName) + 1 : 0;
    link();
}

RuntimeClass::~RuntimeClass() = default;

// Keeps the chain sorted by short name; equal names stay in creation order.
void RuntimeClass::link() {
    RuntimeClass* predecessor = nullptr;
    for (RuntimeClass* c = head(); c; c = c->next_) {
        if (Memory::stringCompare(c->name(), name()) > 0) break;
        predecessor = c;
    }
    if (predecessor) {
        next_ = predecessor->next_;
        predecessor->next_ = this;
    } else {
        next_ = head();
        head() = this;
    }
    // At the end of its buckets, which thus list records in the order they
    // were linked: among records of one name that is also their chain order.
    RuntimeClass** slot = &buckets(false)[bucketOf(fullName_)];
    while (*slot)
        slot = &(*slot)->nextSameFullHash_;
    *slot = this;
    slot = &buckets(true)[bucketOf(name())];
    while (*slot)
        slot = &(*slot)->nextSameShortHash_;
    *slot = this;
}

RuntimeClass* RuntimeClass::parentClass() {
    return nullptr;
}
RuntimeObject* RuntimeClass::create() {
    return nullptr;
}
const char* RuntimeClass::description() {
    return RuntimeObject::description();
}
void RuntimeClass::increaseClassInstance() {}
void RuntimeClass::decreaseClassInstance() {}
int RuntimeClass::classInstanceCount() {
    return 0;
}
int RuntimeClass::classInstanceSize() {
    return 0;
}

bool RuntimeClass::is(RuntimeClass* c) {
    if (!c) return true;
    for (RuntimeClass* r = this; r; r = r->parentClass()) {
        if (r == c) return true;
    }
    return false;
}

bool RuntimeClass::is(const char* fullName) {
    for (RuntimeClass* r = this; r; r = r->parentClass()) {
        if (Memory::stringCompare(r->fullName_, fullName) == 0) return true;
    }
    return false;
}

RuntimeClass* RuntimeClass::firstClass(RuntimeClass* filter) {
    RuntimeClass* first = head();
    if (first && !first->is(filter)) return first->nextClass(filter);
    return first;
}

RuntimeClass* RuntimeClass::nextClass(RuntimeClass* filter) {
    for (RuntimeClass* c = next_; c; c = c->next_) {
        if (c->is(filter)) return c;
    }
    return nullptr;
}

bool RuntimeClass::isClass(void* p) {
    for (RuntimeClass* c = head(); c; c = c->next_) {
        if (c == p) return true;
    }
    return false;
}

// The first record in the chain of that full name, else the first of that
// short name.
RuntimeClass* RuntimeClass::findClass(const char* name) {
    if (!name) return nullptr;
    unsigned int bucket = bucketOf(name);
    for (RuntimeClass* c = buckets(false)[bucket]; c; c = c->nextSameFullHash_) {
        if (Memory::stringCompare(c->fullName_, name) == 0) return c;
    }
    for (RuntimeClass* c = buckets(true)[bucket]; c; c = c->nextSameShortHash_) {
        if (Memory::stringCompare(c->name(), name) == 0) return c;
    }
    return nullptr;
}

int RuntimeClass::totalClassInstanceCount() {
    int total = 0;
    for (RuntimeClass* c = head(); c; c = c->next_)
        total += c->classInstanceCount();
    return total;
}

int RuntimeClass::totalClassMemoryCount() {
    int total = 0;
    for (RuntimeClass* c = head(); c; c = c->next_) {
        total += c->classInstanceSize() * c->classInstanceCount();
    }
    return total;
}

}  // namespace kova
}  // namespace tarn
