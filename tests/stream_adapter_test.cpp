// The passes over object graphs: clearing, which releases what objects own,
// and re-registering, which moves every reference from an old object to its
// replacement.
#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace kova_test {
namespace {

// A node with two object fields and a list, as screens hold them, whose
// hooks count their calls and can be told to refuse. Registered holders
// keep a name of their own.
class HolderNode : public Named<Node> {
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
    int clears = 0, registers = 0;
    bool refuseClear = false, refuseRegister = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(HolderNode, "kova_test::HolderNode", &Node::absoluteClass)

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

class PassTest : public HostTest<> {
protected:
    // A created holder, or, given a name, one registered under it.
    HolderNode* holder(Object* owned = nullptr, Object* other = nullptr, const char* name = nullptr,
                       const char* directory = nullptr) {
        HolderNode* node = name ? new HolderNode() : make<HolderNode>();
        node->setName(name);
        if (name) {
            EXPECT_EQ(host.registerObject(node, directory), node);
        }
        node->owned = owned;
        node->other = other;
        return node;
    }
    static int live() { return RuntimeClass::totalClassInstanceCount(); }
};

TEST_F(PassTest, ClearingReleasesOwnedObjectsAndLeavesNamedOnesAlive) {
    int before = live();
    HolderNode* sharedChild = holder();
    HolderNode* shared = holder(sharedChild, nullptr, "Shared");
    // An owner with a nested owned chain, a list holding an owned and a named
    // object, and references to the named one.
    HolderNode* root = holder(holder(holder(), shared), shared);
    root->list.appendObject(host, make<Object>());
    root->list.appendObject(host, shared);
    EXPECT_EQ(live(), before + 6);

    // Root, child and grand child die in this pass; the list releases its
    // own objects through Object::clear. The named object is only let go.
    CountingClearStream clearing(false);
    Object* ref = root;
    EXPECT_TRUE(clearing.streamObject(host, ref, "Root", nullptr));
    EXPECT_EQ(ref, nullptr);
    EXPECT_EQ(clearing.destroyed, 3);
    EXPECT_EQ(live(), before + 2);
    EXPECT_EQ(host.findNamedObject("Shared"), shared);
    EXPECT_EQ(shared->owned, sharedChild);
    EXPECT_EQ(shared->clears, 0);

    // Clearing named objects empties them and keeps them in their place.
    // Shared is entered a second time through Partner's reference, which
    // still held it; the reference taken out on the way ends the loop there.
    HolderNode* partner = holder(nullptr, shared, "Partner");
    shared->other = partner;
    ClearStream clearNamed(true);
    ref = shared;
    EXPECT_TRUE(clearNamed.streamObject(host, ref, "Object", nullptr));
    EXPECT_EQ(ref, shared);
    EXPECT_EQ(shared->owned, nullptr);
    EXPECT_EQ(shared->other, partner);
    EXPECT_EQ(partner->other, shared);
    EXPECT_EQ(std::vector<int>({shared->clears, partner->clears, live()}),
              (std::vector<int>{2, 1, before + 2}));
}

// An object that refuses to clear stops the pass: it and its owner are out
// of their references, what follows is untouched, nothing is destroyed.
TEST_F(PassTest, ARefusingObjectStopsTheClear) {
    int before = live();
    HolderNode* stubborn = holder();
    HolderNode* after = holder();
    HolderNode* root = holder(stubborn, after);
    stubborn->refuseClear = true;
    Object* ref = root;
    EXPECT_FALSE(Object::clear(host, ref));
    EXPECT_TRUE(ref == nullptr && root->owned == nullptr && root->other == after);
    EXPECT_EQ(live(), before + 3);
    stubborn->refuseClear = false;
    EXPECT_TRUE(Object::clear(host, stubborn) && Object::clear(host, root));
}

TEST_F(PassTest, ReRegistrationReplacesEveryReference) {
    HolderNode* oldOne = holder(nullptr, nullptr, "Score", "Game");
    HolderNode* newOne = new HolderNode();
    newOne->setName("Score");
    // Named and unnamed holders, the System's own tree, a list, and a named
    // holder that is also reached from inside another named one.
    HolderNode* inner = holder(nullptr, oldOne, "Inner");
    HolderNode* unnamed = holder(nullptr, oldOne);
    HolderNode* named = holder(unnamed, oldOne, "Holder");
    HolderNode* root = holder(nullptr, oldOne);
    named->list.appendObject(host, oldOne);
    named->list.appendObject(host, inner);
    host.firstNode() = root;

    Object* kept = host.reRegisterObject(newOne, "Game", false, false);
    EXPECT_EQ(kept, oldOne);
    EXPECT_EQ(host.findNamedObject("Game/Score"), newOne);
    EXPECT_FALSE(host.nameTree()->exists(oldOne));
    for (HolderNode* node : {named, unnamed, inner, root})
        EXPECT_EQ(node->other, newOne);
    EXPECT_EQ(named->list.objectFromIndex(0), newOne);
    EXPECT_EQ(named->list.objectFromIndex(1), inner);
    // Named objects are entered once, from the directory; the old object's
    // own references are walked too.
    for (HolderNode* node : {named, unnamed, inner, oldOne})
        EXPECT_EQ(node->registers, 1);
    int counted = live();
    RuntimeObject::destroy(kept);  // the caller's now, and still counted
    EXPECT_EQ(live(), counted - 1);
}

// A refusing object stops the re-registration with itself put back into its
// reference; a plain field or a null reference is passed without a look.
TEST_F(PassTest, ARefusingRegistrationStopsThePassWithTheObjectInPlace) {
    HolderNode oldOne;
    HolderNode* stubborn = holder();
    HolderNode* later = holder(nullptr, &oldOne);
    HolderNode* root = holder(stubborn, later);
    HolderNode* replacement = holder();
    stubborn->refuseRegister = true;
    host.firstNode() = root;
    RegisterStream registering(&oldOne, replacement);
    EXPECT_EQ(registering.actualClass(), RuntimeObject::absoluteClass());
    EXPECT_FALSE(registering.check(host));
    EXPECT_TRUE(root->owned == stubborn && later->other == &oldOne && later->registers == 0);
    EXPECT_FALSE(RegisterStream(nullptr, replacement).check(host));  // nothing to check
    int count = 3;
    Object* none = nullptr;
    EXPECT_TRUE(registering.streamInt(count, "") &&
                registering.streamObject(host, none, "", nullptr) && count == 3);
    later->other = nullptr;
    EXPECT_TRUE(Object::clear(host, replacement));
}

}  // namespace
}  // namespace kova_test
