// Handle-addressed object lists and the algorithms their base class builds on
// the handle primitives.
#include "test_support.h"

namespace kova_test {

// A list member with a value to tell it by and an optional name.
class ListItem : public Object {
    KOVA_RUNTIME_CLASS(ListItem)
public:
    const char* name() override { return label; }
    const char* label = nullptr;
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
                                        list.objectCountBeforeHandle(h),
                                        object ? list.handleFromObject(object) : h}),
                      (std::vector<int>{previous, previous, index, h, index, h}));
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
    EXPECT_TRUE(!list.addObject(host, 1, removed[0]) && list.appendObject(host, removed[0]) &&
                list.appendObject(host, removed[1]) && list.appendObject(host, removed[2]) &&
                list.lastHandle() == 8);
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

}  // namespace kova_test
