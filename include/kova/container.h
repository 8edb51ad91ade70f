// Kova containers: the node-tree visitor, trees of items and the directory of
// named objects.
#pragma once

#include "kova/geometry.h"
#include "kova/runtime.h"

namespace tarn {
namespace kova {

class Node;
class Mode;
struct EventData;

// ---- Lists -------------------------------------------------------------------

// A sequence of object references addressed by opaque handles. A handle names
// one entry of one list; 0 names none. Handles are not positions: convert with
// indexFromHandle / handleFromIndex. Every positional operation, search and the
// persistence of a list are written here once, on top of the primitives
// firstHandle, nextHandle, objectFromHandle, setObjectFromHandle, remove and
// appendObject. Several of these algorithms take the first entry holding null
// as the end of the list.
class KOVA_API List {
public:
    List() = default;
    virtual ~List() = default;
    List(const List&) = delete;
    List& operator=(const List&) = delete;

    virtual bool clear(System& system);
    virtual int firstHandle() { return 0; }
    virtual int lastHandle();
    virtual int nextHandle(int) { return 0; }
    virtual int previousHandle(int handle);
    virtual int objectCount();
    virtual int objectCountBeforeHandle(int handle);
    virtual int objectCountAfterHandle(int handle);
    virtual Object* objectFromHandle(int) { return nullptr; }
    virtual bool setObjectFromHandle(int, Object*) { return false; }
    virtual Object* objectFromIndex(int index);
    virtual int indexFromHandle(int handle);
    virtual int handleFromIndex(int index);
    virtual int handleFromObject(Object* object);
    virtual RuntimeClass* validClass();
    virtual bool appendObject(System&, Object*) { return false; }
    virtual bool addObject(System&, int, Object*) { return false; }
    virtual void remove(System&, int) {}
    virtual const char* string(System& system, int handle);
    virtual bool onLoad(System& system, IStream& in);
    virtual bool onSave(System& system, OStream& out);

    bool load(System& system, IStream& in) { return onLoad(system, in); }
    bool save(System& system, OStream& out) { return onSave(system, out); }
    // Passes every entry's reference through the stream; entries whose
    // reference the stream nulls are removed.
    bool streamAll(System& system, Stream& stream);
};

// One entry of an ObjectList. The handle is the entry's identity within its
// list (see ObjectList).
struct KOVA_API ObjectListEntry {
    ObjectListEntry* next = nullptr;
    ObjectListEntry* previous = nullptr;
    Object* object = nullptr;
    int handle = 0;
};

// A doubly linked list that accepts objects of one run-time class (or any
// class derived from it) and remembers a focus entry. It owns its entries,
// never its objects: only clear destroys them.
//
// Handles: an entry's address does not fit in a 32-bit handle on every host,
// so each entry carries a number drawn from a per-list counter that starts at
// 1. A handle is therefore stable for the entry's whole life, never 0, and not
// given again while its entry exists (once the counter has wrapped, numbers
// still in use are skipped). Looking a handle up walks the list, starting
// with the entry last looked up so that walks with nextHandle stay linear.
class KOVA_API ObjectList : public List {
public:
    explicit ObjectList(RuntimeClass* requiredClass);
    ~ObjectList() override;

    bool clear(System& system) override;
    int firstHandle() override;
    int lastHandle() override;
    int nextHandle(int handle) override;
    int previousHandle(int handle) override;
    int objectCount() override;
    Object* objectFromHandle(int handle) override;
    bool setObjectFromHandle(int handle, Object* object) override;
    RuntimeClass* validClass() override { return requiredClass_; }
    bool appendObject(System& system, Object* object) override;
    bool addObject(System& system, int handle, Object* object) override;
    void remove(System& system, int handle) override;
    bool onLoad(System& system, IStream& in) override;
    virtual int focusHandle() { return focus_; }
    // Stored as given, without a check.
    virtual void setFocusHandle(int handle) { focus_ = handle; }

private:
    bool accepts(Object* object);
    ObjectListEntry* newEntry(Object* object);
    ObjectListEntry* findEntry(int handle);
    int newHandle();
    void freeEntries();

    ObjectListEntry* first_ = nullptr;
    ObjectListEntry* last_ = nullptr;
    int focus_ = 0;  // the focus entry's handle, 0 for none
    RuntimeClass* requiredClass_;
    ObjectListEntry* cursor_ = nullptr;  // the entry last looked up
    int handleCounter_ = 1;
    bool handlesWrapped_ = false;
};

// ---- Node-tree visitor ---------------------------------------------------------

// The visitor with which the node tree is searched and walked. Nodes hand it
// their references; it decides what to do with each node.
class KOVA_API Iterator {
public:
    // Which sub-trees nodes hand over. Path nodes: SearchAll both the screen
    // being hidden and the one being shown, SearchFocused only the screen being
    // shown (where the focus lives), SearchHidden only the screen being hidden.
    enum SearchMode { SearchAll = 0, SearchFocused = 1, SearchHidden = 2 };

    explicit Iterator(SearchMode searchMode = SearchAll) : searchMode_(searchMode) {}
    virtual ~Iterator() = default;

    SearchMode searchMode() const { return searchMode_; }

