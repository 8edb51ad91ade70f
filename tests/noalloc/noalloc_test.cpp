// Once a screen is running, a frame of input, update and paint allocates
// nothing. This program counts every allocation of the process, so it runs
// on its own and never joins the main test binary.
//
// Without AddressSanitizer the global operator new and delete are replaced by
// counting versions. AddressSanitizer owns operator new itself, so under it
// the sanitizer's allocation hooks count instead; they see malloc as well as
// new, which only makes the check stricter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "scene.h"

#if defined(__SANITIZE_ADDRESS__)
#define KOVA_COUNT_WITH_ASAN_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOVA_COUNT_WITH_ASAN_HOOKS 1
#endif
#endif

namespace {

bool counting = false;
long allocations = 0;

void noteAllocation() {
    if (counting) ++allocations;
}

}  // namespace

#if defined(KOVA_COUNT_WITH_ASAN_HOOKS)

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            std::size_t),
                                                         void (*freeHook)(const volatile void*));

namespace {
void onMalloc(const volatile void*, std::size_t) {
    noteAllocation();
}
void onFree(const volatile void*) {}
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
}  // namespace

#else

namespace {
void* allocate(std::size_t size) {
    noteAllocation();
    return std::malloc(size ? size : 1);
}
void* allocateOrThrow(std::size_t size) {
    void* p = allocate(size);
    if (!p) throw std::bad_alloc();
    return p;
}
}  // namespace

void* operator new(std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

#endif

namespace kova_test {
namespace {

using namespace kova_scene;

void frame(SceneHost& host, int number) {
    sendFrameInput(host, number);
    ASSERT_TRUE(host.update(1.0f / 60.0f));
    ASSERT_TRUE(host.paint());
}

TEST(NoAllocation, RunningFramesAllocateNothing) {
#if defined(KOVA_COUNT_WITH_ASAN_HOOKS)
    ASSERT_NE(hooksInstalled, 0);
#endif
    // The counter itself works: an allocation in the window is seen.
    counting = true;
    ::operator delete(::operator new(16));
    counting = false;
    ASSERT_EQ(allocations, 1);
    allocations = 0;

    // The engine library's allocations are seen too.
    SceneHost host;
    counting = true;
    host.init();
    counting = false;
    ASSERT_GT(allocations, 0);
    allocations = 0;
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

    counting = true;
    for (int i = 10; i < 110; ++i) {
        text->string()->set(host, static_cast<float>(i));
        frame(host, i);
    }
    counting = false;

    EXPECT_EQ(allocations, 0);
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
