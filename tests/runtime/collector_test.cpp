// SPDX-License-Identifier: Zlib
// The incremental collector: the sweep, destruction paid for by allocation,
// the step size, empty arrays, the small-block cache,
// marking of long chains, and Object::Compare.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "runtime/runtime.h"

namespace {

// A collected node with one object field and one array field.
class Node : public Object {
public:
    Node() {}
    ~Node() override { ++destroyed; }
    void mark() override { gc_mark_q(ref); gc_mark_q(items); }
    Node* ref = nullptr;
    Array<Node*> items;
    static inline int destroyed = 0;
};

// Objects on a list; with p, 1 when p is on it and 0 when not.
int Count(const gc_object& list, const gc_object* p = nullptr) {
    int n = 0;
    for (const gc_object* q = list.next; q != &list; q = q->next) n += !p || q == p;
    return n;
}
bool In(const gc_object& list, const gc_object* p) { return Count(list, p) > 0; }

// Every test starts with four empty lists and zero counters (objects of
// earlier tests are forgotten). Roots go on gc_locals, which gc_collect_all
// scans; gc_collect empties it.
class Collector : public testing::Test {
protected:
    void SetUp() override {
        gc_init_lists();
        gc_new_bytes = gc_alloced_bytes = gc_marked_bytes = gc_free_bytes = Node::destroyed = 0;
        gc_locals_sp = gc_locals;
    }
    static Node* Rooted() { return static_cast<Node*>(*gc_locals_sp++ = new Node); }
};

TEST_F(Collector, AllocationPaysForGarbageAndALargeOneDestroysAllOfIt) {
    for (int i = 0; i < 10; ++i) new Node;
    gc_collect_all();
    EXPECT_EQ(Node::destroyed, 0);  // swept, not yet destroyed
    new Node;                       // destroys garbage worth its own size
    EXPECT_EQ(Node::destroyed, 1);
    Array<int> big(gc_free_bytes);  // four bytes an element: far more
    EXPECT_TRUE(Node::destroyed == 10 && gc_free_bytes == 0);
    gc_free_bytes = 1000;  // a count ahead of the list is reset
    new Node;
    EXPECT_EQ(gc_free_bytes, 0);
}

// The counters over several cycles that end in full collections. The host
// marks its delegate (here the holder) before every step, as
// KrGame::gc_collect does. With exactly 8 MiB new the step is still
// incremental; past it, a full collection sweeps and starts the count of new
// bytes again, so later steps mark in proportion to what is allocated after
// it, not to the whole heap.
TEST_F(Collector, CountersOverSeveralFullCollections) {
    constexpr int kFull = 8388608, kExact = -1;
    Node* holder = new Node;
    const int held = holder->gc_size();
    const struct { int ints; bool full; } rows[] = {
        {kExact, false}, {1, true}, {kExact, false}, {3 * kFull / 8, true}, {kFull / 4, true}};
    for (const auto& row : rows) {
        const int ints = row.ints != kExact ? row.ints
                                            : (kFull - gc_new_bytes - int(Array<int>::Rep::DataOffset())) / 4;
        SCOPED_TRACE(ints);
        Array<int> garbage(ints);
        garbage = Array<int>();
        const int bytes = gc_new_bytes, alloced = gc_alloced_bytes, freed = gc_free_bytes;
        gc_mark(holder), gc_collect();
        if (!row.full) {
            EXPECT_EQ(bytes, kFull);
            EXPECT_TRUE(gc_new_bytes == bytes && gc_alloced_bytes == alloced && gc_free_bytes == freed);
            continue;
        }
        EXPECT_EQ(gc_new_bytes, 0);
        EXPECT_EQ(gc_alloced_bytes, held);
        EXPECT_EQ(gc_marked_bytes, 0);
        EXPECT_EQ(gc_free_bytes, freed + alloced - held);
        EXPECT_EQ(Count(gc_unmarked_list), 1);
        // A frame that allocates one node counts that node alone.
        new Node;
        gc_mark(holder), gc_collect();
        EXPECT_TRUE(gc_new_bytes == held && gc_alloced_bytes == 2 * held) << gc_new_bytes << " " << gc_alloced_bytes;
    }
}

// An incremental step marks, of what waits grey, a share that grows with the
// bytes allocated since the last full collection: with eight grey blocks of
// 1 MiB and 32 bytes, and 2 MiB new, its target is 2 MiB plus a quarter of
// the rest of the heap, which takes four blocks.
TEST_F(Collector, AStepMarksInProportionToTheNewBytes) {
    const struct { int newBytes, blocks; } rows[] = {{0, 0}, {2 << 20, 4}, {4 << 20, 6}, {8 << 20, 8}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.newBytes);
        SetUp();
        std::vector<Array<int>> grey;
        for (int i = 0; i < 8; ++i) grey.emplace_back(1 << 18), gc_mark_q(grey.back());
        const int block = grey[0].rep->gc_size();
        gc_new_bytes = row.newBytes;
        gc_collect();
        EXPECT_EQ(gc_marked_bytes, row.blocks * block);
        EXPECT_EQ(Count(gc_marked_list), row.blocks);
    }
}

