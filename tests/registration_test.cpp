// Registering, re-registering, naming and calling objects through the System.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// A variable that keeps its own name, counts its creation steps, and holds
// an owned object and a shared variable through its field list.
class RegistrationData : public Named<Data> {
    KOVA_RUNTIME_CLASS(RegistrationData)
public:
    using Named::Named;
    bool onCreate(System&) override {
        ++creations;
        return !refuseCreate;
    }
    bool onStream(System& system, Stream& stream) override {
        return Data::onStream(system, stream) &&
               stream.streamObject(system, owned, "Owned", nullptr) &&
               stream.streamData(system, source, "Source", nullptr);
    }
    int creations = 0;
    bool refuseCreate = false;
    Object* owned = nullptr;
    Data* source = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(RegistrationData, "kova_test::RegistrationData", &Data::absoluteClass)

// A screen element that shows a variable.
class RegistrationNode : public Node {
    KOVA_RUNTIME_CLASS(RegistrationNode)
public:
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) && stream.streamData(system, data, "Data", nullptr);
    }
    Data* data = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(RegistrationNode, "kova_test::RegistrationNode", &Node::absoluteClass)

// An object that keeps no name.
class Nameless : public Object {};

// A host function that counts its calls.
class CountedFunction : public Function {
public:
    explicit CountedFunction(const char* name, bool result) : Function(name), result_(result) {}
    bool call(System&) override {
        ++calls;
        return result_;
    }
    int calls = 0;

private:
    bool result_;
};

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

    // Two screen nodes showing the same variable, as the first node.
    void showOnScreen(Data* data) {
        make<RegistrationNode>(host.firstNode())->data = data;
        make<RegistrationNode>(host.firstNode()->nextNode(0))->data = data;
    }
    Data* shown(int index) {
        Node* node = host.firstNode();
        if (index) node = node->nextNode(0);
        return static_cast<RegistrationNode*>(node)->data;
    }
};

TEST_F(RegistrationTest, RegisterAndFindGameScore) {
    auto* score = new RegistrationData("Score");
    ASSERT_EQ(host.registerData(score, "Game"), score);
    EXPECT_EQ(score->creations, 1);
    EXPECT_EQ(dataCount(), 1);
    EXPECT_EQ(host.findNamedObject("Game/Score"), score);
    EXPECT_EQ(host.findNamedObject("Game\\Score"), score);
    EXPECT_EQ(host.findNamedObject("Score"), nullptr);
    EXPECT_EQ(fullName(score), "Game/Score");
    EXPECT_EQ(host.log.text, "");

    // Game holds an object named Score, so Game/Score cannot be a directory.
    auto* points = new RegistrationData("Points");
    EXPECT_EQ(host.registerObject(points, "Game/Score"), nullptr);
    EXPECT_EQ(host.log.text,
              "Kova: Error: Adding named object to nodetree (Points Game/Score)\r\n");
    EXPECT_EQ(points->creations, 1);
    EXPECT_EQ(dataCount(), 1);
    EXPECT_EQ(fullName(points), "<none>");
    delete points;

    host.log.text.clear();
    EXPECT_EQ(host.registerObject(nullptr, "Game"), nullptr);
    RegistrationData unnamed;
    EXPECT_EQ(host.registerObject(&unnamed, "Game"), nullptr);
    EXPECT_EQ(unnamed.creations, 0);
    auto* refuser = new RegistrationData("Refuser");
    refuser->refuseCreate = true;
    EXPECT_EQ(host.registerObject(refuser, "Game"), nullptr);
    EXPECT_EQ(host.registerObject(refuser, nullptr), nullptr);
    EXPECT_EQ(host.log.text,
              "Kova: Error: Cannot register null pointers\r\n"
              "Kova: Error: Cannot register objects without name\r\n"
              "Kova: Error: register onCreate returned false (Refuser Game)\r\n"
              "Kova: Error: register onCreate returned false (Refuser )\r\n");
    EXPECT_EQ(dataCount(), 1);
    delete refuser;

    auto* quit = new Function("Quit");
    auto* bold = new Style("Bold", 3);
    EXPECT_EQ(host.registerFunction(quit, "Menu"), quit);
    EXPECT_EQ(host.registerStyle(bold, nullptr), bold);
    EXPECT_EQ(fullName(bold), "Bold");
    EXPECT_EQ(host.findNamedObject("Menu/Quit"), quit);
}

