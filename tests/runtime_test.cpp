// Memory helpers, the class chain, and counted creation and destruction.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "test_host.h"

namespace kova_test {

// Objects whose hooks refuse on demand, and which count their hook calls.
class HookObject : public Object {
    KOVA_RUNTIME_CLASS(HookObject)
public:
    static bool refuseCreate;
    static bool refuseSystemCreate;
    static bool refuseDestroy;
    static std::vector<std::string> hooks;

    bool onCreate() override {
        hooks.push_back("onCreate()");
        return !refuseCreate;
    }
    bool onCreate(System&) override {
        hooks.push_back("onCreate(System&)");
        return !refuseSystemCreate;
    }
    bool onClear(System& system, Stream& stream) override {
        hooks.push_back("onClear");
        return Object::onClear(system, stream);
    }
    bool onDestroy() override {
        hooks.push_back("onDestroy");
        return !refuseDestroy;
    }
    ~HookObject() override { hooks.push_back("destructor"); }
};
bool HookObject::refuseCreate = false;
bool HookObject::refuseSystemCreate = false;
bool HookObject::refuseDestroy = false;
std::vector<std::string> HookObject::hooks;
KOVA_IMPLEMENT_CLASS_NAMED(HookObject, "kova_test::HookObject", &Object::absoluteClass)

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        HookObject::refuseCreate = false;
        HookObject::refuseSystemCreate = false;
        HookObject::refuseDestroy = false;
        HookObject::hooks.clear();
    }
    void TearDown() override { EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0); }
};

TEST_F(RuntimeTest, ChainIsSortedByShortNameAndFindsBothNames) {
    RuntimeClass* previous = nullptr;
    int count = 0;
    for (RuntimeClass* c = RuntimeClass::firstClass(nullptr); c; c = c->nextClass(nullptr)) {
        if (previous) {
            EXPECT_LE(Memory::stringCompare(previous->name(), c->name()), 0) << c->name();
        }
        EXPECT_TRUE(RuntimeClass::isClass(c));
        previous = c;
        ++count;
    }
    EXPECT_GT(count, 10);

    RuntimeClass* node = Node::absoluteClass();
    EXPECT_STREQ(node->fullName(), "tarn::kova::Node");
    EXPECT_STREQ(node->name(), "Node");
    EXPECT_EQ(RuntimeClass::findClass("Node"), node);
    EXPECT_EQ(RuntimeClass::findClass("tarn::kova::Node"), node);
    EXPECT_EQ(RuntimeClass::findClass("node"), nullptr);
    EXPECT_EQ(RuntimeClass::findClass(""), nullptr);
    EXPECT_EQ(RuntimeClass::findClass(nullptr), nullptr);
    EXPECT_EQ(RuntimeClass::findClass("RuntimeObject"), RuntimeObject::absoluteClass());
    EXPECT_STREQ(RuntimeObject::absoluteClass()->name(), "RuntimeObject");
    EXPECT_EQ(RuntimeObject::absoluteClass()->parentClass(), nullptr);
    EXPECT_EQ(RuntimeClass::findClass("HookObject"), HookObject::absoluteClass());
    EXPECT_FALSE(RuntimeClass::isClass(&count));
}

TEST_F(RuntimeTest, IsWalksParents) {
    RuntimeClass* node = Node::absoluteClass();
    RuntimeClass* object = Object::absoluteClass();
    EXPECT_TRUE(node->is(static_cast<RuntimeClass*>(nullptr)));
    EXPECT_TRUE(node->is(object));
    EXPECT_TRUE(node->is(RuntimeObject::absoluteClass()));
    EXPECT_FALSE(object->is(node));
    EXPECT_TRUE(node->is("tarn::kova::Object"));
    EXPECT_FALSE(node->is("Object"));  // short names do not count
    EXPECT_EQ(IStream::absoluteClass()->parentClass(), RuntimeObject::absoluteClass());
    EXPECT_EQ(System::absoluteClass()->parentClass(), object);
}

