// Stream adapters: the memory output stream, the proxies and their links,
// and the clearing and re-registering passes over object graphs.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// A host stream that notes its own end, to show who owns it.
template <class Base>
class EndNoting : public Base {
public:
    template <class... Args>
    explicit EndNoting(bool& ended, Args&&... args)
        : Base(std::forward<Args>(args)...), ended_(ended) {}
    ~EndNoting() override { ended_ = true; }

private:
    bool& ended_;
};

// A host output stream that counts its flushes and the records handed to it.
class HostOStream : public EndNoting<FileOStream> {
public:
    using EndNoting::EndNoting;
    void flush() override { ++flushes; }
    bool streamObject(System& system, Object*& reference, const char* label,
                      RuntimeClass* requiredClass) override {
        ++objectCalls;
        return OStream::streamObject(system, reference, label, requiredClass);
    }
    int objectCalls = 0;
    int flushes = 0;
};

// A wrapper that counts every primitive read and may change the bytes, as
// a cache or decoding proxy does.
class WatchingProxy : public ProxyIStream {
public:
    WatchingProxy(IStream* target, bool owns) : ProxyIStream(target, owns) {}
    int readBuffer(void* buffer, int size) override {
        int n = ProxyIStream::readBuffer(buffer, size);
        bytesSeen += n;
        unsigned char* bytes = static_cast<unsigned char*>(buffer);
        for (int i = 0; i < n; ++i)
            bytes[i] ^= flip;
        return n;
    }
    bool streamSlong(int& value, const char* label) override {
        labels.push_back(label);
        return ProxyIStream::streamSlong(value, label);
    }
    int bytesSeen = 0;
    unsigned char flip = 0;
    std::vector<std::string> labels;
};

// A list that notes which stream its persistence and clearing are given.
class ProbeList : public List {
public:
    bool clear(System&) override {
        ++clears;
        return true;
    }
    bool onLoad(System&, IStream& in) override {
        loadedFrom = &in;
        return true;
    }
    bool onSave(System&, OStream& out) override {
        savedTo = &out;
        return true;
    }
    int clears = 0;
    IStream* loadedFrom = nullptr;
    OStream* savedTo = nullptr;
};

TEST(MemoryOStreamTest, WritesAreCutAtTheEnd) {
    MemoryOStream out(8);
    EXPECT_EQ(out.actualClass(), OStream::absoluteClass());
    unsigned int first = 0x04030201u;
    int second = -1;
    EXPECT_TRUE(out.streamUlong(first, ""));
    EXPECT_TRUE(out.streamSlong(second, ""));  // exactly the space left
    EXPECT_EQ(out.position(), 8);
    unsigned char more = 9;
    EXPECT_FALSE(out.streamUbyte(more, ""));
    EXPECT_EQ(out.position(), 8);
    EXPECT_EQ(Bytes(out.buffer(), out.buffer() + 8), (Bytes{1, 2, 3, 4, 0xFF, 0xFF, 0xFF, 0xFF}));

    // Positions inside the buffer can be revisited, the size itself cannot.
    EXPECT_FALSE(out.setPosition(8));
    EXPECT_FALSE(out.setPosition(-1));
    EXPECT_TRUE(out.setPosition(7));
    EXPECT_TRUE(out.setPosition(2));
    unsigned short patch = 0xBBAA;
    EXPECT_TRUE(out.streamUshort(patch, ""));
    EXPECT_EQ(out.position(), 4);
    EXPECT_EQ(out.buffer()[2], 0xAA);
    EXPECT_EQ(out.buffer()[3], 0xBB);

    // One byte more than the room left fails the field and fills the rest.
    MemoryOStream small(7);
    int value = 0x11111111;
    EXPECT_TRUE(small.streamInt(value, ""));
    EXPECT_FALSE(small.streamInt(value, ""));
    EXPECT_EQ(small.position(), 7);
    EXPECT_EQ(small.writeBuffer("x", 1), 0);

    MemoryOStream none(0);
    EXPECT_EQ(none.writeBuffer("x", 1), 0);
    EXPECT_FALSE(none.setPosition(0));
    MemoryOStream negative(-5);
    EXPECT_EQ(negative.size(), 0);
}

