// The name directory: its order, paths, full names, removal and the passes
// over every named object, including a directory too long to recurse over.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// A named object that may own one further object through its field list and
// may ask to be saved into a stream of its own.
class TreeItem : public Named<Object> {
    KOVA_RUNTIME_CLASS(TreeItem)
public:
    using Named::Named;
    bool isStreamOwner() override { return streamOwner; }
    bool onStream(System& system, Stream& stream) override {
        return Object::onStream(system, stream) &&
               stream.streamObject(system, owned, "Owned", nullptr);
    }
    Object* owned = nullptr;
    bool streamOwner = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(TreeItem, "kova_test::TreeItem", &Object::absoluteClass)

std::vector<std::string> childTexts(NameLink* directory) {
    std::vector<std::string> texts;
    for (NameLink* link = directory->childLink(); link; link = link->nextSibling()) {
        texts.push_back(std::string(link->isDirectory() ? "dir " : "") + link->text());
    }
    return texts;
}

std::string fullName(NameTree& tree, Object* object, int size = 256) {
    char buffer[256];
    return tree.copyObjectFullName(object, buffer, size) ? buffer : "<none>";
}

int logLines(const std::string& log) {
    int lines = 0;
    for (std::size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2))
        ++lines;
    return lines;
}

}  // namespace

class NameTreeTest : public HostTest<> {
protected:
    // A counted item, as the loader or Object::create would make it.
    TreeItem* item(const char* name) {
        TreeItem* made = make<TreeItem>();
        made->setName(name);
        return made;
    }

    NameTree tree;
};

TEST_F(NameTreeTest, DirectoriesFirstThenObjectsByName) {
    TreeItem b("b"), a("a"), c("c"), secondB("b");
    ASSERT_TRUE(tree.addObject(host, &b, nullptr));
    ASSERT_TRUE(tree.addObject(host, &a, ""));
    ASSERT_TRUE(tree.addObject(host, &c, nullptr));
    EXPECT_EQ(childTexts(&tree), (std::vector<std::string>{"a", "b", "c"}));

    DirectoryLink* z = tree.addDirectory(host, "z");
    ASSERT_NE(z, nullptr);
    EXPECT_TRUE(z->isDirectory());
    tree.addDirectory(host, "y");
    EXPECT_EQ(childTexts(&tree), (std::vector<std::string>{"dir y", "dir z", "a", "b", "c"}));

    // Equal names keep their order; a lookup finds the first.
    ASSERT_TRUE(tree.addObject(host, &secondB, nullptr));
    EXPECT_EQ(tree.findObjectHierarchical(host, "b"), &b);
    NameLink* firstB = tree.findLink("b");
    ASSERT_NE(firstB, nullptr);
    EXPECT_EQ(firstB->object(), &b);
    EXPECT_EQ(firstB->nextSibling()->object(), &secondB);
    EXPECT_EQ(firstB->nextSibling()->nextSibling()->object(), &c);

    TreeItem unnamed;
    EXPECT_FALSE(tree.addObject(host, nullptr, nullptr));
    EXPECT_FALSE(tree.addObject(host, &unnamed, nullptr));
    EXPECT_EQ(tree.addDirectory(host, nullptr), nullptr);
    EXPECT_EQ(tree.addDirectory(host, ""), nullptr);
}

