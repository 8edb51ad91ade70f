// List data: lists of variables read and written by index, elements picked
// by another variable, element counts, joined texts, lists that lead back to
// themselves, and lists saved to and loaded from object files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

using Ints = std::vector<int>;

const unsigned short* wide(const char16_t* text) {
    return reinterpret_cast<const unsigned short*>(text);
}

class ListDataTest : public HostTest<FileHost> {
protected:
    std::string text(Data& data) {
        char buffer[64];
        int length = data.stringCopy(host, buffer, sizeof(buffer));
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    std::string text(Data& data, int index) {
        char buffer[64];
        int length = data.stringCopy(host, index, buffer, sizeof(buffer));
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    // The characters at positions 0 to count - 1.
    Ints characters(Data& data, int count) {
        Ints out;
        for (int position = 0; position < count; ++position)
            out.push_back(data.character(host, position));
        return out;
    }
    // Fills a list with host-made data; the test keeps them.
    void fill(ObjectList& list, std::initializer_list<Data*> entries) {
        for (Data* data : entries)
            ASSERT_TRUE(list.appendObject(host, data));
    }
};

TEST_F(ListDataTest, DataListReadsAndWritesElementsByIndex) {
    DataListData list("Names");
    StringData first("Ann"), second("Bo"), third("Cy");
    fill(*list.list(), {&first, &second, &third});

    // The plain operations are those of the first element.
    EXPECT_EQ(text(list), "Ann");
    EXPECT_EQ(text(list, 1), "Bo");
    EXPECT_EQ(list.character(host, 2, 0), 'C');
    EXPECT_EQ(list.indexCount(host), 3);
    EXPECT_EQ(list.dataAt(2), &third);
    EXPECT_EQ(list.dataAt(3), nullptr);
    EXPECT_EQ(list.dataAt(-1), nullptr);
    EXPECT_EQ((std::vector<float>{list.value(host, 5), list.value(host, -1)}),
              (std::vector<float>{0, 0}));
    EXPECT_EQ(list.character(host, 3, 0), 0);

    // Writes reach the element named by the index.
    EXPECT_TRUE(list.set(host, 1, "Di"));
    EXPECT_TRUE(list.set(host, 2, 4.0f));
    EXPECT_TRUE(list.set(host, 0, wide(u"Ed")));
    EXPECT_EQ(text(first) + "|" + text(second) + "|" + text(third), "Ed|Di|4.0000000");
    EXPECT_EQ(list.value(host, 2), 4.0f);
    EXPECT_TRUE(list.set(host, "Flo"));
    EXPECT_TRUE(list.set(host, wide(u"Gus")));
    EXPECT_EQ(text(first), "Gus");
    EXPECT_TRUE(list.set(host, 2.5f));
    EXPECT_EQ(list.value(host), 2.5f);
    // Writes to a missing element report false.
    EXPECT_FALSE(list.set(host, 3, "x"));
    EXPECT_FALSE(list.set(host, 3, 1.0f));
    EXPECT_FALSE(list.set(host, -1, wide(u"x")));

    // The list takes data only.
    Style style;
    EXPECT_FALSE(list.list()->appendObject(host, &style));
    EXPECT_EQ(list.indexCount(host), 3);
}

TEST_F(ListDataTest, DataListPassesOnTheElementsResults) {
    // An element that refuses writes: a toggle with nothing to pick.
    DataListData list;
    ToggleData refusing;
    IntData number(7);
    fill(*list.list(), {&refusing, &number});
    EXPECT_FALSE(list.set(host, 1.0f));
    EXPECT_FALSE(list.set(host, "1"));
    EXPECT_TRUE(list.set(host, wide(u"1")));  // the toggle narrows wide text and reports true
    EXPECT_FALSE(list.set(host, 0, "1"));
    EXPECT_TRUE(list.set(host, 0, 1.0f));  // the indexed number write reports true
    EXPECT_TRUE(list.set(host, 1, "2.5"));
    EXPECT_EQ(list.value(host, 1), 3.0f);

    // Empty: nothing to write or read.
    DataListData empty;
    EXPECT_FALSE(empty.set(host, 1.0f));
    EXPECT_FALSE(empty.set(host, "x"));
    EXPECT_FALSE(empty.set(host, wide(u"x")));
    EXPECT_EQ(empty.value(host), 0.0f);
    EXPECT_EQ(empty.character(host, 0), 0);
    EXPECT_EQ(empty.indexCount(host), 0);
    EXPECT_EQ(empty.dataAt(0), nullptr);

    // An entry emptied by its list counts, and reads as missing.
    list.list()->setObjectFromHandle(list.list()->firstHandle(), nullptr);
    EXPECT_EQ(list.indexCount(host), 2);
    EXPECT_EQ(list.value(host), 0.0f);
    EXPECT_FALSE(list.set(host, 1.0f));
    EXPECT_EQ(list.value(host, 1), 3.0f);
}

TEST_F(ListDataTest, IndexDataPicksTheElementNamedByItsIndex) {
    DataListData list;
    StringData first("zero"), second("one"), third("two");
    fill(*list.list(), {&first, &second, &third});
    FloatData index(1.9f);
    IndexDataData picked("Picked");
    picked.setData(&list);
    picked.setIndex(&index);

    EXPECT_EQ(text(picked), "one");  // 1.9 is truncated
    index.set(host, 2.0f);
    EXPECT_EQ(text(picked), "two");
    EXPECT_TRUE(picked.set(host, "deux"));
    EXPECT_TRUE(picked.set(host, wide(u"zwei")));
    EXPECT_EQ(text(third), "zwei");
    index.set(host, -0.5f);  // truncated toward zero
    EXPECT_TRUE(picked.set(host, 3.0f));
    EXPECT_EQ(text(first), "3.0000000");
    EXPECT_EQ(picked.value(host), 3.0f);
    // The element's results come back, except for the narrow text.
    index.set(host, 5.0f);
    EXPECT_TRUE(picked.set(host, "gone"));
    EXPECT_FALSE(picked.set(host, 1.0f));
    EXPECT_FALSE(picked.set(host, wide(u"gone")));
    EXPECT_EQ(picked.value(host), 0.0f);
    EXPECT_EQ(picked.character(host, 0), 0);

    // Over an array of floats: the third float is written.
    float floats[4] = {1, 2, 3, 4};
    FloatArrayData array(floats, 4, "Array");
    picked.setData(&array);
    index.set(host, 2.0f);
    EXPECT_TRUE(picked.set(host, 9.5f));
    EXPECT_TRUE(picked.set(host, wide(u"9.5")));
    EXPECT_EQ((std::vector<float>(floats, floats + 4)), (std::vector<float>{1, 2, 9.5f, 4}));
    EXPECT_EQ(picked.value(host), 9.5f);

    // Without data or index nothing is written, and writes report true.
    IndexDataData lone;
    lone.setIndex(&index);
    EXPECT_TRUE(lone.set(host, 1.0f));
    EXPECT_TRUE(lone.set(host, wide(u"1")));
    EXPECT_TRUE(lone.set(host, "1"));
    EXPECT_EQ(lone.value(host), 0.0f);
    lone.setIndex(nullptr);
    lone.setData(&array);
    EXPECT_TRUE(lone.set(host, 1.0f));
    EXPECT_EQ(lone.value(host), 0.0f);
    EXPECT_EQ(lone.character(host, 0), 0);
    EXPECT_EQ(floats[0], 1.0f);
}

TEST_F(ListDataTest, IndexCountReadsTheNumberOfElements) {
    float floats[12] = {};
    FloatArrayData array(floats, 12, "Array");
    IndexCountData count("Count");
    count.setData(&array);
    EXPECT_EQ(count.value(host), 12.0f);
    EXPECT_EQ(characters(count, 4), (Ints{'1', '2', 0, 0}));
    EXPECT_EQ(count.character(host, -1), 0);
    // The count follows the data.
    array.setArray(floats, -305);
    EXPECT_EQ(text(count), "-305");
    DataListData list;
    count.setData(&list);
    EXPECT_EQ(text(count), "0");
    StringData one("x");
    list.list()->appendObject(host, &one);
    EXPECT_EQ(count.value(host), 1.0f);
    // Plain data has one element; no data reads as nothing.
    count.setData(&one);
    EXPECT_EQ(text(count), "1");
    count.setData(nullptr);
    EXPECT_EQ(count.value(host), 0.0f);
    EXPECT_EQ(count.character(host, 0), 0);
    // Writes are ignored.
    EXPECT_TRUE(count.set(host, 5.0f));
}

TEST_F(ListDataTest, ConcatenateJoinsTheTextsOfItsEntries) {
    ConcatenateListData joined;
    StringData ab("ab"), empty(""), cd("cd");
    fill(*joined.list(), {&ab, &empty, &cd});
    EXPECT_EQ(characters(joined, 6), (Ints{'a', 'b', 'c', 'd', 0, 0}));
    EXPECT_EQ(joined.character(host, -1), 0);
    EXPECT_EQ(joined.name(), nullptr);

    // Any data reads as text; a number shows its text form.
    IntData score(-42);
    joined.list()->appendObject(host, &score);
    EXPECT_EQ(text(joined), "abcd-42");
    score.set(host, 7.0f);
    EXPECT_EQ(text(joined), "abcd7");
    // The joined text reads as 0 and ignores writes.
    EXPECT_EQ(joined.value(host), 0.0f);
    EXPECT_TRUE(joined.set(host, "x"));
    EXPECT_EQ(text(ab), "ab");

    // An entry holding no data ends the text.
    int second = joined.list()->nextHandle(joined.list()->firstHandle());
    joined.list()->setObjectFromHandle(second, nullptr);
    EXPECT_EQ(characters(joined, 3), (Ints{'a', 'b', 0}));
    ConcatenateListData nothing;
    EXPECT_EQ(text(nothing), "");
}

// Lists that reach themselves through their entries read as missing at the
// second visit; other elements of the same list can still be read.
TEST_F(ListDataTest, ListsThatLeadBackToThemselvesEnd) {
    DataListData list;
    IntData seven(7), zero(0), one(1);
    IndexDataData sibling;
    sibling.setData(&list);
    sibling.setIndex(&zero);
    fill(*list.list(), {&seven, &sibling, &list});
    EXPECT_EQ(list.value(host, 1), 7.0f);        // element 1 reads element 0
    EXPECT_EQ(list.value(host, 2), 7.0f);        // element 2 is the list, read plainly
    EXPECT_EQ(list.character(host, 2, 0), '7');  // as its element 0
    sibling.setIndex(&one);                      // element 1 reads itself
    EXPECT_EQ(list.value(host, 1), 0.0f);
    EXPECT_FALSE(list.set(host, 1, wide(u"5")));  // the inner write finds element 1 busy
    EXPECT_EQ(seven.value(host), 7.0f);
    // Element 0 is the list itself: reading it plainly is element 0 again.
    list.list()->setObjectFromHandle(list.list()->firstHandle(), &list);
    EXPECT_EQ(list.value(host), 0.0f);
    EXPECT_EQ(list.character(host, 0), 0);
    EXPECT_FALSE(list.set(host, 0, "x"));
    sibling.setIndex(&zero);
    EXPECT_EQ(list.character(host, 1, 0), 0);  // 1 -> 0 -> 0 again

    ConcatenateListData joined;
    StringData ab("ab");
    fill(*joined.list(), {&joined, &ab});
    EXPECT_EQ(text(joined), "ab");

    IndexDataData looping;
    looping.setData(&list);
    looping.setIndex(&looping);
    EXPECT_EQ(looping.value(host), 0.0f);
    EXPECT_TRUE(looping.set(host, 1.0f));
}

// Lists the labels of the fields and lists a class streams.
class LabelRecorder : public Stream {
public:
    bool stream() override { return true; }
    bool streamList(System&, List& list, const char* label) override {
        labels.push_back(std::string(label) + "[" + std::to_string(list.objectCount()) + "]");
        return true;
    }
    bool streamData(System&, Data*&, const char* label, RuntimeClass*) override {
        labels.push_back(label);
        return true;
    }
    std::vector<std::string> labels;
};

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
Bytes textField(const std::string& text) {
    Bytes out = u32(static_cast<unsigned int>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

TEST_F(ListDataTest, ClassesListTheirFields) {
    const std::vector<std::string> names = {"DataListData", "IndexDataData", "IndexCountData",
                                            "ConcatenateListData"};
    std::vector<std::string> listed;
    for (const std::string& name : names) {
        RuntimeClass* cls = RuntimeClass::findClass(name.c_str());
        ASSERT_NE(cls, nullptr) << name;
        EXPECT_EQ(std::string(cls->fullName()), "tarn::kova::" + name);
        EXPECT_EQ(cls->parentClass(), Data::absoluteClass());
        Data* data = nullptr;
        ASSERT_TRUE(Object::create(host, data, cls));
        EXPECT_EQ(data->name(), nullptr);
        LabelRecorder recorder;
        EXPECT_TRUE(data->onStream(host, recorder));
        std::string line = name;
        for (const std::string& label : recorder.labels)
            line += " " + label;
        listed.push_back(line);
        Object::clear(host, data);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"DataListData Data list[0]",
                                                "IndexDataData Data Index", "IndexCountData Data",
                                                "ConcatenateListData Data list[0]"}));

    // Unnamed entries go with their list; named ones stay with the directory.
    DataListData* list = make<DataListData>();
    Data* own = nullptr;
    make<StringData>(own);
    list->list()->appendObject(host, own);
    list->list()->appendObject(host, host.registerData(new IntData(3, "Shared"), "Game"));
    Object::clear(host, list);
    EXPECT_EQ(StringData::absoluteClass()->classInstanceCount(), 0);
    EXPECT_EQ(IntData::absoluteClass()->classInstanceCount(), 1);
    EXPECT_EQ(DataListData::absoluteClass()->classInstanceCount(), 0);
}

// A menu's list of labels with a registered score among them, joined into one
// text and counted; the file is written by the engine and read back.
TEST_F(ListDataTest, ListsAreSavedToAndLoadedFromObjectFiles) {
    static int score = 12;
    ASSERT_NE(host.registerData(new IntRefData(&score, "Score"), "Game"), nullptr);
    // The registered score is written with its name and the class it
    // reports, Data, which has no fields; a load shares the registered one.
    Bytes expected =
        fileHeader({"tarn::kova::ConcatenateListData", "tarn::kova::StringData", "Game/Score",
                    "tarn::kova::Data", "tarn::kova::IndexCountData", "tarn::kova::DataListData"});
    appendU16(expected, 1);
    Bytes labels =
        record(0, 6, record(0, 2, textField("x")) + record(0, 2, textField("yz")) + record(0, 0));
    expected = expected + record(0, 2, textField("Score: ")) + record(3, 4) +
               record(0, 2, textField(" of ")) + record(0, 5, labels) + record(0, 0);

    // Built in code: the joined text, with a count of a list of two labels.
    ConcatenateListData joined;
    Object* parts[4] = {};
    make<StringData>(parts[0])->set(host, "Score: ");
    parts[1] = host.findNamedObject("Game/Score");
    make<StringData>(parts[2])->set(host, " of ");
    IndexCountData* count = make<IndexCountData>(parts[3]);
    Data* counted = nullptr;
    DataListData* inner = make<DataListData>(counted);
    count->setData(inner);
    Object* label = nullptr;
    make<StringData>(label)->set(host, "x");
    inner->list()->appendObject(host, label);
    label = nullptr;
    make<StringData>(label)->set(host, "yz");
    inner->list()->appendObject(host, label);
    for (Object* part : parts)
        ASSERT_TRUE(joined.list()->appendObject(host, part));
    EXPECT_EQ(text(joined), "Score: 12 of 2");

    OStream* target = host.createOStream("Hud/Score");
    ASSERT_NE(target, nullptr);
    {
        ClassOStream out(target);
        ASSERT_TRUE(out.streamStaticString(host, joined.actualClass()->fullName(), "Class name"));
        ASSERT_TRUE(joined.onSave(host, out));
        ASSERT_TRUE(out.streamFinished(host));
    }
    EXPECT_EQ(host.files["Hud/Score"], expected);
    EXPECT_TRUE(joined.list()->clear(host));  // the unnamed parts go
    EXPECT_EQ(StringData::absoluteClass()->classInstanceCount(), 0);

    Object* loaded = nullptr;
    ASSERT_TRUE(Object::loadNewStream(host, loaded, "Hud/Score"));
    ASSERT_EQ(loaded->actualClass(), ConcatenateListData::absoluteClass());
    ConcatenateListData* read = static_cast<ConcatenateListData*>(loaded);
    EXPECT_EQ(text(*read), "Score: 12 of 2");
    score = 3;
    EXPECT_EQ(text(*read), "Score: 3 of 2");
    EXPECT_EQ(read->list()->focusHandle(), read->list()->firstHandle());
    EXPECT_EQ(read->list()->objectFromIndex(1), host.findNamedObject("Game/Score"));
    Data* readCount = static_cast<Data*>(read->list()->objectFromIndex(3));
    ASSERT_EQ(readCount->actualClass(), IndexCountData::absoluteClass());
    Data* readInner = static_cast<IndexCountData*>(readCount)->data();
    ASSERT_EQ(readInner->actualClass(), DataListData::absoluteClass());
    EXPECT_EQ(text(*readInner, 1), "yz");
    EXPECT_EQ(host.log.text, "Kova: Loading: Hud/Score\r\n");
}

// A list file that names itself among its entries.
TEST_F(ListDataTest, ListFilesThatNameThemselvesLoadAndRead) {
    Bytes loop = fileHeader({"tarn::kova::DataListData", "Loop", "tarn::kova::FloatData"});
    appendU16(loop, 1);
    loop = loop + record(0, 3, u32(0x40000000)) + record(2, 1) + record(0, 0);  // 2.0, itself
    host.files["Loop"] = loop;
    Object* root = nullptr;
    ASSERT_TRUE(Object::loadNewStream(host, root, "Loop"));
    DataListData* list = static_cast<DataListData*>(root);
    ASSERT_EQ(list->indexCount(host), 2);
    EXPECT_EQ(list->dataAt(1), list);
    EXPECT_EQ(list->value(host, 0), 2.0f);
    EXPECT_EQ(list->value(host, 1), 2.0f);  // its element 0
    EXPECT_EQ(text(*list, 1), "2.000000000");
}

}  // namespace
}  // namespace kova_test
