// Once a screen is running, a frame of input, update and paint allocates
// nothing. This program counts every allocation of the process, so it runs
// on its own and never joins the main test binary.
//
// The counter is AllocationCount.h's.
#include <gtest/gtest.h>

#include <new>

#include "AllocationCount.h"
#include "scene.h"

namespace kova_test {
namespace {

using namespace kova_scene;
using kova_alloc::allocationsSoFar;
using kova_alloc::countingWorks;

void frame(SceneHost& host, int number) {
    sendFrameInput(host, number);
    ASSERT_TRUE(host.update(1.0f / 60.0f));
    ASSERT_TRUE(host.paint());
}

TEST(NoAllocation, RunningFramesAllocateNothing) {
    ASSERT_TRUE(countingWorks());
    // The counter itself works: an allocation is seen.
    long before = allocationsSoFar().count;
    ::operator delete(::operator new(16));
    ASSERT_EQ(allocationsSoFar().count - before, 1);

    // The engine library's allocations are seen too.
    SceneHost host;
    before = allocationsSoFar().count;
    host.init();
    ASSERT_GT(allocationsSoFar().count - before, 0);
    ASSERT_TRUE(Node::create(host, host.firstNode(), RegionNode::absoluteClass()));
    ASSERT_TRUE(fillScene(host, static_cast<RegionNode*>(host.firstNode()), 200));
    // A text over the screen showing a number that changes every frame.
    Node*& textSlot = host.firstNode()->nextNode(0);
    ASSERT_TRUE(Node::create(host, textSlot, TextNode::absoluteClass()));
    auto* text = static_cast<TextNode*>(textSlot);
    ASSERT_TRUE(Object::create(host, text->string(), IntData::absoluteClass()));
    for (int i = 0; i < 10; ++i)
        frame(host, i);
    long quadsBefore = host.quads;
    long pressesBefore = host.presses;
    long glyphsBefore = host.glyphs;

    before = allocationsSoFar().count;
    for (int i = 10; i < 110; ++i) {
        text->string()->set(host, static_cast<float>(i));
        frame(host, i);
    }
    EXPECT_EQ(allocationsSoFar().count - before, 0);
    // The frames did real work: every leaf was drawn in each of them.
    EXPECT_EQ(host.quads - quadsBefore, 100L * PictureLeaf::absoluteClass()->classInstanceCount());
    EXPECT_GT(PictureLeaf::absoluteClass()->classInstanceCount(), 150);
    // ... and the presses were routed to the focused leaves.
    EXPECT_GT(host.presses - pressesBefore, 100L);
    // ... and the text was painted: 90 numbers of two digits, 10 of three.
    EXPECT_EQ(host.glyphs - glyphsBefore, 90L * 2 + 10L * 3);
    host.exit();
    EXPECT_EQ(RuntimeClass::totalClassInstanceCount(), 0);
}

}  // namespace
}  // namespace kova_test
