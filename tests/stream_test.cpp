// Field encodings of the base input and output streams, read and written
// through host streams that implement only the raw byte operations, and the
// memory stream and proxies that adapt them. One record of every field type
// serves all of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// A host whose resources are names interned to handles (1 "pic", 2 "Sans",
// 3 "beep", new names from 4 on); it notes every name it is asked for.
class ResourceHost : public TestHost {
public:
    const char* pictureName(int handle) override { return nameOf(handle); }
    const char* fontName(int handle) override { return nameOf(handle); }
    const char* soundName(int handle) override { return nameOf(handle); }
    int pictureHandle(const char* name) override { return handleOf(name); }
    int fontHandle(const char* name) override { return handleOf(name); }
    int soundHandle(const char* name) override { return handleOf(name); }
    const char* nameOf(int handle) {
        return handle >= 0 && handle < static_cast<int>(names.size()) ? names[handle].c_str()
                                                                      : nullptr;
    }
    int handleOf(const char* name) {
        asked.push_back(name);
        auto found = std::find(names.begin(), names.end(), name);
        if (found == names.end()) found = names.insert(names.end(), name);
        return static_cast<int>(found - names.begin());
    }
    std::vector<std::string> names{"none", "pic", "Sans", "beep"};
    std::vector<std::string> asked;
};

const unsigned short kWide[] = {0x41, 0x263A, 0};
const unsigned short kOldWide[] = {0xEEEE, 0};

// One field of every type, streamed under the labels "A", "B", ... in this
// order. The static text is read into a buffer of 10 with at most 7 bytes.
// A blank record holds values a read must visibly replace or keep.
struct Record {
    enum { Fields = 18 };
    explicit Record(bool blank = false) {
        if (!blank) return;
        ub = 0xEE;
        sb = us = ss = wc = 0x6E;
        ul = 0xEEEEEEEEu;
        sl = in = ix = picture = font = sound = 0x0EEEEEEE;
        fl = 9.0f;
        yes = no = true;
        Memory::stringDelete(st);
        st = Memory::stringDuplicate("old");
        Memory::wstringDelete(ws);
        ws = Memory::wstringDuplicate(kOldWide);
        std::fill(title, title + 9, '#');
    }
    ~Record() {
        Memory::stringDelete(st);
        Memory::wstringDelete(ws);
    }
    // Stops at the first field that fails, as every field list does, and
    // gives the number of fields handled.
    int stream(System& system, Stream& s) {
        int handled = 0;
        auto next = [&handled](bool ok) { return ok && ++handled; };
        IStream* reader = dynamic_cast<IStream*>(&s);
        OStream* writer = dynamic_cast<OStream*>(&s);
        next(s.streamUbyte(ub, "A")) && next(s.streamSbyte(sb, "B")) &&
            next(s.streamUshort(us, "C")) && next(s.streamSshort(ss, "D")) &&
            next(s.streamUlong(ul, "E")) && next(s.streamSlong(sl, "F")) &&
            next(s.streamFloat(fl, "G")) && next(s.streamBool(yes, "H")) &&
            next(s.streamBool(no, "I")) && next(s.streamInt(in, "J")) &&
            next(s.streamWchar(wc, "K")) && next(s.streamIndex(ix, nullptr, nullptr, "L")) &&
            next(s.streamString(st, "M")) && next(s.streamWstring(ws, "N")) &&
            next(s.streamPicture(system, picture, "O")) && next(s.streamFont(system, font, "P")) &&
            next(s.streamSound(system, sound, "Q")) &&
            next(reader   ? reader->streamStaticString(system, title, 7, "R")
                 : writer ? writer->streamStaticString(system, title, "R")
                          : s.stream());
        return handled;
    }
    std::vector<std::string> values() const {
        std::string wide, buffer(title, sizeof(title));
        for (const unsigned short* unit = ws; unit && *unit; ++unit)
            wide += std::to_string(*unit) + ",";
        std::replace(buffer.begin(), buffer.end(), '\0', '.');
        return {std::to_string(ub),   std::to_string(sb),    std::to_string(us),
                std::to_string(ss),   std::to_string(ul),    std::to_string(sl),
                std::to_string(fl),   std::to_string(yes),   std::to_string(no),
                std::to_string(in),   std::to_string(wc),    std::to_string(ix),
                st ? st : "null",     ws ? wide : "null",    std::to_string(picture),
                std::to_string(font), std::to_string(sound), buffer};
    }

