// Object files: exact bytes written, what loads from hand-made files, sharing
// of named objects, own files of stream owners, the old format, cache files,
// and every failure path with its log line.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {

// A node with a field of each common kind, which keeps its own name so it can
// be registered, and which records the show events that reach it.
class FileNode : public Named<Node> {
    KOVA_RUNTIME_CLASS(FileNode)
public:
    ~FileNode() override { Memory::stringDelete(text); }
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) && stream.streamInt(number, "Number") &&
               stream.streamString(text, "Text") &&
               stream.streamStyle(system, style, "Style", nullptr) &&
               stream.streamNode(system, child, "Child", nullptr);
    }
    bool onPreWaitShow(System& system, Rectangle&, Mode&) override {
        return note(system, "PreWaitShow");
    }
    bool onPreShow(System& system, Rectangle&, Mode&) override { return note(system, "PreShow"); }
    bool onPostShow(System& system, Rectangle&, Mode&) override { return note(system, "PostShow"); }

    int number = 0;
    char* text = nullptr;
    Style* style = nullptr;
    Node* child = nullptr;

private:
    bool note(System& system, const char* event) {
        static_cast<TestHost&>(system).calls.push_back(std::string(event) + " " +
                                                       std::to_string(number));
        return false;
    }
};
KOVA_IMPLEMENT_CLASS_NAMED(FileNode, "kova_test::FileNode", &Node::absoluteClass)

// The same, saved into a file of its own when it is named.
class OwnFileNode : public FileNode {
    KOVA_RUNTIME_CLASS(OwnFileNode)
public:
    bool isStreamOwner() override { return true; }
};
KOVA_IMPLEMENT_CLASS_NAMED(OwnFileNode, "kova_test::OwnFileNode", &FileNode::absoluteClass)

class ObjectFileTest : public HostTest<FileHost> {
protected:
    template <class T>
    T* make(const char* name, int number, const char* text = nullptr) {
        T* node = new T();
        node->setName(name);
        node->number = number;
        node->text = Memory::stringDuplicate(text);
        return node;
    }
};

Bytes nullRecord() {
    Bytes out;
    appendU32(out, 8);
    appendU16(out, 0);
    appendU16(out, 0);
    return out;
}

TEST_F(ObjectFileTest, SavesAnOwnFileByteForByte) {
    OwnFileNode* menu = make<OwnFileNode>("Menu", 5, "Hi");
    ASSERT_EQ(host.registerObject(menu, nullptr), menu);
    EXPECT_TRUE(host.save());
    EXPECT_EQ(host.created, std::vector<std::string>{"Menu"});

    Bytes expected = fileHeader({"kova_test::OwnFileNode"});
    appendU16(expected, 1);  // root class
    Bytes none = nullRecord();
    expected.insert(expected.end(), none.begin(), none.end());  // next node
    appendU32(expected, 5);                                     // number
    appendU32(expected, 2);                                     // text
    append(expected, {'H', 'i'});
    expected.insert(expected.end(), none.begin(), none.end());  // style
    expected.insert(expected.end(), none.begin(), none.end());  // child
    EXPECT_EQ(host.files["Menu"], expected);
    EXPECT_EQ(host.log.text, "");
}

// A record in a "KovaFile 2.0" body: length, name index, class index, fields.
Bytes record(int nameIndex, int classIndex, const Bytes& fields = {}) {
    Bytes out;
    appendU32(out, static_cast<unsigned int>(8 + fields.size()));
    appendU16(out, nameIndex);
    appendU16(out, classIndex);
    out.insert(out.end(), fields.begin(), fields.end());
    return out;
}

