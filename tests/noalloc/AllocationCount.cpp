#include "AllocationCount.h"

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define KOVA_COUNT_WITH_ASAN_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOVA_COUNT_WITH_ASAN_HOOKS 1
#endif
#endif

namespace {
// Plain counters: the programs that count run on one thread.
long allocationCount = 0;
long allocationBytes = 0;

void note(std::size_t size) {
    ++allocationCount;
    allocationBytes += static_cast<long>(size);
}
}  // namespace

#if defined(KOVA_COUNT_WITH_ASAN_HOOKS)

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            std::size_t),
                                                         void (*freeHook)(const volatile void*));

namespace {
void onMalloc(const volatile void*, std::size_t size) {
    note(size);
}
void onFree(const volatile void*) {}
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
}  // namespace

#else

namespace {
void* allocate(std::size_t size) {
    note(size);
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

namespace kova_alloc {

Allocations allocationsSoFar() {
    return Allocations{allocationCount, allocationBytes};
}

bool countingWorks() {
#if defined(KOVA_COUNT_WITH_ASAN_HOOKS)
    return hooksInstalled != 0;
#else
    return true;
#endif
}

}  // namespace kova_alloc
