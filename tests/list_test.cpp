// Handle-addressed object lists, the algorithms their base class builds on
// the handle primitives, and the base node-tree visitor.
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
    bool onStream(System&, Stream& stream) override { return stream.streamInt(value, "Value"); }
    const char* label = nullptr;
    bool refuseClear = false;
    int value = 0;
};
KOVA_IMPLEMENT_CLASS_NAMED(ListItem, "kova_test::ListItem", &Object::absoluteClass)

// Handles are given out from 1 in order, so tests name entries by number.
class ListTest : public HostTest<> {
protected:
    void TearDown() override {
        EXPECT_TRUE(list.clear(host));
        HostTest::TearDown();
    }
    ListItem* item(int value) {
        ListItem* made = make<ListItem>();
        return made->value = value, made;
    }
    void fill(std::vector<int> values) {
        for (int value : values)
            EXPECT_TRUE(list.appendObject(host, item(value)));
    }
    ListItem* at(int index) { return static_cast<ListItem*>(list.objectFromIndex(index)); }
    static int items() { return ListItem::absoluteClass()->classInstanceCount(); }
    // The values in list order ("-" for null, the focus starred), checking on
    // the way that every base algorithm agrees with the walk.
    std::string values() {
        std::string out;
        int index = 0;
        for (int h = list.firstHandle(), previous = 0; h; previous = h, h = list.nextHandle(h)) {
            auto* object = static_cast<ListItem*>(list.objectFromHandle(h));
            out += (out.empty() ? "" : " ") + (object ? std::to_string(object->value) : "-") +
                   (h == list.focusHandle() ? "*" : "");
            EXPECT_EQ((std::vector<int>{list.previousHandle(h), list.List::previousHandle(h),
                                        list.indexFromHandle(h), list.handleFromIndex(index),
                                        list.objectCountBeforeHandle(h)}),
                      (std::vector<int>{previous, previous, index, h, index}));
            EXPECT_EQ(object ? list.handleFromObject(object) : h, h);
            ++index;
        }
        EXPECT_TRUE(list.List::lastHandle() == list.lastHandle() && list.objectCount() == index);
        return out;
    }

    ObjectList list{ListItem::absoluteClass()};
};

TEST_F(ListTest, HandlesInsertionRemovalAndFocus) {
    EXPECT_EQ(values(), "");
    EXPECT_EQ((std::vector<int>{list.lastHandle(), list.focusHandle(), list.indexFromHandle(0),
                                list.handleFromIndex(-1), list.List::previousHandle(0),
                                list.previousHandle(0), list.nextHandle(0),
                                list.objectCountBeforeHandle(0), list.objectCountAfterHandle(0)}),
              (std::vector<int>{0, 0, -1, 0, 0, 0, 0, 0, 0}));
    list.remove(host, 0);
    // Appending and inserting leave the focus on the first entry made;
    // handle 0 appends, any other inserts before its entry.
    fill({1, 2});
    ASSERT_TRUE(list.addObject(host, 0, item(3)) && list.addObject(host, 1, item(0)) &&
                list.addObject(host, 3, item(25)));
    EXPECT_EQ(values() + " / " + std::to_string(list.objectCountAfterHandle(1)), "0 1* 2 25 3 / 3");

    // Removing the focus moves it to the first entry; removed handles are
    // no insertion points and are not given out again.
    std::vector<Object*> removed = {at(1), at(4), at(0)};  // handles 1, 3 and 4
    for (int h : {1, 3, 4})
        list.remove(host, h);
    EXPECT_EQ(values(), "2* 25");
    EXPECT_EQ((std::vector<int>{list.firstHandle(), list.lastHandle(), list.indexFromHandle(1),
                                list.objectCountBeforeHandle(1)}),
              (std::vector<int>{2, 5, -1, 2}));  // a dead handle counts every entry
    EXPECT_FALSE(list.addObject(host, 1, removed[0]));
    for (Object* object : removed)
        ASSERT_TRUE(list.appendObject(host, object));
    EXPECT_EQ(list.lastHandle(), 8);
}