// The fields of a FileNode: next, number, text, style, child.
Bytes fileNodeFields(const Bytes& next, int number, const std::string& text,
                     const Bytes& style = nullRecord(), const Bytes& child = nullRecord()) {
    Bytes out = next;
    appendU32(out, static_cast<unsigned int>(number));
    appendU32(out, static_cast<unsigned int>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
    out.insert(out.end(), style.begin(), style.end());
    out.insert(out.end(), child.begin(), child.end());
    return out;
}

Bytes u16(int value) {
    Bytes out;
    appendU16(out, value);
    return out;
}

TEST_F(ObjectFileTest, LoadsAHandMadeFileAndShowsItsRoot) {
    // Root FileNode 1 whose next node is an unnamed FileNode 2.
    Bytes second = record(0, 1, fileNodeFields(nullRecord(), 2, "two"));
    host.files["Menu"] =
        fileHeader({"kova_test::FileNode"}) + u16(1) + fileNodeFields(second, 1, "one");
    EXPECT_TRUE(host.load("Menu", nullptr));
    EXPECT_EQ(host.log.text, "Kova: Loading: Menu\r\n");
    EXPECT_EQ(host.opened, std::vector<std::string>{"Menu"});

    auto* root = static_cast<FileNode*>(host.firstNode());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->actualClass(), FileNode::absoluteClass());
    EXPECT_STREQ(root->name(), "Menu");
    EXPECT_EQ(host.findNamedObject("Menu"), root);
    EXPECT_EQ(root->number, 1);
    EXPECT_STREQ(root->text, "one");
    auto* next = static_cast<FileNode*>(root->nextNode(0));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->name(), nullptr);
    EXPECT_EQ(next->number, 2);
    EXPECT_STREQ(next->text, "two");
    EXPECT_EQ(FileNode::absoluteClass()->classInstanceCount(), 2);

    // The whole tree is shown, each event through all of it, then settled.
    EXPECT_EQ(host.calls, (std::vector<std::string>{"PreWaitShow 1", "PreWaitShow 2", "PreShow 1",
                                                    "PreShow 2", "PostShow 1", "PostShow 2",
                                                    "onPreUpdate", "onPostUpdate"}));

    // A second load keeps the root and shows nothing; its unnamed result goes.
    host.calls.clear();
    host.files["Other"] = fileHeader({"tarn::kova::Node"}) + u16(1) + nullRecord();
    EXPECT_TRUE(host.load("Other", nullptr));
    EXPECT_EQ(host.firstNode(), root);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"onPreUpdate", "onPostUpdate"}));
    EXPECT_EQ(Node::absoluteClass()->classInstanceCount(), 0);
}

TEST_F(ObjectFileTest, ARootThatIsNotANodeIsNotShown) {
    host.files["Style"] = fileHeader({"tarn::kova::Style"}) + Bytes{1, 0, 0};
    EXPECT_TRUE(host.load("Style", nullptr));
    EXPECT_EQ(host.firstNode(), nullptr);
    // The style keeps its name, so the name directory holds it.
    Object* style = host.findNamedObject("Style");
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->actualClass(), Style::absoluteClass());

    Object* loaded = nullptr;
    host.files["Node"] = fileHeader({"tarn::kova::Node"}) + u16(1) + nullRecord();
    EXPECT_TRUE(host.load("Node", loaded));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(host.firstNode(), nullptr);  // loading into a reference never sets the root
    Object::clear(host, loaded);
}

// Builds Screens/Main (own file) -> child FileNode using the named style
// Title twice -> next: a by-name reference to Screens/Other (own file).
class GraphTest : public ObjectFileTest {
protected:
    void buildGraph() {
        Style* title = new Style("Title", 0);
        ASSERT_EQ(host.registerStyle(title, nullptr), title);
        OwnFileNode* main = make<OwnFileNode>("Main", 1, "main");
        OwnFileNode* other = make<OwnFileNode>("Other", 2, "other");
        ASSERT_EQ(host.registerObject(main, "Screens"), main);
        ASSERT_EQ(host.registerObject(other, "Screens"), other);
        FileNode* child = make<FileNode>(nullptr, 3, "child");
        child->style = title;
        Object* adopted = nullptr;
        ASSERT_TRUE(Object::create(host, adopted, child));  // counted like a created one
        main->child = child;
        main->style = title;
        main->nextNode(0) = other;
        other->style = title;
    }
};

