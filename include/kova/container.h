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

// The visitor with which the node tree is searched and walked. Nodes hand it
// their references; it decides what to do with each node.
class KOVA_API Iterator {
public:
    enum SearchMode { SearchAll = 0, SearchFocused = 1, SearchEverything = 2 };

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

// An entry of the name directory. Destroying an entry destroys the rest of
// its sibling chain; objects are never destroyed with entries.
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
    virtual bool addObject(System& system, Object* object, const char* directoryPath);
    virtual DirectoryLink* addDirectory(System& system, const char* path);
    virtual bool clearAll(System& system);
    virtual bool deleteAll(System& system);
    virtual Object* findObjectHierarchical(System& system, const char* fullName);
    virtual NameLink* findLink(const char* text);

    NameLink* nextSibling() { return next_; }
    void setNextSibling(NameLink* next) { next_ = next; }

    static const char* pathSeparator(const char* text);

private:
    NameLink* next_ = nullptr;
};

class KOVA_API ObjectLink : public NameLink {
public:
    explicit ObjectLink(Object* object) : object_(object) {}

    const char* text() override;
    bool setText(const char* text) override;
    Object* object() override { return object_; }
    void setObject(Object* object) override { object_ = object; }
    bool clearAll(System& system) override;
    bool deleteAll(System& system) override;
    Object* findObjectHierarchical(System& system, const char* fullName) override;

private:
    Object* object_;
};

class KOVA_API DirectoryLink : public NameLink {
public:
    explicit DirectoryLink(const char* text);
    ~DirectoryLink() override;

    const char* text() override { return text_; }
    bool setText(const char* text) override;
    bool isDirectory() override { return true; }
    NameLink* childLink() override { return child_; }
    void setChildLink(NameLink* link) override { child_ = link; }
    bool addObject(System& system, Object* object, const char* directoryPath) override;
    DirectoryLink* addDirectory(System& system, const char* path) override;
    bool clearAll(System& system) override;
    bool deleteAll(System& system) override;
    Object* findObjectHierarchical(System& system, const char* fullName) override;
    NameLink* findLink(const char* text) override;

private:
    NameLink* child_ = nullptr;
    char* text_;
};

// The root of the name directory.
class KOVA_API NameTree : public DirectoryLink {
public:
    NameTree() : DirectoryLink(nullptr) {}

    bool deleteAll(System& system) override;
};

}  // namespace kova
}  // namespace tarn
