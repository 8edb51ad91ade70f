// Counts every heap allocation of the program that links it: the global
// operator new and delete are replaced by counting versions. AddressSanitizer
// owns operator new itself, so under it the sanitizer's allocation hooks
// count instead; they see malloc as well as new, which only makes a check
// stricter. The allocation test and the benchmarks share it.
#pragma once

namespace kova_alloc {

struct Allocations {
    long count = 0;
    long bytes = 0;
};

// Since the program started (counters for one thread).
Allocations allocationsSoFar();

// False when the sanitizer's hooks could not be installed.
bool countingWorks();

}  // namespace kova_alloc