TEST_F(GraphTest, SaveLoadSaveGivesIdenticalBytes) {
    buildGraph();
    EXPECT_TRUE(host.save());
    EXPECT_EQ(host.created, (std::vector<std::string>{"Screens/Main", "Screens/Other"}));
    EXPECT_EQ(host.log.text, "");
    std::map<std::string, Bytes> first = host.files;

    // Main's file: the table holds each text once, in first-use order; the
    // next node is a by-name reference, the style a full record each time.
    Bytes title = record(3, 4, {0});  // Style "Title" with a font without a name
    Bytes childRecord = record(0, 5, fileNodeFields(nullRecord(), 3, "child", title));
    EXPECT_EQ(first["Screens/Main"],
              fileHeader({"kova_test::OwnFileNode", "Screens/Other", "Title", "tarn::kova::Style",
                          "kova_test::FileNode"}) +
                  u16(1) + fileNodeFields(record(2, 0), 1, "main", title, childRecord));

    FileHost second;
    second.init();
    second.files = first;
    second.files.erase("cache");
    EXPECT_TRUE(second.load("Screens/Main", nullptr));
    EXPECT_EQ(second.log.text, "Kova: Loading: Screens/Main\r\nKova: Loading: Screens/Other\r\n");
    EXPECT_EQ(second.opened, (std::vector<std::string>{"Screens/Main", "Screens/Other"}));
    auto* root = static_cast<FileNode*>(second.firstNode());
    ASSERT_NE(root, nullptr);
    auto* child = static_cast<FileNode*>(root->child);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(root->style, child->style);  // the named style is shared
    // Both systems hold "System" and "Title"; the second loaded Title once.
    EXPECT_EQ(Style::absoluteClass()->classInstanceCount(), 4);
    EXPECT_EQ(root->nextNode(0), second.findNamedObject("Screens/Other"));

    second.files.clear();
    EXPECT_TRUE(second.save());
    EXPECT_EQ(second.files, first);
    second.exit();
}

TEST_F(GraphTest, CacheRecordsThenReplaysOnlyTheCache) {
    buildGraph();
    ASSERT_TRUE(host.save());
    std::map<std::string, Bytes> files = host.files;

    FileHost recording;
    recording.init();
    recording.files = files;
    EXPECT_TRUE(recording.load("Screens/Main", "cache"));
    EXPECT_EQ(recording.log.text,
              "Kova: Creating cache file 'cache'\r\n"
              "Kova: Loading: Screens/Main\r\n"
              "Kova: Loading: Screens/Other\r\n");
    // Every byte read, in reading order. The later copies of the style's
    // record (one in Main, one in Other) are found by name after their
    // header, and the rest of each, its one font byte, is skipped.
    const Bytes& mainFile = files["Screens/Main"];
    const Bytes& otherFile = files["Screens/Other"];
    EXPECT_EQ(recording.files["cache"].size(), mainFile.size() + otherFile.size() - 2);
    Bytes cacheStart(recording.files["cache"].begin(),
                     recording.files["cache"].begin() + static_cast<long>(mainFile.size()) - 1);
    Bytes mainStart(mainFile.begin(), mainFile.end() - 1);
    EXPECT_NE(cacheStart, mainStart);  // a byte of Main was skipped before its end
    recording.exit();

    FileHost replaying;
    replaying.init();
    replaying.files["cache"] = files.count("cache") ? files["cache"] : Bytes();
    replaying.files["cache"] = recording.files["cache"];
    EXPECT_TRUE(replaying.load("Screens/Main", "cache"));
    EXPECT_EQ(replaying.opened, std::vector<std::string>{"cache"});
    EXPECT_EQ(replaying.log.text,
              "Kova: Using cache file 'cache' for loading\r\n"
              "Kova: Loading: Screens/Main\r\n"
              "Kova: Loading: Screens/Other\r\n");
    auto* root = static_cast<FileNode*>(replaying.firstNode());
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->text, "main");
    ASSERT_NE(root->child, nullptr);
    EXPECT_EQ(static_cast<FileNode*>(root->child)->number, 3);
    replaying.files.clear();
    EXPECT_TRUE(replaying.save());
    EXPECT_EQ(replaying.files, files);
    replaying.exit();

    FileHost noCache;
    noCache.init();
    noCache.files = files;
    noCache.refuseWrites = true;
    EXPECT_TRUE(noCache.load("Screens/Main", "cache"));
    EXPECT_EQ(noCache.log.text.rfind(
                  "Kova: Cannot create cache file 'cache', using standard reading\r\n", 0),
              0u);
    EXPECT_EQ(noCache.opened, (std::vector<std::string>{"cache", "Screens/Main", "Screens/Other"}));
    noCache.exit();
}

TEST_F(ObjectFileTest, ReadsTheOldFormat) {
    // No magic and no table: texts stand in place with a length byte.
    Bytes file;
    appendText(file, "kova_test::FileNode");
    Bytes oldNull = {6, 0, 0, 0, 0, 0};
    file = file + oldNull;
    appendU32(file, 9);
    appendU32(file, 3);
    append(file, {'o', 'l', 'd'});
    file = file + oldNull + oldNull;
    host.files["Old"] = file;
    EXPECT_TRUE(host.load("Old", nullptr));
    EXPECT_EQ(host.log.text,
              "Kova: Error: Wrong file version(kova_test::FileNode)\r\n"
              "Kova: Info: Trying old format \"Old\"\r\n"
              "Kova: Loading: Old\r\n");
    EXPECT_EQ(host.opened, (std::vector<std::string>{"Old", "Old"}));
    auto* root = static_cast<FileNode*>(host.firstNode());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->number, 9);
    EXPECT_STREQ(root->text, "old");
}

TEST_F(ObjectFileTest, FailuresLogTheirLines) {
    struct Case {
        const char* what;
        Bytes file;
        bool loads;
        const char* log;
    };
    Bytes oneNode = fileNodeFields(nullRecord(), 0, "");
    std::vector<Case> cases = {
        {"missing file", {}, false, "Kova: Error: Unable to open istream \"F\"\r\n"},
        {"unknown root class", fileHeader({"tarn::kova::Nothing"}) + u16(1), false,
         "Kova: Error: Class 'tarn::kova::Nothing' not found\r\n"},
        {"root not an object", fileHeader({"tarn::kova::IStream"}) + u16(1), false,
         "Kova: Error: Loading class 'tarn::kova::IStream' need to be inherited from object\r\n"},
        {"unknown nested class goes on",
         fileHeader({"kova_test::FileNode", "Nothing"}) + u16(1) +
             fileNodeFields(record(0, 2), 4, ""),
         true, "Kova: Loading: F\r\nKova: Error: Loading: Unknown class: Nothing\r\n"},
        {"wrong family in a typed field",
         fileHeader({"kova_test::FileNode", "tarn::kova::Pointer"}) + u16(1) +
             fileNodeFields(record(0, 2), 4, ""),
         true,
         "Kova: Loading: F\r\nKova: Error: Loading: Class Pointer cannot stand in field 'Next "
         "node'\r\n"},
        {"unnamed record that fails",
         fileHeader({"kova_test::FileNode"}) + u16(1) + fileNodeFields(record(0, 1), 0, ""), false,
         "Kova: Loading: F\r\nKova: Error: Loading: damaged record length 0\r\n"
         "Kova: Error: Reading from istream \"kova_test::FileNode\"\r\n"
         "Kova: Error: Reading from istream \"kova_test::FileNode(F)\"\r\n"},
        {"named record that reads short",
         fileHeader({"kova_test::FileNode", "Shared", "tarn::kova::Style"}) + u16(1) +
             fileNodeFields(record(0, 0), 0, "", record(2, 3, Bytes{0, 1, 2, 3})),
         true,
         "Kova: Loading: F\r\nKova: Warning: reading differs from saved file "
         "\"tarn::kova::Style\"\r\n"},
        {"record shorter than its header",
         fileHeader({"kova_test::FileNode"}) + u16(1) + Bytes{4, 0, 0, 0, 0, 0, 0, 0}, false,
         "Kova: Loading: F\r\nKova: Error: Loading: damaged record length 4\r\n"
         "Kova: Error: Reading from istream \"kova_test::FileNode(F)\"\r\n"},
        {"name index past the table",
         fileHeader({"kova_test::FileNode"}) + u16(1) + Bytes{8, 0, 0, 0, 9, 0, 0, 0}, false,
         "Kova: Loading: F\r\nKova: Error: Reading from istream \"kova_test::FileNode(F)\"\r\n"},
    };
    const int alive = RuntimeClass::totalClassInstanceCount();
    for (const Case& c : cases) {
        FileHost fresh;
        fresh.init();
        if (!c.file.empty()) fresh.files["F"] = c.file;
        Object* loaded = nullptr;
        EXPECT_EQ(fresh.load("F", loaded), c.loads) << c.what;
        EXPECT_EQ(fresh.log.text, c.log) << c.what;
        Object::clear(fresh, loaded);
        fresh.exit();
        EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), alive) << c.what;
    }
}

