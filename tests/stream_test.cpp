// Field encodings of the base input and output streams, read and written
// through host streams that implement only the raw byte operations.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// A host stream that notes which label reaches each primitive.
template <class Base>
class LabelNoting : public Base {
public:
    using Base::Base;
    bool streamUbyte(unsigned char& v, const char* label) override {
        calls.push_back(std::string("Ubyte:") + label);
        return Base::streamUbyte(v, label);
    }
    bool streamSlong(int& v, const char* label) override {
        calls.push_back(std::string("Slong:") + label);
        return Base::streamSlong(v, label);
    }
    bool streamInt(int& v, const char* label) override {
        calls.push_back(std::string("Int:") + label);
        return Base::streamInt(v, label);
    }
    std::vector<std::string> calls;
};
using LabelOStream = LabelNoting<FileOStream>;
using LabelIStream = LabelNoting<MemoryIStream>;

// A host that knows a few resources by handle and name and notes every name
// it is asked for.
class ResourceHost : public TestHost {
public:
    const char* pictureName(int handle) override { return find(pictures, handle); }
    const char* fontName(int handle) override { return find(fonts, handle); }
    const char* soundName(int handle) override { return find(sounds, handle); }
    int pictureHandle(const char* name) override { return lookup("picture", pictures, name); }
    int fontHandle(const char* name) override { return lookup("font", fonts, name); }
    int soundHandle(const char* name) override { return lookup("sound", sounds, name); }

    static const char* find(std::map<int, std::string>& table, int handle) {
        auto it = table.find(handle);
        return it == table.end() ? nullptr : it->second.c_str();
    }
    int lookup(const char* kind, std::map<int, std::string>& table, const char* name) {
        asked.push_back(std::string(kind) + ":" + name);
        for (auto& entry : table) {
            if (entry.second == name) return entry.first;
        }
        return 99;  // what this host gives for names it does not know
    }

    std::map<int, std::string> pictures{{5, "pic"}};
    std::map<int, std::string> fonts{{6, "Sans"}};
    std::map<int, std::string> sounds{{7, "beep"}};
    std::vector<std::string> asked;
};

class StreamTest : public HostTest<ResourceHost> {
protected:
    // The bytes one field operation writes into a fresh host stream.
    template <class Write>
    static Bytes written(Write write) {
        FileOStream out;
        EXPECT_TRUE(write(out));
        return out.bytes();
    }
};

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

TEST_F(StreamTest, EveryFieldTypeHasItsLittleEndianBytesAndReadsBack) {
    unsigned char ub = 0xAB;
    signed char sb = -2;
    unsigned short us = 0x1234;
    short ss = -2;
    unsigned int ul = 0x89ABCDEFu;
    int sl = -123456;  // 0xFFFE1DC0
    float fl = 1.5f;   // 0x3FC00000
    bool yes = true;
    bool no = false;
    int in = 0x01020304;
    unsigned short wc = 0xABCD;
    int ix = 7;
    char* st = Memory::stringDuplicate("Hi");
    unsigned short wideText[] = {0x41, 0x263A, 0};
    unsigned short* ws = wideText;
    int picture = 5, font = 6, sound = 7;

    std::vector<Bytes> expected = {
        {0xAB},
        {0xFE},
        {0x34, 0x12},
        {0xFE, 0xFF},
        {0xEF, 0xCD, 0xAB, 0x89},
        {0xC0, 0x1D, 0xFE, 0xFF},
        {0x00, 0x00, 0xC0, 0x3F},
        {0x01},
        {0x00},
        {0x04, 0x03, 0x02, 0x01},
        {0xCD, 0xAB, 0x00, 0x00},
        {0x07, 0x00, 0x00, 0x00},
        Bytes{0x02, 0x00, 0x00, 0x00} + text("Hi"),
        {0x02, 0x00, 0x00, 0x00, 0x41, 0x00, 0x3A, 0x26},
        Bytes{0x03} + text("pic"),
        Bytes{0x04} + text("Sans"),
        Bytes{0x04} + text("beep"),
        Bytes{0x05} + text("Title"),
    };
    std::vector<Bytes> got = {
        written([&](OStream& o) { return o.streamUbyte(ub, "A"); }),
        written([&](OStream& o) { return o.streamSbyte(sb, "B"); }),
        written([&](OStream& o) { return o.streamUshort(us, "C"); }),
        written([&](OStream& o) { return o.streamSshort(ss, "D"); }),
        written([&](OStream& o) { return o.streamUlong(ul, "E"); }),
        written([&](OStream& o) { return o.streamSlong(sl, "F"); }),
        written([&](OStream& o) { return o.streamFloat(fl, "G"); }),
        written([&](OStream& o) { return o.streamBool(yes, "H"); }),
        written([&](OStream& o) { return o.streamBool(no, "I"); }),
        written([&](OStream& o) { return o.streamInt(in, "J"); }),
        written([&](OStream& o) { return o.streamWchar(wc, "K"); }),
        written([&](OStream& o) { return o.streamIndex(ix, nullptr, nullptr, "L"); }),
        written([&](OStream& o) { return o.streamString(st, "M"); }),
        written([&](OStream& o) { return o.streamWstring(ws, "N"); }),
        written([&](OStream& o) { return o.streamPicture(host, picture, "O"); }),
        written([&](OStream& o) { return o.streamFont(host, font, "P"); }),
        written([&](OStream& o) { return o.streamSound(host, sound, "Q"); }),
        written([&](OStream& o) { return o.streamStaticString(host, "Title", "R"); }),
    };
    ASSERT_EQ(got.size(), expected.size());
    Bytes all;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i], expected[i]) << "field " << i;
        all = all + expected[i];
    }

    // Read the whole sequence back with the same calls.
    MemoryIStream source(all);
    unsigned char rub = 0;
    signed char rsb = 0;
    unsigned short rus = 0, rwc = 0;
    short rss = 0;
    unsigned int rul = 0;
    int rsl = 0, rin = 0, rix = 0, rpic = 0, rfont = 0, rsound = 0;
    float rfl = 0.0f;
    bool ryes = false, rno = true;
    char* rst = nullptr;
    unsigned short* rws = nullptr;
    char title[8];
    IStream& r = source;
    EXPECT_TRUE(r.streamUbyte(rub, "A") && r.streamSbyte(rsb, "B") && r.streamUshort(rus, "C") &&
                r.streamSshort(rss, "D") && r.streamUlong(rul, "E") && r.streamSlong(rsl, "F") &&
                r.streamFloat(rfl, "G") && r.streamBool(ryes, "H") && r.streamBool(rno, "I") &&
                r.streamInt(rin, "J") && r.streamWchar(rwc, "K") &&
                r.streamIndex(rix, nullptr, nullptr, "L") && r.streamString(rst, "M") &&
                r.streamWstring(rws, "N") && r.streamPicture(host, rpic, "O") &&
                r.streamFont(host, rfont, "P") && r.streamSound(host, rsound, "Q") &&
                r.streamStaticString(host, title, 7, "R"));
    EXPECT_EQ(source.left(), 0);
    EXPECT_EQ(rub, ub);
    EXPECT_EQ(rsb, sb);
    EXPECT_EQ(rus, us);
    EXPECT_EQ(rss, ss);
    EXPECT_EQ(rul, ul);
    EXPECT_EQ(rsl, sl);
    EXPECT_EQ(rfl, fl);
    EXPECT_TRUE(ryes);
    EXPECT_FALSE(rno);
    EXPECT_EQ(rin, in);
    EXPECT_EQ(rwc, wc);
    EXPECT_EQ(rix, ix);
    EXPECT_STREQ(rst, "Hi");
    ASSERT_NE(rws, nullptr);
    EXPECT_EQ(rws[0], 0x41);
    EXPECT_EQ(rws[1], 0x263A);
    EXPECT_EQ(rws[2], 0);
    EXPECT_EQ(rpic, 5);
    EXPECT_EQ(rfont, 6);
    EXPECT_EQ(rsound, 7);
    EXPECT_STREQ(title, "Title");
    EXPECT_EQ(host.asked, (std::vector<std::string>{"picture:pic", "font:Sans", "sound:beep"}));
    Memory::stringDelete(st);
    Memory::stringDelete(rst);
    Memory::wstringDelete(rws);
}

