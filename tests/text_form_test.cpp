// The text form of object files: the exact text written for a graph, exact
// error messages for malformed texts, binary -> text -> binary exactness for
// hand-picked graphs and for every engine class, and robustness against any
// damage to a text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TextForm.h"
#include "test_host.h"

namespace kova_test {

using namespace tarn::kova::text;

// A node with a field of every kind, a static text written by its own
// onLoad and onSave, and a name of its own.
class TestNode : public Named<Node> {
    KOVA_RUNTIME_CLASS(TestNode)
public:
    TestNode() : styles(Style::absoluteClass()) {}
    ~TestNode() override {
        Memory::stringDelete(text);
        Memory::wstringDelete(wide);
    }
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) && stream.streamUbyte(ubyte, "Ubyte field") &&
               stream.streamSbyte(sbyte, "Sbyte field") &&
               stream.streamUshort(ushort, "Ushort field") &&
               stream.streamSshort(sshort, "Sshort field") &&
               stream.streamUlong(ulong, "Ulong field") &&
               stream.streamSlong(slong, "Slong field") && stream.streamFloat(scale, "Scale") &&
               stream.streamBool(visible, "Visible") && stream.streamInt(count, "Count") &&
               stream.streamString(text, "Text") && stream.streamWstring(wide, "Wide text") &&
               stream.streamWchar(key, "Key") && stream.streamPicture(system, picture, "Picture") &&
               stream.streamFont(system, font, "Font") &&
               stream.streamSound(system, sound, "Sound") &&
               stream.streamIndex(type, &TypeEvent::nextIndex, &Event::name, "Event type") &&
               stream.streamList(system, styles, "Styles") &&
               stream.streamStyle(system, style, "Style", nullptr) &&
               stream.streamObject(system, extra, "Extra", nullptr) &&
               stream.streamNode(system, child, "Child", nullptr);
    }
    bool onLoad(System& system, IStream& stream) override {
        return onStream(system, stream) && stream.streamStaticString(system, tag, 7, "Tag");
    }
    bool onSave(System& system, OStream& stream) override {
        return onStream(system, stream) && stream.streamStaticString(system, tag, "Tag");
    }

    unsigned char ubyte = 0;
    signed char sbyte = 0;
    unsigned short ushort = 0, key = 0;
    short sshort = 0;
    unsigned int ulong = 0;
    int slong = 0, count = 0, picture = 0, font = 0, sound = 0, type = 0;
    float scale = 0.0f;
    bool visible = false;
    char* text = nullptr;
    unsigned short* wide = nullptr;
    ObjectList styles;
    Style* style = nullptr;
    Object* extra = nullptr;
    Node* child = nullptr;
    char tag[8] = {};
};
KOVA_IMPLEMENT_CLASS_NAMED(TestNode, "kova_test::TestNode", &Node::absoluteClass)

// Each conversion runs in a host of its own, as the kova program does, so
// nothing is shared between the steps but the files: the dump, the problems
// its load logged, and what building the dump wrote.
struct Converted {
    std::string text;
    std::vector<std::string> problems;
    std::map<std::string, std::string> files;
};

Converted convert(const std::map<std::string, std::string>& files, const std::string& name,
                  bool inlineOwnFiles) {
    Converted result;
    std::string error;
    MemoryHost dumping, building;
    dumping.files = files;
    dumping.init();
    EXPECT_TRUE(dumpObjectFile(dumping, name, inlineOwnFiles, result.text, error)) << error;
    dumping.exit();
    result.problems = problemLines(dumping.logLines());
    building.files = files;
    building.files.erase(name);
    building.init();
    EXPECT_TRUE(buildObjectFile(building, result.text, name + ".txt", name, error)) << error;
    building.exit();
    result.files = building.files;
    return result;
}

// Reads a text in a host of its own; gives "" or the error.
std::string readError(const std::string& text) {
    MemoryHost local;
    local.init();
    Object* object = nullptr;
    std::string error;
    bool ok = readText(local, text, "t.kova", "Main", object, error);
    EXPECT_EQ(ok, error.empty());
    Object::clear(local, object);
    local.exit();
    return error;
}

