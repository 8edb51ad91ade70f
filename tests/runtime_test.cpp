// Memory helpers, the class chain, and counted creation and destruction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {

// Objects whose hooks refuse on demand, and which list the hooks they run.
class HookObject : public Object {
    KOVA_RUNTIME_CLASS(HookObject)
public:
    static inline bool refuseCreate = false, refuseDestroy = false;
    static inline std::vector<std::string> hooks;
    static bool hook(const char* name, bool refuse) { return hooks.push_back(name), !refuse; }
    bool onCreate() override { return hook("onCreate", refuseCreate); }
    bool onDestroy() override { return hook("onDestroy", refuseDestroy); }
    ~HookObject() override { hook("destructor", false); }
};
KOVA_IMPLEMENT_CLASS_NAMED(HookObject, "kova_test::HookObject", &Object::absoluteClass)

// Its full name is HookObject's short name, and it joins the chain after it.
class ShadowObject : public Object {
    KOVA_RUNTIME_CLASS(ShadowObject)
};
KOVA_IMPLEMENT_CLASS_NAMED(ShadowObject, "HookObject", &Object::absoluteClass)

TEST(RuntimeTest, ChainOrderLookupsAndFamilies) {
    RuntimeClass* object = Object::absoluteClass();
    std::vector<RuntimeClass*> chain, objects, family;
    for (RuntimeClass* c = RuntimeClass::firstClass(nullptr); c; c = c->nextClass(nullptr)) {
        EXPECT_TRUE(RuntimeClass::isClass(c));
        EXPECT_LE(chain.empty() ? "" : std::string(chain.back()->name()), c->name());
        chain.push_back(c);
        if (c->is(object)) objects.push_back(c);
    }
    for (RuntimeClass* c = RuntimeClass::firstClass(object); c; c = c->nextClass(object))
        family.push_back(c);
    EXPECT_EQ(family, objects);
    EXPECT_STREQ(chain[0]->name(), "Action");
    auto hook = std::find(chain.begin(), chain.end(), HookObject::absoluteClass());
    ASSERT_LT(hook + 1, chain.end());
    EXPECT_EQ(hook[1], ShadowObject::absoluteClass());  // equal short names keep creation order
    int local = 0;
    EXPECT_FALSE(RuntimeClass::isClass(&local) || RuntimeClass::findClass(nullptr));

    // Full names are tried first, then short ones: the last row finds the
    // class whose full name it is.
    expectRows({"Node -> tarn::kova::Node", "tarn::kova::Node -> tarn::kova::Node", "node -> null",
                " -> null", "RuntimeObject -> RuntimeObject",
                "kova_test::HookObject -> kova_test::HookObject", "HookObject -> HookObject"},
               [](const std::string& name) {
                   RuntimeClass* found = RuntimeClass::findClass(name.c_str());
                   return found ? found->fullName() : "null";
               });
    // "class family -> is", the family by its full name: short names never match.
    expectRows({"Node tarn::kova::Object -> 1", "Node RuntimeObject -> 1", "Node Object -> 0",
                "Object tarn::kova::Node -> 0", "IStream tarn::kova::Object -> 0",
                "System tarn::kova::Object -> 1"},
               [](const std::string& row) {
                   std::size_t space = row.find(' ');
                   RuntimeClass* cls = RuntimeClass::findClass(row.substr(0, space).c_str());
                   return std::to_string(cls->is(row.substr(space + 1).c_str()));
               });
    EXPECT_TRUE(object->is(static_cast<RuntimeClass*>(nullptr)));
    EXPECT_EQ(System::absoluteClass()->parentClass(), object);
}