TEST_F(ObjectFileTest, SaveFailuresLogTheirLines) {
    OwnFileNode* menu = make<OwnFileNode>("Menu", 1, "x");
    ASSERT_EQ(host.registerObject(menu, nullptr), menu);
    host.refuseWrites = true;
    EXPECT_FALSE(host.save());
    EXPECT_EQ(host.log.text, "Kova: Error: Creating ostream \"Menu\"\r\n");

    // A body over 524,288 bytes cannot be gathered: the save fails cleanly.
    host.refuseWrites = false;
    host.log.text.clear();
    Memory::stringDelete(menu->text);
    menu->text = Memory::stringCreate(600001);
    std::memset(menu->text, 'a', 600000);
    menu->text[600000] = 0;
    EXPECT_FALSE(host.save());
    EXPECT_EQ(host.log.text, "Kova: Error: Writing to stream \"Menu\"\r\n");

    // One byte short of the limit still works. (A body ending exactly at the
    // limit cannot end in a record: its length is patched by moving back and
    // forth, and the end position itself is outside the buffer.)
    host.log.text.clear();
    const int fixed = 2 + 8 + 4 + 4 + 8 + 8;  // class index, fields around the text
    const int text = ClassOStream::BodySize - fixed - 1;
    Memory::stringDelete(menu->text);
    menu->text = Memory::stringCreate(text + 1);
    std::memset(menu->text, 'b', text);
    menu->text[text] = 0;
    EXPECT_TRUE(host.save()) << host.log.text;
    EXPECT_EQ(host.files["Menu"].size(), 13u + 1 + 22 + 1 + ClassOStream::BodySize - 1);
}

// Files that refer to each other by name without ever naming their roots
// would open each other forever; the nesting limit ends it.
TEST_F(ObjectFileTest, HostileFilesEndCleanly) {
    host.files["Loop"] = fileHeader({"tarn::kova::Node", "Loop"}) + u16(1) + record(2, 0);
    EXPECT_TRUE(host.load("Loop", nullptr));
    EXPECT_NE(host.log.text.find("Kova: Error: Loading \"Loop\": files nested deeper than 32\r\n"),
              std::string::npos);
    EXPECT_EQ(host.opened.size(), 32u);

    // A root that names itself as its own next node: every walk of the tree
    // stops at its depth limit and says so once.
    {
        FileHost self;
        self.init();
        self.files["Self"] = fileHeader({"kova_test::FileNode", "Self"}) + u16(1) +
                             fileNodeFields(record(2, 1), 1, "");
        EXPECT_TRUE(self.load("Self", nullptr));
        ASSERT_NE(self.firstNode(), nullptr);
        EXPECT_EQ(self.firstNode()->nextNode(0), self.firstNode());
        EXPECT_TRUE(self.update(0.1f));
        self.buttonPress(Button::Select, 0, 1);
        EXPECT_TRUE(self.update(0.1f));
        EXPECT_TRUE(self.paint());
        EXPECT_EQ(self.log.text,
                  "Kova: Loading: Self\r\n"
                  "Kova: Error: Node tree deeper than 4096 nodes; is a node its own "
                  "descendant?\r\n");
        self.exit();
    }

    // A chain of nodes nested far deeper than any screen.
    Bytes deep = nullRecord();
    for (int i = 0; i < 3000; ++i)
        deep = record(0, 1, deep);
    host.files["Deep"] = fileHeader({"tarn::kova::Node"}) + u16(1) + deep;
    host.log.text.clear();
    Object* loaded = nullptr;
    EXPECT_FALSE(host.load("Deep", loaded));
    EXPECT_NE(host.log.text.find("records nested deeper than 1024"), std::string::npos);
    Object::clear(host, loaded);

    // A table of more names than a writer can store.
    Bytes table;
    appendText(table, "KovaFile 2.0");
    for (int i = 0; i < 600; ++i)
        appendText(table, "n" + std::to_string(i));
    table.push_back(0);
    host.files["Names"] = table + u16(1);
    host.log.text.clear();
    EXPECT_FALSE(host.load("Names", nullptr));
    EXPECT_EQ(host.log.text.substr(0, 59),
              "Kova: Error: Too many names in file (more than 511)\r\nKova: ");

    // Names longer than the reader's buffers fail their read.
    std::string longName(200, 'x');
    host.files["Long"] = fileHeader({"kova_test::FileNode", longName}) + u16(1) +
                         fileNodeFields(record(2, 1, fileNodeFields(nullRecord(), 0, "")), 0, "");
    host.log.text.clear();
    EXPECT_FALSE(host.load("Long", nullptr));
}

