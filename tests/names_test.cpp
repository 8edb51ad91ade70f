// The name directory and the System's calls around it: registering,
// re-registering, naming and calling objects; the directory's order, paths,
// full names and removal.
#include <cstring>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

#include "test_support.h"

namespace kova_test {

// A variable that counts its creation steps (refusing them when named
// "Refuser") and holds an owned object and a shared variable.
class Entry : public Data {
    KOVA_RUNTIME_CLASS(Entry)
public:
    using Data::Data;
    bool onCreate(System&) override {
        return ++creations, !name() || std::strcmp(name(), "Refuser") != 0;
    }
    bool onStream(System& system, Stream& stream) override {
        return stream.streamObject(system, owned, "Owned", nullptr) &&
               stream.streamData(system, source, "Source", nullptr);
    }
    int creations = 0;
    Object* owned = nullptr;
    Data* source = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(Entry, "kova_test::Entry", &Data::absoluteClass)

class NameTreeTest : public HostTest<> {
protected:
    static int entries() { return Entry::absoluteClass()->classInstanceCount(); }
    std::string fullName(Object* object) {
        char buffer[256];
        return host.copyObjectFullName(object, buffer, sizeof(buffer)) ? buffer : "-";
    }
    // A directory's entries in order: "name" for an object, "name/(...)" for
    // a directory with its own entries.
    static std::string listing(NameLink* directory) {
        std::string out;
        for (NameLink* link = directory->childLink(); link; link = link->nextSibling()) {
            out += (out.empty() ? "" : " ") + std::string(link->text() ? link->text() : "?");
            if (link->isDirectory()) out += "/(" + listing(link) + ")";
        }
        return out;
    }
    NameTree tree;
};

// Rows: "call name directory -> outcome", "null" a null pointer, "-" no name
// or no directory, an error written as its log line without the frame
// "Kova: Error: ...\r\n"; reRegisterCreated: the host did the creation step.
// Game/Score is taken (and stays Game's first entry). A kept variable is
// created once, counted and found under its full name; any other is left
// uncounted and out of the directory.
TEST_F(NameTreeTest, RegisteringOutcomesAndLogLines) {
    ASSERT_NE(host.registerObject(new Entry("Score"), "Game"), nullptr);
    expectRows(
        {"register Time Game -> kept", "register Bold - -> kept",
         "register Points Game/Score -> Adding named object to nodetree (Points Game/Score)",
         "register null Game -> Cannot register null pointers",
         "register - Game -> Cannot register objects without name",
         "register Refuser Game -> register onCreate returned false (Refuser Game)",
         "register Refuser - -> register onCreate returned false (Refuser )",
         "reRegister New Game -> kept", "reRegisterCreated Done - -> kept",
         "reRegister null Game -> Cannot reregister null pointers",
         "reRegister - Game -> Cannot reregister objects without name",
         "reRegister Refuser Game -> reRegister onCreate returned false (Refuser Game)",
         "reRegister Blocked Game/Score -> Adding named object to nodetree (Blocked Game/Score)"},
        [&](const std::string& row) {
            std::istringstream in(row);
            std::string call, name, directory;
            in >> call >> name >> directory;
            Entry* data =
                name == "null" ? nullptr : new Entry(name[0] == '-' ? nullptr : name.c_str());
            const char* path = directory == "-" ? nullptr : directory.c_str();
            int before = (host.log.text.clear(), entries());
            Object* result = call == "register"
                                 ? host.registerObject(data, path)
                                 : host.reRegisterObject(data, path, true, call != "reRegister");
            bool kept = result && result == data;
            std::string full = (path ? directory + "/" : "") + name;
            EXPECT_TRUE(entries() == before + kept && fullName(data) == (kept ? full : "-") &&
                        host.findNamedObject(full.c_str()) == (kept ? data : nullptr) &&
                        (data ? data->creations : 0) == (name == "-" || !data ? 0 : 1));
            if (!kept) delete data;
            std::regex frame("Kova: Error: (.*)\r\n");
            return (kept ? "kept" : "") + std::regex_replace(host.log.text, frame, "$1");
        });
}

TEST_F(NameTreeTest, AddingCreatesNothingAndReRegisteringReplacesTheOld) {
    // Adding to and removing from the directory neither creates nor counts.
    Entry kept("Kept");
    ASSERT_TRUE(host.addNamedObject(&kept, "Shelf") && host.findNamedObject("Shelf/Kept") == &kept);
    EXPECT_TRUE(host.removeNamedObject(&kept) && !host.removeNamedObject(&kept) &&
                !host.addNamedObject(nullptr, nullptr));
    EXPECT_EQ(fullName(&kept) + kept.name() + std::to_string(kept.creations + entries()), "-Kept0");

    // Re-registering moves every reference to the new object and destroys
    // the old one with what it owned; the same object again replaces nothing.
    auto *old = new Entry("Lives"), *mirror = new Entry("Mirror");
    ASSERT_TRUE(host.registerData(old, "Game") && host.registerData(mirror, nullptr));
    auto* fresh = new Entry("Lives");
    old->owned = make<Entry>(), mirror->source = old;
    EXPECT_TRUE(!host.reRegisterObject(fresh, "Game", true, false) && fresh->creations == 1);
    EXPECT_EQ(host.reRegisterObject(fresh, "Game", true, false), fresh);
    NameLink* lives = host.nameTree()->findLink("Game")->childLink();
    EXPECT_TRUE(lives->object() == fresh && !lives->nextSibling() && mirror->source == fresh);
    EXPECT_EQ(std::to_string(entries()) + host.log.text, "2");  // fresh and mirror are left
}

// Rows: "object path -> result, name, full name", applied in order; "-" is a
// null path, name or full name, "=" the object's own name, D a directory of
// 255 characters (the longest taken).
TEST_F(NameTreeTest, SetObjectNamePlacesAndRenames) {
    Object nameless, *object = make<Entry>(), *other = make<Entry>();
    std::map<std::string, Object*> targets = {
        {"object", object}, {"other", other}, {"nameless", &nameless}, {"null", nullptr}};
    const std::string D(255, 'd');
    expectRows(
        {"object a/b\\c -> 1 c a/b/c", "object a/b\\c -> 1 c a/b/c", "other - -> 1 - -",
         "other a/b/c -> 0 - -", "other a -> 0 - -", "object - -> 0 c a/b/c", "object x -> 1 x x",
         "object = -> 1 x x", "object D/y -> 1 y -", "object De/z -> 0 y -", "nameless n -> 0 - -",
         "null n -> 0 - -"},
        [&](const std::string& row) {
            std::string target = row.substr(0, row.find(' ')), path = row.substr(target.size() + 1);
            Object* o = targets[target];
            if (path[0] == 'D') path = D + path.substr(1);
            const char* text = path == "-" ? nullptr : path == "=" ? o->name() : path.c_str();
            bool ok = host.setObjectName(o, text);
            const char* name = o ? o->name() : nullptr;
            return std::to_string(ok) + " " + (name ? name : "-") + " " + fullName(o);
        });
    // Moved, never copied; unnamed, an object that takes names can have one.
    EXPECT_TRUE(!host.nameTree()->findLink("a")->findLink("b")->childLink() &&
                host.nameTree()->findObjectDirectory(object)->text() == D &&
                !host.findNamedObject("x") && !host.isNameableObject(nullptr) &&
                other->canHaveName(host) && !nameless.canHaveName(host));
    Object::clear(host, other);
}

// Rows: "name -> called, log": only a named function logs its call. A
// function made by class name ("plain") has no name until given one.
TEST_F(NameTreeTest, CallingFunctionsByName) {
    ASSERT_NE(host.registerFunction(new Function("Quit"), "Menu"), nullptr);
    ASSERT_NE(host.registerData(new Entry("Score"), nullptr), nullptr);
    Object* plain = nullptr;
    ASSERT_TRUE(Object::create(host, plain, RuntimeClass::findClass("Function")));
    expectRows({"Menu\\Quit -> 1 Kova: FunctionCall: Quit\r\n", "Score -> 0 ", "Missing -> 0 ",
                "null -> 0 ", "plain -> 1 ", "Later -> 1 Kova: FunctionCall: Later\r\n"},
               [&](const std::string& name) {
                   host.log.text.clear();
                   EXPECT_TRUE(name != "Later" ||  // then its own name back
                               (plain->setName("Later") && plain->setName(plain->name())));
                   bool called = name == "null" ? host.callFunction(nullptr)
                                 : name == "plain" || name == "Later"
                                     ? static_cast<Function*>(plain)->call(host)
                                     : host.callFunction(name.c_str());
                   return std::to_string(called) + " " + host.log.text;
               });
    RuntimeObject::destroy(plain);
}

TEST_F(NameTreeTest, DirectoriesFirstThenObjectsByNameWhichBlockDirectories) {
    Entry b("b"), a("a"), c("c"), secondB("b"), x("x"), y("y"), unnamed;
    for (Entry* item : {&b, &a, &c})
        ASSERT_TRUE(tree.addObject(host, item, nullptr));
    EXPECT_TRUE(tree.addDirectory(host, "z")->isDirectory() && tree.addDirectory(host, "y/x"));
    ASSERT_TRUE(tree.addObject(host, &secondB, ""));
    // Equal names keep their order; a lookup finds the first. An object's
    // name blocks a directory of that name, first object or not.
    EXPECT_EQ(tree.findLink("b")->nextSibling()->object(), &secondB);
    EXPECT_EQ(tree.findObjectHierarchical(host, "b"), &b);
    EXPECT_FALSE(tree.addDirectory(host, "c") || tree.addObject(host, &x, "a") ||
                 tree.addObject(host, nullptr, nullptr) ||
                 tree.addObject(host, &unnamed, nullptr) || tree.addDirectory(host, nullptr) ||
                 tree.addDirectory(host, ""));
    EXPECT_EQ(listing(&tree), "y/(x/()) z/() a b b c");

    // Components of 260 bytes are refused, after the directories before them
    // are made; lookups compare components below 128 bytes only.
    std::string d259(259, 'd'), d260(260, 'd'), e127(127, 'e'), f128(128, 'f');
    EXPECT_TRUE(tree.addDirectory(host, d259.c_str()) &&
                !tree.addDirectory(host, ("ok/" + d260).c_str()) &&
                listing(tree.findLink("ok")).empty());
    ASSERT_TRUE(tree.addObject(host, &x, e127.c_str()) && tree.addObject(host, &y, f128.c_str()));
    EXPECT_TRUE(tree.findObjectHierarchical(host, (e127 + "/x").c_str()) == &x &&
                !tree.findObjectHierarchical(host, (f128 + "/y").c_str()));
}

TEST_F(NameTreeTest, PathsLookupsFullNamesAndRenaming) {
    Entry title("Title"), help("Help");
    ASSERT_TRUE(tree.addObject(host, &title, "Menus/Main") &&
                tree.addObject(host, &help, "Menus\\Main"));
    DirectoryLink* main = tree.addDirectory(host, "Menus/Main/");  // the separator at the end
    EXPECT_EQ(listing(&tree), "Menus/(Main/(Help Title))");
    EXPECT_TRUE(tree.findObjectDirectory(&title) == main && tree.exists(&help) &&
                tree.findObjectLinkHierarchical(host, &title)->object() == &title);
    EXPECT_FALSE(tree.exists(host.systemStyle()) || tree.exists(nullptr) ||
                 tree.findObjectDirectory(host.systemStyle()) || NameLink::pathSeparator(nullptr) ||
                 tree.findObjectHierarchical(host, nullptr));
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
                 tree.copyObjectFullName(&title, nullptr, 8) || tree.copyPath(nullptr, buffer, 8) ||
                 buffer[0]);  // emptied