class TextFormTest : public ::testing::Test {
protected:
    void SetUp() override { host.init(); }
    void TearDown() override {
        Object::clear(host, root);
        host.exit();
        EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
    }
    // Reads a text whose root is a TestNode named "Main" in place of the last.
    TestNode* read(const std::string& text) {
        EXPECT_TRUE(readText(host, text, "t.kova", "Main", root, error)) << error;
        return dynamic_cast<TestNode*>(root);
    }
    MemoryHost host;
    Object* root = nullptr;
    std::string error;
};

const char kSample[] =
    "TestNode {\n"
    "    Next node: null\n"
    "    Ubyte field: 200\n"
    "    Sbyte field: -100\n"
    "    Ushort field: 65535\n"
    "    Sshort field: -32768\n"
    "    Ulong field: 4294967295\n"
    "    Slong field: -2147483648\n"
    "    Scale: 0.1\n"
    "    Visible: true\n"
    "    Count: 42\n"
    "    Text: \"Say \\\"hi\\\"\\n\\tand \\\\ leave \xC3\xA9 \\x01\\xFF\"\n"
    "    Wide text: \"Wide \xF0\x9F\x98\x80 \\uD800 \xC3\xA9\"\n"
    "    Key: \"\xC3\xA9\"\n"
    "    Picture: \"title.png\"\n"
    "    Font: \"\"\n"
    "    Sound: \"click\"\n"
    "    Event type: PreShow\n"
    "    Styles: [\n"
    "        Style \"Styles/Big\" {\n"
    "            Font handle: \"Big font\"\n"
    "        }\n"
    "        Style {\n"
    "            Font handle: \"Small\"\n"
    "        }\n"
    "    ]\n"
    "    Style: @\"Styles/Big\"\n"
    "    Extra: Tree {\n"
    "        Bool: false\n"
    "    }\n"
    "    Child: Node {\n"
    "        Next node: null\n"
    "    }\n"
    "    Tag: \"menu\"\n"
    "}\n";

// The sample with one piece replaced.
std::string sampleWith(const std::string& from, const std::string& to) {
    std::string text = kSample;
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Reading the sample sets every field kind; writing gives the very text, and
// binary -> text -> binary keeps every byte.
TEST_F(TextFormTest, TheSampleReadsWritesAndConvertsExactly) {
    TestNode* node = read(kSample);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(
        std::vector<long long>({node->ubyte, node->sbyte, node->ushort, node->sshort, node->ulong,
                                node->slong, node->count, node->key, node->type, node->visible}),
        (std::vector<long long>{200, -100, 65535, -32768, 4294967295, -2147483648, 42, 0xE9,
                                Event::PreShow, 1}));
    EXPECT_EQ(node->scale, 0.1f);
    EXPECT_STREQ(node->text, "Say \"hi\"\n\tand \\ leave \xC3\xA9 \x01\xFF");
    EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(node->wide)),
              u"Wide \U0001F600 " + std::u16string(1, 0xD800) + u" \u00e9");
    EXPECT_EQ(std::vector<std::string>({host.pictureName(node->picture), host.fontName(node->font),
                                        host.soundName(node->sound), node->tag, node->name()}),
              (std::vector<std::string>{"title.png", "", "click", "menu", "Main"}));
    // The named style is shared: created once, in the directory, and the
    // list's focus is on its first entry as after a load.
    Style* big = static_cast<Style*>(host.findNamedObject("Styles/Big"));
    ASSERT_TRUE(big && node->styles.objectCount() == 2 && node->style == big);
    EXPECT_TRUE(node->styles.objectFromIndex(0) == big &&
                node->styles.focusHandle() == node->styles.firstHandle());
    EXPECT_STREQ(host.fontName(big->fontHandle()), "Big font");
    EXPECT_EQ(Style::absoluteClass()->classInstanceCount(), 3);  // and the system style
    EXPECT_EQ(node->extra->actualClass(), Tree::absoluteClass());

    std::string text;
    ASSERT_TRUE(writeText(host, node, "Main", false, text, error)) << error;
    EXPECT_EQ(text, kSample);
    ASSERT_TRUE(writeObjectFile(host, root, "Main"));
    Converted converted = convert(host.files, "Main", false);
    EXPECT_TRUE(converted.text == kSample && converted.problems.empty()) << converted.text;
    EXPECT_EQ(converted.files["Main"], host.files["Main"]);
}

