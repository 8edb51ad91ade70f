// Scaling: update and paint of generated screens of 100 to 100,000 engine
// nodes, in two shapes. "Chain": picture nodes in chains of 63, each hung
// from a split node of a backbone (a walk recurses along a chain, so chains
// are kept short). "Layout": a tree of transform nodes, eight children to a
// parent, each with a mode of its own, whose leaves are picture nodes. The
// time per node should not grow with the count.
#include <benchmark/benchmark.h>

#include <vector>

#include "AllocationCounter.h"
#include "BenchHost.h"

namespace {

using namespace kova_bench;

const int kChain = 63;
const int kFanOut = 8;

Node* make(System& system, RuntimeClass* cls) {
    Node* node = nullptr;
    Node::create(system, node, cls);
    return node;
}

// count nodes: a split node followed by up to 63 picture nodes, again and
// again; each split node's next node is the following split node.
Node* makeChains(System& system, int count) {
    Node* root = nullptr;
    Node** backbone = &root;
    for (int made = 0; made < count;) {
        Node* split = make(system, SplitNode::absoluteClass());
        *backbone = split;
        backbone = &split->nextNode(0);
        ++made;
        Node** chain = &static_cast<SplitNode*>(split)->splitNode();
        for (int i = 0; i < kChain && made < count; ++i, ++made) {
            *chain = make(system, PictureNode::absoluteClass());
            chain = &(*chain)->nextNode(0);
        }
    }
    return root;
}

// count nodes in breadth-first order: node i's children are 8i+1 to 8i+8;
// nodes with children are transform nodes, the others picture nodes. A
// parent's first child is its transformed node, the others follow it as
// next nodes.
Node* makeLayout(System& system, int count) {
    std::vector<Node*> nodes(static_cast<std::size_t>(count));
    int parents = (count - 1 + kFanOut - 1) / kFanOut;
    for (int i = 0; i < count; ++i) {
        nodes[i] = make(
            system, i < parents ? TransformNode::absoluteClass() : PictureNode::absoluteClass());
    }
    for (int i = 0; i < parents; ++i) {
        auto* parent = static_cast<TransformNode*>(nodes[i]);
        parent->position() = Coordinate2{static_cast<float>(i % 7), static_cast<float>(i % 5)};
        parent->size() = Coordinate2{40.0f, 40.0f};
        Node** slot = &parent->transformedNode();
        for (int c = kFanOut * i + 1; c <= kFanOut * i + kFanOut && c < count; ++c) {
            *slot = nodes[c];
            slot = &nodes[c]->nextNode(0);
        }
    }
    return nodes[0];
}

void scale(benchmark::State& state, Node* (*build)(System&, int)) {
    int count = static_cast<int>(state.range(0));
    BenchHost host;
    host.init();
    host.firstNode() = build(host, count);
    host.pointerMove(3.0f, 3.0f);
    for (int i = 0; i < 3; ++i) {
        host.update(1.0f / 60.0f);
        host.paint();
    }
    AllocationMeter meter;
    for (auto _ : state) {
        host.update(1.0f / 60.0f);
        host.paint();
    }
    meter.report(state);
    state.counters["nodes"] = count;
    state.counters["quads"] = static_cast<double>(host.vertexCount / 4);
    if (host.problems) state.SkipWithError("the engine logged problems");
    host.exit();
}

void BM_ScaleChain(benchmark::State& state) {
    scale(state, makeChains);
}
BENCHMARK(BM_ScaleChain)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_ScaleLayout(benchmark::State& state) {
    scale(state, makeLayout);
}
BENCHMARK(BM_ScaleLayout)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace
