// SPDX-License-Identifier: Zlib
// The collector under a game-like load: small objects allocated every frame
// and dropped at its end, one collection step per frame through the host,
// with a live heap reachable from the host's delegate.
//
//   BM_GcAlloc / BM_MallocFree: cost per small allocation (and its later
//     release), the collector against malloc/free of the same sizes, with
//     100,000 live objects and an incremental step every 1,000 allocations.
//     BM_GcAlloc's second argument says whether the steps' marking work is
//     timed along with the allocations (1) or left out (0); the first is the
//     number of live objects.
//   BM_GcStepPause: the longest single collection step over a 50 MiB live
//     heap, for several amounts allocated per frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include <time.h>

#include "host/game.h"
#include "runtime/runtime.h"

namespace {

constexpr int kFrameAllocations = 1000;
constexpr int kLiveObjects = 100000;

// A collected object of `Bytes` bytes (more than a bare Object).
template <int Bytes>
class Blob : public Object {
public:
    Blob() {}
    char payload[Bytes - sizeof(Object)];
};
static_assert(sizeof(Object) == 32 && sizeof(Blob<48>) == 48 && sizeof(Blob<64>) == 64);

// A live-heap node: one reference and a payload, 64 bytes in all.
class Node : public Object {
public:
    Node() {}
    void mark() override {
        Object::mark();
        gc_mark_q(next);
    }
    Node* next = nullptr;
    char payload[64 - sizeof(Object) - sizeof(Node*)];
};
static_assert(sizeof(Node) == 64);

// The host's delegate holds the live heap: chains of nodes whose heads sit in
// an array, so no single object or array is large.
class HeapRoot : public KrGameDelegate {
public:
    HeapRoot() {}
    void mark() override {
        KrGameDelegate::mark();
        gc_mark_q(heads);
    }
    Array<Node*> heads;
};

// A fresh collector with `nodes` live nodes in chains of `chain` nodes,
// built with a step per frame's worth of allocation as a game loads.
struct Heap {
    KrGame host;
    HeapRoot* root = nullptr;

    Heap(int nodes, int chain) {
        gc_init_lists();
        gc_new_bytes = gc_alloced_bytes = gc_marked_bytes = gc_free_bytes = 0;
        root = new HeapRoot;
        host.SetDelegate(root);
        int chains = (nodes + chain - 1) / chain;
        gc_assign(root->heads, Array<Node*>(chains));
        for (int c = 0, made = 0; c < chains; ++c) {
            for (int i = 0; i < chain && made < nodes; ++i, ++made) {
                Node* n = new Node;
                gc_assign(n->next, root->heads[c]);
                gc_assign(root->heads[c], n);
                if (made % kFrameAllocations == 0) host.gc_collect();
            }
        }
        // Frames of garbage until two full collections have passed: the
        // collector is then in its steady state, as after a game's loading.
        for (int fulls = 0; fulls < 2;) {
            for (int made = 0; made < 64 * 1024; made += 48) benchmark::DoNotOptimize(new Blob<48>);
            host.gc_collect();
            if (gc_new_bytes == 0) ++fulls;
        }
    }

    // Lets everything go, and pays for it with one large allocation.
    ~Heap() {
        host.SetDelegate(nullptr);
        gc_collect_all();
        gc_collect_all();
        Array<int> pay(gc_free_bytes / 4 + 1);
    }
};

template <class T>
void BM_GcAlloc(benchmark::State& state) {
    Heap heap(static_cast<int>(state.range(0)), 100);
    const bool timeSteps = state.range(1) != 0;
    int inFrame = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(new T);
        if (++inFrame == kFrameAllocations) {
            inFrame = 0;
            if (!timeSteps) state.PauseTiming();
            heap.host.gc_collect();
            if (!timeSteps) state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["bytes"] = sizeof(T);
}

// The same sizes with malloc and free: each block lives for one frame's
// worth of allocations, as the collected objects above do at the least.
template <class T>
void BM_MallocFree(benchmark::State& state) {
    constexpr std::size_t Bytes = sizeof(T);
    Heap heap(static_cast<int>(state.range(0)), 100);  // the same live heap, for the same caches
    std::vector<void*> frame(kFrameAllocations, nullptr);
    int slot = 0;
    for (auto _ : state) {
        std::free(frame[slot]);
        frame[slot] = std::malloc(Bytes);
        benchmark::DoNotOptimize(frame[slot]);
        if (++slot == kFrameAllocations) slot = 0;
    }
    for (void* p : frame) std::free(p);
    state.SetItemsProcessed(state.iterations());
    state.counters["bytes"] = Bytes;
}

// Blocks of 32 and 48 bytes come from the small-block cache; 64 bytes and
// more go to the system heap.
#define GC_ALLOC_PAIR(T)                                                         \
    BENCHMARK_TEMPLATE(BM_GcAlloc, T)->Args({kLiveObjects, 0})->Args({kLiveObjects, 1}); \
    BENCHMARK_TEMPLATE(BM_MallocFree, T)->Arg(kLiveObjects)

GC_ALLOC_PAIR(Object);
GC_ALLOC_PAIR(Blob<48>);
GC_ALLOC_PAIR(Blob<64>);

double ThreadCpuMs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec * 1e-6;
}

// Frames of small garbage over a 50 MiB live heap; every step is timed on
// its own. Runs long enough for several full collections. Steps are timed in
// thread CPU time, which a shared machine's preemption does not inflate;
// the wall-clock maximum is reported beside it.
void BM_GcStepPause(benchmark::State& state) {
    const int frameBytes = static_cast<int>(state.range(0));
    const int liveNodes = 50 * 1024 * 1024 / static_cast<int>(sizeof(Node));
    Heap heap(liveNodes, 800);
    using Clock = std::chrono::steady_clock;
    double longest = 0, longestWall = 0, longestFull = 0, total = 0;
    long steps = 0, fulls = 0;
    for (auto _ : state) {
        for (int frame = 0; frame < 3 * GC_FULL_COLLECT_BYTES / frameBytes; ++frame) {
            for (int made = 0; made < frameBytes; made += 48) benchmark::DoNotOptimize(new Blob<48>);
            bool full = gc_new_bytes > GC_FULL_COLLECT_BYTES;
            auto wallStart = Clock::now();
            double start = ThreadCpuMs();
            heap.host.gc_collect();
            double ms = ThreadCpuMs() - start;
            double wall = std::chrono::duration<double, std::milli>(Clock::now() - wallStart).count();
            longest = std::max(longest, ms);
            longestWall = std::max(longestWall, wall);
            if (full) longestFull = std::max(longestFull, ms), ++fulls;
            total += ms;
            ++steps;
        }
    }
    state.counters["live_MiB"] = gc_alloced_bytes / 1048576.0;
    state.counters["max_step_ms"] = longest;
    state.counters["max_step_wall_ms"] = longestWall;
    state.counters["max_full_step_ms"] = longestFull;
    state.counters["mean_step_ms"] = total / steps;
    state.counters["full_collections"] = static_cast<double>(fulls);
}

BENCHMARK(BM_GcStepPause)
    ->Arg(16 * 1024)
    ->Arg(64 * 1024)
    ->Arg(256 * 1024)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