// Malformed texts and their errors, one a line: the text, " => " and the
// error after "t.kova:". In texts "|" stands for a line break. A row
// "A -> B => error" is the sample with A replaced by B.
const char kErrors[] = R"(
 => 1:1: the text must hold one full record (a class name, an optional name and '{'), found end of text
Style {|    Size: 12|} => 2:5: expected field 'Font handle', found 'Size'
Style {|    Font handle "x"|} => 2:17: expected ':' after field 'Font handle', found '"x"'
Style {|    Font handle: 12|} => 2:18: expected a quoted text for field 'Font handle', found '12'
Style {|    Font handle: "x|} => 2:18: text not closed on its line (write \n for a line break)
Style {|    Font handle: "\q"|} => 2:19: unknown escape '\q' (use \" \\ \n \r \t \xHH or \uHHHH)
Style {|    Font handle: "\x4"|} => 2:19: \x needs two hex digits
Style {|    Font handle: "\x00"|} => 2:18: a text cannot hold a zero character
Styl {|} => 1:1: unknown class 'Styl'
IStream {} => 1:1: class 'IStream' is not an object class
@"Main" => 1:1: the text must hold one full record (a class name, an optional name and '{'), found '@'
null => 1:1: the text must hold one full record (a class name, an optional name and '{'), found 'null'
Style [ => 1:7: expected '{' to open the Style record, found '['
Style # {} => 1:11: expected '{' to open the Style record, found end of text
Node {|    Next node: Node "\u0000" {}|} => 2:21: a text cannot hold a zero character
TypeEvent {|    Input index (0 == all indexes): 99999999999999999999|} => 2:37: expected a whole number for field 'Input index (0 == all indexes)', found '99999999999999999999'
Style {|    Font handle: "x"| => 3:1: expected '}' to close the Style record, found end of text
Style {|    Font handle: "x"|    Extra: 1|} => 3:5: expected '}' to close the Style record, found 'Extra'
Style {|    Font handle: "x"|}|Style {} => 4:1: expected the end of the text after the root record, found 'Style'
TypeEvent {|    Input index (0 == all indexes): 256|} => 2:37: value 256 is out of range for field 'Input index (0 == all indexes)' (0 to 255)
TypeEvent {|    Input index (0 == all indexes): x1|} => 2:37: expected a whole number for field 'Input index (0 == all indexes)', found 'x1'
TypeEvent {|    Input index (0 == all indexes): 0|    Event type: Jump|} => 3:17: unknown name 'Jump' for field 'Event type'
Node {|    Next node: Style {|        Font handle: ""|    }|} => 2:16: class 'Style' cannot stand in field 'Next node' (it holds Node)
Node {|    Next node: @"Nowhere"|} => 2:16: cannot find or load object 'Nowhere'
Node {|    Next node: @Main|} => 2:17: expected a quoted name after '@', found 'Main'
Node {|    Next node: Node "Named" {|        Next node: null|    }|} => 2:16: this Node cannot take the name 'Named'
Node {|    Next node: Node {}|} => 2:22: expected field 'Next node', found '}'
Node {|    Next node:| => 3:1: expected an object (null, @"name" or a class name) for field 'Next node', found end of text
Scale: 0.1 -> Scale: 1e39 => 9:12: number 1e39 is out of range for float field 'Scale'
Scale: 0.1 -> Scale: 0x10 => 9:12: expected a number (decimal, inf, -inf or nan) for field 'Scale', found '0x10'
Scale: 0.1 -> Scale: nan(0x3F800000) => 9:12: expected a number (decimal, inf, -inf or nan) for field 'Scale', found 'nan(0x3F800000)'
Visible: true -> Visible: yes => 10:14: expected true or false for field 'Visible', found 'yes'
Sbyte field: -100 -> Sbyte field: -129 => 4:18: value -129 is out of range for field 'Sbyte field' (-128 to 127)
Ulong field: 4294967295 -> Ulong field: 4294967296 => 7:18: value 4294967296 is out of range for field 'Ulong field' (0 to 4294967295)
Key: "é" -> Key: "ab" => 14:10: field 'Key' takes one 16-bit character in quotes, or its number
Key: "é" -> Key: 65536 => 14:10: expected one character in quotes or a number from 0 to 65535 for field 'Key', found '65536'
Text: "Say -> Text: "\uD800 => 12:11: a surrogate escape only fits a 16-bit text
Styles: [ -> Styles: Style [ => 19:13: expected '[' to open list 'Styles', found 'Style'
Style {|            Font handle: "Small"|        } -> null => 23:9: a list cannot hold null
Style {|            Font handle: "Small"|        } -> Tree {} => 23:9: class 'Tree' cannot stand in list 'Styles' (it holds Style)
|    ]| -> | => 26:5: unknown class 'Style:'
Style: @"Styles/Big" -> Style: @"" => 27:12: an object name has 1 to 127 bytes
Child: Node -> Child: @"Styles/Big" => 31:12: object 'Styles/Big' cannot stand in field 'Child' (it holds Node)
Tag: "menu" -> Tag: "menus and more" => 34:10: the text for field 'Tag' is longer than 7 bytes
Event type: PreShow -> Event type: 2147483648 => 18:17: value 2147483648 is out of range for field 'Event type' (-2147483648 to 2147483647)
NameNode "a//b" {} => 1:10: the object name 'a//b' has an empty part (a separator at its start or end, or two in a row)
NameNode "/a" {} => 1:10: the object name '/a' has an empty part (a separator at its start or end, or two in a row)
Node {|    Next node: @"a/"|} => 2:16: the object name 'a/' has an empty part (a separator at its start or end, or two in a row)
NameNode "M" {|    Next node: NameNode "M/P" {|        Next node: null|    }|} => 2:16: the name 'M/P' cannot be filed: a part of its directory names an object
)";

std::string lines(std::string text) {
    std::replace(text.begin(), text.end(), '|', '\n');
    return text;
}

TEST_F(TextFormTest, MalformedTextsAreReportedAtTheirPlace) {
    std::string deep;
    for (int i = 0; i < 1100; ++i)
        deep += "Node {Next node:\n";
    std::vector<std::pair<std::string, std::string>> cases = {
        {"Style {\n    Font handle: \"a\tb\x01\"\n}",
         "2:22: control character 0x01 inside a text (write \\x01)"},
        {"Style {\n    Font handle: \"" + std::string(256, 'n') + "\"\n}",
         "2:18: the name for field 'Font handle' is longer than 255 bytes"},
        {"Node {\n    Next node: Node \"" + std::string(128, 'n') + "\" {}\n}",
         "2:21: an object name has at most 127 bytes"},
        {sampleWith("Wide text: \"Wide", "Wide text: \"\xC3("),
         "13:16: a 16-bit text must be valid UTF-8"},
        {deep, "1025:1: records nested deeper than 1024"}};
    std::istringstream rows(kErrors);
    for (std::string row; std::getline(rows, row);) {
        std::size_t arrow = row.find(" => "), edit = row.find(" -> ");
        if (arrow == std::string::npos) continue;
        std::string text = lines(row.substr(0, arrow));
        if (edit < arrow) {
            text = sampleWith(lines(row.substr(0, edit)),
                              lines(row.substr(edit + 4, arrow - edit - 4)));
        }
        cases.emplace_back(text, row.substr(arrow + 4));
    }
    EXPECT_EQ(cases.size(), 54u);
    for (const auto& c : cases)
        EXPECT_EQ(readError(c.first), "t.kova:" + c.second) << c.first.substr(0, 200);
}

// A record with more names than a file holds is told at its place; nothing
// is written then, and a file of the same name is left as it was.
TEST_F(TextFormTest, BuildFailuresAreLocatedAndWriteNothing) {
    std::string many;
    for (int i = 0; i < 600; ++i)
        many += "        Style \"S" + std::to_string(i) + "\" {Font handle: \"\"}\n";
    host.files["Main"] = "kept";
    EXPECT_FALSE(buildObjectFile(
        host, "# many names\n" + sampleWith("        Style {\n", many + "        Style {\n"),
        "t.kova", "Main", error));
    EXPECT_EQ(error,
              "t.kova:2:1: cannot write this record as the object file 'Main' (more than 511 "
              "names or 524288 bytes?)");
    EXPECT_EQ(host.writtenFiles(), std::vector<std::string>{});
    EXPECT_EQ(host.files["Main"], "kept");
}

// Any damage to a text ends in success or in a located error, never in a
// crash, a leak or a hang: every cut of the sample, every third byte dropped
// or replaced by a byte that means something.
TEST_F(TextFormTest, DamagedTextsFailCleanly) {
    const std::regex located("^t\\.kova:[0-9]+:[0-9]+: .+");
    auto check = [&](const std::string& text) {
        std::string error = readError(text);
        EXPECT_TRUE(error.empty() || std::regex_match(error, located)) << error << "\n" << text;
        return error.empty();
    };
    const std::string sample = kSample;
    for (std::size_t cut = 0; cut + 2 < sample.size(); ++cut)
        EXPECT_FALSE(check(sample.substr(0, cut))) << cut;
    for (std::size_t at = 0; at < sample.size(); at += 3) {
        check(sample.substr(0, at) + sample.substr(at + 1));
        for (char c : {'{', '}', '"', '\\', ':', '#', '@', '[', '\n', '\0'}) {
            std::string text = sample;
            text[at] = c;
            check(text);
        }
    }
}

// Every float reads to its exact bits and is written back as the same text:
// the shortest digits that keep the bits, as people write numbers, with an
// exponent only for very large or very small magnitudes.
TEST_F(TextFormTest, FloatsKeepTheirBitsBothWays) {
    std::istringstream rows(
        "0.1 3DCCCCCD -0 80000000 1e-45 1 3.4028235e38 7F7FFFFF 10 41200000 200 43480000 "
        "0.001 3A83126F -1.5 BFC00000 0.000001 358637BD 1.5e-7 34210FB0 16777216 4B800000 "
        "123456.79 47F12065 1e16 5A0E1BCA inf 7F800000 "
        "-inf FF800000 nan 7FC00000 nan(0x7FC00001) 7FC00001 nan(0xFFC00000) "
        "FFC00000 nan(0x7F800001) 7F800001 0.33333334 3EAAAAAB");
    std::string value, written;
    for (unsigned int wanted, bits = 0; rows >> value >> std::hex >> wanted;) {
        std::string text = sampleWith("Scale: 0.1", "Scale: " + value);
        TestNode* node = read(text);
        ASSERT_NE(node, nullptr);
        std::memcpy(&bits, &node->scale, sizeof(bits));
        EXPECT_EQ(bits, wanted) << value;
        EXPECT_TRUE(writeText(host, node, "Main", false, written, error));
        EXPECT_EQ(written, text);
    }
}

// Sets every field of an object to a fixed value unlike its default, the way
// a load would: numbers, texts, resources by name, a new nested object of the
// required class in every empty reference and one entry in every list (on the
// first level only, so chains of nodes stay short).
class FillIStream : public IStream {
public:
    FillIStream(System& system, int depth, int& counter)
        : system_(system), depth_(depth), counter_(counter) {}

    bool streamUbyte(unsigned char& v, const char*) override { return set(v, 10 + next()); }
    bool streamSbyte(signed char& v, const char*) override { return set(v, -10 - next()); }
    bool streamUshort(unsigned short& v, const char*) override { return set(v, 1000 + next()); }
    bool streamSshort(short& v, const char*) override { return set(v, -1000 - next()); }
    bool streamUlong(unsigned int& v, const char*) override { return set(v, 3000000000u + next()); }
    bool streamSlong(int& v, const char*) override { return set(v, 7 + next()); }
    bool streamInt(int& v, const char*) override { return set(v, 7 + next()); }
    bool streamFloat(float& v, const char*) override { return set(v, 1.0f / 3.0f + next()); }
    bool streamBool(bool& v, const char*) override { return set(v, !v); }
    bool streamWchar(unsigned short& v, const char*) override { return set(v, 0xE0 + next() % 26); }
    bool streamString(char*& v, const char*) override {
        Memory::stringDelete(v);
        v = Memory::stringDuplicate(
            ("Text " + std::to_string(next()) + " \"q\" \\ \xC3\xA9\n").c_str());
        return true;
    }
    bool streamWstring(unsigned short*& v, const char*) override {
        Memory::wstringDelete(v);
        const unsigned short units[] = {
            'W', static_cast<unsigned short>('0' + next() % 10), 0xE9, 0xD83D, 0xDE00, '"', 0};
        v = Memory::wstringDuplicate(units);
        return true;
    }
    bool streamPicture(System& s, int& h, const char*) override {
        return set(h, s.pictureHandle(numbered("Picture ").c_str()));
    }
    bool streamFont(System& s, int& h, const char*) override {
        return set(h, s.fontHandle(numbered("Font ").c_str()));
    }
    bool streamSound(System& s, int& h, const char*) override {
        return set(h, s.soundHandle(numbered("Sound ").c_str()));
    }
    bool streamIndex(int& v, int (*toIndex)(int), const char* (*toName)(int),
                     const char*) override {
        for (int i = 0, step = 0; toName && step < 1024; ++step) {
            if (i != v && toName(i)) return set(v, i);
            int n = toIndex ? toIndex(i) : i + 1;
            if (n <= i) break;
            i = n;
        }
        return true;
    }
    bool streamStaticString(System&, char* buffer, int maxLength, const char*) override {
        std::string text = numbered("Static ");
        if (maxLength < 0 || !buffer) return true;
        text.resize(std::min<std::size_t>(text.size(), static_cast<std::size_t>(maxLength)));
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return true;
    }
    bool streamList(System& s, List& list, const char*) override {
        if (depth_ > 0) return true;
        Object* object = make(list.validClass() ? list.validClass() : Object::absoluteClass());
        if (object && !list.appendObject(s, object)) Object::clear(s, object);
        return true;
    }
    bool streamObject(System&, Object*& reference, const char*, RuntimeClass* required) override {
        if (depth_ == 0 && reference) fill(reference);
        if (depth_ == 0 && !reference)
            reference = make(required ? required : Object::absoluteClass());
        return true;
    }

private:
    // The wanted value, or one more when the field holds it already.
    template <class T, class V>
    bool set(T& value, V wanted) {
        T converted = static_cast<T>(wanted);
        value = converted == value ? static_cast<T>(converted + 1) : converted;
        return true;
    }
    int next() { return ++counter_; }
    std::string numbered(const char* what) { return what + std::to_string(next()); }
    void fill(Object* object) {
        FillIStream nested(system_, depth_ + 1, counter_);
        object->onLoad(system_, nested);
    }
    Object* make(RuntimeClass* cls) {
        Object* object = nullptr;
        if (!Object::create(system_, object, cls)) return nullptr;
        fill(object);
        return object;
    }

    System& system_;
    int depth_;
    int& counter_;
};

// Every engine class that can be created by name, saved with non-default
// fields, converts to text and back to the same bytes. The classes of the
// other suites (kova_test::...) are fixtures with side effects and are left
// out; TestNode above covers a test-defined class of every field kind.
TEST(TextFormExactness, EveryEngineClassRoundTripsThroughText) {
    std::vector<std::string> notCreatable;
    int covered = 0;
    RuntimeClass* objects = Object::absoluteClass();
    for (RuntimeClass* cls = RuntimeClass::firstClass(objects); cls;
         cls = cls->nextClass(objects)) {
        if (std::strncmp(cls->fullName(), "tarn::kova::", 12) != 0) continue;
        MemoryHost original;
        original.init();
        Object* object = nullptr;
        if (!Object::create(original, object, cls)) {
            // Only a class without a default constructor may be passed over.
            RuntimeObject* probe = cls->create();
            EXPECT_EQ(probe, nullptr) << cls->name() << " exists but refused its creation";
            if (probe) probe->kill();
            notCreatable.push_back(cls->name());
            original.exit();
            continue;
        }
        int counter = 0;
        FillIStream fill(original, 0, counter);
        EXPECT_TRUE(object->onLoad(original, fill)) << cls->name();
        EXPECT_TRUE(writeObjectFile(original, object, "Original")) << cls->name();
        Object::clear(original, object);
        original.exit();

        Converted converted = convert(original.files, "Original", true);
        EXPECT_EQ(converted.files["Original"], original.files["Original"]) << cls->name() << "\n"
                                                                           << converted.text;
        EXPECT_TRUE(converted.problems.empty()) << cls->name();
        Converted again = convert(converted.files, "Original", true);
        EXPECT_EQ(again.text, converted.text) << cls->name();
        ++covered;
    }
    // System needs the host's screen size: it has no default constructor.
    EXPECT_EQ(notCreatable, std::vector<std::string>{"System"});
    EXPECT_GE(covered, 15);
    EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
}

TEST(ToolHostTest, MapsStreamNamesUnderTheRoot) {
    DirectoryHost host("/data/root");
    std::string path;
    EXPECT_TRUE(host.pathFor("Menus\\Main", path) && path == "/data/root/Menus/Main") << path;
    EXPECT_TRUE(host.pathFor("a..b/..c", path) && path == "/data/root/a..b/..c") << path;
    for (const char* name : {"", "/etc/passwd", "\\etc", "../up", "Menus/../../up", "Menus/.."})
        EXPECT_FALSE(host.pathFor(name, path)) << name;
}

// The kinds of every field a record can hold, in the order it streams them.
TEST(ClassListingTest, ShowsParentsAndFields) {
    MemoryHost host(false);
    host.init();
    std::string listing, error;
    EXPECT_TRUE(describeClasses(host, {"TestNode"}, listing, error));
    EXPECT_EQ(listing,
              "TestNode : Node\n    Next node: Node\n    Ubyte field: ubyte\n"
              "    Sbyte field: sbyte\n    Ushort field: ushort\n    Sshort field: sshort\n"
              "    Ulong field: ulong\n    Slong field: slong\n    Scale: float\n"
              "    Visible: bool\n    Count: int\n    Text: text\n    Wide text: wide text\n"
              "    Key: character\n    Picture: picture name\n    Font: font name\n"
              "    Sound: sound name\n"
              "    Event type: index (0 \"No event\", 1 ButtonPress, 2 ButtonRelease, 3 "
              "ButtonReleaseOutside, 4 UnicodePress, 5 UnicodeRelease, 6 UnicodeReleaseOutside, 7 "
              "GainFocus, 8 LostFocus, 9 PointerIn, 10 PointerOut, 11 PointerMove, 12 "
              "PointerMoveOut, 13 PreShow, 14 PostShow, 15 PreHide, 16 PostHide, 17 PreWaitShow, "
              "18 PreWaitHide, 19 Quit, 20 Disable, 21 Enable, 22 Update)\n"
              "    Styles: list of Style\n    Style: Style\n    Extra: Object\n"
              "    Child: Node\n    Tag: static text\n");
    host.exit();
}

// Lists nest records as deep as the readers allow: what builds also dumps
// (list brackets indent the text but are no record of their own).
TEST(TextFormLimits, NestedListsDumpAsDeepAsTheyBuild) {
    for (int depth : {513, 1023}) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "ActionListAction { Action list: [\n";
        text += "ActionListAction { Action list: [] }\n";
        for (int i = 0; i < depth; ++i)
            text += "] }\n";
        MemoryHost building;
        building.init();
        std::string error;
        EXPECT_TRUE(buildObjectFile(building, text, "t.txt", "Main", error)) << error;
        building.exit();
        Converted again = convert(building.files, "Main", false);
        EXPECT_EQ(again.files, building.files) << depth;
    }
}

// Empty parts of a name ("a//b", "/a", "a/") name nothing: the directory
// files and finds such names without them (a text refuses them, see the
// error table), and a file holding one shared record under such a name
// loads it as one object.
TEST(TextFormLimits, NamesWithEmptyPartsAreOneObjectOrRefused) {
    MemoryHost host;
    host.init();
    Node* objects[3] = {};
    const char* names[] = {"a//b", "/c", "d\\/e//f"};
    const char* sameAs[] = {"a/b", "c", "d/e/f"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Node::create(host, objects[i], NameNode::absoluteClass()));
        EXPECT_TRUE(host.setObjectName(objects[i], names[i])) << names[i];
        EXPECT_EQ(host.findNamedObject(names[i]), objects[i]) << names[i];
        EXPECT_EQ(host.findNamedObject(sameAs[i]), objects[i]) << names[i];
    }
    host.exit();
    // A file may still hold such a name: one record shared by two references
    // stays one object.
    MemoryHost building;
    building.init();
    std::string error;
    ASSERT_TRUE(buildObjectFile(building,
                                "AddData { Data 1: IntData \"v/w\" { \"Value <do not edit>\": 3 } "
                                "Data 2: @\"v/w\" }",
                                "t.txt", "Main", error))
        << error;
    building.exit();
    std::string& file = building.files["Main"];
    file.replace(file.find("\x03v/w"), 4, "\x04v//w");
    Converted dumped = convert(building.files, "Main", false);
    EXPECT_EQ(dumped.problems, std::vector<std::string>{});
    EXPECT_NE(dumped.text.find("Data 2: @\"v/w\""), std::string::npos) << dumped.text;
}

}  // namespace kova_test
