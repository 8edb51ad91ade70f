// Computed data: exact results over tables of operands, text forms, live host
// variables, the pointer and the focus lock, the fields each class lists, and
// expressions loaded from object files.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {

const float kNan = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

class ComputedDataTest : public HostTest<FileHost> {
protected:
    std::string text(Data& data) {
        char buffer[64];
        int length = data.stringCopy(host, buffer, sizeof(buffer));
        return std::string(buffer, static_cast<std::size_t>(length));
    }
};

// Each logical class over the same operand pairs; the last two pairs leave
// an operand out.
TEST_F(ComputedDataTest, LogicalResultsAreExactlyOneOrZero) {
    EqualData equal;
    NotEqualData notEqual;
    LessEqualData lessEqual;
    LessData less;
    OrData orData;
    AndData andData;
    ExclusiveOrData exclusiveOr;
    LogicalData base;
    std::vector<LogicalData*> all = {&equal,  &notEqual, &lessEqual,   &less,
                                     &orData, &andData,  &exclusiveOr, &base};
    struct Case {
        float a, b;
        bool hasA, hasB;
        std::vector<float> expected;  // in the order of all
    };
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
        FloatData a(c.a), b(c.b);
        std::vector<float> got;
        for (LogicalData* data : all) {
            data->setData1(c.hasA ? &a : nullptr);
            data->setData2(c.hasB ? &b : nullptr);
            got.push_back(data->value(host));
            EXPECT_EQ(text(*data), got.back() == 1.0f ? "true" : "false");
        }
        EXPECT_EQ(got, c.expected) << c.a << " " << c.b << " " << c.hasA << c.hasB;
    }

    IntData three(3), otherThree(3);
    equal.setData1(&three);
    equal.setData2(&otherThree);
    EXPECT_EQ(equal.value(host), 1.0f);
    // Writes change nothing and report true; there is one element.
    EXPECT_TRUE(equal.set(host, 0.0f));
    EXPECT_TRUE(equal.set(host, "false"));
    EXPECT_EQ(three.value(host), 3.0f);
    EXPECT_EQ(equal.indexCount(host), 1);
    EXPECT_EQ(std::vector<int>({LogicalData::characterFalse(4), LogicalData::characterFalse(5),
                                LogicalData::characterTrue(-1)}),
              std::vector<int>({'e', 0, 0}));

    NotData notData;
    EXPECT_EQ(notData.value(host), 0.0f);  // no data
    BoolData off(false);
    FloatData nan(kNan), two(2);
    const std::vector<std::pair<Data*, float>> nots = {{&off, 1}, {&nan, 0}, {&two, 0}};
    for (const auto& n : nots) {
        notData.setData(n.first);
        EXPECT_EQ(notData.value(host), n.second) << n.first->value(host);
    }
    notData.setData2(&off);  // only data counts
    notData.setData(nullptr);
    EXPECT_EQ(text(notData), "false");
}

