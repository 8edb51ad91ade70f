// The System's life cycle, its fixed frame order, sizing, logging and the
// Object statics that run through it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace kova_test {

// A node that records the walks reaching it and can refuse its update.
class ProbeNode : public Node {
    KOVA_RUNTIME_CLASS(ProbeNode)
public:
    bool onUpdate(System& system, Mode&, Rectangle&, float elapsed) override {
        static_cast<TestHost&>(system).calls.push_back("update " + label +
                                                       (elapsed == 0.0f ? " 0" : ""));
        return !refuseUpdate;
    }
    void onPaint(System& system, Mode&, Rectangle& rect, Rectangle*, EffectPipe& pipe) override {
        PaintData data;
        data.vertex[0].x = rect.x;
        data.vertex[0].y = rect.y;
        pipe.picturePaint(system, picture, data);
    }
    bool onButtonPress(System& system, Rectangle&, Mode&, int button, int inputIndex,
                       int repeatCount) override {
        static_cast<TestHost&>(system).calls.push_back(
            "press " + label + " " + std::to_string(button) + " " + std::to_string(inputIndex) +
            " " + std::to_string(repeatCount));
        return takesPress;
    }
    std::string label;
    int picture = 0;
    bool refuseUpdate = false;
    bool takesPress = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(ProbeNode, "kova_test::ProbeNode", &Node::absoluteClass)

// A pointer whose paint fails, to check that the frame stops there.
class FailingPointer : public Pointer {
public:
    bool onPaint(System&) override { return false; }
};

class SystemTest : public HostTest<> {
protected:
    ProbeNode* chain(std::initializer_list<const char*> labels) {
        Node** slot = &host.firstNode();
        for (const char* label : labels) {
            make<ProbeNode>(*slot)->label = label;
            slot = &(*slot)->nextNode(0);
        }
        return static_cast<ProbeNode*>(host.firstNode());
    }
};

TEST(SystemLifecycleTest, ConstructionSizesAndInit) {
    TestHost host(640.0f, 480.0f);
    Rectangle& clip = host.clipRect();
    EXPECT_EQ(valuesOf(clip), (Floats{-320.0f, -240.0f, 640.0f, 480.0f, 0.0f}));
    EXPECT_EQ(host.mode().storedTarget(), -3.0f);  // level 2, pointer inside
    EXPECT_EQ(host.mode().currentLevel(), 2.0f);
    EXPECT_FALSE(host.mode().hasFocus());
    EXPECT_EQ(host.nameTree(), nullptr);
    EXPECT_EQ(host.pointer(), nullptr);

    host.setSize(800.0f, 600.0f);
    EXPECT_EQ(clip.x, -400.0f);
    EXPECT_EQ(clip.y, -300.0f);
    EXPECT_EQ(host.width(), 800.0f);
    EXPECT_EQ(host.height(), 600.0f);
    EXPECT_EQ(host.calls, std::vector<std::string>{"onSetSize"});
    EXPECT_EQ(host.oldSizeSeen.x, 640.0f);
    EXPECT_EQ(host.oldSizeSeen.y, 480.0f);
    EXPECT_EQ(host.newSizeSeen.x, 800.0f);
    EXPECT_EQ(host.newSizeSeen.y, 600.0f);

    EXPECT_TRUE(host.init());
    ASSERT_NE(host.nameTree(), nullptr);
    ASSERT_NE(host.pointer(), nullptr);
    ASSERT_NE(host.messageManager(), nullptr);
    ASSERT_NE(host.systemStyle(), nullptr);
    EXPECT_STREQ(host.systemStyle()->name(), "System");
    EXPECT_EQ(host.systemStyle()->fontHandle(), 0);
    EXPECT_EQ(host.findNamedObject("System"), host.systemStyle());
    EXPECT_EQ(host.messageManager()->freeCount(), 11);
    EXPECT_EQ(Pointer::absoluteClass()->classInstanceCount(), 1);
    EXPECT_EQ(Style::absoluteClass()->classInstanceCount(), 1);
    EXPECT_EQ(host.log.text, "");

    EXPECT_TRUE(host.exit());
    EXPECT_EQ(host.nameTree(), nullptr);
    EXPECT_EQ(host.pointer(), nullptr);
    EXPECT_EQ(host.messageManager(), nullptr);
    EXPECT_EQ(host.systemStyle(), nullptr);
    EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
}

TEST_F(SystemTest, PrintfWritesExactlyTheFormattedText) {
    host.printf("Kova: Error: Class '%s' not found\r\n", "Nothing");
    EXPECT_EQ(host.log.text, "Kova: Error: Class 'Nothing' not found\r\n");

    host.log.text.clear();
    std::string longName(2000, 'x');
    host.printf("%s", longName.c_str());
    EXPECT_EQ(host.log.text, std::string(1023, 'x'));  // cut to the 1024-byte buffer

    host.log.text.clear();
    host.logging = false;
    host.printf("Kova: Info: dropped\r\n");
    host.logging = true;
    EXPECT_EQ(host.log.text, "");
}

TEST_F(SystemTest, UpdateRunsItsStepsInOrder) {
    chain({"a", "b", "c"});
    host.buttonPress(Button::Select, 2, 1);
    EXPECT_TRUE(host.update(0.5f));
    // Pre-update, the tree, then each message with its zero-time pass, then
    // post-update. The root mode has the focus, so the chain is pressed.
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"onPreUpdate", "update a", "update b", "update c",
                                        "press c 1 2 1", "press b 1 2 1", "press a 1 2 1",
                                        "update a 0", "update b 0", "update c 0", "onPostUpdate"}));
    EXPECT_TRUE(host.mode().hasFocus());
    EXPECT_EQ(host.mode().targetLevel(), 3.0f);  // Select presses the focused path
    EXPECT_EQ(host.messageManager()->freeCount(), 11);
}

