// The System's life cycle, its fixed frame order, sizing, logging and the
// Object statics that run through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {

// A node that notes the walks reaching it in the host's calls, paints its
// picture at its rectangle's corner and may refuse its update.
class ProbeNode : public Node {
    KOVA_RUNTIME_CLASS(ProbeNode)
public:
    bool onUpdate(System& system, Mode&, Rectangle&, float elapsed) override {
        return note(system, "update " + label + (elapsed == 0.0f ? " 0" : "")), !refuseUpdate;
    }
    void onPaint(System& system, Mode&, Rectangle& rect, Rectangle*, EffectPipe& pipe) override {
        PaintData data;
        data.vertex[0].x = rect.x;
        data.vertex[0].y = rect.y;
        pipe.picturePaint(system, picture, data);
    }
    bool onButtonPress(System& system, Rectangle&, Mode&, int button, int input,
                       int repeat) override {
        return note(system, "press " + label + " " + std::to_string(button) + " " +
                                std::to_string(input) + " " + std::to_string(repeat)),
               false;
    }
    static void note(System& system, const std::string& call) {
        static_cast<TestHost&>(system).calls.push_back(call);
    }
    std::string label;
    int picture = 0;
    bool refuseUpdate = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(ProbeNode, "kova_test::ProbeNode", &Node::absoluteClass)

// A pointer whose paint fails, to check that the frame stops there.
class FailingPointer : public Pointer {
public:
    bool onPaint(System&) override { return false; }
};

// Probe nodes a, b, c... with pictures 11, 12, 13... as the host's chain.
std::vector<ProbeNode*> chain(System& system, int count) {
    std::vector<ProbeNode*> nodes;
    for (Node** slot = &system.firstNode(); count--; slot = &(*slot)->nextNode(0)) {
        EXPECT_TRUE(Node::create(system, *slot, ProbeNode::absoluteClass()));
        nodes.push_back(static_cast<ProbeNode*>(*slot));
        nodes.back()->label = std::string(1, static_cast<char>('a' + nodes.size() - 1));
        nodes.back()->picture = static_cast<int>(10 + nodes.size());
    }
    return nodes;
}

using SystemTest = HostTest<>;

TEST(SystemLifecycleTest, ConstructionSizesInitAndExit) {
    TestHost host(640.0f, 480.0f);
    EXPECT_EQ(valuesOf(host.clipRect()), (Floats{-320, -240, 640, 480, 0}));
    // Level 2 with the pointer inside, and no focus yet.
    EXPECT_EQ((Floats{host.mode().storedTarget(), host.mode().currentLevel(),
                      static_cast<float>(host.mode().hasFocus())}),
              (Floats{-3, 2, 0}));
    host.setSize(800.0f, 600.0f);
    EXPECT_EQ(valuesOf(host.clipRect()), (Floats{-400, -300, 800, 600, 0}));
    EXPECT_EQ((Floats{host.width(), host.height(), host.oldSizeSeen.x, host.oldSizeSeen.y,
                      host.newSizeSeen.x, host.newSizeSeen.y}),
              (Floats{800, 600, 640, 480, 800, 600}));
    EXPECT_EQ(host.calls, std::vector<std::string>{"onSetSize"});
    EXPECT_TRUE(host.nameTree() == nullptr && host.pointer() == nullptr);

    EXPECT_TRUE(host.init());
    EXPECT_STREQ(host.systemStyle()->name(), "System");
    EXPECT_EQ(host.findNamedObject("System"), host.systemStyle());
    EXPECT_EQ(
        (std::vector<int>{host.systemStyle()->fontHandle(), host.messageManager()->freeCount(),
                          Pointer::absoluteClass()->classInstanceCount()}),
        (std::vector<int>{0, 11, 1}));
    EXPECT_EQ(host.log.text, "");

    // Exit releases the pointer, the tree and every named object; a second
    // exit finds nothing left.
    chain(host, 3);
    EXPECT_NE(host.registerStyle(new Style("Title", 4), "Menus/Main"), nullptr);
    EXPECT_TRUE(host.exit() && host.exit());
    EXPECT_EQ((std::vector<void*>{host.nameTree(), host.pointer(), host.messageManager(),
                                  host.systemStyle(), host.firstNode()}),
              std::vector<void*>(5, nullptr));
    EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
}

TEST_F(SystemTest, PrintfWritesExactlyTheFormattedText) {
    host.printf("Kova: Error: Class '%s' not found\r\n", "Nothing");
    EXPECT_EQ(host.log.text, "Kova: Error: Class 'Nothing' not found\r\n");
    host.log.text.clear();
    host.printf("%s", std::string(2000, 'x').c_str());
    EXPECT_EQ(host.log.text, std::string(1023, 'x'));  // cut to the 1024-byte buffer
    host.log.text.clear();
    host.logging = false;
    host.printf("Kova: Info: dropped\r\n");
    EXPECT_EQ(host.log.text, "");
}

// Pre-update, the tree, then each message with its zero-time pass, then
// post-update; the first step that fails ends the frame.
TEST_F(SystemTest, UpdateRunsItsStepsInOrderUntilOneFails) {
    const std::vector<std::string> steps = {
        "onPreUpdate",   "update a",   "update b",   "update c",   "press c 1 2 1", "press b 1 2 1",
        "press a 1 2 1", "update a 0", "update b 0", "update c 0", "onPostUpdate"};
    // "failing step -> steps run, messages left, target level": the root
    // mode has the focus, so a processed Select presses the focused path.
    expectRows(
        {"none -> 11 0 3", "onPreUpdate -> 1 1 2", "update b -> 3 1 2", "onPostUpdate -> 11 0 3"},
        [&](const std::string& failing) {
            TestHost frame;
            frame.init();
            chain(frame, 3)[1]->refuseUpdate = failing == "update b";
            frame.preUpdateResult = failing != "onPreUpdate";
            frame.postUpdateResult = failing != "onPostUpdate";
            frame.buttonPress(Button::Select, 2, 1);
            EXPECT_EQ(frame.update(0.5f), failing == "none");
            std::size_t run = std::min(frame.calls.size(), steps.size());
            EXPECT_EQ(frame.calls, std::vector<std::string>(steps.begin(), steps.begin() + run));
            std::string result = std::to_string(run) + " " +
                                 std::to_string(frame.messageManager()->queuedCount()) + " " +
                                 std::to_string(static_cast<int>(frame.mode().targetLevel()));
            frame.exit();
            return result;
        });
}

TEST_F(SystemTest, UpdateWithoutTreeRunsModeMessagesAndPointer) {
    EXPECT_TRUE(host.pointerMove(5.0f, 7.0f));  // reaches the host
    EXPECT_EQ((Floats{host.hostPointer.x, host.hostPointer.y}), (Floats{5, 7}));
    host.buttonPress(Button::Cancel, 0, 1);
    host.increaseLockCount();
    host.calls.clear();
    EXPECT_TRUE(host.update(0.1f));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"onPreUpdate", "onPostUpdate"}));
    EXPECT_EQ(host.messageManager()->queuedCount(), 0);
    EXPECT_FALSE(host.mode().hasFocus());  // the lock freezes focus changes
    host.decreaseLockCount();
    EXPECT_TRUE(host.update(0.1f));
    EXPECT_TRUE(host.mode().hasFocus());
    EXPECT_EQ(host.pointerOldPosition().x, 5.0f);  // the pointer's update ran
}