    // Renaming an entry renames its object; the entry stays where it is.
    NameLink* link = tree.findObjectLinkHierarchical(host, &title);
    EXPECT_FALSE(link->setText(nullptr) || tree.findLink("Menus")->setText(nullptr));
    ASSERT_TRUE(link->setText("Zed") && tree.findLink("Menus")->setText("Screens"));
    help.setName("Alpha");
    EXPECT_EQ(listing(&tree) + title.name(), "Screens/(Main/(Alpha Zed))Zed");
    EXPECT_EQ(tree.findObjectHierarchical(host, "Screens/Main/Zed"), &title);
}

TEST_F(NameTreeTest, RemovingKeepsObjectsAndSiblings) {
    Entry a("a"), b("b"), c("c"), deep("deep");
    for (Entry* item : {&a, &b, &c, &deep})
        tree.addObject(host, item, item == &deep ? "Dir/Sub" : "Dir");
    ASSERT_TRUE(!tree.removeObject(host, nullptr) && tree.removeObject(host, &b) &&
                tree.removeObject(host, &deep) && !tree.removeObject(host, &b));
    EXPECT_EQ(listing(&tree) + b.name(), "Dir/(Sub/() a c)b");  // empty directories stay

    tree.addObject(host, &deep, "Dir/Sub");
    EXPECT_FALSE(tree.removeDirectory(host, nullptr) ||
                 tree.removeDirectory(host, tree.findObjectLinkHierarchical(host, &a)));
    ASSERT_TRUE(tree.removeDirectory(host, tree.findLink("Dir")->findLink("Sub")));
    EXPECT_EQ(listing(&tree) + std::to_string(tree.exists(&deep)), "Dir/(a c)0");
    EXPECT_TRUE(tree.removeDirectory(host, tree.findLink("Dir")) && listing(&tree).empty());
}

// Rows: operations on a fresh directory -> what lookups, full names and
// removals answered, then the listing. "+d/n" files a new object n in d
// (objects count from 1), "*k@d" files object k once more in d, "?p" looks up
// the full name p (#k or -), "=k" copies object k's full name, "-k" removes
// object k's first entry, "~k:t" renames object k through its entry, "%d"
// removes directory d, "^" links the root's chain again by hand. The answers
// are the walk's: a renamed entry stays in place and hides what sorts after
// it; an object filed twice is found where the depth-first walk meets it
// first (subdirectories before a directory's own entries).
TEST_F(NameTreeTest, AnswersFollowTheChainHoweverItWasFilled) {
    expectRows(
        {"+e +d +c +b +a ?c ?a ?e ?b ?x ?0 ?f ?c ?d -> #3 #5 #1 #4 - - - #3 #2 | a b c d e",
         "+T/S +T/C +T/R9 ?T/C +T/R8 ?T/C +T/R7 ?T/R8 ?T/S ?T/C ?T/R6 -> #2 #2 #4 #1 #2 - | "
         "T/(C R7 R8 R9 S)",
         "+k +c +q +a +x +m +e +z +b +p +d ?a ?b ?c ?d ?e ?k ?m ?p ?q ?x ?z ?n ?y -> "
         "#4 #9 #2 #11 #7 #1 #6 #10 #3 #5 #8 - - | a b c d e k m p q x z",
         "+a +b +b +c +b ?b -2 ?b -3 ?b -5 ?b =5 -> #2 1 #3 1 #5 1 - - | a c",
         "+m/x +m/a +n/y +z +m/k/q ?m/a ?m\\x ?/m//k/q ?n/y ?m/y ?z ?m ?z/q ?m/ =5 =4 -> "
         "#2 #1 #5 #3 - #4 - - - m/k/q z | m/(k/(q) a x) n/(y) z",
         "+a +c +e +g +i ~1:z ?e ?z ?i ?a +b +h ?h ?b +f/y +c/w ?f/y ?z/y %f ?f/y -> "
         "- #1 - - #7 #6 #8 - - | b h z c e g i",
         "+a/x +b/y =2 *1@b =1 -1 =1 -1 =1 ?b/x -> b/y a/x 1 b/x 1 - - | a/() b/(y)",
         "+x =1 *1@d =1 -1 =1 -> x d/x 1 x | d/() x",
         "+a/x +b/y +a/c/z =2 %a =1 =2 =3 ?b/y +a/w =4 -> b/y - b/y - #2 a/w | a/(w) b/(y)",
         "+a/q +b/x *2@c =2 -2 =2 =1 -> b/x 1 c/x a/q | a/(q) b/() c/(x)",
         "+b +a ^ +c ?c =3 -1 =2 -> #3 c 1 a | a c",
         "+a +a/x ?a/x ?a +d/x +d ?d ?d/x -> - #1 #4 #3 | d/(x) a d"},
        [&](const std::string& row) {
            NameTree names;
            std::vector<std::unique_ptr<Entry>> objects;
            auto number = [&](Object* o) {
                for (std::size_t i = 0; i < objects.size(); ++i)
                    if (objects[i].get() == o) return "#" + std::to_string(i + 1);
                return std::string("-");
            };
            std::istringstream in(row);
            std::string op, out;
            while (in >> op) {
                std::string arg = op.substr(1), left = arg.substr(0, arg.find_first_of("@:"));
                std::string right = arg.substr(std::min(arg.size(), left.size() + 1));
                Entry* k =
                    std::strchr("*=-~", op[0]) ? objects[std::stoul(left) - 1].get() : nullptr;
                char full[64];
                if (op[0] == '+') {
                    std::size_t slash = arg.rfind('/');
                    objects.emplace_back(new Entry(arg.substr(slash + 1).c_str()));
                    std::string directory = slash == std::string::npos ? "" : arg.substr(0, slash);
                    names.addObject(host, objects.back().get(), directory.c_str());
                }
                if (op[0] == '*') names.addObject(host, k, right.c_str());
                if (op[0] == '?')
                    out += number(names.findObjectHierarchical(host, arg.c_str())) + " ";
                if (op[0] == '=')
                    out += (names.copyObjectFullName(k, full, sizeof(full)) ? full : "-") +
                           std::string(" ");
                if (op[0] == '-') out += std::to_string(names.removeObject(host, k)) + " ";
                if (op[0] == '~') names.findObjectLinkHierarchical(host, k)->setText(right.c_str());
                if (op[0] == '%') names.removeDirectory(host, names.findLink(arg.c_str()));
                if (op[0] == '^') {
                    NameLink* first = names.childLink();
                    first->setNextSibling(first->nextSibling());
                    names.setChildLink(first);
                }
            }
            return out + "| " + listing(&names);
        });
}

}  // namespace kova_test