TEST(RuntimeTest, CreateAndDestroyAreCountedAndHooksMayRefuse) {
    RuntimeClass* cls = HookObject::absoluteClass();
    RuntimeObject* object = nullptr;
    ASSERT_TRUE(RuntimeObject::create(object, cls));
    EXPECT_EQ(object->actualClass(), cls);
    EXPECT_EQ(object->memorySize(), cls->classInstanceSize());
    EXPECT_EQ(RuntimeClass::totalClassMemoryCount(), cls->classInstanceSize());
    ASSERT_TRUE(RuntimeObject::create(object, cls));  // destroys what the reference held
    EXPECT_EQ(cls->classInstanceCount(), 1);
    EXPECT_TRUE(RuntimeObject::destroy(object));
    EXPECT_EQ(object, nullptr);
    // A refused creation releases the object uncounted.
    HookObject::refuseCreate = true;
    EXPECT_FALSE(RuntimeObject::create(object, cls));
    HookObject::refuseCreate = false;
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(RuntimeClass::totalClassMemoryCount(), 0);
    EXPECT_EQ(HookObject::hooks, (std::vector<std::string>{"onCreate", "onDestroy", "destructor",
                                                           "onCreate", "onDestroy", "destructor",
                                                           "onCreate", "onDestroy", "destructor"}));

    // A refusing onDestroy empties the reference but keeps the object alive.
    ASSERT_TRUE(RuntimeObject::create(object, cls));
    RuntimeObject* keeper = object;
    HookObject::refuseDestroy = true;
    EXPECT_FALSE(RuntimeObject::destroy(object));
    HookObject::refuseDestroy = false;
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(cls->classInstanceCount(), 1);
    EXPECT_FALSE(RuntimeObject::create(keeper, nullptr));  // destroys, then fails
    EXPECT_TRUE(keeper == nullptr && RuntimeObject::destroy(keeper));
    EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
}

TEST(MemoryTest, Strings) {
    unsigned short wide[8] = {0};
    EXPECT_EQ(Memory::wstringDuplicate(wide), nullptr);  // empty wide strings are kept as null
    Memory::stringCopy(wide, "A\xE9z");                  // zero-extended
    unsigned short* copy = Memory::wstringDuplicate(wide);
    EXPECT_EQ((std::vector<int>{copy[0], copy[1], copy[3],
                                static_cast<int>(Memory::wstringLength(copy))}),
              (std::vector<int>{'A', 0xE9, 0, 3}));
    Memory::wstringDelete(copy);
    wide[1] = 0x1234;
    char text[16];
    Memory::stringCopy(text, wide);
    EXPECT_STREQ(text, "A4z");  // the low byte of each unit
    // Bytes compare unsigned.
    EXPECT_EQ((std::vector<int>{Memory::stringCompare("a", "b"), Memory::stringCompare("b", "a"),
                                Memory::stringCompare("\xE0", "a"), Memory::stringCompare("s", "s"),
                                Memory::stringCompareNcs("HeLLo", "hello")}),
              (std::vector<int>{-1, 1, 1, 0, 0}));
    Memory::stringCopy(text, "a/b/c");
    EXPECT_EQ((std::vector<char*>{Memory::stringCharReverse(text, '/'),
                                  Memory::stringChar(text, '/'), Memory::stringChar(text, 'x')}),
              (std::vector<char*>{text + 3, text + 1, nullptr}));
    EXPECT_EQ(
        Memory::stringCharReplace(text, '/', '\\') + Memory::stringCharReplace(nullptr, 'a', 'b'),
        2);
    EXPECT_STREQ(text, "a\\b\\c");
}

TEST(MemoryTest, NumbersToAndFromText) {
    // "value decimals -> text": every digit of the stored value, cut, never rounded.
    expectRows({"-0.5 2 -> -0.50", "12 0 -> 12", "2.999 2 -> 2.99", "3 -1 -> 3.", "0 1 -> 0.0",
                "16777216 0 -> 16777216", "1e20 0 -> 100000002004087734272",
                "-3.40282347e38 1 -> -340282346638528859811704183484516925440.0",
                "0.1 9 -> 0.100000001", "-inf 2 -> -inf", "nan 2 -> nan"},
               [](const std::string& row) {
                   char* decimals = nullptr;
                   float value = std::strtof(row.c_str(), &decimals);
                   char out[64];
                   Memory::floatToString(value, std::atoi(decimals), out);
                   return std::string(out);
               });
    char low[16], zero[16];
    Memory::intToString(-2147483647 - 1, low);
    Memory::intToString(0, zero);
    EXPECT_EQ(std::string(low) + " " + zero, "-2147483648 0");

    unsigned short wide[80];
    std::fill(wide, wide + 79, '1');
    wide[79] = 0;
    EXPECT_TRUE(std::isinf(Memory::wstringToFloat(wide)));  // cut to 63 units, not overrun
    unsigned short small[] = {'-', '2', '.', '5', 0};
    EXPECT_EQ((std::vector<float>{Memory::stringToFloat("  3.25xyz"), Memory::stringToFloat("abc"),
                                  Memory::wstringToFloat(small)}),
              (std::vector<float>{3.25f, 0.0f, -2.5f}));
}

}  // namespace kova_test
