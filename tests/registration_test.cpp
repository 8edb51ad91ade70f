// Registering, re-registering, naming and calling objects through the System.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// A variable that counts its creation steps (refusing them when named
// "Refuser"), and holds an owned object and a shared variable.
class RegistrationData : public Data {
    KOVA_RUNTIME_CLASS(RegistrationData)
public:
    using Data::Data;
    bool onCreate(System&) override {
        ++creations;
        return !name() || std::strcmp(name(), "Refuser") != 0;
    }
    bool onStream(System& system, Stream& stream) override {
        return Data::onStream(system, stream) &&
               stream.streamObject(system, owned, "Owned", nullptr) &&
               stream.streamData(system, source, "Source", nullptr);
    }
    int creations = 0;
    Object* owned = nullptr;
    Data* source = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(RegistrationData, "kova_test::RegistrationData", &Data::absoluteClass)

// An object that keeps no name.
class Nameless : public Object {};

int dataCount() {
    return RegistrationData::absoluteClass()->classInstanceCount();
}

}  // namespace

class RegistrationTest : public HostTest<> {
protected:
    std::string fullName(Object* object) {
        char buffer[256];
        return host.copyObjectFullName(object, buffer, sizeof(buffer)) ? buffer : "<none>";
    }
};

// Rows: "call name directory -> outcome and log", with "null" for a null
// pointer and "-" for no name or no directory; reRegisterCreated is a
// re-registration whose creation step the host has done. Game/Score is taken
// (and stays Game's first object entry). A kept
// variable is created once, counted and found under its full name; any other
// is left uncounted and out of the directory.
TEST_F(RegistrationTest, RegisteringOutcomesAndLogLines) {
    ASSERT_NE(host.registerObject(new RegistrationData("Score"), "Game"), nullptr);
    expectRows(
        {"register Time Game -> kept", "register Bold - -> kept",
         "register Points Game/Score -> Kova: Error: Adding named object to nodetree (Points "
         "Game/Score)\r\n",
         "register null Game -> Kova: Error: Cannot register null pointers\r\n",
         "register - Game -> Kova: Error: Cannot register objects without name\r\n",
         "register Refuser Game -> Kova: Error: register onCreate returned false (Refuser "
         "Game)\r\n",
         "register Refuser - -> Kova: Error: register onCreate returned false (Refuser )\r\n",
         "reRegister New Game -> kept", "reRegisterCreated Done - -> kept",
         "reRegister null Game -> Kova: Error: Cannot reregister null pointers\r\n",
         "reRegister - Game -> Kova: Error: Cannot reregister objects without name\r\n",
         "reRegister Refuser Game -> Kova: Error: reRegister onCreate returned false (Refuser "
         "Game)\r\n",
         "reRegister Blocked Game/Score -> Kova: Error: Adding named object to nodetree (Blocked "
         "Game/Score)\r\n"},
        [&](const std::string& row) {
            std::istringstream in(row);
            std::string call, name, directory;
            in >> call >> name >> directory;
            RegistrationData* data = nullptr;
            if (name != "null") data = new RegistrationData(name == "-" ? nullptr : name.c_str());
            const char* path = directory == "-" ? nullptr : directory.c_str();
            int before = dataCount();
            host.log.text.clear();
            Object* result = call == "register"
                                 ? host.registerObject(data, path)
                                 : host.reRegisterObject(data, path, true, call != "reRegister");
            bool kept = result && result == data;
            EXPECT_EQ(dataCount(), before + kept);
            EXPECT_EQ(data ? data->creations : 0, name == "-" || !data ? 0 : 1);
            std::string full = (path ? directory + "/" : "") + name;
            EXPECT_EQ(fullName(data), kept ? full : "<none>");
            EXPECT_EQ(host.findNamedObject(full.c_str()), kept ? data : nullptr);
            if (!kept) delete data;
            return (kept ? "kept" : "") + host.log.text;
        });
}