TEST_F(StreamTest, LabelsReachThePrimitivesAsTheFieldsPassThem) {
    char* st = Memory::stringDuplicate("ab");
    unsigned short wideText[] = {0x41, 0};
    unsigned short* ws = wideText;
    bool flag = true;
    unsigned short wc = 0x42;
    int ix = 3, picture = 5;
    LabelOStream out;
    EXPECT_TRUE(out.streamString(st, "Title") && out.streamWstring(ws, "Wide") &&
                out.streamBool(flag, "Flag") && out.streamWchar(wc, "Char") &&
                out.streamIndex(ix, nullptr, nullptr, "Index") &&
                out.streamPicture(host, picture, "Picture") &&
                out.streamStaticString(host, "xy", "Name"));
    std::vector<std::string> expected = {"Int:Int",     "Slong:Int",   "Int:Int",    "Slong:Int",
                                         "Ubyte:Flag",  "Int:Char",    "Slong:Char", "Int:Index",
                                         "Slong:Index", "Ubyte:Ubyte", "Ubyte:Ubyte"};
    EXPECT_EQ(out.calls, expected);

    // Reading passes the same labels, and every typed read comes back
    // through the stream's own primitives.
    LabelIStream in(out.bytes());
    char* rst = nullptr;
    unsigned short* rws = nullptr;
    bool rflag = false;
    unsigned short rwc = 0;
    int rix = 0, rpicture = 0;
    char name[4];
    EXPECT_TRUE(in.streamString(rst, "Title") && in.streamWstring(rws, "Wide") &&
                in.streamBool(rflag, "Flag") && in.streamWchar(rwc, "Char") &&
                in.streamIndex(rix, nullptr, nullptr, "Index") &&
                in.streamPicture(host, rpicture, "Picture") &&
                in.streamStaticString(host, name, 3, "Name"));
    EXPECT_EQ(in.calls, expected);
    EXPECT_STREQ(name, "xy");
    Memory::stringDelete(st);
    Memory::stringDelete(rst);
    Memory::wstringDelete(rws);
}

// One record of many field types. Field sizes in order: ubyte 1, sshort 2,
// ulong 4, float 4, int 4, wchar 4, bool 1, string "abc" 7, wide string of
// two units 8, picture "pic" 4, static string "xy" 3, index 4, slong 4.
const int kFieldSizes[] = {1, 2, 4, 4, 4, 4, 1, 7, 8, 4, 3, 4, 4};
const int kFieldCount = 13;
unsigned short kWideText[] = {0x0100, 0x0200, 0};

struct Record {
    unsigned char ub = 0x11;
    short ss = 0x2233;
    unsigned int ul = 0x44556677u;
    float fl = -2.25f;
    int in = -5;
    unsigned short wc = 0x9ABC;
    bool flag = true;
    char* st = Memory::stringDuplicate("abc");
    unsigned short* ws = Memory::wstringDuplicate(kWideText);
    int picture = 5;
    char name[4] = "xy";
    int ix = 12;
    int sl = 0x0BADF00D;

    ~Record() {
        Memory::stringDelete(st);
        Memory::wstringDelete(ws);
    }

    // Stops at the first field that fails, as every field list does, and
    // gives the number of fields handled.
    int stream(System& system, Stream& s, IStream* reader, OStream* writer) {
        int handled = 0;
        auto next = [&](bool ok) {
            if (ok) ++handled;
            return ok;
        };
        bool ok = next(s.streamUbyte(ub, "")) && next(s.streamSshort(ss, "")) &&
                  next(s.streamUlong(ul, "")) && next(s.streamFloat(fl, "")) &&
                  next(s.streamInt(in, "")) && next(s.streamWchar(wc, "")) &&
                  next(s.streamBool(flag, "")) && next(s.streamString(st, "")) &&
                  next(s.streamWstring(ws, "")) && next(s.streamPicture(system, picture, "")) &&
                  next(reader ? reader->streamStaticString(system, name, 3, "")
                              : writer->streamStaticString(system, name, "")) &&
                  next(s.streamIndex(ix, nullptr, nullptr, "")) && next(s.streamSlong(sl, ""));
        (void)ok;
        return handled;
    }
};

TEST_F(StreamTest, ATruncatedRecordFailsTheCutFieldAndKeepsItsInteger) {
    Record source;
    FileOStream out;
    ASSERT_EQ(source.stream(host, out, nullptr, &out), kFieldCount);
    int total = 0;
    for (int size : kFieldSizes)
        total += size;
    ASSERT_EQ(static_cast<int>(out.bytes().size()), total);

    for (int tells = 0; tells < 2; ++tells) {
        for (int cut = 0; cut <= total; ++cut) {
            SCOPED_TRACE("cut " + std::to_string(cut) + (tells ? " telling available" : ""));
            MemoryIStream in(Bytes(out.bytes().begin(), out.bytes().begin() + cut), tells != 0);
            host.asked.clear();
            Record r;
            r.ub = 0xEE;
            r.ss = 0x0EEE;
            r.ul = 0xEEEEEEEEu;
            r.fl = 9.0f;
            r.in = r.ix = r.sl = r.picture = 0x0EEEEEEE;
            r.wc = 0xEEEE;
            std::strcpy(r.name, "zzz");

            int whole = 0;  // fields lying wholly before the cut
            int start = 0;  // offset of the first field that does not
            while (whole < kFieldCount && start + kFieldSizes[whole] <= cut)
                start += kFieldSizes[whole++];
            int inside = cut - start;  // bytes of the cut field that are there
            ASSERT_EQ(r.stream(host, in, &in, nullptr), whole);

            switch (whole) {
                case 0:
                    EXPECT_EQ(r.ub, 0xEE);
                    break;
                case 1:
                    EXPECT_EQ(r.ss, 0x0EEE);
                    break;
                case 2:
                    EXPECT_EQ(r.ul, 0xEEEEEEEEu);
                    break;
                case 3:
                    EXPECT_EQ(r.fl, 9.0f);
                    break;
                case 4:
                    EXPECT_EQ(r.in, 0x0EEEEEEE);
                    break;
                case 5:
                    EXPECT_EQ(r.wc, 0xEEEE);
                    break;
                case 6:
                    EXPECT_FALSE(r.flag);
                    break;
                case 7:
                    // A length the stream cannot back is refused before any
                    // storage is made (a stream with nothing left reports 0,
                    // which reads as "cannot tell"); otherwise the storage
                    // keeps what came.
                    if (inside < 4 || (tells && inside > 4)) {
                        EXPECT_EQ(r.st, nullptr);
                    } else {
                        ASSERT_NE(r.st, nullptr);
                        EXPECT_EQ(std::string(r.st), std::string("abc").substr(0, inside - 4));
                    }
                    break;
                case 8:
                    if (inside < 4 || (tells && inside > 4)) {
                        EXPECT_EQ(r.ws, nullptr);
                    } else {
                        ASSERT_NE(r.ws, nullptr);
                        EXPECT_EQ(Memory::wstringLength(r.ws),
                                  static_cast<unsigned int>((inside - 4) / 2));
                        if (inside >= 6) {
                            EXPECT_EQ(r.ws[0], 0x0100);
                        }
                    }
                    break;
                case 9:
                    EXPECT_EQ(r.picture, 0);
                    EXPECT_TRUE(host.asked.empty());
                    break;
                case 10:
                    EXPECT_EQ(std::string(r.name),
                              std::string("xy").substr(0, inside > 1 ? inside - 1 : 0));
                    break;
                case 11:
                    EXPECT_EQ(r.ix, 0x0EEEEEEE);
                    break;
                case 12:
                    EXPECT_EQ(r.sl, 0x0EEEEEEE);
                    break;
                default:
                    EXPECT_EQ(r.ub, source.ub);
                    EXPECT_EQ(r.ss, source.ss);
                    EXPECT_EQ(r.ul, source.ul);
                    EXPECT_EQ(r.fl, source.fl);
                    EXPECT_EQ(r.wc, source.wc);
                    EXPECT_STREQ(r.st, "abc");
                    EXPECT_EQ(r.ws[1], 0x0200);
                    EXPECT_EQ(r.picture, 5);
                    EXPECT_STREQ(r.name, "xy");
                    EXPECT_EQ(r.ix, source.ix);
                    EXPECT_EQ(r.sl, source.sl);
                    break;
            }
        }
    }
}