    unsigned char ub = 0xAB;
    signed char sb = -2;
    unsigned short us = 0x1234, wc = 0xABCD;
    short ss = -2;
    unsigned int ul = 0x89ABCDEFu;
    int sl = -123456, in = 0x01020304, ix = 7, picture = 1, font = 2, sound = 3;
    float fl = 1.5f;
    bool yes = true, no = false;
    char* st = Memory::stringDuplicate("Hi");
    unsigned short* ws = Memory::wstringDuplicate(kWide);
    char title[10] = "Title\0###";
};

// A Record's bytes, little-endian: ubyte, sbyte, ushort, sshort, ulong,
// slong, float, two bools, int, wide character, index, text "Hi", wide text,
// picture "pic", font "Sans", sound "beep" and static text "Title".
const Bytes kRecordBytes = {0xAB, 0xFE, 0x34, 0x12, 0xFE, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 0xC0,
                            0x1D, 0xFE, 0xFF, 0x00, 0x00, 0xC0, 0x3F, 0x01, 0x00, 0x04, 0x03,
                            0x02, 0x01, 0xCD, 0xAB, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x02,
                            0x00, 0x00, 0x00, 'H',  'i',  0x02, 0x00, 0x00, 0x00, 0x41, 0x00,
                            0x3A, 0x26, 0x03, 'p',  'i',  'c',  0x04, 'S',  'a',  'n',  's',
                            0x04, 'b',  'e',  'e',  'p',  0x05, 'T',  'i',  't',  'l',  'e'};
const int kFieldSizes[Record::Fields] = {1, 1, 2, 2, 4, 4, 4, 1, 1, 4, 4, 4, 6, 8, 4, 5, 5, 6};

// The bytes of the fields before the numbered one.
Bytes fieldsBefore(int field) {
    int size = 0;
    for (int i = 0; i < field; ++i)
        size += kFieldSizes[i];
    return Bytes(kRecordBytes.begin(), kRecordBytes.begin() + size);
}

using StreamTest = HostTest<ResourceHost>;

TEST_F(StreamTest, EveryFieldTypeHasItsBytesAndReadsBack) {
    FileOStream out;
    ASSERT_EQ(Record().stream(host, out), Record::Fields);
    EXPECT_EQ(out.bytes(), kRecordBytes);
    MemoryIStream in(out.bytes());
    Record read(true);
    ASSERT_EQ(read.stream(host, in), Record::Fields);
    EXPECT_EQ(read.values(), Record().values());
    EXPECT_EQ(host.asked, (std::vector<std::string>{"pic", "Sans", "beep"}));
}

// What the field cut short holds after its failed read: numbers keep their
// value, a bool is false, a resource is handle 0, texts keep what came unless
// their length could not be trusted (a stream with nothing left reports 0,
// which reads as "cannot tell").
std::string cutField(int field, int inside, bool tells, const std::string& before) {
    bool refused = inside < 4 || (tells && inside > 4);
    if (field == 7 || field == 8 || (field >= 14 && field <= 16)) return "0";
    if (field == 12) return refused ? "null" : std::string("Hi").substr(0, inside - 4);
    if (field == 13) return refused ? "null" : std::string(inside >= 6 ? "65," : "");
    if (field != 17) return before;
    int got = std::max(inside - 1, 0);
    return std::string("Title").substr(0, got) + "." + before.substr(got + 1);
}

TEST_F(StreamTest, ATruncatedRecordFailsTheCutFieldAndLeavesTheRest) {
    const std::vector<std::string> full = Record().values(), blank = Record(true).values();
    for (int cut = 0; cut <= static_cast<int>(kRecordBytes.size()); ++cut) {
        int whole = 0, start = 0;  // fields wholly before the cut, and where the next starts
        while (whole < Record::Fields && start + kFieldSizes[whole] <= cut)
            start += kFieldSizes[whole++];
        std::vector<std::string> want = blank;
        std::copy(full.begin(), full.begin() + whole, want.begin());
        const Bytes head(kRecordBytes.begin(), kRecordBytes.begin() + cut);
        for (bool tells : {false, true}) {
            SCOPED_TRACE("cut " + std::to_string(cut) + (tells ? " telling available" : ""));
            MemoryIStream in(head, tells);
            host.asked.clear();
            Record r(true);
            ASSERT_EQ(r.stream(host, in), whole);
            if (whole < Record::Fields)
                want[whole] = cutField(whole, cut - start, tells, blank[whole]);
            EXPECT_EQ(r.values(), want);
            EXPECT_EQ(host.asked.size(), static_cast<std::size_t>(std::clamp(whole - 14, 0, 3)));
        }
        // A memory stream of that size takes the same fields; the one that
        // does not fit fails and fills the rest.
        MemoryOStream memory(cut);
        EXPECT_EQ(Record().stream(host, memory), whole);
        EXPECT_EQ(Bytes(memory.buffer(), memory.buffer() + memory.position()), head);
    }
    // Its positions can be revisited inside the buffer, not at its end.
    MemoryOStream memory(8);
    EXPECT_FALSE(memory.setPosition(8) || memory.setPosition(-1));
    EXPECT_TRUE(memory.setPosition(7) && memory.position() == 7);
}

