// Counts the heap allocations of the benchmark program: the global operator
// new and delete are replaced (under AddressSanitizer, which owns them, its
// allocation hooks count instead). A meter reports the allocations and bytes
// of a benchmark's timed loop per iteration.
#pragma once

#include <benchmark/benchmark.h>

namespace kova_bench {

struct Allocations {
    long count = 0;
    long bytes = 0;
};

// Since the program started.
Allocations allocationsSoFar();

// Made just before a timed loop; report() after it adds the counters
// "allocs" and "alloc_bytes", each per iteration. Allocations made while the
// timing is paused count too, so loops that pause must say what they do then.
class AllocationMeter {
public:
    AllocationMeter() : start_(allocationsSoFar()) {}
    void report(benchmark::State& state) const;

private:
    Allocations start_;
};

}  // namespace kova_bench