TEST_F(StreamTest, EdgeCasesOfTheEncodings) {
    // Empty and null strings are both length 0 and both read back as null,
    // freeing what the field held.
    char* empty = Memory::stringDuplicate("");
    char* none = nullptr;
    Bytes zero = {0, 0, 0, 0};
    EXPECT_EQ(written([&](OStream& o) { return o.streamString(empty, ""); }), zero);
    EXPECT_EQ(written([&](OStream& o) { return o.streamString(none, ""); }), zero);
    unsigned short* noWide = nullptr;
    EXPECT_EQ(written([&](OStream& o) { return o.streamWstring(noWide, ""); }), zero);
    MemoryIStream zeros(zero + zero);
    EXPECT_TRUE(zeros.streamString(empty, ""));
    EXPECT_EQ(empty, nullptr);
    noWide = Memory::wstringDuplicate(kWideText);
    EXPECT_TRUE(zeros.streamWstring(noWide, ""));
    EXPECT_EQ(noWide, nullptr);

    // A bool stored as 2 is true; a wide character above 0x7FFF survives.
    MemoryIStream two({2});
    bool flag = false;
    EXPECT_TRUE(two.streamBool(flag, ""));
    EXPECT_TRUE(flag);
    unsigned short high = 0xFFFE;
    Bytes highBytes = written([&](OStream& o) { return o.streamWchar(high, ""); });
    EXPECT_EQ(highBytes, (Bytes{0xFE, 0xFF, 0x00, 0x00}));
    MemoryIStream highIn(highBytes);
    unsigned short readHigh = 0;
    EXPECT_TRUE(highIn.streamWchar(readHigh, ""));
    EXPECT_EQ(readHigh, 0xFFFE);

    // A resource the host has no name for is one 0 byte, and the host is
    // asked for the empty name when it is read back.
    int unknown = 1234;
    EXPECT_EQ(written([&](OStream& o) { return o.streamPicture(host, unknown, ""); }), Bytes{0});
    EXPECT_EQ(written([&](OStream& o) { return o.streamFont(host, unknown, ""); }), Bytes{0});
    EXPECT_EQ(written([&](OStream& o) { return o.streamSound(host, unknown, ""); }), Bytes{0});
    host.pictures[31] = "";
    MemoryIStream emptyName({0, 0});
    int handle = -1;
    EXPECT_TRUE(emptyName.streamPicture(host, handle, ""));
    EXPECT_EQ(handle, 31);
    EXPECT_TRUE(emptyName.streamSound(host, handle, ""));
    EXPECT_EQ(handle, 99);
    EXPECT_EQ(host.asked, (std::vector<std::string>{"picture:", "sound:"}));

    // Names of 256 bytes or more keep their length modulo 256 and only that
    // many bytes.
    host.fonts[8] = std::string(256, 'f');
    host.fonts[9] = std::string(257, 'g');
    int font = 8;
    EXPECT_EQ(written([&](OStream& o) { return o.streamFont(host, font, ""); }), Bytes{0});
    font = 9;
    EXPECT_EQ(written([&](OStream& o) { return o.streamFont(host, font, ""); }), (Bytes{1, 'g'}));
    std::string longText(300, 's');
    Bytes staticBytes =
        written([&](OStream& o) { return o.streamStaticString(host, longText.c_str(), ""); });
    EXPECT_EQ(staticBytes, Bytes{44} + Bytes(44, 's'));
    EXPECT_EQ(written([&](OStream& o) { return o.streamStaticString(host, nullptr, ""); }),
              Bytes{0});

    // A static string as long as the caller's maximum fits and is terminated
    // there; one byte longer fails, and nothing lands past the buffer.
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    MemoryIStream exact(Bytes{5} + text("abcde"));
    EXPECT_TRUE(exact.streamStaticString(host, buffer, 5, ""));
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_EQ(buffer[6], '#');
    std::memset(buffer, '#', sizeof(buffer));
    MemoryIStream longer(Bytes{6} + text("abcdef"));
    EXPECT_FALSE(longer.streamStaticString(host, buffer, 5, ""));
    EXPECT_EQ(std::string(buffer, 8), std::string("\0#######", 8));
    EXPECT_FALSE(longer.streamStaticString(host, nullptr, 5, ""));
}

