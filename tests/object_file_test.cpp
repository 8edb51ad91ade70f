// Object files: exact bytes written, what loads from hand-made files with
// which log lines, sharing of named objects, own files of stream owners,
// cache files, and damaged or hostile files.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {

// A node with a field of each common kind, which keeps its own name so it
// can be registered.
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

    int number = 0;
    char* text = nullptr;
    Style* style = nullptr;
    Node* child = nullptr;
};
KOVA_IMPLEMENT_CLASS_NAMED(FileNode, "kova_test::FileNode", &Node::absoluteClass)

// The same, saved into a file of its own when it is named.
class OwnFileNode : public FileNode {
    KOVA_RUNTIME_CLASS(OwnFileNode)
public:
    bool isStreamOwner() override { return true; }
};
KOVA_IMPLEMENT_CLASS_NAMED(OwnFileNode, "kova_test::OwnFileNode", &FileNode::absoluteClass)

Bytes record(int nameIndex, int classIndex, const Bytes& fields = {}) {
    return recordBytes(nameIndex, classIndex, fields);
}
const Bytes kNull = record(0, 0);

// The fields of a FileNode: next, number, text, style, child.
Bytes fileNode(const Bytes& next, int number, const std::string& text, const Bytes& style = kNull,
               const Bytes& child = kNull) {
    Bytes out = next + u32Bytes(static_cast<unsigned int>(number)) +
                u32Bytes(static_cast<unsigned int>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
    return out + style + child;
}

// A file whose table holds the names and whose root is of the first one.
Bytes file(std::initializer_list<std::string> names, const Bytes& fields) {
    return fileHeader(names) + Bytes{1, 0} + fields;
}

int live() {
    return RuntimeClass::totalClassInstanceCount();
}

// A game's session in a host of its own holding `files`: it loads `name`
// (through `cache` when given) as a game loads a screen, runs, takes a press
// and paints, then saves into emptied files. It notes the first nodes shown,
// the log, the streams opened, the styles alive and the files before and
// after the save.
struct Session {
    Session(const std::map<std::string, Bytes>& files, const char* name,
            const char* cache = nullptr, bool refuseWrites = false) {
        FileHost host;
        host.init();
        host.files = files;
        host.refuseWrites = refuseWrites;
        loaded = host.load(name, cache);
        host.update(0.1f);
        host.buttonPress(Button::Select, 0, 1);
        host.update(0.1f);
        host.paint();
        Node* node = host.firstNode();
        for (int i = 0; node && i < 3; ++i, node = node->nextNode(0)) {
            FileNode* f = dynamic_cast<FileNode*>(node);
            shown += f ? std::to_string(f->number) + ":" + (f->text ? f->text : "") + " " : "Node ";
        }
        styles = Style::absoluteClass()->classInstanceCount();
        log = host.log.text;
        opened = host.opened;
        before = host.files;
        host.files.clear();
        host.save();
        saved = host.files;
        host.exit();
    }
    bool loaded;
    int styles;
    std::string shown, log;
    std::vector<std::string> opened;
    std::map<std::string, Bytes> before, saved;
};

class ObjectFileTest : public HostTest<FileHost> {
protected:
    // Screens/Main (own file) -> child FileNode using the named style Title
    // twice -> next: a by-name reference to Screens/Other (own file).
    void buildGraph() {
        readObject(
            host,
            "OwnFileNode {Next node: OwnFileNode \"Screens/Other\" {Next node: null Number: 2 "
            "Text: \"other\" Style: Style \"Title\" {Font handle: \"\"} Child: null} "
            "Number: 1 Text: \"main\" Style: @\"Title\" Child: FileNode {Next node: null "
            "Number: 3 Text: \"child\" Style: @\"Title\" Child: null}}",
            "Screens/Main");
        ASSERT_TRUE(host.save());
        files = host.files;
    }
    std::map<std::string, Bytes> files;
    const std::string loads = "Kova: Loading: Screens/Main\r\nKova: Loading: Screens/Other\r\n";
};

// Each file loads in a session of its own. A row gives the bytes and then
// whether the load succeeded, the numbers and texts of the first nodes shown,
// and the log.
TEST_F(ObjectFileTest, HandMadeFilesLoadOrFailWithTheirLogLines) {
    const std::string loaded = "loaded ", failed = "failed ", loading = "Kova: Loading: F\r\n";
    const std::string notRead = "Kova: Error: Reading from istream \"kova_test::FileNode(F)\"\r\n";
    Bytes deep = kNull, names, old, oldNull = {6, 0, 0, 0, 0, 0};
    std::string nestedLoads, nodeReads;
    for (int i = 0; i < 3000; ++i) {
        deep = record(0, 1, deep);
        if (i < 32) nestedLoads += loading;
        if (i < 1024) nodeReads += "Kova: Error: Reading from istream \"tarn::kova::Node\"\r\n";
    }
    appendText(names, "KovaFile 2.0");
    for (int i = 0; i < 600; ++i)
        appendText(names, "n" + std::to_string(i));
    appendText(old, "kova_test::FileNode");
    old = old + oldNull + Bytes{9, 0, 0, 0, 3, 0, 0, 0, 'o', 'l', 'd'} + oldNull + oldNull +
          oldNull + oldNull;
    const std::pair<Bytes, std::string> rows[] = {
        // A node root and its unnamed next node.
        {file({"kova_test::FileNode"}, fileNode(record(0, 1, fileNode(kNull, 2, "two")), 1, "one")),
         loaded + "1:one 2:two |" + loading},
        // The old format: no magic and no table, texts in place with a length byte.
        {old, loaded +
                  "9:old |Kova: Error: Wrong file version(kova_test::FileNode)\r\n"
                  "Kova: Info: Trying old format \"F\"\r\n" +
                  loading},
        // A root that is not a node is kept by name, not shown.
        {file({"tarn::kova::Style"}, {0}), loaded + "|" + loading},
        {file({"tarn::kova::Nothing"}, {}),
         failed + "|Kova: Error: Class 'tarn::kova::Nothing' not found\r\n"},
        {file({"tarn::kova::IStream"}, {}),
         failed + "|Kova: Error: Loading class 'tarn::kova::IStream' need to be inherited from "
                  "object\r\n"},
        // A class of the wrong family in a typed field.
        {file({"kova_test::FileNode", "tarn::kova::Pointer"}, fileNode(record(0, 2), 4, "")),
         loaded + "4: |" + loading +
             "Kova: Error: Loading: Class Pointer cannot stand in field 'Next node'\r\n"},
        // An unnamed record that fails, one that is shorter than its header,
        // a name index past the table, names longer than the reader's buffers.
        {file({"kova_test::FileNode"}, fileNode(record(0, 1), 0, "")),
         failed + "0: 0: |" + loading + "Kova: Error: Loading: damaged record length 0\r\n" +
             "Kova: Error: Reading from istream \"kova_test::FileNode\"\r\n" + notRead},
        {file({"kova_test::FileNode"}, Bytes{4, 0, 0, 0, 0, 0, 0, 0}),
         failed + "0: |" + loading + "Kova: Error: Loading: damaged record length 4\r\n" + notRead},
        {file({"kova_test::FileNode"}, Bytes{8, 0, 0, 0, 9, 0, 0, 0}),
         failed + "0: |" + loading + notRead},
        {file({"kova_test::FileNode", std::string(200, 'x')},
              fileNode(record(2, 1, fileNode(kNull, 0, "")), 0, "")),
         failed + "0: |" + loading + notRead},
        // A named record that reads short.
        {file({"kova_test::FileNode", "Shared", "tarn::kova::Style"},
              fileNode(kNull, 0, "", record(2, 3, Bytes{0, 1, 2, 3}))),
         loaded + "0: |" + loading +
             "Kova: Warning: reading differs from saved file \"tarn::kova::Style\"\r\n"},
        // Files that refer to each other by name without ever naming their
        // roots would open each other forever; the nesting limit ends it.
        {file({"tarn::kova::Node", "F"}, record(2, 0)),
         loaded + "Node Node Node |" + nestedLoads +
             "Kova: Error: Loading \"F\": files nested deeper than 32\r\n"},
        // A root that is its own next node: every walk of the tree stops at
        // its depth limit and says so once.
        {file({"kova_test::FileNode", "F"}, fileNode(record(2, 1), 1, "")),
         loaded + "1: 1: 1: |" + loading +
             "Kova: Error: Node tree deeper than 4096 nodes; is a node its own descendant?\r\n"},
        // Nodes nested far deeper than any screen.
        {file({"tarn::kova::Node"}, deep),
         failed + "Node Node Node |" + loading +
             "Kova: Error: Loading: records nested deeper than 1024 or more than 1048576\r\n" +
             nodeReads + "Kova: Error: Reading from istream \"tarn::kova::Node(F)\"\r\n"},
        // More names than a writer stores.
        {names + Bytes{0, 1, 0}, failed + "|Kova: Error: Too many names in file (more than 511)\r\n"
                                          "Kova: Info: Trying old format \"F\"\r\n"
                                          "Kova: Error: Class 'KovaFile 2.0' not found\r\n"},
    };
    const int alive = live();
    for (const auto& row : rows) {
        Session session({{"F", row.first}}, "F");
        EXPECT_EQ((session.loaded ? loaded : failed) + session.shown + "|" + session.log,
                  row.second);
        EXPECT_EQ(live(), alive);
    }
}

TEST_F(ObjectFileTest, SaveLoadSaveGivesIdenticalBytes) {
    buildGraph();
    EXPECT_EQ(host.created, (std::vector<std::string>{"Screens/Main", "Screens/Other"}));
    EXPECT_EQ(host.log.text, "");
    // Main's file: the table holds each text once, in first-use order; the
    // next node is a by-name reference, the style a full record each time.
    Bytes title = record(3, 4, {0});  // Style "Title" with a font without a name
    Bytes child = record(0, 5, fileNode(kNull, 3, "child", title));
    EXPECT_EQ(files["Screens/Main"], file({"kova_test::OwnFileNode", "Screens/Other", "Title",
                                           "tarn::kova::Style", "kova_test::FileNode"},
                                          fileNode(record(2, 0), 1, "main", title, child)));
    Session second(files, "Screens/Main");
    EXPECT_EQ(second.log, loads);
    EXPECT_EQ(second.opened, (std::vector<std::string>{"Screens/Main", "Screens/Other"}));
    EXPECT_EQ(second.shown, "1:main 2:other ");
    // Both systems hold "System" and "Title": the second loaded Title once.
    EXPECT_EQ(second.styles, 4);
    EXPECT_EQ(second.saved, files);
}

TEST_F(ObjectFileTest, CacheRecordsThenReplaysOnlyTheCache) {
    buildGraph();
    Session recording(files, "Screens/Main", "cache");
    EXPECT_EQ(recording.log, "Kova: Creating cache file 'cache'\r\n" + loads);
    // Every byte read, in reading order. The later copies of the style's
    // record (one in Main, one in Other) are found by name after their
    // header, and the rest of each, its one font byte, is skipped.
    const Bytes& main = files["Screens/Main"];
    const Bytes cache = recording.before.at("cache");
    EXPECT_EQ(cache.size(), main.size() + files["Screens/Other"].size() - 2);
    EXPECT_NE(Bytes(cache.begin(), cache.begin() + static_cast<long>(main.size()) - 1),
              Bytes(main.begin(), main.end() - 1));  // a byte of Main was skipped before its end

    Session replaying({{"cache", cache}}, "Screens/Main", "cache");
    EXPECT_EQ(replaying.opened, std::vector<std::string>{"cache"});
    EXPECT_EQ(replaying.log, "Kova: Using cache file 'cache' for loading\r\n" + loads);
    EXPECT_EQ(replaying.saved, files);

    Session noCache(files, "Screens/Main", "cache", true);
    EXPECT_EQ(noCache.log,
              "Kova: Cannot create cache file 'cache', using standard reading\r\n" + loads);
    EXPECT_EQ(noCache.opened, (std::vector<std::string>{"cache", "Screens/Main", "Screens/Other"}));

    // A cache recorded for other files replays whatever its bytes decode to,
    // without crashing or leaking.
    for (std::size_t drop = 0; drop < cache.size(); drop += 7) {
        Session({{"cache", Bytes(cache.begin() + static_cast<long>(drop), cache.end())}},
                drop ? "Screens/Main" : "Screens/Other", "cache");
    }
}

TEST_F(ObjectFileTest, SaveFailuresLogTheirLines) {
    auto* menu = static_cast<OwnFileNode*>(readObject(
        host, "OwnFileNode {Next node: null Number: 1 Text: \"x\" Style: null Child: null}",
        "Menu"));
    host.refuseWrites = true;
    EXPECT_FALSE(host.save());
    EXPECT_EQ(host.log.text, "Kova: Error: Creating ostream \"Menu\"\r\n");
    host.refuseWrites = false;

    // A body over 524,288 bytes cannot be gathered: the save fails cleanly.
    // One byte short of the limit still works. (A body ending exactly at the
    // limit cannot end in a record: its length is patched by moving back and
    // forth, and the end position itself is outside the buffer.)
    const int fixed = 2 + 8 + 4 + 4 + 8 + 8;  // class index, fields around the text
    const int largest = ClassOStream::BodySize - fixed - 1;
    for (int size : {600000, largest}) {
        host.log.text.clear();
        Memory::stringDelete(menu->text);
        menu->text = Memory::stringCreate(static_cast<std::size_t>(size) + 1);
        std::memset(menu->text, 'a', static_cast<std::size_t>(size));
        menu->text[size] = 0;
        EXPECT_EQ(host.save(), size == largest);
        EXPECT_EQ(host.log.text,
                  size == largest ? "" : "Kova: Error: Writing to stream \"Menu\"\r\n");
    }
    EXPECT_EQ(host.files["Menu"].size(), 13u + 1 + 22 + 1 + ClassOStream::BodySize - 1);
}

// Every truncation and many single-byte changes of a real file set must load
// or fail cleanly, leaving nothing alive after exit.
TEST_F(ObjectFileTest, DamagedFilesLoadOrFailCleanly) {
    buildGraph();
    const Bytes main = files.at("Screens/Main");
    auto tryLoad = [&](const Bytes& damaged) {
        std::map<std::string, Bytes> copy = files;
        copy["Screens/Main"] = damaged;
        Session(copy, "Screens/Main");
        return live();
    };
    host.exit();
    for (std::size_t at = 0; at < main.size(); ++at) {
        ASSERT_EQ(tryLoad(Bytes(main.begin(), main.begin() + static_cast<long>(at))), 0) << at;
        for (int change : {0x00, 0xFF, 0x80, 0x01}) {
            Bytes flipped = main;
            flipped[at] = static_cast<unsigned char>(change == 0x01 ? flipped[at] ^ 1 : change);
            ASSERT_EQ(tryLoad(flipped), 0) << "byte " << at << " set to " << change;
        }
    }
    host.init();
}

}  // namespace kova_test
