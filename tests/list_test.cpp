// Handle-addressed object lists and the node-tree visitor.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace kova_test {

// A list member with one persisted field, an optional name and a switch that
// makes it refuse to be cleared.
class ListItem : public Object {
    KOVA_RUNTIME_CLASS(ListItem)
public:
    const char* name() override { return label; }
    bool onClear(System& system, Stream& stream) override {
        return !refuseClear && Object::onClear(system, stream);
    }
    bool onStream(System& system, Stream& stream) override {
        return Object::onStream(system, stream) && stream.streamInt(value, "Value");
    }
    const char* label = nullptr;
    bool refuseClear = false;
    int value = 0;
};
KOVA_IMPLEMENT_CLASS_NAMED(ListItem, "kova_test::ListItem", &Object::absoluteClass)

class SpecialListItem : public ListItem {
    KOVA_RUNTIME_CLASS(SpecialListItem)
};
KOVA_IMPLEMENT_CLASS_NAMED(SpecialListItem, "kova_test::SpecialListItem", &ListItem::absoluteClass)

class OtherItem : public Object {
    KOVA_RUNTIME_CLASS(OtherItem)
};
KOVA_IMPLEMENT_CLASS_NAMED(OtherItem, "kova_test::OtherItem", &Object::absoluteClass)

class ListTest : public HostTest<> {
protected:
    template <class T = ListItem>
    ListItem* newItem(int value) {
        ListItem* item = make<T>();
        item->value = value;
        return item;
    }
    // The items' values in list order; -1 for an entry holding null.
    static std::vector<int> values(List& list) {
        std::vector<int> result;
        for (int h = list.firstHandle(); h != 0; h = list.nextHandle(h)) {
            Object* object = list.objectFromHandle(h);
            result.push_back(object ? static_cast<ListItem*>(object)->value : -1);
        }
        return result;
    }
    static int items() { return ListItem::absoluteClass()->classInstanceCount(); }
};

TEST_F(ListTest, EmptyListHasNoHandles) {
    ObjectList list(ListItem::absoluteClass());
    EXPECT_EQ(list.firstHandle(), 0);
    EXPECT_EQ(list.lastHandle(), 0);
    EXPECT_EQ(list.focusHandle(), 0);
    EXPECT_EQ(list.objectCount(), 0);
    EXPECT_EQ(list.indexFromHandle(0), -1);
    EXPECT_EQ(list.handleFromIndex(0), 0);
    EXPECT_EQ(list.handleFromIndex(-1), 0);
    EXPECT_STREQ(list.string(host, 0), "<empty>");
    EXPECT_EQ(list.objectFromHandle(0), nullptr);
    EXPECT_EQ(list.objectFromIndex(0), nullptr);
    EXPECT_EQ(list.nextHandle(0), 0);
    EXPECT_EQ(list.previousHandle(0), 0);
    EXPECT_EQ(list.objectCountBeforeHandle(0), 0);
    EXPECT_EQ(list.objectCountAfterHandle(0), 0);
    EXPECT_EQ(list.List::lastHandle(), 0);
    EXPECT_EQ(list.validClass(), ListItem::absoluteClass());
    EXPECT_EQ(list.List::validClass(), Object::absoluteClass());
    list.remove(host, 0);
    EXPECT_TRUE(list.clear(host));
    EXPECT_TRUE(list.List::clear(host));

    ListItem* item = newItem(1);
    EXPECT_FALSE(list.setObjectFromHandle(0, item));
    EXPECT_EQ(list.handleFromObject(item), 0);
    EXPECT_TRUE(Object::clear(host, item));
}