TEST_F(RegistrationTest, AddingAndRemovingNamedObjectsCreatesNothing) {
    RegistrationData kept("Kept");
    host.log.text.clear();
    ASSERT_TRUE(host.addNamedObject(&kept, "Shelf"));
    EXPECT_EQ(kept.creations, 0);
    EXPECT_EQ(dataCount(), 0);
    EXPECT_EQ(host.findNamedObject("Shelf/Kept"), &kept);
    EXPECT_FALSE(host.addNamedObject(nullptr, nullptr));
    ASSERT_TRUE(host.removeNamedObject(&kept));
    EXPECT_FALSE(host.removeNamedObject(&kept));
    EXPECT_EQ(host.findNamedObject("Shelf/Kept"), nullptr);
    EXPECT_STREQ(kept.name(), "Kept");
    EXPECT_EQ(host.log.text, "");

    char buffer[8] = "x";
    EXPECT_FALSE(host.copyObjectFullName(&kept, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "");
}

TEST_F(RegistrationTest, ReRegisteringMovesEveryReferenceAndDestroysTheOld) {
    auto* old = new RegistrationData("Lives");
    ASSERT_EQ(host.registerData(old, "Game"), old);
    old->owned = make<RegistrationData>();  // released with the old variable
    auto* mirror = new RegistrationData("Mirror");
    mirror->source = old;
    ASSERT_EQ(host.registerData(mirror, nullptr), mirror);
    showOnScreen(old);
    ASSERT_EQ(dataCount(), 3);

    auto* fresh = new RegistrationData("Lives");
    EXPECT_EQ(host.reRegisterObject(fresh, "Game", true, false), nullptr);
    EXPECT_EQ(fresh->creations, 1);
    EXPECT_EQ(host.findNamedObject("Game/Lives"), fresh);
    EXPECT_EQ(shown(0), fresh);
    EXPECT_EQ(shown(1), fresh);
    EXPECT_EQ(mirror->source, fresh);
    EXPECT_EQ(dataCount(), 2);  // fresh and mirror; old and what it owned are gone
    NameLink* game = host.nameTree()->findLink("Game");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->childLink()->object(), fresh);
    EXPECT_EQ(game->childLink()->nextSibling(), nullptr);
    EXPECT_EQ(host.log.text, "");
}

TEST_F(RegistrationTest, ReRegisteringWithNothingToReplaceRegisters) {
    auto* fresh = new RegistrationData("New");
    EXPECT_EQ(host.reRegisterObject(fresh, "Game", true, false), fresh);
    EXPECT_EQ(fresh->creations, 1);  // created once, not twice
    EXPECT_EQ(dataCount(), 1);
    EXPECT_EQ(host.findNamedObject("Game/New"), fresh);

    auto* done = new RegistrationData("Done");
    EXPECT_EQ(host.reRegisterObject(done, nullptr, true, true), done);
    EXPECT_EQ(done->creations, 1);
    EXPECT_EQ(dataCount(), 2);

    // The same object again replaces nothing.
    EXPECT_EQ(host.reRegisterObject(fresh, "Game", true, false), fresh);
    EXPECT_EQ(dataCount(), 2);
    EXPECT_EQ(host.findNamedObject("Game/New"), fresh);

    host.log.text.clear();
    EXPECT_EQ(host.reRegisterObject(nullptr, "Game", true, false), nullptr);
    RegistrationData unnamed;
    EXPECT_EQ(host.reRegisterObject(&unnamed, "Game", true, false), nullptr);
    auto* refuser = new RegistrationData("Refuser");
    refuser->refuseCreate = true;
    EXPECT_EQ(host.reRegisterObject(refuser, "Game", true, false), nullptr);
    auto* blocked = new RegistrationData("Blocked");
    EXPECT_EQ(host.reRegisterObject(blocked, "Game/New", true, false), nullptr);
    EXPECT_EQ(host.log.text,
              "Kova: Error: Cannot reregister null pointers\r\n"
              "Kova: Error: Cannot reregister objects without name\r\n"
              "Kova: Error: reRegister onCreate returned false (Refuser Game)\r\n"
              "Kova: Error: Adding named object to nodetree (Blocked Game/New)\r\n");
    EXPECT_EQ(dataCount(), 2);
    delete refuser;
    delete blocked;
}