// Every truncation and many single-byte changes of a real file set must load
// or fail cleanly, leaving nothing alive after exit.
TEST_F(GraphTest, DamagedFilesLoadOrFailCleanly) {
    buildGraph();
    ASSERT_TRUE(host.save());
    const std::map<std::string, Bytes> files = host.files;
    const Bytes& main = files.at("Screens/Main");

    auto tryLoad = [&](const Bytes& damaged) {
        FileHost fresh;
        fresh.init();
        fresh.files = files;
        fresh.files["Screens/Main"] = damaged;
        fresh.load("Screens/Main", nullptr);
        fresh.update(0.1f);
        fresh.paint();
        fresh.exit();
        return RuntimeClass::totalClassInstanceCount();
    };
    host.exit();
    for (std::size_t length = 0; length < main.size(); ++length) {
        Bytes cut(main.begin(), main.begin() + static_cast<long>(length));
        ASSERT_EQ(tryLoad(cut), 0) << "cut at " << length;
    }
    for (std::size_t at = 0; at < main.size(); ++at) {
        for (int change : {0x00, 0xFF, 0x80, 0x01}) {
            Bytes flipped = main;
            flipped[at] = static_cast<unsigned char>(change == 0x01 ? flipped[at] ^ 1 : change);
            ASSERT_EQ(tryLoad(flipped), 0) << "byte " << at << " set to " << change;
        }
    }
    host.init();
}

// A writer's table holds 511 names; a file that needs more cannot be saved.
TEST_F(ObjectFileTest, TooManyNamesFailTheSave) {
    OwnFileNode* root = make<OwnFileNode>("Root", 0);
    ASSERT_EQ(host.registerObject(root, nullptr), root);
    Node** slot = &root->nextNode(0);
    for (int i = 0; i < 600; ++i) {
        FileNode* node = make<FileNode>(("n" + std::to_string(i)).c_str(), i);
        ASSERT_EQ(host.registerObject(node, "Chain"), node);
        *slot = node;
        slot = &node->nextNode(0);
    }
    EXPECT_FALSE(host.save());
    const std::string last = "Kova: Error: Writing to stream \"Root\"\r\n";
    ASSERT_GE(host.log.text.size(), last.size());
    EXPECT_EQ(host.log.text.substr(host.log.text.size() - last.size()), last);

    // 500 names fit.
    Node* rest = *(&root->nextNode(0));
    Node* cut = rest;
    for (int i = 0; i < 500; ++i)
        cut = cut->nextNode(0);
    Node* tail = cut->nextNode(0);
    cut->nextNode(0) = nullptr;
    host.log.text.clear();
    EXPECT_TRUE(host.save()) << host.log.text;
    cut->nextNode(0) = tail;
}

// A cache recorded for other files replays whatever its bytes decode to,
// without crashing or leaking.
TEST_F(GraphTest, StaleCacheReplaysCleanly) {
    buildGraph();
    ASSERT_TRUE(host.save());
    FileHost recording;
    recording.init();
    recording.files = host.files;
    ASSERT_TRUE(recording.load("Screens/Main", "cache"));
    Bytes cache = recording.files["cache"];
    recording.exit();

    for (std::size_t drop = 0; drop < cache.size(); drop += 7) {
        FileHost stale;
        stale.init();
        stale.files["cache"] = Bytes(cache.begin() + static_cast<long>(drop), cache.end());
        stale.load("Screens/Main", "cache");
        stale.load("Screens/Other", "cache");
        stale.update(0.1f);
        stale.exit();
    }
    host.files["Other"] = host.files["Screens/Other"];
    FileHost other;
    other.init();
    other.files["cache"] = cache;
    other.load("Screens/Other", "cache");  // decodes Main's bytes as Other
    other.update(0.1f);
    other.paint();
    other.exit();
}

}  // namespace kova_test
