// The name directory: its order, paths, full names, removal and the passes
// over every named object, including a directory too long to recurse over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
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
        return stream.streamObject(system, owned, "Owned", nullptr);
    }
    Object* owned = nullptr;
    bool streamOwner = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(TreeItem, "kova_test::TreeItem", &Object::absoluteClass)

// A directory's entries in order: "name" for an object, "name/(...)" for a
// directory with its own entries.
std::string listing(NameLink* directory) {
    std::string out;
    for (NameLink* link = directory->childLink(); link; link = link->nextSibling()) {
        out += (out.empty() ? "" : " ") + std::string(link->text() ? link->text() : "?");
        if (link->isDirectory()) out += "/(" + listing(link) + ")";
    }
    return out;
}

}  // namespace

class NameTreeTest : public HostTest<> {
protected:
    NameTree tree;
};

TEST_F(NameTreeTest, DirectoriesFirstThenObjectsByNameWhichBlockDirectories) {
    TreeItem b("b"), a("a"), c("c"), secondB("b"), x("x"), y("y"), unnamed;
    for (TreeItem* item : {&b, &a, &c})
        ASSERT_TRUE(tree.addObject(host, item, nullptr));
    EXPECT_TRUE(tree.addDirectory(host, "z")->isDirectory());
    ASSERT_NE(tree.addDirectory(host, "y/x"), nullptr);
    ASSERT_TRUE(tree.addObject(host, &secondB, ""));
    EXPECT_EQ(listing(&tree), "y/(x/()) z/() a b b c");
    // Equal names keep their order; a lookup finds the first.
    EXPECT_EQ(tree.findLink("b")->nextSibling()->object(), &secondB);
    EXPECT_EQ(tree.findObjectHierarchical(host, "b"), &b);
    // An object's name blocks a directory of that name, first object or not.
    EXPECT_EQ(tree.addDirectory(host, "c"), nullptr);
    EXPECT_FALSE(tree.addObject(host, &x, "a"));
    EXPECT_FALSE(tree.addObject(host, nullptr, nullptr));
    EXPECT_FALSE(tree.addObject(host, &unnamed, nullptr));
    EXPECT_EQ(tree.addDirectory(host, nullptr), nullptr);
    EXPECT_EQ(tree.addDirectory(host, ""), nullptr);
    EXPECT_EQ(listing(&tree), "y/(x/()) z/() a b b c");

    // Components of 260 bytes are refused, after the directories before them
    // are made; lookups compare components below 128 bytes only.
    std::string d259(259, 'd'), d260(260, 'd'), e127(127, 'e'), f128(128, 'f');
    EXPECT_NE(tree.addDirectory(host, d259.c_str()), nullptr);
    EXPECT_EQ(tree.addDirectory(host, ("ok/" + d260).c_str()), nullptr);
    EXPECT_EQ(listing(tree.findLink("ok")), "");
    ASSERT_TRUE(tree.addObject(host, &x, e127.c_str()));
    ASSERT_TRUE(tree.addObject(host, &y, f128.c_str()));
    EXPECT_EQ(tree.findObjectHierarchical(host, (e127 + "/x").c_str()), &x);
    EXPECT_EQ(tree.findObjectHierarchical(host, (f128 + "/y").c_str()), nullptr);
}