TEST_F(RegistrationTest, AddingCreatesNothingAndReRegisteringReplacesTheOld) {
    // Adding to and removing from the directory neither creates nor counts.
    RegistrationData kept("Kept");
    ASSERT_TRUE(host.addNamedObject(&kept, "Shelf"));
    EXPECT_EQ(host.findNamedObject("Shelf/Kept"), &kept);
    EXPECT_TRUE(host.removeNamedObject(&kept));
    EXPECT_FALSE(host.removeNamedObject(&kept) || host.addNamedObject(nullptr, nullptr));
    EXPECT_EQ(fullName(&kept) + kept.name(), "<none>Kept");
    EXPECT_EQ(kept.creations + dataCount(), 0);

    // Re-registering moves every reference to the new object and destroys
    // the old one with what it owned.
    auto* old = new RegistrationData("Lives");
    ASSERT_EQ(host.registerData(old, "Game"), old);
    old->owned = make<RegistrationData>();  // released with the old variable
    auto* mirror = new RegistrationData("Mirror");
    mirror->source = old;
    ASSERT_EQ(host.registerData(mirror, nullptr), mirror);
    ASSERT_EQ(dataCount(), 3);

    auto* fresh = new RegistrationData("Lives");
    EXPECT_EQ(host.reRegisterObject(fresh, "Game", true, false), nullptr);
    EXPECT_EQ(fresh->creations, 1);
    EXPECT_EQ(host.findNamedObject("Game/Lives"), fresh);
    EXPECT_EQ(mirror->source, fresh);
    EXPECT_EQ(dataCount(), 2);  // fresh and mirror; old and what it owned are gone
    NameLink* game = host.nameTree()->findLink("Game");
    EXPECT_EQ(game->childLink()->object(), fresh);
    EXPECT_EQ(game->childLink()->nextSibling(), nullptr);
    // The same object again replaces nothing.
    EXPECT_EQ(host.reRegisterObject(fresh, "Game", true, false), fresh);
    EXPECT_EQ(dataCount(), 2);
    EXPECT_EQ(host.log.text, "");
}

// Rows: "object path -> result, name, full name", applied in order; "-" is a
// null path or name, "=" the object's own name, D a directory of 255
// characters (the longest taken).
TEST_F(RegistrationTest, SetObjectNamePlacesAndRenames) {
    RegistrationData* object = make<RegistrationData>();
    RegistrationData* other = make<RegistrationData>();
    Nameless nameless;
    const std::string D(255, 'd');
    expectRows(
        {"object a/b\\c -> true c a/b/c", "object a/b\\c -> true c a/b/c",
         "other - -> true - <none>", "other a/b/c -> false - <none>", "other a -> false - <none>",
         "object - -> false c a/b/c", "object x -> true x x", "object = -> true x x",
         "object D/y -> true y <none>", "object De/z -> false y <none>",
         "nameless n -> false - <none>", "null n -> false - <none>"},
        [&](const std::string& row) {
            std::istringstream in(row);
            std::string target, path;
            in >> target >> path;
            Object* o = target == "object"  ? object
                        : target == "other" ? other
                        : target == "null"  ? nullptr
                                            : static_cast<Object*>(&nameless);
            if (path[0] == 'D') path = D + path.substr(1);
            const char* text = path == "-" ? nullptr : path == "=" ? o->name() : path.c_str();
            bool ok = host.setObjectName(o, text);
            const char* name = o ? o->name() : nullptr;
            return std::string(ok ? "true " : "false ") + (name ? name : "-") + " " + fullName(o);
        });
    EXPECT_EQ(host.nameTree()->findLink("a")->findLink("b")->childLink(), nullptr);  // moved once
    EXPECT_EQ(host.nameTree()->findObjectDirectory(object)->text(), D);
    EXPECT_EQ(host.findNamedObject("x"), nullptr);

    EXPECT_FALSE(host.isNameableObject(nullptr));
    EXPECT_TRUE(host.isNameableObject(object) && other->canHaveName(host));  // unnamed, it can
    EXPECT_FALSE(nameless.canHaveName(host));
    Object::clear(host, other);
}

TEST_F(RegistrationTest, CallingFunctionsByName) {
    ASSERT_NE(host.registerFunction(new Function("Quit"), "Menu"), nullptr);
    ASSERT_NE(host.registerData(new RegistrationData("Score"), nullptr), nullptr);
    // Only a named function logs its call; the call's answer is the result.
    expectRows(
        {"Menu\\Quit -> true Kova: FunctionCall: Quit\r\n", "Score -> false ", "Missing -> false "},
        [&](const std::string& name) {
            host.log.text.clear();
            bool called = host.callFunction(name.c_str());
            return (called ? "true " : "false ") + host.log.text;
        });
    EXPECT_FALSE(host.callFunction(nullptr));

    // A function made by class name has no name and logs nothing, until named.
    Object* plain = nullptr;
    ASSERT_TRUE(Object::create(host, plain, RuntimeClass::findClass("Function")));
    EXPECT_TRUE(static_cast<Function*>(plain)->call(host));
    EXPECT_EQ(host.log.text, "");
    ASSERT_TRUE(plain->setName("Later") && plain->setName(plain->name()));  // its own name back
    EXPECT_TRUE(static_cast<Function*>(plain)->call(host));
    EXPECT_EQ(host.log.text, "Kova: FunctionCall: Later\r\n");
    RuntimeObject::destroy(plain);
}

}  // namespace kova_test
