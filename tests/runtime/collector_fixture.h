// Shared pieces of the collector tests: a collected class that counts its
// destructions, list inspection helpers and a fixture that starts every test
// from an empty collector.
#pragma once

#include <gtest/gtest.h>

#include <climits>

#include "runtime/runtime.h"

namespace runtime_tests {

// A collected node with one object field and one array field.
class Counted : public Object {
public:
    Counted() {}
    ~Counted() override { ++destroyed; }
    void mark() override {
        Object::mark();
        gc_mark_q(ref);
        gc_mark_q(items);
    }

    Counted* ref = nullptr;
    Array<Counted*> items;
    static inline int destroyed = 0;
};

inline int RoundedSize(std::size_t bytes) { return static_cast<int>((bytes + 7) & ~std::size_t{7}); }

inline bool InList(const gc_object& list, const gc_object* p) {
    for (const gc_object* q = list.next; q != &list; q = q->next) {
        if (q == p) return true;
    }
    return false;
}

inline int ListCount(const gc_object& list) {
    int n = 0;
    for (const gc_object* q = list.next; q != &list; q = q->next) ++n;
    return n;
}

inline int ListBytes(const gc_object& list) {
    int bytes = 0;
    for (const gc_object* q = list.next; q != &list; q = q->next) bytes += q->gc_size();
    return bytes;
}

// Every test starts with four empty lists and zero counters. Objects left by
// an earlier test in the same process are forgotten (never destroyed).
// Roots: gc_locals is scanned by every full collection that does not go
// through gc_collect() (which resets it), so tests root objects there.
class CollectorTest : public testing::Test {
protected:
    void SetUp() override {
        gc_init_lists();
        gc_new_bytes = gc_alloced_bytes = gc_marked_bytes = gc_free_bytes = 0;
        gc_locals_sp = gc_locals;
        Counted::destroyed = 0;
    }
    void TearDown() override { gc_locals_sp = gc_locals; }

    static void Root(gc_object* p) { *gc_locals_sp++ = p; }

    // Marks everything reachable from the roots, as a full collection would
    // before its sweep.
    static void MarkAll() {
        gc_mark_locals();
        gc_mark_queued(INT_MAX);
    }

    static int Size(const gc_object* p) { return p->gc_size(); }
};

}  // namespace runtime_tests
