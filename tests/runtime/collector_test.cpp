// The incremental collector: colours and lists, the sweep, deferred
// destruction paid by allocation, the write barrier, step sizes and the
// small-block cache.
#include <vector>

#include "tests/runtime/collector_fixture.h"

namespace runtime_tests {
namespace {

// Larger than the small-block limit: released to the system heap.
class Large : public Object {
public:
    Large() {}
    char payload[100];
};

using Collector = CollectorTest;

TEST_F(Collector, NewObjectIsWhiteAndCounted) {
    Counted* a = new Counted;
    int size = RoundedSize(sizeof(Counted));
    EXPECT_EQ(Size(a), size);
    EXPECT_EQ(a->flags & 3, gc_markbit);
    EXPECT_TRUE(gc_is_white(a));
    EXPECT_EQ(gc_unmarked_list.prev, a);  // appended at the tail
    EXPECT_EQ(gc_new_bytes, size);
    EXPECT_EQ(gc_alloced_bytes, size);

    Array<bool> odd(3);  // sizes round up to multiples of 8
    int oddSize = Size(odd.rep);
    EXPECT_EQ(oddSize % 8, 0);
    EXPECT_GE(oddSize, static_cast<int>(Array<bool>::Rep::DataOffset()) + 3);
    EXPECT_LT(oddSize, static_cast<int>(Array<bool>::Rep::DataOffset()) + 3 + 8);
    EXPECT_EQ(gc_new_bytes, size + oddSize);
}

TEST_F(Collector, ShadingMovesWhiteObjectsOnly) {
    Counted* a = new Counted;
    Counted* b = new Counted;
    gc_mark_q(a);
    EXPECT_TRUE(InList(gc_queued_list, a));
    EXPECT_FALSE(gc_is_white(a));
    EXPECT_EQ(gc_marked_bytes, 0);  // grey costs nothing yet

    gc_mark_q(a);  // already grey: stays where it is
    gc_mark_q(static_cast<Counted*>(nullptr));
    EXPECT_EQ(ListCount(gc_queued_list), 1);

    Counted* c = new Counted;
    b->ref = c;
    gc_mark(b);  // black at once, and its fields are shaded
    EXPECT_TRUE(InList(gc_marked_list, b));
    EXPECT_EQ(gc_marked_bytes, Size(b));
    EXPECT_TRUE(InList(gc_queued_list, c));
    EXPECT_EQ(gc_queued_list.prev, c);  // appended behind `a`
}

TEST_F(Collector, MarkQueuedIsFirstInFirstOutAndStopsAtTarget) {
    std::vector<Counted*> grey;
    for (int i = 0; i < 5; ++i) {
        grey.push_back(new Counted);
        gc_mark_q(grey.back());
    }
    int size = Size(grey[0]);
    gc_mark_queued(size + 1);  // two objects bring the marked bytes past it
    EXPECT_EQ(gc_marked_bytes, 2 * size);
    EXPECT_EQ(gc_marked_list.next, grey[0]);
    EXPECT_EQ(gc_marked_list.next->next, grey[1]);
    EXPECT_EQ(gc_queued_list.next, grey[2]);

    gc_mark_queued(INT_MAX);
    EXPECT_EQ(ListCount(gc_queued_list), 0);
    EXPECT_EQ(ListCount(gc_marked_list), 5);
}

TEST_F(Collector, SweepWithEverythingMarkedFreesNothing) {
    Counted* root = new Counted;
    gc_assign(root->ref, new Counted);
    gc_assign(root->ref->ref, new Counted);
    Root(root);
    MarkAll();
    ASSERT_EQ(gc_alloced_bytes, gc_marked_bytes);
    int bit = gc_markbit;

    gc_sweep();
    EXPECT_EQ(ListCount(gc_free_list), 0);
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(ListCount(gc_unmarked_list), 3);
    EXPECT_EQ(ListCount(gc_marked_list), 0);
    EXPECT_EQ(gc_markbit, bit ^ 1);
    EXPECT_TRUE(gc_is_white(root) && gc_is_white(root->ref) && gc_is_white(root->ref->ref));
    EXPECT_EQ(gc_marked_bytes, 0);
    EXPECT_EQ(gc_alloced_bytes, ListBytes(gc_unmarked_list));
}

TEST_F(Collector, SweepDefersDestructionOfGarbage) {
    Counted* root = new Counted;
    Root(root);
    Counted* g1 = new Counted;
    Counted* g2 = new Counted;
    gc_collect_all();

    EXPECT_TRUE(InList(gc_free_list, g1));
    EXPECT_TRUE(InList(gc_free_list, g2));
    EXPECT_TRUE(InList(gc_unmarked_list, root));
    EXPECT_EQ(gc_free_bytes, Size(g1) + Size(g2));
    EXPECT_EQ(gc_alloced_bytes, Size(root));
    EXPECT_EQ(Counted::destroyed, 0);
}

TEST_F(Collector, AllocationDestroysGarbageWorthItsOwnSize) {
    for (int i = 0; i < 4; ++i) new Counted;
    gc_collect_all();
    int size = RoundedSize(sizeof(Counted));
    ASSERT_EQ(gc_free_bytes, 4 * size);

    new Counted;
    EXPECT_EQ(Counted::destroyed, 1);
    EXPECT_EQ(gc_free_bytes, 3 * size);
    EXPECT_EQ(ListCount(gc_free_list), 3);
}

TEST_F(Collector, AllocationLargerThanGarbageDestroysAllOfIt) {
    for (int i = 0; i < 10; ++i) new Counted;
    gc_collect_all();
    ASSERT_GT(gc_free_bytes, 0);

    Array<int> big(gc_free_bytes);  // four bytes per element: far larger
    EXPECT_EQ(Counted::destroyed, 10);
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(ListCount(gc_free_list), 0);
}

TEST_F(Collector, FreeByteCountAheadOfTheListIsReset) {
    new Counted;
    gc_collect_all();
    gc_free_bytes += 1000;  // more bytes counted than the list holds
    new Large;
    EXPECT_EQ(Counted::destroyed, 1);
    EXPECT_EQ(gc_free_bytes, 0);
}

TEST_F(Collector, BarrierKeepsObjectStoredIntoBlackObject) {
    Counted* holder = new Counted;
    Root(holder);
    MarkAll();
    ASSERT_TRUE(InList(gc_marked_list, holder));

    Counted* kept = new Counted;
    gc_assign(holder->ref, kept);
    EXPECT_TRUE(InList(gc_queued_list, kept));
    gc_collect_all();
    EXPECT_TRUE(InList(gc_unmarked_list, kept));
    EXPECT_EQ(holder->ref, kept);

    // The same store without the barrier loses the object: the holder is
    // black, so nothing would ever look at its field again this cycle.
    MarkAll();
    Counted* lost = new Counted;
    holder->ref = lost;
    gc_collect_all();
    EXPECT_TRUE(InList(gc_free_list, lost));
}

TEST_F(Collector, BarrierLeavesTheOldValueAlone) {
    Counted* holder = new Counted;
    Counted* old = new Counted;
    holder->ref = old;
    gc_assign(holder->ref, new Counted);
    EXPECT_TRUE(gc_is_white(old));
    gc_assign(holder->ref, nullptr);
    EXPECT_EQ(holder->ref, nullptr);
}

TEST_F(Collector, UnstoredObjectAllocatedDuringCycleIsSwept) {
    Counted* root = new Counted;
    gc_assign(root->ref, new Counted);
    Root(root);
    gc_mark_locals();  // the cycle is under way: root black, its child grey

    Counted* temp = new Counted;
    EXPECT_TRUE(gc_is_white(temp));
    gc_collect_all();
    EXPECT_TRUE(InList(gc_free_list, temp));
    EXPECT_FALSE(InList(gc_free_list, root->ref));

    new Large;  // pays for the garbage
    EXPECT_EQ(Counted::destroyed, 1);
}

TEST_F(Collector, ObjectDroppedAfterShadingSurvivesOneCycle) {
    Counted* root = new Counted;
    Counted* child = new Counted;
    gc_assign(root->ref, child);
    Root(root);
    MarkAll();
    gc_assign(root->ref, nullptr);  // already black: floats to the next cycle
    gc_collect_all();
    EXPECT_TRUE(InList(gc_unmarked_list, child));
    gc_collect_all();
    EXPECT_TRUE(InList(gc_free_list, child));
}

TEST_F(Collector, StepWithoutNewAllocationMarksNothing) {
    for (int i = 0; i < 3; ++i) gc_mark_q(new Counted);
    gc_new_bytes = 0;
    gc_collect();
    EXPECT_EQ(ListCount(gc_queued_list), 3);
    EXPECT_EQ(gc_marked_bytes, 0);
}

TEST_F(Collector, StepTargetGrowsWithTheHeapInSixtyFourBits) {
    std::vector<Counted*> grey;
    for (int i = 0; i < 100; ++i) {
        grey.push_back(new Counted);
        gc_mark_q(grey.back());
    }
    // 256 new bytes in a 16 MiB heap: the product needs more than 32 bits.
    gc_new_bytes = 256;
    gc_alloced_bytes = 256 + 2 * GC_FULL_COLLECT_BYTES;
    gc_collect();
    const int target = 256 + 2 * 256;
    const int size = Size(grey[0]);
    EXPECT_EQ(gc_marked_bytes, (target + size - 1) / size * size);
    EXPECT_EQ(gc_new_bytes, 256);
}

// Allocates exactly enough to bring gc_new_bytes to `total`.
void AllocateUpTo(int total) {
    using Rep = Array<bool>::Rep;
    int missing = total - gc_new_bytes;
    Array<bool> filler(missing - static_cast<int>(Rep::DataOffset()));
    ASSERT_EQ(gc_new_bytes, total);
}

TEST_F(Collector, EightMebibytesIsStillAnIncrementalStep) {
    Counted* root = new Counted;
    gc_assign(root->ref, new Counted);
    gc_mark_q(root);
    new Counted;  // garbage
    AllocateUpTo(GC_FULL_COLLECT_BYTES);
    int bit = gc_markbit;

    gc_collect();  // target = gc_alloced_bytes: all that is reachable is black
    EXPECT_EQ(gc_markbit, bit);
    EXPECT_EQ(gc_new_bytes, GC_FULL_COLLECT_BYTES);
    EXPECT_EQ(ListCount(gc_queued_list), 0);
    EXPECT_EQ(gc_marked_bytes, Size(root) + Size(root->ref));
    EXPECT_EQ(ListCount(gc_free_list), 0);

    new Counted;  // one allocation more: the next step is a full collection
    gc_collect();
    EXPECT_EQ(gc_markbit, bit ^ 1);
    EXPECT_EQ(gc_new_bytes, 0);
    EXPECT_EQ(ListCount(gc_free_list), 3);  // the garbage, the filler, the last one
    EXPECT_TRUE(InList(gc_unmarked_list, root));
}

TEST_F(Collector, StepResetsTheLocalRootStack) {
    Root(new Counted);
    gc_collect();
    EXPECT_EQ(gc_locals_sp, gc_locals);
}

TEST_F(Collector, SmallBlocksComeBackFromTheCache) {
    Counted* first = new Counted;
    gc_collect_all();
    Counted* second = new Counted;  // destroys `first`, then takes its block
    EXPECT_EQ(Counted::destroyed, 1);
    EXPECT_EQ(second, first);
    Root(second);

    gc_object* heads[GC_CACHE_SLOTS];
    std::copy(gc_cache, gc_cache + GC_CACHE_SLOTS, heads);
    new Large;
    gc_collect_all();
    new Large;  // the destroyed Large goes back to the heap, not the cache
    EXPECT_TRUE(std::equal(heads, heads + GC_CACHE_SLOTS, gc_cache));
}

TEST_F(Collector, CachedBlocksAreKeptPerSize) {
    gc_object* a = gc_object_alloc(33);
    gc_object* b = gc_object_alloc(56);
    for (gc_object* p : {a, b}) {
        // Unlinked and counted as garbage by hand, as a sweep would.
        p->next->prev = p->prev;
        p->prev->next = p->next;
        gc_free_bytes += p->gc_size();
        gc_object_free(p);
    }
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(gc_cache[5], a);
    EXPECT_EQ(gc_cache[7], b);
    EXPECT_EQ(gc_object_alloc(56), b);
    EXPECT_EQ(gc_object_alloc(40), a);
    gc_init_lists();  // the raw blocks have no object to destroy
}

TEST_F(Collector, LiveObjectsAreTheLinkedOnes) {
    Counted* dead = new Counted;
    gc_collect_all();
    ASSERT_TRUE(InList(gc_free_list, dead));
    Counted* white = new Counted;  // destroys `dead` and reuses its block
    Counted* grey = new Counted;
    Counted* black = new Counted;
    gc_mark_q(grey);
    gc_mark(black);
    for (gc_object* p : {white, grey, black}) EXPECT_TRUE(gc_is_live_object(p));
    Counted* pending = new Counted;
    gc_mark_locals();
    gc_mark_queued(INT_MAX);
    gc_sweep();
    EXPECT_FALSE(gc_is_live_object(pending));  // garbage, not yet destroyed
    EXPECT_FALSE(gc_is_live_object(nullptr));
    EXPECT_FALSE(gc_is_live_object(&gc_unmarked_list));
    int local = 0;
    EXPECT_FALSE(gc_is_live_object(&local));
}

// A class without a user-declared constructor, value-initialised, wipes the
// header the allocator wrote; the collector refuses to go on.
struct NoConstructor : Object {
    int x;
};

TEST(CollectorDeathTest, ValueInitialisedHeaderAborts) {
    EXPECT_DEATH(new NoConstructor(), "header lost");
}

}  // namespace
}  // namespace runtime_tests