TEST_F(Collector, ZeroLengthArraysAreTheSharedEmptyArrayAndNeverTouched) {
    const int values[] = {1};
    EXPECT_TRUE(Array<int>(0).IsEmptyRep() && Array<int>(-4).IsEmptyRep() && Array<int>(values, 0).IsEmptyRep());
    EXPECT_TRUE(Array<int>().Resize(0).IsEmptyRep() && Array<String>(0).IsEmptyRep());
    EXPECT_EQ(gc_new_bytes, 0);  // nothing was allocated
    Node* holder = Rooted();
    gc_assign(holder->items, Array<Node*>(0));
    auto* empty = &Array<Node*>::nullRep;
    gc_mark(empty), gc_mark_q(empty);
    for (int i = 0; i < 3; ++i) gc_collect_all();
    EXPECT_TRUE(empty->flags == 3 && empty->next == empty && empty->prev == empty);
}

// Every node reaches the next only through an array: marking must not
// recurse once per link.
TEST_F(Collector, LongChainThroughArraysIsMarkedWithoutDeepRecursion) {
    constexpr int kLinks = 300000;
    Node* node = Rooted();
    for (int i = 0; i < kLinks; ++i) {
        Array<Node*> next(1);
        next[0] = new Node;
        gc_assign(node->items, next);
        node = next[0];
    }
    gc_collect_all();  // the barrier made the chain black as it was built
    gc_collect_all();  // now it is traced from its root
    EXPECT_TRUE(Count(gc_free_list) == 0 && Count(gc_unmarked_list) == 2 * kLinks + 1);
}

// The header is written by gc_object's constructor from what the allocation
// recorded: allocations made while a constructor's arguments are evaluated
// nest, a value-initialised object keeps its header, and an argument that
// throws gives its block back.
class Pair : public Object {
public:
    Pair(Node* a, Node* b) : a(a), b(b) {}
    void mark() override { gc_mark_q(a); gc_mark_q(b); }
    Node *a, *b;
};
struct Plain : Object {
    int value;  // no user-declared constructor: `new Plain()` zeroes it first
};
// Allocates a node that nothing holds, then throws.
Node* AllocateThenThrow() {
    new Node;
    throw 7;
}

TEST_F(Collector, HeadersAreWrittenByTheConstructorInNestedAndFailedAllocations) {
    Pair* pair = new Pair(new Node, new Node);
    for (gc_object* p : {static_cast<gc_object*>(pair), static_cast<gc_object*>(pair->a),
                         static_cast<gc_object*>(pair->b)})
        EXPECT_TRUE(gc_is_white(p) && In(gc_unmarked_list, p));
    auto rounded = [](size_t size) { return static_cast<int>((size + 7) & ~size_t(7)); };
    EXPECT_TRUE(pair->gc_size() == rounded(sizeof(Pair)) && pair->a->gc_size() == rounded(sizeof(Node)));
    Plain* plain = new Plain();
    EXPECT_TRUE(plain->value == 0 && plain->gc_size() == rounded(sizeof(Plain)));

    int bytes = gc_alloced_bytes, listed = Count(gc_unmarked_list);
    EXPECT_THROW(new Pair(AllocateThenThrow(), nullptr), int);
    EXPECT_EQ(Count(gc_unmarked_list), listed + 1);  // the inner node, now garbage
    EXPECT_EQ(gc_alloced_bytes, bytes + pair->a->gc_size());
    EXPECT_EQ((new Pair(nullptr, nullptr))->gc_size(), pair->gc_size());  // the given-back block
}

TEST(CollectorDeathTest, AnObjectOutsideACollectedAllocationIsFatal) {
    EXPECT_DEATH({ Node onStack; }, "collector: object constructed outside a collected allocation");
}

// Objects more than 2 GiB apart: the address difference overflows an int.
// The far addresses are only compared, never used.
TEST(Object, CompareKeepsTheSignForObjectsFarApart) {
    Object* a = new Object;
    const std::intptr_t at = reinterpret_cast<std::intptr_t>(a), gap = 0x80001000;  // 2 GiB and a page
    EXPECT_LT(a->Compare(reinterpret_cast<Object*>(at + gap)), 0);
    EXPECT_GT(a->Compare(reinterpret_cast<Object*>(at - gap)), 0);
    EXPECT_EQ(a->Compare(a), 0);
}

}  // namespace
