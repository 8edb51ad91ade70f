// Variables and computed data: the exact conversions between numbers and
// texts, the results of the logical and arithmetic classes over tables of
// operands, lists read and written by index, the bytes each class saves, and
// expressions and lists read from object files.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

const float kNan = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
using Wide = std::vector<unsigned short>;
using Ints = std::vector<int>;

Wide wide(const std::string& text) {
    Wide out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

// The index of a row that uses the plain forms.
const int P = -1000;

// One write and what it leaves: the data written at index (or through its
// plain forms at P) as a number ('n', the input parsed), a text ('t') or a
// wide text ('w'), or nothing ('-'); in capitals the write reports false.
// Then the text and number of the data read back at the same index: read,
// or the one written. A number left out is the one the text reads as.
struct Write {
    Data* data;
    int index;
    char kind;
    const char* input;
    const char* text;
    float value = kNan;
    Data* read = nullptr;
};

class DataTest : public HostTest<FileHost> {
protected:
    std::string text(Data& data, int index = P) {
        char buffer[256];
        int length = index == P ? data.stringCopy(host, buffer, sizeof buffer)
                                : data.stringCopy(host, index, buffer, sizeof buffer);
        EXPECT_EQ(length, index == P ? data.stringLength(host) : data.stringLength(host, index));
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    float value(Data& data, int index) {
        return index == P ? data.value(host) : data.value(host, index);
    }
    bool write(const Write& w) {
        float number = std::strtof(w.input, nullptr);
        Wide units = wide(w.input);
        int i = w.index;
        switch (std::tolower(w.kind)) {
            case 'n':
                return i == P ? w.data->set(host, number) : w.data->set(host, i, number);
            case 't':
                return i == P ? w.data->set(host, w.input) : w.data->set(host, i, w.input);
            case 'w':
                return i == P ? w.data->set(host, units.data())
                              : w.data->set(host, i, units.data());
        }
        return true;
    }
    // Rows run in order on the same objects, so a write that changed
    // nothing shows.
    template <std::size_t N>
    void check(const Write (&rows)[N]) {
        for (std::size_t row = 0; row < N; ++row) {
            const Write& w = rows[row];
            Data& read = w.read ? *w.read : *w.data;
            float expected = std::isnan(w.value) ? std::strtof(w.text, nullptr) : w.value;
            EXPECT_EQ(write(w), !std::isupper(w.kind)) << "row " << row;
            EXPECT_EQ(text(read, w.index), w.text) << "row " << row;
            EXPECT_EQ(value(read, w.index), expected) << "row " << row << " " << w.text;
        }
    }
    Ints characters(Data& data, int count) {
        Ints out;
        for (int position = 0; position < count; ++position)
            out.push_back(data.character(host, position));
        return out;
    }
};

TEST_F(DataTest, NumbersAndTextsConvertExactly) {
    bool flag = false;
    int lives = 3;
    float volume = 0.5f;
    char* name = nullptr;
    char buffer[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    BoolData b;
    BoolRefData boolRef(&flag, nullptr);
    IntData i;
    IntRefData intRef(&lives, nullptr), intOwn(nullptr, nullptr);
    FloatData f;
    FloatRefData floatRef(&volume), floatOwn;
    StringData s;
    StringRefData stringRef(&name);
    WstringData w;
    StaticStringData fixed(buffer, 4, nullptr);
    // clang-format off
    const Write rows1[] = {
        {&b, P, 't', "TRUE", "true", 1}, {&b, P, 't', "0", "false"},
        {&b, P, 'w', "tRuE", "true", 1}, {&b, P, 't', " true", "false"},
        {&b, P, 't', "1", "true", 1}, {&b, P, 't', "1.0", "false"}, {&b, P, 'n', "1", "true", 1},
        {&b, P, 't', "", "false"}, {&b, P, 'n', "1", "true", 1}, {&b, P, 'n', "2", "false"},
        {&boolRef, P, 'n', "1", "true", 1}, {&boolRef, P, 'n', "2", "false"},
        {&i, P, 't', "2.5", "3"}, {&i, P, 't', "-2.5", "-3"}, {&i, P, 't', "2.4", "2"},
        {&i, P, 't', "-2.4", "-2"}, {&i, P, 't', "abc", "0"}, {&i, P, 't', " 7x", "7"},
        {&i, P, 't', "1e3", "1000"}, {&i, P, 'n', "nan", "0"},
        {&i, P, 'n', "-2147483648", "-2147483648"}, {&i, P, 'n', "1e20", "2147483647"},
        {&intRef, P, 'n', "9.5", "10"}, {&intOwn, P, 't', "-6.5", "-7"},
        {&f, P, 'n', "1.5", "1.500000000"}, {&f, P, 'n', "-0.25", "-0.250000000"},
        {&f, P, 't', "0.1", "0.100000001"}, {&f, P, 'n', "1e20", "10000000200408773", 1e20f},
        {&f, P, 'n', "-inf", "-inf"}, {&floatRef, P, 't', "0.75", "0.750000000"},
        {&floatOwn, P, 'n', "3", "3.000000000"}, {&s, P, '-', "", ""}, {&s, P, 'n', "3", "3.0000000"},
        {&s, P, 't', "  12.5 points", "  12.5 points"}, {&stringRef, P, 't', "Bob", "Bob"},
        {&stringRef, P, 'n', "-1.5", "-1.5000000"}, {&w, P, '-', "", ""}, {&w, P, 'n', "3", "3.0000000"},
        {&w, P, 'w', "42", "42"}, {&w, P, 't', "\xE9t\xE9", "\xE9t\xE9"},
        {&fixed, P, 't', "hello", "hel"}, {&fixed, P, 'n', "25", "25."}};
    // clang-format on
    check(rows1);
    EXPECT_EQ(w.character(host, 0), 0xE9);                         // widened unsigned
    EXPECT_EQ(std::string(buffer, 6), std::string("25.\0xx", 6));  // inside the host's buffer
    EXPECT_EQ((Floats{flag ? 1.0f : 0.0f, static_cast<float>(lives), volume}),
              (Floats{0, 10, 0.75f}));
    EXPECT_STREQ(name, "-1.5000000");
    EXPECT_EQ(host.log.text, "");  // texts are cut silently

    // Bound data follows the host's variables without being told.
    flag = true;
    lives = -15;
    volume = 2.0f;
    Memory::stringDelete(name);
    name = Memory::stringDuplicate("Cy");
    EXPECT_EQ(text(boolRef) + text(intRef) + text(floatRef) + text(stringRef),
              "true-152.000000000Cy");
    Memory::stringDelete(name);
    name = nullptr;
    EXPECT_EQ(text(stringRef), "");
}

TEST_F(DataTest, CharactersCopiesAndComparisons) {
    // Characters are unsigned, except those of a stack literal.
    StringData string("\xE9");
    StackData stack("a\xE9");
    const Wide units = {0x263A, 0xFFFF, 0};
    WstackData wstack(units.data() + 1);
    WstringData wstring(units.data());
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
    EXPECT_EQ(string.character(host, 0), 0);
    EXPECT_EQ(BoolData::boolToString(false, 5), 0);

    // Wide text is narrowed to at most 511 characters.
    Wide exact(511, 'a'), longer(600, 'b');
    exact.push_back(0);
    longer.push_back(0);
    string.set(host, exact.data());
    EXPECT_EQ(host.log.text, "");
    EXPECT_TRUE(string.set(host, longer.data()));
    EXPECT_EQ(string.stringLength(host), 511);
    EXPECT_EQ(string.character(host, 0), 'b');
    EXPECT_EQ(host.log.text, "Kova: Warning: Data::set, string is longer than buffer\r\n");

    // The base ignores writes and indexes; it is its own only element.
    Data plain;
    EXPECT_TRUE(plain.set(host, 2, 5.0f));
    EXPECT_TRUE(plain.set(host, 2, "x"));
    EXPECT_EQ((std::vector<Data*>{plain.dataAt(0), plain.dataAt(1)}),
              (std::vector<Data*>{&plain, nullptr}));
    EXPECT_EQ(plain.value(host, 3) + static_cast<float>(plain.indexCount(host)), 1.0f);
    StringData hello("hello"), hi("hi");
    char buffer[8] = {};
    unsigned short wideBuffer[4];
    EXPECT_EQ(hello.stringCopy(host, buffer, 4), 4);
    EXPECT_STREQ(buffer, "hel");
    EXPECT_EQ(hi.stringCopy(host, buffer, 4), 2);
    EXPECT_STREQ(buffer, "hi");
    EXPECT_EQ(hello.stringCopy(host, wideBuffer, 3), 3);
    EXPECT_EQ(Wide(wideBuffer, wideBuffer + 3), (Wide{'h', 'e', 0}));
    EXPECT_EQ(hello.stringCopy(host, 0, buffer, 1), 1);
    EXPECT_EQ(buffer[0], 0);
    StringData abc("abc"), abd("abd"), ab("ab"), empty;
    StackData literal("abc");
    EXPECT_EQ((Ints{abc.stringCompare(host, &abd), abc.stringCompare(host, &ab),
                    ab.stringCompare(host, &abc), abc.stringCompare(host, nullptr),
                    empty.stringCompare(host, nullptr), abc.stringCompare(host, &literal)}),
              (Ints{-1, 'c', -'c', 'a', 0, 0}));
}

TEST_F(DataTest, SavesExactlyTheValueFields) {
    const Wide units = {0x263A, 'c', 0};
    float volume = 4.0f;
    char* name = nullptr;
    BoolData flag(true);
    IntData count(-2);
    FloatData speed(1.5f);
    StringData title("ab");
    WstringData greeting(units.data());
    FloatRefData floatRef(&volume);
    StringRefData stringRef(&name);
    Data plain;
    const std::pair<Data*, std::string> rows[] = {{&flag, std::string("\x01", 1)},
                                                  {&count, "\xFE\xFF\xFF\xFF"},
                                                  {&speed, std::string("\x00\x00\xC0\x3F", 4)},
                                                  {&title, std::string("\x02\x00\x00\x00"
                                                                       "ab",
                                                                       6)},
                                                  {&greeting, std::string("\x02\x00\x00\x00\x3A\x26"
                                                                          "c\x00",
                                                                          8)},
                                                  {&floatRef, ""},
                                                  {&stringRef, ""},
                                                  {&plain, ""}};
    for (const auto& row : rows) {
        TextOStream out;
        EXPECT_TRUE(row.first->onSave(host, out));
        EXPECT_EQ(out.text, row.second) << row.first->actualClass()->name();
    }
    // Host-bound data is registered under Data, the class files can name.
    static int score = 0;
    static float values[2] = {};
    Data* bound[] = {new BoolRefData(nullptr, "Paused"), new IntRefData(&score, "Score"),
                     new FloatArrayData(values, 2, "Values"),
                     new StaticStringData(nullptr, 0, "Buffer")};
    for (Data* data : bound) {
        EXPECT_EQ(data->actualClass(), Data::absoluteClass()) << data->name();
        EXPECT_EQ(host.registerData(data, "Game"), data);
    }
    EXPECT_EQ(host.findNamedObject("Game/Score"), bound[1]);
}

// Each logical class over the same operand pairs; the last two pairs leave
// an operand out.
TEST_F(DataTest, LogicalResultsAreExactlyOneOrZero) {
    EqualData equal;
    NotEqualData notEqual;
    LessEqualData lessEqual;
    LessData less;
    OrData orData;
    AndData andData;
    ExclusiveOrData exclusiveOr;
    LogicalData base;
    LogicalData* all[] = {&equal,  &notEqual, &lessEqual,   &less,
                          &orData, &andData,  &exclusiveOr, &base};
    struct Row {
        float a, b;
        bool hasA, hasB;
        Floats expected;  // in the order of all
    } rows[] = {
        {2, 2, true, true, {1, 0, 1, 0, 1, 1, 0, 0}},
        {1, 2, true, true, {0, 1, 1, 1, 1, 1, 0, 0}},
        {2, -1, true, true, {0, 1, 0, 0, 1, 1, 0, 0}},
        {0, 5, true, true, {0, 1, 1, 1, 1, 0, 1, 0}},
        {0, -0.0f, true, true, {1, 0, 1, 0, 0, 0, 0, 0}},
        {kNan, kNan, true, true, {0, 1, 0, 0, 1, 1, 0, 0}},
        {kNan, 0, true, true, {0, 1, 0, 0, 1, 0, 1, 0}},
        {-kInf, kInf, true, true, {0, 1, 1, 1, 1, 1, 0, 0}},
        {1, 1, true, false, {0, 0, 0, 0, 0, 0, 0, 0}},
        {0, 1, false, true, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        FloatData a(row.a), b(row.b);
        Floats got;
        for (LogicalData* data : all) {
            data->setData1(row.hasA ? &a : nullptr);
            data->setData2(row.hasB ? &b : nullptr);
            got.push_back(data->value(host));
            EXPECT_EQ(text(*data), got.back() == 1.0f ? "true" : "false");
        }
        EXPECT_EQ(got, row.expected) << row.a << " " << row.b << " " << row.hasA << row.hasB;
    }
    EXPECT_EQ((Ints{LogicalData::characterFalse(4), LogicalData::characterFalse(5),
                    LogicalData::characterTrue(-1)}),
              (Ints{'e', 0, 0}));
    NotData notData;
    BoolData off(false);
    FloatData nan(kNan), two(2);
    Floats nots = {notData.value(host)};  // no data
    for (Data* data :
         {static_cast<Data*>(&off), static_cast<Data*>(&nan), static_cast<Data*>(&two)}) {
        notData.setData(data);
        nots.push_back(notData.value(host));
    }
    notData.setData2(&off);  // only data counts
    notData.setData(nullptr);
    nots.push_back(notData.value(host));
    EXPECT_EQ(nots, (Floats{0, 1, 0, 0, 0}));
}

TEST_F(DataTest, ArithmeticAndItsText) {
    AddData add;
    SubData sub;
    MulData mul;
    DivData div;
    OperatorData base;
    OperatorData* all[] = {&add, &sub, &mul, &div, &base};
    struct Row {
        float a, b;
        Floats expected;
    } rows[] = {
        {5, 3, {8, 2, 15, 5.0f / 3.0f, 0}},
        {1, 0, {1, 1, 0, kInf, 0}},
        {-1, 0, {-1, -1, -0.0f, -kInf, 0}},
        {1, -0.0f, {1, 1, -0.0f, -kInf, 0}},
        {0, 0, {0, 0, 0, kNan, 0}},
        {1e30f, 1e30f, {1e30f * 2, 0, kInf, 1, 0}},
        {kInf, kInf, {kInf, kNan, kInf, kNan, 0}},
        {kNan, 0, {kNan, kNan, kNan, kNan, 0}},
    };
    for (const Row& row : rows) {
        FloatData a(row.a), b(row.b);
        for (std::size_t i = 0; i < 5; ++i) {
            all[i]->setData1(&a);
            all[i]->setData2(&b);
            float got = all[i]->value(host);
            if (std::isnan(row.expected[i])) {
                EXPECT_TRUE(std::isnan(got)) << i << ": " << row.a << " " << row.b;
            } else {
                EXPECT_EQ(got, row.expected[i]) << i << ": " << row.a << " " << row.b;
                EXPECT_EQ(std::signbit(got), std::signbit(row.expected[i])) << i;
            }
        }
    }
    // Texts are made again only when the number moved; writes are ignored.
    IntData five(5), three(3);
    FloatData huge(1e30f), zero(0.0f);
    sub.setData1(&five);
    sub.setData2(&three);
    mul.setData1(&huge);
    mul.setData2(&huge);
    div.setData1(&zero);
    div.setData2(&zero);
    add.setData1(&five);
    add.setData2(nullptr);
    EqualData equal;
    equal.setData1(&three);
    equal.setData2(&three);
    const Write rows2[] = {{&sub, P, '-', "", "2.000000000"},
                           {&five, P, 'n', "-0.25", "-3.000000000", -3, &sub},
                           {&sub, P, 'n', "9", "0", 0, &five},
                           {&mul, P, '-', "", "inf"},
                           {&add, P, '-', "", "0.000000000"},
                           {&equal, P, 'n', "0", "true", 1},
                           {&equal, P, 't', "false", "3", 3, &three}};
    check(rows2);
    EXPECT_EQ(text(div), "nan");
    div.setData1(&huge);
    div.setData2(&three);  // cut to the 18-byte text
    EXPECT_EQ(text(div), "33333333834915540");
}

// Expressions over the host's own variables follow them; the toggle picks
// data 1 while its toggle data reads 0, data 2 without one, and passes
// writes on.
TEST_F(DataTest, ExpressionsAndTogglesFollowHostVariables) {
    int lives = 3;
    float bonus = 0.5f;
    bool paused = false;
    IntRefData livesData(&lives, nullptr);
    FloatRefData bonusData(&bonus);
    BoolRefData pausedData(&paused, nullptr);
    IntData one(1);
    AddData total;
    total.setData1(&livesData);
    total.setData2(&bonusData);
    LessData lastLife;
    lastLife.setData1(&livesData);
    lastLife.setData2(&one);
    OrData blocked;
    blocked.setData1(&pausedData);
    blocked.setData2(&lastLife);
    EXPECT_EQ(text(total) + " " + text(blocked), "3.500000000 false");
    lives = 0;
    bonus = 0.25f;
    EXPECT_EQ(text(total) + " " + text(blocked), "0.250000000 true");
    lives = 2;
    paused = true;
    EXPECT_EQ(blocked.value(host), 1.0f);

    StringData menu("Menu"), game("Game");
    IntData toggle(0);
    ToggleData title, unset;
    const Write rows3[] = {{&unset, P, 'N', "7", ""}};
    check(rows3);
    title.setData1(&menu);
    title.setData2(&game);
    EXPECT_EQ(text(title), "Game");
    title.setToggleData(&toggle);
    const Write rows4[] = {{&title, P, '-', "", "Menu"},
                           {&title, P, 'n', "7", "7.0000000", 7, &menu},
                           {&toggle, P, 'n', "2", "Game", 0, &title},
                           {&title, P, 't', "Play", "Play", 0, &game}};
    check(rows4);
    title.setData2(nullptr);
    EXPECT_FALSE(title.set(host, "x"));
    EXPECT_STREQ(ToggleData::absoluteClass()->description(),
                 "If 'Toggle data' is 0 'Data 1' will be returned, otherwise 'Data 2'");
}

// Writes move the recorded position only; the host's pointer stays.
TEST_F(DataTest, PointerAndFocusLockFromTheSystem) {
    PointerXData x;
    PointerYData y;
    FocusLockedData locked;
    host.pointerMove(12.5f, -4.0f);
    EXPECT_EQ(text(x) + " " + text(y), "12.500000000 -4.000000000");
    host.calls.clear();
    const Write rows5[] = {{&x, P, 'n', "100", "100.000000000"},
                           {&y, P, 't', "-3.25", "-3.250000000"}};
    check(rows5);
    EXPECT_EQ((Floats{host.pointerPosition().x, host.pointerPosition().y}), (Floats{100, -3.25f}));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_STREQ(PointerXData::absoluteClass()->description(), "Returns x coordinate from pointer");
    EXPECT_STREQ(PointerYData::absoluteClass()->description(), "Returns y coordinate from pointer");

    std::string seen = text(locked);
    host.increaseLockCount();
    host.increaseLockCount();
    seen += " " + text(locked) + " " + std::to_string(locked.value(host));
    host.decreaseLockCount();
    host.decreaseLockCount();
    EXPECT_EQ(seen + " " + text(locked), "false true 2.000000 false");
}

TEST_F(DataTest, ListsReadAndWriteElementsByIndex) {
    float floats[12] = {1, 2, 3};
    FloatArrayData array(floats, 3, "Values");
    DataListData list, passing, empty;
    StringData first("Ann"), second("Bo"), third("Cy");
    for (Data* data : {&first, &second, &third})
        ASSERT_TRUE(list.list()->appendObject(host, data));
    Style style;
    EXPECT_FALSE(list.list()->appendObject(host, &style));  // data only
    // The results of the elements come back: a toggle with nothing to pick
    // refuses writes but narrows wide text and reports true.
    ToggleData refusing;
    IntData number(7);
    passing.list()->appendObject(host, &refusing);
    passing.list()->appendObject(host, &number);
    // The element picked by an index truncated toward zero.
    FloatData index(1.9f);
    IndexDataData picked, lone;
    picked.setData(&list);
    picked.setIndex(&index);
    lone.setIndex(&index);
    // clang-format off
    const Write rows6[] = {
        {&array, 2, '-', "", "", 3}, {&array, 3, '-', "", ""}, {&array, P, '-', "", ""},
        {&array, 5, 'n', "1", ""}, {&array, -1, 'n', "1", ""}, {&array, 1, 't', "2.5", "", 2.5f},
        {&list, P, '-', "", "Ann"}, {&list, 1, '-', "", "Bo"}, {&list, 5, '-', "", ""},
        {&list, P, '-', "", "Ann"}, {&list, 1, 't', "Di", "Di", 0, &second},
        {&list, 2, 'n', "4", "4.0000000"}, {&list, 0, 'w', "Ed", "Ed", 0, &first},
        {&list, P, 't', "Flo", "Flo", 0, &first}, {&list, P, 'w', "Gus", "Gus", 0, &first},
        {&list, P, 'n', "2.5", "2.5000000"}, {&list, 3, 'T', "x", ""}, {&list, 3, 'N', "1", ""},
        {&list, -1, 'W', "x", ""}, {&list, P, 'w', "x", "x", 0, &first},
        {&passing, P, 'N', "1", ""}, {&passing, P, 'T', "1", ""}, {&passing, P, 'w', "1", ""},
        {&passing, 0, 'T', "1", ""}, {&passing, 0, 'n', "1", ""}, {&passing, 1, 't', "2.5", "3"},
        {&empty, P, 'N', "1", ""}, {&empty, P, 'T', "x", ""}, {&empty, P, 'W', "x", ""},
        {&picked, P, '-', "", "Di"}, {&index, P, 'n', "2", "4.0000000", 4, &picked},
        {&picked, P, 't', "deux", "deux", 0, &third}, {&picked, P, 'w', "zwei", "zwei", 0, &third},
        {&index, P, 'n', "-0.5", "x", 0, &picked}, {&picked, P, 'n', "3", "3.0000000", 3, &first},
        {&index, P, 'n', "5", "", 0, &picked}, {&picked, P, 't', "gone", ""},
        {&picked, P, 'N', "1", ""}, {&picked, P, 'W', "gone", ""}, {&lone, P, 'n', "1", ""},
        {&lone, P, 'w', "1", ""}, {&lone, P, 't', "1", ""}};
    // clang-format on
    check(rows6);
    EXPECT_EQ((Floats{floats[0], floats[1], floats[2]}), (Floats{1, 2.5f, 3}));
    EXPECT_EQ((Ints{list.character(host, 2, 0), list.character(host, 3, 0), list.indexCount(host),
                    empty.character(host, 0), empty.indexCount(host)}),
              (Ints{'z', 0, 3, 0, 0}));
    EXPECT_EQ(
        (std::vector<Data*>{list.dataAt(2), list.dataAt(3), list.dataAt(-1), empty.dataAt(0)}),
        (std::vector<Data*>{&third, nullptr, nullptr, nullptr}));
    // Over an array of floats, which takes numbers and narrow text by index
    // only; without an index nothing is written.
    picked.setData(&array);
    lone.setIndex(nullptr);
    lone.setData(&array);
    const Write rows7[] = {{&index, P, 'n', "2", "2.000000000"},
                           {&picked, P, 'n', "9.5", "", 9.5f},
                           {&picked, P, 'w', "8.5", "", 9.5f},
                           {&lone, P, 'n', "1", ""}};
    check(rows7);
    EXPECT_EQ((Floats{floats[0], floats[2]}), (Floats{1, 9.5f}));
    // An emptied entry counts, and reads as missing.
    passing.list()->setObjectFromHandle(passing.list()->firstHandle(), nullptr);
    const Write rows8[] = {{&passing, P, 'N', "1", ""}, {&passing, 1, '-', "", "3"}};
    check(rows8);
    EXPECT_EQ(passing.indexCount(host), 2);

    // Counts follow the data: plain data has one element, none reads as
    // nothing. The count ignores writes.
    IndexCountData count;
    count.setData(&array);
    array.setArray(floats, 12);
    EXPECT_EQ(characters(count, 4), (Ints{'1', '2', 0, 0}));
    EXPECT_EQ(count.character(host, -1), 0);
    array.setArray(floats, -305);
    std::string counts;
    for (Data* data :
         {static_cast<Data*>(&list), static_cast<Data*>(&first), static_cast<Data*>(nullptr)}) {
        counts += text(count) + "/" + std::to_string(static_cast<int>(count.value(host))) + "|";
        count.setData(data);
    }
    EXPECT_EQ(counts, "-305/-305|3/3|1/1|");
    const Write rows9[] = {{&count, P, 'n', "5", ""}};
    check(rows9);

    // Joined texts: numbers show their text form; an entry holding no data
    // ends the text; the join reads as 0 and ignores writes.
    ConcatenateListData joined, nothing;
    StringData ab("ab"), none(""), cd("cd");
    IntData score(-42);
    for (Data* data : {static_cast<Data*>(&ab), static_cast<Data*>(&none), static_cast<Data*>(&cd),
                       static_cast<Data*>(&score)})
        joined.list()->appendObject(host, data);
    const Write rows10[] = {{&joined, P, '-', "", "abcd-42"},
                            {&score, P, 'n', "7", "abcd7", 0, &joined},
                            {&joined, P, 't', "x", "ab", 0, &ab},
                            {&nothing, P, '-', "", ""}};
    check(rows10);
    EXPECT_EQ(joined.character(host, -1), 0);
    joined.list()->setObjectFromHandle(joined.list()->nextHandle(joined.list()->firstHandle()),
                                       nullptr);
    EXPECT_EQ(characters(joined, 3), (Ints{'a', 'b', 0}));
}

// Data that reaches itself reads as missing at the second visit; other
// elements of the same list can still be read.
TEST_F(DataTest, DataThatLeadsBackToItselfEnds) {
    DataListData list;
    IntData seven(7), zero(0), one(1);
    IndexDataData sibling, looping;
    sibling.setData(&list);
    sibling.setIndex(&zero);
    for (Data* data :
         {static_cast<Data*>(&seven), static_cast<Data*>(&sibling), static_cast<Data*>(&list)})
        list.list()->appendObject(host, data);
    looping.setData(&list);
    looping.setIndex(&looping);
    ConcatenateListData joined;
    StringData ab("ab");
    joined.list()->appendObject(host, &joined);
    joined.list()->appendObject(host, &ab);
    AddData add;
    FloatData two(2.0f);
    add.setData1(&add);
    add.setData2(&two);
    NotData notItself;
    notItself.setData(&notItself);
    ToggleData toggle;
    toggle.setToggleData(&toggle);
    toggle.setData1(&toggle);
    const Write rows11[] = {{&list, 1, '-', "", "7"},
                            {&list, 2, '-', "", "7"},
                            {&joined, P, '-', "", "ab"},
                            {&add, P, '-', "", "2.000000000"},
                            {&notItself, P, '-', "", "true", 1},
                            {&toggle, P, 'N', "1", ""}};
    check(rows11);
    sibling.setIndex(&one);  // element 1 reads itself
    const Write rows12[] = {{&list, 1, 'W', "5", ""}, {&seven, P, '-', "", "7"}};
    check(rows12);
    list.list()->setObjectFromHandle(list.list()->firstHandle(), &list);
    sibling.setIndex(&zero);
    // Element 1 reads 0, which is the list read plainly: 0 again.
    const Write rows13[] = {{&list, P, '-', "", ""},
                            {&list, 0, 'T', "x", ""},
                            {&list, 1, '-', "", ""},
                            {&looping, P, 'n', "1", ""}};
    check(rows13);
}

// A gauge of 10 - lives * 2 over a registered host variable named in the
// file; a list that names itself among its entries; a list written by the
// engine and read back. Unnamed parts go with their owner, named ones stay.
TEST_F(DataTest, ExpressionsAndListsInObjectFiles) {
    static int lives = 3;
    ASSERT_NE(host.registerData(new IntRefData(&lives, "Lives"), "Game"), nullptr);
    host.files["Hud/Gauge"] =
        fileHeader({"tarn::kova::SubData", "tarn::kova::FloatData", "tarn::kova::MulData",
                    "Game/Lives", "tarn::kova::IntData"}) +
        Bytes{1, 0} + recordBytes(0, 2, u32Bytes(0x41200000)) +  // 10.0
        recordBytes(0, 3, recordBytes(4, 0) + recordBytes(0, 5, u32Bytes(2)));
    host.files["Loop"] = fileHeader({"tarn::kova::DataListData", "Loop", "tarn::kova::FloatData"}) +
                         Bytes{1, 0} + recordBytes(0, 3, u32Bytes(0x40000000)) +  // 2.0
                         recordBytes(2, 1) + recordBytes(0, 0);
    Object* roots[2] = {};
    ASSERT_TRUE(Object::loadNewStream(host, roots[0], "Hud/Gauge"));
    ASSERT_TRUE(Object::loadNewStream(host, roots[1], "Loop"));
    EXPECT_EQ(host.log.text, "Kova: Loading: Hud/Gauge\r\nKova: Loading: Loop\r\n");
    Data* gauge = static_cast<Data*>(roots[0]);
    ASSERT_EQ(gauge->actualClass(), SubData::absoluteClass());
    EXPECT_EQ(text(*gauge), "4.000000000");
    lives = 6;
    EXPECT_EQ(text(*gauge), "-2.000000000");
    auto* loop = static_cast<DataListData*>(roots[1]);
    ASSERT_EQ(loop->indexCount(host), 2);
    EXPECT_EQ(loop->dataAt(1), loop);
    EXPECT_EQ(text(*loop, 1), "2.000000000");  // its element 0

    // The registered data is saved with its name and the class it reports,
    // Data, which has no fields; a load shares the registered one.
    ConcatenateListData joined;
    Object* parts[3] = {};
    make<StringData>(parts[0])->set(host, "L");
    parts[1] = host.findNamedObject("Game/Lives");
    Data* counted = nullptr;
    make<IndexCountData>(parts[2])->setData(make<DataListData>(counted));
    for (Object* part : parts)
        ASSERT_TRUE(joined.list()->appendObject(host, part));
    {
        ClassOStream out(host.createOStream("Hud/Lives"));
        ASSERT_TRUE(out.streamStaticString(host, joined.actualClass()->fullName(), "Class name"));
        ASSERT_TRUE(joined.onSave(host, out));
        ASSERT_TRUE(out.streamFinished(host));
    }
    Bytes expected =
        fileHeader({"tarn::kova::ConcatenateListData", "tarn::kova::StringData", "Game/Lives",
                    "tarn::kova::Data", "tarn::kova::IndexCountData", "tarn::kova::DataListData"}) +
        Bytes{1, 0} + recordBytes(0, 2, u32Bytes(1) + Bytes{'L'}) + recordBytes(3, 4) +
        recordBytes(0, 5, recordBytes(0, 6, recordBytes(0, 0))) + recordBytes(0, 0);
    EXPECT_EQ(host.files["Hud/Lives"], expected);
    EXPECT_TRUE(joined.list()->clear(host));
    EXPECT_EQ(DataListData::absoluteClass()->classInstanceCount(), 1);  // the loop
    Object* loaded = nullptr;
    ASSERT_TRUE(Object::loadNewStream(host, loaded, "Hud/Lives"));
    lives = 2;
    EXPECT_EQ(text(*static_cast<Data*>(loaded)), "L20");
    auto* read = static_cast<ConcatenateListData*>(loaded);
    EXPECT_EQ(read->list()->focusHandle(), read->list()->firstHandle());
    EXPECT_EQ(read->list()->objectFromIndex(1), host.findNamedObject("Game/Lives"));
    AddData* add = make<AddData>();
    Data* operand = nullptr;
    make<FloatData>(operand);
    add->setData1(operand);
    add->setData2(static_cast<Data*>(host.findNamedObject("Game/Lives")));
    Object::clear(host, add);
    EXPECT_EQ(FloatData::absoluteClass()->classInstanceCount(), 2);  // the files'
    EXPECT_EQ(text(*read), "L20");
}

}  // namespace
}  // namespace kova_test