TEST_F(NameTreeTest, PathsAreMadeOnceAndFoundWithEitherSeparator) {
    TreeItem title("Title"), help("Help");
    ASSERT_TRUE(tree.addObject(host, &title, "Menus/Main"));
    ASSERT_TRUE(tree.addObject(host, &help, "Menus\\Main"));
    EXPECT_EQ(childTexts(&tree), (std::vector<std::string>{"dir Menus"}));
    NameLink* menus = tree.findLink("Menus");
    ASSERT_NE(menus, nullptr);
    EXPECT_EQ(childTexts(menus), (std::vector<std::string>{"dir Main"}));
    DirectoryLink* main = tree.addDirectory(host, "Menus/Main/");
    ASSERT_EQ(main, menus->findLink("Main"));
    EXPECT_EQ(childTexts(main), (std::vector<std::string>{"Help", "Title"}));

    EXPECT_EQ(tree.findObjectHierarchical(host, "Menus/Main/Title"), &title);
    EXPECT_EQ(tree.findObjectHierarchical(host, "Menus\\Main\\Title"), &title);
    EXPECT_EQ(tree.findObjectHierarchical(host, "Menus/Main\\Help"), &help);
    EXPECT_EQ(tree.findObjectHierarchical(host, "Title"), nullptr);
    EXPECT_EQ(tree.findObjectHierarchical(host, "Menus/Title"), nullptr);
    EXPECT_EQ(tree.findObjectHierarchical(host, "Menus/Main"), nullptr);
    EXPECT_EQ(tree.findObjectHierarchical(host, "Menus/Main/Title/x"), nullptr);
    EXPECT_EQ(tree.findObjectHierarchical(host, nullptr), nullptr);
    EXPECT_EQ(fullName(tree, &title), "Menus/Main/Title");
    const char* mixed = "ab\\c/d";
    EXPECT_EQ(NameLink::pathSeparator(mixed), mixed + 2);
    EXPECT_EQ(NameLink::pathSeparator("abc"), nullptr);
    EXPECT_EQ(NameLink::pathSeparator(nullptr), nullptr);

    char buffer[64];
    ASSERT_TRUE(tree.copyPath(main, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "Menus/Main");
    NameLink* titleLink = tree.findObjectLinkHierarchical(host, &title);
    ASSERT_NE(titleLink, nullptr);
    EXPECT_EQ(titleLink->object(), &title);
    ASSERT_TRUE(tree.copyPath(titleLink, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "Menus/Main/Title");
    ASSERT_TRUE(tree.copyPath(menus, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "Menus");
    EXPECT_FALSE(tree.copyPath(nullptr, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "");

    EXPECT_EQ(tree.findObjectDirectory(&title), main);
    EXPECT_EQ(tree.findObjectDirectory(host.systemStyle()), nullptr);
    EXPECT_TRUE(tree.exists(&help));
    EXPECT_FALSE(tree.exists(host.systemStyle()));
    EXPECT_FALSE(tree.exists(nullptr));

    // An object at the root has its plain name as full name.
    EXPECT_EQ(fullName(tree, host.systemStyle()), "<none>");
    EXPECT_EQ(host.copyObjectFullName(host.systemStyle(), buffer, sizeof(buffer)), true);
    EXPECT_STREQ(buffer, "System");
}

TEST_F(NameTreeTest, ObjectNamesBlockDirectoriesOfTheSameName) {
    TreeItem a("A"), menus("Menus"), inside("Inside");
    ASSERT_TRUE(tree.addObject(host, &a, nullptr));
    ASSERT_TRUE(tree.addObject(host, &menus, nullptr));
    // Menus is not the first object entry; it still blocks.
    EXPECT_EQ(tree.addDirectory(host, "Menus"), nullptr);
    EXPECT_FALSE(tree.addObject(host, &inside, "Menus"));
    EXPECT_EQ(tree.addDirectory(host, "Other/Menus/Deep")->text(), std::string("Deep"));
    EXPECT_EQ(childTexts(&tree), (std::vector<std::string>{"dir Other", "A", "Menus"}));
    EXPECT_EQ(tree.findObjectHierarchical(host, "Menus"), &menus);
}

TEST_F(NameTreeTest, RenamingChangesTheFullNameButNotThePlace) {
    TreeItem title("Title"), uno("Uno");
    ASSERT_TRUE(tree.addObject(host, &title, "Menus"));
    ASSERT_TRUE(tree.addObject(host, &uno, "Menus"));
    NameLink* link = tree.findObjectLinkHierarchical(host, &title);
    ASSERT_NE(link, nullptr);
    EXPECT_FALSE(link->setText(nullptr));
    ASSERT_TRUE(link->setText("Zed"));
    EXPECT_STREQ(title.name(), "Zed");
    EXPECT_EQ(fullName(tree, &title), "Menus/Zed");
    EXPECT_EQ(tree.findObjectHierarchical(host, "Menus/Zed"), &title);
    EXPECT_EQ(childTexts(tree.findLink("Menus")), (std::vector<std::string>{"Zed", "Uno"}));

    uno.setName("Alpha");
    EXPECT_EQ(fullName(tree, &uno), "Menus/Alpha");

    NameLink* menus = tree.findLink("Menus");
    EXPECT_FALSE(menus->setText(nullptr));
    ASSERT_TRUE(menus->setText("Screens"));
    EXPECT_EQ(fullName(tree, &title), "Screens/Zed");
    EXPECT_EQ(tree.findObjectHierarchical(host, "Screens/Zed"), &title);
}

TEST_F(NameTreeTest, RemovingKeepsObjectsAndSiblings) {
    TreeItem a("a"), b("b"), c("c"), deep("deep");
    tree.addObject(host, &a, "Dir");
    tree.addObject(host, &b, "Dir");
    tree.addObject(host, &c, "Dir");
    tree.addObject(host, &deep, "Dir/Sub");
    EXPECT_FALSE(tree.removeObject(host, nullptr));
    ASSERT_TRUE(tree.removeObject(host, &b));
    EXPECT_FALSE(tree.removeObject(host, &b));
    EXPECT_STREQ(b.name(), "b");
    EXPECT_EQ(childTexts(tree.findLink("Dir")), (std::vector<std::string>{"dir Sub", "a", "c"}));

    ASSERT_TRUE(tree.removeObject(host, &deep));
    NameLink* sub = tree.findLink("Dir")->findLink("Sub");
    ASSERT_NE(sub, nullptr);  // empty directories stay
    EXPECT_EQ(sub->childLink(), nullptr);

    tree.addObject(host, &deep, "Dir/Sub");
    EXPECT_FALSE(tree.removeDirectory(host, nullptr));
    EXPECT_FALSE(tree.removeDirectory(host, tree.findObjectLinkHierarchical(host, &a)));
    ASSERT_TRUE(tree.removeDirectory(host, sub));
    EXPECT_FALSE(tree.exists(&deep));
    EXPECT_STREQ(deep.name(), "deep");
    EXPECT_EQ(childTexts(tree.findLink("Dir")), (std::vector<std::string>{"a", "c"}));
    ASSERT_TRUE(tree.removeDirectory(host, tree.findLink("Dir")));
    EXPECT_EQ(tree.childLink(), nullptr);
}

TEST_F(NameTreeTest, OverlongNamesAreRefusedWithoutOverrun) {
    std::string component259(259, 'd'), component260(260, 'd');
    EXPECT_NE(tree.addDirectory(host, component259.c_str()), nullptr);
    EXPECT_EQ(tree.addDirectory(host, component260.c_str()), nullptr);
    EXPECT_EQ(tree.addDirectory(host, ("ok/" + component260).c_str()), nullptr);
    EXPECT_NE(tree.findLink("ok"), nullptr);  // made before the refusal

    // Lookup components must stay below 128 bytes.
    std::string dir127(127, 'e'), dir128(128, 'f');
    TreeItem x("x"), y("y");
    ASSERT_TRUE(tree.addObject(host, &x, dir127.c_str()));
    ASSERT_TRUE(tree.addObject(host, &y, dir128.c_str()));
    EXPECT_EQ(tree.findObjectHierarchical(host, (dir127 + "/x").c_str()), &x);
    EXPECT_EQ(tree.findObjectHierarchical(host, (dir128 + "/y").c_str()), nullptr);

    // "Game/Score" is 10 characters: it needs 11 bytes.
    TreeItem score("Score");
    tree.addObject(host, &score, "Game");
    char buffer[16];
    std::memset(buffer, '#', sizeof(buffer));
    ASSERT_TRUE(tree.copyObjectFullName(&score, buffer, 11));
    EXPECT_STREQ(buffer, "Game/Score");
    EXPECT_EQ(buffer[11], '#');
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_FALSE(tree.copyObjectFullName(&score, buffer, 10));
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(std::string(buffer + 10, 6), "######");
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_FALSE(tree.copyObjectFullName(&score, buffer, 5));  // the directory alone overflows
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(std::string(buffer + 5, 11), "###########");
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_FALSE(tree.copyObjectFullName(&score, buffer, 0));
    EXPECT_EQ(buffer[0], '#');
    EXPECT_FALSE(tree.copyObjectFullName(&score, nullptr, 16));
    EXPECT_FALSE(tree.copyObjectFullName(nullptr, buffer, 16));
    EXPECT_EQ(buffer[0], 0);
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_FALSE(tree.copyPath(tree.findLink("Game"), buffer, 4));
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[4], '#');
    ASSERT_TRUE(tree.copyPath(tree.findLink("Game"), buffer, 5));
    EXPECT_STREQ(buffer, "Game");
}

TEST_F(NameTreeTest, PassesOverEveryNamedObject) {
    TreeItem* menu = item("Menu");
    TreeItem* shared = item("Shared");
    TreeItem* loose = item(nullptr);
    menu->owned = loose;   // owned: released by clearing
    shared->owned = menu;  // named: only let go of
    ASSERT_TRUE(host.addNamedObject(menu, "Screens"));
    ASSERT_TRUE(host.addNamedObject(shared, nullptr));
    NameTree* names = host.nameTree();

    ReferenceRecorder counting;
    ASSERT_TRUE(names->streamAll(host, counting));
    EXPECT_EQ(counting.seen, (std::vector<Object*>{menu, shared, host.systemStyle()}));

    EXPECT_EQ(TreeItem::absoluteClass()->classInstanceCount(), 3);
    ASSERT_TRUE(names->clearAll(host));
    EXPECT_EQ(TreeItem::absoluteClass()->classInstanceCount(), 2);
    EXPECT_EQ(menu->owned, nullptr);
    EXPECT_EQ(shared->owned, menu);
    EXPECT_EQ(host.findNamedObject("Screens/Menu"), menu);

    // Every object is offered for saving, even after a failure (this host
    // opens no output streams, so each save fails with one line).
    EXPECT_TRUE(tree.saveAll(host));
    tree.addDirectory(host, "Empty");
    EXPECT_TRUE(tree.saveAll(host));
    TreeItem first("First"), second("Second");
    first.streamOwner = true;
    second.streamOwner = true;
    tree.addObject(host, &first, "Empty");
    tree.addObject(host, &second, nullptr);
    host.log.text.clear();
    EXPECT_FALSE(tree.saveAll(host));
    EXPECT_EQ(logLines(host.log.text), 2);

    // deleteAll on a plain directory destroys its objects; the entries stay
    // empty.
    DirectoryLink* screens = names->addDirectory(host, "Screens");
    ASSERT_TRUE(screens->childLink()->deleteAll(host));
    EXPECT_EQ(TreeItem::absoluteClass()->classInstanceCount(), 1);
    EXPECT_EQ(screens->childLink()->object(), nullptr);
    EXPECT_EQ(host.findNamedObject("Screens/Menu"), nullptr);
    shared->owned = nullptr;
}

// A directory far longer than the stack could take one call per entry.
TEST_F(NameTreeTest, HundredThousandObjectsInOneDirectory) {
    const int count = 100000;
    char name[16];
    std::vector<TreeItem*> items(count);
    // Added from the last name down, each one goes to the front.
    for (int i = count - 1; i >= 0; --i) {
        std::snprintf(name, sizeof(name), "item%06d", i);
        items[i] = new TreeItem(name);
        ASSERT_EQ(host.registerObject(items[i], "Big"), items[i]);
    }
    EXPECT_EQ(TreeItem::absoluteClass()->classInstanceCount(), count);
    NameTree* names = host.nameTree();
    EXPECT_EQ(host.findNamedObject("Big/item000000"), items[0]);
    EXPECT_EQ(host.findNamedObject("Big\\item099999"), items[count - 1]);
    EXPECT_EQ(host.findNamedObject("Big/item100000"), nullptr);
    EXPECT_TRUE(names->exists(items[count - 1]));
    EXPECT_EQ(fullName(*names, items[count - 1]), "Big/item099999");
    EXPECT_EQ(names->findObjectDirectory(items[count - 1]), names->findLink("Big"));

    ReferenceRecorder counting;
    ASSERT_TRUE(names->streamAll(host, counting));
    EXPECT_EQ(counting.seen.size(), static_cast<std::size_t>(count + 1));

    ASSERT_TRUE(host.removeNamedObject(items[50000]));
    EXPECT_EQ(host.findNamedObject("Big/item050000"), nullptr);
    RuntimeObject::destroy(items[50000]);

    // A deep path is made in a loop and released without recursion.
    std::string deep;
    for (int i = 0; i < count; ++i)
        deep += "d/";
    EXPECT_NE(tree.addDirectory(host, deep.c_str()), nullptr);
    // exit (in TearDown) clears and destroys the rest.
}

}  // namespace kova_test