    virtual void iterate(System& system, Node*& node, Rectangle& rect, Mode& mode);
    virtual void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode);
    virtual void iterateChild(System& system, Node*& node, Rectangle& rect, Mode& mode);

    bool sendEvent(System& system, Node* node, Rectangle& rect, Mode& mode, EventData& data);

private:
    SearchMode searchMode_;
};

// Base of trees of items.
class KOVA_API Tree : public Object {
    KOVA_RUNTIME_CLASS(Tree)
public:
    Tree() = default;
};

class DirectoryLink;

// ---- Name directory ------------------------------------------------------------

// An entry of the name directory. Operations that walk the tree work on
// sibling chains: called on an entry, they handle it (and a directory's
// children) and then the rest of its chain, so a call on a directory's first
// child covers the whole directory. Chains are walked in loops; only the
// nesting of directories costs stack. Destroying an entry destroys the rest
// of its sibling chain; objects are never destroyed with entries.
class KOVA_API NameLink {
public:
    NameLink() = default;
    virtual ~NameLink();
    NameLink(const NameLink&) = delete;
    NameLink& operator=(const NameLink&) = delete;

    virtual const char* text() { return nullptr; }
    virtual bool setText(const char*) { return false; }
    virtual Object* object() { return nullptr; }
    virtual void setObject(Object*) {}
    virtual bool isDirectory() { return false; }
    virtual NameLink* childLink() { return nullptr; }
    virtual void setChildLink(NameLink*) {}
    virtual bool save(System& system);
    virtual bool exists(Object* object);
    virtual bool addObject(System& system, Object* object, const char* directoryPath);
    virtual DirectoryLink* addDirectory(System& system, const char* path);
    virtual bool removeObject(System& system, Object* object);
    virtual bool removeDirectory(System& system, NameLink* link);
    virtual bool clearAll(System& system);
    virtual bool deleteAll(System& system);
    virtual Object* findObjectHierarchical(System& system, const char* fullName);
    virtual NameLink* findObjectLinkHierarchical(System& system, Object* object);
    virtual NameLink* findLink(const char* text);
    virtual DirectoryLink* findObjectDirectory(Object* object);
    virtual bool copyObjectFullName(Object* object, char* buffer, int size);
    virtual bool copyPath(NameLink* link, char* buffer, int size);
    virtual bool streamAll(System& system, Stream& stream);

    NameLink* nextSibling() { return next_; }
    void setNextSibling(NameLink* next) { next_ = next; }

    // The first "/" or "\" in text, or null when there is none.
    static const char* pathSeparator(const char* text);

protected:
    // Destroys a chain of entries and everything below them without
    // recursing.
    static void releaseChildren(NameLink* first);

private:
    NameLink* next_ = nullptr;
};

// An object entry. It shows the object's own name, so renaming the entry
// renames the object.
class KOVA_API ObjectLink : public NameLink {
public:
    explicit ObjectLink(Object* object) : object_(object) {}

    const char* text() override;
    bool setText(const char* text) override;
    Object* object() override { return object_; }
    void setObject(Object* object) override { object_ = object; }
    bool save(System& system) override;
    bool exists(Object* object) override;
    bool clearAll(System& system) override;
    bool deleteAll(System& system) override;
    Object* findObjectHierarchical(System& system, const char* fullName) override;
    NameLink* findObjectLinkHierarchical(System& system, Object* object) override;
    bool streamAll(System& system, Stream& stream) override;

private:
    Object* object_;
};

// A directory: directory entries first, sorted by text, then object entries
// sorted by object name (equal names keep the order they were added in).
class KOVA_API DirectoryLink : public NameLink {
public:
    explicit DirectoryLink(const char* text);
    ~DirectoryLink() override;

    const char* text() override { return text_; }
    bool setText(const char* text) override;
    bool isDirectory() override { return true; }
    NameLink* childLink() override { return child_; }
    void setChildLink(NameLink* link) override { child_ = link; }
    bool save(System& system) override;
    bool exists(Object* object) override;
    bool addObject(System& system, Object* object, const char* directoryPath) override;
    DirectoryLink* addDirectory(System& system, const char* path) override;
    bool removeObject(System& system, Object* object) override;
    bool removeDirectory(System& system, NameLink* link) override;
    bool clearAll(System& system) override;
    bool deleteAll(System& system) override;
    Object* findObjectHierarchical(System& system, const char* fullName) override;
    NameLink* findObjectLinkHierarchical(System& system, Object* object) override;
    NameLink* findLink(const char* text) override;
    DirectoryLink* findObjectDirectory(Object* object) override;
    bool streamAll(System& system, Stream& stream) override;

private:
    DirectoryLink* findOrAddDirectory(const char* component);
    void insertChild(NameLink* before, NameLink* link);
    void unlinkChild(NameLink* before, NameLink* link);

    NameLink* child_ = nullptr;
    char* text_;
};

// The root of the name directory: no text, and it contributes nothing to
// full names.
class KOVA_API NameTree : public DirectoryLink {
public:
    NameTree() : DirectoryLink(nullptr) {}

    bool deleteAll(System& system) override;
    bool copyObjectFullName(Object* object, char* buffer, int size) override;
    bool copyPath(NameLink* link, char* buffer, int size) override;
    bool saveAll(System& system);
};

}  // namespace kova
}  // namespace tarn