TEST_F(NameTreeTest, PathsLookupsFullNamesAndRenaming) {
    TreeItem title("Title"), help("Help");
    ASSERT_TRUE(tree.addObject(host, &title, "Menus/Main"));
    ASSERT_TRUE(tree.addObject(host, &help, "Menus\\Main"));
    DirectoryLink* main = tree.addDirectory(host, "Menus/Main/");  // the separator at the end
    EXPECT_EQ(listing(&tree), "Menus/(Main/(Help Title))");
    EXPECT_EQ(tree.findObjectDirectory(&title), main);
    EXPECT_EQ(tree.findObjectDirectory(host.systemStyle()), nullptr);
    EXPECT_EQ(tree.findObjectLinkHierarchical(host, &title)->object(), &title);
    EXPECT_TRUE(tree.exists(&help));
    EXPECT_FALSE(tree.exists(host.systemStyle()) || tree.exists(nullptr));
    const char* mixed = "ab\\c/d";
    EXPECT_EQ(NameLink::pathSeparator(mixed), mixed + 2);
    EXPECT_EQ(NameLink::pathSeparator(nullptr), nullptr);
    EXPECT_EQ(tree.findObjectHierarchical(host, nullptr), nullptr);
    expectRows({"Menus/Main/Title -> Title", "Menus\\Main\\Title -> Title",
                "Menus/Main\\Help -> Help", "Title -> null", "Menus/Title -> null",
                "Menus/Main -> null", "Menus/Main/Title/x -> null"},
               [&](const std::string& path) {
                   Object* found = tree.findObjectHierarchical(host, path.c_str());
                   return found ? found->name() : "null";
               });

    // "title or main, size -> text": a name that does not fit is refused
    // whole, and nothing is written at or past the size.
    expectRows({"title 17 -> Menus/Main/Title", "title 16 -> refused", "title 5 -> refused",
                "title 0 -> untouched", "main 11 -> Menus/Main", "main 10 -> refused"},
               [&](const std::string& row) {
                   int size = std::atoi(row.c_str() + row.find(' '));
                   char buffer[32];
                   std::memset(buffer, '#', sizeof(buffer));
                   bool ok = row[0] == 't' ? tree.copyObjectFullName(&title, buffer, size)
                                           : tree.copyPath(main, buffer, size);
                   EXPECT_EQ(std::string(buffer + size, buffer + 32), std::string(32 - size, '#'));
                   return std::string(ok ? buffer : buffer[0] ? "untouched" : "refused");
               });
    char buffer[8] = "#";
    EXPECT_FALSE(tree.copyObjectFullName(host.systemStyle(), buffer, 8) ||
                 tree.copyObjectFullName(&title, nullptr, 8) || tree.copyPath(nullptr, buffer, 8));
    EXPECT_STREQ(buffer, "");

    // Renaming an entry renames its object; the entry stays where it is.
    NameLink* link = tree.findObjectLinkHierarchical(host, &title);
    EXPECT_FALSE(link->setText(nullptr));
    ASSERT_TRUE(link->setText("Zed"));
    help.setName("Alpha");
    EXPECT_FALSE(tree.findLink("Menus")->setText(nullptr));
    ASSERT_TRUE(tree.findLink("Menus")->setText("Screens"));
    EXPECT_EQ(listing(&tree), "Screens/(Main/(Alpha Zed))");
    EXPECT_STREQ(title.name(), "Zed");
    EXPECT_EQ(tree.findObjectHierarchical(host, "Screens/Main/Zed"), &title);
}

TEST_F(NameTreeTest, RemovingKeepsObjectsAndSiblings) {
    TreeItem a("a"), b("b"), c("c"), deep("deep");
    for (TreeItem* item : {&a, &b, &c})
        tree.addObject(host, item, "Dir");
    tree.addObject(host, &deep, "Dir/Sub");
    EXPECT_FALSE(tree.removeObject(host, nullptr));
    ASSERT_TRUE(tree.removeObject(host, &b));
    EXPECT_FALSE(tree.removeObject(host, &b));
    ASSERT_TRUE(tree.removeObject(host, &deep));
    EXPECT_EQ(listing(&tree), "Dir/(Sub/() a c)");  // empty directories stay
    EXPECT_STREQ(b.name(), "b");

    tree.addObject(host, &deep, "Dir/Sub");
    EXPECT_FALSE(tree.removeDirectory(host, nullptr));
    EXPECT_FALSE(tree.removeDirectory(host, tree.findObjectLinkHierarchical(host, &a)));
    ASSERT_TRUE(tree.removeDirectory(host, tree.findLink("Dir")->findLink("Sub")));
    EXPECT_FALSE(tree.exists(&deep));
    EXPECT_EQ(listing(&tree), "Dir/(a c)");
    ASSERT_TRUE(tree.removeDirectory(host, tree.findLink("Dir")));
    EXPECT_EQ(listing(&tree), "");
}