TEST_F(ComputedDataTest, ArithmeticAndItsText) {
    AddData add;
    SubData sub;
    MulData mul;
    DivData div;
    OperatorData base;
    std::vector<OperatorData*> all = {&add, &sub, &mul, &div, &base};
    struct Case {
        float a, b;
        std::vector<float> expected;
    };
    const std::vector<Case> cases = {
        {5, 3, {8, 2, 15, 5.0f / 3.0f, 0}},
        {1, 0, {1, 1, 0, kInf, 0}},
        {-1, 0, {-1, -1, -0.0f, -kInf, 0}},
        {1, -0.0f, {1, 1, -0.0f, -kInf, 0}},
        {0, 0, {0, 0, 0, kNan, 0}},
        {1e30f, 1e30f, {1e30f * 2, 0, kInf, 1, 0}},
        {kInf, kInf, {kInf, kNan, kInf, kNan, 0}},
        {kNan, 0, {kNan, kNan, kNan, kNan, 0}},
    };
    for (const Case& c : cases) {
        FloatData a(c.a), b(c.b);
        for (std::size_t i = 0; i < all.size(); ++i) {
            all[i]->setData1(&a);
            all[i]->setData2(&b);
            float got = all[i]->value(host);
            if (std::isnan(c.expected[i])) {
                EXPECT_TRUE(std::isnan(got)) << i << ": " << c.a << " " << c.b;
            } else {
                EXPECT_EQ(got, c.expected[i]) << i << ": " << c.a << " " << c.b;
                EXPECT_EQ(std::signbit(got), std::signbit(c.expected[i])) << i;
            }
        }
    }

    IntData five(5), three(3);
    sub.setData1(&five);
    sub.setData2(&three);
    EXPECT_EQ(sub.value(host), 2.0f);
    EXPECT_EQ(text(sub), "2.000000000");
    five.set(host, -0.25f);  // rounds to 0: the text is made again
    EXPECT_EQ(text(sub), "-3.000000000");
    EXPECT_TRUE(sub.set(host, 9.0f));
    EXPECT_EQ(five.value(host), 0.0f);
    FloatData huge(1e30f), zero(0.0f);
    mul.setData1(&huge);
    mul.setData2(&huge);
    EXPECT_EQ(text(mul), "inf");
    div.setData1(&zero);
    div.setData2(&zero);
    EXPECT_EQ(text(div), "nan");
    div.setData1(&huge);
    div.setData2(&three);  // cut to the 18-byte text
    EXPECT_EQ(text(div), "33333333834915540");
    add.setData2(nullptr);
    EXPECT_EQ(add.value(host), 0.0f);
    EXPECT_EQ(text(add), "0.000000000");
}

// Expressions over the host's own variables follow them without being told.
TEST_F(ComputedDataTest, ExpressionsFollowHostVariables) {
    int lives = 3;
    float bonus = 0.5f;
    bool paused = false;
    IntRefData livesData(&lives, "Lives");
    FloatRefData bonusData(&bonus, "Bonus");
    BoolRefData pausedData(&paused, "Paused");
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

    EXPECT_EQ(text(total), "3.500000000");
    EXPECT_EQ(text(blocked), "false");
    lives = 0;
    bonus = 0.25f;
    EXPECT_EQ(text(total), "0.250000000");
    EXPECT_EQ(text(blocked), "true");
    lives = 2;
    paused = true;
    EXPECT_EQ(blocked.value(host), 1.0f);

    // The toggle picks data 1 while it reads 0 and passes writes on.
    StringData menu("Menu"), game("Game");
    ToggleData title;
    EXPECT_EQ(title.value(host), 0.0f);
    EXPECT_EQ(title.character(host, 0), 0);
    EXPECT_FALSE(title.set(host, 7.0f));  // nothing to pick
    title.setData1(&menu);
    title.setData2(&game);
    EXPECT_EQ(text(title), "Game");  // no toggle data: data 2
    int toggle = 0;
    IntRefData toggleData(&toggle, "Toggle");
    title.setToggleData(&toggleData);
    EXPECT_EQ(text(title), "Menu");
    EXPECT_TRUE(title.set(host, 7.0f));
    EXPECT_EQ(text(menu), "7.0000000");
    toggle = 2;
    EXPECT_TRUE(title.set(host, "Play"));
    EXPECT_EQ(text(game), "Play");
    EXPECT_EQ(text(title), "Play");
    title.setData2(nullptr);
    EXPECT_FALSE(title.set(host, "x"));
    EXPECT_EQ(title.value(host), 0.0f);
    EXPECT_STREQ(ToggleData::absoluteClass()->description(),
                 "If 'Toggle data' is 0 'Data 1' will be returned, otherwise 'Data 2'");
}