TEST(ProxyIStreamTest, AWrapperSeesEveryReadEvenThroughTheInnerStream) {
    TestHost host;
    MemoryIStream inner({1, 0, 0, 0, 2, 0, 0, 0, 3, 'a', 'b', 'c', 4, 0, 0, 0});
    {
        WatchingProxy proxy(&inner, false);
        EXPECT_EQ(proxy.actualClass(), IStream::absoluteClass());
        EXPECT_EQ(inner.link(), &proxy);
        EXPECT_EQ(inner.firstStream(), &proxy);
        EXPECT_EQ(proxy.firstStream(), &proxy);

        // An object handed the inner stream still reads through the proxy.
        int value = 0;
        EXPECT_TRUE(inner.streamInt(value, "Count"));
        EXPECT_EQ(value, 1);
        EXPECT_EQ(proxy.bytesSeen, 4);
        EXPECT_EQ(proxy.labels, std::vector<std::string>{"Count"});

        // Field reads on the proxy come back the same way.
        EXPECT_TRUE(proxy.streamInt(value, "Second"));
        EXPECT_EQ(value, 2);
        char name[4];
        EXPECT_TRUE(inner.streamStaticString(host, name, 3, "Name"));
        EXPECT_STREQ(name, "abc");
        EXPECT_EQ(proxy.bytesSeen, 12);

        // A wrapper that changes the bytes changes what the inner stream's
        // caller gets.
        proxy.flip = 0x01;
        EXPECT_TRUE(inner.streamInt(value, "Flipped"));
        EXPECT_EQ(value, 0x01010105);
        EXPECT_EQ(proxy.labels, (std::vector<std::string>{"Count", "Second", "Flipped"}));

        // The raw operations are passed on.
        EXPECT_EQ(proxy.position(), 16);
        EXPECT_EQ(proxy.available(), 0);
        EXPECT_TRUE(proxy.setPosition(4));
        EXPECT_EQ(proxy.skip(4), 4);
        EXPECT_EQ(inner.position(), 8);

        // A list read through either stream is loaded from the front one.
        ProbeList list;
        EXPECT_TRUE(inner.streamList(host, list, "List"));
        EXPECT_EQ(list.loadedFrom, &proxy);
        list.loadedFrom = nullptr;
        EXPECT_TRUE(proxy.streamList(host, list, "List"));
        EXPECT_EQ(list.loadedFrom, &proxy);
    }
    // Without ownership the target survives and its link is its own again.
    EXPECT_EQ(inner.link(), &inner);
    EXPECT_EQ(inner.firstStream(), &inner);

    // Stacked proxies: the innermost stream reads through the outermost; the
    // outer one going hands the inner proxy its own link back.
    bool hostGone = false;
    auto* owned = new EndNoting<MemoryIStream>(hostGone, Bytes{9, 0, 0, 0});
    WatchingProxy* middle = new WatchingProxy(owned, true);
    {
        WatchingProxy outer(middle, false);
        EXPECT_EQ(owned->firstStream(), &outer);
        int value = 0;
        EXPECT_TRUE(owned->streamInt(value, "Deep"));
        EXPECT_EQ(value, 9);
        EXPECT_EQ(outer.labels, std::vector<std::string>{"Deep"});
        EXPECT_EQ(middle->labels, std::vector<std::string>{"Deep"});
    }
    EXPECT_EQ(middle->link(), middle);
    EXPECT_EQ(owned->firstStream(), middle);
    EXPECT_FALSE(hostGone);
    delete middle;  // with ownership the host stream goes with the proxy
    EXPECT_TRUE(hostGone);

    // A proxy without a target refuses everything.
    ProxyIStream empty(nullptr, true);
    int value = 5;
    EXPECT_FALSE(empty.streamInt(value, ""));
    EXPECT_EQ(empty.readBuffer(&value, 4), 0);
    EXPECT_EQ(value, 5);
}

