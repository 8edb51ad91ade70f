// Variables and computed data: the exact conversions between numbers and
// texts, the results of the logical and arithmetic classes over tables of
// operands, lists read and written by index, the bytes each class saves, and
// lists saved to object files and loaded back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "TextForm.h"
#include "test_support.h"

namespace kova_test {
namespace {

using Wide = std::vector<unsigned short>;
using Ints = std::vector<int>;

Wide wide(const std::string& text) {
    Wide out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

std::string hex(const std::string& bytes) {
    std::string out;
    for (unsigned char byte : bytes)
        out += "0123456789abcdef"[byte >> 4] + std::string(1, "0123456789abcdef"[byte & 15]);
    return out;
}

// The index of a write or read through the plain forms.
const int P = -1000;

class DataTest : public HostTest<FileHost> {
protected:
    void TearDown() override {
        Object::clear(host, root);
        HostTest::TearDown();
    }
    // Reads named data described as text, the entries of a list the test
    // owns; "Value:", "String:" and "Wstring:" stand for the value labels.
    void world(const std::string& entries) {
        read("DataListData { Data list: [" + entries + "] }");
    }
    void read(const std::string& text) {
        Object::clear(host, root);
        root = readObject(host, std::regex_replace(text, std::regex("(Value|String|Wstring):"),
                                                   "\"$1 <do not edit>\":"));
    }
    // Named data of the host's, owned by the directory.
    void bind(std::initializer_list<Data*> data) {
        for (Data* d : data)
            EXPECT_EQ(host.registerData(d, nullptr), d);
    }
    // The characters from..to of the data (at the index).
    Ints characters(Data& data, int from, int to, int index = P) {
        Ints out;
        for (int i = from; i <= to; ++i)
            out.push_back(index == P ? data.character(host, i) : data.character(host, index, i));
        return out;
    }
    template <class D = Data>
    D& at(const std::string& name) {
        Object* found = host.findNamedObject(name.c_str());
        EXPECT_NE(found, nullptr) << name;
        return *static_cast<D*>(found);
    }
    std::string text(Data& data, int index = P) {
        char buffer[256];
        int length = index == P ? data.stringCopy(host, buffer, sizeof buffer)
                                : data.stringCopy(host, index, buffer, sizeof buffer);
        EXPECT_EQ(length, index == P ? data.stringLength(host) : data.stringLength(host, index));
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    bool write(Data& data, int i, char kind, const std::string& input) {
        const char* text = input.c_str();
        float number = std::strtof(text, nullptr);
        Wide units = wide(input);
        kind = static_cast<char>(std::tolower(kind));
        if (kind == 'n') return i == P ? data.set(host, number) : data.set(host, i, number);
        if (kind == 't') return i == P ? data.set(host, text) : data.set(host, i, text);
        if (kind == 'w')
            return i == P ? data.set(host, units.data()) : data.set(host, i, units.data());
        return true;
    }
    // Runs writes and reads in order on the same objects, so a write that
    // changed nothing shows. Each line is "name: item, item, ...", an item
    // "[index:]write text[=number][@other]":
    // - write: n<number>, t'text' or w'text' (wide), written at the index or
    //   through the plain forms; - writes nothing. In capitals the write
    //   must report false.
    // - text: what the data (or other) then reads at the same index, quoted
    //   when empty or holding spaces; number: what it reads as a number when
    //   that is not what the text reads as ("true" reads 1).
    void check(std::initializer_list<std::string> lines) {
        static const std::regex item(
            "(?:(-?\\d+):)?([-ntwNTW])('[^']*'|[^ ,]*) ('[^']*'|[^ ,=@]*)(?:=([^ "
            ",@]+))?(?:@(\\w+))?");
        auto unquote = [](std::string s) { return s[0] == '\'' ? s.substr(1, s.size() - 2) : s; };
        for (const std::string& line : lines) {
            std::size_t colon = line.find(": ");
            Data& data = at(line.substr(0, colon));
            std::string items = line.substr(colon + 2);
            std::sregex_iterator match(items.begin(), items.end(), item), end;
            EXPECT_EQ(std::distance(match, end), std::count(items.begin(), items.end(), ',') + 1)
                << line;
            for (; match != end; ++match) {
                const std::smatch& m = *match;
                int index = m[1].matched ? std::stoi(m[1]) : P;
                char kind = m[2].str()[0];
                std::string shown = unquote(m[4]), where = line.substr(0, colon) + " " + m.str();
                float number = m[5].matched      ? std::strtof(m[5].str().c_str(), nullptr)
                               : shown == "true" ? 1.0f
                                                 : std::strtof(shown.c_str(), nullptr);
                Data& read = m[6].matched ? at(m[6]) : data;
                EXPECT_EQ(write(data, index, kind, unquote(m[3])), !std::isupper(kind)) << where;
                EXPECT_EQ(text(read, index), shown) << where;
                EXPECT_EQ(index == P ? read.value(host) : read.value(host, index), number) << where;
            }
        }
    }

    Object* root = nullptr;
};

TEST_F(DataTest, NumbersAndTextsConvertExactly) {
    bool flag = false;
    int lives = 3;
    float volume = 0.5f;
    char* name = nullptr;
    char buffer[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    world(R"(BoolData "b" { Value: false } IntData "i" { Value: 0 } FloatData "f" { Value: 0 }
             StringData "s" { String: "" } WstringData "w" { Wstring: "" })");
    bind({new BoolRefData(&flag, "flag"), new IntRefData(&lives, "lives"),
          new IntRefData(nullptr, "int"), new FloatRefData(&volume, "volume"),
          new FloatRefData(nullptr, "float"), new StringRefData(&name, "name"),
          new StaticStringData(buffer, 4, "fixed")});
    check({"b: t'TRUE' true, t'0' false, w'tRuE' true, t' true' false, t'1' true, t'1.0' false",
           "b: n1 true, t'' false, n1 true, n2 false", "flag: n1 true, n2 false",
           "i: t'2.5' 3, t'-2.5' -3, t'2.4' 2, t'-2.4' -2, t'abc' 0, t' 7x' 7, t'1e3' 1000",
           "i: nnan 0, n-2147483648 -2147483648, n1e20 2147483647", "lives: n9.5 10",
           "int: t'-6.5' -7",
           "f: n1.5 1.500000000, n-0.25 -0.250000000, t'0.1' 0.100000001, n-inf -inf",
           "f: n1e20 10000000200408773=1e20, 2:n4 4.000000000", "volume: t'0.75' 0.750000000",
           "s: - '', n3 3.0000000, t'  12.5 points' '  12.5 points', 5:t'ab' ab",
           "name: t'Bob' Bob, n-1.5 -1.5000000", "float: n3 3.000000000",
           "w: - '', n3 3.0000000, w'42' 42, t'\xE9t\xE9' '\xE9t\xE9'",
           "fixed: t'hello' hel, n25 25."});
    EXPECT_EQ(at("w").character(host, 0), 0xE9);                   // widened unsigned
    EXPECT_EQ(std::string(buffer, 6), std::string("25.\0xx", 6));  // inside the host's buffer
    EXPECT_EQ(host.log.text, "");                                  // texts are cut silently

    // Bound data follows the host's variables without being told.
    flag = true;
    lives = -15;
    volume = 2.0f;
    Memory::stringDelete(name);
    name = Memory::stringDuplicate("Cy");
    check({"flag: - true", "lives: - -15", "volume: - 2.000000000", "name: - Cy"});
    Memory::stringDelete(name);
    name = nullptr;
    check({"name: - ''"});
}

TEST_F(DataTest, CharactersCopiesAndComparisons) {
    // Characters are unsigned, except those of a stack literal.
    StringData string("\xE9");
    StackData stack("a\xE9");
    const Wide symbols = {0x263A, 0xFFFF, 0};
    WstackData wstack(symbols.data() + 1);
    WstringData wstring(symbols.data());
    IntData number(42);
    char unterminated[3] = {'1', '2', '3'};  // the host left no terminator
    StaticStringData raw(unterminated, 3, "Raw");
    EXPECT_EQ(
        (Ints{string.character(host, 0), stack.character(host, 1), stack.character(host, 3),
              wstack.character(host, 0), wstack.stringLength(host), wstring.character(host, 0),
              wstring.character(host, 2), number.character(host, 1), number.character(host, 12),
              static_cast<int>(raw.value(host)), raw.stringLength(host)}),
        (Ints{0xE9, -23, 0, 0xFFFF, 1, 0x263A, 0, '2', 0, 123, 3}));
    string.set(host, static_cast<const char*>(nullptr));
    EXPECT_EQ((Ints{string.character(host, 0), BoolData::boolToString(false, 5)}), (Ints{0, 0}));

    // Wide text is narrowed to at most 511 characters.
    string.set(host, wide(std::string(511, 'a')).data());
    EXPECT_EQ(host.log.text, "");
    EXPECT_TRUE(string.set(host, wide(std::string(600, 'b')).data()));
    EXPECT_EQ((Ints{string.stringLength(host), string.character(host, 0)}), (Ints{511, 'b'}));
    EXPECT_EQ(host.log.text, "Kova: Warning: Data::set, string is longer than buffer\r\n");

    // Copies are cut to the buffer and always terminated.
    StringData hello("hello");
    char cut[4], none[1];
    unsigned short units[3];
    EXPECT_EQ((Ints{hello.stringCopy(host, cut, 4), hello.stringCopy(host, 0, none, 1), none[0],
                    hello.stringCopy(host, units, 3), units[1], units[2]}),
              (Ints{4, 1, 0, 3, 'e', 0}));
    EXPECT_STREQ(cut, "hel");
    StringData abc("abc"), abd("abd"), ab("ab"), empty;
    StackData literal("abc");
    EXPECT_EQ((Ints{abc.stringCompare(host, &abd), abc.stringCompare(host, &ab),
                    ab.stringCompare(host, &abc), abc.stringCompare(host, nullptr),
                    empty.stringCompare(host, nullptr), abc.stringCompare(host, &literal)}),
              (Ints{-1, 'c', -'c', 'a', 0, 0}));
}

// Only the value fields are saved; host-bound data saves nothing.
TEST_F(DataTest, SavesExactlyTheValueFields) {
    float volume = 4.0f;
    char* name = nullptr;
    world(
        R"(BoolData "flag" { Value: true } IntData "count" { Value: -2 } FloatData "speed" { Value: 1.5 }
             StringData "title" { String: "ab" } WstringData "greeting" { Wstring: "\u263Ac" } Data "plain" {})");
    bind({new FloatRefData(&volume, "volume"), new StringRefData(&name, "name"),
          new BoolRefData(nullptr, "paused"), new StaticStringData(nullptr, 0, "buffer")});
    for (std::string row :
         {"flag 01", "count feffffff", "speed 0000c03f", "title 020000006162",
          "greeting 020000003a266300", "plain ", "volume ", "name ", "paused ", "buffer "}) {
        TextOStream out;
        EXPECT_TRUE(at(row.substr(0, row.find(' '))).onSave(host, out));
        EXPECT_EQ(row.substr(0, row.find(' ')) + " " + hex(out.text), row);
    }
}

// Each logical and arithmetic class over the same operands ("-" leaves one
// out). A row gives Equal, NotEqual, LessEqual, Less, Or, And, ExclusiveOr,
// the logical base and Not (which reads data 1 only), then Add, Sub, Mul,
// Div and the arithmetic base. Logical data reads 1 or 0, "true" or "false".
TEST_F(DataTest, LogicAndArithmetic) {
    const std::string classes[] = {"Equal", "NotEqual",    "LessEqual", "Less",    "Or",
                                   "And",   "ExclusiveOr", "Logical",   "Not",     "Add",
                                   "Sub",   "Mul",         "Div",       "Operator"};
    expectRows(
        {"2 2 -> 1 0 1 0 1 1 0 0 0 | 4 0 4 1 0", "1 2 -> 0 1 1 1 1 1 0 0 0 | 3 -1 2 0.5 0",
         "2 -1 -> 0 1 0 0 1 1 0 0 0 | 1 3 -2 -2 0", "0 5 -> 0 1 1 1 1 0 1 0 1 | 5 -5 0 0 0",
         "0 -0 -> 1 0 1 0 0 0 0 0 1 | 0 0 -0 nan 0",
         "nan nan -> 0 1 0 0 1 1 0 0 0 | nan nan nan nan 0",
         "nan 0 -> 0 1 0 0 1 0 1 0 0 | nan nan nan nan 0",
         "-inf inf -> 0 1 1 1 1 1 0 0 0 | nan -inf -inf nan 0",
         "5 3 -> 0 1 0 0 1 1 0 0 0 | 8 2 15 1.66666663 0", "1 0 -> 0 1 0 0 1 0 1 0 0 | 1 1 0 inf 0",
         "-1 0 -> 0 1 1 1 1 0 1 0 0 | -1 -1 -0 -inf 0", "1 -0 -> 0 1 0 0 1 0 1 0 0 | 1 1 -0 -inf 0",
         "1e30 1e30 -> 1 0 1 0 1 1 0 0 0 | 2.00000003e+30 0 inf 1 0",
         "inf inf -> 1 0 1 0 1 1 0 0 0 | inf nan inf nan 0", "1 - -> 0 0 0 0 0 0 0 0 0 | 0 0 0 0 0",
         "- 1 -> 0 0 0 0 0 0 0 0 0 | 0 0 0 0 0"},
        [&](const std::string& operands) {
            std::string a = operands.substr(0, operands.find(' ')), out;
            std::string b = operands.substr(a.size() + 1);
            auto operand = [](const std::string& x) {
                return x == "-" ? "null" : "FloatData { Value: " + x + " }";
            };
            for (const std::string& name : classes) {
                read(name + "Data { " +
                     (name == "Not" ? "Data: " + operand(a)
                                    : "Data 1: " + operand(a) + " Data 2: " + operand(b)) +
                     " }");
                float value = static_cast<Data*>(root)->value(host);
                char shown[32];
                std::snprintf(shown, sizeof shown, "%.9g", value);
                out += (name == "Add" ? " | "
                        : out.empty() ? ""
                                      : " ") +
                       std::string(std::isnan(value) ? "nan" : shown);
                if (&name < &classes[9]) {
                    EXPECT_EQ(text(*static_cast<Data*>(root)), value == 1 ? "true" : "false");
                }
            }
            return out;
        });
    EXPECT_EQ((Ints{LogicalData::characterFalse(4), LogicalData::characterFalse(5),
                    LogicalData::characterTrue(-1)}),
              (Ints{'e', 0, 0}));
}

// Expressions over the host's own variables follow them: a gauge of
// 10 - lives * 2, and play blocked while paused or at the last life. Texts
// are made again only when the number moved; writes are ignored.
TEST_F(DataTest, ExpressionsFollowTheirOperands) {
    int lives = 3;
    float bonus = 0.5f;
    bool paused = false;
    bind({new IntRefData(&lives, "lives"), new FloatRefData(&bonus, "bonus"),
          new BoolRefData(&paused, "paused")});
    world(R"(AddData "total" { Data 1: @"lives" Data 2: @"bonus" }
        SubData "gauge" { Data 1: FloatData { Value: 10 }
            Data 2: MulData { Data 1: @"lives" Data 2: IntData { Value: 2 } } }
        OrData "blocked" { Data 1: @"paused"
            Data 2: LessData { Data 1: @"lives" Data 2: IntData { Value: 1 } } }
        IntData "five" { Value: 5 } IntData "three" { Value: 3 } FloatData "huge" { Value: 1e30 }
        FloatData "zero" { Value: 0 } SubData "sub" { Data 1: @"five" Data 2: @"three" }
        MulData "mul" { Data 1: @"huge" Data 2: @"huge" } AddData "add" { Data 1: @"five" Data 2: null }
        DivData "nan" { Data 1: @"zero" Data 2: @"zero" } DivData "cut" { Data 1: @"huge" Data 2: @"three" }
        EqualData "equal" { Data 1: @"three" Data 2: @"three" })");
    check({"total: - 3.500000000", "gauge: - 4.000000000", "blocked: - false"});
    lives = 0;
    bonus = 0.25f;
    check({"total: - 0.250000000", "gauge: - 10.000000000", "blocked: - true"});
    lives = 2;
    paused = true;
    check({"blocked: - true", "gauge: - 6.000000000"});
    check({"sub: - 2.000000000", "five: n-0.25 -3.000000000@sub", "sub: n9 0@five", "mul: - inf",
           "equal: n0 true, t'false' 3@three", "add: - 0.000000000"});
    // A number of more than 17 characters is cut to fit the 18-byte text.
    EXPECT_EQ(text(at("nan")) + " " + text(at("cut")), "nan 33333333834915540");
}

// A toggle picks data 1 while its toggle data reads 0, data 2 otherwise and
// without one, and passes writes on to its pick. Pointer data reads the
// system's pointer, and writes move the recorded position only: the host's
// pointer stays. The focus lock reads the lock count.
TEST_F(DataTest, TogglesAndSystemData) {
    world(
        R"(PointerXData "x" {} PointerYData "y" {} FocusLockedData "locked" {}
        IntData "toggle" { Value: 0 } ToggleData "unset" { Toggle data: null Data 1: null Data 2: null }
        ToggleData "title" { Toggle data: @"toggle" Data 1: StringData "menu" { String: "Menu" }
            Data 2: StringData "game" { String: "Game" } }
        ToggleData "free" { Toggle data: null Data 1: @"menu" Data 2: @"game" }
        ToggleData "half" { Toggle data: @"toggle" Data 1: @"menu" Data 2: null })");
    check({"unset: N7 ''", "free: - Game", "title: - Menu, n7 7.0000000@menu",
           "toggle: n2 Game@title", "title: t'Play' Play@game", "half: T'x' ''"});
    EXPECT_STREQ(ToggleData::absoluteClass()->description(),
                 "If 'Toggle data' is 0 'Data 1' will be returned, otherwise 'Data 2'");
    host.pointerMove(12.5f, -4.0f);
    host.calls.clear();
    check({"x: - 12.500000000, n100 100.000000000", "y: - -4.000000000, t'-3.25' -3.250000000"});
    EXPECT_EQ((Floats{host.pointerPosition().x, host.pointerPosition().y}), (Floats{100, -3.25f}));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_STREQ(PointerXData::absoluteClass()->description(), "Returns x coordinate from pointer");
    EXPECT_STREQ(PointerYData::absoluteClass()->description(), "Returns y coordinate from pointer");
    check({"locked: - false"});
    host.increaseLockCount();
    host.increaseLockCount();
    check({"locked: - true=2"});
}

// Lists read and write the element at an index (0 through the plain forms);
// the element picked by an index data is truncated toward zero. A toggle
// with nothing to pick refuses writes but narrows wide text and reports true.
// Counts follow the data: plain data has one element, none reads as
// nothing; the count ignores writes. Joined texts show numbers in their text
// form, end at an entry holding no data, read as 0 and ignore writes.
TEST_F(DataTest, ListsCountsAndJoinedTexts) {
    float floats[12] = {1, 2, 3};
    auto* array = new FloatArrayData(floats, 3, "array");
    bind({array});
    world(R"(DataListData "list" { Data list: [StringData "first" { String: "Ann" }
            StringData "second" { String: "Bo" } StringData "third" { String: "Cy" }] }
        DataListData "passing" { Data list: [ToggleData "refusing" { Toggle data: null Data 1: null Data 2: null }
            IntData { Value: 7 }] }
        DataListData "empty" { Data list: [] }
        IndexDataData "picked" { Data: @"list" Index: FloatData "index" { Value: 1.9 } }
        IndexDataData "lone" { Data: null Index: @"index" }
        IndexCountData "count" { Data: @"array" } IndexCountData "none" { Data: null }
        ConcatenateListData "joined" { Data list: [StringData "ab" { String: "ab" } StringData "gap" { String: "" }
            StringData { String: "cd" } IntData "score" { Value: -42 }] }
        ConcatenateListData "nothing" { Data list: [] }
        IndexCountData "three" { Data: DataListData { Data list: [Data {} Data {} Data {}] } }
        IndexCountData "one" { Data: @"ab" })");
    Style style;
    EXPECT_FALSE(at<DataListData>("list").list()->appendObject(host, &style));  // data only
    check({"array: 2:- ''=3, 3:- '', - '', 5:n1 '', -1:n1 '', 1:t'2.5' ''=2.5",
           "list: - Ann, 1:- Bo, 5:- '', 1:t'Di' Di@second, 2:n4 4.0000000, 0:w'Ed' Ed@first",
           "list: t'Flo' Flo@first, w'Gus' Gus@first, n2.5 2.5000000, 3:T'x' '', 3:N1 ''",
           "list: -1:W'x' '', w'x' x@first",
           "passing: N1 '', T'1' '', w'1' '', 0:T'1' '', 0:n1 '', 1:t'2.5' 3",
           "empty: N1 '', T'x' '', W'x' ''", "picked: - Di", "index: n2 4.0000000@picked",
           "picked: t'deux' deux@third, w'zwei' zwei@third", "index: n-0.5 x@picked",
           "picked: n3 3.0000000@first", "index: n5 ''@picked",
           "picked: t'gone' '', N1 '', W'gone' ''", "lone: n1 '', w'1' '', t'1' ''"});
    EXPECT_EQ((Floats{floats[0], floats[1], floats[2]}), (Floats{1, 2.5f, 3}));
    auto& list = at<DataListData>("list");
    auto& empty = at<DataListData>("empty");
    EXPECT_EQ((Ints{list.character(host, 2, 0), list.character(host, 3, 0), list.indexCount(host),
                    empty.character(host, 0), empty.indexCount(host)}),
              (Ints{'z', 0, 3, 0, 0}));
    EXPECT_EQ((std::vector<Data*>{list.dataAt(2), list.dataAt(3), list.dataAt(-1), empty.dataAt(0),
                                  at("third").dataAt(0), at("third").dataAt(1)}),
              (std::vector<Data*>{&at("third"), nullptr, nullptr, nullptr, &at("third"), nullptr}));
    // Over an array of floats, which takes numbers and narrow text by index
    // only; without an index nothing is written.
    at<IndexDataData>("picked").setData(&at("array"));
    at<IndexDataData>("lone").setIndex(nullptr);
    at<IndexDataData>("lone").setData(&at("array"));
    check({"index: n2 2.000000000", "picked: n9.5 ''=9.5, w'8.5' ''=9.5", "lone: n1 ''"});
    EXPECT_EQ((Floats{floats[0], floats[2]}), (Floats{1, 9.5f}));
    // An emptied entry counts, and reads as missing.
    auto& passing = at<DataListData>("passing");
    passing.list()->setObjectFromHandle(passing.list()->firstHandle(), nullptr);
    check({"passing: N1 '', 1:- 3"});
    EXPECT_EQ(passing.indexCount(host), 2);
    array->setArray(floats, 12);
    EXPECT_EQ(characters(at("count"), -1, 3), (Ints{0, '1', '2', 0, 0}));
    array->setArray(floats, -305);
    check({"count: - -305, n5 -305", "three: - 3", "one: - 1", "none: - ''"});
    check({"joined: - abcd-42", "score: n7 abcd7@joined", "joined: t'x' ab@ab", "nothing: - ''"});
    ObjectList* joined = at<ConcatenateListData>("joined").list();
    joined->setObjectFromHandle(joined->nextHandle(joined->firstHandle()), nullptr);
    EXPECT_EQ(characters(at("joined"), -1, 2), (Ints{0, 'a', 'b', 0}));
}

// Data that reaches itself reads as missing at the second visit; other
// elements of the same list can still be read.
TEST_F(DataTest, DataThatLeadsBackToItselfEnds) {
    world(R"(DataListData "list" { Data list: [IntData "seven" { Value: 7 }
            IndexDataData "sibling" { Data: @"list" Index: IntData "zero" { Value: 0 } } @"list"] }
        IndexDataData "looping" { Data: @"list" Index: @"looping" }
        ConcatenateListData "joined" { Data list: [@"joined" StringData { String: "ab" }] }
        AddData "add" { Data 1: @"add" Data 2: FloatData { Value: 2 } }
        NotData "not" { Data: @"not" }
        ToggleData "toggle" { Toggle data: @"toggle" Data 1: @"toggle" Data 2: null }
        IntData "one" { Value: 1 })");
    check({"list: 1:- 7, 2:- 7", "joined: - ab", "add: - 2.000000000", "not: - true",
           "toggle: N1 ''"});
    at<IndexDataData>("sibling").setIndex(&at("one"));  // element 1 reads itself
    check({"list: 1:W'5' ''", "seven: - 7"});
    auto& list = at<DataListData>("list");
    list.list()->setObjectFromHandle(list.list()->firstHandle(), &list);
    at<IndexDataData>("sibling").setIndex(&at("zero"));
    // Element 1 reads 0, which is the list read plainly: 0 again.
    check({"list: - '', 0:T'x' '', 1:- ''", "looping: n1 ''"});
}

// A list joining a text, registered host data and a count, saved as an
// object file: the registered data goes by its name and the class it
// reports, Data, which has no fields. Loaded back it shares the registered
// data; unnamed parts go with their owner, named ones stay.
TEST_F(DataTest, ListsInObjectFiles) {
    static int lives = 3;
    ASSERT_NE(host.registerData(new IntRefData(&lives, "Lives"), "Game"), nullptr);
    read(R"(ConcatenateListData { Data list: [StringData { String: "L" } @"Game/Lives"
        IndexCountData { Data: DataListData { Data list: [] } }] })");
    EXPECT_TRUE(text::writeObjectFile(host, root, "Hud/Lives"));
    Bytes expected =
        fileHeader({"tarn::kova::ConcatenateListData", "tarn::kova::StringData", "Game/Lives",
                    "tarn::kova::Data", "tarn::kova::IndexCountData", "tarn::kova::DataListData"}) +
        Bytes{1, 0} + recordBytes(0, 2, u32Bytes(1) + Bytes{'L'}) + recordBytes(3, 4) +
        recordBytes(0, 5, recordBytes(0, 6, recordBytes(0, 0))) + recordBytes(0, 0);
    EXPECT_EQ(host.files["Hud/Lives"], expected);
    Object::clear(host, root);
    EXPECT_EQ(DataListData::absoluteClass()->classInstanceCount(), 0);
    Object* loaded = nullptr;
    ASSERT_TRUE(Object::loadNewStream(host, loaded, "Hud/Lives"));
    root = loaded;
    lives = 2;
    auto* read = static_cast<ConcatenateListData*>(loaded);
    EXPECT_EQ(text(*read), "L20");
    EXPECT_EQ(read->list()->focusHandle(), read->list()->firstHandle());
    EXPECT_EQ(read->list()->objectFromIndex(1), &at("Game/Lives"));
    EXPECT_EQ(host.log.text, "Kova: Loading: Hud/Lives\r\n");
}

}  // namespace
}  // namespace kova_test
