#include "AllocationCounter.h"

namespace kova_bench {

Allocations allocationsSoFar() {
    return kova_alloc::allocationsSoFar();
}
void AllocationMeter::report(benchmark::State& state) const {
    Allocations now = allocationsSoFar();
    using benchmark::Counter;
    state.counters["allocs"] =
        Counter(static_cast<double>(now.count - start_.count), Counter::kAvgIterations);
    state.counters["alloc_bytes"] =
        Counter(static_cast<double>(now.bytes - start_.bytes), Counter::kAvgIterations);
}

}  // namespace kova_bench