TEST_F(SystemTest, PaintDrawsTheChainThenThePointer) {
    chain(host, 2);
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"onPrePaint", "picturePaint 11",
                                                    "picturePaint 12", "onPostPaint"}));
    ASSERT_EQ(host.painted.size(), 2u);
    EXPECT_EQ(host.painted[0].vertex[0].x, -320.0f);
    EXPECT_EQ(host.painted[0].vertex[0].y, -240.0f);

    // A pointer whose paint fails ends the frame before onPostPaint.
    host.calls.clear();
    Object* pointer = host.pointer();
    ASSERT_TRUE(Object::create(host, pointer, new FailingPointer()));  // releases the old one
    host.pointer() = static_cast<Pointer*>(pointer);
    EXPECT_FALSE(host.paint());
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"onPrePaint", "picturePaint 11", "picturePaint 12"}));
}

TEST_F(SystemTest, ObjectCreateRefusesOtherFamilies) {
    Object* object = nullptr;
    Node* node = nullptr;
    EXPECT_FALSE(Object::create(host, object, static_cast<RuntimeClass*>(nullptr)) ||
                 Object::create(host, object, IStream::absoluteClass()) ||  // not an Object
                 Node::create(host, node, Pointer::absoluteClass()));
    EXPECT_TRUE(object == nullptr && node == nullptr);
}

}  // namespace kova_test
