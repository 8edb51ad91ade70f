// Reads fields of every type from arbitrary bytes and writes each value read
// back. The first byte sets up the streams:
//   bit 0: reads go through a ProxyIStream in front of the host stream
//   bit 1: that proxy owns the host stream
//   bit 2: writes go through a ProxyOStream
// The rest is a program read through the stream itself: an operation byte
// (low 5 bits: the field type; bit 7: read through the host stream instead of
// the front one), then the field's bytes.
//
// A value that was read must survive its own round trip: written, read back
// and written again it gives the same value and the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"

namespace kova_fuzz {
namespace {

using kova_test::FileOStream;
using kova_test::MemoryIStream;

[[noreturn]] void fail(const char* field, const char* what) {
    std::fprintf(stderr, "%s: %s\n", field, what);
    std::abort();
}

bool sameText(const char* a, const char* b) {
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

bool sameWideText(const unsigned short* a, const unsigned short* b) {
    static const unsigned short empty[1] = {0};
    a = a ? a : empty;
    b = b ? b : empty;
    for (; *a && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

// One field type: how to read, write, compare and release a value.
template <class T, bool (Stream::*Op)(T&, const char*)>
struct Plain {
    static constexpr bool kGraph = false;
    T value{};
    bool read(System&, Stream& s) { return (s.*Op)(value, "Field"); }
    bool write(System&, Stream& s) { return (s.*Op)(value, "Field"); }
    bool same(const Plain& o) const { return std::memcmp(&value, &o.value, sizeof(T)) == 0; }
    void release(System&) {}
};

struct BoolField {
    static constexpr bool kGraph = false;
    bool value = true;
    bool read(System&, Stream& s) { return s.streamBool(value, "Bool"); }
    bool write(System&, Stream& s) { return s.streamBool(value, "Bool"); }
    bool same(const BoolField& o) const { return value == o.value; }
    void release(System&) {}
};

struct StringField {
    static constexpr bool kGraph = false;
    char* value = nullptr;
    bool read(System&, Stream& s) { return s.streamString(value, "String"); }
    bool write(System&, Stream& s) { return s.streamString(value, "String"); }
    bool same(const StringField& o) const { return sameText(value, o.value); }
    void release(System&) { Memory::stringDelete(value); }
};

struct WideField {
    static constexpr bool kGraph = false;
    unsigned short* value = nullptr;
    bool read(System&, Stream& s) { return s.streamWstring(value, "Wstring"); }
    bool write(System&, Stream& s) { return s.streamWstring(value, "Wstring"); }
    bool same(const WideField& o) const { return sameWideText(value, o.value); }
    void release(System&) { Memory::wstringDelete(value); }
};

template <bool (Stream::*Op)(System&, int&, const char*)>
struct Resource {
    static constexpr bool kGraph = false;
    int handle = -1;
    bool read(System& sys, Stream& s) { return (s.*Op)(sys, handle, "Resource"); }
    bool write(System& sys, Stream& s) { return (s.*Op)(sys, handle, "Resource"); }
    bool same(const Resource& o) const { return handle == o.handle; }
    void release(System&) {}
};

struct IndexField {
    static constexpr bool kGraph = false;
    int value = 0;
    bool read(System&, Stream& s) { return s.streamIndex(value, nullptr, nullptr, "Index"); }
    bool write(System&, Stream& s) { return s.streamIndex(value, nullptr, nullptr, "Index"); }
    bool same(const IndexField& o) const { return value == o.value; }
    void release(System&) {}
};

// The caller's maximum travels with the field, so the copy reads with it too.
struct StaticField {
    static constexpr bool kGraph = false;
    int maxLength = 0;
    char buffer[257] = {};
    bool read(System& sys, Stream& s) {
        return static_cast<IStream&>(s).streamStaticString(sys, buffer, maxLength, "Static");
    }
    bool write(System& sys, Stream& s) {
        return static_cast<OStream&>(s).streamStaticString(sys, buffer, "Static");
    }
    bool same(const StaticField& o) const { return sameText(buffer, o.buffer); }
    void release(System&) {}
};

struct ListField {
    static constexpr bool kGraph = true;
    ObjectList list{Node::absoluteClass()};
    bool read(System& sys, Stream& s) { return s.streamList(sys, list, "List"); }
    bool write(System& sys, Stream& s) { return s.streamList(sys, list, "List"); }
    bool same(const ListField&) const { return true; }  // the bytes are compared
    void release(System& sys) { list.clear(sys); }
};

// Object references of every typed operation; the bytes are compared.
template <class T, bool (Stream::*Op)(System&, T*&, const char*, RuntimeClass*)>
struct Reference {
    static constexpr bool kGraph = true;
    T* object = nullptr;
    bool read(System& sys, Stream& s) { return (s.*Op)(sys, object, "Reference", nullptr); }
    bool write(System& sys, Stream& s) { return (s.*Op)(sys, object, "Reference", nullptr); }
    bool same(const Reference&) const { return true; }
    void release(System& sys) { Object::clear(sys, object); }
};

struct ObjectField {
    static constexpr bool kGraph = true;
    Object* object = nullptr;
    bool read(System& sys, Stream& s) { return s.streamObject(sys, object, "Object", nullptr); }
    bool write(System& sys, Stream& s) { return s.streamObject(sys, object, "Object", nullptr); }
    bool same(const ObjectField&) const { return true; }
    void release(System& sys) { Object::clear(sys, object); }
};

class Session {
public:
    Session(FuzzHost& host, unsigned char setup) : host_(host), setup_(setup) {}

    template <class F>
    void roundTrip(IStream& in, const char* name, F& first) {
        if (!first.read(host_, in)) {
            first.release(host_);
            return;
        }
        Bytes written;
        if (!writeField(first, written)) {
            // Named objects that refer to themselves are saved in full until
            // the nesting limit stops the write; every other value must write.
            if (!F::kGraph) fail(name, "a value read cannot be written");
            first.release(host_);
            return;
        }
        F second;
        copySetup(first, second);
        {
            IStream* copy = new MemoryIStream(written);
            if (!second.read(host_, *copy)) fail(name, "written bytes do not read back");
            if (copy->available() != 0) fail(name, "written bytes are not read whole");
            delete copy;
        }
        if (!first.same(second)) fail(name, "the value changed on its way through");
        Bytes again;
        if (!writeField(second, again) || again != written) fail(name, "bytes changed");
        first.release(host_);
        second.release(host_);
    }

private:
    template <class F>
    bool writeField(F& field, Bytes& bytes) {
        OStream* file = new FileOStream(bytes);
        if (!(setup_ & 4)) {
            bool ok = field.write(host_, *file);
            delete file;
            return ok;
        }
        ProxyOStream proxy(file);  // the proxy owns the file stream
        return field.write(host_, proxy);
    }
    template <class F>
    static void copySetup(const F&, F&) {}
    static void copySetup(const StaticField& from, StaticField& to) {
        to.maxLength = from.maxLength;
    }

    FuzzHost& host_;
    unsigned char setup_;
};

template <class F>
void field(Session& session, IStream& in, const char* name) {
    F value;
    session.roundTrip(in, name, value);
}

void staticField(Session& session, IStream& in) {
    StaticField value;
    unsigned char max = 0;
    if (!in.streamUbyte(max, "Max")) return;
    value.maxLength = max;
    session.roundTrip(in, "static string", value);
}

// Raw operations in between fields, which may move the stream anywhere.
void rawOperation(IStream& in, unsigned char op) {
    signed char amount = 0;
    if (!in.streamSbyte(amount, "Amount")) return;
    unsigned char scratch[128];
    switch (op) {
        case 29:
            in.skip(amount);
            break;
        case 30:
            in.setPosition(in.position() + amount);
            break;
        default:
            in.readBuffer(scratch, amount < 0 ? -amount : amount);
            in.available();
            break;
    }
}

void runOperation(Session& s, IStream& in, unsigned char op) {
    switch (op) {
        case 0:
            return field<Plain<unsigned char, &Stream::streamUbyte>>(s, in, "ubyte");
        case 1:
            return field<Plain<signed char, &Stream::streamSbyte>>(s, in, "sbyte");
        case 2:
            return field<Plain<unsigned short, &Stream::streamUshort>>(s, in, "ushort");
        case 3:
            return field<Plain<short, &Stream::streamSshort>>(s, in, "sshort");
        case 4:
            return field<Plain<unsigned int, &Stream::streamUlong>>(s, in, "ulong");
        case 5:
            return field<Plain<int, &Stream::streamSlong>>(s, in, "slong");
        case 6:
            return field<Plain<float, &Stream::streamFloat>>(s, in, "float");
        case 7:
            return field<BoolField>(s, in, "bool");
        case 8:
            return field<Plain<int, &Stream::streamInt>>(s, in, "int");
        case 9:
            return field<StringField>(s, in, "string");
        case 10:
            return field<WideField>(s, in, "wstring");
        case 11:
            return field<Plain<unsigned short, &Stream::streamWchar>>(s, in, "wchar");
        case 12:
            return field<Resource<&Stream::streamPicture>>(s, in, "picture");
        case 13:
            return field<Resource<&Stream::streamFont>>(s, in, "font");
        case 14:
            return field<Resource<&Stream::streamSound>>(s, in, "sound");
        case 15:
            return field<IndexField>(s, in, "index");
        case 16:
            return staticField(s, in);
        case 17:
            return field<ListField>(s, in, "list");
        case 18:
            return field<ObjectField>(s, in, "object");
        case 19:
            return field<Reference<Event, &Stream::streamEvent>>(s, in, "event");
        case 20:
            return field<Reference<Action, &Stream::streamAction>>(s, in, "action");
        case 21:
            return field<Reference<Data, &Stream::streamData>>(s, in, "data");
        case 22:
            return field<Reference<Effect, &Stream::streamEffect>>(s, in, "effect");
        case 23:
            return field<Reference<Function, &Stream::streamFunction>>(s, in, "function");
        case 24:
            return field<Reference<Node, &Stream::streamNode>>(s, in, "node");
        case 25:
            return field<Reference<Style, &Stream::streamStyle>>(s, in, "style");
        case 26:
            return field<Reference<Tree, &Stream::streamTree>>(s, in, "tree");
        case 27:
            return field<Reference<Node, &Stream::streamChildNode>>(s, in, "child node");
        case 28:
            return field<Reference<Node, &Stream::streamNextNode>>(s, in, "next node");
        default:
            return rawOperation(in, op);
    }
}

}  // namespace
}  // namespace kova_fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kova_fuzz;
    if (size < 1) return 0;
    unsigned char setup = data[0];
    FuzzHost host;
    host.init();
    {
        Session session(host, setup);
        IStream* source = new MemoryIStream(Bytes(data + 1, data + size));
        ProxyIStream* proxy = (setup & 1) ? new ProxyIStream(source, (setup & 2) != 0) : nullptr;
        IStream& front = proxy ? static_cast<IStream&>(*proxy) : *source;
        // Moving backwards may read the same bytes again; this bounds the work.
        for (std::size_t step = 0; step < 2 * size + 16; ++step) {
            unsigned char op = 0;
            if (!front.streamUbyte(op, "Operation")) break;
            IStream& in = (op & 0x80) ? *source : front;
            runOperation(session, in, op & 0x1F);
        }
        // A proxy that does not own its target dies first, giving the link back.
        bool ownedByProxy = proxy && (setup & 2);
        delete proxy;
        if (!ownedByProxy) delete source;
    }
    host.exit();
    requireNothingAlive("stream fields");
    return 0;
}
