// Array<T>: construction, Resize, the shared empty array, String elements
// and the marking of reference elements.
#include "tests/runtime/collector_fixture.h"

namespace runtime_tests {
namespace {

using Arrays = CollectorTest;

int RefCount(const String& s) { return s.GetRep()->refCount; }

TEST_F(Arrays, NewElementsAreZeroOrEmpty) {
    Array<int> ints(3);
    Array<float> floats(2);
    Array<bool> bools(5);
    Array<Counted*> refs(4);
    Array<String> strings(3);
    EXPECT_EQ(ints.Length(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ints[i], 0);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(floats[i], 0.0f);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(bools[i]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(refs[i], nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(strings[i].SameRep(String()));
    EXPECT_EQ(ints.rep->flags & 3, gc_markbit);  // collected storage, white
}

TEST_F(Arrays, ZeroLengthIsTheSharedEmptyArray) {
    const int before = gc_new_bytes;
    const int values[] = {1, 2};
    EXPECT_TRUE(Array<int>().IsEmptyRep());
    EXPECT_TRUE(Array<int>(0).IsEmptyRep());
    EXPECT_TRUE(Array<int>(-4).IsEmptyRep());
    EXPECT_TRUE(Array<int>(values, 0).IsEmptyRep());
    EXPECT_TRUE(Array<String>(0).IsEmptyRep());
    EXPECT_TRUE(Array<Counted*>(0).IsEmptyRep());
    EXPECT_EQ(Array<int>(0).rep, &Array<int>::nullRep);
    EXPECT_EQ(gc_new_bytes, before);  // nothing was allocated
}

TEST_F(Arrays, EmptyArrayIsNeverTouchedByTheCollector) {
    Counted* holder = new Counted;
    Root(holder);
    gc_assign(holder->items, Array<Counted*>(0));
    auto* empty = &Array<Counted*>::nullRep;
    gc_mark(empty);
    gc_mark_q(empty);
    for (int i = 0; i < 3; ++i) gc_collect_all();
    EXPECT_EQ(empty->flags, 3);
    EXPECT_EQ(empty->next, empty);
    EXPECT_EQ(empty->prev, empty);
    EXPECT_EQ(empty->length, 0);
    EXPECT_EQ(gc_alloced_bytes, Size(holder));
}

TEST_F(Arrays, CopyFromElements) {
    const int values[] = {4, 5, 6};
    Array<int> copy(values, 3);
    EXPECT_EQ(copy.Length(), 3);
    EXPECT_EQ(copy[2], 6);
    EXPECT_NE(copy.Data(), values);

    String s("shared");
    String many[] = {s, s};
    ASSERT_EQ(RefCount(s), 3);
    Array<String> strings(many, 2);
    EXPECT_TRUE(strings[1].SameRep(s));
    EXPECT_EQ(RefCount(s), 5);
}

TEST_F(Arrays, ResizeCopiesThePrefixAndZeroesTheRest) {
    const int values[] = {1, 2, 3};
    Array<int> a(values, 3);
    Array<int> longer = a.Resize(5);
    Array<int> shorter = a.Resize(2);
    ASSERT_EQ(longer.Length(), 5);
    ASSERT_EQ(shorter.Length(), 2);
    EXPECT_EQ(longer[2], 3);
    EXPECT_EQ(longer[3], 0);
    EXPECT_EQ(longer[4], 0);
    EXPECT_EQ(shorter[1], 2);
    EXPECT_NE(longer.rep, a.rep);
    EXPECT_EQ(a.Length(), 3);  // the array itself is unchanged
    EXPECT_EQ(a[2], 3);
    EXPECT_TRUE(a.Resize(0).IsEmptyRep());
    EXPECT_TRUE(a.Resize(-1).IsEmptyRep());
    EXPECT_EQ(Array<int>().Resize(2).Length(), 2);
}

TEST_F(Arrays, ResizeOfStringsSharesTheirReps) {
    String s("x");
    Array<String> a(2);
    a[0] = s;
    Array<String> longer = a.Resize(3);
    EXPECT_TRUE(longer[0].SameRep(s));
    EXPECT_TRUE(longer[2].SameRep(String()));
    EXPECT_EQ(RefCount(s), 3);
}

TEST_F(Arrays, DestroyedStringArrayReleasesItsStrings) {
    String s("kept by the array");
    {
        Array<String> a(3);
        a[0] = s;
        a[2] = s;
    }
    ASSERT_EQ(RefCount(s), 3);
    gc_collect_all();
    Array<int> pay(1024);  // destroys the unreferenced array
    EXPECT_EQ(ListCount(gc_free_list), 0);
    EXPECT_EQ(RefCount(s), 1);
}

TEST_F(Arrays, ReferenceArraysMarkTheirElements) {
    Counted* holder = new Counted;
    Root(holder);
    Array<Counted*> items(3);
    items[0] = new Counted;
    items[2] = new Counted;
    gc_assign(holder->items, items);
    gc_assign(items[0]->ref, new Counted);
    gc_collect_all();
    EXPECT_EQ(ListCount(gc_free_list), 0);
    EXPECT_EQ(ListCount(gc_unmarked_list), 5);

    gc_assign(holder->items, Array<Counted*>());
    gc_collect_all();
    gc_collect_all();
    EXPECT_EQ(ListCount(gc_unmarked_list), 1);
    EXPECT_EQ(ListCount(gc_free_list), 4);  // storage and three objects
}

TEST_F(Arrays, BarrierMarksStorageAndElementsAtOnce) {
    Counted* holder = new Counted;
    Root(holder);
    gc_mark_locals();
    Array<Counted*> items(2);
    items[1] = new Counted;
    items[1]->ref = new Counted;  // white, behind a white element
    gc_assign(holder->items, items);
    EXPECT_TRUE(InList(gc_marked_list, items.rep));
    EXPECT_TRUE(InList(gc_marked_list, items[1]));
    EXPECT_TRUE(InList(gc_queued_list, items[1]->ref));  // one level only
}

TEST_F(Arrays, ArrayFieldsAreShadedGreyByMark) {
    Counted* holder = new Counted;
    Array<Counted*> items(1);
    items[0] = new Counted;
    holder->items.rep = items.rep;  // stored past the barrier: still white
    Array<Counted*>::Rep* storage = items.rep;
    gc_mark(holder);
    EXPECT_TRUE(InList(gc_queued_list, storage));
    EXPECT_TRUE(gc_is_white(items[0]));
}

// A chain in which every node reaches the next only through an array.
// Marking it must not recurse once per link.
TEST_F(Arrays, LongChainsThroughArraysAreMarkedWithoutDeepRecursion) {
    constexpr int kLinks = 300000;
    Counted* head = new Counted;
    Root(head);
    Counted* node = head;
    for (int i = 0; i < kLinks; ++i) {
        Array<Counted*> next(1);
        next[0] = new Counted;
        gc_assign(node->items, next);
        node = next[0];
    }
    gc_collect_all();  // the barrier made the chain black while it was built
    gc_collect_all();  // now it is white and traced from the head
    EXPECT_EQ(ListCount(gc_free_list), 0);
    EXPECT_EQ(ListCount(gc_unmarked_list), 2 * kLinks + 1);
}

}  // namespace
}  // namespace runtime_tests