TEST_F(RuntimeTest, FirstAndNextClassEnumerateOneFamily) {
    std::vector<std::string> seen;
    RuntimeClass* object = Object::absoluteClass();
    for (RuntimeClass* c = RuntimeClass::firstClass(object); c; c = c->nextClass(object)) {
        EXPECT_TRUE(c->is(object)) << c->name();
        seen.push_back(c->name());
    }
    int expected = 0;
    for (RuntimeClass* c = RuntimeClass::firstClass(nullptr); c; c = c->nextClass(nullptr)) {
        if (c->is(object)) ++expected;
    }
    EXPECT_EQ(static_cast<int>(seen.size()), expected);
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_LE(seen[i - 1], seen[i]);
    EXPECT_STREQ(RuntimeClass::firstClass(nullptr)->name(), "Action");
}

TEST_F(RuntimeTest, CreateAndDestroyAreCounted) {
    RuntimeClass* cls = HookObject::absoluteClass();
    RuntimeObject* object = nullptr;
    ASSERT_TRUE(RuntimeObject::create(object, cls));
    EXPECT_EQ(cls->classInstanceCount(), 1);
    EXPECT_EQ(object->actualClass(), cls);
    EXPECT_EQ(object->memorySize(), cls->classInstanceSize());
    EXPECT_EQ(RuntimeClass::totalClassMemoryCount(), cls->classInstanceSize());
    EXPECT_TRUE(RuntimeObject::destroy(object));
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(cls->classInstanceCount(), 0);
    EXPECT_EQ(RuntimeClass::totalClassMemoryCount(), 0);
    EXPECT_EQ(HookObject::hooks,
              (std::vector<std::string>{"onCreate()", "onDestroy", "destructor"}));

    RuntimeObject* none = nullptr;
    EXPECT_TRUE(RuntimeObject::destroy(none));
    EXPECT_FALSE(RuntimeObject::create(none, nullptr));
}

TEST_F(RuntimeTest, RefusingHooks) {
    RuntimeClass* cls = HookObject::absoluteClass();
    RuntimeObject* object = nullptr;
    HookObject::refuseCreate = true;
    EXPECT_FALSE(RuntimeObject::create(object, cls));
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(cls->classInstanceCount(), 0);
    EXPECT_EQ(HookObject::hooks,
              (std::vector<std::string>{"onCreate()", "onDestroy", "destructor"}));

    // A refusing onDestroy empties the reference but keeps the object alive.
    HookObject::refuseCreate = false;
    ASSERT_TRUE(RuntimeObject::create(object, cls));
    RuntimeObject* keeper = object;
    HookObject::refuseDestroy = true;
    EXPECT_FALSE(RuntimeObject::destroy(object));
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(cls->classInstanceCount(), 1);
    HookObject::refuseDestroy = false;
    EXPECT_TRUE(RuntimeObject::destroy(keeper));
    EXPECT_EQ(cls->classInstanceCount(), 0);
}

TEST_F(RuntimeTest, CreateDestroysWhatTheReferenceHeld) {
    RuntimeClass* cls = HookObject::absoluteClass();
    RuntimeObject* object = nullptr;
    ASSERT_TRUE(RuntimeObject::create(object, cls));
    RuntimeObject* first = object;
    ASSERT_TRUE(RuntimeObject::create(object, cls));
    EXPECT_NE(object, nullptr);
    EXPECT_EQ(cls->classInstanceCount(), 1);
    (void)first;
    EXPECT_FALSE(RuntimeObject::create(object, nullptr));
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(cls->classInstanceCount(), 0);
}