TEST_F(ComputedDataTest, PointerAndFocusLockFromTheSystem) {
    PointerXData x("X");
    PointerYData y("Y");
    host.pointerMove(12.5f, -4.0f);
    EXPECT_EQ(x.value(host), 12.5f);
    EXPECT_EQ(text(x), "12.500000000");
    EXPECT_EQ(text(y), "-4.000000000");
    host.pointerMove(-0.5f, 7.0f);
    EXPECT_EQ(text(x), "-0.500000000");
    EXPECT_EQ(y.value(host), 7.0f);

    host.calls.clear();
    EXPECT_TRUE(x.set(host, 100.0f));
    EXPECT_TRUE(y.set(host, "-3.25"));
    EXPECT_EQ((Floats{host.pointerPosition().x, host.pointerPosition().y}),
              (Floats{100.0f, -3.25f}));
    EXPECT_EQ(x.value(host), 100.0f);
    EXPECT_EQ(text(y), "-3.250000000");
    EXPECT_TRUE(host.calls.empty());  // the host's pointer stays where it is
    EXPECT_STREQ(PointerXData::absoluteClass()->description(), "Returns x coordinate from pointer");
    EXPECT_STREQ(PointerYData::absoluteClass()->description(), "Returns y coordinate from pointer");

    FocusLockedData locked("Locked");
    EXPECT_EQ(locked.value(host), 0.0f);
    EXPECT_EQ(text(locked), "false");
    host.increaseLockCount();
    host.increaseLockCount();
    EXPECT_EQ(locked.value(host), 2.0f);
    EXPECT_EQ(text(locked), "true");
    host.decreaseLockCount();
    EXPECT_EQ(locked.value(host), 1.0f);
    host.decreaseLockCount();
    EXPECT_EQ(text(locked), "false");
}

TEST_F(ComputedDataTest, RuntimeRecordsAndFields) {
    const std::vector<std::pair<const char*, const char*>> classes = {
        {"LogicalData", "Data"},         {"EqualData", "LogicalData"},
        {"NotEqualData", "LogicalData"}, {"LessEqualData", "LogicalData"},
        {"LessData", "LogicalData"},     {"OrData", "LogicalData"},
        {"AndData", "LogicalData"},      {"ExclusiveOrData", "LogicalData"},
        {"NotData", "LogicalData"},      {"OperatorData", "Data"},
        {"AddData", "OperatorData"},     {"SubData", "OperatorData"},
        {"MulData", "OperatorData"},     {"DivData", "OperatorData"},
        {"ToggleData", "Data"},          {"PointerXData", "Data"},
        {"PointerYData", "Data"},        {"FocusLockedData", "Data"}};
    std::vector<std::string> labels;
    int described = 0;  // the toggle and the two pointer classes
    for (const auto& c : classes) {
        RuntimeClass* cls = RuntimeClass::findClass(c.first);
        ASSERT_NE(cls, nullptr) << c.first;
        EXPECT_EQ(std::string(cls->fullName()), std::string("tarn::kova::") + c.first);
        EXPECT_STREQ(cls->parentClass()->name(), c.second);
        Data* data = nullptr;
        ASSERT_TRUE(Object::create(host, data, cls)) << c.first;
        EXPECT_EQ(data->name(), nullptr);
        if (cls->description()) ++described;
        ReferenceRecorder recorder;
        EXPECT_TRUE(data->onStream(host, recorder));
        std::string listed = c.first;
        for (const std::string& label : recorder.labels)
            listed += " " + label;
        labels.push_back(listed);
        Object::clear(host, data);
    }
    EXPECT_EQ(described, 3);
    EXPECT_EQ(labels[0], "LogicalData Data 1:Data Data 2:Data");
    EXPECT_EQ(labels[7], "ExclusiveOrData Data 1:Data Data 2:Data");
    EXPECT_EQ(labels[8], "NotData Data:Data");
    EXPECT_EQ(labels[13], "DivData Data 1:Data Data 2:Data");
    EXPECT_EQ(labels[14], "ToggleData Toggle data:Data Data 1:Data Data 2:Data");
    EXPECT_EQ(labels[15] + labels[16] + labels[17], "PointerXDataPointerYDataFocusLockedData");

    // Unnamed operands go with their expression; named ones stay.
    AddData* add = make<AddData>();
    Data* operand = nullptr;
    make<FloatData>(operand);
    add->setData1(operand);
    add->setData2(host.registerData(new FloatData(2.0f, "Shared"), "Game"));
    Object::clear(host, add);
    EXPECT_EQ(FloatData::absoluteClass()->classInstanceCount(), 1);
    EXPECT_EQ(AddData::absoluteClass()->classInstanceCount(), 0);
}