// Writes its static strings as a marker byte, as an object-file stream
// replaces that encoding.
class MarkingProxy : public ProxyOStream {
public:
    explicit MarkingProxy(OStream* target) : ProxyOStream(target) {}
    bool streamStaticString(System&, const char* text, const char*) override {
        texts.push_back(text ? text : "");
        unsigned char marker = 0xEE;
        return streamUbyte(marker, "Marker");
    }
    std::vector<std::string> texts;
};

TEST(ProxyOStreamTest, FieldsGoToTheTargetWhichTheProxyOwns) {
    TestHost host;
    bool gone = false;
    HostOStream* target = new HostOStream(gone);
    {
        MarkingProxy proxy(target);
        EXPECT_EQ(proxy.actualClass(), OStream::absoluteClass());
        EXPECT_EQ(proxy.target(), target);
        int value = 0x0A0B0C0D;
        char* text = Memory::stringDuplicate("hi");
        EXPECT_TRUE(proxy.streamInt(value, "") && proxy.streamString(text, "") &&
                    proxy.streamStaticString(host, "name", ""));
        EXPECT_EQ(target->bytes(), (Bytes{0x0D, 0x0C, 0x0B, 0x0A, 2, 0, 0, 0, 'h', 'i', 0xEE}));
        EXPECT_EQ(proxy.texts, std::vector<std::string>{"name"});
        EXPECT_EQ(proxy.position(), 11);
        proxy.flush();
        EXPECT_EQ(target->flushes, 1);
        EXPECT_EQ(proxy.writeBuffer("z", 1), 1);

        // Lists are saved through the proxy itself, not its target.
        ProbeList list;
        EXPECT_TRUE(proxy.streamList(host, list, "List"));
        EXPECT_EQ(list.savedTo, &proxy);
        EXPECT_TRUE(target->streamList(host, list, "List"));
        EXPECT_EQ(list.savedTo, target);

        // Records too are written by the proxy, never handed to the target.
        Object* none = nullptr;
        proxy.streamObject(host, none, "Object", nullptr);
        Node* noNode = nullptr;
        proxy.streamNode(host, noNode, "Node", nullptr);
        EXPECT_EQ(target->objectCalls, 0);
        Memory::stringDelete(text);
    }
    EXPECT_TRUE(gone);
    ProxyOStream empty(nullptr);
    int value = 1;
    EXPECT_FALSE(empty.streamInt(value, ""));
}