// Single fields from bytes a writer produces only at the edges, or never,
// each after a good copy of the fields before it: the fields handled, the
// value the field then holds and the bytes left unread.
TEST_F(StreamTest, OddAndDamagedFieldsRead) {
    const struct {
        int field;
        Bytes bytes;
        bool tells;
        std::string outcome;
    } rows[] = {
        {12, {0, 0, 0, 0}, true, "13 null 0"},  // an empty text is null
        {13, {0, 0, 0, 0}, true, "14 null 0"},
        {7, {2}, true, "8 1 0"},                                  // a bool stored as 2
        {10, {0xFE, 0xFF, 0, 0}, true, "11 65534 0"},             // a character above 0x7FFF
        {14, {0}, true, "15 4 0"},                                // the empty name is asked for
        {17, Bytes{7} + Bytes(7, 'a'), true, "18 aaaaaaa.#. 0"},  // a static text at the maximum
        {17, Bytes{8} + Bytes(8, 'a'), true, "17 .########. 8"},  // and over it
        {12, {0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'}, true, "12 null 2"},  // negative lengths
        {13, {0xFE, 0xFF, 0xFF, 0xFF, 'a', 'b'}, true, "13 null 2"},
        {12, {5, 0, 0, 0, 'a', 'b', 'c', 'd'}, true, "12 null 4"},  // longer than the rest
        {12, {0xFF, 0xFF, 0xFF, 0x7F, 'a'}, false, "12 null 1"},    // giant, rest untold
        {13, {0, 0, 0, 0x40, 'a', 0}, false, "13 null 2"},
        {12, {100, 0, 0, 0, 'a', 'b', 'c'}, false, "12 abc 0"}};  // modest, rest untold
    for (const auto& row : rows) {
        MemoryIStream in(fieldsBefore(row.field) + row.bytes, row.tells);
        Record r(true);
        std::string handled = std::to_string(r.stream(host, in));
        EXPECT_EQ(handled + " " + r.values()[row.field] + " " + std::to_string(in.left()),
                  row.outcome);
    }
    MemoryIStream text({1, 'a'});
    EXPECT_FALSE(text.streamStaticString(host, nullptr, 5, ""));
}

// A host output stream that counts its flushes.
class FlushCountingOStream : public FileOStream {
public:
    void flush() override { ++flushes; }
    int flushes = 0;
};

// Proxies pass every field on, an output proxy to the target it owns. An
// input proxy places itself in front of its target, so a reader holding the
// target still reads through it, and hands the link back when it goes; one
// without a target refuses every field.
TEST_F(StreamTest, ProxiesPassEveryFieldOn) {
    FlushCountingOStream* target = new FlushCountingOStream;
    {
        ProxyOStream out(target);  // owns the target
        EXPECT_EQ(Record().stream(host, out), Record::Fields);
        EXPECT_EQ(target->bytes(), kRecordBytes);
        out.flush();
        EXPECT_EQ(target->flushes, 1);
    }
    auto* source = new MemoryIStream(kRecordBytes + kRecordBytes);
    ProxyIStream* middle = new ProxyIStream(source, true);
    {
        ProxyIStream outer(middle, false);
        EXPECT_EQ(source->firstStream(), &outer);
        Record viaSource(true);
        EXPECT_EQ(viaSource.stream(host, *source), Record::Fields);
        EXPECT_EQ(viaSource.values(), Record().values());
    }
    EXPECT_EQ(source->firstStream(), middle);
    EXPECT_TRUE(middle->setPosition(66) && source->position() == 66);
    delete middle;  // and the source it owns

    ProxyIStream emptyIn(nullptr, true);
    ProxyOStream emptyOut(nullptr);
    Record r;
    EXPECT_EQ(r.stream(host, emptyIn) + r.stream(host, emptyOut), 0);
    EXPECT_EQ(emptyIn.readBuffer(&r.in, 4), 0);
}

}  // namespace
}  // namespace kova_test
