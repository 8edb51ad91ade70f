// Variables: the exact conversions between numbers and texts, the text
// operations, the bytes each class persists, loading from object files, and
// host-bound data that follows the host's own variables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {

using Wide = std::vector<unsigned short>;

Wide wide(const std::string& text) {
    Wide out;
    for (unsigned char c : text)
        out.push_back(c);
    out.push_back(0);
    return out;
}

class DataTest : public HostTest<FileHost> {
protected:
    std::string text(Data& data) {
        char buffer[256];
        int length = data.stringCopy(host, buffer, sizeof(buffer));
        EXPECT_EQ(length, data.stringLength(host));
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    bool set(Data& data, const std::string& value) { return data.set(host, value.c_str()); }
};

TEST_F(DataTest, BoolTakesOnlyOneAndTrue) {
    BoolData flag(true, "Flag");
    EXPECT_EQ(text(flag), "true");
    for (float number : {2.0f, 0.5f, -1.0f, 0.0f}) {
        flag.set(host, 1.0f);
        EXPECT_TRUE(flag.set(host, number));
        EXPECT_EQ(flag.value(host), 0.0f) << number;
    }
    EXPECT_EQ(text(flag), "false");
    for (const char* yes : {"TRUE", "True", "true", "1"}) {
        flag.set(host, 0.0f);
        set(flag, yes);
        EXPECT_EQ(flag.value(host), 1.0f) << yes;
    }
    for (const char* no : {"yes", "0", " true", "1.0", ""}) {
        flag.set(host, 1.0f);
        set(flag, no);
        EXPECT_EQ(flag.value(host), 0.0f) << no;
    }
    flag.set(host, wide("tRuE").data());  // narrowed, then taken as text
    EXPECT_EQ(flag.value(host), 1.0f);
    EXPECT_EQ(BoolData::boolToString(false, 5), 0);

    bool setting = false;
    BoolRefData bound(&setting, "Sound");
    setting = true;
    EXPECT_EQ(text(bound), "true");
    bound.set(host, 2.0f);
    EXPECT_FALSE(setting);
}

TEST_F(DataTest, IntRoundsHalfAwayFromZeroAndItsTextFollows) {
    IntData count(0, "Count");
    std::vector<std::pair<std::string, float>> cases = {
        {"2.5", 3}, {"-2.5", -3}, {"2.4", 2}, {"-2.4", -2}, {"abc", 0}, {" 7x", 7}, {"1e3", 1000}};
    for (const auto& c : cases) {
        EXPECT_TRUE(set(count, c.first));
        EXPECT_EQ(count.value(host), c.second) << c.first;
    }
    count.set(host, -2147483648.0f);
    EXPECT_EQ(text(count), "-2147483648");  // fills the 12-byte text exactly
    count.set(host, 1e20f);
    EXPECT_EQ(text(count), "2147483647");
    count.set(host, NAN);
    EXPECT_EQ(text(count), "0");
    count.set(host, 42.0f);
    EXPECT_EQ(count.character(host, 1), '2');
    EXPECT_EQ(count.character(host, 12), 0);

    int lives = 3;
    IntRefData bound(&lives, "Lives");
    EXPECT_EQ(text(bound), "3");
    lives = -15;  // the host changes its variable behind the data's back
    EXPECT_EQ(text(bound), "-15");
    bound.set(host, 9.5f);
    EXPECT_EQ(lives, 10);

    IntRefData own(nullptr, "Own");
    EXPECT_EQ(text(own), "0");
    set(own, "-6.5");
    EXPECT_EQ(text(own), "-7");
}

TEST_F(DataTest, FloatShowsNineTruncatedDigits) {
    FloatData speed(1.5f, "Speed");
    EXPECT_EQ(text(speed), "1.500000000");
    speed.set(host, -0.25f);
    EXPECT_EQ(text(speed), "-0.250000000");
    set(speed, "0.1");
    EXPECT_EQ(text(speed), "0.100000001");
    EXPECT_EQ(speed.value(host), 0.1f);
    speed.set(host, 1e20f);  // cut to the 18-byte text, not written past it
    EXPECT_EQ(text(speed), "10000000200408773");
    speed.set(host, -INFINITY);
    EXPECT_EQ(text(speed), "-inf");

    float volume = 0.5f;
    FloatRefData bound(&volume, "Volume");
    EXPECT_EQ(text(bound), "0.500000000");
    volume = 2.0f;
    EXPECT_EQ(text(bound), "2.000000000");
    set(bound, "0.75");
    EXPECT_EQ(volume, 0.75f);

    FloatRefData own;
    EXPECT_EQ(text(own), "0.000000000");
    own.set(host, 3.0f);
    EXPECT_EQ(text(own), "3.000000000");
}

TEST_F(DataTest, TextsConvertNumbersWithSevenDigits) {
    StringData title(nullptr, "Title");
    EXPECT_EQ(title.value(host), 0.0f);
    EXPECT_EQ(text(title), "");
    title.set(host, 3.0f);
    EXPECT_EQ(text(title), "3.0000000");
    set(title, "  12.5 points");
    EXPECT_EQ(title.value(host), 12.5f);
    set(title, "\xE9");
    EXPECT_EQ(title.character(host, 0), 0xE9);  // unsigned, unlike StackData
    title.set(host, static_cast<const char*>(nullptr));
    EXPECT_EQ(title.character(host, 0), 0);

    char* name = Memory::stringDuplicate("Ann");
    {
        StringRefData bound(&name, "Player");
        EXPECT_EQ(text(bound), "Ann");
        set(bound, "Bob");  // frees Ann, stores a copy
        EXPECT_STREQ(name, "Bob");
        bound.set(host, -1.5f);
        EXPECT_STREQ(name, "-1.5000000");
        Memory::stringDelete(name);
        name = Memory::stringDuplicate("Cy");
        EXPECT_EQ(bound.value(host), 0.0f);
        EXPECT_EQ(text(bound), "Cy");
    }
    EXPECT_STREQ(name, "Cy");  // the host's text outlives the data
    Memory::stringDelete(name);

    WstringData greeting(nullptr, "Greeting");
    EXPECT_EQ(greeting.value(host), 0.0f);
    EXPECT_EQ(text(greeting), "");
    set(greeting, "\xE9t\xE9");
    EXPECT_EQ(greeting.character(host, 0), 0xE9);
    EXPECT_EQ(greeting.stringLength(host), 3);
    greeting.set(host, 3.0f);
    EXPECT_EQ(text(greeting), "3.0000000");
    const Wide units = {0x263A, '4', 0};
    greeting.set(host, units.data());
    EXPECT_EQ(greeting.character(host, 0), 0x263A);
    EXPECT_EQ(greeting.character(host, 2), 0);
    greeting.set(host, wide("42").data());
    EXPECT_EQ(greeting.value(host), 42.0f);
}

TEST_F(DataTest, StaticStringsStayInsideTheHostBuffer) {
    char buffer[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    StaticStringData field(buffer, 4, "Field");
    EXPECT_TRUE(set(field, "hello"));
    EXPECT_EQ(std::string(buffer, 6), std::string("hel\0xx", 6));
    EXPECT_EQ(field.character(host, 4), 0);
    EXPECT_EQ(field.character(host, 3), 0);
    field.set(host, 25.0f);
    EXPECT_EQ(text(field), "25.");
    EXPECT_EQ(field.value(host), 25.0f);
    EXPECT_EQ(host.log.text, "");  // cut silently

    char unterminated[3] = {'1', '2', '3'};  // the host left no terminator
    StaticStringData raw(unterminated, 3, "Raw");
    EXPECT_EQ(text(raw), "123");
    EXPECT_EQ(raw.value(host), 123.0f);

    StackData stack("a\xE9");
    EXPECT_EQ(stack.character(host, 1), -23);
    EXPECT_EQ(stack.character(host, 3), 0);
    const Wide units = {0xFFFF, 0};
    WstackData wstack(units.data());
    EXPECT_EQ(wstack.character(host, 0), 0xFFFF);
    EXPECT_EQ(wstack.stringLength(host), 1);
}

TEST_F(DataTest, BaseDefaultsAndNarrowingOfWideText) {
    Data plain("Plain");
    EXPECT_TRUE(plain.set(host, 5.0f));
    EXPECT_TRUE(plain.set(host, 2, "x"));
    EXPECT_EQ(plain.value(host), 0.0f);
    EXPECT_EQ(plain.character(host, 0), 0);
    EXPECT_EQ(plain.indexCount(host), 1);
    EXPECT_EQ(plain.dataAt(0), &plain);
    EXPECT_EQ(plain.dataAt(1), nullptr);
    EXPECT_STREQ(plain.name(), "Plain");

    StringData title(nullptr, "Title");  // the index is ignored
    title.set(host, 7, "Menu");
    EXPECT_EQ(title.stringLength(host, 3), 4);
    EXPECT_EQ(title.character(host, 9, 0), 'M');
    title.set(host, 1, 2.0f);
    EXPECT_EQ(title.value(host, 5), 2.0f);

    Wide exact(511, 'a'), longer(600, 'b');
    exact.push_back(0);
    longer.push_back(0);
    title.set(host, exact.data());
    EXPECT_EQ(title.stringLength(host), 511);
    EXPECT_EQ(host.log.text, "");
    EXPECT_TRUE(title.set(host, longer.data()));
    EXPECT_EQ(title.stringLength(host), 511);
    EXPECT_EQ(title.character(host, 0), 'b');
    EXPECT_EQ(host.log.text, "Kova: Warning: Data::set, string is longer than buffer\r\n");
}

TEST_F(DataTest, CopyingAndComparingTexts) {
    StringData hello("hello", nullptr), hi("hi", nullptr);
    char buffer[8] = {};
    EXPECT_EQ(hello.stringCopy(host, buffer, 4), 4);
    EXPECT_STREQ(buffer, "hel");
    EXPECT_EQ(hi.stringCopy(host, buffer, 4), 2);
    EXPECT_STREQ(buffer, "hi");
    unsigned short units[4];
    EXPECT_EQ(hello.stringCopy(host, units, 3), 3);
    EXPECT_EQ(Wide(units, units + 3), (Wide{'h', 'e', 0}));
    EXPECT_EQ(hello.stringCopy(host, 0, buffer, 1), 1);
    EXPECT_EQ(buffer[0], 0);

    StringData abc("abc", nullptr), abd("abd", nullptr), ab("ab", nullptr), empty;
    EXPECT_EQ(abc.stringCompare(host, &abd), -1);
    EXPECT_EQ(abc.stringCompare(host, &ab), 'c');
    EXPECT_EQ(ab.stringCompare(host, &abc), -'c');
    EXPECT_EQ(abc.stringCompare(host, nullptr), 'a');
    EXPECT_EQ(empty.stringCompare(host, nullptr), 0);
    StackData literal("abc");  // a literal compared without a copy
    EXPECT_EQ(abc.stringCompare(host, &literal), 0);
}

TEST_F(DataTest, FloatArraysIgnoreIndexesOutside) {
    float values[3] = {1.0f, 2.0f, 3.0f};
    FloatArrayData array(values, 3, "Values");
    EXPECT_EQ(array.indexCount(host), 3);
    EXPECT_EQ(array.value(host, 2), 3.0f);
    EXPECT_EQ(array.value(host, 3), 0.0f);
    EXPECT_EQ(array.value(host, -1), 0.0f);
    EXPECT_TRUE(array.set(host, 5, 1.0f));
    EXPECT_TRUE(array.set(host, -1, 1.0f));
    EXPECT_TRUE(array.set(host, 1, "2.5"));
    EXPECT_EQ(std::vector<float>(values, values + 3), (std::vector<float>{1.0f, 2.5f, 3.0f}));
    EXPECT_EQ(array.value(host), 0.0f);  // the plain forms are the defaults
    EXPECT_EQ(array.stringLength(host, 0), 0);
    array.setArray(values, 1);
    EXPECT_EQ(array.value(host, 1), 0.0f);
}

// What each class writes, in the engine's encoding.
TEST_F(DataTest, SavesExactlyTheValueFields) {
    auto saved = [&](Data& data) {
        TextOStream out;
        EXPECT_TRUE(data.onSave(host, out));
        return out.text;
    };
    BoolData flag(true, "Flag");
    EXPECT_EQ(saved(flag), std::string("\x01", 1));
    IntData count(-2, "Count");
    EXPECT_EQ(saved(count), "\xFE\xFF\xFF\xFF");
    FloatData speed(1.5f, "Speed");
    EXPECT_EQ(saved(speed), std::string("\x00\x00\xC0\x3F", 4));
    StringData title("ab", "Title");
    EXPECT_EQ(saved(title), std::string("\x02\x00\x00\x00"
                                        "ab",
                                        6));
    const Wide units = {0x263A, 'c', 0};
    WstringData greeting(units.data(), "Greeting");
    EXPECT_EQ(saved(greeting), std::string("\x02\x00\x00\x00\x3A\x26"
                                           "c\x00",
                                           8));
    float volume = 4.0f;
    char* name = nullptr;
    FloatRefData floatRef(&volume, "Volume");
    StringRefData stringRef(&name, "Name");
    Data plain("Plain");
    EXPECT_EQ(saved(floatRef) + saved(stringRef) + saved(plain), "");

    FieldRecorder labels;
    flag.onStream(host, labels);
    count.onStream(host, labels);
    speed.onStream(host, labels);
    EXPECT_EQ(labels.fields, (std::vector<std::string>{"bool 'Value <do not edit>' true",
                                                       "int 'Value <do not edit>' -2",
                                                       "float 'Value <do not edit>' 1.500000"}));
}

TEST_F(DataTest, LoadsNamedValuesFromObjectFiles) {
    Bytes volume = fileHeader({"tarn::kova::FloatData"});
    appendU16(volume, 1);
    appendU32(volume, 0x3F400000);  // 0.75
    host.files["Audio/Volume"] = volume;
    Bytes title = fileHeader({"StringData"});
    appendU16(title, 1);
    appendU32(title, 4);
    append(title, {'M', 'e', 'n', 'u'});
    host.files["Title"] = title;
    Bytes bound = fileHeader({"FloatRefData"});
    appendU16(bound, 1);
    host.files["Bound"] = bound;

    Object* loaded[3] = {};
    ASSERT_TRUE(Object::loadNewStream(host, loaded[0], "Audio/Volume"));
    ASSERT_TRUE(Object::loadNewStream(host, loaded[1], "Title"));
    ASSERT_TRUE(Object::loadNewStream(host, loaded[2], "Bound"));
    // The data keeps the name it was filed under, in its directory.
    EXPECT_EQ(host.findNamedObject("Audio/Volume"), loaded[0]);
    EXPECT_STREQ(loaded[0]->name(), "Volume");
    EXPECT_EQ(text(*static_cast<Data*>(loaded[0])), "0.750000000");
    EXPECT_EQ(text(*static_cast<Data*>(loaded[1])), "Menu");
    Data* own = static_cast<Data*>(loaded[2]);  // refers to its own value
    own->set(host, "8");
    EXPECT_EQ(own->value(host), 8.0f);
}

TEST_F(DataTest, HostBoundDataIsRegisteredAsData) {
    static int score = 0;
    static float values[2] = {};
    Data* bound[] = {new BoolRefData(nullptr, "Paused"), new IntRefData(&score, "Score"),
                     new FloatArrayData(values, 2, "Values"),
                     new StaticStringData(nullptr, 0, "Buffer")};
    for (Data* data : bound) {
        EXPECT_EQ(data->actualClass(), Data::absoluteClass()) << data->name();
        EXPECT_EQ(host.registerData(data, "Game"), data);
    }
    EXPECT_EQ(Data::absoluteClass()->classInstanceCount(), 4);

    Data* found = static_cast<Data*>(host.findNamedObject("Game/Score"));
    ASSERT_EQ(found, bound[1]);
    score = 12;
    EXPECT_EQ(text(*found), "12");
    found->set(host, -0.5f);
    EXPECT_EQ(score, -1);
    EXPECT_EQ(text(*found), "-1");

    // The value classes files can hold are creatable by name under Data.
    for (const char* name : {"BoolData", "IntData", "FloatData", "FloatRefData", "StringData",
                             "StringRefData", "WstringData"}) {
        RuntimeClass* cls = RuntimeClass::findClass(name);
        ASSERT_NE(cls, nullptr) << name;
        EXPECT_EQ(cls->parentClass(), Data::absoluteClass()) << name;
        Data* data = nullptr;
        ASSERT_TRUE(Object::create(host, data, cls)) << name;
        data->set(host, "1");
        EXPECT_EQ(data->value(host), 1.0f) << name;
        EXPECT_EQ(data->name(), nullptr);
        Object::clear(host, data);
    }
}

}  // namespace kova_test