TEST_F(StreamTest, DamagedLengthsAreRefusedWithoutHugeStorage) {
    // Negative lengths never come from a writer.
    char* st = Memory::stringDuplicate("old");
    MemoryIStream negative({0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'});
    EXPECT_FALSE(negative.streamString(st, ""));
    EXPECT_EQ(st, nullptr);
    unsigned short* ws = nullptr;
    MemoryIStream negativeWide({0xFE, 0xFF, 0xFF, 0xFF, 'a', 'b'});
    EXPECT_FALSE(negativeWide.streamWstring(ws, ""));
    EXPECT_EQ(ws, nullptr);

    // Longer than what the stream says it has left.
    MemoryIStream overlong({0x05, 0x00, 0x00, 0x00, 'a', 'b', 'c', 'd'});
    EXPECT_FALSE(overlong.streamString(st, ""));
    EXPECT_EQ(st, nullptr);
    EXPECT_EQ(overlong.left(), 4);  // the bytes were not consumed
    MemoryIStream overlongWide({0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c', 'd', 'e'});
    EXPECT_FALSE(overlongWide.streamWstring(ws, ""));
    EXPECT_EQ(ws, nullptr);

    // A stream that cannot tell what it has left still never gets a giant
    // allocation; a modest length just comes up short.
    MemoryIStream giant({0xFF, 0xFF, 0xFF, 0x7F, 'a'}, false);
    EXPECT_FALSE(giant.streamString(st, ""));
    EXPECT_EQ(st, nullptr);
    MemoryIStream giantWide({0x00, 0x00, 0x00, 0x40, 'a', 0}, false);
    EXPECT_FALSE(giantWide.streamWstring(ws, ""));
    EXPECT_EQ(ws, nullptr);
    MemoryIStream shortOne({100, 0, 0, 0, 'a', 'b', 'c'}, false);
    EXPECT_FALSE(shortOne.streamString(st, ""));
    EXPECT_STREQ(st, "abc");
    Memory::stringDelete(st);

    // The base input stream has no bytes at all.
    IStream nothing;
    int value = 17;
    EXPECT_FALSE(nothing.streamInt(value, ""));
    EXPECT_EQ(value, 17);
}

TEST_F(StreamTest, BaseAndVisitingStreamsAnswerEveryField) {
    for (int visiting = 0; visiting < 2; ++visiting) {
        ReferenceRecorder visitor;
        visitor.visiting = visiting != 0;
        Stream plain;
        Stream& s = visiting ? static_cast<Stream&>(visitor) : plain;
        bool expect = visiting != 0;
        unsigned char ub = 1;
        signed char sb = 2;
        unsigned short us = 3, wc = 4;
        short ss = 5;
        unsigned int ul = 6;
        int sl = 7, in = 8, ix = 9, handle = 10;
        float fl = 11.0f;
        bool flag = true;
        char* st = nullptr;
        unsigned short* ws = nullptr;
        EXPECT_EQ(s.streamUbyte(ub, ""), expect);
        EXPECT_EQ(s.streamSbyte(sb, ""), expect);
        EXPECT_EQ(s.streamUshort(us, ""), expect);
        EXPECT_EQ(s.streamSshort(ss, ""), expect);
        EXPECT_EQ(s.streamUlong(ul, ""), expect);
        EXPECT_EQ(s.streamSlong(sl, ""), expect);
        EXPECT_EQ(s.streamFloat(fl, ""), expect);
        EXPECT_EQ(s.streamBool(flag, ""), expect);
        EXPECT_EQ(s.streamInt(in, ""), expect);
        EXPECT_EQ(s.streamString(st, ""), expect);
        EXPECT_EQ(s.streamWstring(ws, ""), expect);
        EXPECT_EQ(s.streamWchar(wc, ""), expect);
        EXPECT_EQ(s.streamPicture(host, handle, ""), expect);
        EXPECT_EQ(s.streamFont(host, handle, ""), expect);
        EXPECT_EQ(s.streamSound(host, handle, ""), expect);
        EXPECT_EQ(s.streamIndex(ix, nullptr, nullptr, ""), expect);
        EXPECT_EQ(ub + sb + us + wc + ss + ul + sl + in + ix + handle, 55u);
        EXPECT_EQ(fl, 11.0f);
        EXPECT_TRUE(flag);
        EXPECT_EQ(st, nullptr);
        EXPECT_EQ(ws, nullptr);
    }

    // Typed references reach streamObject with their own class unless the
    // field names one; child and next nodes are plain node fields.
    ReferenceRecorder visitor;
    visitor.dropAll = true;
    Event* event = nullptr;
    Action* action = nullptr;
    Data* data = nullptr;
    Effect* effect = nullptr;
    Function* function = nullptr;
    Node* node = nullptr;
    Style* style = nullptr;
    Tree* tree = nullptr;
    EXPECT_TRUE(visitor.streamEvent(host, event, "E", nullptr) &&
                visitor.streamAction(host, action, "A", nullptr) &&
                visitor.streamData(host, data, "D", nullptr) &&
                visitor.streamEffect(host, effect, "F", nullptr) &&
                visitor.streamFunction(host, function, "U", nullptr) &&
                visitor.streamNode(host, node, "N", nullptr) &&
                visitor.streamStyle(host, style, "S", nullptr) &&
                visitor.streamTree(host, tree, "T", nullptr) &&
                visitor.streamChildNode(host, node, "C", nullptr) &&
                visitor.streamNextNode(host, node, "X", Style::absoluteClass()));
    EXPECT_EQ(visitor.labels,
              (std::vector<std::string>{"E:Event", "A:Action", "D:Data", "F:Effect", "U:Function",
                                        "N:Node", "S:Style", "T:Tree", "C:Node", "X:Style"}));

    // A list is visited entry by entry as plain object fields; entries whose
    // reference the stream drops leave the list.
    ObjectList list(nullptr);
    Object* first = nullptr;
    Object* second = nullptr;
    ASSERT_TRUE(Object::create(host, first, Object::absoluteClass()));
    ASSERT_TRUE(Object::create(host, second, Object::absoluteClass()));
    list.appendObject(host, first);
    list.appendObject(host, second);
    visitor.labels.clear();
    EXPECT_TRUE(visitor.streamList(host, list, "List"));
    EXPECT_EQ(visitor.labels, (std::vector<std::string>{"Object:null", "Object:null"}));
    EXPECT_EQ(list.objectCount(), 0);
    Object::clear(host, first);
    Object::clear(host, second);
}

}  // namespace
}  // namespace kova_test