TEST(MemoryTest, Strings) {
    char* empty = Memory::stringDuplicate("");
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    Memory::stringDelete(empty);
    EXPECT_EQ(empty, nullptr);
    EXPECT_EQ(Memory::stringDuplicate(nullptr), nullptr);

    unsigned short wideEmpty[] = {0};
    EXPECT_EQ(Memory::wstringDuplicate(wideEmpty), nullptr);
    EXPECT_EQ(Memory::wstringDuplicate(nullptr), nullptr);
    EXPECT_EQ(Memory::wstringLength(nullptr), 0u);

    unsigned short wide[8];
    Memory::stringCopy(wide, "A\xE9z");
    EXPECT_EQ(wide[0], 'A');
    EXPECT_EQ(wide[1], 0x00E9);  // zero-extended, not sign-extended
    EXPECT_EQ(wide[3], 0);
    unsigned short* copy = Memory::wstringDuplicate(wide);
    EXPECT_EQ(Memory::wstringLength(copy), 3u);
    Memory::wstringDelete(copy);
    EXPECT_EQ(copy, nullptr);
    wide[1] = 0x1234;
    char narrow[8];
    Memory::stringCopy(narrow, wide);
    EXPECT_EQ(static_cast<unsigned char>(narrow[1]), 0x34);

    EXPECT_EQ(Memory::stringCompare("a", "b"), -1);
    EXPECT_EQ(Memory::stringCompare("b", "a"), 1);
    EXPECT_EQ(Memory::stringCompare("\xE0", "a"), 1);  // bytes compare unsigned
    EXPECT_EQ(Memory::stringCompare("same", "same"), 0);
    EXPECT_EQ(Memory::stringCompareNcs("HeLLo", "hello"), 0);
    EXPECT_LT(Memory::stringCompareNcs("abc", "ABD"), 0);

    char path[] = "a/b/c";
    EXPECT_EQ(Memory::stringCharReverse(path, '/'), path + 3);
    EXPECT_EQ(Memory::stringChar(path, '/'), path + 1);
    EXPECT_EQ(Memory::stringChar(path, 'x'), nullptr);
    EXPECT_EQ(Memory::stringCharReplace(path, '/', '\\'), 2);
    EXPECT_STREQ(path, "a\\b\\c");
    EXPECT_EQ(Memory::stringCharReplace(nullptr, 'a', 'b'), 0);

    char joined[16] = "ab";
    Memory::stringConcatenate(joined, "cd");
    EXPECT_STREQ(joined, "abcd");
}

TEST(MemoryTest, NumbersToAndFromText) {
    char out[64];
    Memory::floatToString(-0.5f, 2, out);
    EXPECT_STREQ(out, "-0.50");
    Memory::floatToString(12.0f, 0, out);
    EXPECT_STREQ(out, "12");
    Memory::floatToString(2.999f, 2, out);
    EXPECT_STREQ(out, "2.99");  // truncated, never rounded
    Memory::floatToString(3.0f, -1, out);
    EXPECT_STREQ(out, "3.");
    Memory::floatToString(0.0f, 1, out);
    EXPECT_STREQ(out, "0.0");
    Memory::floatToString(16777216.0f, 0, out);
    EXPECT_STREQ(out, "16777216");
    Memory::floatToString(1e20f, 0, out);  // every digit of the stored value
    EXPECT_STREQ(out, "100000002004087734272");
    Memory::floatToString(-3.40282347e38f, 1, out);
    EXPECT_STREQ(out, "-340282346638528859811704183484516925440.0");
    Memory::floatToString(0.1f, 9, out);
    EXPECT_STREQ(out, "0.100000001");

    Memory::intToString(-2147483647 - 1, out);
    EXPECT_STREQ(out, "-2147483648");
    Memory::intToString(0, out);
    EXPECT_STREQ(out, "0");

    EXPECT_FLOAT_EQ(Memory::stringToFloat("  3.25xyz"), 3.25f);
    EXPECT_FLOAT_EQ(Memory::stringToFloat("abc"), 0.0f);
    unsigned short wide[80];
    for (int i = 0; i < 79; ++i)
        wide[i] = '1';
    wide[79] = 0;
    EXPECT_TRUE(std::isinf(Memory::wstringToFloat(wide)));  // only 63 units are read
    unsigned short small[] = {'-', '2', '.', '5', 0};
    EXPECT_FLOAT_EQ(Memory::wstringToFloat(small), -2.5f);
}

}  // namespace kova_test