TEST_F(SystemTest, AFailingStepEndsTheFrame) {
    ProbeNode* first = chain({"a", "b", "c"});
    static_cast<ProbeNode*>(first->nextNode(0))->refuseUpdate = true;
    host.buttonPress(Button::Select, 0, 1);
    EXPECT_FALSE(host.update(0.1f));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"onPreUpdate", "update a", "update b"}));
    EXPECT_EQ(host.messageManager()->queuedCount(), 1);  // not processed this frame

    host.calls.clear();
    host.preUpdateResult = false;
    EXPECT_FALSE(host.update(0.1f));
    EXPECT_EQ(host.calls, std::vector<std::string>{"onPreUpdate"});

    host.calls.clear();
    host.preUpdateResult = true;
    host.postUpdateResult = false;
    static_cast<ProbeNode*>(first->nextNode(0))->refuseUpdate = false;
    EXPECT_FALSE(host.update(0.1f));
    EXPECT_EQ(host.calls.back(), "onPostUpdate");
    EXPECT_EQ(host.messageManager()->queuedCount(), 0);
}

TEST_F(SystemTest, UpdateWithoutTreeStillRunsModeMessagesAndPointer) {
    host.pointerMove(5.0f, 7.0f);
    host.buttonPress(Button::Cancel, 0, 1);
    host.calls.clear();
    EXPECT_TRUE(host.update(0.1f));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"onPreUpdate", "onPostUpdate"}));
    EXPECT_EQ(host.messageManager()->queuedCount(), 0);
    EXPECT_TRUE(host.mode().hasFocus());
    EXPECT_EQ(host.pointerOldPosition().x, 5.0f);  // the pointer's update ran
    EXPECT_EQ(host.pointerOldPosition().y, 7.0f);
}

