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

// ---- Trees of items ----------------------------------------------------------

class Action;
class Data;

// An item of a Tree. Items are stored by their tree in its own form, never as
// object records, so they have no run-time record of their own and count as
// Objects. Each level of a tree remembers one current item: the parent's child
// link names it (the tree's root at the top level), and the other items of the
// level are reached from it through the sibling links.
class KOVA_API TreeObject : public Object {
public:
    explicit TreeObject(TreeObject* parent = nullptr, TreeObject* previous = nullptr,
                        TreeObject* next = nullptr, TreeObject* child = nullptr);

    TreeObject* nextSibling() { return next_; }
    TreeObject* previousSibling() { return previous_; }
    TreeObject* child() { return child_; }
    TreeObject* parent() { return parent_; }
    // The item's handle in the tree that holds it; 0 while no tree does.
    int handle() { return handle_; }

private:
    friend class Tree;

    TreeObject* next_;
    TreeObject* previous_;
    TreeObject* child_;
    TreeObject* parent_;
    int handle_ = 0;
};

// An item of a NavigateTree: a description to show and an action to run. The
// item owns both (named ones belong to the name directory); assign them
// through the references.
class KOVA_API NavigateTreeObject : public TreeObject {
public:
    using TreeObject::TreeObject;

    bool onStream(System& system, Stream& stream) override;

    Data*& description() { return description_; }
    Action*& action() { return action_; }

private:
    Data* description_ = nullptr;
    Action* action_ = nullptr;
};

// A persistent tree of items in which every level remembers its current item.
// Operations name items by handles, 0 for none; treeObject turns a handle back
// into its item. A handle stays valid while its item lives (it is a slot
// number, since an item's address does not fit an int on every host) and may
// be given to a new item once its own is gone. The tree keeps its own name
// and, when named, is saved into an object file of its own. Walks over the
// items loop along sibling chains and climb by parent links, so neither long
// levels nor deep trees cost stack.
class KOVA_API Tree : public Object {
    KOVA_RUNTIME_CLASS(Tree)
public:
    Tree() = default;
    // Frees the name and the handle table. Items die only with onClear (or
    // removeHandle), which need the System.
    ~Tree() override;

    const char* name() override { return name_; }
    bool setName(const char* name) override;
    bool isStreamOwner() override { return true; }
    bool onClear(System& system, Stream& stream) override;
    bool onStream(System& system, Stream& stream) override;
    // Reading replaces the items the tree held; writing covers the items only.
    bool onLoad(System& system, IStream& stream) override;
    bool onSave(System& system, OStream& stream) override;

    virtual int copyDescription(System& system, int handle, char* buffer, int size);
    virtual TreeObject* createTreeObject(System& system, TreeObject* parent, TreeObject* previous,
                                         TreeObject* next, TreeObject* child);
    virtual void deleteTreeObject(System& system, TreeObject*& item);

    TreeObject* treeObject(int handle);
    int root() { return handleOf(root_); }
    int nextSibling(int handle);
    int previousSibling(int handle);
    int child(int handle);
    int parent(int handle);
    int firstSibling(int handle);
    int lastSibling(int handle);

    // Handle 0 names the top level for the child insertions; the others need
    // an item. Each returns the new item's handle, 0 when none was made.
    int insertChildItemFirst(System& system, int handle);
    int insertChildItemLast(System& system, int handle);
    int insertItemAfter(System& system, int handle);
    int insertItemBefore(System& system, int handle);
    bool removeHandle(System& system, int handle);
    void moveUp(int handle);
    void moveDown(int handle);
    void moveIntoNext(int handle);
    void moveIntoPrevious(int handle);
    void moveOut(int handle);
    void setFocus(int handle);

protected:
    TreeObject* rootItem() { return root_; }
    // The current item of the level below parent; the top level for null.
    TreeObject* currentChild(TreeObject* parent) { return parent ? parent->child_ : root_; }
    void setCurrentChild(TreeObject* parent, TreeObject* item);
    static int handleOf(TreeObject* item) { return item ? item->handle_ : 0; }
    static TreeObject* firstOf(TreeObject* item);
    static TreeObject* lastOf(TreeObject* item);
    // Counts a freshly constructed item and runs its onCreate; an item that
    // refuses is freed and null comes back.
    static TreeObject* adoptItem(System& system, TreeObject* item);

private:
    struct HandleSlot;

    TreeObject* makeItem(System& system, TreeObject* parent, TreeObject* previous,
                         TreeObject* next);
    void discardItem(System& system, TreeObject* item);
    bool assignHandle(TreeObject* item);
    void releaseHandle(int handle);
    bool destroyLevel(System& system, Stream& stream, TreeObject* start, bool stopOnRefusal);
    bool readItems(System& system, IStream& in);
    bool readFollowingItem(System& system, IStream& in, TreeObject*& item, int& phase);
    int insertChildItem(System& system, int handle, bool first);
    void swapWithNext(TreeObject* item);
    void moveInto(TreeObject* item, TreeObject* target);
    void takeOut(TreeObject* item);