TEST_F(RegistrationTest, SetObjectNamePlacesAndRenames) {
    RegistrationData* object = make<RegistrationData>();
    ASSERT_TRUE(host.setObjectName(object, "a/b\\c"));
    EXPECT_STREQ(object->name(), "c");
    EXPECT_EQ(host.findNamedObject("a/b/c"), object);
    EXPECT_EQ(fullName(object), "a/b/c");
    ASSERT_TRUE(host.setObjectName(object, "a/b\\c"));
    NameLink* b = host.nameTree()->findLink("a")->findLink("b");
    EXPECT_EQ(b->childLink()->nextSibling(), nullptr);  // still one entry

    RegistrationData* other = make<RegistrationData>();
    EXPECT_TRUE(host.setObjectName(other, nullptr));  // unnamed stays unnamed
    EXPECT_FALSE(host.setObjectName(other, "a/b/c"));
    EXPECT_EQ(other->name(), nullptr);
    EXPECT_FALSE(host.setObjectName(other, "a"));  // a directory's name
    EXPECT_EQ(other->name(), nullptr);
    Object::clear(host, other);

    EXPECT_FALSE(host.setObjectName(object, nullptr));
    ASSERT_TRUE(host.setObjectName(object, "x"));
    EXPECT_EQ(host.findNamedObject("a/b/c"), nullptr);
    EXPECT_EQ(host.findNamedObject("x"), object);
    EXPECT_EQ(b->childLink(), nullptr);
    ASSERT_TRUE(host.setObjectName(object, object->name()));  // its own name back
    EXPECT_EQ(fullName(object), "x");

    // The directory part may hold up to 255 characters.
    std::string directory255(255, 'd');
    ASSERT_TRUE(host.setObjectName(object, (directory255 + "/y").c_str()));
    EXPECT_EQ(fullName(object), "<none>");  // too long for a 256-byte buffer
    EXPECT_EQ(host.nameTree()->findObjectDirectory(object)->text(), directory255);
    EXPECT_FALSE(host.setObjectName(object, (directory255 + "e/z").c_str()));
    EXPECT_STREQ(object->name(), "y");

    Nameless nameless;
    EXPECT_FALSE(host.setObjectName(&nameless, "n"));
    EXPECT_FALSE(host.setObjectName(nullptr, "n"));
}

TEST_F(RegistrationTest, WhichObjectsCanBeNamed) {
    RegistrationData named("Named"), unnamed;
    Nameless nameless;
    EXPECT_FALSE(host.isNameableObject(nullptr));
    EXPECT_TRUE(host.isNameableObject(&named));
    EXPECT_TRUE(host.isNameableObject(&unnamed));
    EXPECT_FALSE(host.isNameableObject(&nameless));
    EXPECT_TRUE(unnamed.canHaveName(host));
    EXPECT_FALSE(nameless.canHaveName(host));
}

TEST_F(RegistrationTest, CallingFunctionsByName) {
    auto* quit = new Function("Quit");
    ASSERT_EQ(host.registerFunction(quit, "Menu"), quit);
    auto* refusing = new CountedFunction("Refusing", false);
    ASSERT_EQ(host.registerFunction(refusing, nullptr), refusing);
    auto* score = new RegistrationData("Score");
    ASSERT_EQ(host.registerData(score, nullptr), score);
    host.log.text.clear();

    EXPECT_TRUE(host.callFunction("Menu\\Quit"));
    EXPECT_EQ(host.log.text, "Kova: FunctionCall: Quit\r\n");
    host.log.text.clear();
    EXPECT_FALSE(host.callFunction("Refusing"));
    EXPECT_EQ(refusing->calls, 1);
    EXPECT_FALSE(host.callFunction("Score"));
    EXPECT_FALSE(host.callFunction("Missing"));
    EXPECT_FALSE(host.callFunction(nullptr));
    EXPECT_EQ(host.log.text, "");

    // A function made by class name has no name and logs nothing.
    Object* plain = nullptr;
    ASSERT_TRUE(Object::create(host, plain, RuntimeClass::findClass("Function")));
    EXPECT_EQ(plain->name(), nullptr);
    EXPECT_TRUE(static_cast<Function*>(plain)->call(host));
    EXPECT_EQ(host.log.text, "");
    ASSERT_TRUE(plain->setName("Later"));
    ASSERT_TRUE(plain->setName(plain->name()));
    EXPECT_TRUE(static_cast<Function*>(plain)->call(host));
    EXPECT_EQ(host.log.text, "Kova: FunctionCall: Later\r\n");
    RuntimeObject::destroy(plain);
}

}  // namespace kova_test
