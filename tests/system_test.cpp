// The System's life cycle, its fixed frame order, sizing and logging.
#include <cstdio>

#include "test_support.h"

namespace kova_test {

// A node that notes the walks reaching it in the host's calls under its
// letter, paints its picture (11 for a, 12 for b...) at its rectangle's
// corner and may refuse its update.
class ProbeNode : public Node {
    KOVA_RUNTIME_CLASS(ProbeNode)
public:
    bool onUpdate(System& system, Mode&, Rectangle&, float elapsed) override {
        return note(system, "update", elapsed == 0.0f ? " 0" : ""), !refuseUpdate;
    }
    void onPaint(System& system, Mode&, Rectangle& rect, Rectangle*, EffectPipe& pipe) override {
        PaintData data;
        data.vertex[0] = Vertex{rect.x, rect.y};
        pipe.picturePaint(system, letter - 'a' + 11, data);
    }
    bool onButtonPress(System& system, Rectangle&, Mode&, int button, int input,
                       int repeat) override {
        char keys[32];
        std::snprintf(keys, sizeof(keys), " %d %d %d", button, input, repeat);
        return note(system, "press", keys), false;
    }
    void note(System& system, const std::string& call, const char* rest) {
        static_cast<TestHost&>(system).calls.push_back(call + " " + letter + rest);
    }
    char letter = 'a';
    bool refuseUpdate = false;
};
KOVA_IMPLEMENT_CLASS_NAMED(ProbeNode, "kova_test::ProbeNode", &Node::absoluteClass)

// Probe nodes a, b, c... as the host's chain; gives b.
ProbeNode* chain(System& system, int count) {
    Node** slot = &system.firstNode();
    for (char letter = 'a'; letter < 'a' + count; ++letter, slot = &(*slot)->nextNode(0)) {
        EXPECT_TRUE(Node::create(system, *slot, ProbeNode::absoluteClass()));
        static_cast<ProbeNode*>(*slot)->letter = letter;
    }
    return static_cast<ProbeNode*>(system.firstNode()->nextNode(0));
}

using SystemTest = HostTest<>;

// Cut to the 1024-byte buffer; nothing once logging is off.
TEST_F(SystemTest, PrintfWritesExactlyTheFormattedText) {
    host.printf("Kova: Error: Class '%s' not found\r\n", "Nothing");
    host.printf("%s", std::string(2000, 'x').c_str());
    host.logging = false;
    host.printf("Kova: Info: dropped\r\n");
    EXPECT_EQ(host.log.text, "Kova: Error: Class 'Nothing' not found\r\n" + std::string(1023, 'x'));
}

// Rows: "failing step -> steps run, messages left, target level". Pre-update,
// the tree, then each message with its zero-time pass, then post-update; the
// first step that fails ends the frame. The root mode has the focus, so a
// processed Select presses the focused path.
TEST_F(SystemTest, UpdateRunsItsStepsInOrderUntilOneFails) {
    const std::vector<std::string> steps = {
        "onPreUpdate",   "update a",   "update b",   "update c",   "press c 1 2 1", "press b 1 2 1",
        "press a 1 2 1", "update a 0", "update b 0", "update c 0", "onPostUpdate"};
    expectRows(
        {"none -> 11 0 3", "onPreUpdate -> 1 1 2", "update b -> 3 1 2", "onPostUpdate -> 11 0 3"},
        [&](const std::string& failing) {
            TestHost frame;
            frame.init();
            chain(frame, 3)->refuseUpdate = failing == "update b";
            frame.preUpdateResult = failing != "onPreUpdate";
            frame.postUpdateResult = failing != "onPostUpdate";
            frame.buttonPress(Button::Select, 2, 1);
            EXPECT_EQ(frame.update(0.5f), failing == "none");
            std::size_t run = std::min(frame.calls.size(), steps.size());
            EXPECT_EQ(frame.calls, std::vector<std::string>(steps.begin(), steps.begin() + run));
            char result[32];
            std::snprintf(result, sizeof(result), "%zu %d %g", run,
                          frame.messageManager()->queuedCount(), frame.mode().targetLevel());
            frame.exit();
            return std::string(result);
        });
}

// The chain's rectangle is the screen's, centred on the origin, and follows
// its size. Exit releases everything; a second exit finds nothing left.
TEST_F(SystemTest, PaintDrawsTheChainBetweenTheHostsHooks) {
    chain(host, 2);
    EXPECT_TRUE(host.paint());
    host.setSize(800.0f, 600.0f);
    EXPECT_TRUE(host.paint());
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"onPrePaint", "picturePaint 11", "picturePaint 12",
                                        "onPostPaint", "onSetSize", "onPrePaint", "picturePaint 11",
                                        "picturePaint 12", "onPostPaint"}));
    EXPECT_EQ((Floats{host.painted[0].vertex[0].x, host.painted[0].vertex[0].y,
                      host.painted[2].vertex[0].x, host.oldSizeSeen.x, host.newSizeSeen.y}),
              (Floats{-320, -240, -400, 640, 600}));
    EXPECT_EQ(valuesOf(host.clipRect()), (Floats{-400, -300, 800, 600, 0}));
    EXPECT_TRUE(host.exit() && host.exit() && !host.nameTree() && !host.pointer() &&
                !host.firstNode() && !host.systemStyle() && !host.messageManager());
}

}  // namespace kova_test