    TreeObject* root_ = nullptr;
    char* name_ = nullptr;
    HandleSlot* slots_ = nullptr;
    int slotCapacity_ = 0;
    int slotsUsed_ = 0;
    int freeHandle_ = 0;  // the handle of the first free slot, 0 for none
};

// A tree navigated level by level. The cursor is the item whose children form
// the level being navigated; the navigation operations move the current item
// of that level, or the cursor itself, and report whether anything moved.
// Items are NavigateTreeObjects.
class KOVA_API NavigateTree : public Tree {
    KOVA_RUNTIME_CLASS(NavigateTree)
public:
    NavigateTree() = default;

    // After a successful read the cursor is on the root.
    bool onLoad(System& system, IStream& stream) override;
    int copyDescription(System& system, int handle, char* buffer, int size) override;
    TreeObject* createTreeObject(System& system, TreeObject* parent, TreeObject* previous,
                                 TreeObject* next, TreeObject* child) override;
    void deleteTreeObject(System& system, TreeObject*& item) override;

    NavigateTreeObject* navigateTreeObject(int handle);
    int focusHandle() { return handleOf(cursor()); }
    bool moveFocusOut();
    bool moveFocusIn();
    bool moveFocusNext();
    bool moveFocusPrevious();
    bool moveFocusFirst();
    bool moveFocusLast();
    bool moveFocusIndex(int index);
    bool callFocusAction(System& system, Rectangle& rect, Mode& mode);

private:
    TreeObject* cursor() { return cursor_ ? cursor_ : rootItem(); }
    bool makeCurrent(TreeObject* item);

    // Null stands on the root: a tree built in code starts there as a loaded
    // one does. Deleting the cursor's item moves the cursor to its parent.
    TreeObject* cursor_ = nullptr;
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
    // The entry as a directory, null for other entries.
    virtual DirectoryLink* directory() { return nullptr; }

    NameLink* nextSibling() { return next_; }
    // Relinking by hand: the directory holding this entry reads its chain
    // again before it next uses its index.
    void setNextSibling(NameLink* next);
    // The directory whose chain holds this entry; null for a root or an entry
    // not filed in a directory.
    DirectoryLink* parentDirectory() { return parent_; }

    // The first "/" or "\" in text, or null when there is none.
    static const char* pathSeparator(const char* text);

protected:
    // Destroys a chain of entries and everything below them without
    // recursing.
    static void releaseChildren(NameLink* first);

private:
    friend class DirectoryLink;

    NameLink* next_ = nullptr;
    DirectoryLink* parent_ = nullptr;
};

// An object entry. It shows the object's own name, so renaming the entry
// renames the object.
class KOVA_API ObjectLink : public NameLink {
public:
    explicit ObjectLink(Object* object) : object_(object) {}

    const char* text() override;
    bool setText(const char* text) override;
    Object* object() override { return object_; }
    void setObject(Object* object) override;
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

class NameIndex;
class ObjectIndex;

// A directory: directory entries first, sorted by text, then object entries
// sorted by object name (equal names keep the order they were added in).
// Beside its chain it keeps an index of its children, through which names are
// found by halving while the chain stands in that order; a chain out of order
// (an entry renamed in place) is walked instead, with the same answers as
// ever.
class KOVA_API DirectoryLink : public NameLink {
public:
    explicit DirectoryLink(const char* text);
    ~DirectoryLink() override;

    const char* text() override { return text_; }
    bool setText(const char* text) override;
    bool isDirectory() override { return true; }
    NameLink* childLink() override { return child_; }
    void setChildLink(NameLink* link) override;
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
    DirectoryLink* directory() override { return this; }

    // The search findObjectHierarchical makes once it has entered this
    // directory: name is relative to it.
    Object* findObjectBelow(System& system, const char* name);

protected:
    // The root of a tree keeps the table of which entry holds which object.
    ObjectIndex* objects_ = nullptr;

private:
    friend class NameLink;
    friend class ObjectLink;
    friend class NameTree;

    ObjectIndex* treeObjects();
    // Takes an entry out of this directory's chain and destroys it.
    bool removeEntry(NameLink* link);
    NameIndex* sortedIndex();
    DirectoryLink* findOrAddDirectory(const char* component);
    void insertChild(NameLink* before, NameLink* link);
    void unlinkChild(NameLink* before, NameLink* link);
    void adoptChain();
    void childrenRelinked();
    void childRenamed();
    void childObjectChanged(NameLink* link, Object* before, Object* after);

    NameLink* child_ = nullptr;
    char* text_;
    NameIndex* index_ = nullptr;
};

// The root of the name directory: no text, and it contributes nothing to
// full names.
class KOVA_API NameTree : public DirectoryLink {
public:
    NameTree();
    ~NameTree() override;

    bool removeObject(System& system, Object* object) override;
    bool deleteAll(System& system) override;
    bool copyObjectFullName(Object* object, char* buffer, int size) override;
    bool copyPath(NameLink* link, char* buffer, int size) override;
    bool saveAll(System& system);
};

}  // namespace kova
}  // namespace tarn