TEST_F(ListTest, ClassIsCheckedOnInsertionOnlyAndANullEntryEndsTheBaseWalks) {
    Object* other = make<Object>();
    EXPECT_FALSE(list.appendObject(host, nullptr) || list.appendObject(host, other) ||
                 list.addObject(host, 0, other));
    fill({1, 2, 3, 4});
    EXPECT_FALSE(list.addObject(host, 1, other) || list.setObjectFromHandle(0, other) ||
                 list.handleFromObject(other));
    at(0)->label = "Hero";  // a name, else the class's name
    EXPECT_EQ(std::string(list.string(host, 1)) + list.string(host, 2) + list.string(host, 0),
              "HeroListItem<empty>");
    at(0)->label = nullptr;
    Object* two = at(1);  // any object may be set, null too
    ASSERT_TRUE(list.setObjectFromHandle(2, other) && list.handleFromObject(other) == 2 &&
                list.setObjectFromHandle(2, nullptr) && Object::clear(host, two));
    EXPECT_EQ((std::vector<int>{list.List::objectCount(), list.objectCountAfterHandle(1),
                                list.objectCountAfterHandle(2), list.objectCountBeforeHandle(4),
                                list.handleFromObject(nullptr)}),
              (std::vector<int>{1, 0, 2, 3, 2}));
    EXPECT_TRUE(list.List::clear(host));  // destroys up to the null entry, which goes too
    EXPECT_EQ(values(), "3* 4");

    // A list without a required class takes everything; destroyed, it
    // frees its entries but never its objects.
    ObjectList any(nullptr);
    EXPECT_TRUE(any.appendObject(host, other) && any.addObject(host, 1, at(0)) &&
                any.List::validClass() == Object::absoluteClass());
    EXPECT_TRUE(Object::clear(host, other));
}

TEST_F(ListTest, ClearReleasesOwnedObjectsUntilOneRefuses) {
    ListItem* named = item(5);
    named->label = "Kept";  // it belongs to the name directory: the list lets it go
    fill({1});
    ASSERT_TRUE(list.appendObject(host, named) && list.clear(host) && items() == 1);
    named->label = nullptr;

    // One that refuses stops either clear: the base one has removed the
    // entries it reached, the list's own leaves them holding null.
    fill({1, 2, 3});
    ListItem* stubborn = at(1);
    stubborn->refuseClear = true;
    EXPECT_FALSE(list.List::clear(host));
    EXPECT_EQ(values(), "3*");
    ASSERT_TRUE(list.appendObject(host, stubborn) && list.appendObject(host, named) &&
                !list.clear(host));
    EXPECT_EQ(values() + " / " + std::to_string(items()), "-* - 5 / 2");
    stubborn->refuseClear = false;
    EXPECT_TRUE(Object::clear(host, stubborn) && list.clear(host));
}

// The stream's replacements are stored in place and entries it nulls go; a
// null entry is passed as null and, staying null, goes; a refusal stops the
// pass.
TEST_F(ListTest, StreamAllStoresReplacementsAndRemovesNulledEntries) {
    fill({1, 2, 3, 4});
    std::vector<Object*> objects = {at(0), at(1), at(2), at(3)};
    ReferenceRecorder script, stop;
    script.replace = objects[1];
    script.replacement = item(20);
    script.drop = stop.refuse = objects[2];
    EXPECT_TRUE(list.streamAll(host, script) && script.seen == objects);
    EXPECT_EQ(script.labels, std::vector<std::string>(4, "Object:null"));
    EXPECT_EQ(values() + " / " + std::to_string(list.handleFromIndex(1)), "1* 20 4 / 2");
    ASSERT_TRUE(list.setObjectFromHandle(2, nullptr) && list.appendObject(host, objects[2]) &&
                list.appendObject(host, objects[1]));
    EXPECT_FALSE(list.streamAll(host, stop));
    EXPECT_EQ(stop.seen, (std::vector<Object*>{objects[0], nullptr, objects[3], objects[2]}));
    EXPECT_EQ(values(), "1* 4 3 2");
    Object::clear(host, script.replacement);
}

}  // namespace kova_test