namespace {
// One object record: length, name index, class index, fields.
Bytes record(int nameIndex, int classIndex, const Bytes& fields = {}) {
    Bytes out;
    appendU32(out, static_cast<unsigned int>(8 + fields.size()));
    appendU16(out, nameIndex);
    appendU16(out, classIndex);
    return out + fields;
}
Bytes u32(unsigned int value) {
    Bytes out;
    appendU32(out, value);
    return out;
}
}  // namespace

// 10 - lives * 2 over a registered host variable named in the file, and an
// expression that names itself as its own operand.
TEST_F(ComputedDataTest, LoadsExpressionsFromObjectFiles) {
    static int lives = 3;
    ASSERT_NE(host.registerData(new IntRefData(&lives, "Lives"), "Game"), nullptr);
    Bytes gauge = fileHeader({"tarn::kova::SubData", "tarn::kova::FloatData", "tarn::kova::MulData",
                              "Game/Lives", "tarn::kova::IntData"});
    appendU16(gauge, 1);
    gauge = gauge + record(0, 2, u32(0x41200000)) +  // 10.0
            record(0, 3, record(4, 0) + record(0, 5, u32(2)));
    host.files["Hud/Gauge"] = gauge;

    Bytes loop = fileHeader({"tarn::kova::AddData", "Loop", "tarn::kova::FloatData"});
    appendU16(loop, 1);
    loop = loop + record(2, 1) + record(0, 3, u32(0x40000000));  // itself + 2.0
    host.files["Loop"] = loop;

    Object* roots[2] = {};
    ASSERT_TRUE(Object::loadNewStream(host, roots[0], "Hud/Gauge"));
    ASSERT_TRUE(Object::loadNewStream(host, roots[1], "Loop"));
    EXPECT_EQ(host.log.text,
              "Kova: Loading: Hud/Gauge\r\n"
              "Kova: Loading: Loop\r\n");
    Data* loaded = static_cast<Data*>(roots[0]);
    ASSERT_EQ(loaded->actualClass(), SubData::absoluteClass());
    EXPECT_EQ(text(*loaded), "4.000000000");
    lives = 6;
    EXPECT_EQ(text(*loaded), "-2.000000000");
    for (RuntimeClass* cls : {FloatData::absoluteClass(), MulData::absoluteClass(),
                              IntData::absoluteClass(), AddData::absoluteClass()})
        EXPECT_EQ(cls->classInstanceCount(), cls == FloatData::absoluteClass() ? 2 : 1)
            << cls->name();

    AddData* cycle = static_cast<AddData*>(roots[1]);
    ASSERT_EQ(cycle->actualClass(), AddData::absoluteClass());
    EXPECT_EQ(cycle->data1(), cycle);
    EXPECT_EQ(cycle->value(host), 2.0f);  // the inner visit reads as missing
    EXPECT_EQ(text(*cycle), "2.000000000");
    NotData notItself;
    notItself.setData(&notItself);
    EXPECT_EQ(notItself.value(host), 1.0f);  // not of the inner 0
    ToggleData toggle;
    toggle.setToggleData(&toggle);
    toggle.setData1(&toggle);
    EXPECT_EQ(toggle.value(host), 0.0f);
    EXPECT_FALSE(toggle.set(host, 1.0f));
}

}  // namespace kova_test
