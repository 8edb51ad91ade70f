// Memory helpers, the class chain, and counted creation and destruction.
#include <cmath>
#include <cstdlib>

#include "test_support.h"

namespace kova_test {

// Objects which list the hooks they run, C for onCreate, D for onDestroy and
// ~ for the destructor, and refuse the hooks listed in refuse.
class HookObject : public Object {
    KOVA_RUNTIME_CLASS(HookObject)
public:
    static inline std::string hooks, refuse;
    static bool hook(char name) { return hooks += name, refuse.find(name) == std::string::npos; }
    bool onCreate() override { return hook('C'); }
    bool onDestroy() override { return hook('D'); }
    ~HookObject() override { hook('~'); }
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
    EXPECT_TRUE(family == objects && std::string(chain[0]->name()) == "Action");
    // Equal short names keep their creation order.
    auto hook = std::find(chain.begin(), chain.end(), HookObject::absoluteClass());
    EXPECT_TRUE(hook + 1 < chain.end() && hook[1] == ShadowObject::absoluteClass());
    int local = 0;
    EXPECT_FALSE(RuntimeClass::isClass(&local) || RuntimeClass::findClass(nullptr));

    // "name -> full name found" tries full names first, then short ones (the
    // last row finds the class whose full name it is); "class family -> is"
    // names the family by its full name: short names never match.
    expectRows({"Node -> tarn::kova::Node", "tarn::kova::Node -> tarn::kova::Node", "node -> null",
                " -> null", "RuntimeObject -> RuntimeObject",
                "kova_test::HookObject -> kova_test::HookObject", "HookObject -> HookObject",
                "Node tarn::kova::Object -> 1", "Node RuntimeObject -> 1", "Node Object -> 0",
                "Object tarn::kova::Node -> 0", "IStream tarn::kova::Object -> 0",
                "System tarn::kova::Object -> 1"},
               [](const std::string& row) {
                   std::size_t space = row.find(' ');
                   RuntimeClass* found = RuntimeClass::findClass(row.substr(0, space).c_str());
                   if (space != std::string::npos)
                       return std::to_string(found->is(row.substr(space + 1).c_str()));
                   return std::string(found ? found->fullName() : "null");
               });
}

// A new object in a held reference destroys the old one; a refused creation
// releases the object uncounted; a refusing onDestroy empties the reference
// but keeps the object alive; a slot takes its own family only.
TEST(RuntimeTest, CreateAndDestroyAreCountedAndHooksMayRefuse) {
    RuntimeClass* cls = HookObject::absoluteClass();
    RuntimeObject *object = nullptr, *keeper = nullptr;
    ASSERT_TRUE(RuntimeObject::create(object, cls) && object->actualClass() == cls);
    EXPECT_EQ(RuntimeClass::totalClassMemoryCount(), cls->classInstanceSize());
    ASSERT_TRUE(RuntimeObject::create(object, cls) && cls->classInstanceCount() == 1);
    EXPECT_TRUE(RuntimeObject::destroy(object) && object == nullptr);
    HookObject::refuse = "C";
    EXPECT_FALSE(RuntimeObject::create(object, cls) || object);
    EXPECT_EQ(RuntimeClass::totalClassMemoryCount(), 0);

    HookObject::refuse = "";
    ASSERT_TRUE(RuntimeObject::create(object, cls) && (keeper = object));
    HookObject::refuse = "D";
    EXPECT_FALSE(RuntimeObject::destroy(object) || object);
    HookObject::refuse = "";
    EXPECT_EQ(cls->classInstanceCount(), 1);
    EXPECT_FALSE(RuntimeObject::create(keeper, nullptr) || keeper);  // destroys, then fails
    EXPECT_TRUE(RuntimeObject::destroy(keeper));
    EXPECT_EQ(HookObject::hooks + std::to_string(RuntimeClass::totalClassInstanceCount()),
              "CD~CD~CD~CDD~0");

    TestHost host;
    Object* any = nullptr;
    Node* node = nullptr;
    EXPECT_FALSE(Object::create(host, any, static_cast<RuntimeClass*>(nullptr)) ||
                 Object::create(host, any, IStream::absoluteClass()) ||  // not an Object
                 Node::create(host, node, Pointer::absoluteClass()) || any || node);
}

TEST(MemoryTest, StringsAndNumbers) {
    unsigned short wide[8] = {'A', 0x1234, 'z', 0};
    char text[16];
    Memory::stringCopy(text, wide);        // the low byte of each unit
    Memory::stringCopy(wide + 4, "\xE9");  // zero-extended
    EXPECT_EQ(text + (" " + std::to_string(wide[4])) + " " + std::to_string(wide[5]), "A4z 233 0");
    EXPECT_EQ(Memory::wstringDuplicate(wide + 5), nullptr);  // empty wide strings are kept as null
    // Replacing counts the bytes it changed; a null text has none.
    EXPECT_EQ(Memory::stringCharReplace(text, 'z', 'y') + Memory::stringCharReplace(0, 0, 0), 1);
    // Bytes compare unsigned.
    EXPECT_EQ((std::vector<int>{Memory::stringCompare("a", "b"), Memory::stringCompare("b", "a"),
                                Memory::stringCompare("\xE0", "a"), Memory::stringCompare("s", "s"),
                                Memory::stringCompareNcs("HeLLo", "hello")}),
              (std::vector<int>{-1, 1, 1, 0, 0}));

    // Rows: "value decimals -> text" write every digit of the stored value,
    // cut, never rounded; "int value", "text" and "wide text" rows convert
    // the other ways (%g shows what a text reads as).
    expectRows(
        {"-0.5 2 -> -0.50", "12 0 -> 12", "2.999 2 -> 2.99", "3 -1 -> 3.", "0 1 -> 0.0",
         "16777216 0 -> 16777216", "1e20 0 -> 100000002004087734272",
         "-3.40282347e38 1 -> -340282346638528859811704183484516925440.0", "0.1 9 -> 0.100000001",
         "-inf 2 -> -inf", "nan 2 -> nan", "int -2147483648 -> -2147483648", "int 0 -> 0",
         "text   3.25xyz -> 3.25", "text abc -> 0", "wide -2.5 -> -2.5"},
        [](const std::string& row) {
            std::string kind = row.substr(0, row.find(' ')), rest = row.substr(kind.size() + 1);
            bool number = kind != "int" && kind != "text" && kind != "wide";
            int n = std::atoi(rest.c_str());
            char out[64];
            unsigned short wide[16] = {0};
            Memory::stringCopy(wide, rest.c_str());
            if (number) Memory::floatToString(std::strtof(kind.c_str(), nullptr), n, out);
            if (kind == "int") Memory::intToString(n, out);
            if (kind == "text") std::snprintf(out, 64, "%g", Memory::stringToFloat(rest.c_str()));
            if (kind == "wide") std::snprintf(out, 64, "%g", Memory::wstringToFloat(wide));
            return std::string(out);
        });
    unsigned short ones[80];
    std::fill(ones, ones + 79, '1');
    ones[79] = 0;
    EXPECT_TRUE(std::isinf(Memory::wstringToFloat(ones)));  // cut to 63 units, not overrun
}

}  // namespace kova_test
