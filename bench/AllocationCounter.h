// The heap allocations of the benchmark program, counted by the allocation
// test's counter (tests/noalloc/AllocationCount.h). A meter reports the
// allocations and bytes of a benchmark's timed loop per iteration.
#pragma once

#include <benchmark/benchmark.h>

#include "AllocationCount.h"

namespace kova_bench {

using kova_alloc::Allocations;

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