TEST_F(SystemTest, PaintDrawsTheChainThenThePointer) {
    ProbeNode* first = chain({"a", "b"});
    first->picture = 11;
    static_cast<ProbeNode*>(first->nextNode(0))->picture = 12;
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"onPrePaint", "picturePaint 11",
                                                    "picturePaint 12", "onPostPaint"}));
    ASSERT_EQ(host.painted.size(), 2u);
    EXPECT_EQ(host.painted[0].vertex[0].x, -320.0f);
    EXPECT_EQ(host.painted[0].vertex[0].y, -240.0f);

    // A pointer whose paint fails ends the frame before onPostPaint.
    host.calls.clear();
    Object* failing = new FailingPointer();
    Object* pointer = host.pointer();
    Object::clear(host, pointer);
    ASSERT_TRUE(Object::create(host, pointer, failing));
    host.pointer() = static_cast<Pointer*>(pointer);
    EXPECT_FALSE(host.paint());
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"onPrePaint", "picturePaint 11", "picturePaint 12"}));
}

TEST_F(SystemTest, PointerMoveReachesTheHostWhichMayCorrectItsCopy) {
    EXPECT_TRUE(host.pointerMove(12.5f, -3.0f));
    EXPECT_EQ(host.calls, std::vector<std::string>{"setPointerPosition"});
    EXPECT_EQ(host.hostPointer.x, 12.5f);
    EXPECT_EQ(host.hostPointer.y, -3.0f);
    EXPECT_EQ(host.pointerPosition().x, 12.5f);  // the host's correction stays with the host
    EXPECT_EQ(host.pointerPosition().y, -3.0f);

    Pointer* pointer = host.pointer();
    host.pointer() = nullptr;
    host.calls.clear();
    EXPECT_TRUE(host.pointerMove(1.0f, 1.0f));
    EXPECT_TRUE(host.calls.empty());
    host.pointer() = pointer;
}

TEST_F(SystemTest, FocusLock) {
    EXPECT_EQ(host.focusLockCount(), 0);
    host.increaseLockCount();
    host.increaseLockCount();
    host.decreaseLockCount();
    EXPECT_EQ(host.focusLockCount(), 1);
    host.update(0.0f);
    EXPECT_FALSE(host.mode().hasFocus());  // the lock freezes focus changes
    host.decreaseLockCount();
    host.update(0.0f);
    EXPECT_TRUE(host.mode().hasFocus());
}

TEST_F(SystemTest, ExitReleasesTheTreeAndNamedObjects) {
    chain({"a", "b", "c"});
    EXPECT_EQ(ProbeNode::absoluteClass()->classInstanceCount(), 3);
    Style* style = new Style("Title", 4);
    EXPECT_EQ(host.registerStyle(style, "Menus/Main"), style);
    EXPECT_EQ(Style::absoluteClass()->classInstanceCount(), 2);
    host.exit();
    EXPECT_EQ(host.firstNode(), nullptr);
    EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
}

TEST_F(SystemTest, ObjectCreateAdoptAndClear) {
    Object* ref = nullptr;
    EXPECT_FALSE(Object::create(host, ref, static_cast<RuntimeClass*>(nullptr)));
    EXPECT_FALSE(Object::create(host, ref, IStream::absoluteClass()));  // not an Object
    EXPECT_EQ(ref, nullptr);

    Node* node = nullptr;
    EXPECT_FALSE(Node::create(host, node, Pointer::absoluteClass()));
    ASSERT_TRUE(Node::create(host, node, Node::absoluteClass()));
    EXPECT_TRUE(Node::clear(host, node));
    EXPECT_EQ(node, nullptr);

    // Adoption counts a host-made object; a named one survives clear.
    Style* style = new Style("Kept", 1);
    ASSERT_TRUE(Object::create(host, ref, style));
    EXPECT_EQ(Style::absoluteClass()->classInstanceCount(), 2);
    ASSERT_TRUE(host.addNamedObject(style, nullptr));
    EXPECT_TRUE(Object::clear(host, ref));
    EXPECT_EQ(ref, nullptr);
    EXPECT_EQ(host.findNamedObject("Kept"), style);
    Object plain;
    IStream in;
    OStream out;
    ClearStream clearing(false);
    EXPECT_TRUE(plain.onLoad(host, in));  // no fields: every pass succeeds
    EXPECT_TRUE(plain.onSave(host, out));
    EXPECT_TRUE(plain.onClear(host, clearing));
    EXPECT_TRUE(plain.onRegister(host, clearing));
}

}  // namespace kova_test