TEST_F(NameTreeTest, PassesOverEveryNamedObject) {
    auto* menu = static_cast<TreeItem*>(host.registerObject(new TreeItem("Menu"), "Screens"));
    auto* shared = static_cast<TreeItem*>(host.registerObject(new TreeItem("Shared"), nullptr));
    menu->owned = make<TreeItem>();  // owned: released by clearing
    shared->owned = menu;            // named: only let go of
    NameTree* names = host.nameTree();
    ReferenceRecorder seen;
    ASSERT_TRUE(names->streamAll(host, seen));
    EXPECT_EQ(seen.seen, (std::vector<Object*>{menu, shared, host.systemStyle()}));
    ASSERT_TRUE(names->clearAll(host));
    EXPECT_EQ(TreeItem::absoluteClass()->classInstanceCount(), 2);
    EXPECT_EQ(menu->owned, nullptr);
    EXPECT_EQ(shared->owned, menu);
    EXPECT_EQ(host.findNamedObject("Screens/Menu"), menu);

    // Every object is offered for saving, even after a failure: this host
    // opens no output streams, so each save fails with one line.
    EXPECT_TRUE(tree.saveAll(host));
    tree.addDirectory(host, "Empty");
    EXPECT_TRUE(tree.saveAll(host));
    TreeItem first("First"), second("Second");
    first.streamOwner = second.streamOwner = true;
    tree.addObject(host, &first, "Empty");
    tree.addObject(host, &second, nullptr);
    host.log.text.clear();
    EXPECT_FALSE(tree.saveAll(host));
    EXPECT_EQ(host.log.text,  // neither is in the host's directory, so neither has a full name
              "Kova: Error: Creating ostream \"\"\r\nKova: Error: Creating ostream \"\"\r\n");

    // deleteAll on a plain directory destroys its objects; the entries stay.
    NameLink* screens = names->findLink("Screens");
    ASSERT_TRUE(screens->childLink()->deleteAll(host));
    EXPECT_EQ(TreeItem::absoluteClass()->classInstanceCount(), 1);
    EXPECT_EQ(listing(screens), "?");
    EXPECT_EQ(host.findNamedObject("Screens/Menu"), nullptr);
    shared->owned = nullptr;
}

// A directory far longer than the stack could take one call per entry, and a
// path far deeper.
TEST_F(NameTreeTest, HundredThousandObjectsInOneDirectory) {
    const int count = 100000;
    std::vector<TreeItem*> items(count);
    char name[16];
    for (int i = count - 1; i >= 0; --i) {  // each one goes to the front
        std::snprintf(name, sizeof(name), "item%06d", i);
        ASSERT_NE(host.registerObject(items[i] = new TreeItem(name), "Big"), nullptr);
    }
    NameTree* names = host.nameTree();
    EXPECT_EQ(host.findNamedObject("Big/item000000"), items[0]);
    EXPECT_EQ(host.findNamedObject("Big\\item099999"), items[count - 1]);
    EXPECT_EQ(host.findNamedObject("Big/item100000"), nullptr);
    EXPECT_TRUE(names->exists(items[count - 1]));
    EXPECT_EQ(names->findObjectDirectory(items[count - 1]), names->findLink("Big"));
    char full[32];
    ASSERT_TRUE(names->copyObjectFullName(items[count - 1], full, sizeof(full)));
    EXPECT_STREQ(full, "Big/item099999");
    ReferenceRecorder seen;
    ASSERT_TRUE(names->streamAll(host, seen));
    EXPECT_EQ(seen.seen.size(), static_cast<std::size_t>(count + 1));
    ASSERT_TRUE(host.removeNamedObject(items[50000]));
    EXPECT_EQ(host.findNamedObject("Big/item050000"), nullptr);
    RuntimeObject::destroy(items[50000]);

    std::string deep;
    for (int i = 0; i < count; ++i)
        deep += "d/";
    EXPECT_NE(tree.addDirectory(host, deep.c_str()), nullptr);  // released without recursion
}

}  // namespace kova_test