// A node with two object fields and a list, as screens hold them, whose
// hooks can be told to refuse.
class HolderNode : public Node {
    KOVA_RUNTIME_CLASS(HolderNode)
public:
    HolderNode() : list(Object::absoluteClass()) {}
    bool onStream(System& system, Stream& stream) override {
        return Node::onStream(system, stream) &&
               stream.streamObject(system, owned, "Owned", nullptr) &&
               stream.streamObject(system, other, "Other", nullptr) &&
               stream.streamList(system, list, "List");
    }
    bool onClear(System& system, Stream& stream) override {
        ++clears;
        return !refuseClear && Node::onClear(system, stream);
    }
    bool onRegister(System& system, Stream& stream) override {
        ++registers;
        return !refuseRegister && Node::onRegister(system, stream);
    }
    Object* owned = nullptr;
    Object* other = nullptr;
    ObjectList list;
    int clears = 0;
    int registers = 0;
    bool refuseClear = false;
    bool refuseRegister = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(HolderNode, "kova_test::HolderNode", &Node::absoluteClass)

// The same node keeping a name of its own.
class NamedHolderNode : public Named<HolderNode> {
    KOVA_RUNTIME_CLASS(NamedHolderNode)
public:
    using Named::Named;
};
KOVA_IMPLEMENT_CLASS_NAMED(NamedHolderNode, "kova_test::NamedHolderNode",
                           &HolderNode::absoluteClass)

class PassTest : public HostTest<> {
protected:
    NamedHolderNode* named(const char* name) {
        NamedHolderNode* node = new NamedHolderNode(name);
        EXPECT_EQ(host.registerObject(node, nullptr), node);
        return node;
    }
    static int live() { return RuntimeClass::totalClassInstanceCount(); }
};

// Counts what the pass destroys.
class CountingClearStream : public ClearStream {
public:
    explicit CountingClearStream(bool clearNamed) : ClearStream(clearNamed) {}
    bool destroyObject(RuntimeObject*& reference) override {
        ++destroyed;
        return ClearStream::destroyObject(reference);
    }
    int destroyed = 0;
};

TEST_F(PassTest, ClearingReleasesOwnedObjectsAndLeavesNamedOnesAlive) {
    int before = live();
    NamedHolderNode* shared = named("Shared");
    HolderNode* sharedChild = make<HolderNode>();
    shared->owned = sharedChild;

    // An owner with a nested owned chain, a list of owned objects and a
    // reference to a named object.
    HolderNode* root = make<HolderNode>();
    HolderNode* child = make<HolderNode>();
    HolderNode* grandChild = make<HolderNode>();
    root->owned = child;
    child->owned = grandChild;
    child->other = shared;
    root->other = shared;
    Object* listed = nullptr;
    ASSERT_TRUE(Object::create(host, listed, Object::absoluteClass()));
    root->list.appendObject(host, listed);
    root->list.appendObject(host, shared);
    EXPECT_EQ(live(), before + 6);

    CountingClearStream clearing(false);
    EXPECT_EQ(clearing.actualClass(), RuntimeObject::absoluteClass());
    Object* ref = root;
    EXPECT_TRUE(clearing.streamObject(host, ref, "Root", nullptr));
    EXPECT_EQ(ref, nullptr);
    // Root, child and grand child die in this pass; the list releases its
    // own objects through Object::clear.
    EXPECT_EQ(clearing.destroyed, 3);
    EXPECT_EQ(live(), before + 2);
    EXPECT_EQ(host.findNamedObject("Shared"), shared);
    EXPECT_EQ(shared->clears, 0);
    EXPECT_EQ(shared->owned, sharedChild);

    // A reference to a named object is let go, nothing more.
    ref = shared;
    EXPECT_TRUE(clearing.streamObject(host, ref, "Other", nullptr));
    EXPECT_EQ(ref, nullptr);
    EXPECT_EQ(shared->clears, 0);

    // Clearing named objects empties them and keeps them in their place.
    NamedHolderNode* partner = named("Partner");
    partner->other = shared;
    shared->other = partner;  // a cycle of named objects
    ClearStream clearNamed(true);
    ref = shared;
    EXPECT_TRUE(clearNamed.streamObject(host, ref, "Object", nullptr));
    EXPECT_EQ(ref, shared);
    EXPECT_EQ(shared->owned, nullptr);
    EXPECT_EQ(shared->other, partner);
    EXPECT_EQ(partner->other, shared);
    // Shared is entered a second time through Partner's reference, which
    // still held it; the reference taken out on the way ends the loop there.
    EXPECT_EQ(shared->clears, 2);
    EXPECT_EQ(partner->clears, 1);
    EXPECT_EQ(live(), before + 2);

    // A list field is emptied by the pass through the list's own clear.
    ProbeList probe;
    EXPECT_TRUE(clearing.streamList(host, probe, "List"));
    EXPECT_EQ(probe.clears, 1);
    ObjectList list(nullptr);
    Object* first = nullptr;
    ASSERT_TRUE(Object::create(host, first, Object::absoluteClass()));
    list.appendObject(host, first);
    list.appendObject(host, shared);
    EXPECT_TRUE(clearing.streamList(host, list, "List"));
    EXPECT_EQ(list.firstHandle(), 0);
    EXPECT_EQ(live(), before + 2);
    EXPECT_EQ(host.findNamedObject("Shared"), shared);
}

TEST_F(PassTest, ARefusingObjectStopsTheClearOutOfItsReference) {
    int before = live();
    HolderNode* root = make<HolderNode>();
    HolderNode* stubborn = make<HolderNode>();
    HolderNode* after = make<HolderNode>();
    root->owned = stubborn;
    root->other = after;
    stubborn->refuseClear = true;
    Object* ref = root;
    EXPECT_FALSE(Object::clear(host, ref));
    EXPECT_EQ(ref, nullptr);          // the owner was taken out first
    EXPECT_EQ(root->owned, nullptr);  // the refusing object is out too
    EXPECT_EQ(root->other, after);    // the pass stopped before this field
    EXPECT_EQ(live(), before + 3);    // nothing was destroyed
    stubborn->refuseClear = false;
    EXPECT_TRUE(Object::clear(host, stubborn));
    EXPECT_TRUE(Object::clear(host, root));
    EXPECT_EQ(live(), before);
}

TEST_F(PassTest, ReRegistrationReplacesEveryReference) {
    NamedHolderNode* oldOne = new NamedHolderNode("Score");
    NamedHolderNode* newOne = new NamedHolderNode("Score");
    ASSERT_EQ(host.registerObject(oldOne, "Game"), oldOne);

    // Named and unnamed holders, the System's own tree, a list, and a named
    // holder that is also reached from inside another named one.
    NamedHolderNode* namedHolder = named("Holder");
    NamedHolderNode* innerNamed = named("Inner");
    HolderNode* unnamed = make<HolderNode>();
    namedHolder->other = oldOne;
    namedHolder->owned = unnamed;
    namedHolder->list.appendObject(host, oldOne);
    namedHolder->list.appendObject(host, innerNamed);
    unnamed->other = oldOne;
    innerNamed->other = oldOne;
    HolderNode* root = make<HolderNode>();
    root->other = oldOne;
    host.firstNode() = root;

    Object* kept = host.reRegisterObject(newOne, "Game", false, false);
    EXPECT_EQ(kept, oldOne);
    EXPECT_EQ(host.findNamedObject("Game/Score"), newOne);
    EXPECT_FALSE(host.nameTree()->exists(oldOne));
    EXPECT_EQ(namedHolder->other, newOne);
    EXPECT_EQ(unnamed->other, newOne);
    EXPECT_EQ(innerNamed->other, newOne);
    EXPECT_EQ(root->other, newOne);
    EXPECT_EQ(namedHolder->list.objectFromIndex(0), newOne);
    EXPECT_EQ(namedHolder->list.objectFromIndex(1), innerNamed);
    // Named objects are entered once, from the directory; the old object's
    // own references are walked too.
    EXPECT_EQ(innerNamed->registers, 1);
    EXPECT_EQ(namedHolder->registers, 1);
    EXPECT_EQ(unnamed->registers, 1);
    EXPECT_EQ(oldOne->registers, 1);
    int counted = live();
    RuntimeObject::destroy(kept);  // the caller's now, and still counted
    EXPECT_EQ(live(), counted - 1);
}

TEST_F(PassTest, ARefusingRegistrationStopsThePassWithTheObjectInPlace) {
    NamedHolderNode* oldOne = new NamedHolderNode("Old");
    HolderNode* replacement = make<HolderNode>();
    HolderNode* root = make<HolderNode>();
    HolderNode* stubborn = make<HolderNode>();
    HolderNode* later = make<HolderNode>();
    root->owned = stubborn;
    root->other = later;
    later->other = oldOne;
    stubborn->refuseRegister = true;
    host.firstNode() = root;

    RegisterStream registering(oldOne, replacement);
    EXPECT_EQ(registering.actualClass(), RuntimeObject::absoluteClass());
    EXPECT_FALSE(registering.check(host));
    EXPECT_EQ(root->owned, stubborn);  // put back into its reference
    EXPECT_EQ(later->other, oldOne);   // never reached
    EXPECT_EQ(later->registers, 0);

    // Without an old object there is nothing to check.
    RegisterStream nothing(nullptr, replacement);
    EXPECT_FALSE(nothing.check(host));

    // A plain field is accepted without a look; a null reference is fine.
    int count = 3;
    Object* none = nullptr;
    EXPECT_TRUE(registering.streamInt(count, "") &&
                registering.streamObject(host, none, "", nullptr));
    EXPECT_EQ(count, 3);

    stubborn->refuseRegister = false;
    later->other = nullptr;
    delete oldOne;  // never registered, never counted
    EXPECT_TRUE(Object::clear(host, replacement));
}

}  // namespace
}  // namespace kova_test