TEST_F(ListTest, InsertRemoveAndFocus) {
    ObjectList list(ListItem::absoluteClass());
    ASSERT_TRUE(list.appendObject(host, newItem(1)));
    int first = list.firstHandle();
    EXPECT_NE(first, 0);
    EXPECT_EQ(list.lastHandle(), first);
    EXPECT_EQ(list.focusHandle(), first);

    // Appending never moves the focus.
    ASSERT_TRUE(list.appendObject(host, newItem(2)));
    ASSERT_TRUE(list.addObject(host, 0, newItem(3)));  // handle 0 appends
    EXPECT_EQ(values(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.focusHandle(), first);
    int second = list.handleFromIndex(1);
    int third = list.handleFromIndex(2);
    EXPECT_EQ(list.lastHandle(), third);
    EXPECT_EQ(list.handleFromIndex(3), 0);
    EXPECT_EQ(std::set<int>({first, second, third}).size(), 3u);

    // Inserting before the first entry makes a new first; last and focus stay.
    ASSERT_TRUE(list.addObject(host, first, newItem(0)));
    ASSERT_TRUE(list.addObject(host, third, newItem(25)));
    EXPECT_EQ(values(list), (std::vector<int>{0, 1, 2, 25, 3}));
    EXPECT_EQ(list.indexFromHandle(first), 1);
    EXPECT_EQ(list.focusHandle(), first);
    EXPECT_EQ(list.lastHandle(), third);
    int zero = list.firstHandle();
    int inserted = list.previousHandle(third);
    EXPECT_EQ(list.List::previousHandle(third), inserted);
    EXPECT_EQ(list.previousHandle(zero), 0);
    EXPECT_EQ(list.List::previousHandle(zero), 0);
    EXPECT_EQ(list.nextHandle(third), 0);
    EXPECT_EQ(list.List::lastHandle(), third);
    EXPECT_EQ(list.objectCountBeforeHandle(third), 4);
    EXPECT_EQ(list.objectCountAfterHandle(first), 3);
    EXPECT_EQ(static_cast<ListItem*>(list.objectFromIndex(3))->value, 25);

    // Removing the focus moves it to the first entry; removing the ends moves
    // them; the objects stay alive and the other handles keep naming their
    // entries.
    Object* one = list.objectFromHandle(first);
    list.remove(host, first);
    EXPECT_EQ(list.focusHandle(), zero);
    EXPECT_EQ(list.indexFromHandle(first), -1);
    Object* three = list.objectFromHandle(third);
    list.remove(host, third);
    Object* nought = list.objectFromHandle(zero);
    list.remove(host, zero);
    EXPECT_EQ(values(list), (std::vector<int>{2, 25}));
    EXPECT_EQ(list.firstHandle(), second);
    EXPECT_EQ(list.lastHandle(), inserted);
    EXPECT_EQ(list.focusHandle(), second);
    EXPECT_EQ(list.objectCountBeforeHandle(first), 2);  // dead handle: walks to the end
    EXPECT_EQ(list.objectCountAfterHandle(first), 0);
    EXPECT_EQ(items(), 5);

    // A dead handle is not an insertion point; new entries get fresh handles.
    EXPECT_FALSE(list.addObject(host, first, one));
    ASSERT_TRUE(list.appendObject(host, one));
    int fresh = list.lastHandle();
    for (int dead : {first, third, zero})
        EXPECT_NE(fresh, dead);

    // The focus is stored as given, without a check.
    list.setFocusHandle(12345);
    EXPECT_EQ(list.focusHandle(), 12345);

    EXPECT_TRUE(Object::clear(host, three));
    EXPECT_TRUE(Object::clear(host, nought));
    EXPECT_TRUE(list.clear(host));
    EXPECT_EQ(list.focusHandle(), 0);
    EXPECT_EQ(items(), 0);
}

TEST_F(ListTest, ClassIsCheckedOnInsertionOnly) {
    ObjectList list(ListItem::absoluteClass());
    Object* other = make<OtherItem>();
    EXPECT_FALSE(list.appendObject(host, nullptr));
    EXPECT_FALSE(list.appendObject(host, other));
    EXPECT_FALSE(list.addObject(host, 0, other));
    EXPECT_EQ(list.firstHandle(), 0);
    ASSERT_TRUE(list.appendObject(host, newItem<SpecialListItem>(1)));
    int h = list.firstHandle();
    EXPECT_FALSE(list.addObject(host, h, other));
    EXPECT_FALSE(list.addObject(host, h, nullptr));
    EXPECT_EQ(list.objectCount(), 1);

    // Any object may be stored into an existing entry.
    Object* special = list.objectFromHandle(h);
    EXPECT_TRUE(list.setObjectFromHandle(h, other));
    EXPECT_EQ(list.objectFromHandle(h), other);
    EXPECT_EQ(list.handleFromObject(other), h);

    // A list without a required class takes everything.
    ObjectList any(nullptr);
    EXPECT_EQ(any.validClass(), nullptr);
    EXPECT_TRUE(any.appendObject(host, special));
    EXPECT_TRUE(any.addObject(host, any.firstHandle(), newItem(2)));
    EXPECT_FALSE(any.appendObject(host, nullptr));
    EXPECT_TRUE(list.clear(host));
    EXPECT_TRUE(any.clear(host));
}

TEST_F(ListTest, NullEntryEndsTheBaseAlgorithms) {
    ObjectList list(ListItem::absoluteClass());
    for (int v : {1, 2, 3, 4})
        ASSERT_TRUE(list.appendObject(host, newItem(v)));
    int second = list.handleFromIndex(1);
    int fourth = list.lastHandle();
    Object* two = list.objectFromHandle(second);
    ASSERT_TRUE(list.setObjectFromHandle(second, nullptr));
    EXPECT_TRUE(Object::clear(host, two));

    EXPECT_EQ(list.objectCount(), 4);
    EXPECT_EQ(list.List::objectCount(), 1);
    EXPECT_EQ(list.objectCountAfterHandle(list.firstHandle()), 0);
    EXPECT_EQ(list.objectCountAfterHandle(second), 2);
    EXPECT_EQ(list.objectCountBeforeHandle(fourth), 3);
    EXPECT_EQ(list.handleFromObject(nullptr), second);
    EXPECT_STREQ(list.string(host, second), "<empty>");

    // The base clear destroys up to the null entry and removes it; the rest stays.
    EXPECT_TRUE(list.List::clear(host));
    EXPECT_EQ(values(list), (std::vector<int>{3, 4}));
    EXPECT_EQ(items(), 2);

    // The list's own clear goes past null entries.
    Object* three = list.objectFromHandle(list.firstHandle());
    ASSERT_TRUE(list.setObjectFromHandle(list.firstHandle(), nullptr));
    EXPECT_TRUE(Object::clear(host, three));
    EXPECT_TRUE(list.clear(host));
    EXPECT_EQ(list.firstHandle(), 0);
    EXPECT_EQ(items(), 0);
}

TEST_F(ListTest, EntryStrings) {
    ObjectList list(nullptr);
    ASSERT_TRUE(list.appendObject(host, newItem(1)));
    ASSERT_TRUE(list.appendObject(host, newItem<SpecialListItem>(2)));
    ASSERT_TRUE(list.appendObject(host, newItem(3)));
    ListItem* named = static_cast<ListItem*>(list.objectFromIndex(2));
    named->label = "Hero";
    EXPECT_STREQ(list.string(host, list.handleFromIndex(0)), "ListItem");
    EXPECT_STREQ(list.string(host, list.handleFromIndex(1)), "SpecialListItem");
    EXPECT_STREQ(list.string(host, list.handleFromIndex(2)), "Hero");
    EXPECT_STREQ(list.string(host, 0), "<empty>");
    named->label = nullptr;
    EXPECT_TRUE(list.clear(host));
}

TEST_F(ListTest, ClearReleasesOwnedObjects) {
    ObjectList list(ListItem::absoluteClass());
    for (int v : {1, 2, 3})
        ASSERT_TRUE(list.appendObject(host, newItem(v)));
    EXPECT_EQ(items(), 3);
    EXPECT_TRUE(list.clear(host));
    EXPECT_EQ(items(), 0);
    EXPECT_EQ(list.firstHandle(), 0);
    EXPECT_EQ(list.lastHandle(), 0);
    EXPECT_EQ(list.focusHandle(), 0);
    ASSERT_TRUE(list.appendObject(host, newItem(4)));  // usable again
    EXPECT_EQ(list.focusHandle(), list.firstHandle());

    // A named object belongs to the name directory: the list lets it go.
    ListItem* named = newItem(5);
    named->label = "Kept";
    ASSERT_TRUE(list.appendObject(host, named));
    EXPECT_TRUE(list.clear(host));
    EXPECT_EQ(items(), 1);
    named->label = nullptr;
    EXPECT_TRUE(Object::clear(host, named));

    // An object that refuses stops the clear; the entries stay, the objects
    // cleared so far are null.
    ListItem* stubborn = newItem(2);
    stubborn->refuseClear = true;
    for (Object* o : {static_cast<Object*>(newItem(1)), static_cast<Object*>(stubborn),
                      static_cast<Object*>(newItem(3))})
        ASSERT_TRUE(list.appendObject(host, o));
    EXPECT_FALSE(list.clear(host));
    EXPECT_EQ(values(list), (std::vector<int>{-1, -1, 3}));
    EXPECT_EQ(items(), 2);
    stubborn->refuseClear = false;
    EXPECT_TRUE(Object::clear(host, stubborn));
    EXPECT_TRUE(list.clear(host));

    // The base clear destroys in order through the primitives.
    for (int v : {1, 2})
        ASSERT_TRUE(list.appendObject(host, newItem(v)));
    EXPECT_TRUE(list.List::clear(host));
    EXPECT_EQ(list.firstHandle(), 0);
    EXPECT_EQ(items(), 0);

    // Destroying a list frees its entries but never its objects.
    ListItem* survivor = newItem(7);
    {
        ObjectList scoped(ListItem::absoluteClass());
        ASSERT_TRUE(scoped.appendObject(host, survivor));
    }
    EXPECT_EQ(items(), 1);
    EXPECT_TRUE(Object::clear(host, survivor));
}

TEST_F(ListTest, StreamAllVisitsEveryEntry) {
    ObjectList list(ListItem::absoluteClass());
    ReferenceRecorder none;
    EXPECT_TRUE(list.streamAll(host, none));
    EXPECT_TRUE(none.seen.empty());
    Stream refusing;  // a plain stream handles no field
    EXPECT_TRUE(list.streamAll(host, refusing));

    ListItem* item[4] = {newItem(1), newItem(2), newItem(3), newItem(4)};
    for (ListItem* item : item)
        ASSERT_TRUE(list.appendObject(host, item));
    int second = list.handleFromIndex(1);
    int fourth = list.handleFromIndex(3);
    EXPECT_FALSE(list.streamAll(host, refusing));
    EXPECT_EQ(list.objectCount(), 4);

    // Replaced references are stored, nulled entries removed; the entries keep
    // their handles and order.
    ListItem* replacement = newItem(20);
    ReferenceRecorder script;
    script.replace = item[1];
    script.replacement = replacement;
    script.drop = item[2];
    EXPECT_TRUE(list.streamAll(host, script));
    EXPECT_EQ(script.seen, (std::vector<Object*>{item[0], item[1], item[2], item[3]}));
    EXPECT_EQ(script.labels, std::vector<std::string>(4, "Object:null"));
    EXPECT_EQ(values(list), (std::vector<int>{1, 20, 4}));
    EXPECT_EQ(list.handleFromIndex(1), second);
    EXPECT_EQ(list.lastHandle(), fourth);

    // A null entry is passed as null and, staying null, is removed.
    ASSERT_TRUE(list.setObjectFromHandle(second, nullptr));
    ReferenceRecorder stop;
    stop.refuse = item[3];
    EXPECT_FALSE(list.streamAll(host, stop));
    EXPECT_EQ(stop.seen, (std::vector<Object*>{item[0], nullptr, item[3]}));
    EXPECT_EQ(stop.labels, std::vector<std::string>(3, "Object:null"));
    EXPECT_EQ(values(list), (std::vector<int>{1, 4}));

    // A releasing stream nulls every reference and so empties the list.
    Object* loose[3] = {item[1], item[2], replacement};
    for (Object* o : loose)
        ASSERT_TRUE(list.appendObject(host, o));
    ClearStream clearing(false);
    EXPECT_TRUE(list.streamAll(host, clearing));
    EXPECT_EQ(list.firstHandle(), 0);
    EXPECT_EQ(list.objectCount(), 0);
    EXPECT_EQ(items(), 0);
}

// Reads and writes report failure when the record reader or writer fails.
TEST_F(ListTest, LoadAndSaveStopAtFailingRecords) {
    ObjectList list(ListItem::absoluteClass());
    OStream sink;    // writes nothing
    IStream source;  // holds nothing
    EXPECT_FALSE(list.save(host, sink));
    EXPECT_FALSE(list.load(host, source));
    for (int v : {1, 2})
        ASSERT_TRUE(list.appendObject(host, newItem(v)));
    list.setFocusHandle(list.lastHandle());
    EXPECT_FALSE(list.save(host, sink));
    EXPECT_FALSE(list.onSave(host, sink));
    EXPECT_FALSE(list.load(host, source));
    EXPECT_EQ(values(list), (std::vector<int>{1, 2}));
    EXPECT_EQ(list.focusHandle(), list.firstHandle());
    EXPECT_EQ(items(), 2);
    EXPECT_TRUE(list.clear(host));
}

TEST_F(ListTest, SaveAndLoadRoundTrip) {
    ObjectList list(ListItem::absoluteClass());
    for (int v : {7, 8, 9})
        ASSERT_TRUE(list.appendObject(host, newItem(v)));
    FileOStream out;
    ASSERT_TRUE(list.save(host, out));
    EXPECT_TRUE(list.clear(host));

    ObjectList copy(ListItem::absoluteClass());
    MemoryIStream in(out.bytes());
    ASSERT_TRUE(copy.load(host, in)) << host.log.text;
    EXPECT_EQ(values(copy), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(copy.focusHandle(), copy.firstHandle());
    EXPECT_EQ(in.available(), 0);
    EXPECT_TRUE(copy.clear(host));
}

// A node that records what reaches it and may take button presses.
class ListProbeNode : public Node {
    KOVA_RUNTIME_CLASS(ListProbeNode)
public:
    bool onButtonPress(System&, Rectangle&, Mode&, int button, int, int) override {
        seen.push_back("press " + std::to_string(button));
        return takesPress;
    }
    std::string label;
    bool takesPress = false;
    std::vector<std::string> seen;
};
KOVA_IMPLEMENT_CLASS_NAMED(ListProbeNode, "kova_test::ListProbeNode", &Node::absoluteClass)

// Records the operations reaching it; follows next nodes and cuts the nodes
// labelled "cut" out of the chain through the referring slot.
class ChainIterator : public Iterator {
public:
    explicit ChainIterator(bool follow) : Iterator(SearchFocused), follow_(follow) {}
    void iterate(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        visits.push_back("iterate");
        Iterator::iterate(system, node, rect, mode);
    }
    void iterateNext(System& system, Node*& node, Rectangle& rect, Mode& mode) override {
        if (!node) return;
        ListProbeNode* probe = static_cast<ListProbeNode*>(node);
        visits.push_back(probe->label);
        if (!follow_) return;
        if (probe->label == "cut") {
            node = probe->nextNode(0);
            probe->nextNode(0) = nullptr;
            Node* cut = probe;
            EXPECT_TRUE(Node::clear(system, cut));
            iterateNext(system, node, rect, mode);
            return;
        }
        node->iterateIterator(system, mode, rect, *this);
    }
    std::vector<std::string> visits;

private:
    bool follow_;
};

TEST_F(ListTest, IteratorsWalkNodeChains) {
    Node* first = nullptr;
    Node** slot = &first;
    for (const char* label : {"a", "cut", "b"}) {
        make<ListProbeNode>(*slot)->label = label;
        slot = &(*slot)->nextNode(0);
    }
    Rectangle rect;
    Mode mode;

    // The base visitor goes nowhere and changes nothing.
    Iterator plain;
    EXPECT_EQ(plain.searchMode(), Iterator::SearchAll);
    Node* ref = first;
    plain.iterate(host, ref, rect, mode);
    plain.iterateChild(host, ref, rect, mode);
    plain.iterateNext(host, ref, rect, mode);
    EXPECT_EQ(ref, first);

    // A child goes through iterate, which ends in iterateNext.
    ChainIterator look(false);
    EXPECT_EQ(look.searchMode(), 1);
    look.iterateChild(host, first, rect, mode);
    look.iterateNext(host, first, rect, mode);
    EXPECT_EQ(look.visits, (std::vector<std::string>{"iterate", "a", "a"}));

    // A walking visitor follows the chain and may replace the referring slot.
    ChainIterator walk(true);
    walk.iterateChild(host, first, rect, mode);
    EXPECT_EQ(walk.visits, (std::vector<std::string>{"iterate", "a", "cut", "b"}));
    Node* b = first->nextNode(0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(static_cast<ListProbeNode*>(b)->label, "b");
    EXPECT_EQ(ListProbeNode::absoluteClass()->classInstanceCount(), 2);

    // sendEvent hands the event to the node's handler and returns its answer.
    EventData press;
    press.type = 1;
    press.first = 4.0f;
    EXPECT_FALSE(plain.sendEvent(host, b, rect, mode, press));
    static_cast<ListProbeNode*>(b)->takesPress = true;
    EXPECT_TRUE(plain.sendEvent(host, b, rect, mode, press));
    EXPECT_EQ(static_cast<ListProbeNode*>(b)->seen,
              (std::vector<std::string>{"press 4", "press 4"}));
    EXPECT_TRUE(Node::clear(host, first));
}

}  // namespace kova_test
